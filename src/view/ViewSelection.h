#pragma once
// The one rectangular selection of a logo window: the rubber band of the
// area tool, "Select all pixel", and moving a selection or a pasted picture
// to its place. The text tool draws its box with the same tracker.
#include "platform/GdiRect.h"
#include "view/RectTracker.h"

#include <QImage>

class IToolHost;
class QPainter;

class CViewSelection {
public:
    explicit CViewSelection(IToolHost& host) : m_host(host) {}

    // The tracker is shared by the tools that draw a rectangle with the mouse.
    CRectTracker& Tracker() { return m_tracker; }
    const CRectTracker& Tracker() const { return m_tracker; }
    CRect SelectionRect() const { return m_tracker.m_rect; }
    // Sets only the rectangle the cursor rule reads (its tests).
    void SetSelectionRect(const CRect& rect) { m_tracker.m_rect = rect; }
    bool IsSelectAllShown() const { return m_bSelectAllShown; }

    // A selection tool chosen from its command: an empty dotted rectangle.
    void StartEmpty();
    void BeginAreaSelect(const CPoint& point);
    void SelectAll();
    void ClickWithSelection(const CPoint& point);
    // Cut and Copy: the selection (or a pasted picture not yet put down) to the clipboard.
    void MoveToClipboard(bool cut);
    // A pasted picture floating at rect until it is put down.
    void FloatPasted(const CRect& rect, const QImage& picture);
    // Puts the selection down as it is when the tool changes.
    void Commit();

    void DrawFloatingImage(QPainter& painter) const;
    void Draw(QPainter& painter) const;

private:
    void EndAreaSelect(bool accepted, const CRect& rect);
    void EndSelectionMove(const CRect& rect);
    void AbandonSelection();
    void ClearSelectionSource();
    void DropFloating();

    IToolHost& m_host;
    CRectTracker m_tracker{CRect(), CRectTracker::dottedLine};
    // The block a selection move or a paste carries: shown over the image at
    // the selection's top-left until it is put down.
    QImage m_imgFloating;
    bool m_bShowFloating = false;
    bool m_bSelFromPaste = false;
    bool m_bSelectAllShown = false;
};
