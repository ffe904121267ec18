#include "view/GlyphaneView.h"

#include "document/GlyphaneDoc.h"

#include <QMdiSubWindow>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>

CGlyphaneView::CGlyphaneView(CGlyphaneDoc* doc, QWidget* parent)
    : QAbstractScrollArea(parent)
    , m_pDoc(doc)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    connect(m_pDoc, &CGlyphaneDoc::updateAllViews, this, [this] { viewport()->update(); });
}

CGlyphaneView::~CGlyphaneView()
{
    if (m_pDoc && m_pDoc->GetDrawingSurface() == &m_dcImage)
        m_pDoc->SetDrawingSurface(nullptr);
}

void CGlyphaneView::OnInitialUpdate()
{
    if (QImage* bitmap = m_pDoc->GetLogoBitmap())
        m_dcImage.Attach(bitmap);
    m_pDoc->SetDrawingSurface(&m_dcImage);
    m_pDoc->SetOwnerWindow(this);

    const QSize logo(m_pDoc->GetLogoWidth(), m_pDoc->GetLogoHeight());
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        const QSize chrome = frame->size() - frame->contentsRect().size();
        frame->resize(logo.boundedTo(QSize(1600, 1000)) + chrome + QSize(4, 4));
    }
    UpdateScrollBars();
}

void CGlyphaneView::UpdateScrollBars()
{
    const QSize logo(m_pDoc->GetLogoWidth(), m_pDoc->GetLogoHeight());
    const QSize area = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, logo.width() - area.width()));
    verticalScrollBar()->setRange(0, std::max(0, logo.height() - area.height()));
    horizontalScrollBar()->setPageStep(area.width());
    verticalScrollBar()->setPageStep(area.height());
}

void CGlyphaneView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void CGlyphaneView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    painter.fillRect(event->rect(), palette().color(QPalette::Dark));
    const QImage* bitmap = m_pDoc->GetLogoBitmap();
    if (!bitmap)
        return;
    const QPoint origin(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    // One device pixel per logo dot, whatever the screen's scale factor.
    QImage shown = *bitmap;
    shown.setDevicePixelRatio(devicePixelRatioF());
    painter.drawImage(origin, shown);
}

bool CGlyphaneView::OnCommand(UINT)
{
    return false;
}

bool CGlyphaneView::OnUpdateCommand(UINT, CCmdUI&)
{
    return false;
}
