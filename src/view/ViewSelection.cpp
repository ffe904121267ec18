// The one rectangular selection.
//
// The selection rectangle is kept in image coordinates throughout, also
// while the rubber band is drawn, so scrolling never shifts it against the
// logo. The block being moved (the selection's pixels, or the pasted
// picture) floats over the image at the rectangle's top-left until it is
// put down; that is also where it lands.
#include "view/ViewSelection.h"

#include "document/GlyphaneDoc.h"
#include "view/EditingSurfaces.h"
#include "view/EditingWindow.h"
#include "view/ViewClipboard.h"
#include "view/tools/ToolCodes.h"
#include "view/tools/ToolHost.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPainter>
#include <QWidget>

void CViewSelection::StartEmpty()
{
    m_tracker.m_nStyle |= CRectTracker::dottedLine;
    m_tracker.m_rect.SetRectEmpty();
}

void CViewSelection::BeginAreaSelect(const CPoint& point)
{
    m_tracker.m_nStyle |= CRectTracker::dottedLine;
    m_tracker.BeginTrack(point, CRectTracker::hitNothing,
                         [this](bool accepted, const CRect& rect) { EndAreaSelect(accepted, rect); });
}

void CViewSelection::EndAreaSelect(bool accepted, const CRect& rect)
{
    CGlyphaneDoc* doc = m_host.Doc();
    CRect chosen = rect;
    chosen.NormalizeRect();
    CRect clipped;
    // A band that covers no pixel of the logo selects nothing, like a cancel.
    if (!accepted || !clipped.IntersectRect(chosen, CRect(0, 0, doc->Picture().GetLogoWidth(), doc->Picture().GetLogoHeight()))) {
        m_tracker.m_rect.SetRectEmpty();
        m_host.InvalidateAll();
        return;
    }
    m_tracker.m_rect = clipped;
    m_bSelFromPaste = false;
    CViewClipboard::CopyRectToClipboard(m_host.Surfaces().Image(), clipped);
    doc->SetDrawMode(tool::SelectionPresent);
    m_host.InvalidateAll();
}

void CViewSelection::SelectAll()
{
    CGlyphaneDoc* doc = m_host.Doc();
    if (!m_host.HasImage())
        return;
    m_host.CommitPendingState();
    m_host.Surfaces().TakeUndoCopy();
    m_host.Window().ClearLogoInRam();
    doc->SetModifiedFlag();
    m_tracker.m_rect = CRect(0, 0, doc->Picture().GetLogoWidth(), doc->Picture().GetLogoHeight());
    CViewClipboard::CopyRectToClipboard(m_host.Surfaces().Image(), m_tracker.m_rect);
    m_tracker.m_nStyle |= CRectTracker::dottedLine;
    m_bSelectAllShown = true;
    m_bSelFromPaste = false;
    m_bShowFloating = false;
    doc->SetDrawMode(tool::SelectionPresent);
    m_host.InvalidateAll();
}

void CViewSelection::ClickWithSelection(const CPoint& point)
{
    const int hit = m_tracker.HitTest(point);
    if (hit == CRectTracker::hitNothing) {
        AbandonSelection();
        return;
    }
    m_tracker.m_nStyle &= ~static_cast<UINT>(CRectTracker::dottedLine);
    // A pasted picture is not in the image yet; a selected block is lifted
    // out of it, leaving white behind.
    if (!m_bSelFromPaste)
        ClearSelectionSource();
    m_bShowFloating = !m_imgFloating.isNull();
    m_bSelFromPaste = false;
    m_bSelectAllShown = false;
    m_host.Window().ClearLogoInRam();
    m_host.Doc()->SetModifiedFlag();
    m_host.InvalidateAll();
    m_tracker.BeginTrack(point, hit, [this](bool, const CRect& rect) { EndSelectionMove(rect); });
}

void CViewSelection::ClearSelectionSource()
{
    CSurface& image = m_host.Surfaces().Image();
    const CRect r = m_tracker.m_rect;
    m_imgFloating = image.image().copy(r.ToQRect());
    image.FillSolidRect(r, RGB(255, 255, 255));
}

void CViewSelection::EndSelectionMove(const CRect& rect)
{
    // Whether the drag was accepted or cancelled the block is put down where
    // the rectangle is; a resized rectangle only moves its top-left.
    if (!m_imgFloating.isNull()) {
        CSurface block;
        if (block.Attach(m_imgFloating))
            m_host.Surfaces().Image().BitBlt(rect.left, rect.top, block.Width(), block.Height(), block, 0, 0,
                                             SRCCOPY);
    }
    CViewClipboard::EmptyClipboard();
    DropFloating();
    m_tracker.m_rect.SetRectEmpty();
    m_host.Doc()->UpdateAllViews();
    m_host.SetTool(tool::None, QStringLiteral("None"));
}

void CViewSelection::AbandonSelection()
{
    m_host.Doc()->UpdateAllViews();
    m_tracker.m_rect.SetRectEmpty();
    CViewClipboard::EmptyClipboard();
    DropFloating();
    m_bSelFromPaste = false;
    m_bSelectAllShown = false;
    m_host.SetTool(tool::None, QStringLiteral("None"));
}

void CViewSelection::DropFloating()
{
    m_imgFloating = QImage();
    m_bShowFloating = false;
}

void CViewSelection::MoveToClipboard(bool cut)
{
    CSurface& image = m_host.Surfaces().Image();
    m_tracker.m_nStyle &= ~static_cast<UINT>(CRectTracker::dottedLine);
    if (m_bSelFromPaste) {
        // The picture never reached the image: cutting it only takes it back.
        if (QClipboard* clipboard = QGuiApplication::clipboard())
            clipboard->setImage(m_imgFloating);
    } else {
        CViewClipboard::CopyRectToClipboard(image, m_tracker.m_rect);
        if (cut)
            image.FillSolidRect(m_tracker.m_rect, RGB(255, 255, 255));
    }
    DropFloating();
    m_bSelFromPaste = false;
    m_bSelectAllShown = false;
    m_host.Doc()->UpdateAllViews();
    if (cut)
        m_host.Doc()->SetModifiedFlag();
    m_host.SetTool(tool::None, QStringLiteral("None"));
}

void CViewSelection::FloatPasted(const CRect& rect, const QImage& picture)
{
    m_tracker.m_rect = rect;
    m_imgFloating = picture;
    m_bShowFloating = true;
    m_tracker.m_nStyle |= CRectTracker::dottedLine;
    m_bSelFromPaste = true;
    m_bSelectAllShown = false;
    m_host.Doc()->SetDrawMode(tool::SelectionPresent);
    m_host.InvalidateAll();
}

void CViewSelection::Commit()
{
    m_tracker.m_nStyle &= ~static_cast<UINT>(CRectTracker::dottedLine);
    // A pasted picture not yet put down goes with the selection.
    DropFloating();
    m_bSelFromPaste = false;
    if (m_bSelectAllShown) {
        m_host.InvalidateImageRect(m_tracker.m_rect);
        m_bSelectAllShown = false;
    } else {
        CRect around = m_tracker.m_rect;
        around.InflateRect(1, 1);
        m_host.InvalidateImageRect(around);
    }
}

void CViewSelection::DrawFloatingImage(QPainter& painter) const
{
    if (!m_bShowFloating || m_imgFloating.isNull())
        return;
    const CPoint at = m_tracker.m_rect.TopLeft() - m_host.Window().ScrollPosition();
    painter.drawImage(at.ToQPoint(), m_imgFloating);
}

void CViewSelection::Draw(QPainter& painter) const
{
    const CPoint scroll = m_host.Window().ScrollPosition();
    CRectTracker shown = m_tracker;
    // The whole-image selection's border is drawn just inside the logo.
    if (m_bSelectAllShown)
        shown.m_rect.DeflateRect(1, 1);
    shown.Draw(painter, CPoint(-scroll.x, -scroll.y));
}
