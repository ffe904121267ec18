// The printer and file dialogs: Select Printer, Choose Logo, Select Logo,
// Select Sub Logos, Select BaudRate, the QZ header form and About, driven
// through DoModal with the operator scripted at the UI seam.
#include "DialogDriving.h"

#include "components/LoadCfgFileApp.h"
#include "dialogs/AboutDlg.h"
#include "dialogs/BaudRateDlg.h"
#include "dialogs/ChooseLogoDlg.h"
#include "dialogs/QzHeaderDlg.h"
#include "dialogs/SelectLogoDlg.h"
#include "dialogs/SelectPrinterDlg.h"
#include "dialogs/SubLogosDlg.h"

#include <QCheckBox>
#include <QLabel>
#include <QFile>
#include <QRadioButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace dialogtest;
using testenv::ScriptedUi;

// --- Select Printer ------------------------------------------------------------

namespace {

// An application file with twelve printers: the nine reserved entries and
// three that are offered.
class SelectPrinterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        QByteArray text = "[Application]\nDirLog = Log\\\n\n[Printers]\n";
        for (int i = 0; i < 12; ++i)
            text += QByteArray("Model") + QByteArray::number(i) + " = CfgFile\\M" + QByteArray::number(i) + ".cfg\n";
        QFile file(m_dir.filePath(QStringLiteral("Twelve.cfg")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        file.close();
        m_list = std::make_unique<CLoadCfgFileApp>(nullptr, m_dir.path() + u'/', QStringLiteral("Twelve.cfg"));
        ASSERT_TRUE(m_list->LoadFileAppCfgInfo());
        ASSERT_EQ(m_list->GetPrinterCount(), 12);
    }

    QTemporaryDir m_dir;
    std::unique_ptr<CLoadCfgFileApp> m_list;
};

} // namespace

TEST_F(SelectPrinterTest, OffersEntriesFromTheTenthAndReturnsTheChosenOne)
{
    ScriptedUi ui;
    QStringList offered;
    QString selectedFirst, selectedAfter;
    ui.Then([&](CUiPrompt& p, QDialog* d) {
        offered = RowsOf(d, 1002);
        selectedFirst = TextOf(d, 1005);
        ChooseRow(d, 1002, 1);
        selectedAfter = TextOf(d, 1005);
        p.result = IDOK;
    });
    QString model = QStringLiteral("old"), file = QStringLiteral("old");
    CSelectPrinterDlg dlg(nullptr, m_list.get(), &model, &file);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(offered, (QStringList{"Model9", "Model10", "Model11"}));
    EXPECT_EQ(selectedFirst, QStringLiteral("Model9"));
    EXPECT_EQ(selectedAfter, QStringLiteral("Model10"));
    EXPECT_EQ(model, QStringLiteral("Model10"));
    EXPECT_EQ(file, QStringLiteral("CfgFile\\M10.cfg"));
}

TEST_F(SelectPrinterTest, DoubleClickChoosesLikeOk)
{
    ScriptedUi ui;
    ui.Then([](CUiPrompt&, QDialog* d) {
        QListWidget* list = Control<QListWidget>(d, 1002);
        const QRect rect = list->visualItemRect(list->item(2));
        // A real double click arrives as a click followed by the double-click event.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
    });
    QString model, file;
    CSelectPrinterDlg dlg(nullptr, m_list.get(), &model, &file);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(model, QStringLiteral("Model11"));
}

TEST_F(SelectPrinterTest, CancelEmptiesTheCallerStrings)
{
    ScriptedUi ui;
    ui.Then([](CUiPrompt& p, QDialog* d) {
        ChooseRow(d, 1002, 2);
        p.result = IDCANCEL;
    });
    QString model = QStringLiteral("WGJ33"), file = QStringLiteral("CfgFile\\WGJ33.cfg");
    CSelectPrinterDlg dlg(nullptr, m_list.get(), &model, &file);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(model.isEmpty());
    EXPECT_TRUE(file.isEmpty());
}

// --- Choose Logo -------------------------------------------------------------------

TEST(ChooseLogoDlg, ListsEverySlotAndReturnsTheChosenOneFromOne)
{
    ScriptedUi ui;
    QStringList rows;
    ui.Then([&](CUiPrompt& p, QDialog* d) {
        rows = RowsOf(d, 1004);
        ChooseRow(d, 1004, 2);
        p.result = IDOK;
    });
    CChooseLogoDlg dlg(nullptr, 4);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(rows, (QStringList{"Logo 1", "Logo 2", "Logo 3", "Logo 4"}));
    EXPECT_EQ(dlg.m_nLogo, 3);
    EXPECT_EQ(DialogPromptOf(ui).caption, QStringLiteral("Choose Logo"));
}

TEST(ChooseLogoDlg, FirstSlotIsPreselected)
{
    ScriptedUi ui;
    ui.Answer(IDOK);
    CChooseLogoDlg dlg(nullptr, 2);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_nLogo, 1);
}

TEST(ChooseLogoDlg, NoSlotsGiveAnEmptyListAndNoSlot)
{
    for (int count : {0, -3}) {
        ScriptedUi ui;
        QStringList rows{"x"};
        ui.Then([&](CUiPrompt& p, QDialog* d) {
            rows = RowsOf(d, 1004);
            p.result = IDOK;
        });
        CChooseLogoDlg dlg(nullptr, count);
        EXPECT_EQ(dlg.DoModal(), IDOK);
        EXPECT_TRUE(rows.isEmpty());
        EXPECT_EQ(dlg.m_nLogo, 0);
    }
}

TEST(ChooseLogoDlg, CancelGivesNoSlot)
{
    ScriptedUi ui;
    ui.Then([](CUiPrompt& p, QDialog* d) {
        ChooseRow(d, 1004, 1);
        p.result = IDCANCEL;
    });
    CChooseLogoDlg dlg(nullptr, 4);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_nLogo, 0);
}

// --- Select Logo ---------------------------------------------------------------------

TEST(SelectLogoDlg, ListsTheTextsAndFollowsTheSelection)
{
    const QStringList texts{"1) Logo 48 x 24", "2) Logo 96 x 48", "3) Logo 10 x 10"};
    ScriptedUi ui;
    QStringList rows;
    ui.Then([&](CUiPrompt& p, QDialog* d) {
        rows = RowsOf(d, 1015);
        ChooseRow(d, 1015, 2);
        p.result = IDOK;
    });
    CSelectLogoDlg dlg(nullptr, &texts);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(rows, texts);
    EXPECT_EQ(dlg.m_nSelected, 2);
    EXPECT_EQ(DialogPromptOf(ui).caption, QStringLiteral("Select Logo..."));
}

TEST(SelectLogoDlg, CancelKeepsTheLastSelection)
{
    const QStringList texts{"a", "b"};
    ScriptedUi ui;
    ui.Then([](CUiPrompt& p, QDialog* d) {
        ChooseRow(d, 1015, 1);
        p.result = IDCANCEL;
    });
    CSelectLogoDlg dlg(nullptr, &texts);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_nSelected, 1);
}

TEST(SelectLogoDlg, ListsAtMostOneByteOfEntries)
{
    QStringList texts;
    for (int i = 0; i < 300; ++i)
        texts << QString::number(i);
    ScriptedUi ui;
    qsizetype rows = 0;
    ui.Then([&](CUiPrompt&, QDialog* d) { rows = RowsOf(d, 1015).size(); });
    CSelectLogoDlg dlg(nullptr, &texts);
    dlg.DoModal();
    EXPECT_EQ(rows, 255);
    EXPECT_EQ(dlg.m_nSelected, 0);
}

TEST(SelectLogoDlg, NoTextsSelectNothing)
{
    ScriptedUi ui;
    ui.Answer(IDOK);
    CSelectLogoDlg empty(nullptr, nullptr);
    EXPECT_EQ(empty.DoModal(), IDOK);
    EXPECT_EQ(empty.m_nSelected, -1);
}

// --- Select Sub Logos ---------------------------------------------------------------

namespace {

void Tick(const QDialog* d, int id, bool ticked)
{
    if (Control<QCheckBox>(d, id)->isChecked() != ticked)
        Click(d, id);
}

} // namespace

TEST(SubLogosDlg, StartsWithWholeLogoAndDisabledTickedBoxes)
{
    CSubLogosDlg constructed;
    EXPECT_EQ(constructed.m_nMode, -1);
    EXPECT_EQ(constructed.m_nMask, 0);

    ScriptedUi ui;
    bool allChosen = false, anyEnabled = true, allTicked = false, enabledAfterPart = false;
    ui.Then([&](CUiPrompt& p, QDialog* d) {
        allChosen = Control<QRadioButton>(d, 1021)->isChecked();
        anyEnabled = false;
        allTicked = true;
        for (int id = 1017; id <= 1020; ++id) {
            anyEnabled = anyEnabled || Control<QCheckBox>(d, id)->isEnabled();
            allTicked = allTicked && Control<QCheckBox>(d, id)->isChecked();
        }
        Click(d, 1022);
        enabledAfterPart = Control<QCheckBox>(d, 1019)->isEnabled();
        p.result = IDCANCEL;
    });
    CSubLogosDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(allChosen);
    EXPECT_FALSE(anyEnabled);
    EXPECT_TRUE(allTicked);
    EXPECT_TRUE(enabledAfterPart);
    EXPECT_EQ(DialogPromptOf(ui).caption, QStringLiteral("Select Sub Logos"));
    EXPECT_EQ(DialogButton(&dlg, IDOK)->text(), QStringLiteral("PRINT"));
}

TEST(SubLogosDlg, PartOfLogoGivesTheTickedBits)
{
    ScriptedUi ui;
    ui.Then([](CUiPrompt& p, QDialog* d) {
        Click(d, 1022);
        Tick(d, 1018, false);
        Tick(d, 1020, false);
        p.result = IDOK;
    });
    CSubLogosDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_nMask, 5);
    EXPECT_EQ(dlg.m_nMode, CSubLogosDlg::PrintPart);
}

TEST(SubLogosDlg, WholeLogoGives255WhateverTheBoxesShow)
{
    ScriptedUi ui;
    bool disabledAgain = false;
    ui.Then([&](CUiPrompt& p, QDialog* d) {
        Click(d, 1022);
        Tick(d, 1017, false);
        Tick(d, 1019, false);
        Click(d, 1021);
        disabledAgain = !Control<QCheckBox>(d, 1018)->isEnabled();
        p.result = IDOK;
    });
    CSubLogosDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(disabledAgain);
    EXPECT_EQ(dlg.m_nMask, CSubLogosDlg::kAllLogosMask);
}

TEST(SubLogosDlg, NoBoxTickedIsRefusedAndKeepsTheDialogOpen)
{
    ScriptedUi ui;
    bool openAfterRefusal = false;
    ui.Then([&](CUiPrompt& p, QDialog* d) {
        Click(d, 1022);
        for (int id = 1017; id <= 1020; ++id)
            Tick(d, id, false);
        PressOk(d);
        openAfterRefusal = d->isVisible() && d->result() == 0;
        Tick(d, 1020, true);
        PressOk(d);
        p.result = IDOK;
    });
    ui.Answer(IDOK);
    CSubLogosDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(openAfterRefusal);
    EXPECT_EQ(dlg.m_nMask, 8);
    const std::vector<CUiPrompt> messages = MessagesOf(ui);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, QStringLiteral("Please, select al least one logo!"));
    EXPECT_EQ(messages[0].caption, QStringLiteral("Error"));
    EXPECT_EQ(messages[0].icon(), UINT(MB_ICONEXCLAMATION));
}

TEST(SubLogosDlg, NoBoxTickedMarksAScriptedPrintRefused)
{
    ScriptedUi ui;
    ui.Then([](CUiPrompt& p, QDialog* d) {
        Click(d, 1022);
        for (int id = 1017; id <= 1020; ++id)
            Tick(d, id, false);
        p.result = IDOK;
    });
    ui.Answer(IDOK);
    CSubLogosDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(DialogPromptOf(ui).refused);
    EXPECT_EQ(dlg.m_nMask, 0);
}

// --- Select BaudRate ------------------------------------------------------------------

TEST(BaudRateDlg, EachChoiceGivesItsRate)
{
    const std::pair<int, int> choices[] = {{1033, 9600}, {1034, 19200}, {1035, 38400}};
    for (const auto& [id, rate] : choices) {
        ScriptedUi ui;
        ui.Then([id = id](CUiPrompt& p, QDialog* d) {
            Click(d, id);
            p.result = IDOK;
        });
        CBaudRateDlg dlg;
        EXPECT_EQ(dlg.m_nChoice, -1);
        EXPECT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(dlg.m_nBaudRate, rate);
    }
}

TEST(BaudRateDlg, OpensOnTheRecommendedRate)
{
    ScriptedUi ui;
    QString text;
    ui.Then([&](CUiPrompt& p, QDialog* d) {
        auto* radio = Control<QRadioButton>(d, 1033);
        text = radio->isChecked() ? radio->text() : QString();
        p.result = IDOK;
    });
    CBaudRateDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(text, QStringLiteral("9600\n(recommended)"));
    EXPECT_EQ(dlg.m_nBaudRate, 9600);
    EXPECT_EQ(DialogPromptOf(ui).caption, QStringLiteral("Select BaudRate..."));
}

TEST(BaudRateDlg, CancelGivesRateZero)
{
    ScriptedUi ui;
    ui.Then([](CUiPrompt& p, QDialog* d) {
        Click(d, 1035);
        p.result = IDCANCEL;
    });
    CBaudRateDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_nBaudRate, 0);
}

// --- QZ header --------------------------------------------------------------------------

namespace {

int RunQzHeader(ScriptedUi& ui, CQzHeaderDlg& dlg, const QString& release, const QString& version)
{
    ui.Then([release, version](CUiPrompt& p, QDialog* d) {
        TypeInto(d, 1014, release);
        TypeInto(d, 1015, version);
        p.result = IDOK;
    });
    ui.Answer(IDOK);
    return dlg.DoModal();
}

} // namespace

TEST(QzHeaderDlg, AcceptsNumbersUpTo99)
{
    ScriptedUi ui;
    CQzHeaderDlg dlg;
    EXPECT_EQ(RunQzHeader(ui, dlg, QStringLiteral("99"), QStringLiteral("0")), IDOK);
    EXPECT_EQ(dlg.m_nRelease, 99u);
    EXPECT_EQ(dlg.m_nVersion, 0u);
    EXPECT_TRUE(MessagesOf(ui).empty());
}

TEST(QzHeaderDlg, RefusesReleaseOrVersionAbove99)
{
    const std::pair<const char*, const char*> bad[] = {{"100", "1"}, {"1", "100"}};
    for (const auto& [release, version] : bad) {
        ScriptedUi ui;
        CQzHeaderDlg dlg;
        EXPECT_EQ(RunQzHeader(ui, dlg, QString::fromLatin1(release), QString::fromLatin1(version)), IDCANCEL);
        const std::vector<CUiPrompt> messages = MessagesOf(ui);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, QStringLiteral("Please enter an integer between 0 and 99."));
        EXPECT_TRUE(DialogPromptOf(ui).refused);
        EXPECT_EQ(dlg.m_nRelease, 0u) << "nothing is taken from a refused form";
        EXPECT_EQ(dlg.m_nVersion, 0u);
    }
}

TEST(QzHeaderDlg, RefusesANegativeOrMissingNumber)
{
    for (const char* release : {"-1", ""}) {
        ScriptedUi ui;
        CQzHeaderDlg dlg;
        EXPECT_EQ(RunQzHeader(ui, dlg, QString::fromLatin1(release), QStringLiteral("3")), IDCANCEL);
        ASSERT_EQ(MessagesOf(ui).size(), 1u);
        EXPECT_EQ(MessagesOf(ui)[0].text, QStringLiteral("Please enter a positive integer."));
    }
}

TEST(QzHeaderDlg, CancelIsHiddenAndDisabledAndTheFormCentresOverItsOwner)
{
    QWidget owner;
    owner.setGeometry(100, 100, 800, 600);
    owner.show();
    ScriptedUi ui;
    bool cancelHidden = false, cancelDisabled = false;
    QPoint centre;
    ui.Then([&](CUiPrompt& p, QDialog* d) {
        cancelHidden = DialogButton(d, IDCANCEL)->isHidden();
        cancelDisabled = !DialogButton(d, IDCANCEL)->isEnabled();
        centre = d->frameGeometry().center();
        p.result = IDOK;
    });
    CQzHeaderDlg dlg(&owner);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(cancelHidden);
    EXPECT_TRUE(cancelDisabled);
    EXPECT_LE((centre - owner.frameGeometry().center()).manhattanLength(), 4);
}

// --- About ---------------------------------------------------------------------------------

TEST(AboutDlg, ShowsNameVersionAndTheProgramIcon)
{
    ScriptedUi ui;
    QString name, version;
    QSize iconSize;
    ui.Then([&](CUiPrompt& p, QDialog* d) {
        name = TextOf(d, 1028);
        version = TextOf(d, 1043);
        if (auto* icon = d->findChild<QLabel*>(QStringLiteral("icon")))
            iconSize = icon->pixmap().size();
        p.result = IDOK;
    });
    CAboutDlg dlg(QStringLiteral("Glyphane"), QStringLiteral("1.0.0"), CAboutDlg::Facts{});
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(name, QStringLiteral("Glyphane"));
    EXPECT_EQ(version, QStringLiteral("1.0.0"));
    // Drawn from the resource the build rendered: empty when it is not linked in.
    EXPECT_EQ(iconSize, QSize(64, 64));
    EXPECT_EQ(DialogPromptOf(ui).caption, QStringLiteral("About..."));
}
