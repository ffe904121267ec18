// The upgrade-file commands as the operator reaches them: Save Logo on *.psw
// and Load Logo from *.psw on a logo window, the file chosen in the file
// dialog and the slot in the list.
#include "support/PswMaker.h"
#include "support/ScriptedUi.h"
#include "ViewTestFixture.h"

#include <QDir>
#include <QListWidget>
#include <QSettings>

using namespace viewtest;

namespace {

class ViewUpgradeFileTest : public ViewTest {
protected:
    // The operator's answers: the file in the file dialog, then slot `slot`
    // (1-based) in the list.
    static void ChooseFileAndSlot(testenv::ScriptedUi& ui, const QString& path, int slot)
    {
        ui.Then([path](CUiPrompt& p, QDialog*) {
              p.fileName = path;
              p.result = IDOK;
          })
            .Then([slot](CUiPrompt& p, QDialog* dialog) {
                auto* list = dialog ? dialog->findChild<QListWidget*>() : nullptr;
                ASSERT_NE(list, nullptr) << p.dialogClass.toStdString();
                list->setCurrentRow(slot - 1);
                p.result = IDOK;
            });
    }
    // Binds the open logo to a printer whose logo area is its own size, as a
    // logo made with File New for that printer is.
    void BindTo(const QString& model)
    {
        m_doc->Binding().SetPrinterModel(model);
        m_doc->Binding().SetDotX(Image().width());
        m_doc->Binding().SetDotY(Image().height());
    }
    void DrawDiagonal()
    {
        for (int i = 0; i < std::min(Image().width(), Image().height()); i += 3)
            Image().setPixel(i, i, kBlack);
    }
};

} // namespace

TEST_F(ViewUpgradeFileTest, LogoSavedInSlotTwoLoadsBackIntoANewLogoAndUndoTakesTheLoadBack)
{
    const QString psw = TempPath(QStringLiteral("up.psw"));
    ASSERT_TRUE(pswmaker::Make(psw, QStringLiteral("WGJ33"), {{64, 40, {}}, {64, 40, {}}, {64, 40, {}}}));
    const QByteArray before = pswmaker::ReadAll(psw);

    ASSERT_TRUE(OpenWhiteLogo(64, 40));
    BindTo(QStringLiteral("WGJ33"));
    DrawDiagonal();
    const QImage saved = Image().convertToFormat(QImage::Format_RGB32);
    ASSERT_TRUE(State(ID_FILE_SAVE_PSW).enabled());
    {
        testenv::ScriptedUi ui;
        ChooseFileAndSlot(ui, psw, 2);
        Command(ID_FILE_SAVE_PSW);
        EXPECT_EQ(ui.Pending(), 0u);
        // Every prompt, the success box too, belongs to the program's window.
        ASSERT_FALSE(ui.Prompts().empty());
        EXPECT_EQ(ui.Prompts().back().text, QStringLiteral("Logo Correctly Saved on Psw File!"));
        for (const CUiPrompt& prompt : ui.Prompts())
            EXPECT_EQ(prompt.owner ? prompt.owner->window() : nullptr, m_view->window()) << prompt.text.toStdString();
    }
    const QByteArray after = pswmaker::ReadAll(psw);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_NE(after, before) << "the slot was written";

    // A second, blank logo of the same printer takes slot 2 back.
    ASSERT_TRUE(OpenWhiteLogo(64, 40, QStringLiteral("blank.bmp")));
    BindTo(QStringLiteral("WGJ33"));
    ASSERT_EQ(CountInImage(kBlack), 0);
    {
        testenv::ScriptedUi ui;
        ChooseFileAndSlot(ui, psw, 2);
        Command(ID_FILE_LOAD_PSW);
        EXPECT_EQ(ui.Pending(), 0u);
    }
    EXPECT_EQ(Image().convertToFormat(QImage::Format_RGB32), saved);
    EXPECT_EQ(pswmaker::ReadAll(psw), after) << "a load leaves the file alone";

    ASSERT_TRUE(State(ID_EDIT_UNDO).enabled());
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(CountInImage(kBlack), 0) << "the blank logo is back";
}

TEST_F(ViewUpgradeFileTest, CancelledFileDialogChangesNeitherTheLogoNorTheFile)
{
    const QString psw = TempPath(QStringLiteral("up.psw"));
    ASSERT_TRUE(pswmaker::Make(psw, QStringLiteral("WGJ33"), {{64, 40, {}}, {64, 40, {}}}));
    const QByteArray before = pswmaker::ReadAll(psw);
    ASSERT_TRUE(OpenWhiteLogo(64, 40));
    BindTo(QStringLiteral("WGJ33"));
    DrawDiagonal();
    const QImage drawn = Image().copy();
    for (UINT id : {ID_FILE_SAVE_PSW, ID_FILE_LOAD_PSW}) {
        testenv::ScriptedUi ui;
        ui.Answer(IDCANCEL);
        Command(id);
        EXPECT_EQ(Image(), drawn) << id;
    }
    EXPECT_EQ(pswmaker::ReadAll(psw), before);
}

// Both commands' file dialogs open where the logo lives until an upgrade file
// has been chosen, then where that file was (the settings keep it for the next
// run); a remembered folder that has gone gives way to the logo's again.
TEST_F(ViewUpgradeFileTest, TheFileDialogOpensWhereTheLogoLivesThenWhereTheLastUpgradeFileWas)
{
    ASSERT_TRUE(QDir(TempFolder()).mkpath(QStringLiteral("logos")));
    ASSERT_TRUE(QDir(TempFolder()).mkpath(QStringLiteral("firmware")));
    const QString logos = TempPath(QStringLiteral("logos"));
    const QString firmware = TempPath(QStringLiteral("firmware"));
    const QString psw = firmware + QStringLiteral("/up.psw");
    ASSERT_TRUE(pswmaker::Make(psw, QStringLiteral("WGJ33"), {{64, 40, {}}}));
    ASSERT_TRUE(OpenWhiteLogo(64, 40, QStringLiteral("logos/shop.bmp")));
    BindTo(QStringLiteral("WGJ33"));

    const struct {
        const char* step;
        UINT command;
        QString chosen; // empty: the dialog is cancelled
        QString opensIn;
    } steps[] = {
        {"a load before any upgrade file", ID_FILE_LOAD_PSW, {}, logos},
        {"a save before any upgrade file", ID_FILE_SAVE_PSW, {}, logos},
        {"a load that chooses one", ID_FILE_LOAD_PSW, psw, logos},
        {"a save after it", ID_FILE_SAVE_PSW, {}, firmware},
        {"a load after it", ID_FILE_LOAD_PSW, {}, firmware},
    };
    for (const auto& s : steps) {
        testenv::ScriptedUi ui;
        ui.Then([&](CUiPrompt& p, QDialog*) {
            p.fileName = s.chosen;
            p.result = s.chosen.isEmpty() ? IDCANCEL : IDOK;
        });
        Command(s.command);
        ASSERT_FALSE(ui.Prompts().empty()) << s.step;
        EXPECT_EQ(ui.Prompts().front().kind, UiPromptKind::OpenFile) << s.step;
        EXPECT_EQ(QDir::cleanPath(ui.Prompts().front().directory), QDir::cleanPath(s.opensIn)) << s.step;
    }
    EXPECT_EQ(Profile()->value(QStringLiteral("Settings/LastUpgradeFile")).toString(), psw);

    ASSERT_TRUE(QDir(firmware).removeRecursively());
    testenv::ScriptedUi ui;
    ui.Answer(IDCANCEL);
    Command(ID_FILE_LOAD_PSW);
    ASSERT_FALSE(ui.Prompts().empty());
    EXPECT_EQ(QDir::cleanPath(ui.Prompts().front().directory), QDir::cleanPath(logos)) << "the remembered folder is gone";
}
