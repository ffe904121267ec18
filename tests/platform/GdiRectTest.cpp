// CRect keeps exclusive right and bottom edges; conversions to Qt cover the same pixels.
#include "platform/GdiRect.h"

#include <gtest/gtest.h>

TEST(GdiRect, SizeEmptinessAndExclusiveEdges)
{
    const CRect r(2, 3, 7, 5);
    EXPECT_EQ(r.Width(), 5);
    EXPECT_EQ(r.Height(), 2);
    EXPECT_EQ(r.Size(), CSize(5, 2));
    EXPECT_TRUE(r.PtInRect(CPoint(2, 3)));
    EXPECT_TRUE(r.PtInRect(CPoint(6, 4)));
    EXPECT_FALSE(r.PtInRect(CPoint(7, 4)));
    EXPECT_FALSE(r.PtInRect(CPoint(6, 5)));
    EXPECT_FALSE(r.IsRectEmpty());
    EXPECT_TRUE(CRect(3, 3, 3, 9).IsRectEmpty());
    EXPECT_TRUE(CRect(5, 0, 1, 4).IsRectEmpty()); // inverted
    EXPECT_TRUE(CRect().IsRectNull());
}

TEST(GdiRect, NormalizeInflateOffset)
{
    CRect r(7, 9, 1, 2);
    r.NormalizeRect();
    EXPECT_EQ(r, CRect(1, 2, 7, 9));
    r.InflateRect(1, 2);
    EXPECT_EQ(r, CRect(0, 0, 8, 11));
    r.DeflateRect(1, 2);
    r.OffsetRect(-1, 3);
    EXPECT_EQ(r, CRect(0, 5, 6, 12));
    r.OffsetRect(CPoint(2, -5));
    EXPECT_EQ(r.TopLeft(), CPoint(2, 0));
    EXPECT_EQ(r.BottomRight(), CPoint(8, 7));
}

TEST(GdiRect, IntersectAndUnion)
{
    CRect r;
    EXPECT_TRUE(r.IntersectRect(CRect(0, 0, 10, 10), CRect(5, -3, 20, 4)));
    EXPECT_EQ(r, CRect(5, 0, 10, 4));
    EXPECT_FALSE(r.IntersectRect(CRect(0, 0, 5, 5), CRect(5, 0, 9, 5))); // edges only touch
    EXPECT_EQ(r, CRect());

    EXPECT_TRUE(r.UnionRect(CRect(0, 0, 2, 2), CRect(5, 6, 7, 8)));
    EXPECT_EQ(r, CRect(0, 0, 7, 8));
    EXPECT_TRUE(r.UnionRect(CRect(4, 4, 4, 9), CRect(1, 2, 3, 4))); // empty input ignored
    EXPECT_EQ(r, CRect(1, 2, 3, 4));
    EXPECT_FALSE(r.UnionRect(CRect(), CRect(3, 3, 1, 1)));
    EXPECT_EQ(r, CRect());
}

TEST(GdiRect, QtConversionsCoverTheSamePixels)
{
    const CRect r(2, 3, 7, 5);
    const QRect q = r.ToQRect();
    EXPECT_EQ(q.left(), 2);
    EXPECT_EQ(q.right(), 6);
    EXPECT_EQ(q.bottom(), 4);
    EXPECT_EQ(q.width(), 5);
    EXPECT_EQ(CRect::FromQRect(q), r);
    EXPECT_EQ(CRect::FromQRect(QRect(QPoint(1, 1), QPoint(1, 1))), CRect(1, 1, 2, 2));
    EXPECT_TRUE(CRect::FromQRect(QRect()).IsRectEmpty());
    EXPECT_EQ(CPoint::FromQPoint(QPoint(-4, 9)), CPoint(-4, 9));
    EXPECT_EQ(CPoint(3, 4).ToQPoint(), QPoint(3, 4));
    EXPECT_EQ(CSize(8, 2).ToQSize(), QSize(8, 2));
}
