// The drawing tools driven with the mouse on a real logo window, read back
// from the document's bitmap.
#include "ViewTestFixture.h"

using namespace viewtest;

TEST_F(ViewTest, PenStrokeDrawsOnePixelBlackLineAndTakesTheUndoCopy)
{
    ASSERT_TRUE(OpenWhiteLogo(100, 50));
    Command(ID_TOOL_PEN);
    EXPECT_EQ(m_doc->GetDrawMode(), tool::Pen);
    EXPECT_EQ(m_doc->GetPenWidth(), 1);

    Drag({QPoint(5, 5), QPoint(10, 5), QPoint(15, 5)});

    for (int x = 5; x < 15; ++x)
        EXPECT_EQ(Pixel(x, 5), kBlack) << x;
    // One-pixel lines leave out their end point.
    EXPECT_EQ(Pixel(15, 5), kWhite);
    EXPECT_EQ(Pixel(10, 4), kWhite);
    EXPECT_EQ(Pixel(10, 6), kWhite);
    EXPECT_EQ(CountInImage(kBlack), 10);
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(m_doc->Strokes().size(), 1u);
    EXPECT_EQ(m_view->Surfaces().UndoCount(), 1);
    // The undo copy is the image before the click.
    EXPECT_EQ(m_view->Surfaces().Undo().image().pixel(10, 5), kWhite);
    EXPECT_EQ(m_view->Tools().CurrentStroke(), nullptr);
}

// A click that does not move leaves a dot of the tool's width, whether the
// clicks come slowly, or quickly enough for Qt to call the second a double
// click, on the same point or on the next one.
TEST_F(ViewTest, ClicksWithoutMovementLeaveTheirDots)
{
    const struct {
        const char* name;
        UINT toolId;
        UINT sizeId; // 0: the tool's own width
        bool startBlack;
        std::vector<std::pair<QPoint, ulong>> clicks; // point, time stamp (ms)
        std::vector<QPoint> dots;
        int dotPixels; // pixels of the dot's colour in all
    } cases[] = {
        {"pen, one click", ID_TOOL_PEN, 0, false, {{{20, 20}, 1000000}}, {{20, 20}}, 1},
        {"pen, two slow clicks", ID_TOOL_PEN, 0, false, {{{20, 20}, 1000000}, {{30, 20}, 1005000}},
         {{20, 20}, {30, 20}}, 2},
        {"pen, a double click on one point", ID_TOOL_PEN, 0, false, {{{20, 20}, 1000000}, {{20, 20}, 1000100}},
         {{20, 20}}, 1},
        {"pen, two quick clicks side by side", ID_TOOL_PEN, 0, false, {{{20, 20}, 1000000}, {{21, 20}, 1000100}},
         {{20, 20}, {21, 20}}, 2},
        {"pen at 3 pixels", ID_TOOL_PEN, ID_SIZE_3, false, {{{20, 20}, 1000000}}, {{20, 20}}, 9},
        {"brush", ID_TOOL_BRUSH, 0, false, {{{20, 20}, 1000000}, {{40, 20}, 1000100}}, {{20, 20}, {40, 20}}, 2 * 21},
        {"eraser on black", ID_TOOL_ERASER, ID_SIZE_2, true, {{{20, 20}, 1000000}}, {{20, 20}}, 4},
    };
    ASSERT_TRUE(OpenWhiteLogo(100, 50));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Image().fill(c.startBlack ? kBlack : kWhite);
        Command(c.toolId);
        if (c.sizeId)
            Command(c.sizeId);
        for (const auto& [point, time] : c.clicks)
            ClickAt(point.x(), point.y(), time);
        const QRgb ink = c.startBlack ? kWhite : kBlack;
        for (const QPoint& dot : c.dots)
            EXPECT_EQ(Pixel(dot.x(), dot.y()), ink) << dot.x() << "," << dot.y();
        EXPECT_EQ(CountInImage(ink), c.dotPixels);
        EXPECT_EQ(m_view->Tools().CurrentStroke(), nullptr);
    }
}

TEST_F(ViewTest, MovesWithoutTheButtonDrawNothing)
{
    ASSERT_TRUE(OpenWhiteLogo(100, 50));
    Command(ID_TOOL_PEN);
    Move(5, 5);
    Move(30, 30);
    EXPECT_EQ(CountInImage(kBlack), 0);
    EXPECT_EQ(m_view->Surfaces().UndoCount(), 0);
}

TEST_F(ViewTest, SevenPixelSizeMakesBrushAndPenStrokesSevenWideAndBlack)
{
    ASSERT_TRUE(OpenWhiteLogo(100, 60));
    Command(ID_TOOL_BRUSH);
    EXPECT_EQ(m_doc->GetPenWidth(), 5);
    Command(ID_SIZE_7);
    EXPECT_EQ(m_doc->GetPenWidth(), 7);
    EXPECT_EQ(m_doc->GetPenColor(), RGB(0, 0, 0));
    Drag({QPoint(20, 20), QPoint(50, 20), QPoint(70, 20)});
    EXPECT_EQ(CountInColumn(40, kBlack), 7);
    EXPECT_EQ(Pixel(40, 20), kBlack);

    Command(ID_TOOL_PEN);
    Command(ID_SIZE_7);
    Drag({QPoint(20, 45), QPoint(70, 45)});
    int black = 0;
    for (int y = 30; y < 60; ++y)
        black += Pixel(40, y) == kBlack;
    EXPECT_EQ(black, 7);
}

TEST_F(ViewTest, EraserIsTenWideWhiteEvenAfterSevenPixelSize)
{
    ASSERT_TRUE(OpenWhiteLogo(100, 60));
    Image().fill(kBlack);
    Command(ID_TOOL_PEN);
    Command(ID_SIZE_7);
    Command(ID_TOOL_ERASER);
    EXPECT_EQ(m_doc->GetPenWidth(), 10);
    EXPECT_EQ(m_doc->GetPenColor(), RGB(255, 255, 255));
    Drag({QPoint(20, 30), QPoint(80, 30)});
    EXPECT_EQ(CountInColumn(50, kWhite), 10);

    // A size command keeps the eraser's white.
    Command(ID_SIZE_3);
    EXPECT_EQ(m_doc->GetPenWidth(), 3);
    EXPECT_EQ(m_doc->GetPenColor(), RGB(255, 255, 255));
}

TEST_F(ViewTest, LineIsDrawnOnTheSecondClickWithoutItsEndPixel)
{
    ASSERT_TRUE(OpenWhiteLogo(100, 50));
    Command(ID_TOOL_LINE);
    Click(10, 10);
    EXPECT_TRUE(m_view->Tools().IsShapePending());
    EXPECT_EQ(m_view->Surfaces().UndoCount(), 1);

    // The rubber band is on the screen only.
    Move(20, 20);
    EXPECT_EQ(CountInImage(kBlack), 0);
    QApplication::processEvents();
    EXPECT_EQ(Screen().pixel(15, 15), kBlack);

    Click(30, 10);
    EXPECT_EQ(m_view->Surfaces().UndoCount(), 2);
    EXPECT_FALSE(m_view->Tools().IsShapePending());
    EXPECT_EQ(Pixel(10, 10), kBlack);
    EXPECT_EQ(Pixel(29, 10), kBlack);
    EXPECT_EQ(Pixel(30, 10), kWhite);
    EXPECT_EQ(CountInImage(kBlack), 20);
    // The band went with the redraw.
    QApplication::processEvents();
    EXPECT_EQ(Screen().pixel(15, 15), kWhite);
}

TEST_F(ViewTest, RectangleOverBlackPixelsKeepsItsInside)
{
    ASSERT_TRUE(OpenWhiteLogo(100, 80));
    for (int y = 25; y < 35; ++y)
        for (int x = 25; x < 35; ++x)
            Image().setPixel(x, y, kBlack);
    Command(ID_TOOL_RECTANGLE);
    Click(10, 10);
    Move(40, 40);
    Move(50, 50);
    EXPECT_EQ(CountInImage(kBlack), 100);
    Click(50, 50);

    EXPECT_EQ(Pixel(10, 10), kBlack);
    EXPECT_EQ(Pixel(49, 49), kBlack);
    EXPECT_EQ(Pixel(30, 10), kBlack);
    EXPECT_EQ(Pixel(50, 30), kWhite); // exclusive right edge
    EXPECT_EQ(Pixel(30, 30), kBlack); // the black block stays
    EXPECT_EQ(Pixel(15, 15), kWhite); // and so does the white inside
    EXPECT_EQ(CountInImage(kBlack), 100 + 4 * 39);
}

TEST_F(ViewTest, EllipseOutlineLeavesTheCentreWhite)
{
    ASSERT_TRUE(OpenWhiteLogo(100, 80));
    Command(ID_TOOL_ELLIPSE);
    Click(10, 10);
    Click(51, 41);
    EXPECT_EQ(Pixel(30, 25), kWhite);
    EXPECT_GT(CountInImage(kBlack), 50);
    EXPECT_EQ(Pixel(10, 10), kWhite); // corners of the box are outside
}

TEST_F(ViewTest, ToolChangeBetweenTheClicksCancelsTheLine)
{
    ASSERT_TRUE(OpenWhiteLogo(100, 50));
    Command(ID_TOOL_LINE);
    Command(ID_SIZE_5);
    Click(10, 10);
    Move(30, 30);
    Command(ID_TOOL_PEN);
    EXPECT_FALSE(m_view->Tools().IsShapePending());
    EXPECT_EQ(m_doc->GetPenWidth(), 1);
    EXPECT_EQ(m_view->Tools().ShapeStart(), CPoint());

    Command(ID_TOOL_LINE);
    Click(30, 10);
    EXPECT_EQ(CountInImage(kBlack), 0);
    EXPECT_TRUE(m_view->Tools().IsShapePending()); // a new first click
    QApplication::processEvents();
    EXPECT_EQ(Screen().pixel(20, 20), kWhite);
}

TEST_F(ViewTest, EscapeSelectsThePointerWithoutCommitting)
{
    ASSERT_TRUE(OpenWhiteLogo(100, 50));
    Command(ID_TOOL_BRUSH);
    QTest::keyClick(m_view, Qt::Key_Escape);
    EXPECT_EQ(m_doc->GetDrawMode(), tool::None);
    EXPECT_EQ(viewpanes::LastTexts().tool, "Tool selected: None");
    EXPECT_EQ(m_doc->GetPenWidth(), 5);
    Click(20, 20);
    EXPECT_EQ(m_view->Surfaces().UndoCount(), 0);
}
