// The text tool: a box drawn on the logo, typed into, and stamped into the
// image as black text on white.
//
// The stamp is rendered from the box's own text and font straight into an
// image of the box's size, not read back from the screen, so nothing else
// that happens to be over the view can land in the logo; it is thresholded
// so only black and white pixels arrive. The box's rectangle is kept in
// image coordinates, and the box widget follows it when the view scrolls,
// so what is stamped is always where the box is shown over the logo.
#include "view/ViewTextBox.h"

#include "document/GlyphaneDoc.h"
#include "platform/UiSeam.h"
#include "resources/CommandIds.h"
#include "view/EditingSurfaces.h"
#include "view/EditingWindow.h"
#include "view/RectTracker.h"
#include "view/ViewSelection.h"
#include "view/tools/ToolCodes.h"
#include "view/tools/ToolHost.h"

#include <QAbstractTextDocumentLayout>
#include <QFontDatabase>
#include <QFontInfo>
#include <QPainter>
#include <QScrollBar>
#include <QTextDocument>
#include <QTextEdit>

#include <memory>

namespace {

const QString kTextFace = QStringLiteral("Times New Roman");

// The dotted outline just around the open box, on the screen only. It is a
// widget stacked above the box rather than lines the view paints beside it:
// at a fractional display scale the box paints a device pixel beyond its
// edge, over whatever its parent drew there. The widget reaches a little
// beyond the outline, as a widget's own edge rows can be clipped at such a
// scale too; the mouse goes through it to the box.
class CTextBoxOutline : public QWidget {
public:
    static constexpr int kMargin = 2;

    explicit CTextBoxOutline(QWidget* parent)
        : QWidget(parent)
    {
        setObjectName(QStringLiteral("textBoxOutline"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
    }

    // Around the box's rectangle (viewport coordinates).
    void Surround(CRect box)
    {
        box.InflateRect(1 + kMargin, 1 + kMargin);
        setGeometry(box.ToQRect());
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        CRect ring = CRect::FromQRect(rect());
        ring.DeflateRect(kMargin, kMargin);
        QPainter painter(this);
        CRectTracker(ring, CRectTracker::dottedLine).Draw(painter);
    }
};

void MakeBlackAndWhite(QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            row[x] = qGray(row[x]) < 128 ? 0xFF000000u : 0xFFFFFFFFu;
    }
}

} // namespace

QFont CViewTextBox::InitialTextFont()
{
    QFont font(kTextFace);
    font.setPixelSize(16);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    font.setFixedPitch(false);
    font.setStyleHint(QFont::Serif, QFont::PreferDefault);
    if (!QFontDatabase::hasFamily(kTextFace)) {
        // The font matcher's choice for a serif face of that name.
        const QString closest = QFontInfo(font).family();
        if (!closest.isEmpty())
            font.setFamily(closest);
    }
    return font;
}

void CViewTextBox::MapCommands(CCommandMap& commands)
{
    commands.MapCommand(ID_TEXT_FONT, [this] { OnSelectFont(); });
}

void CViewTextBox::OnSelectFont()
{
    QFont chosen = m_lfText;
    if (GetFont(m_host.Window().EditingWindow(), chosen))
        m_lfText = chosen;
    m_pTextFont = std::make_unique<QFont>(m_lfText);
    if (m_pTextEdit)
        m_pTextEdit->setFont(*m_pTextFont);
}

void CViewTextBox::BeginTextBox(const CPoint& point)
{
    m_host.Selection().Tracker().m_nStyle |= CRectTracker::dottedLine;
    m_host.Selection().Tracker().BeginTrack(point, CRectTracker::hitNothing,
                            [this](bool accepted, const CRect& rect) { OpenTextBox(accepted, rect); });
}

void CViewTextBox::OpenTextBox(bool accepted, const CRect& rect)
{
    CRect box = rect;
    box.NormalizeRect();
    if (!accepted || box.IsRectEmpty() || m_pTextEdit) {
        m_host.Selection().Tracker().m_rect.SetRectEmpty();
        m_host.InvalidateAll();
        return;
    }
    m_host.Selection().Tracker().m_rect = box;
    auto* edit = new QTextEdit(m_host.Window().EditingViewport());
    edit->setObjectName(QStringLiteral("textBox")); // a child window, not a command: it takes no command id
    edit->setAcceptRichText(false);
    edit->setFrameStyle(QFrame::NoFrame);
    edit->setLineWrapMode(QTextEdit::WidgetWidth);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setTabChangesFocus(true);
    QPalette colours = edit->palette();
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Text, Qt::black);
    edit->setPalette(colours);
    m_pTextEdit = edit;
    m_pTextOutline = new CTextBoxOutline(m_host.Window().EditingViewport());
    PlaceTextBoxWidget();
    edit->show();
    m_pTextOutline->show();
    m_pTextOutline->raise();
    edit->setFocus();
    m_host.Doc()->SetDrawMode(tool::TextBoxOpen);
    m_host.InvalidateAll();
}

void CViewTextBox::PlaceTextBoxWidget()
{
    if (!m_pTextEdit)
        return;
    CRect onScreen = m_host.Selection().Tracker().m_rect;
    onScreen.OffsetRect(CPoint() - m_host.Window().ScrollPosition());
    m_pTextEdit->setGeometry(onScreen.ToQRect());
    if (auto* outline = static_cast<CTextBoxOutline*>(m_pTextOutline.data()))
        outline->Surround(onScreen);
}

void CViewTextBox::FollowScroll(bool vertical, bool noteFirst)
{
    // The rectangle stays in image coordinates; only the box widget moves.
    bool& first = vertical ? m_bFirstVScroll : m_bFirstHScroll;
    if (noteFirst)
        first = false;
    PlaceTextBoxWidget();
    m_host.InvalidateAll();
}

void CViewTextBox::ClickWithTextBox(const CPoint& point)
{
    if (m_host.Selection().Tracker().m_rect.PtInRect(point))
        return;
    CommitTextBox(true);
}

void CViewTextBox::CommitTextBox(bool byClick)
{
    if (!m_pTextEdit)
        return;
    if (QWidget* window = m_host.Window().EditingWindow())
        window->setFocus();
    if (byClick) {
        m_host.Window().ClearLogoInRam();
        m_host.Doc()->SetModifiedFlag();
    }
    m_host.Selection().Tracker().m_nStyle &= ~static_cast<UINT>(CRectTracker::dottedLine);
    StampTextBox();
    CRect around = m_host.Selection().Tracker().m_rect;
    around.InflateRect(1, 1);
    m_host.InvalidateImageRect(around);
    m_host.Doc()->UpdateAllViews();
    if (byClick)
        m_host.SetTool(tool::None, QStringLiteral("None"));
    // Deleted later: the box may be in the middle of handling an event.
    QTextEdit* edit = m_pTextEdit;
    m_pTextEdit = nullptr;
    edit->hide();
    edit->deleteLater();
    delete m_pTextOutline;
}

void CViewTextBox::StampTextBox()
{
    const QImage stamp = RenderTextBox();
    CSurface block;
    if (stamp.isNull() || !block.Attach(stamp))
        return;
    const CRect& r = m_host.Selection().Tracker().m_rect;
    m_host.Surfaces().Image().BitBlt(r.left, r.top, block.Width(), block.Height(), block, 0, 0, SRCCOPY);
}

QImage CViewTextBox::RenderTextBox() const
{
    const CRect& r = m_host.Selection().Tracker().m_rect;
    if (!m_pTextEdit || r.IsRectEmpty() || r.Width() > CSurface::kMaxSide || r.Height() > CSurface::kMaxSide)
        return QImage();
    QImage stamp(r.Width(), r.Height(), QImage::Format_RGB32);
    if (stamp.isNull())
        return stamp;
    stamp.fill(Qt::white);
    // The box's document laid out again at the box's width, in its font
    // without smoothing, at the scroll offset the box shows.
    std::unique_ptr<QTextDocument> text(m_pTextEdit->document()->clone());
    QFont font = m_pTextEdit->font();
    font.setStyleStrategy(QFont::NoAntialias);
    text->setDefaultFont(font);
    text->setDocumentMargin(m_pTextEdit->document()->documentMargin());
    text->setTextWidth(m_pTextEdit->viewport()->width());
    QPainter painter(&stamp);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.translate(-m_pTextEdit->horizontalScrollBar()->value(), -m_pTextEdit->verticalScrollBar()->value());
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, Qt::black);
    text->documentLayout()->draw(&painter, context);
    painter.end();
    MakeBlackAndWhite(stamp);
    return stamp;
}
