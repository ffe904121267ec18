// CSurface flood fill, block copies and stretched copies. Stretches are
// checked against a slow, obviously right per-pixel reference.
#include "platform/Surface.h"
#include "SurfaceTestSupport.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace surfacetest;

namespace {

constexpr std::array<BYTE, 8> kChess{0x33, 0x33, 0xCC, 0xCC, 0x33, 0x33, 0xCC, 0xCC};
constexpr std::array<BYTE, 8> kWave{0xF6, 0x99, 0x6F, 0xFF, 0xF6, 0x99, 0x6F, 0xFF};

COLORREF PatternColor(const std::array<BYTE, 8>& rows, int x, int y)
{
    return ((rows[static_cast<size_t>(y % 8)] >> (7 - x % 8)) & 1) ? kWhite : kBlack;
}

CSurface RandomSurface(int w, int h, quint32 seed)
{
    QRandomGenerator random(seed);
    CSurface s;
    s.Create(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            s.SetPixel(x, y, random.bounded(2) ? kBlack : kWhite);
    return s;
}

// The stretch as the old platform defines it, one pixel at a time.
QImage ReferenceStretch(const CSurface& src, int sx, int sy, int sw, int sh, const QImage& before, int dx, int dy,
                        int dw, int dh)
{
    QImage out = before.copy();
    for (int j = 0; j < dh; ++j) {
        for (int i = 0; i < dw; ++i) {
            const int x = dx + i, y = dy + j;
            const int srcX = sx + static_cast<int>(static_cast<long long>(i) * sw / dw);
            const int srcY = sy + static_cast<int>(static_cast<long long>(j) * sh / dh);
            if (x < 0 || y < 0 || x >= out.width() || y >= out.height())
                continue;
            const COLORREF c = src.GetPixel(srcX, srcY);
            if (c != CLR_INVALID)
                out.setPixel(x, y, surface::ToPixel(c));
        }
    }
    return out;
}

} // namespace

// ---- flood fill --------------------------------------------------------------

TEST(SurfaceFloodFill, SolidFillStaysInsideTheFrameAndCanBeUndone)
{
    CSurface s;
    s.Create(12, 12, kWhite);
    s.SelectNullBrush();
    s.Rectangle(CRect(2, 2, 10, 10));
    s.SelectSolidBrush(kBlack);
    ASSERT_TRUE(s.FloodFill(5, 5));
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x)
            EXPECT_EQ(s.GetPixel(x, y), CRect(2, 2, 10, 10).PtInRect(CPoint(x, y)) ? kBlack : kWhite) << x << "," << y;

    // The whole black block is now one region: filling it white clears the frame too.
    s.SelectSolidBrush(kWhite);
    ASSERT_TRUE(s.FloodFill(4, 4));
    EXPECT_EQ(CountColor(s, kWhite), 144);
}

TEST(SurfaceFloodFill, DoesNotLeakThroughADiagonal)
{
    CSurface s;
    s.Create(8, 8, kWhite);
    s.MoveTo(0, 0);
    s.LineTo(8, 8);
    s.SelectSolidBrush(kGrey);
    ASSERT_TRUE(s.FloodFill(6, 1));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(s.GetPixel(x, y), x == y ? kBlack : x > y ? kGrey : kWhite) << x << "," << y;
}

TEST(SurfaceFloodFill, StopsAtEveryOtherColour)
{
    CSurface s = SurfaceFromRows({"..oo..",
                                  "..oo#.",
                                  "oooo..",
                                  "......"});
    s.SelectSolidBrush(kWhite);
    ASSERT_TRUE(s.FloodFill(2, 0)); // the grey region becomes white
    EXPECT_TRUE(SameImage(s, {"......", "....#.", "......", "......"}, "fill-grey"));

    CSurface t = SurfaceFromRows({"..o...", "..o.#.", "ooo...", "......"});
    t.SelectSolidBrush(kBlack);
    ASSERT_TRUE(t.FloodFill(0, 0));
    EXPECT_TRUE(SameImage(t, {"##o...", "##o.#.", "ooo...", "......"}, "fill-bounded-by-grey"));
}

TEST(SurfaceFloodFill, PatternIsAnchoredAtTheImageOrigin)
{
    CSurface s;
    s.Create(16, 16, kWhite);
    s.SelectPatternBrush(kChess);
    ASSERT_TRUE(s.FloodFill(9, 13));
    EXPECT_EQ(s.GetPixel(0, 0), kBlack);
    EXPECT_EQ(s.GetPixel(1, 0), kBlack);
    EXPECT_EQ(s.GetPixel(0, 1), kBlack);
    EXPECT_EQ(s.GetPixel(1, 1), kBlack);
    EXPECT_EQ(s.GetPixel(2, 0), kWhite);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            EXPECT_EQ(s.GetPixel(x, y), PatternColor(kChess, x, y)) << x << "," << y;
}

TEST(SurfaceFloodFill, PatternInsideAFrameFollowsAbsoluteCoordinates)
{
    CSurface s;
    s.Create(20, 20, kWhite);
    s.SelectNullBrush();
    s.Rectangle(CRect(3, 5, 17, 19));
    s.SelectPatternBrush(kWave);
    ASSERT_TRUE(s.FloodFill(15, 17));
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            const bool inside = CRect(4, 6, 16, 18).PtInRect(CPoint(x, y));
            const bool frame = !inside && CRect(3, 5, 17, 19).PtInRect(CPoint(x, y));
            const COLORREF expected = inside ? PatternColor(kWave, x, y) : frame ? kBlack : kWhite;
            EXPECT_EQ(s.GetPixel(x, y), expected) << x << "," << y;
        }
    }
}

TEST(SurfaceFloodFill, BrushOfTheRegionColourEnds)
{
    CSurface s;
    s.Create(30, 30, kWhite);
    s.SelectSolidBrush(kWhite);
    EXPECT_TRUE(s.FloodFill(3, 3));
    EXPECT_EQ(CountColor(s, kWhite), 900);
    s.SelectNullBrush();
    EXPECT_TRUE(s.FloodFill(3, 3));
    EXPECT_EQ(CountColor(s, kWhite), 900);
}

TEST(SurfaceFloodFill, RefusesBadSeedsAndChangesNothing)
{
    CSurface s;
    s.Create(5, 5, kWhite);
    s.SelectSolidBrush(kBlack);
    EXPECT_FALSE(s.FloodFill(-1, 0));
    EXPECT_FALSE(s.FloodFill(0, 5));
    EXPECT_FALSE(s.ExtFloodFill(2, 2, kBlack, FLOODFILLSURFACE)); // seed is not that colour
    EXPECT_FALSE(s.ExtFloodFill(2, 2, kWhite, 7));
    EXPECT_FALSE(s.ExtFloodFill(2, 2, kWhite, FLOODFILLBORDER)); // seed is the border
    EXPECT_EQ(CountColor(s, kWhite), 25);
}

TEST(SurfaceFloodFill, BorderFillCoversEverythingButTheBorderColour)
{
    CSurface s = SurfaceFromRows({"..#...", ".o#...", "###...", "......"});
    s.SelectSolidBrush(kBlack);
    ASSERT_TRUE(s.ExtFloodFill(0, 0, kBlack, FLOODFILLBORDER));
    EXPECT_TRUE(SameImage(s, {"###...", "###...", "###...", "......"}, "fill-border"));
}

TEST(SurfaceFloodFill, LongSerpentineRegionNeedsNoRecursion)
{
    // Vertical walls every other column with gaps alternating at the top and
    // bottom: one region that snakes through the whole image.
    const int w = 1001, h = 600;
    CSurface s;
    s.Create(w, h, kWhite);
    int walls = 0;
    for (int x = 1; x < w; x += 2, ++walls) {
        const bool gapAtTop = (walls % 2) == 0;
        s.FillSolidRect(CRect(x, gapAtTop ? 1 : 0, x + 1, gapAtTop ? h : h - 1), kBlack);
    }
    const int white = CountColor(s, kWhite);
    s.SelectSolidBrush(kGrey);
    ASSERT_TRUE(s.FloodFill(0, h - 1));
    EXPECT_EQ(CountColor(s, kGrey), white);
    EXPECT_EQ(CountColor(s, kWhite), 0);
}

// ---- block copies ----------------------------------------------------------

TEST(SurfaceBitBlt, RasterOperations)
{
    // White is all ones, so AND keeps black from either side and OR keeps white.
    const CSurface src = SurfaceFromRows({"#.", ".#"});
    const std::vector<std::string> dstRows{"##..", "#.#."};
    struct Case {
        DWORD rop;
        CPoint at;
        std::vector<std::string> expected;
        const char* name;
    };
    const Case cases[] = {
        {SRCCOPY, CPoint(2, 0), {"###.", "#..#"}, "blt-srccopy"},
        {NOTSRCCOPY, CPoint(1, 0), {"#.#.", "##.."}, "blt-notsrccopy"},
        {SRCAND, CPoint(2, 0), {"###.", "#.##"}, "blt-srcand"},
        {SRCINVERT, CPoint(2, 0), {"##.#", "#..."}, "blt-srcinvert"},
        {SRCPAINT, CPoint(2, 0), {"##..", "#..."}, "blt-srcpaint"},
    };
    for (const Case& c : cases) {
        CSurface dst = SurfaceFromRows(dstRows);
        ASSERT_TRUE(dst.BitBlt(c.at.x, c.at.y, 2, 2, src, 0, 0, c.rop));
        EXPECT_TRUE(SameImage(dst, c.expected, c.name));
    }
}

TEST(SurfaceBitBlt, SrcInvertTwiceRestoresAndUnknownRopFails)
{
    CSurface dst = RandomSurface(17, 9, 7);
    const CSurface src = RandomSurface(17, 9, 8);
    const QImage before = dst.image().copy();
    dst.BitBlt(0, 0, 17, 9, src, 0, 0, SRCINVERT);
    dst.BitBlt(0, 0, 17, 9, src, 0, 0, SRCINVERT);
    EXPECT_TRUE(SameImage(dst.image(), before, "blt-xor-twice"));
    EXPECT_FALSE(dst.BitBlt(0, 0, 17, 9, src, 0, 0, 0x00123456));
    EXPECT_FALSE(dst.BitBlt(0, 0, -1, 9, src, 0, 0, SRCCOPY));
    EXPECT_FALSE(dst.BitBlt(0, 0, 4, 4, CSurface(), 0, 0, SRCCOPY));
    EXPECT_TRUE(SameImage(dst.image(), before, "blt-refused"));
}

TEST(SurfaceBitBlt, ClipsToBothImages)
{
    const CSurface src = SurfaceFromRows({"##", "##"});
    CSurface dst;
    dst.Create(4, 3, kWhite);
    ASSERT_TRUE(dst.BitBlt(-1, 2, 4, 4, src, 0, 0, SRCCOPY)); // source is only 2 x 2
    EXPECT_TRUE(SameImage(dst, {"....", "....", "#..."}, "blt-clip"));
    ASSERT_TRUE(dst.BitBlt(3, 0, 2, 2, src, 1, -1, SRCCOPY));
    EXPECT_TRUE(SameImage(dst, {"....", "...#", "#..."}, "blt-clip-source"));
}

TEST(SurfaceBitBlt, OverlappingCopyWithinOneSurface)
{
    CSurface s = SurfaceFromRows({"#.#..", "##..."});
    ASSERT_TRUE(s.BitBlt(1, 0, 4, 2, s, 0, 0, SRCCOPY));
    EXPECT_TRUE(SameImage(s, {"##.#.", "###.."}, "blt-overlap"));
}

// ---- stretched copies -------------------------------------------------------

TEST(SurfaceStretchBlt, MagnifiesOneToEightTimesLikeTheReference)
{
    const CSurface src = RandomSurface(13, 11, 42);
    for (int n = 1; n <= 8; ++n) {
        CSurface dst;
        dst.Create(13 * n + 3, 11 * n + 2, kGrey);
        const QImage before = dst.image().copy();
        ASSERT_TRUE(dst.StretchBlt(1, 2, 13 * n, 11 * n, src, 0, 0, 13, 11, SRCCOPY));
        const std::string name = "stretch-x" + std::to_string(n);
        EXPECT_TRUE(SameImage(dst.image(), ReferenceStretch(src, 0, 0, 13, 11, before, 1, 2, 13 * n, 11 * n),
                              name.c_str()));
        for (int y = 0; y < 11 * n; ++y) // every cell is n x n of one source pixel
            for (int x = 0; x < 13 * n; x += n)
                ASSERT_EQ(dst.GetPixel(1 + x, 2 + y), src.GetPixel(x / n, y / n)) << n;
    }
}

TEST(SurfaceStretchBlt, ArbitraryScalesClippingAndOutsideSources)
{
    const CSurface src = RandomSurface(20, 15, 3);
    struct Case {
        int dx, dy, dw, dh, sx, sy, sw, sh;
    };
    const Case cases[] = {
        {0, 0, 30, 7, 0, 0, 20, 15}, // uneven enlarge and shrink
        {-5, -3, 25, 20, 2, 1, 9, 11}, // destination partly left and above
        {10, 10, 40, 40, 0, 0, 20, 15}, // destination partly right and below
        {0, 0, 24, 24, 12, 9, 16, 12}, // source runs past its image: those pixels stay
        {2, 2, 6, 6, -4, -4, 8, 8}, // source starts before its image
    };
    int i = 0;
    for (const Case& c : cases) {
        CSurface dst;
        dst.Create(32, 28, kGrey);
        const QImage before = dst.image().copy();
        ASSERT_TRUE(dst.StretchBlt(c.dx, c.dy, c.dw, c.dh, src, c.sx, c.sy, c.sw, c.sh, SRCCOPY));
        const std::string name = "stretch-case" + std::to_string(i++);
        EXPECT_TRUE(SameImage(dst.image(), ReferenceStretch(src, c.sx, c.sy, c.sw, c.sh, before, c.dx, c.dy, c.dw, c.dh),
                              name.c_str()));
    }
}

TEST(SurfaceStretchBlt, RopsSelfCopyAndRefusals)
{
    CSurface s = SurfaceFromRows({"#.", ".."});
    ASSERT_TRUE(s.StretchBlt(0, 0, 2, 2, s, 0, 0, 1, 1, SRCCOPY)); // reads the original pixel
    EXPECT_TRUE(SameImage(s, {"##", "##"}, "stretch-self"));
    const CSurface dot = SurfaceFromRows({"#"});
    ASSERT_TRUE(s.StretchBlt(0, 0, 2, 1, dot, 0, 0, 1, 1, NOTSRCCOPY));
    EXPECT_TRUE(SameImage(s, {"..", "##"}, "stretch-not"));
    EXPECT_FALSE(s.StretchBlt(0, 0, -2, 2, dot, 0, 0, 1, 1, SRCCOPY));
    EXPECT_FALSE(s.StretchBlt(0, 0, 2, 2, dot, 0, 0, 1, 1, 0x00123456));
    EXPECT_TRUE(s.StretchBlt(0, 0, 0, 2, dot, 0, 0, 1, 1, SRCCOPY));
    EXPECT_TRUE(SameImage(s, {"..", "##"}, "stretch-refused"));
}

TEST(SurfaceBrush, PatternRowsFromATileImage)
{
    QImage tile(8, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            tile.setPixel(x, y, surface::ToPixel(PatternColor(kWave, x, y)));
    std::array<BYTE, 8> rows{};
    ASSERT_TRUE(CBrush::PatternRowsFromImage(tile, rows));
    EXPECT_EQ(rows, kWave);
    EXPECT_FALSE(CBrush::PatternRowsFromImage(QImage(4, 8, QImage::Format_RGB32), rows));
    EXPECT_EQ(rows, kWave);
}
