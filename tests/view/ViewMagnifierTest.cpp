// The magnifier: the zoom box, the grabbed cells, the pen on cells, the grid
// and the write-back on leaving; the zoom dialog's values.
#include "ViewTestFixture.h"

#include "support/ScriptedUi.h"

#include <QLineEdit>

using namespace viewtest;

namespace {

// With the defaults the box's top-left lies 22 pixels up and left of the mouse.
constexpr int kMouse = 60;
constexpr int kSource = kMouse - 22;

} // namespace

TEST_F(ViewTest, PenTogglesCellsAndLeavingWritesThemBack)
{
    ASSERT_TRUE(OpenWhiteLogo(200, 150));
    Image().setPixel(kSource + 5, kSource + 5, kBlack);
    Command(ID_ZOOM_LARGE);
    EXPECT_EQ(m_doc->GetDrawMode(), tool::ZoomBox);
    EXPECT_EQ(viewpanes::LastTexts().tool, "Tool selected: Zoom");
    Move(kMouse, kMouse);
    Click(kMouse, kMouse);
    ASSERT_TRUE(m_view->Magnifier().IsMagnified());
    EXPECT_EQ(m_view->Magnifier().ZoomSource(), CPoint(kSource, kSource));
    EXPECT_EQ(m_doc->GetDrawMode(), tool::None);
    EXPECT_EQ(m_view->ScrollSizes(), QSize(360, 360));
    EXPECT_EQ(m_view->Magnifier().Surface().Width(), 360);
    // The black pixel became a 4 x 4 cell.
    EXPECT_EQ(m_view->Magnifier().Surface().GetPixel(21, 22), RGB(0, 0, 0));
    EXPECT_EQ(m_view->Magnifier().Surface().GetPixel(19, 22), RGB(255, 255, 255));

    Command(ID_TOOL_PEN);
    Click(1, 2);
    EXPECT_EQ(m_view->Magnifier().Surface().GetPixel(3, 3), RGB(0, 0, 0));
    Click(2, 1);
    EXPECT_EQ(m_view->Magnifier().Surface().GetPixel(3, 3), RGB(255, 255, 255));
    Click(9, 5); // cell (2, 1)
    Click(21, 21); // the black cell (5, 5) turns white
    // Nothing reaches the image before the magnifier is left.
    EXPECT_EQ(Pixel(kSource + 2, kSource + 1), kWhite);
    EXPECT_TRUE(m_doc->IsModified());

    Command(ID_ZOOM_NORMAL);
    EXPECT_FALSE(m_view->Magnifier().IsMagnified());
    EXPECT_EQ(m_doc->GetDrawMode(), tool::None);
    EXPECT_EQ(m_view->ScrollSizes(), QSize(200, 150));
    EXPECT_EQ(Pixel(kSource + 2, kSource + 1), kBlack);
    EXPECT_EQ(Pixel(kSource, kSource), kWhite);
    EXPECT_EQ(Pixel(kSource + 5, kSource + 5), kWhite);
    EXPECT_EQ(CountInImage(kBlack), 1);
}

// Qt turns a press soon after another into a double click; the pen must see
// it as the press it is, on the same cell and on a neighbouring one.
TEST_F(ViewTest, QuickPenClicksEachToggleTheirCell)
{
    ASSERT_TRUE(OpenWhiteLogo(200, 150));
    Command(ID_ZOOM_LARGE);
    Move(kMouse, kMouse);
    Click(kMouse, kMouse);
    ASSERT_TRUE(m_view->Magnifier().IsMagnified());
    Command(ID_TOOL_PEN);
    const auto cell = [this](int x, int y) { return m_view->Magnifier().Surface().GetPixel(x * 4 + 1, y * 4 + 1); };

    ClickAt(9, 9, 1000000);
    ClickAt(9, 9, 1000100); // 0.1 s later on the same cell: white again
    EXPECT_EQ(cell(2, 2), RGB(255, 255, 255));

    ClickAt(13, 17, 2000000);
    ClickAt(17, 17, 2000100); // the neighbouring cell, quickly
    EXPECT_EQ(cell(3, 4), RGB(0, 0, 0));
    EXPECT_EQ(cell(4, 4), RGB(0, 0, 0));

    Command(ID_ZOOM_NORMAL);
    EXPECT_EQ(Pixel(kSource + 2, kSource + 2), kWhite);
    EXPECT_EQ(Pixel(kSource + 3, kSource + 4), kBlack);
    EXPECT_EQ(Pixel(kSource + 4, kSource + 4), kBlack);
}

TEST_F(ViewTest, GridLinesEveryCellAndToggled)
{
    ASSERT_TRUE(OpenWhiteLogo(200, 150));
    Command(ID_ZOOM_LARGE);
    Move(kMouse, kMouse);
    Click(kMouse, kMouse);
    ASSERT_TRUE(m_view->Magnifier().IsMagnified());
    QApplication::processEvents();
    QImage shown = Screen();
    EXPECT_EQ(shown.pixel(4, 2), 0xFFB0B0B0u);
    EXPECT_EQ(shown.pixel(356, 2), 0xFFB0B0B0u);
    EXPECT_EQ(shown.pixel(2, 2), kWhite);

    Command(ID_SHOW_GRID);
    EXPECT_FALSE(m_view->Magnifier().ShowsGrid());
    QApplication::processEvents();
    shown = Screen();
    EXPECT_EQ(shown.pixel(4, 2), kWhite);
    Command(ID_ZOOM_NORMAL);
}

TEST_F(ViewTest, RightClickCancelsTheZoomBoxInsteadOfOpeningTheMenu)
{
    ASSERT_TRUE(OpenWhiteLogo(200, 150));
    Command(ID_ZOOM_LARGE);
    Move(kMouse, kMouse);
    ASSERT_EQ(m_doc->GetDrawMode(), tool::ZoomBox);
    Press(kMouse, kMouse, Qt::RightButton);
    Release(kMouse, kMouse, Qt::RightButton);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "no context menu";
    EXPECT_EQ(m_doc->GetDrawMode(), tool::None);
    EXPECT_EQ(viewpanes::LastTexts().tool, "Tool selected: None");
    EXPECT_FALSE(m_view->Magnifier().IsMagnified());
    // A later left click draws nothing and grabs nothing.
    Click(kMouse, kMouse);
    EXPECT_FALSE(m_view->Magnifier().IsMagnified());
    EXPECT_EQ(CountInImage(kBlack), 0);
}

TEST_F(ViewTest, ZoomBoxOutsideTheWindowGrabsNothing)
{
    ASSERT_TRUE(OpenWhiteLogo(100, 80));
    Command(ID_ZOOM_LARGE);
    // The 90-pixel box cannot fit below the mouse in an 80-pixel window.
    Move(70, 70);
    Click(70, 70);
    EXPECT_FALSE(m_view->Magnifier().IsMagnified());
    EXPECT_EQ(m_doc->GetDrawMode(), tool::None);
    EXPECT_EQ(viewpanes::LastTexts().tool, "Tool selected: None");
}

TEST_F(ViewTest, ChosenZoomSetsFactorAndSideAndRefusesBelowHundred)
{
    ASSERT_TRUE(OpenWhiteLogo(200, 150));
    auto typeAndOk = [](const QString& value) {
        return [value](CUiPrompt& prompt, QDialog* dialog) {
            if (auto* edit = dialog ? dialog->findChild<QLineEdit*>() : nullptr)
                edit->setText(value);
            prompt.result = IDOK;
        };
    };
    {
        testenv::ScriptedUi ui;
        ui.Then(typeAndOk(QStringLiteral("800")));
        Command(ID_ZOOM_CHOSEN);
        ASSERT_EQ(ui.Prompts().size(), 1u);
        EXPECT_EQ(ui.Prompts()[0].dialogClass, "CZoomDlg");
    }
    EXPECT_EQ(m_view->Magnifier().ZoomFactor(), 8);
    EXPECT_EQ(m_view->Magnifier().ZoomSide(), 45);
    EXPECT_EQ(m_view->Magnifier().ZoomBoxWidth(), 45);
    EXPECT_EQ(m_doc->GetDrawMode(), tool::ZoomBox);

    Command(ID_TOOL_POINTER);
    {
        testenv::ScriptedUi ui;
        ui.Then(typeAndOk(QStringLiteral("50")));
        Command(ID_ZOOM_CHOSEN);
        // The dialog refuses the value itself (with its message) and stays open.
        ASSERT_GE(ui.Prompts().size(), 1u);
        EXPECT_TRUE(ui.Prompts().back().refused);
    }
    EXPECT_EQ(m_view->Magnifier().ZoomFactor(), 8);
    EXPECT_EQ(m_doc->GetDrawMode(), tool::None);

    {
        testenv::ScriptedUi ui;
        ui.Then(typeAndOk(QStringLiteral("200")));
        Command(ID_ZOOM_CHOSEN);
    }
    EXPECT_EQ(m_view->Magnifier().ZoomFactor(), 2);
    EXPECT_EQ(m_view->Magnifier().ZoomSide(), 180);
    {
        testenv::ScriptedUi ui;
        ui.Answer(IDCANCEL);
        Command(ID_ZOOM_CHOSEN);
    }
    EXPECT_EQ(m_view->Magnifier().ZoomFactor(), 2);
}

TEST_F(ViewTest, EightHundredPercentShowsFortyFiveSquareInThreeSixty)
{
    ASSERT_TRUE(OpenWhiteLogo(200, 150));
    Image().setPixel(44 + 10, 44 + 10, kBlack);
    {
        testenv::ScriptedUi ui;
        ui.Then([](CUiPrompt& prompt, QDialog* dialog) {
            dialog->findChild<QLineEdit*>()->setText(QStringLiteral("800"));
            prompt.result = IDOK;
        });
        Command(ID_ZOOM_CHOSEN);
    }
    // Side 45: the box starts 11 pixels up and left of the mouse.
    Move(55, 55);
    Click(55, 55);
    ASSERT_TRUE(m_view->Magnifier().IsMagnified());
    EXPECT_EQ(m_view->Magnifier().Surface().Width(), 360);
    EXPECT_EQ(m_view->Magnifier().Surface().GetPixel(10 * 8 + 4, 10 * 8 + 4), RGB(0, 0, 0));
    EXPECT_EQ(m_view->Magnifier().Surface().GetPixel(9 * 8 + 4, 10 * 8 + 4), RGB(255, 255, 255));
    Command(ID_ZOOM_NORMAL);
    EXPECT_EQ(CountInImage(kBlack), 1);
    EXPECT_EQ(Pixel(54, 54), kBlack);
}
