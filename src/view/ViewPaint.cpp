// Painting, redraw requests, the surfaces and the window-life steps of the
// editing role.
//
// One image pixel is one logical pixel of the viewport. On a scaled screen
// Qt enlarges each logo dot to a square of device pixels without smoothing,
// so the mouse, the scroll bars and the logo stay in the same coordinates.
#include "view/ViewEditing.h"

#include "document/GlyphaneDoc.h"
#include "view/ViewPanes.h"

#include <QPainter>
#include <QWidget>

namespace {

QColor ToQColor(COLORREF c)
{
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

} // namespace

void CViewEditing::OnDraw(QPainter& painter, const QRect& exposed)
{
    painter.fillRect(exposed, ToQColor(kBackground));
    if (m_bMagnified) {
        PaintMagnifier(painter);
        if (m_bShowGrid)
            DrawGrid(painter);
        return;
    }
    if (!m_pDoc->Picture().GetLogoBitmap())
        return;
    if (!m_bSurfacesReady)
        CreateSurfaces();
    PaintImage(painter, exposed);
    const CPoint scroll = ScrollPosition();
    if (CurrentTool() == tool::ZoomBox)
        m_trackerZoom.Draw(painter);
    const int code = CurrentTool();
    DrawFloatingImage(painter);
    // The open text box has an outline of its own (ViewText.cpp).
    if (code == tool::SelectArea || code == tool::SelectionPresent
        || (code == tool::Text && m_trackerSel.IsTracking())) {
        CRectTracker shown = m_trackerSel;
        // The whole-image selection's border is drawn just inside the logo.
        if (m_bSelectAllShown)
            shown.m_rect.DeflateRect(1, 1);
        shown.Draw(painter, CPoint(-scroll.x, -scroll.y));
    }
}

void CViewEditing::PaintImage(QPainter& painter, const QRect& exposed) const
{
    const CSurface& shown = m_bScreenDirty ? m_dcScreen : m_dcImage;
    if (shown.IsNull())
        return;
    const CPoint scroll = ScrollPosition();
    // Only the exposed part, read straight from the image's memory.
    const QRect source = exposed.translated(scroll.x, scroll.y) & shown.image().rect();
    if (source.isEmpty())
        return;
    painter.drawImage(source.topLeft() - QPoint(scroll.x, scroll.y), shown.image(), source);
}

void CViewEditing::PaintMagnifier(QPainter& painter) const
{
    const int n = m_nZoomSide * m_nZoomFactor;
    const CPoint scroll = ScrollPosition();
    painter.drawImage(QPoint(-scroll.x, -scroll.y), m_dcMagnifier.image(), QRect(0, 0, n, n));
}

void CViewEditing::DrawGrid(QPainter& painter) const
{
    const int f = m_nZoomFactor;
    const int s = m_nZoomSide;
    const CPoint scroll = ScrollPosition();
    painter.save();
    painter.translate(-scroll.x, -scroll.y);
    painter.setPen(QPen(ToQColor(m_crGrid), 0));
    // Lines end one pixel short of f*s, as the old line drawing did.
    for (int k = 0; k <= s; ++k)
        painter.drawLine(0, k * f, f * s - 1, k * f);
    for (int k = 0; k <= s; ++k)
        painter.drawLine(k * f, 0, k * f, f * s - 1);
    painter.restore();
}

CSurface& CViewEditing::ScreenSurface()
{
    if (!m_bScreenDirty) {
        m_dcScreen.Attach(m_dcImage.image());
        m_bScreenDirty = true;
    }
    return m_dcScreen;
}

void CViewEditing::InvalidateAll()
{
    if (m_bScreenDirty) {
        // The rubber band goes with the screen copy; the next move draws a new one.
        m_ptShapeLast = CPoint();
    }
    m_bScreenDirty = false;
    if (QWidget* viewport = EditingViewport())
        viewport->update();
}

void CViewEditing::InvalidateImageRect(const CRect& rect)
{
    QWidget* viewport = EditingViewport();
    if (!viewport)
        return;
    if (m_bScreenDirty) {
        // A repaint from the image erases what was drawn on the screen only.
        InvalidateAll();
        return;
    }
    CRect r = rect;
    r.NormalizeRect();
    r.OffsetRect(CPoint() - ScrollPosition());
    viewport->update(r.ToQRect());
}

void CViewEditing::OnUpdate(const CStroke* stroke, const CRect* rect)
{
    if (stroke) {
        // The stroke's stored bounding rectangle is narrowed vertically (the
        // stroke files keep that rule), so it can be inverted and cover
        // nothing: the points widened by the pen are redrawn instead.
        const auto& points = stroke->Points();
        if (points.empty())
            return;
        CRect area(points.front(), points.front());
        for (const CPoint& p : points)
            area.UnionRect(area, CRect(p.x, p.y, p.x + 1, p.y + 1));
        const int reach = static_cast<int>(stroke->PenWidth()) + 1;
        area.InflateRect(reach, reach);
        InvalidateImageRect(area);
        return;
    }
    if (rect)
        InvalidateImageRect(*rect);
    else
        InvalidateAll();
}

void CViewEditing::CreateSurfaces()
{
    QImage* bitmap = m_pDoc->Picture().GetLogoBitmap();
    if (!bitmap || !m_dcImage.Attach(bitmap))
        return;
    m_pDoc->SetDrawingSurface(&m_dcImage);
    m_bSurfacesReady = TRUE;
}

void CViewEditing::ReleaseSurfaces()
{
    if (m_pDoc->GetDrawingSurface() == &m_dcImage)
        m_pDoc->SetDrawingSurface(nullptr);
    m_dcImage.Release();
    m_dcUndo.Release();
    m_dcMagnifier.Release();
    m_dcScreen.Release();
    m_bScreenDirty = false;
    m_bSurfacesReady = FALSE;
}

void CViewEditing::RefreshSizePane()
{
    const QImage* bitmap = m_pDoc->Picture().GetLogoBitmap();
    viewpanes::SetSizePane(bitmap ? bitmap->width() : 0, bitmap ? bitmap->height() : 0);
}

void CViewEditing::EditingInitialUpdate()
{
    m_pDoc->SetOwnerWindow(EditingWindow());
    const QImage* bitmap = m_pDoc->Picture().GetLogoBitmap();
    const QSize size = bitmap ? bitmap->size() : QSize(0, 0);
    RefreshSizePane();
    m_pDoc->Picture().SetLogoSize(size.width(), size.height());
    SetScrollSizes(size);
    FitFrameTo(size, true);
    // Also run after the logo was resized on Connect: the undo and magnifier
    // surfaces start fresh, so nothing of the old size can be undone into the
    // new one.
    m_dcUndo.Release();
    m_dcMagnifier.Release();
    m_nUndoCount = 0;
    // The document's image operations draw through the surface, so it is
    // bound now rather than waiting for the first paint.
    if (bitmap)
        CreateSurfaces();
}

void CViewEditing::EditingSetFocus()
{
    viewpanes::SetPortPane(m_pDoc->Binding().GetPortName());
    viewpanes::SetPrinterPane(m_pDoc->Binding().GetPrinterModel());
    m_pDoc->SetOwnerWindow(EditingWindow());
    if (const QImage* bitmap = m_pDoc->Picture().GetLogoBitmap()) {
        RefreshSizePane();
        SetScrollSizes(bitmap->size());
    }
}

void CViewEditing::EditingDestroy()
{
    m_pCurrentStroke = nullptr;
    ReleaseSurfaces();
}
