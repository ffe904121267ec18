// Painting, redraw requests, the surfaces and the window-life steps of the
// editing role.
//
// One image pixel is one logical pixel of the viewport. On a scaled screen
// Qt enlarges each logo dot to a square of device pixels without smoothing,
// so the mouse, the scroll bars and the logo stay in the same coordinates.
#include "view/ViewEditing.h"

#include "document/GlyphaneDoc.h"
#include "printer/ViewPanes.h"
#include "view/ViewHost.h"
#include "view/tools/Tool.h"

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
    painter.fillRect(exposed, ToQColor(CViewMagnifier::kBackground));
    if (m_magnifier.IsMagnified()) {
        m_magnifier.Paint(painter);
        return;
    }
    if (!m_pDoc->Picture().GetLogoBitmap())
        return;
    if (!m_surfaces.Ready())
        CreateSurfaces();
    PaintImage(painter, exposed);
    const CTool& tool = ToolInUse();
    tool.PaintUnderFloating(painter);
    m_selection.DrawFloatingImage(painter);
    tool.Paint(painter);
}

void CViewEditing::PaintImage(QPainter& painter, const QRect& exposed) const
{
    const CSurface& shown = m_surfaces.Shown();
    if (shown.IsNull())
        return;
    const CPoint scroll = ScrollPosition();
    // Only the exposed part, read straight from the image's memory.
    const QRect source = exposed.translated(scroll.x, scroll.y) & shown.image().rect();
    if (source.isEmpty())
        return;
    painter.drawImage(source.topLeft() - QPoint(scroll.x, scroll.y), shown.image(), source);
}

void CViewEditing::InvalidateAll()
{
    if (m_surfaces.DropScreen()) {
        // The rubber band goes with the screen copy; the next move draws a new one.
        m_tools.ScreenDropped();
    }
    UpdateViewport();
}

void CViewEditing::UpdateViewport()
{
    if (QWidget* viewport = EditingViewport())
        viewport->update();
}

void CViewEditing::InvalidateImageRect(const CRect& rect)
{
    QWidget* viewport = EditingViewport();
    if (!viewport)
        return;
    if (m_surfaces.ScreenDirty()) {
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
    m_surfaces.Bind(*m_pDoc);
}

void CViewEditing::ReleaseSurfaces()
{
    m_surfaces.Release(*m_pDoc);
    m_magnifier.ReleaseSurface();
}

void CViewEditing::RefreshSizePane()
{
    const QImage* bitmap = m_pDoc->Picture().GetLogoBitmap();
    viewpanes::SetSizePane(EditingHost(), bitmap ? bitmap->width() : 0, bitmap ? bitmap->height() : 0);
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
    m_surfaces.ForgetUndo();
    m_magnifier.ReleaseSurface();
    // The document's image operations draw through the surface, so it is
    // bound now rather than waiting for the first paint.
    if (bitmap)
        CreateSurfaces();
}

void CViewEditing::EditingSetFocus()
{
    viewpanes::SetPortPane(EditingHost(), m_pDoc->Binding().GetPortName());
    viewpanes::SetPrinterPane(EditingHost(), m_pDoc->Binding().GetPrinterModel());
    m_pDoc->SetOwnerWindow(EditingWindow());
    if (const QImage* bitmap = m_pDoc->Picture().GetLogoBitmap()) {
        RefreshSizePane();
        SetScrollSizes(bitmap->size());
    }
}

void CViewEditing::EditingDestroy()
{
    m_tools.ForgetStroke();
    ReleaseSurfaces();
}
