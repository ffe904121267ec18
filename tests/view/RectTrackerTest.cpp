// The event-driven rectangle tracker: hit testing, moving, resizing, rubber
// bands and cancelling, each ending through the callback.
#include "view/RectTracker.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

struct Ending {
    bool accepted = false;
    CRect rect;
};

} // namespace

TEST(RectTracker, HitTestFindsHandlesInsideAndNothing)
{
    CRectTracker tracker(CRect(10, 10, 50, 40), CRectTracker::solidLine | CRectTracker::resizeInside);
    EXPECT_EQ(tracker.HitTest(CPoint(11, 11)), CRectTracker::hitTopLeft);
    EXPECT_EQ(tracker.HitTest(CPoint(48, 38)), CRectTracker::hitBottomRight);
    EXPECT_EQ(tracker.HitTest(CPoint(30, 11)), CRectTracker::hitTop);
    EXPECT_EQ(tracker.HitTest(CPoint(30, 25)), CRectTracker::hitMiddle);
    EXPECT_EQ(tracker.HitTest(CPoint(50, 25)), CRectTracker::hitNothing); // exclusive right edge
    tracker.m_nStyle = CRectTracker::dottedLine;
    EXPECT_EQ(tracker.HitTest(CPoint(11, 11)), CRectTracker::hitMiddle);
    tracker.m_rect.SetRectEmpty();
    EXPECT_EQ(tracker.HitTest(CPoint(0, 0)), CRectTracker::hitNothing);
}

TEST(RectTracker, MoveResizeAndRubberBandEndThroughTheCallback)
{
    CRectTracker tracker(CRect(10, 10, 50, 40), CRectTracker::resizeInside);
    std::optional<Ending> end;
    auto record = [&end](bool accepted, const CRect& rect) { end = Ending{accepted, rect}; };

    tracker.BeginTrack(CPoint(20, 20), CRectTracker::hitMiddle, record);
    EXPECT_TRUE(tracker.IsTracking());
    tracker.TrackMove(CPoint(25, 22));
    EXPECT_EQ(tracker.m_rect, CRect(15, 12, 55, 42));
    EXPECT_FALSE(end);
    tracker.TrackEnd(CPoint(30, 30));
    ASSERT_TRUE(end);
    EXPECT_TRUE(end->accepted);
    EXPECT_EQ(end->rect, CRect(20, 20, 60, 50));
    EXPECT_FALSE(tracker.IsTracking());

    end.reset();
    tracker.BeginTrack(CPoint(59, 49), CRectTracker::hitBottomRight, record);
    tracker.TrackEnd(CPoint(10, 10)); // dragged past the opposite corner
    ASSERT_TRUE(end);
    EXPECT_EQ(end->rect, CRect(11, 11, 20, 20)); // normalised

    end.reset();
    tracker.BeginTrack(CPoint(5, 5), CRectTracker::hitNothing, record);
    tracker.TrackMove(CPoint(8, 9));
    tracker.TrackEnd(CPoint(2, 3));
    ASSERT_TRUE(end);
    EXPECT_EQ(end->rect, CRect(2, 3, 5, 5));
}

TEST(RectTracker, CancelRestoresTheRectangleAndEventsAfterwardsAreIgnored)
{
    CRectTracker tracker(CRect(10, 10, 50, 40), CRectTracker::dottedLine);
    std::optional<Ending> end;
    tracker.BeginTrack(CPoint(20, 20), CRectTracker::hitMiddle,
                       [&end](bool accepted, const CRect& rect) { end = Ending{accepted, rect}; });
    tracker.TrackMove(CPoint(40, 40));
    tracker.Cancel();
    ASSERT_TRUE(end);
    EXPECT_FALSE(end->accepted);
    EXPECT_EQ(tracker.m_rect, CRect(10, 10, 50, 40));
    end.reset();
    tracker.TrackMove(CPoint(0, 0));
    tracker.TrackEnd(CPoint(0, 0));
    tracker.Cancel();
    EXPECT_FALSE(end);
    EXPECT_EQ(tracker.m_rect, CRect(10, 10, 50, 40));
}
