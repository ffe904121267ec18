// CSurface: image set-up, pixel access, lines, rectangles, ellipses and mix
// modes, against hand-computed pixels.
#include "platform/Surface.h"
#include "SurfaceTestSupport.h"

#include <gtest/gtest.h>

#include <climits>

using namespace surfacetest;

namespace {

CSurface WhiteSurface(int w, int h)
{
    CSurface s;
    EXPECT_TRUE(s.Create(w, h, kWhite));
    return s;
}

} // namespace

// ---- image and pixels -------------------------------------------------------

TEST(SurfaceImage, CreateRefusesBadSizesAndKeepsThePreviousImage)
{
    CSurface s = WhiteSurface(4, 3);
    EXPECT_FALSE(s.Create(0, 5));
    EXPECT_FALSE(s.Create(5, -1));
    EXPECT_FALSE(s.Create(CSurface::kMaxSide + 1, 1));
    EXPECT_EQ(s.Width(), 4);
    EXPECT_EQ(s.Height(), 3);
    EXPECT_EQ(s.image().format(), QImage::Format_RGB32);
    EXPECT_EQ(s.GetPixel(3, 2), kWhite);
}

TEST(SurfaceImage, PixelsAreColorRefsAndOutsideIsInvalid)
{
    CSurface s = WhiteSurface(5, 4);
    EXPECT_EQ(s.SetPixel(1, 2, RGB(1, 2, 3)), RGB(1, 2, 3));
    EXPECT_EQ(s.GetPixel(1, 2), 0x00030201u);
    EXPECT_EQ(s.image().pixel(1, 2), 0xFF010203u);
    for (const CPoint p : {CPoint(-1, 0), CPoint(0, -1), CPoint(5, 0), CPoint(0, 4), CPoint(100000, 3)})
        EXPECT_EQ(s.GetPixel(p), CLR_INVALID) << p.x << "," << p.y;
    const QImage before = s.image().copy();
    EXPECT_EQ(s.SetPixel(5, 0, kBlack), CLR_INVALID);
    EXPECT_EQ(s.SetPixel(-1, -1, kBlack), CLR_INVALID);
    EXPECT_TRUE(SameImage(s.image(), before, "setpixel-outside"));

    CSurface empty;
    EXPECT_TRUE(empty.IsNull());
    EXPECT_EQ(empty.GetPixel(0, 0), CLR_INVALID);
    EXPECT_FALSE(empty.LineTo(3, 3));
    EXPECT_FALSE(empty.FloodFill(0, 0));
}

TEST(SurfaceImage, AttachByPointerDrawsIntoTheCallersImage)
{
    QImage logo(8, 4, QImage::Format_Mono);
    logo.fill(1);
    logo.setColor(0, qRgb(0, 0, 0));
    logo.setColor(1, qRgb(255, 255, 255));
    CSurface s;
    ASSERT_TRUE(s.Attach(&logo));
    EXPECT_TRUE(s.IsAttachedToExternal());
    EXPECT_EQ(logo.format(), QImage::Format_RGB32);
    s.SetPixel(2, 1, kBlack);
    EXPECT_EQ(logo.pixel(2, 1) & 0xFFFFFF, 0u);
    EXPECT_FALSE(s.Attach(static_cast<QImage*>(nullptr)));
    EXPECT_TRUE(s.IsAttachedToExternal());

    s.Release();
    EXPECT_TRUE(s.IsNull());
    EXPECT_EQ(logo.width(), 8);
}

TEST(SurfaceImage, AttachByValueTakesACopy)
{
    QImage source(3, 3, QImage::Format_RGB32);
    source.fill(0xFFFFFFFF);
    CSurface s;
    ASSERT_TRUE(s.Attach(source));
    s.SetPixel(0, 0, kBlack);
    EXPECT_EQ(source.pixel(0, 0), 0xFFFFFFFFu);
    EXPECT_FALSE(s.Attach(QImage()));
    EXPECT_EQ(s.GetPixel(0, 0), kBlack);
}

TEST(SurfaceImage, DocumentImageSeesEveryEditWhileASnapshotKeepsItsPixels)
{
    QImage logo(6, 3, QImage::Format_RGB32);
    logo.fill(0xFFFFFFFF);
    const QImage snapshot = logo; // as the transfer worker's copy: shares the pixels
    CSurface s(&logo);
    ASSERT_TRUE(s.IsAttached());
    s.MoveTo(0, 1);
    s.LineTo(6, 1);
    s.SelectSolidBrush(kBlack);
    EXPECT_TRUE(s.FloodFill(0, 0));
    EXPECT_EQ(logo.pixel(5, 1) & 0xFFFFFF, 0u);
    EXPECT_EQ(logo.pixel(3, 0) & 0xFFFFFF, 0u);
    EXPECT_EQ(logo.pixel(3, 2) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(snapshot.pixel(5, 1), 0xFFFFFFFFu);

    // The owner may replace its bitmap; the surface follows the object.
    logo = QImage(2, 2, QImage::Format_RGB32);
    logo.fill(0xFFFFFFFF);
    EXPECT_EQ(s.Width(), 2);
    s.SetPixel(1, 1, kBlack);
    EXPECT_EQ(logo.pixel(1, 1) & 0xFFFFFF, 0u);

    EXPECT_EQ(s.Detach(), &logo);
    EXPECT_FALSE(s.IsAttached());
    EXPECT_TRUE(s.IsNull());
    EXPECT_EQ(s.SetPixel(0, 0, kBlack), CLR_INVALID);
    EXPECT_EQ(logo.pixel(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(s.Detach(), nullptr);

    const CSurface unusable(static_cast<QImage*>(nullptr));
    EXPECT_FALSE(unusable.IsAttached());
    EXPECT_TRUE(unusable.IsNull());
}

TEST(SurfaceImage, AttributesReturnThePreviousValue)
{
    CSurface s = WhiteSurface(2, 2);
    EXPECT_EQ(s.GetPen(), (CPen{1, kBlack}));
    EXPECT_EQ(s.GetBrush(), CBrush::Solid(kWhite));
    EXPECT_EQ(s.SelectPen(7, kWhite), (CPen{1, kBlack}));
    EXPECT_EQ(s.SelectPen(0, kBlack), (CPen{7, kWhite}));
    EXPECT_EQ(s.GetPen().width, 1);
    EXPECT_EQ(s.SetROP2(R2_NOT), R2_COPYPEN);
    EXPECT_EQ(s.SetROP2(0), 0);
    EXPECT_EQ(s.SetROP2(17), 0);
    EXPECT_EQ(s.GetROP2(), R2_NOT);
    EXPECT_EQ(s.SelectNullBrush(), CBrush::Solid(kWhite));
    EXPECT_EQ(s.GetBrush().kind, CBrush::Kind::Null);
}

// ---- one-pixel lines -------------------------------------------------------

TEST(SurfaceThinLine, OmitsTheEndPixelInEveryDirection)
{
    CSurface s = WhiteSurface(8, 8);
    s.MoveTo(1, 1);
    EXPECT_TRUE(s.LineTo(5, 1)); // horizontal
    s.MoveTo(6, 2);
    s.LineTo(6, 6); // vertical
    s.MoveTo(1, 3);
    s.LineTo(4, 6); // diagonal
    EXPECT_TRUE(SameImage(s,
                          {"........",
                           ".####...",
                           "......#.",
                           ".#....#.",
                           "..#...#.",
                           "...#..#.",
                           "........",
                           "........"},
                          "thin-lines"));
    EXPECT_EQ(s.GetCurrentPosition(), CPoint(4, 6));
}

TEST(SurfaceThinLine, ShallowAndReversedLines)
{
    CSurface s = WhiteSurface(6, 6);
    s.MoveTo(0, 0);
    s.LineTo(4, 2); // minor steps round half away from the start
    s.MoveTo(5, 5);
    s.LineTo(2, 5); // right to left: (5,5) (4,5) (3,5)
    EXPECT_TRUE(SameImage(s,
                          {"#.....",
                           ".##...",
                           "...#..",
                           "......",
                           "......",
                           "...###"},
                          "thin-shallow"));
}

TEST(SurfaceThinLine, ZeroLengthDrawsNothingAndClippedLinesStayInside)
{
    CSurface s = WhiteSurface(10, 4);
    s.MoveTo(3, 3);
    EXPECT_TRUE(s.LineTo(3, 3));
    EXPECT_EQ(CountColor(s, kBlack), 0);
    s.MoveTo(-50, 1);
    EXPECT_TRUE(s.LineTo(5000, 1));
    EXPECT_EQ(CountColor(s, kBlack), 10);
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(s.GetPixel(x, 1), kBlack);
}

TEST(SurfaceThinLine, RefusesCoordinatesFarOutside)
{
    CSurface s = WhiteSurface(4, 4);
    s.MoveTo(0, 0);
    EXPECT_FALSE(s.LineTo(CSurface::kMaxCoordinate + 1, 0));
    EXPECT_EQ(CountColor(s, kBlack), 0);
    EXPECT_EQ(s.GetCurrentPosition(), CPoint(0, 0));
    EXPECT_FALSE(s.Polyline({CPoint(0, 0), CPoint(2, 2), CPoint(-2000000000, 1)}));
    EXPECT_EQ(CountColor(s, kBlack), 0);
}

TEST(SurfaceThinLine, PolylineOmitsOnlyTheFinalPoint)
{
    CSurface s = WhiteSurface(7, 7);
    EXPECT_FALSE(s.Polyline({CPoint(1, 1)}));
    EXPECT_TRUE(s.Polyline({CPoint(1, 1), CPoint(5, 1), CPoint(5, 5)}));
    EXPECT_TRUE(SameImage(s,
                          {".......",
                           ".#####.",
                           ".....#.",
                           ".....#.",
                           ".....#.",
                           ".......",
                           "......."},
                          "thin-polyline"));
}

// ---- wide pens --------------------------------------------------------------

TEST(SurfaceWideLine, FivePixelPenHasRoundEndsAndIncludesTheEnd)
{
    CSurface s = WhiteSurface(21, 21);
    s.SelectPen(5, kBlack);
    s.MoveTo(5, 10);
    s.LineTo(15, 10);
    // Rows 9..11 reach two pixels beyond each end, rows 8 and 12 only one.
    for (int y = 0; y < 21; ++y) {
        for (int x = 0; x < 21; ++x) {
            const bool middle = y >= 9 && y <= 11 && x >= 3 && x <= 17;
            const bool outer = (y == 8 || y == 12) && x >= 4 && x <= 16;
            EXPECT_EQ(s.GetPixel(x, y), (middle || outer) ? kBlack : kWhite) << x << "," << y;
        }
    }
}

TEST(SurfaceWideLine, EvenWidthIsExactlyThatWide)
{
    CSurface s = WhiteSurface(10, 6);
    s.SelectPen(2, kBlack);
    s.MoveTo(2, 2);
    s.LineTo(6, 2);
    s.MoveTo(8, 1);
    s.LineTo(8, 4);
    EXPECT_TRUE(SameImage(s,
                          {".......##.",
                           ".########.",
                           ".########.",
                           ".......##.",
                           ".......##.",
                           ".........."},
                          "wide-even"));
}

TEST(SurfaceWideLine, InvertingPolylinePaintsSharedPixelsOnce)
{
    const std::vector<CPoint> path{CPoint(3, 3), CPoint(20, 5), CPoint(12, 18), CPoint(3, 4)};
    CSurface copied = WhiteSurface(24, 24);
    copied.SelectPen(7, kBlack);
    copied.Polyline(path);

    CSurface inverted = WhiteSurface(24, 24);
    inverted.SelectPen(7, kWhite);
    inverted.SetROP2(R2_NOT);
    inverted.Polyline(path);
    EXPECT_TRUE(SameImage(inverted.image(), copied.image(), "wide-not-polyline"));
    inverted.Polyline(path);
    EXPECT_EQ(CountColor(inverted, kWhite), 24 * 24);
}

TEST(SurfaceWideLine, AbsurdWidthIsNarrowedAndCoversTheImage)
{
    CSurface s = WhiteSurface(9, 9);
    s.SelectPen(INT_MAX, kBlack);
    EXPECT_EQ(s.GetPen().width, CSurface::kMaxPenWidth);
    s.MoveTo(4, 4);
    EXPECT_TRUE(s.LineTo(5, 5));
    EXPECT_EQ(CountColor(s, kBlack), 81);
}

TEST(SurfaceWideLine, WhitePenErases)
{
    CSurface s;
    s.Create(12, 12, kBlack);
    s.SelectPen(3, kWhite);
    s.MoveTo(2, 6);
    s.LineTo(9, 6);
    for (int x = 1; x <= 10; ++x)
        EXPECT_EQ(s.GetPixel(x, 6), kWhite) << x;
    EXPECT_EQ(s.GetPixel(0, 6), kBlack);
    EXPECT_EQ(s.GetPixel(5, 4), kBlack);
}

// ---- rectangles -------------------------------------------------------------

TEST(SurfaceRectangle, OutlineIsInsideTheExclusiveBox)
{
    CSurface hollow = WhiteSurface(9, 8);
    hollow.SelectNullBrush();
    EXPECT_TRUE(hollow.Rectangle(CRect(2, 1, 7, 6)));
    const std::vector<std::string> expected{".........",
                                            "..#####..",
                                            "..#...#..",
                                            "..#...#..",
                                            "..#...#..",
                                            "..#####..",
                                            ".........",
                                            "........."};
    EXPECT_TRUE(SameImage(hollow, expected, "rect-hollow"));

    CSurface reversed = WhiteSurface(9, 8);
    reversed.SelectNullBrush();
    reversed.Rectangle(7, 6, 2, 1);
    EXPECT_TRUE(SameImage(reversed, expected, "rect-reversed"));
}

TEST(SurfaceRectangle, FilledWithTheBrushAndWidePenStaysInside)
{
    CSurface s = WhiteSurface(10, 8);
    s.SelectSolidBrush(kGrey);
    s.SelectPen(2, kBlack);
    s.Rectangle(CRect(1, 1, 9, 7));
    EXPECT_TRUE(SameImage(s,
                          {"..........",
                           ".########.",
                           ".########.",
                           ".##oooo##.",
                           ".##oooo##.",
                           ".########.",
                           ".########.",
                           ".........."},
                          "rect-filled-wide"));
}

TEST(SurfaceRectangle, MaskPenWithWhiteBrushKeepsTheInside)
{
    const std::vector<std::string> start{"#.#.#.#",
                                         ".#.#.#.",
                                         "#.#.#.#",
                                         ".#.#.#.",
                                         "#.#.#.#"};
    CSurface s = SurfaceFromRows(start);
    s.SetROP2(R2_MASKPEN);
    s.Rectangle(CRect(0, 0, 7, 5));
    EXPECT_TRUE(SameImage(s,
                          {"#######",
                           "##.#.##",
                           "#.#.#.#",
                           "##.#.##",
                           "#######"},
                          "rect-maskpen"));
}

TEST(SurfaceRectangle, NotXorRubberBandDrawnTwiceRestores)
{
    CSurface s = SurfaceFromRows({"#....o", "..##..", "o.##.#", "......"});
    const QImage before = s.image().copy();
    s.SetROP2(R2_NOTXORPEN);
    s.Rectangle(CRect(0, 0, 6, 4));
    EXPECT_EQ(s.GetPixel(0, 0), kWhite); // black under a black pen flips
    EXPECT_EQ(s.GetPixel(1, 0), kBlack);
    EXPECT_EQ(s.GetPixel(2, 1), kBlack); // inside unchanged by the white brush
    s.Rectangle(CRect(0, 0, 6, 4));
    EXPECT_TRUE(SameImage(s.image(), before, "rect-notxor-twice"));
}

TEST(SurfaceRectangle, FillSolidRectIgnoresMixModeAndClips)
{
    CSurface s = WhiteSurface(5, 4);
    s.SetROP2(R2_NOT);
    s.FillSolidRect(CRect(3, -2, 50, 2), kBlack);
    s.FillSolidRect(CRect(2, 3, 0, 4), kBlack); // inverted: nothing
    EXPECT_TRUE(SameImage(s, {"...##", "...##", ".....", "....."}, "fillsolid"));
}

// ---- ellipses ---------------------------------------------------------------

TEST(SurfaceEllipse, SmallCircleHollowAndFilled)
{
    CSurface hollow = WhiteSurface(6, 6);
    hollow.SelectNullBrush();
    EXPECT_TRUE(hollow.Ellipse(CRect(0, 0, 5, 5)));
    EXPECT_TRUE(SameImage(hollow,
                          {".###..",
                           "#...#.",
                           "#...#.",
                           "#...#.",
                           ".###..",
                           "......"},
                          "ellipse-circle-hollow"));

    CSurface filled = WhiteSurface(6, 6);
    filled.SelectSolidBrush(kGrey);
    filled.Ellipse(CRect(0, 0, 5, 5));
    EXPECT_TRUE(SameImage(filled,
                          {".###..",
                           "#ooo#.",
                           "#ooo#.",
                           "#ooo#.",
                           ".###..",
                           "......"},
                          "ellipse-circle-filled"));
}

TEST(SurfaceEllipse, WideBoxOutlineIsClosed)
{
    CSurface s = WhiteSurface(8, 6);
    s.SelectSolidBrush(kGrey);
    s.Ellipse(CRect(0, 0, 7, 5));
    EXPECT_TRUE(SameImage(s,
                          {".#####..",
                           "##ooo##.",
                           "#ooooo#.",
                           "##ooo##.",
                           ".#####..",
                           "........"},
                          "ellipse-wide"));
}

TEST(SurfaceEllipse, StaysInTheBoxAndIsSymmetric)
{
    CSurface s = WhiteSurface(40, 30);
    s.SelectPen(3, kBlack);
    s.SelectNullBrush();
    const CRect box(4, 3, 35, 24);
    s.Ellipse(box);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            const int mx = box.left + box.right - 1 - x, my = box.top + box.bottom - 1 - y;
            const COLORREF expected = box.PtInRect(CPoint(x, y)) ? s.GetPixel(mx, my) : kWhite;
            EXPECT_EQ(s.GetPixel(x, y), expected) << x << "," << y;
        }
    }
    EXPECT_EQ(s.GetPixel(box.left, 13), kBlack); // touches all four sides
    EXPECT_EQ(s.GetPixel(box.right - 1, 13), kBlack);
    EXPECT_EQ(s.GetPixel(19, box.top), kBlack);
    EXPECT_EQ(s.GetPixel(19, box.bottom - 1), kBlack);
    EXPECT_EQ(s.GetPixel(19, 13), kWhite); // hollow
}

TEST(SurfaceEllipse, NotXorRubberBandDrawnTwiceRestores)
{
    CSurface s = WhiteSurface(30, 20);
    s.FillSolidRect(CRect(10, 0, 20, 20), kBlack);
    const QImage before = s.image().copy();
    s.SetROP2(R2_NOTXORPEN);
    s.SelectPen(2, kBlack);
    s.Ellipse(CRect(25, 18, 2, 1));
    EXPECT_NE(CountColor(s, kBlack), 200);
    s.Ellipse(CRect(2, 1, 25, 18));
    EXPECT_TRUE(SameImage(s.image(), before, "ellipse-notxor-twice"));
}

// ---- mix modes on single pixels --------------------------------------------

TEST(SurfaceMixMode, EachModeCombinesPenAndDestination)
{
    CSurface s = WhiteSurface(4, 1);
    const COLORREF dst = RGB(0x3C, 0xFF, 0x00), pen = RGB(0xF0, 0x0F, 0xFF);
    const std::pair<int, COLORREF> cases[] = {
        {R2_COPYPEN, pen},
        {R2_MASKPEN, RGB(0x30, 0x0F, 0x00)},
        {R2_NOT, RGB(0xC3, 0x00, 0xFF)},
        {R2_NOTXORPEN, RGB(0x33, 0x0F, 0x00)},
    };
    for (const auto& [mode, expected] : cases) {
        s.SetPixel(0, 0, dst);
        s.SelectPen(1, pen);
        s.SetROP2(mode);
        s.MoveTo(0, 0);
        s.LineTo(1, 0);
        EXPECT_EQ(s.GetPixel(0, 0), expected) << "mode " << mode;
        EXPECT_EQ(s.GetPixel(1, 0), kWhite) << "mode " << mode;
    }
}

TEST(SurfaceMixMode, NotTwiceRestoresARubberBandLine)
{
    CSurface s = SurfaceFromRows({"#.o#..#.", ".#..o.#.", "..##..o#"});
    const QImage before = s.image().copy();
    s.SetROP2(R2_NOT);
    s.MoveTo(0, 0);
    s.LineTo(8, 2);
    EXPECT_EQ(s.GetPixel(0, 0), kWhite);
    EXPECT_EQ(s.GetPixel(4, 1), RGB(127, 127, 127));
    s.MoveTo(0, 0);
    s.LineTo(8, 2);
    EXPECT_TRUE(SameImage(s.image(), before, "not-twice"));
}
