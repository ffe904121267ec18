#pragma once
// A rectangle the operator moves, resizes or rubber-bands with the mouse.
// Tracking is event-driven: the owner starts it on a button press, feeds it
// the mouse moves and the release, and learns the end through a callback;
// Esc or the right button cancel, restoring the rectangle. No event loop of
// its own runs, so the rest of the program keeps going while it tracks.
#include "platform/GdiRect.h"
#include "platform/WinTypes.h"

#include <QCursor>
#include <functional>

class QPainter;

class CRectTracker {
public:
    enum StyleFlags : UINT { solidLine = 1, dottedLine = 2, hatchedBorder = 4, resizeInside = 8 };
    enum TrackerHit {
        hitNothing = -1,
        hitTopLeft = 0,
        hitTopRight = 1,
        hitBottomRight = 2,
        hitBottomLeft = 3,
        hitTop = 4,
        hitRight = 5,
        hitBottom = 6,
        hitLeft = 7,
        hitMiddle = 8,
    };
    static constexpr int kHandleSize = 6;

    // accepted is false for a cancel; rect is the final rectangle (the
    // starting one after a cancel).
    using Finished = std::function<void(bool accepted, const CRect& rect)>;

    CRectTracker() = default;
    CRectTracker(const CRect& rect, UINT style) : m_rect(rect), m_nStyle(style) {}

    CRect m_rect;
    UINT m_nStyle = solidLine;

    // Which handle, the inside, or nothing lies under the point.
    int HitTest(const CPoint& point) const;
    // The move or resize cursor for the point; false where the tracker offers none.
    bool CursorFor(const CPoint& point, QCursor& cursor) const;
    // Draws the border (and handles when resizable), shifted by offset.
    void Draw(QPainter& painter, const CPoint& offset = {}) const;

    // Starts tracking from start: moving or resizing by the hit given, or a
    // rubber band from start when hit is hitNothing.
    void BeginTrack(const CPoint& start, int hit, Finished done);
    bool IsTracking() const { return m_bTracking; }
    void TrackMove(const CPoint& point);
    void TrackEnd(const CPoint& point);
    void Cancel();

private:
    CRect HandleRect(int handle) const;
    void Finish(bool accepted);

    bool m_bTracking = false;
    int m_nHit = hitNothing;
    CPoint m_ptStart;
    CRect m_rectStart;
    Finished m_done;
};
