#include "platform/UiScript.h"
#include "platform/UiSeam.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

namespace {

// A dialog shaped like the program's own: a number with a limit checked on OK
// (the error goes through the seam and the dialog stays open) and a list.
class CLimitDlg : public QDialog {
public:
    CLimitDlg()
    {
        setWindowTitle("Tool pixel size");
        auto* layout = new QVBoxLayout(this);
        spin = new QSpinBox(this);
        spin->setRange(0, 1000);
        list = new QListWidget(this);
        list->addItems({"9600", "19200", "38400"});
        buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        layout->addWidget(spin);
        layout->addWidget(list);
        layout->addWidget(buttons);
        connect(buttons, &QDialogButtonBox::accepted, this, &CLimitDlg::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &CLimitDlg::reject);
    }
    void accept() override
    {
        if (spin->value() > 20) {
            MessageBox(this, "too big", "Error", MB_OK | MB_ICONSTOP);
            return;
        }
        m_nValue = spin->value();
        m_nRow = list->currentRow();
        QDialog::accept();
    }
    QSpinBox* spin;
    QListWidget* list;
    QDialogButtonBox* buttons;
    int m_nValue = -1;
    int m_nRow = -1;
};

// Answers whatever modal window appears next by clicking the named button.
void ClickInNextModal(const QString& buttonText)
{
    QTimer::singleShot(0, [buttonText] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) {
            ClickInNextModal(buttonText);
            return;
        }
        for (QAbstractButton* b : modal->findChildren<QAbstractButton*>())
            if (b->text().remove('&') == buttonText) {
                b->click();
                return;
            }
        if (auto* dlg = qobject_cast<QDialog*>(modal))
            dlg->reject();
    });
}

// Once a modal window other than skip is up: notes its parent and the colour
// of its icon's middle, then closes it.
void InspectAndCloseNextModal(QWidget* skip, QWidget*& parent, QRgb& icon)
{
    QTimer::singleShot(0, [skip, &parent, &icon] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == skip) {
            InspectAndCloseNextModal(skip, parent, icon);
            return;
        }
        parent = modal->parentWidget();
        icon = modal->windowIcon().pixmap(16).toImage().pixel(8, 8);
        if (auto* dlg = qobject_cast<QDialog*>(modal))
            dlg->reject();
    });
}

} // namespace

TEST(UiScript, MessageBoxesAreRecordedAndAnsweredInOrder)
{
    CUiScript script;
    script.AnswerMessage(IDNO).AnswerMessage(IDOK);
    EXPECT_EQ(MessageBox(nullptr, "Possible loss of image data.", "Image frame", MB_YESNO | MB_ICONEXCLAMATION), IDNO);
    EXPECT_EQ(MessageBox(nullptr, "done", "Glyphane", MB_OK), IDOK);
    ASSERT_EQ(script.prompts().size(), 2u);
    const CUiPrompt& first = script.prompts()[0];
    EXPECT_EQ(first.kind, UiPromptKind::MessageBox);
    EXPECT_EQ(first.text, "Possible loss of image data.");
    EXPECT_EQ(first.caption, "Image frame");
    EXPECT_EQ(first.buttons(), MB_YESNO);
    EXPECT_EQ(first.icon(), MB_ICONEXCLAMATION);
    EXPECT_EQ(first.result, IDNO);
    EXPECT_EQ(script.unexpected(), 0);
    EXPECT_EQ(script.pending(), 0u);
}

TEST(UiScript, UnexpectedPromptsGetTheFirstChoiceAndAreCounted)
{
    CUiScript script;
    EXPECT_EQ(MessageBox(nullptr, "?", "q", MB_YESNOCANCEL), IDYES);
    EXPECT_EQ(MessageBox(nullptr, "?", "q", MB_RETRYCANCEL), IDRETRY);
    EXPECT_EQ(MessageBox(nullptr, "?", "q", MB_ABORTRETRYIGNORE), IDABORT);
    EXPECT_EQ(GetOpenFileName(nullptr, "Open", "", "", ".bmp"), QString());
    QFont font("Sans", 10);
    EXPECT_FALSE(GetFont(nullptr, font));
    CLimitDlg dlg;
    EXPECT_EQ(RunModal(&dlg), IDCANCEL);
    EXPECT_EQ(script.unexpected(), 6);
    EXPECT_TRUE(script.prompts()[0].unexpected);

    // A queued answer of another kind is kept for the prompt it was meant for.
    script.AnswerFile("/tmp/x.bmp");
    EXPECT_EQ(MessageBox(nullptr, "?", "q", MB_OK), IDOK);
    EXPECT_EQ(script.pending(), 1u);
    EXPECT_EQ(GetSaveFileName(nullptr, "Save", "", "", ""), "/tmp/x.bmp");
}

TEST(UiScript, DialogCallbacksDriveTheRealWidgets)
{
    CUiScript script;
    CLimitDlg dlg;
    script.AnswerDialog([](QDialog* d) {
        auto* limit = dynamic_cast<CLimitDlg*>(d);
        EXPECT_TRUE(limit && limit->isVisible());
        limit->spin->setValue(7);
        limit->list->setCurrentRow(2);
        return IDOK;
    });
    EXPECT_EQ(RunModal(&dlg), IDOK);
    EXPECT_EQ(dlg.m_nValue, 7);
    EXPECT_EQ(dlg.m_nRow, 2);
    EXPECT_FALSE(dlg.isVisible());
    const CUiPrompt prompt = script.last(UiPromptKind::Dialog);
    EXPECT_EQ(prompt.dialogClass, "(anonymous namespace)::CLimitDlg");
    EXPECT_EQ(prompt.caption, "Tool pixel size");
    EXPECT_EQ(prompt.result, IDOK);

    script.AnswerDialog(IDCANCEL);
    EXPECT_EQ(RunModal(&dlg), IDCANCEL);
}

TEST(UiScript, ValidationBoxesInsideADialogAreScriptedToo)
{
    CUiScript script;
    CLimitDlg dlg;
    script.AnswerDialog([&](QDialog*) {
        dlg.spin->setValue(600);
        QTest::mouseClick(dlg.buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
        EXPECT_TRUE(dlg.isVisible()) << "refused input keeps the dialog open";
        dlg.spin->setValue(12);
        QTest::mouseClick(dlg.buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
        return IDOK;
    });
    script.AnswerMessage(IDOK);
    EXPECT_EQ(RunModal(&dlg), IDOK);
    EXPECT_EQ(dlg.m_nValue, 12);
    ASSERT_EQ(script.prompts().size(), 2u);
    EXPECT_EQ(script.prompts()[0].kind, UiPromptKind::Dialog);
    EXPECT_EQ(script.prompts()[1].text, "too big");
    EXPECT_EQ(script.prompts()[1].icon(), MB_ICONSTOP);

    // OK pressed on input the dialog refuses: cancelled, never a hang.
    script.AnswerDialog([&](QDialog*) {
        dlg.spin->setValue(999);
        return IDOK;
    });
    script.AnswerMessage(IDOK);
    EXPECT_EQ(RunModal(&dlg), IDCANCEL);
    EXPECT_TRUE(script.last(UiPromptKind::Dialog).refused);
    EXPECT_EQ(dlg.m_nValue, 12);
    EXPECT_FALSE(dlg.isVisible());
}

TEST(UiScript, FileFontAndShellAnswers)
{
    CUiScript script;
    script.AnswerFile("/tmp/logo").AnswerFile("").AnswerFile("/tmp/log.txt");
    EXPECT_EQ(GetSaveFileName(nullptr, "Save", "C:\\logos", "BMP files (*.bmp)|*.bmp||", ".bmp"), "/tmp/logo.bmp");
    EXPECT_EQ(GetOpenFileName(nullptr, "Open", "", "", "bmp"), QString()) << "empty answer is Cancel";
    EXPECT_EQ(GetSaveFileName(nullptr, "QZ", "", "", ".log"), "/tmp/log.txt");
    const CUiPrompt save = script.prompts()[0];
    EXPECT_EQ(save.kind, UiPromptKind::SaveFile);
    EXPECT_EQ(save.directory, "C:\\logos");
    EXPECT_EQ(save.filter, "BMP files (*.bmp)|*.bmp||");
    EXPECT_EQ(save.result, IDOK);
    EXPECT_EQ(script.prompts()[1].result, IDCANCEL);

    QFont font("Sans", 10);
    script.AnswerFont(QFont("Serif", 24)).CancelFont();
    EXPECT_TRUE(GetFont(nullptr, font));
    EXPECT_EQ(font.pointSize(), 24);
    EXPECT_FALSE(GetFont(nullptr, font));
    EXPECT_EQ(font.pointSize(), 24) << "cancel keeps the font";

    script.AnswerShell(26);
    EXPECT_EQ(ShellOpen("https://example.invalid/", "/"), 26);
    EXPECT_EQ(script.last(UiPromptKind::Shell).text, "https://example.invalid/");
    EXPECT_EQ(script.unexpected(), 0);
}

TEST(UiSeam, ShellReportsMissingFilesWithoutLaunchingAnything)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile help(dir.filePath("help.htm"));
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.close();
    CUiScript script; // nothing queued: the seam's own verdict, and no program started
    EXPECT_EQ(ShellOpen("missing.htm", dir.path()), SE_ERR_FNF);
    EXPECT_EQ(ShellOpen("NoFolder\\missing.htm", dir.path()), SE_ERR_PNF);
    EXPECT_EQ(ShellOpen("", dir.path()), SE_ERR_FNF);
    EXPECT_EQ(ShellOpen("help.htm", dir.path() + "\\"), SHELL_OPEN_OK);
    EXPECT_EQ(ShellOpen(dir.filePath("help.htm"), ""), SHELL_OPEN_OK);
    EXPECT_EQ(script.count(UiPromptKind::Shell), 5u);
}

TEST(UiSeam, CallsFromAWorkerThreadRunOnTheUiThread)
{
    CUiScript script;
    bool answeredOnUiThread = false;
    CLimitDlg dlg;
    script.AnswerMessage(IDYES).AnswerDialog([&](QDialog*) {
        answeredOnUiThread = QThread::currentThread() == qApp->thread();
        dlg.spin->setValue(3);
        return IDOK;
    });
    std::atomic<bool> done{false};
    int boxResult = 0;
    int dialogResult = 0;
    std::thread worker([&] {
        boxResult = MessageBox(nullptr, "from the worker", "Glyphane", MB_YESNO);
        dialogResult = RunModal(&dlg);
        done = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return done.load(); }, 5000));
    worker.join();
    EXPECT_EQ(boxResult, IDYES);
    EXPECT_EQ(dialogResult, IDOK);
    EXPECT_TRUE(answeredOnUiThread);
    EXPECT_EQ(dlg.m_nValue, 3);
    EXPECT_EQ(script.prompts()[0].text, "from the worker");
}

TEST(UiSeam, RealWidgetsWithoutAScript)
{
    ASSERT_EQ(CurrentUiResponder(), nullptr);
    ClickInNextModal("No");
    EXPECT_EQ(MessageBox(nullptr, "Your printer is a Wgj33 ?", "Glyphane", MB_YESNO | MB_ICONQUESTION), IDNO);
    ClickInNextModal("Cancel");
    EXPECT_EQ(MessageBox(nullptr, "?", "Glyphane", MB_OKCANCEL | MB_ICONINFORMATION), IDCANCEL);
    ClickInNextModal("Retry");
    EXPECT_EQ(MessageBox(nullptr, "?", "Glyphane", MB_ABORTRETRYIGNORE), IDRETRY);

    CLimitDlg dlg;
    QTimer::singleShot(0, [&] {
        dlg.spin->setValue(5);
        dlg.buttons->button(QDialogButtonBox::Ok)->click();
    });
    EXPECT_EQ(RunModal(&dlg), IDOK);
    EXPECT_EQ(dlg.m_nValue, 5);
    EXPECT_EQ(RunModal(nullptr), IDCANCEL);
}

// A box, a file dialog or a dialog asked for without an owner belongs to the
// program's window (so it has the program's icon and no task bar entry of its
// own), or to the dialog open at the time; an owner given is kept.
TEST(UiSeam, APromptWithoutAnOwnerBelongsToTheProgramsWindow)
{
    ASSERT_EQ(CurrentUiResponder(), nullptr);
    QMainWindow program;
    QPixmap red(16, 16);
    red.fill(Qt::red);
    program.setWindowIcon(QIcon(red));
    program.show();
    QWidget logo(&program);
    CLimitDlg open; // a dialog open while a box comes
    open.setParent(&program, Qt::Dialog);

    QWidget* seenParent = nullptr;
    QRgb seenIcon = 0;
    const struct {
        const char* name;
        std::function<void()> ask;
        QWidget* expected;
    } cases[] = {
        {"box without an owner", [] { MessageBox(nullptr, "Logo Correctly Saved on Psw File!", "Glyphane", MB_OK); },
         &program},
        {"box with its owner", [&] { MessageBox(&logo, "Printer not ready", "Error", MB_OK); }, &logo},
        {"file dialog without an owner", [] { GetOpenFileName(nullptr, "Open", "", "All Files (*.*)|*.*||", ""); },
         &program},
        {"dialog made without a parent", [] {
             CLimitDlg orphan;
             RunModal(&orphan);
         },
         &program},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        seenParent = nullptr;
        seenIcon = 0;
        InspectAndCloseNextModal(nullptr, seenParent, seenIcon);
        c.ask();
        EXPECT_EQ(seenParent, c.expected);
        EXPECT_EQ(seenIcon, QColor(Qt::red).rgb()) << "the program's icon";
    }

    // A box asked for while a dialog is open belongs to that dialog.
    seenParent = nullptr;
    QTimer::singleShot(0, [&] {
        InspectAndCloseNextModal(&open, seenParent, seenIcon);
        MessageBox(nullptr, "Please, select al least one logo!", "Error", MB_OK);
        open.reject();
    });
    RunModal(&open);
    EXPECT_EQ(seenParent, &open);
}

TEST(UiSeam, HeadlessAnswersTakeTheFirstChoice)
{
    InstallHeadlessUi();
    EXPECT_EQ(MessageBox(nullptr, "Logo successfully programmed to printer", "Send logo to printer", MB_YESNO), IDYES);
    EXPECT_EQ(GetOpenFileName(nullptr, "Open", "", "", ""), QString());
    CLimitDlg dlg;
    dlg.spin->setValue(4);
    EXPECT_EQ(RunModal(&dlg), IDOK);
    EXPECT_EQ(dlg.m_nValue, 4);
    SetUiResponder(nullptr);
}

TEST(UiSeam, ConvertsOldFilters)
{
    EXPECT_EQ(ConvertFileFilter("BMP files (*.bmp)|*.bmp|All Files (*.*)|*.*||"), "BMP files (*.bmp);;All Files (*)");
    EXPECT_EQ(ConvertFileFilter("Upgrade files|*.psw;*.PSW||"), "Upgrade files (*.psw *.PSW)");
    EXPECT_EQ(ConvertFileFilter(""), "");
    EXPECT_EQ(ApplyDefaultExtension("/tmp/a", ".bmp"), "/tmp/a.bmp");
    EXPECT_EQ(ApplyDefaultExtension("/tmp/a.lgo", "bmp"), "/tmp/a.lgo");
    EXPECT_EQ(ApplyDefaultExtension("/tmp.d/a", "bmp"), "/tmp.d/a.bmp");
    EXPECT_EQ(ApplyDefaultExtension("/tmp/a", ""), "/tmp/a");
    EXPECT_EQ(FirstChoiceOf(MB_OKCANCEL | MB_ICONSTOP), IDOK);
}
