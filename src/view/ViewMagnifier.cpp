// The magnifier: the zoom box that follows the mouse, grabbing the region
// under it into enlarged cells, editing the cells, and writing them back.
#include "view/ViewMagnifier.h"

#include "dialogs/ZoomDlg.h"
#include "document/GlyphaneDoc.h"
#include "resources/CommandIds.h"
#include "view/EditingSurfaces.h"
#include "view/EditingWindow.h"
#include "view/tools/ToolCodes.h"
#include "view/tools/ToolHost.h"

#include <QPainter>
#include <QWidget>

namespace {

QColor ToQColor(COLORREF c)
{
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

} // namespace

void CViewMagnifier::OnZoomLarge()
{
    m_host.CommitPendingState();
    StartZoomBox(4, 90);
}

void CViewMagnifier::OnZoomChosen()
{
    m_host.CommitPendingState();
    CZoomDlg dlg(m_host.Window().EditingWindow(), 1.0);
    if (dlg.DoModal() != IDOK)
        return;
    // The dialog refuses these already; a value below 100 would be a zero
    // factor here, so it is refused again rather than divided by.
    const int percent = dlg.GetValue();
    if (percent < CZoomDlg::kMinPercent || percent > CZoomDlg::kMaxPercent)
        return;
    const int factor = percent / 100;
    StartZoomBox(factor, static_cast<int>(static_cast<unsigned>(kMagnifiedArea) / static_cast<unsigned>(factor)));
}

void CViewMagnifier::StartZoomBox(int factor, int side)
{
    m_nZoomFactor = factor;
    m_nZoomSide = side;
    m_nZoomBoxWidth = side;
    m_nZoomBoxHeight = side;
    m_trackerZoom.m_rect.SetRectEmpty();
    m_trackerZoom.m_nStyle = CRectTracker::dottedLine;
    m_host.SetTool(tool::ZoomBox, QStringLiteral("Zoom"));
    m_host.Doc()->UpdateAllViews();
}

void CViewMagnifier::CancelZoomBox()
{
    m_trackerZoom.m_rect.SetRectEmpty();
    m_host.SetTool(tool::None, QStringLiteral("None"));
    m_host.Doc()->UpdateAllViews();
}

void CViewMagnifier::OnZoomNormal()
{
    if (m_bMagnified && !m_dcMagnifier.IsNull())
        LeaveMagnifier();
    m_bMagnified = false;
    m_trackerZoom.m_rect.SetRectEmpty();
    m_host.SetTool(tool::None, QStringLiteral("None"));
    m_host.Doc()->UpdateAllViews();
}

void CViewMagnifier::OnShowGrid()
{
    m_bShowGrid = !m_bShowGrid;
    m_host.Doc()->UpdateAllViews();
}

// The box is kept in viewport coordinates: it is grabbed from what the
// viewport shows, and written back at the grabbed place plus the scroll
// position of the moment of the grab.
void CViewMagnifier::MoveZoomBox(const CPoint& client)
{
    const int quarter = static_cast<int>(static_cast<unsigned>(m_nZoomSide) / 4u);
    CRect box(client.x - quarter, client.y - quarter, 0, 0);
    box.right = box.left + m_nZoomBoxWidth;
    box.bottom = box.top + m_nZoomBoxHeight;
    box.InflateRect(1, 1);
    m_trackerZoom.m_rect = box;
    if (QWidget* viewport = m_host.Window().EditingViewport())
        viewport->update();
}

void CViewMagnifier::GrabZoomBox()
{
    CRect box = m_trackerZoom.m_rect;
    box.DeflateRect(1, 1);
    m_ptZoomSource = box.TopLeft();
    m_ptZoomScroll = m_host.Window().ScrollPosition();
    const QWidget* viewport = m_host.Window().EditingViewport();
    const CRect client = viewport ? CRect::FromQRect(viewport->rect()) : CRect();
    if (client.right >= box.right && client.bottom >= box.bottom) {
        EnterMagnifier();
        m_bMagnified = true;
    }
    m_host.SetTool(tool::None, QStringLiteral("None"));
    m_host.Doc()->UpdateAllViews();
}

void CViewMagnifier::EnterMagnifier()
{
    const int f = m_nZoomFactor;
    const int side = m_nZoomSide;
    const int n = f * side;
    // What the viewport showed: the image where it is, the background elsewhere.
    m_dcMagnifier.Create(n, n, kBackground);
    const CPoint from = m_ptZoomSource + m_ptZoomScroll;
    m_dcMagnifier.StretchBlt(0, 0, n, n, m_host.Surfaces().Image(), from.x, from.y, side, side, SRCCOPY);
    m_host.Window().SetScrollSizes(QSize(n, n));
    m_host.Window().FitFrameTo(QSize(n, n), false);
    m_host.Window().EnableFrameMaximize(false);
}

void CViewMagnifier::LeaveMagnifier()
{
    m_host.Window().SetScrollSizes(QSize(m_host.Doc()->Picture().GetLogoWidth(), m_host.Doc()->Picture().GetLogoHeight()));
    const int f = m_nZoomFactor;
    // One pixel into each cell, clear of the grid; a one-pixel cell has no
    // room for that and is read where it is.
    const int inset = f > 1 ? 1 : 0;
    const CPoint to = m_ptZoomSource + m_ptZoomScroll;
    for (int i = 0; i < m_nZoomSide; ++i) {
        for (int j = 0; j < m_nZoomSide; ++j) {
            const COLORREF color = m_dcMagnifier.GetPixel(i * f + inset, j * f + inset);
            if (color != CLR_INVALID)
                m_host.Surfaces().Image().SetPixel(i + to.x, j + to.y, color);
        }
    }
    m_dcMagnifier.Release();
    m_host.Window().FitFrameTo(QSize(m_host.Doc()->Picture().GetLogoWidth(), m_host.Doc()->Picture().GetLogoHeight()), true);
    m_host.Window().EnableFrameMaximize(true);
}

void CViewMagnifier::ToggleCell(const CPoint& point)
{
    m_host.Doc()->SetModifiedFlag();
    const CRect cell = MagnifierCell(point);
    const COLORREF color = m_dcMagnifier.GetPixel(point);
    if (color == RGB(255, 255, 255))
        m_dcMagnifier.FillSolidRect(cell, RGB(0, 0, 0));
    else if (color == RGB(0, 0, 0))
        m_dcMagnifier.FillSolidRect(cell, RGB(255, 255, 255));
    else
        return;
    m_host.InvalidateImageRect(cell);
}

CRect CViewMagnifier::MagnifierCell(const CPoint& point) const
{
    const int f = m_nZoomFactor;
    const int x = f * (point.x / f);
    const int y = f * (point.y / f);
    return CRect(x, y, x + f, y + f);
}

void CViewMagnifier::MapCommands(CCommandMap& commands)
{
    auto& c = commands;
    c.MapCommand(ID_ZOOM_LARGE, [this] { OnZoomLarge(); });
    c.MapCommand(ID_ZOOM_CHOSEN, [this] { OnZoomChosen(); });
    c.MapCommand(ID_ZOOM_NORMAL, [this] { OnZoomNormal(); });
    c.MapCommand(ID_SHOW_GRID, [this] { OnShowGrid(); });
    c.MapUpdate(ID_ZOOM_LARGE, [this](CCmdUI& ui) { ui.Enable(!m_bMagnified); });
    c.MapUpdate(ID_ZOOM_CHOSEN, [this](CCmdUI& ui) { ui.Enable(!m_bMagnified); });
    c.MapUpdate(ID_ZOOM_NORMAL, [this](CCmdUI& ui) { ui.Enable(m_bMagnified); });
    c.MapUpdate(ID_SHOW_GRID, [this](CCmdUI& ui) { ui.Enable(m_bMagnified); });
}

void CViewMagnifier::DrawZoomBox(QPainter& painter) const
{
    m_trackerZoom.Draw(painter);
}

void CViewMagnifier::Paint(QPainter& painter) const
{
    const int n = m_nZoomSide * m_nZoomFactor;
    const CPoint scroll = m_host.Window().ScrollPosition();
    painter.drawImage(QPoint(-scroll.x, -scroll.y), m_dcMagnifier.image(), QRect(0, 0, n, n));
    if (m_bShowGrid)
        DrawGrid(painter);
}

void CViewMagnifier::DrawGrid(QPainter& painter) const
{
    const int f = m_nZoomFactor;
    const int s = m_nZoomSide;
    const CPoint scroll = m_host.Window().ScrollPosition();
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
