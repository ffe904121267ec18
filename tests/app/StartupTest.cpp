// Start-up of the application object: the order of its steps, its logs and
// each way it can fail.
#include "app/GlyphaneApp.h"
#include "app/SessionBusWarmUp.h"
#include "app/ShellCommand.h"
#include "frame/MainFrame.h"
#include "resources/CommandIds.h"
#include "support/ProgramFixture.h"
#include "support/ScriptedUi.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMdiArea>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Each test starts the program itself, in a fresh current folder (the trace
// log is written there), with the settings it is about.
class StartupTest : public testenv::ProgramFixture {
protected:
    StartupTest() : ProgramFixture(Launch::ByTest) {}

    static QByteArray WithoutLine(const QByteArray& ini, const QByteArray& key)
    {
        QList<QByteArray> kept;
        for (const QByteArray& line : ini.split('\n'))
            if (!line.startsWith(key + "="))
                kept.append(line);
        return kept.join('\n');
    }

    static QByteArray Replaced(const QByteArray& ini, const QByteArray& key, const QByteArray& value)
    {
        QList<QByteArray> lines = ini.split('\n');
        for (QByteArray& line : lines)
            if (line.startsWith(key + "="))
                line = key + "=" + value;
        return lines.join('\n');
    }

    QStringList TraceLines() const
    {
        QFile f(TempPath(QStringLiteral("GPDbgRel.log")));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QStringList lines;
        for (const QByteArray& raw : f.readAll().split('\n')) {
            if (raw.isEmpty())
                continue;
            // Each entry is "<date> <time> <text>": keep the text.
            const QString line = QString::fromUtf8(raw);
            lines.append(line.section(QLatin1Char(' '), 2));
        }
        return lines;
    }
};

} // namespace

TEST_F(StartupTest, SucceedsWithTheBuildDefaultsAndLogsEachStepInOrder)
{
    UseSettings(testenv::DefaultRegistrySection());
    CGlyphaneApp* app = GetApp();
    ASSERT_TRUE(app->InitInstance());

    const QStringList expected = {
        "AfxEnableControlContainer()", "Enable3dControls()", "LoadStdProfileSettings();",
        "AddDocTemplate(pDocTemplate);", "m_pMainWnd = pMainFrame;", "RegisterShellFileTypes(TRUE);",
        "pMainFrame->UpdateWindow();",
    };
    EXPECT_EQ(TraceLines(), expected);

    ASSERT_NE(app->GetMainFrame(), nullptr);
    EXPECT_TRUE(app->GetMainFrame()->MdiArea()->subWindowList().isEmpty())
        << "the automatic first new document must be refused";
    EXPECT_EQ(app->GetFirstNewDocumentFlag(), 0);

    EXPECT_EQ(app->GetApplicationName(), "Glyphane");
    EXPECT_EQ(app->GetProgramPath(), testenv::ProgramDir());
    EXPECT_EQ(app->GetAppLogPath(), testenv::ProgramDir() + "Glyphane.log");
    EXPECT_TRUE(QFile::exists(app->GetAppLogPath()));
    EXPECT_EQ(app->GetHeaderTemplateName(), "HeaderNewFile.bmp");

    ASSERT_NE(app->GetAppCfg(), nullptr);
    EXPECT_GT(app->GetAppCfg()->GetPrinterCount(), 9) << "nine reserved entries and the models";
    EXPECT_EQ(app->GetAppCfg()->GetHelpFileName(), "Glyphane.html");
    ASSERT_NE(app->GetStartupPrinterCfg(), nullptr);
}

TEST_F(StartupTest, FailsRightAfterTheMainWindowWhenARegistryStringIsMissing)
{
    for (const char* key : {"Application%20Name", "Version", "Path", "HtmlHelpFile", "Autodetect", "HeaderNewFile"}) {
        SCOPED_TRACE(key);
        UseSettings(WithoutLine(testenv::DefaultRegistrySection(), key));
        CGlyphaneApp* app = GetApp();
        EXPECT_FALSE(app->InitInstance());
        EXPECT_NE(app->GetMainFrame(), nullptr) << "the main window has already appeared";
        EXPECT_TRUE(TraceLines().contains("pMainFrame->UpdateWindow();"));
        app->ExitInstance();
        QFile::remove(TempPath(QStringLiteral("GPDbgRel.log")));
    }
}

TEST_F(StartupTest, AValueReadingErrorInAnyCaseEndsStartUp)
{
    UseSettings(Replaced(testenv::DefaultRegistrySection(), "Version", "error"));
    EXPECT_FALSE(GetApp()->InitInstance());
}

TEST_F(StartupTest, ProgramPathIsJoinedToTheLogNameWithoutASeparator)
{
    QTemporaryDir parent;
    const QString folder = parent.filePath(QStringLiteral("prog"));
    ASSERT_TRUE(QDir().mkpath(folder));
    UseSettings(Replaced(testenv::DefaultRegistrySection(), "Path", folder.toUtf8()));
    CGlyphaneApp* app = GetApp();
    ASSERT_TRUE(app->InitInstance());
    EXPECT_EQ(app->GetAppLogPath(), folder + "Glyphane.log");
    EXPECT_TRUE(QFile::exists(folder + "Glyphane.log"));
}

TEST_F(StartupTest, AnUnwritableApplicationLogEndsStartUp)
{
    UseSettings(Replaced(testenv::DefaultRegistrySection(), "Path", "/nonexistent-glyphane-folder/"));
    EXPECT_FALSE(GetApp()->InitInstance());
}

TEST_F(StartupTest, MissingSettingsWordIsZeroAndCustomerIsRead)
{
    QByteArray ini = WithoutLine(testenv::DefaultRegistrySection(), "Settings");
    ini = Replaced(ini, "Customer", "1");
    UseSettings(ini);
    CGlyphaneApp* app = GetApp();
    ASSERT_TRUE(app->InitInstance());
    EXPECT_EQ(app->GetSettings(), 0u);
    EXPECT_EQ(app->GetClientVariant(), 1u);
}

TEST_F(StartupTest, SettingsValueIsWrittenBack)
{
    UseSettings(testenv::DefaultRegistrySection());
    CGlyphaneApp* app = GetApp();
    ASSERT_TRUE(app->InitInstance());
    app->SetSettingsValue(0);
    QFile f(SettingsPath());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("Settings=0"));
}

TEST_F(StartupTest, TheFileToOpenIsTheCommandLinesOneArgumentBesideQtsOptions)
{
    EXPECT_EQ(ParseShellCommandFile({"glyphane", "-platform", "offscreen"}), QString());
    EXPECT_EQ(ParseShellCommandFile({"glyphane", "/tmp/logo.bmp"}), QString("/tmp/logo.bmp"));
}

// The program itself, started with a file it cannot open: the one box says
// why (answered by the unattended run's operator, who takes the first
// choice), start-up fails after the main window was made, and the program ends.
TEST_F(StartupTest, AFileOnTheCommandLineThatCannotOpenEndsTheProgram)
{
    UseSettings(testenv::DefaultRegistrySection());
    const QString notALogo = TempPath(QStringLiteral("notalogo.bmp"));
    {
        QFile file(notALogo);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("this is no bitmap\n");
    }
    QProcess program;
    program.setWorkingDirectory(TempFolder());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("GLYPHANE_UNATTENDED"), QStringLiteral("1"));
    program.setProcessEnvironment(env);
    program.start(QCoreApplication::applicationDirPath() + QStringLiteral("/glyphane"), {notALogo});
    ASSERT_TRUE(program.waitForStarted()) << program.errorString().toStdString();
    // A bound for a broken build only: the program ends at once when it works.
    const bool ended = program.waitForFinished(120000);
    if (!ended)
        program.kill();
    ASSERT_TRUE(ended) << "the program kept running with a file it could not open";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 1);
    const QString said = QString::fromLocal8Bit(program.readAllStandardError());
    EXPECT_EQ(said.count(QStringLiteral("isn't a regular BMP file")), 1) << said.toStdString();
    const QStringList trace = TraceLines();
    EXPECT_TRUE(trace.contains(QStringLiteral("m_pMainWnd = pMainFrame;"))) << "the main window was made first";
    EXPECT_FALSE(trace.contains(QStringLiteral("pMainFrame->UpdateWindow();")));
}

TEST(ShellResult, EachResultCodeHasItsMessage)
{
    const std::pair<int, unsigned> table[] = {{0, 1037}, {2, 1044}, {3, 1047}, {5, 1038}, {8, 1046},
                                              {11, 1036}, {27, 1039}, {28, 1042}, {29, 1041}, {30, 1040},
                                              {31, 1045}, {32, 1043}, {26, 1049}, {1, 1049}};
    for (const auto& [result, id] : table)
        EXPECT_EQ(ShellResultStringId(result), id) << "result " << result;
}

TEST_F(StartupTest, HelpAndWebLinkReportTheShellsFailure)
{
    UseSettings(testenv::DefaultRegistrySection());
    CGlyphaneApp* app = GetApp();
    ASSERT_TRUE(app->InitInstance());

    testenv::ScriptedUi ui;
    ui.Then([](CUiPrompt& p, QDialog*) { p.result = 26; }); // the shell's answer
    app->OnWebLink();
    ASSERT_EQ(ui.Prompts().size(), 2u);
    EXPECT_EQ(ui.Prompts()[0].kind, UiPromptKind::Shell);
    EXPECT_EQ(ui.Prompts()[0].text, CGlyphaneApp::WebAddress());
    EXPECT_EQ(ui.Prompts()[1].text, "No error listed.");
    EXPECT_EQ(ui.Prompts()[1].caption, "Error");
    EXPECT_EQ(ui.Prompts()[1].icon(), MB_ICONSTOP);

    testenv::ScriptedUi ok;
    ok.Then([](CUiPrompt& p, QDialog*) { p.result = 42; });
    app->OnHtmlHelp();
    ASSERT_EQ(ok.Prompts().size(), 1u) << "success shows nothing";
    EXPECT_TRUE(ok.Prompts()[0].text.endsWith("Glyphane.html"));
}

TEST_F(StartupTest, AboutShowsTheApplicationNameAndVersion)
{
    UseSettings(testenv::DefaultRegistrySection());
    CGlyphaneApp* app = GetApp();
    ASSERT_TRUE(app->InitInstance());
    QString name, version;
    testenv::ScriptedUi ui;
    ui.Then([&](CUiPrompt& p, QDialog* dlg) {
        name = dlg->findChild<QLineEdit*>("1028")->text();
        version = dlg->findChild<QLineEdit*>("1043")->text();
        p.result = IDOK;
    });
    app->OnCommand(ID_APP_ABOUT);
    EXPECT_EQ(name, "Glyphane");
    EXPECT_EQ(version, "1.0.0");
}

// Besides name and version, the box tells which build runs on which Qt, under
// which licence, and where its documentation is.
TEST_F(StartupTest, AboutNamesTheBuildTheRunningQtTheLicenceAndTheDocumentation)
{
    UseSettings(testenv::DefaultRegistrySection());
    CGlyphaneApp* app = GetApp();
    ASSERT_TRUE(app->InitInstance());
    QMap<QString, QString> shown;
    testenv::ScriptedUi ui;
    ui.Then([&](CUiPrompt& p, QDialog* dlg) {
        // Each row is a label and the read-only line it names.
        for (QLabel* label : dlg->findChildren<QLabel*>())
            if (auto* field = qobject_cast<QLineEdit*>(label->buddy()))
                shown[label->text()] = field->text();
        p.result = IDOK;
    });
    app->OnCommand(ID_APP_ABOUT);
    // A build from a checkout names its commit and the commit's date.
    const QString build = QFileInfo::exists(testenv::SourceDir() + QStringLiteral("/.git"))
                              ? QStringLiteral("^[0-9a-f]{7,}(-modified)? \\(\\d{4}-\\d{2}-\\d{2}\\)$")
                              : QStringLiteral("^unknown$");
    EXPECT_TRUE(QRegularExpression(build).match(shown["Build:"]).hasMatch()) << shown["Build:"].toStdString();
    EXPECT_EQ(shown["Qt:"], QString::fromLatin1(qVersion()));
    EXPECT_FALSE(shown["Licence:"].isEmpty());
    EXPECT_TRUE(shown["Documentation:"].endsWith(QStringLiteral("/README.md"))) << shown["Documentation:"].toStdString();
    EXPECT_TRUE(QFileInfo(shown["Documentation:"]).isFile()) << shown["Documentation:"].toStdString();
}

// Only an X11 display has the accessibility bridge the early bus connection
// is for; anywhere else (the tests' offscreen platform, a script's run) no
// bus is opened, so no run ever launches a bus daemon of its own.
TEST(SessionBusWarmUp, StartsNothingOffTheX11Display)
{
    const QByteArray saved = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");
    EXPECT_FALSE(CSessionBusWarmUp().Started());
    if (saved.isNull())
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    else
        qputenv("DBUS_SESSION_BUS_ADDRESS", saved);
}
