#include "dialogs/PrinterPreviewDlg.h"

#include "platform/UiSeam.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <cmath>

namespace {

// Room around the strip inside the scroll area, in logical pixels.
constexpr int kStripMargin = 8;

} // namespace

CPaperStripView::CPaperStripView(const QImage& strip, QWidget* parent)
    : QWidget(parent)
    , m_strip(strip)
{
    setObjectName(QStringLiteral("paperStrip"));
    setFixedSize(sizeHint());
}

void CPaperStripView::SetStrip(const QImage& strip)
{
    m_strip = strip;
    setFixedSize(sizeHint());
    update();
}

int CPaperStripView::DevicePixelsPerDot() const
{
    // On a scaled screen a dot takes the nearest whole number of device
    // pixels, so the logo keeps about its size and every dot stays square.
    return std::max(1, static_cast<int>(std::lround(devicePixelRatioF())));
}

QSize CPaperStripView::sizeHint() const
{
    const double perDot = DevicePixelsPerDot() / devicePixelRatioF();
    return QSize(static_cast<int>(std::ceil(m_strip.width() * perDot)),
                 static_cast<int>(std::ceil(m_strip.height() * perDot)));
}

QImage CPaperStripView::Rendered() const
{
    const int n = DevicePixelsPerDot();
    QImage device = m_strip.scaled(m_strip.width() * n, m_strip.height() * n, Qt::IgnoreAspectRatio,
                                   Qt::FastTransformation);
    device.setDevicePixelRatio(devicePixelRatioF());
    return device;
}

void CPaperStripView::paintEvent(QPaintEvent*)
{
    if (m_strip.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    // The image carries the screen's ratio: one image pixel, one device pixel.
    painter.drawImage(QPointF(0, 0), Rendered());
}

CPrinterPreviewDlg::CPrinterPreviewDlg(QWidget* parent, const QImage& strip, const QString& details)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("printerPreview"));
    setWindowTitle(QStringLiteral("Printer Preview"));

    m_view = new CPaperStripView(strip);
    auto* holder = new QWidget;
    auto* holderLayout = new QVBoxLayout(holder);
    holderLayout->setContentsMargins(kStripMargin, kStripMargin, kStripMargin, kStripMargin);
    holderLayout->addWidget(m_view, 0, Qt::AlignCenter);
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(holder);
    scroll->setAlignment(Qt::AlignCenter);
    scroll->setBackgroundRole(QPalette::Dark);

    auto* text = new QLabel(details, this);
    text->setObjectName(QStringLiteral("previewDetails"));
    text->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(scroll, 1);
    layout->addWidget(buttons);
    FitToStrip(scroll);
}

void CPrinterPreviewDlg::FitToStrip(QScrollArea* scroll)
{
    // The viewport must hold the strip with its own margins; the scroll
    // area's frame and the dialog's margins come on top, and the vertical
    // scroll bar too where the strip is taller than the screen has room for.
    // A fixed allowance for all of them (32 pixels) was narrower than the
    // style's margins (40 and more), and a horizontal bar showed for a strip
    // that fitted the screen.
    const QSize content = scroll->widget()->sizeHint() + QSize(2, 2) * scroll->frameWidth();
    layout()->activate();
    const QMargins margins = layout()->contentsMargins();
    const int besides = sizeHint().height() - scroll->sizeHint().height(); // the text, the buttons, spacing
    // Room for the window's own frame and title bar.
    const QSize room = screen()->availableGeometry().size() * 0.9;
    QSize wanted(content.width() + margins.left() + margins.right(), content.height() + besides);
    if (wanted.height() > room.height()) {
        wanted.setHeight(room.height());
        wanted.rwidth() += scroll->verticalScrollBar()->sizeHint().width();
    }
    resize(wanted.boundedTo(room));
}

int CPrinterPreviewDlg::DoModal()
{
    return RunModal(this);
}
