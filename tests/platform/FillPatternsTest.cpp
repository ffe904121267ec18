// The fill patterns: their rows against the drawings operators know them by,
// and the one-bit bitmaps made from them.
#include "resources/FillPatterns.h"

#include <gtest/gtest.h>

namespace {

// "#" black, "." white, one string per row.
std::array<BYTE, 8> RowsOf(const std::array<const char*, 8>& drawing)
{
    std::array<BYTE, 8> rows{};
    for (size_t y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            if (drawing[y][x] == '.')
                rows[y] |= static_cast<BYTE>(0x80 >> x);
    return rows;
}

} // namespace

TEST(FillPatterns, RowsMatchTheirDrawings)
{
    EXPECT_EQ(FillPatternByNumber(2)->rows,
              RowsOf({".#..#..#", "#..#..#.", "..#..#..", ".#..#..#", "#..#..#.", "..#..#..", ".#..#..#", "#..#..#."}));
    EXPECT_EQ(FillPatternByNumber(4)->rows,
              RowsOf({"....#..#", ".##..##.", "#..#....", "........", "....#..#", ".##..##.", "#..#....", "........"}));
    EXPECT_EQ(FillPatternByNumber(5)->rows,
              RowsOf({"##..##..", "##..##..", "..##..##", "..##..##", "##..##..", "##..##..", "..##..##", "..##..##"}));
    EXPECT_EQ(FillPatternByNumber(12)->rows,
              RowsOf({"########", "#...#...", "#...#...", "#...#...", "########", "#...#...", "#...#...", "#...#..."}));
    // The thin diagonals: one black pixel per row.
    for (int y = 0; y < 8; ++y) {
        EXPECT_EQ(FillPatternByNumber(9)->rows[y], static_cast<BYTE>(~(1 << y)));
        EXPECT_EQ(FillPatternByNumber(10)->rows[y], static_cast<BYTE>(~(0x80 >> y)));
    }
}

TEST(FillPatterns, NumbersCommandsAndBitmaps)
{
    for (int n = 1; n <= 12; ++n) {
        const CFillPattern* p = FillPatternByNumber(n);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->number, n);
        EXPECT_EQ(p->commandId, 61493u + n);
    }
    EXPECT_EQ(FillPatternByNumber(0), nullptr);
    EXPECT_EQ(FillPatternByNumber(13), nullptr);
    EXPECT_EQ(FillPatternByNumber(7)->bitmapId, 181u) << "179 and 180 are toolbar images";

    const QImage chess = FillPatternBitmap(*FillPatternByNumber(5));
    EXPECT_EQ(chess.size(), QSize(8, 8));
    EXPECT_EQ(chess.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(chess.pixel(2, 0), qRgb(255, 255, 255));
    EXPECT_EQ(chess.pixel(2, 2), qRgb(0, 0, 0));
}
