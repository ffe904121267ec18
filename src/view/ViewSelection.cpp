// The one rectangular selection: the rubber band of the area tool, "Select
// all pixel", and moving a selection or a pasted picture to its place.
//
// The selection rectangle is kept in image coordinates throughout, also
// while the rubber band is drawn, so scrolling never shifts it against the
// logo. The block being moved (the selection's pixels, or the pasted
// picture) floats over the image at the rectangle's top-left until it is
// put down; that is also where it lands.
#include "view/ViewEditing.h"

#include "document/GlyphaneDoc.h"

#include <QPainter>
#include <QWidget>

void CViewEditing::BeginAreaSelect(const CPoint& point)
{
    m_trackerSel.m_nStyle |= CRectTracker::dottedLine;
    m_trackerSel.BeginTrack(point, CRectTracker::hitNothing,
                            [this](bool accepted, const CRect& rect) { EndAreaSelect(accepted, rect); });
}

void CViewEditing::EndAreaSelect(bool accepted, const CRect& rect)
{
    CRect chosen = rect;
    chosen.NormalizeRect();
    CRect clipped;
    // A band that covers no pixel of the logo selects nothing, like a cancel.
    if (!accepted || !clipped.IntersectRect(chosen, CRect(0, 0, m_pDoc->Picture().GetLogoWidth(), m_pDoc->Picture().GetLogoHeight()))) {
        m_trackerSel.m_rect.SetRectEmpty();
        InvalidateAll();
        return;
    }
    m_trackerSel.m_rect = clipped;
    m_bSelFromPaste = FALSE;
    CopyRectToClipboard(clipped);
    m_pDoc->SetDrawMode(tool::SelectionPresent);
    InvalidateAll();
}

void CViewEditing::OnSelectAllPixels()
{
    if (!HasImage())
        return;
    CommitPendingState();
    TakeUndoCopy();
    ClearLogoInRam();
    m_pDoc->SetModifiedFlag();
    m_trackerSel.m_rect = CRect(0, 0, m_pDoc->Picture().GetLogoWidth(), m_pDoc->Picture().GetLogoHeight());
    CopyRectToClipboard(m_trackerSel.m_rect);
    m_trackerSel.m_nStyle |= CRectTracker::dottedLine;
    m_bSelectAllShown = TRUE;
    m_bSelFromPaste = FALSE;
    m_bShowFloating = false;
    m_pDoc->SetDrawMode(tool::SelectionPresent);
    InvalidateAll();
}

void CViewEditing::ClickWithSelection(const CPoint& point)
{
    const int hit = m_trackerSel.HitTest(point);
    if (hit == CRectTracker::hitNothing) {
        AbandonSelection();
        return;
    }
    m_trackerSel.m_nStyle &= ~static_cast<UINT>(CRectTracker::dottedLine);
    // A pasted picture is not in the image yet; a selected block is lifted
    // out of it, leaving white behind.
    if (!m_bSelFromPaste)
        ClearSelectionSource();
    m_bShowFloating = !m_imgFloating.isNull();
    m_bSelFromPaste = FALSE;
    m_bSelectAllShown = FALSE;
    ClearLogoInRam();
    m_pDoc->SetModifiedFlag();
    InvalidateAll();
    m_trackerSel.BeginTrack(point, hit, [this](bool, const CRect& rect) { EndSelectionMove(rect); });
}

void CViewEditing::ClearSelectionSource()
{
    const CRect r = m_trackerSel.m_rect;
    m_imgFloating = m_dcImage.image().copy(r.ToQRect());
    m_dcImage.FillSolidRect(r, RGB(255, 255, 255));
}

void CViewEditing::EndSelectionMove(const CRect& rect)
{
    // Whether the drag was accepted or cancelled the block is put down where
    // the rectangle is; a resized rectangle only moves its top-left.
    if (!m_imgFloating.isNull()) {
        CSurface block;
        if (block.Attach(m_imgFloating))
            m_dcImage.BitBlt(rect.left, rect.top, block.Width(), block.Height(), block, 0, 0, SRCCOPY);
    }
    EmptyClipboard();
    m_imgFloating = QImage();
    m_bShowFloating = false;
    m_trackerSel.m_rect.SetRectEmpty();
    m_pDoc->UpdateAllViews();
    SetTool(tool::None, QStringLiteral("None"));
}

void CViewEditing::AbandonSelection()
{
    m_pDoc->UpdateAllViews();
    m_trackerSel.m_rect.SetRectEmpty();
    EmptyClipboard();
    m_imgFloating = QImage();
    m_bShowFloating = false;
    m_bSelFromPaste = FALSE;
    m_bSelectAllShown = FALSE;
    SetTool(tool::None, QStringLiteral("None"));
}

void CViewEditing::DrawFloatingImage(QPainter& painter) const
{
    if (!m_bShowFloating || m_imgFloating.isNull())
        return;
    const CPoint at = m_trackerSel.m_rect.TopLeft() - ScrollPosition();
    painter.drawImage(at.ToQPoint(), m_imgFloating);
}
