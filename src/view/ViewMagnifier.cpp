// The magnifier: the zoom box that follows the mouse, grabbing the region
// under it into enlarged cells, editing the cells, and writing them back.
#include "view/ViewEditing.h"

#include "dialogs/ZoomDlg.h"
#include "document/GlyphaneDoc.h"

#include <QWidget>

void CViewEditing::OnZoomLarge()
{
    CommitPendingState();
    StartZoomBox(4, 90);
}

void CViewEditing::OnZoomChosen()
{
    CommitPendingState();
    CZoomDlg dlg(EditingWindow(), 1.0);
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

void CViewEditing::StartZoomBox(int factor, int side)
{
    m_nZoomFactor = factor;
    m_nZoomSide = side;
    m_nZoomBoxWidth = side;
    m_nZoomBoxHeight = side;
    m_trackerZoom.m_rect.SetRectEmpty();
    m_trackerZoom.m_nStyle = CRectTracker::dottedLine;
    SetTool(tool::ZoomBox, QStringLiteral("Zoom"));
    m_pDoc->UpdateAllViews();
}

void CViewEditing::CancelZoomBox()
{
    m_trackerZoom.m_rect.SetRectEmpty();
    SetTool(tool::None, QStringLiteral("None"));
    m_pDoc->UpdateAllViews();
}

void CViewEditing::OnZoomNormal()
{
    if (m_bMagnified && !m_dcMagnifier.IsNull())
        LeaveMagnifier();
    m_bMagnified = FALSE;
    m_trackerZoom.m_rect.SetRectEmpty();
    SetTool(tool::None, QStringLiteral("None"));
    m_pDoc->UpdateAllViews();
}

void CViewEditing::OnShowGrid()
{
    m_bShowGrid = !m_bShowGrid;
    m_pDoc->UpdateAllViews();
}

// The box is kept in viewport coordinates: it is grabbed from what the
// viewport shows, and written back at the grabbed place plus the scroll
// position of the moment of the grab.
void CViewEditing::MoveZoomBox(const CPoint& client)
{
    const int quarter = static_cast<int>(static_cast<unsigned>(m_nZoomSide) / 4u);
    CRect box(client.x - quarter, client.y - quarter, 0, 0);
    box.right = box.left + m_nZoomBoxWidth;
    box.bottom = box.top + m_nZoomBoxHeight;
    box.InflateRect(1, 1);
    m_trackerZoom.m_rect = box;
    if (QWidget* viewport = EditingViewport())
        viewport->update();
}

void CViewEditing::GrabZoomBox()
{
    CRect box = m_trackerZoom.m_rect;
    box.DeflateRect(1, 1);
    m_ptZoomSource = box.TopLeft();
    m_ptZoomScroll = ScrollPosition();
    const QWidget* viewport = EditingViewport();
    const CRect client = viewport ? CRect::FromQRect(viewport->rect()) : CRect();
    if (client.right >= box.right && client.bottom >= box.bottom) {
        EnterMagnifier();
        m_bMagnified = TRUE;
    }
    SetTool(tool::None, QStringLiteral("None"));
    m_pDoc->UpdateAllViews();
}

void CViewEditing::EnterMagnifier()
{
    const int f = m_nZoomFactor;
    const int side = m_nZoomSide;
    const int n = f * side;
    // What the viewport showed: the image where it is, the background elsewhere.
    m_dcMagnifier.Create(n, n, kBackground);
    const CPoint from = m_ptZoomSource + m_ptZoomScroll;
    m_dcMagnifier.StretchBlt(0, 0, n, n, m_dcImage, from.x, from.y, side, side, SRCCOPY);
    SetScrollSizes(QSize(n, n));
    FitFrameTo(QSize(n, n), false);
    EnableFrameMaximize(false);
}

void CViewEditing::LeaveMagnifier()
{
    SetScrollSizes(QSize(m_pDoc->Picture().GetLogoWidth(), m_pDoc->Picture().GetLogoHeight()));
    const int f = m_nZoomFactor;
    // One pixel into each cell, clear of the grid; a one-pixel cell has no
    // room for that and is read where it is.
    const int inset = f > 1 ? 1 : 0;
    const CPoint to = m_ptZoomSource + m_ptZoomScroll;
    for (int i = 0; i < m_nZoomSide; ++i) {
        for (int j = 0; j < m_nZoomSide; ++j) {
            const COLORREF color = m_dcMagnifier.GetPixel(i * f + inset, j * f + inset);
            if (color != CLR_INVALID)
                m_dcImage.SetPixel(i + to.x, j + to.y, color);
        }
    }
    m_dcMagnifier.Release();
    FitFrameTo(QSize(m_pDoc->Picture().GetLogoWidth(), m_pDoc->Picture().GetLogoHeight()), true);
    EnableFrameMaximize(true);
}

void CViewEditing::ToggleMagnifierCell(const CPoint& point)
{
    m_pDoc->SetModifiedFlag();
    const CRect cell = MagnifierCell(point);
    const COLORREF color = m_dcMagnifier.GetPixel(point);
    if (color == RGB(255, 255, 255))
        m_dcMagnifier.FillSolidRect(cell, RGB(0, 0, 0));
    else if (color == RGB(0, 0, 0))
        m_dcMagnifier.FillSolidRect(cell, RGB(255, 255, 255));
    else
        return;
    InvalidateImageRect(cell);
}
