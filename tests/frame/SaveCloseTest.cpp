// Save, Save As and Close through the menu commands, with the save question
// for a modified logo.
#include "document/GlyphaneDoc.h"
#include "frame/ChildFrame.h"
#include "resources/CommandIds.h"
#include "support/ScriptedUi.h"
#include "FrameFixture.h"

#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QSettings>
#include <QWindow>

#include <functional>

using frametest::FrameTest;

TEST_F(FrameTest, SaveWritesTheOpenedFileAndSaveAsAsksForAName)
{
    CMainFrame* frame = Start();
    ASSERT_NE(frame, nullptr);
    CGlyphaneDoc* doc = OpenLogo();
    ASSERT_NE(doc, nullptr);
    doc->Picture().GetLogoBitmap()->setPixel(0, 0, 0xFF000000);
    doc->SetModifiedFlag(true);

    testenv::ScriptedUi ui;
    frame->Router()->UpdateAll();
    frame->Router()->Dispatch(ID_FILE_SAVE);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_TRUE(ui.Prompts().empty()) << "an opened file is saved in place";
    CGlyphaneDoc back{testenv::DocEnvironment()};
    ASSERT_TRUE(back.OnOpenDocument(doc->GetPathName()));
    EXPECT_EQ(back.Picture().GetLogoBitmap()->pixel(0, 0), 0xFF000000u);

    const QString other = TempPath("other.bmp");
    ui.Then([other](CUiPrompt& p, QDialog*) { p.fileName = other; p.result = IDOK; });
    frame->Router()->Dispatch(ID_FILE_SAVE_AS);
    EXPECT_TRUE(QFile::exists(other));
    EXPECT_EQ(doc->GetPathName(), other);
}

TEST_F(FrameTest, CloseAsksForAModifiedLogoAndCancelKeepsTheWindow)
{
    CMainFrame* frame = Start();
    ASSERT_NE(frame, nullptr);
    CGlyphaneDoc* doc = OpenLogo();
    ASSERT_NE(doc, nullptr);
    doc->SetModifiedFlag(true);

    testenv::ScriptedUi ui;
    ui.Answer(IDCANCEL);
    frame->Router()->UpdateAll();
    frame->Router()->Dispatch(ID_FILE_CLOSE);
    ASSERT_EQ(ui.Prompts().size(), 1u);
    EXPECT_EQ(ui.Prompts()[0].buttons(), MB_YESNOCANCEL);
    EXPECT_EQ(frame->ChildFrames().size(), 1);

    ui.Answer(IDNO);
    frame->Router()->Dispatch(ID_FILE_CLOSE);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frame->ChildFrames().size(), 0);
    EXPECT_EQ(Profile()->value("Registry/Settings").toInt(), 0) << "a closed logo window resets the word";
}

TEST_F(FrameTest, OpeningAFileThatIsOpenBringsItsWindowForward)
{
    CMainFrame* frame = Start();
    ASSERT_NE(frame, nullptr);
    CGlyphaneDoc* first = OpenLogo();
    ASSERT_NE(first, nullptr);
    CGlyphaneDoc* second = OpenWhiteLogoFile(32, 8, QStringLiteral("second.bmp"));
    ASSERT_NE(second, nullptr);
    ASSERT_EQ(frame->ActiveChildFrame()->GetDocument(), second);

    // The same file by another spelling of its path.
    const QString again = TempFolder() + QStringLiteral("/./logo.bmp");
    EXPECT_EQ(GetApp()->OpenDocumentFile(again), first);
    EXPECT_EQ(frame->ChildFrames().size(), 2);
    ASSERT_NE(frame->MdiArea()->activeSubWindow(), nullptr);
    EXPECT_EQ(frame->MdiArea()->activeSubWindow(), frame->ActiveChildFrame());
    EXPECT_EQ(frame->ActiveChildFrame()->GetDocument(), first);
}

// The main window's title names the logo in front, with the modified mark
// while it has unsaved changes, and only the program when no logo is open.
TEST_F(FrameTest, TheTitleNamesTheLogoInFrontAndItsUnsavedChanges)
{
    CMainFrame* frame = Start();
    ASSERT_NE(frame, nullptr);
    frame->ShowFrame();
    // The title as the window system gets it ("[*]" shown as "*" or left out).
    const auto shown = [frame] { return frame->windowHandle()->title().toStdString(); };
    EXPECT_EQ(shown(), "Glyphane");

    CGlyphaneDoc* shop = OpenWhiteLogoFile(64, 8, QStringLiteral("shop.bmp"));
    ASSERT_NE(shop, nullptr);
    CGlyphaneDoc* other = OpenWhiteLogoFile(32, 8, QStringLiteral("other.bmp"));
    ASSERT_NE(other, nullptr);
    const struct {
        const char* step;
        std::function<void()> act;
        const char* title;
    } steps[] = {
        {"second logo in front", [] {}, "other.bmp \u2014 Glyphane"},
        {"it is changed", [other] { other->SetModifiedFlag(); }, "other.bmp* \u2014 Glyphane"},
        {"the first comes forward", [frame, shop] { frame->ActivateDocumentWindow(shop); }, "shop.bmp \u2014 Glyphane"},
        {"the first is changed", [shop] { shop->SetModifiedFlag(); }, "shop.bmp* \u2014 Glyphane"},
        {"and saved as another name",
         [shop] {
             shop->SetPathName(QDir::current().filePath(QStringLiteral("logo.bmp")));
             shop->SetModifiedFlag(false);
         },
         "logo.bmp \u2014 Glyphane"},
        {"the changed one in front again", [frame, other] { frame->ActivateDocumentWindow(other); },
         "other.bmp* \u2014 Glyphane"},
        {"every logo closed", [frame] { frame->CloseAllDocumentsWithoutAsking(); }, "Glyphane"},
    };
    for (const auto& s : steps) {
        s.act();
        QApplication::processEvents();
        EXPECT_EQ(shown(), s.title) << s.step;
    }
}
