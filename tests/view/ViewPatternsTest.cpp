// The fill tool: the solid fill of the clicked colour's region and the
// twelve patterns, anchored at the image origin.
#include "ViewTestFixture.h"

#include "view/tools/FillTool.h"

#include <array>

using namespace viewtest;

namespace {

// The patterns' rows as the drawings give them (0 bit black, 1 bit white,
// most significant bit leftmost), written out here independently of the
// program's own table.
constexpr std::array<std::array<unsigned, 8>, 12> kRows = {{
    {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA},
    {0xB6, 0x6D, 0xDB, 0xB6, 0x6D, 0xDB, 0xB6, 0x6D},
    {0x6D, 0xB6, 0xDB, 0x6D, 0xB6, 0xDB, 0x6D, 0xB6},
    {0xF6, 0x99, 0x6F, 0xFF, 0xF6, 0x99, 0x6F, 0xFF},
    {0x33, 0x33, 0xCC, 0xCC, 0x33, 0x33, 0xCC, 0xCC},
    {0x55, 0xBB, 0x55, 0xFF, 0x55, 0xBB, 0x55, 0xFF},
    {0xEE, 0xDD, 0xBB, 0x77, 0xEE, 0xDD, 0xBB, 0x77},
    {0x77, 0xBB, 0xDD, 0xEE, 0x77, 0xBB, 0xDD, 0xEE},
    {0xFE, 0xFD, 0xFB, 0xF7, 0xEF, 0xDF, 0xBF, 0x7F},
    {0x7F, 0xBF, 0xDF, 0xEF, 0xF7, 0xFB, 0xFD, 0xFE},
    {0x00, 0x55, 0x00, 0x55, 0x00, 0x55, 0x00, 0x55},
    {0x00, 0x77, 0x77, 0x77, 0x00, 0x77, 0x77, 0x77},
}};

QRgb Expected(int pattern, int x, int y)
{
    const unsigned row = kRows[static_cast<size_t>(pattern - 1)][static_cast<size_t>(y % 8)];
    return (row >> (7 - x % 8)) & 1u ? kWhite : kBlack;
}

QString Dump(const QImage& image)
{
    QString text;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            text += image.pixel(x, y) == kBlack ? QLatin1Char('#') : QLatin1Char('.');
        text += QLatin1Char('\n');
    }
    return text;
}

} // namespace

TEST_F(ViewTest, EachPatternFillsAWhiteImageWithItsListedRows)
{
    ASSERT_TRUE(OpenWhiteLogo(16, 16));
    Command(ID_TOOL_FILL);
    for (int n = 1; n <= 12; ++n) {
        Image().fill(kWhite);
        Command(ID_PATTERN_FIRST + static_cast<UINT>(n) - 1);
        ASSERT_EQ(m_view->Tools().Fill().FillPattern(), n);
        // Anchored at the origin wherever the click lands.
        Click(5 + n % 7, 3 + n % 5);
        int wrong = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                wrong += Pixel(x, y) != Expected(n, x, y);
        EXPECT_EQ(wrong, 0) << "pattern " << n << "\n" << Dump(Image()).toStdString();
        Command(ID_PATTERN_FIRST + static_cast<UINT>(n) - 1);
        EXPECT_EQ(m_view->Tools().Fill().FillPattern(), 0);
    }
}

TEST_F(ViewTest, ChessPatternGivesTwoByTwoChecks)
{
    ASSERT_TRUE(OpenWhiteLogo(16, 16));
    Command(ID_TOOL_FILL);
    Command(ID_PATTERN_FIRST + 4); // chess
    Click(9, 9);
    for (const QPoint p : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1), QPoint(2, 2), QPoint(3, 3)})
        EXPECT_EQ(Pixel(p.x(), p.y()), kBlack) << p.x() << "," << p.y();
    for (const QPoint p : {QPoint(2, 0), QPoint(3, 1), QPoint(0, 2), QPoint(1, 3)})
        EXPECT_EQ(Pixel(p.x(), p.y()), kWhite) << p.x() << "," << p.y();
}

TEST_F(ViewTest, SolidFillFillsTheBoundedRegionAndASecondClickRefillsIt)
{
    ASSERT_TRUE(OpenWhiteLogo(40, 30));
    // A black outline from (10,5) to (29,24); inside white, outside white.
    for (int i = 10; i < 30; ++i) {
        Image().setPixel(i, 5, kBlack);
        Image().setPixel(i, 24, kBlack);
    }
    for (int j = 5; j < 25; ++j) {
        Image().setPixel(10, j, kBlack);
        Image().setPixel(29, j, kBlack);
    }
    m_doc->SetModifiedFlag(false);
    Command(ID_TOOL_FILL);
    Click(20, 15);
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(CountInImage(kBlack), 20 * 20);
    EXPECT_EQ(Pixel(9, 15), kWhite);
    EXPECT_EQ(Pixel(30, 15), kWhite);
    EXPECT_EQ(m_view->Surfaces().UndoCount(), 1);
    // Now the whole square is one black region: the second click whitens it.
    Click(20, 15);
    EXPECT_EQ(CountInImage(kBlack), 0);
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(CountInImage(kBlack), 20 * 20);
}

TEST_F(ViewTest, SolidFillOnAGreyPixelKeepsTheWhiteBrush)
{
    ASSERT_TRUE(OpenWhiteLogo(20, 10));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            Image().setPixel(x, y, qRgb(128, 128, 128));
    m_doc->Binding().SetMonochrome(0);
    Command(ID_TOOL_FILL);
    Click(3, 3);
    EXPECT_EQ(Pixel(0, 0), kWhite);
    EXPECT_EQ(Pixel(9, 9), kWhite);
    EXPECT_EQ(CountInImage(kWhite), 200);
}

TEST_F(ViewTest, PatternCommandsFollowTheFillToolAndRememberTheChoice)
{
    ASSERT_TRUE(OpenWhiteLogo(20, 10));
    Command(ID_TOOL_FILL);
    Command(ID_PATTERN_FIRST + 3); // wave
    EXPECT_EQ(m_view->Tools().Fill().FillPattern(), 4);
    for (UINT id = ID_PATTERN_FIRST; id <= ID_PATTERN_LAST; ++id) {
        EXPECT_TRUE(State(id).enabled());
        EXPECT_EQ(State(id).checked(), id == ID_PATTERN_FIRST + 3 ? 1 : 0) << id;
    }
    Command(ID_TOOL_PEN);
    for (UINT id = ID_PATTERN_FIRST; id <= ID_PATTERN_LAST; ++id)
        EXPECT_FALSE(State(id).enabled()) << id;
    Command(ID_TOOL_FILL);
    EXPECT_EQ(m_view->Tools().Fill().FillPattern(), 4);
    EXPECT_EQ(State(61497).checked(), 1);
    Command(61497);
    EXPECT_EQ(m_view->Tools().Fill().FillPattern(), 0);
}

TEST_F(ViewTest, FinePatternIsLoggedInTheApplicationLog)
{
    ASSERT_TRUE(OpenWhiteLogo(20, 10));
    Command(ID_TOOL_FILL);
    Command(ID_PATTERN_FIRST);
    QFile log(GetApp()->GetAppLog()->FilePath());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().contains("On Pattern 1"));
}

// A rectangle takes two clicks. Filled inside after both, the fill stays
// within the outline and Undo takes back the fill alone. A press, a drag and
// a release are its first click only: choosing the fill tool then drops the
// waiting rectangle and takes its rubber band off the screen, so the
// operator sees that there is no outline before the fill floods the white
// logo, and Undo gives back the logo as it was before the fill.
TEST_F(ViewTest, FillAfterARectangleOnTheScreenAndInTheLogo)
{
    const QRect outline(10, 10, 40, 30); // corners (10, 10) and (50, 40), right and bottom exclusive
    const struct {
        const char* name;
        bool dragged; // one press-drag-release rather than two clicks
        bool drawn;
        int blackAfterFill;
    } cases[] = {
        {"two clicks", false, true, 40 * 30},
        {"press, drag, release", true, false, 100 * 80},
    };
    ASSERT_TRUE(OpenWhiteLogo(100, 80));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Image().fill(kWhite);
        Command(ID_TOOL_RECTANGLE);
        if (c.dragged) {
            Drag({QPoint(10, 10), QPoint(30, 30), QPoint(50, 40)});
        } else {
            Click(10, 10);
            Move(50, 40);
            Click(50, 40);
        }
        EXPECT_EQ(m_view->Tools().IsShapePending(), !c.drawn);
        const int outlinePixels = 2 * 40 + 2 * 28;
        EXPECT_EQ(CountInImage(kBlack), c.drawn ? outlinePixels : 0);
        EXPECT_GT(AlongLine(OnScreen(), QRect(12, 10, 30, 1)).black, 25) << "the outline or its rubber band";

        Command(ID_TOOL_FILL);
        EXPECT_FALSE(m_view->Tools().IsShapePending());
        const LineInk top = AlongLine(OnScreen(), QRect(12, 10, 30, 1));
        EXPECT_EQ(top.black > 0, c.drawn) << "nothing is shown that is not in the logo";
        Click(30, 25);
        EXPECT_EQ(CountInImage(kBlack), c.blackAfterFill);
        EXPECT_EQ(Pixel(80, 70), c.drawn ? kWhite : kBlack);

        Command(ID_EDIT_UNDO);
        EXPECT_EQ(CountInImage(kBlack), c.drawn ? outlinePixels : 0);
        EXPECT_EQ(Pixel(outline.left(), outline.top()), c.drawn ? kBlack : kWhite);
        EXPECT_EQ(Pixel(30, 25), kWhite);
    }
}
