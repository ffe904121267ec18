// The selection, the system clipboard and the single undo level.
#include "ViewTestFixture.h"

#include "dialogs/PastePositionDlg.h"
#include "support/ScriptedUi.h"

#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>

using namespace viewtest;

namespace {

QClipboard* Clipboard()
{
    return QGuiApplication::clipboard();
}

bool ClipboardHasImage()
{
    const QMimeData* data = Clipboard()->mimeData();
    return data && data->hasImage();
}

QImage BlackPicture(int w, int h)
{
    QImage picture(w, h, QImage::Format_RGB32);
    picture.fill(Qt::black);
    return picture;
}

} // namespace

class SelectionTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        Clipboard()->clear();
    }
    // A black 20 x 10 block at (10, 10) in a white logo, selected.
    void SelectBlock()
    {
        for (int y = 10; y < 20; ++y)
            for (int x = 10; x < 30; ++x)
                Image().setPixel(x, y, kBlack);
        Command(ID_TOOL_SELECT_AREA);
        Drag({QPoint(10, 10), QPoint(20, 15), QPoint(30, 20)});
    }
};

TEST_F(SelectionTest, AreaSelectCopiesTheRectangleToTheClipboard)
{
    ASSERT_TRUE(OpenWhiteLogo(64, 40));
    SelectBlock();
    EXPECT_EQ(m_doc->GetDrawMode(), tool::SelectionPresent);
    EXPECT_EQ(m_view->Selection().SelectionRect(), CRect(10, 10, 30, 20));
    ASSERT_TRUE(ClipboardHasImage());
    const QImage copied = Clipboard()->image();
    EXPECT_EQ(copied.size(), QSize(20, 10));
    EXPECT_EQ(copied.convertToFormat(QImage::Format_RGB32), BlackPicture(20, 10));
    EXPECT_TRUE(State(ID_EDIT_CUT).enabled());
    EXPECT_TRUE(State(ID_EDIT_COPY).enabled());
    // Pasting over a present selection is not offered.
    EXPECT_FALSE(State(ID_EDIT_PASTE).enabled());
}

TEST_F(SelectionTest, RubberBandBeyondTheLogoIsClippedAndACancelSelectsNothing)
{
    ASSERT_TRUE(OpenWhiteLogo(40, 30));
    Command(ID_TOOL_SELECT_AREA);
    m_view->parentWidget()->setFixedSize(300, 300); // room around the logo, as after the magnifier
    QApplication::processEvents();
    Drag({QPoint(30, 20), QPoint(120, 90)});
    EXPECT_EQ(m_view->Selection().SelectionRect(), CRect(30, 20, 40, 30));
    EXPECT_EQ(Clipboard()->image().size(), QSize(10, 10));

    Command(ID_TOOL_SELECT_AREA);
    Clipboard()->clear();
    Press(5, 5);
    Move(15, 15, Qt::LeftButton);
    Press(15, 15, Qt::RightButton);
    Release(15, 15);
    EXPECT_EQ(m_doc->GetDrawMode(), tool::SelectArea);
    EXPECT_FALSE(ClipboardHasImage());
}

TEST_F(SelectionTest, DraggingTheSelectionMovesTheBlockAndEmptiesTheClipboard)
{
    ASSERT_TRUE(OpenWhiteLogo(64, 40));
    SelectBlock();
    m_doc->SetModifiedFlag(false);
    m_view->Link().SetLogoInRam(true);
    Drag({QPoint(15, 15), QPoint(20, 15), QPoint(25, 15)});
    EXPECT_EQ(m_doc->GetDrawMode(), tool::None);
    EXPECT_EQ(viewpanes::LastTexts().tool, viewpanes::ToolText(QStringLiteral("None")));
    EXPECT_FALSE(ClipboardHasImage());
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_FALSE(m_view->Link().IsLogoInRam());
    EXPECT_EQ(CountInImage(kBlack), 200);
    for (int x = 10; x < 20; ++x)
        EXPECT_EQ(Pixel(x, 12), kWhite) << x;
    for (int x = 20; x < 40; ++x)
        EXPECT_EQ(Pixel(x, 12), kBlack) << x;
    EXPECT_EQ(Pixel(40, 12), kWhite);
}

TEST_F(SelectionTest, ClickOutsideAbandonsTheSelection)
{
    ASSERT_TRUE(OpenWhiteLogo(64, 40));
    SelectBlock();
    const QImage before = Image().copy();
    Click(50, 35);
    EXPECT_EQ(Image(), before);
    EXPECT_FALSE(ClipboardHasImage());
    EXPECT_EQ(m_doc->GetDrawMode(), tool::None);
}

TEST_F(SelectionTest, CutWhitensAndCopyKeepsAndBothLeaveTheBlockOnTheClipboard)
{
    ASSERT_TRUE(OpenWhiteLogo(64, 40));
    SelectBlock();
    Command(ID_EDIT_COPY);
    EXPECT_EQ(m_doc->GetDrawMode(), tool::None);
    EXPECT_EQ(CountInImage(kBlack), 200);
    EXPECT_EQ(Clipboard()->image().size(), QSize(20, 10));

    m_doc->SetModifiedFlag(false);
    SelectBlock();
    Command(ID_EDIT_CUT);
    EXPECT_EQ(CountInImage(kBlack), 0);
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(Clipboard()->image().convertToFormat(QImage::Format_RGB32), BlackPicture(20, 10));
    EXPECT_TRUE(State(ID_EDIT_PASTE).enabled());
}

TEST_F(SelectionTest, CutAndCopyAreRefusedForAColouredLogo)
{
    ASSERT_TRUE(OpenWhiteLogo(64, 40));
    SelectBlock();
    m_doc->Binding().SetMonochrome(0);
    const QImage before = Image().copy();
    for (const UINT id : {ID_EDIT_CUT, ID_EDIT_COPY}) {
        testenv::ScriptedUi ui;
        ui.Answer(IDOK);
        Command(id);
        ASSERT_EQ(ui.Prompts().size(), 1u);
        EXPECT_EQ(ui.Prompts()[0].text, "This Function isn't available for Coloured Logo!");
        EXPECT_EQ(ui.Prompts()[0].caption, "Error");
        EXPECT_EQ(ui.Prompts()[0].icon(), MB_ICONERROR);
        EXPECT_EQ(Image(), before);
        EXPECT_EQ(m_doc->GetDrawMode(), tool::SelectionPresent);
    }
}

TEST_F(SelectionTest, PasteLargerThanTheLogoAsksAndNoChangesNothing)
{
    ASSERT_TRUE(OpenWhiteLogo(384, 240));
    Clipboard()->setImage(BlackPicture(500, 300));
    ASSERT_TRUE(State(ID_EDIT_PASTE).enabled());
    const QImage before = Image().copy();
    {
        testenv::ScriptedUi ui;
        ui.Answer(IDNO);
        Command(ID_EDIT_PASTE);
        ASSERT_EQ(ui.Prompts().size(), 1u);
        EXPECT_TRUE(ui.Prompts()[0].text.startsWith("The image into clipboard is greater than image into view."));
        EXPECT_EQ(ui.Prompts()[0].caption, "Glyphane");
        EXPECT_EQ(ui.Prompts()[0].buttons(), static_cast<UINT>(MB_YESNO));
        EXPECT_EQ(ui.Prompts()[0].icon(), MB_ICONEXCLAMATION);
    }
    EXPECT_EQ(Image(), before);
    EXPECT_EQ(m_doc->GetDrawMode(), tool::None);
    EXPECT_TRUE(m_view->Selection().SelectionRect().IsRectEmpty());
    {
        testenv::ScriptedUi ui;
        ui.Answer(IDYES);
        Command(ID_EDIT_PASTE);
    }
    EXPECT_EQ(m_doc->GetDrawMode(), tool::SelectionPresent);
    EXPECT_EQ(m_view->Selection().SelectionRect(), CRect(1, 1, 385, 241));
    EXPECT_EQ(Image(), before) << "the picture reaches the image only when put down";
    // Put down where it is: one pixel right of and below the view's origin.
    Click(100, 100);
    EXPECT_EQ(Pixel(0, 0), kWhite);
    EXPECT_EQ(Pixel(1, 0), kWhite);
    EXPECT_EQ(Pixel(1, 1), kBlack);
    EXPECT_EQ(Pixel(383, 239), kBlack);
    EXPECT_EQ(CountInImage(kBlack), 383 * 239);
    EXPECT_FALSE(ClipboardHasImage());
}

TEST_F(SelectionTest, PastedColourPictureLandsBlackAndWhiteInAMonochromeLogo)
{
    ASSERT_TRUE(OpenWhiteLogo(40, 30));
    QImage picture(10, 10, QImage::Format_RGB32);
    picture.fill(qRgb(30, 60, 200));
    for (int x = 0; x < 10; ++x)
        picture.setPixel(x, 0, qRgb(250, 240, 200));
    Clipboard()->setImage(picture);
    Command(ID_EDIT_PASTE);
    Click(5, 5);
    EXPECT_EQ(Pixel(1, 1), kWhite);
    EXPECT_EQ(Pixel(1, 2), kBlack);
    EXPECT_EQ(CountInImage(kBlack) + CountInImage(kWhite), 40 * 30);
}

TEST_F(SelectionTest, PasteSpecialAtTheRightEdgeWritesTheVisibleStrip)
{
    ASSERT_TRUE(OpenWhiteLogo(384, 240));
    Clipboard()->setImage(BlackPicture(20, 20));
    m_doc->SetModifiedFlag(false);
    {
        testenv::ScriptedUi ui;
        ui.Then([](CUiPrompt& prompt, QDialog* dialog) {
            auto* dlg = qobject_cast<CPastePositionDlg*>(dialog);
            ASSERT_NE(dlg, nullptr);
            dlg->m_editX->setText(QStringLiteral("380"));
            dlg->m_editY->setText(QStringLiteral("0"));
            prompt.result = IDOK;
        });
        Command(ID_EDIT_PASTE_SPECIAL);
        ASSERT_EQ(ui.Prompts().size(), 1u);
    }
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(CountInImage(kBlack), 4 * 20);
    EXPECT_EQ(Pixel(380, 0), kBlack);
    EXPECT_EQ(Pixel(383, 19), kBlack);
    EXPECT_EQ(Pixel(379, 0), kWhite);
    EXPECT_EQ(Pixel(380, 20), kWhite);
    EXPECT_TRUE(ClipboardHasImage()) << "Paste Special keeps the clipboard";
    EXPECT_EQ(m_view->Surfaces().UndoCount(), 0);

    testenv::ScriptedUi cancel;
    cancel.Answer(IDCANCEL);
    Image().fill(kWhite);
    Command(ID_EDIT_PASTE_SPECIAL);
    EXPECT_EQ(CountInImage(kBlack), 0);
}

TEST_F(SelectionTest, SelectAllTakesTheWholeImageAndUndoRestoresIt)
{
    ASSERT_TRUE(OpenWhiteLogo(64, 40));
    Image().setPixel(63, 39, kBlack);
    m_view->Link().SetLogoInRam(true);
    Command(ID_IMAGE_SELECT_ALL);
    EXPECT_EQ(m_doc->GetDrawMode(), tool::SelectionPresent);
    EXPECT_TRUE(m_view->Selection().IsSelectAllShown());
    EXPECT_FALSE(m_view->Link().IsLogoInRam());
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(Clipboard()->image().size(), QSize(64, 40));
    const QImage before = Image().copy();
    Command(ID_EDIT_CUT);
    EXPECT_EQ(CountInImage(kBlack), 0);
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(Image(), before);
    EXPECT_FALSE(State(ID_EDIT_UNDO).enabled());
}

TEST_F(SelectionTest, UndoAfterAStrokeAndAfterALine)
{
    ASSERT_TRUE(OpenWhiteLogo(64, 40));
    Command(ID_TOOL_PEN);
    Drag({QPoint(5, 5), QPoint(30, 5)});
    ASSERT_GT(CountInImage(kBlack), 0);
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(CountInImage(kBlack), 0);
    Command(ID_TOOL_LINE);
    Click(5, 20);
    Click(40, 20);
    ASSERT_GT(CountInImage(kBlack), 0);
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(CountInImage(kBlack), 0);
    m_view->Surfaces().SetUndoCount(1);
    m_view->Magnifier().SetMagnifiedFlag(true);
    EXPECT_FALSE(State(ID_EDIT_UNDO).enabled());
    m_view->Magnifier().SetMagnifiedFlag(false);
}

TEST_F(SelectionTest, AToolChangeAbandonsAPasteThatWasNotPutDown)
{
    ASSERT_TRUE(OpenWhiteLogo(64, 40));
    Clipboard()->setImage(BlackPicture(8, 8));
    Command(ID_EDIT_PASTE);
    ASSERT_EQ(m_doc->GetDrawMode(), tool::SelectionPresent);
    Command(ID_TOOL_SELECT_AREA);
    EXPECT_EQ(CountInImage(kBlack), 0);
    // A new selection afterwards moves its own pixels, leaving white behind.
    SelectBlock();
    Drag({QPoint(15, 15), QPoint(25, 15)});
    EXPECT_EQ(Pixel(12, 12), kWhite);
    EXPECT_EQ(Pixel(35, 12), kBlack);
    EXPECT_EQ(CountInImage(kBlack), 200);
}
