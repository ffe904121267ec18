// The whole-image commands with their undo, modified-flag and logo-in-RAM
// effects, and the send options' toggles.
#include "ViewTestFixture.h"

#include <array>

using namespace viewtest;

namespace {

// A recognisable, asymmetric picture: a black block in the top-left quarter
// and a black column near the right edge.
void DrawMarks(QImage& image)
{
    for (int y = 0; y < image.height() / 2; ++y)
        for (int x = 0; x < image.width() / 4; ++x)
            image.setPixel(x, y, kBlack);
    for (int y = 0; y < image.height(); ++y)
        image.setPixel(image.width() - 3, y, kBlack);
}

} // namespace

TEST_F(ViewTest, InvertThenUndoGivesTheImageBackAndDisablesUndo)
{
    ASSERT_TRUE(OpenWhiteLogo(64, 32));
    DrawMarks(Image());
    const QImage before = Image().copy();
    m_doc->SetModifiedFlag(false);
    Command(ID_TOOL_PEN);
    m_view->Link().SetLogoInRam(true);
    EXPECT_FALSE(State(ID_EDIT_UNDO).enabled());

    Command(ID_IMAGE_INVERT);
    EXPECT_EQ(Pixel(0, 0), kWhite);
    EXPECT_EQ(Pixel(63, 31), kBlack);
    EXPECT_EQ(m_view->Surfaces().UndoCount(), 1);
    EXPECT_TRUE(State(ID_EDIT_UNDO).enabled());
    // Not an edit of the modified flag or of the printer's copy; the tool is
    // dropped while the pane keeps its name.
    EXPECT_FALSE(m_doc->IsModified());
    EXPECT_TRUE(m_view->Link().IsLogoInRam());
    EXPECT_EQ(m_doc->GetDrawMode(), tool::None);
    EXPECT_EQ(viewpanes::LastTexts().tool, viewpanes::ToolText(QStringLiteral("Pen")));

    Command(ID_EDIT_UNDO);
    EXPECT_EQ(Image(), before);
    EXPECT_EQ(m_view->Surfaces().UndoCount(), 0);
    EXPECT_FALSE(State(ID_EDIT_UNDO).enabled());
}

TEST_F(ViewTest, FlipsMirrorTheImageAndTwiceGiveItBack)
{
    ASSERT_TRUE(OpenWhiteLogo(63, 20));
    DrawMarks(Image());
    const QImage before = Image().copy();
    Command(ID_IMAGE_FLIP_HORIZONTAL);
    EXPECT_EQ(Image(), before.mirrored(true, false));
    Command(ID_IMAGE_FLIP_HORIZONTAL);
    EXPECT_EQ(Image(), before);
    Command(ID_IMAGE_FLIP_VERTICAL);
    EXPECT_EQ(Image(), before.mirrored(false, true));
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(Image(), before);
}

TEST_F(ViewTest, ImageCommandsAreDisabledWhileMagnifiedAndRefreshIsNot)
{
    ASSERT_TRUE(OpenWhiteLogo(64, 32));
    for (const bool magnified : {false, true}) {
        m_view->Magnifier().SetMagnifiedFlag(magnified);
        for (const UINT id : {ID_IMAGE_CLEAR, ID_IMAGE_INVERT, ID_IMAGE_FLIP_HORIZONTAL, ID_IMAGE_FLIP_VERTICAL,
                              ID_IMAGE_SELECT_ALL})
            EXPECT_EQ(State(id).enabled(), !magnified) << id;
        EXPECT_TRUE(State(ID_IMAGE_REFRESH).enabled());
    }
    m_view->Magnifier().SetMagnifiedFlag(false);
}

TEST_F(ViewTest, ConversionIsEnabledOnlyForAColouredLogoAndDisablesItself)
{
    ASSERT_TRUE(OpenWhiteLogo(32, 16));
    EXPECT_FALSE(State(ID_IMAGE_TO_BLACK_WHITE).enabled());
    // A coloured logo: grey and red areas, not yet savable.
    Image().fill(qRgb(200, 200, 200));
    for (int x = 0; x < 16; ++x)
        for (int y = 0; y < 16; ++y)
            Image().setPixel(x, y, qRgb(40, 0, 0));
    m_doc->Binding().SetMonochrome(0);
    EXPECT_TRUE(State(ID_IMAGE_TO_BLACK_WHITE).enabled());
    EXPECT_FALSE(State(ID_FILE_SAVE).enabled());

    Command(ID_IMAGE_TO_BLACK_WHITE);
    EXPECT_FALSE(State(ID_IMAGE_TO_BLACK_WHITE).enabled());
    EXPECT_TRUE(State(ID_FILE_SAVE).enabled());
    EXPECT_EQ(m_view->Surfaces().UndoCount(), 1);
    EXPECT_EQ(CountInImage(kBlack) + CountInImage(kWhite), 32 * 16);
    EXPECT_EQ(Pixel(0, 0), kBlack);
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(Pixel(0, 0), qRgb(40, 0, 0));
}

TEST_F(ViewTest, FramesAreExclusiveTogglesThatClearTheLogoInRam)
{
    ASSERT_TRUE(OpenWhiteLogo(32, 16));
    auto checks = [this] {
        return std::array<int, 3>{State(ID_FRAME_THIN).checked(), State(ID_FRAME_BOLD).checked(),
                                  State(ID_FRAME_DOUBLE).checked()};
    };
    EXPECT_EQ(checks(), (std::array<int, 3>{0, 0, 0}));
    m_view->Link().SetLogoInRam(true);
    Command(ID_FRAME_THIN);
    EXPECT_FALSE(m_view->Link().IsLogoInRam());
    EXPECT_EQ(checks(), (std::array<int, 3>{1, 0, 0}));
    Command(ID_FRAME_BOLD);
    EXPECT_EQ(checks(), (std::array<int, 3>{0, 1, 0}));
    Command(ID_FRAME_DOUBLE);
    EXPECT_EQ(checks(), (std::array<int, 3>{0, 0, 1}));
    m_view->Link().SetLogoInRam(true);
    Command(ID_FRAME_DOUBLE);
    EXPECT_EQ(checks(), (std::array<int, 3>{0, 0, 0}));
    EXPECT_FALSE(m_view->Link().IsLogoInRam());
    for (const UINT id : {ID_FRAME_THIN, ID_FRAME_BOLD, ID_FRAME_DOUBLE}) {
        m_view->Magnifier().SetMagnifiedFlag(true);
        EXPECT_TRUE(State(id).enabled());
        m_view->Magnifier().SetMagnifiedFlag(false);
    }
}

TEST_F(ViewTest, ReversalsAreIndependentTogglesThatClearTheLogoInRam)
{
    ASSERT_TRUE(OpenWhiteLogo(32, 16));
    const struct {
        UINT id;
        SendOption option;
    } reversals[] = {{ID_REVERSE_IMAGE, SendOption::ReverseImage},
                     {ID_REVERSE_ROW, SendOption::ReverseRow},
                     {ID_REVERSE_COLOR, SendOption::ReverseColor}};
    for (const auto& r : reversals) {
        m_view->Link().SetLogoInRam(true);
        EXPECT_EQ(State(r.id).checked(), 0);
        Command(r.id);
        EXPECT_TRUE(m_view->SendOptions().IsOn(r.option));
        EXPECT_EQ(State(r.id).checked(), 1);
        EXPECT_FALSE(m_view->Link().IsLogoInRam());
    }
    // Each stays on while the others change.
    for (const auto& r : reversals)
        EXPECT_TRUE(m_view->SendOptions().IsOn(r.option));
    Command(ID_REVERSE_ROW);
    EXPECT_TRUE(m_view->SendOptions().IsOn(SendOption::ReverseImage));
    EXPECT_FALSE(m_view->SendOptions().IsOn(SendOption::ReverseRow));
    EXPECT_TRUE(m_view->SendOptions().IsOn(SendOption::ReverseColor));
}

TEST_F(ViewTest, ClearWhitensTheClientSizedBlockAndUndoRestoresTheWholeImage)
{
    ASSERT_TRUE(OpenWhiteLogo(600, 400));
    Image().fill(kBlack);
    const QImage before = Image().copy();
    // A logo window smaller than the logo.
    m_view->parentWidget()->setFixedSize(200, 150);
    QApplication::processEvents();
    const QSize client = Viewport()->size();
    ASSERT_LT(client.width(), 600);
    ASSERT_LT(client.height(), 400);
    m_doc->SetModifiedFlag(false);
    m_view->Link().SetLogoInRam(true);

    Command(ID_IMAGE_CLEAR);
    EXPECT_EQ(CountInImage(kWhite), client.width() * client.height());
    EXPECT_EQ(Pixel(client.width() - 1, client.height() - 1), kWhite);
    EXPECT_EQ(Pixel(client.width(), 0), kBlack);
    EXPECT_EQ(Pixel(0, client.height()), kBlack);
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_FALSE(m_view->Link().IsLogoInRam());
    EXPECT_EQ(m_view->Surfaces().UndoCount(), 1);

    Command(ID_EDIT_UNDO);
    EXPECT_EQ(Image(), before);
}
