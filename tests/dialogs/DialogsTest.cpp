// The editing dialogs (pen width, zoom, image position, paste position) and
// the standard number checks they share, driven through DoModal with the
// operator scripted at the UI seam.
#include "DialogDriving.h"

#include "dialogs/DialogDataExchange.h"
#include "dialogs/ImagePositionDlg.h"
#include "dialogs/PastePositionDlg.h"
#include "dialogs/PixelSizeDlg.h"
#include "dialogs/ZoomDlg.h"

#include <QLabel>
#include <gtest/gtest.h>

using namespace dialogtest;
using testenv::ScriptedUi;

namespace {

// Runs dlg with one scripted attempt: type text into edit id and press OK.
// A refusal's message box is answered with OK.
template <typename Dialog>
int TypeAndConfirm(ScriptedUi& ui, Dialog& dlg, int id, const QString& text)
{
    ui.Then([id, text](CUiPrompt& p, QDialog* d) {
        TypeInto(d, id, text);
        p.result = IDOK;
    });
    ui.Answer(IDOK);
    return dlg.DoModal();
}

void ExpectRefusedWith(const ScriptedUi& ui, const QString& message)
{
    const std::vector<CUiPrompt> messages = MessagesOf(ui);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, message);
    EXPECT_EQ(messages[0].caption, QStringLiteral("Glyphane"));
    EXPECT_EQ(messages[0].icon(), UINT(MB_ICONEXCLAMATION));
    EXPECT_TRUE(DialogPromptOf(ui).refused);
}

} // namespace

// --- the shared number checks ----------------------------------------------

TEST(DialogDataExchange, ParsesOnlyNumbersThatFitTheField)
{
    EXPECT_EQ(ParseDialogNumber(QStringLiteral("42"), true), 42);
    EXPECT_EQ(ParseDialogNumber(QStringLiteral(" 7 "), true), 7);
    EXPECT_EQ(ParseDialogNumber(QStringLiteral("-5"), false), -5);
    EXPECT_EQ(ParseDialogNumber(QStringLiteral("4294967295"), true), 4294967295LL);
    EXPECT_FALSE(ParseDialogNumber(QStringLiteral("4294967296"), true));
    EXPECT_FALSE(ParseDialogNumber(QStringLiteral("2147483648"), false));
    EXPECT_FALSE(ParseDialogNumber(QStringLiteral("-1"), true));
    EXPECT_FALSE(ParseDialogNumber(QStringLiteral(""), true));
    EXPECT_FALSE(ParseDialogNumber(QStringLiteral("12a"), false));
    EXPECT_FALSE(ParseDialogNumber(QStringLiteral("99999999999999999999999"), false));
}

TEST(DialogDataExchange, MessagesUseTheFrameworkWording)
{
    EXPECT_EQ(IntegerRangeMessage(0, 99), QStringLiteral("Please enter an integer between 0 and 99."));
    EXPECT_EQ(IntegerExpectedMessage(), QStringLiteral("Please enter an integer."));
    EXPECT_EQ(PositiveIntegerExpectedMessage(), QStringLiteral("Please enter a positive integer."));
}

// --- Tool pixel size ---------------------------------------------------------

TEST(PixelSizeDlg, ShowsTemplateControlsAndCurrentWidth)
{
    ScriptedUi ui;
    QString shown;
    QString label = QStringLiteral("unset");
    ui.Then([&](CUiPrompt& p, QDialog* d) {
        shown = TextOf(d, 1004);
        label = Control<QLabel>(d, 1003)->text();
        p.result = IDCANCEL;
    });
    CPixelSizeDlg dlg(nullptr, 7);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.objectName(), QStringLiteral("133"));
    EXPECT_EQ(DialogPromptOf(ui).caption, QStringLiteral("Tool pixel size"));
    EXPECT_EQ(shown, QStringLiteral("7"));
    EXPECT_TRUE(label.isEmpty());
    EXPECT_EQ(dlg.GetValue(), 7u);
}

TEST(PixelSizeDlg, AcceptsTheRangeEnds)
{
    for (UINT width : {2u, 20u, 11u}) {
        ScriptedUi ui;
        ui.Then([width](CUiPrompt& p, QDialog* d) {
            TypeInto(d, 1004, QString::number(width));
            p.result = IDOK;
        });
        CPixelSizeDlg dlg(nullptr, 5);
        EXPECT_EQ(dlg.DoModal(), IDOK) << width;
        EXPECT_EQ(dlg.GetValue(), width);
        EXPECT_TRUE(MessagesOf(ui).empty());
    }
}

TEST(PixelSizeDlg, RefusesWidthsOutsideTwoToTwenty)
{
    for (const char* text : {"1", "21", "0", "4294967295"}) {
        ScriptedUi ui;
        CPixelSizeDlg dlg(nullptr, 5);
        EXPECT_EQ(TypeAndConfirm(ui, dlg, 1004, QString::fromLatin1(text)), IDCANCEL) << text;
        ExpectRefusedWith(ui, QStringLiteral("Please enter an integer between 2 and 20."));
        EXPECT_EQ(dlg.GetValue(), 5u) << "a refused width must not reach the caller";
    }
}

TEST(PixelSizeDlg, EditTakesDigitsOnlyAndRefusesAnEmptyWidth)
{
    ScriptedUi ui;
    QString afterLetters;
    ui.Then([&](CUiPrompt& p, QDialog* d) {
        TypeInto(d, 1004, QStringLiteral("x-y"));
        afterLetters = TextOf(d, 1004);
        p.result = IDOK;
    });
    ui.Answer(IDOK);
    CPixelSizeDlg dlg(nullptr, 5);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(afterLetters.isEmpty());
    ExpectRefusedWith(ui, QStringLiteral("Please enter a positive integer."));
}

TEST(PixelSizeDlg, StaysOpenAfterARefusalUntilAGoodWidth)
{
    ScriptedUi ui;
    bool openAfterRefusal = false;
    ui.Then([&](CUiPrompt& p, QDialog* d) {
        TypeInto(d, 1004, QStringLiteral("21"));
        PressOk(d);
        openAfterRefusal = d->isVisible() && d->result() == 0;
        TypeInto(d, 1004, QStringLiteral("20"));
        PressOk(d);
        p.result = IDOK;
    });
    ui.Answer(IDOK);
    CPixelSizeDlg dlg(nullptr, 5);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(openAfterRefusal);
    EXPECT_EQ(dlg.GetValue(), 20u);
    EXPECT_EQ(MessagesOf(ui).size(), 1u);
    EXPECT_FALSE(DialogPromptOf(ui).refused);
}

TEST(PixelSizeDlg, LabelIsShownAndCutToThirtyCharacters)
{
    ScriptedUi ui;
    QString label;
    ui.Then([&](CUiPrompt&, QDialog* d) { label = Control<QLabel>(d, 1003)->text(); });
    CPixelSizeDlg dlg(nullptr, 5);
    dlg.m_strLabel = QString(40, u'w');
    dlg.DoModal();
    EXPECT_EQ(label, QString(30, u'w'));
}

// --- Zoom ----------------------------------------------------------------------

TEST(ZoomDlg, StartsAtFactorTimesHundredAndCancelKeepsIt)
{
    ScriptedUi ui;
    QString shown;
    ui.Then([&](CUiPrompt& p, QDialog* d) {
        shown = TextOf(d, 1012);
        TypeInto(d, 1012, QStringLiteral("300"));
        p.result = IDCANCEL;
    });
    CZoomDlg dlg(nullptr, 1);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(shown, QStringLiteral("100"));
    EXPECT_EQ(dlg.GetValue(), 100);
}

TEST(ZoomDlg, StepButtonsWriteThePercentAtOnce)
{
    const std::pair<int, int> steps[] = {{61481, 200}, {61482, 400}, {61483, 600}, {61484, 800}};
    for (const auto& [id, percent] : steps) {
        ScriptedUi ui;
        QString shown;
        ui.Then([&, id = id](CUiPrompt& p, QDialog* d) {
            Click(d, id);
            shown = TextOf(d, 1012);
            p.result = IDOK;
        });
        CZoomDlg dlg(nullptr, 1);
        EXPECT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(shown, QString::number(percent));
        EXPECT_EQ(dlg.GetValue(), percent);
    }
}

TEST(ZoomDlg, TypedPercentWithinRangeIsAccepted)
{
    for (const char* text : {"100", "1000", "250"}) {
        ScriptedUi ui;
        CZoomDlg dlg(nullptr, 4);
        EXPECT_EQ(TypeAndConfirm(ui, dlg, 1012, QString::fromLatin1(text)), IDOK);
        EXPECT_EQ(dlg.GetValue(), QString::fromLatin1(text).toInt());
    }
}

// The view divides by percent / 100: nothing below 100 may get through.
TEST(ZoomDlg, RefusesPercentsThatWouldGiveNoFactor)
{
    for (const char* text : {"1001", "99", "0", "-200"}) {
        ScriptedUi ui;
        CZoomDlg dlg(nullptr, 2);
        EXPECT_EQ(TypeAndConfirm(ui, dlg, 1012, QString::fromLatin1(text)), IDCANCEL) << text;
        ExpectRefusedWith(ui, QStringLiteral("Please enter an integer between 100 and 1000."));
        EXPECT_EQ(dlg.GetValue(), 200);
    }
}

TEST(ZoomDlg, RefusesText)
{
    ScriptedUi ui;
    CZoomDlg dlg(nullptr, 2);
    EXPECT_EQ(TypeAndConfirm(ui, dlg, 1012, QStringLiteral("big")), IDCANCEL);
    ExpectRefusedWith(ui, QStringLiteral("Please enter an integer."));
}

// --- Image position ------------------------------------------------------------

TEST(ImagePositionDlg, ConfirmedUnchangedGivesCenter)
{
    ScriptedUi ui;
    ui.Answer(IDOK);
    int placement = 77;
    CImagePositionDlg dlg;
    dlg.m_pResult = &placement;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(placement, CImagePositionDlg::Center);
    EXPECT_EQ(DialogPromptOf(ui).caption, QStringLiteral("Image Position..."));
}

TEST(ImagePositionDlg, EachRadioGivesItsIndex)
{
    const std::pair<int, int> radios[] = {{1025, 0}, {1026, 1}, {1027, 2}, {1028, 3}, {1030, 4}};
    for (const auto& [id, index] : radios) {
        ScriptedUi ui;
        ui.Then([id = id](CUiPrompt& p, QDialog* d) {
            Click(d, id);
            p.result = IDOK;
        });
        int placement = -1;
        CImagePositionDlg dlg;
        dlg.m_pResult = &placement;
        EXPECT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(placement, index) << id;
        EXPECT_EQ(dlg.m_nPosition, index);
    }
}

TEST(ImagePositionDlg, HasNoCancelAndEscapeStillGivesCenter)
{
    ScriptedUi ui;
    bool hasCancel = true;
    ui.Then([&](CUiPrompt& p, QDialog* d) {
        hasCancel = DialogButton(d, IDCANCEL) != nullptr;
        Click(d, 1028); // Tile, then the operator changes their mind
        QTest::keyClick(d, Qt::Key_Escape);
        p.result = IDCANCEL;
    });
    int placement = 3;
    CImagePositionDlg dlg;
    dlg.m_pResult = &placement;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_FALSE(hasCancel);
    EXPECT_EQ(placement, CImagePositionDlg::Center);
}

TEST(ImagePositionDlg, WorksWithoutACallerVariable)
{
    ScriptedUi ui;
    ui.Answer(IDOK);
    CImagePositionDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_nPosition, 0);
}

// --- Paste position --------------------------------------------------------------

namespace {

struct PasteRun {
    int result = 0;
    int x = 200;
    int y = 100;
};

PasteRun RunPaste(ScriptedUi& ui, const QString& x, const QString& y, int limitX = 200, int limitY = 100)
{
    ui.Then([x, y](CUiPrompt& p, QDialog* d) {
        TypeInto(d, 1030, x);
        TypeInto(d, 1031, y);
        p.result = IDOK;
    });
    ui.Answer(IDOK);
    PasteRun run;
    run.x = limitX;
    run.y = limitY;
    CPastePositionDlg dlg;
    dlg.SetLimits(&run.x, &run.y);
    run.result = dlg.DoModal();
    return run;
}

} // namespace

TEST(PastePositionDlg, SetLimitsKeepsTheLimitsAndZeroesTheVariables)
{
    int x = 200;
    int y = 100;
    CPastePositionDlg dlg;
    dlg.SetLimits(&x, &y);
    EXPECT_EQ(dlg.m_nLimitX, 200);
    EXPECT_EQ(dlg.m_nLimitY, 100);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
}

TEST(PastePositionDlg, OpensAtZeroZero)
{
    ScriptedUi ui;
    QString shownX, shownY;
    ui.Then([&](CUiPrompt&, QDialog* d) {
        shownX = TextOf(d, 1030);
        shownY = TextOf(d, 1031);
    });
    int x = 200, y = 100;
    CPastePositionDlg dlg;
    dlg.SetLimits(&x, &y);
    dlg.DoModal();
    EXPECT_EQ(shownX, QStringLiteral("0"));
    EXPECT_EQ(shownY, QStringLiteral("0"));
}

TEST(PastePositionDlg, PositionJustInsideTheLimitsIsAccepted)
{
    ScriptedUi ui;
    const PasteRun run = RunPaste(ui, QStringLiteral("199"), QStringLiteral("99"));
    EXPECT_EQ(run.result, IDOK);
    EXPECT_EQ(run.x, 199);
    EXPECT_EQ(run.y, 99);
    EXPECT_TRUE(MessagesOf(ui).empty());
}

TEST(PastePositionDlg, PositionOnTheLimitIsRefusedWithTheLimits)
{
    const std::pair<const char*, const char*> outside[] = {{"200", "0"}, {"0", "100"}, {"4294967295", "5"}};
    for (const auto& [x, y] : outside) {
        ScriptedUi ui;
        const PasteRun run = RunPaste(ui, QString::fromLatin1(x), QString::fromLatin1(y));
        EXPECT_EQ(run.result, IDCANCEL);
        EXPECT_EQ(run.x, 0);
        EXPECT_EQ(run.y, 0);
        const std::vector<CUiPrompt> messages = MessagesOf(ui);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, QStringLiteral("Error!The X Position must be less than 200, and the Y "
                                                   "Position must be less than 100."));
        EXPECT_EQ(messages[0].caption, QStringLiteral("Error"));
        EXPECT_EQ(messages[0].icon(), UINT(MB_ICONSTOP));
        EXPECT_TRUE(DialogPromptOf(ui).refused);
    }
}

TEST(PastePositionDlg, NumberTooBigForThirtyTwoBitsIsRefused)
{
    ScriptedUi ui;
    const PasteRun run = RunPaste(ui, QStringLiteral("4294967296"), QStringLiteral("1"));
    EXPECT_EQ(run.result, IDCANCEL);
    ExpectRefusedWith(ui, QStringLiteral("Please enter a positive integer."));
}

// A limit of 0 (an empty logo) or below admits no position; compared
// unsigned, a negative limit would have let every position through.
TEST(PastePositionDlg, NoPositionFitsANonPositiveLimit)
{
    for (int limit : {0, -1}) {
        ScriptedUi ui;
        const PasteRun run = RunPaste(ui, QStringLiteral("0"), QStringLiteral("0"), limit, 10);
        EXPECT_EQ(run.result, IDCANCEL) << limit;
        EXPECT_EQ(run.x, 0);
        ASSERT_EQ(MessagesOf(ui).size(), 1u);
    }
}

TEST(PastePositionDlg, TypingALetterRestoresThePreviousDigits)
{
    ScriptedUi ui;
    QString afterLetter, afterMore, yAfterSign;
    ui.Then([&](CUiPrompt& p, QDialog* d) {
        TypeInto(d, 1030, QStringLiteral("12"));
        QTest::keyClicks(Control<QLineEdit>(d, 1030), QStringLiteral("a"));
        afterLetter = TextOf(d, 1030);
        QTest::keyClicks(Control<QLineEdit>(d, 1030), QStringLiteral("3"));
        afterMore = TextOf(d, 1030);
        TypeInto(d, 1031, QStringLiteral("-7"));
        yAfterSign = TextOf(d, 1031);
        p.result = IDOK;
    });
    int x = 200, y = 100;
    CPastePositionDlg dlg;
    dlg.SetLimits(&x, &y);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(afterLetter, QStringLiteral("12"));
    EXPECT_EQ(afterMore, QStringLiteral("123"));
    EXPECT_EQ(yAfterSign, QStringLiteral("7"));
    EXPECT_EQ(x, 123);
    EXPECT_EQ(y, 7);
}

TEST(PastePositionDlg, CancelLeavesBothVariablesZero)
{
    ScriptedUi ui;
    ui.Then([](CUiPrompt& p, QDialog* d) {
        TypeInto(d, 1030, QStringLiteral("50"));
        TypeInto(d, 1031, QStringLiteral("40"));
        p.result = IDCANCEL;
    });
    int x = 200, y = 100;
    CPastePositionDlg dlg;
    dlg.SetLimits(&x, &y);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
}
