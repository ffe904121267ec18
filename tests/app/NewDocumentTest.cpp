// Creating logos: File New with the printer selection, the refused start-up
// request, the plain 100 x 100 logo and the ways creation fails.
#include "app/GlyphaneApp.h"
#include "components/LoadCfgPrnFile.h"
#include "dialogs/SelectPrinterDlg.h"
#include "document/GlyphaneDoc.h"
#include "frame/MainFrame.h"
#include "support/ProgramFixture.h"
#include "support/ScriptedUi.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMdiArea>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

bool AllWhite(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != 0xFFFFFFFF)
                return false;
    return true;
}

// Picks list row `row` of the printer selection and presses OK.
testenv::ScriptedUi::Step PickPrinter(int row)
{
    return [row](CUiPrompt& prompt, QDialog* dialog) {
        auto* list = dialog->findChild<QListWidget*>(QStringLiteral("1002"));
        ASSERT_NE(list, nullptr);
        list->setCurrentRow(row);
        prompt.result = IDOK;
    };
}

// A started program whose program folder is a copy of the build's one, so a
// test may change or remove its files.
class NewDocumentTest : public testenv::ProgramFixture {
protected:
    void SetUp() override
    {
        m_folder = m_programCopy.path() + QStringLiteral("/");
        CopyFolder(testenv::ProgramDir(), m_folder);
        ProgramFixture::SetUp();
    }

    QByteArray Settings() const override
    {
        QByteArray ini = testenv::DefaultRegistrySection();
        ini.replace(testenv::ProgramDir().toUtf8(), m_folder.toUtf8());
        return ini;
    }

    static void CopyFolder(const QString& from, const QString& to)
    {
        QDir source(from);
        QDir().mkpath(to);
        for (const QFileInfo& entry : source.entryInfoList(QDir::NoDotAndDotDot | QDir::AllEntries)) {
            const QString target = QDir(to).filePath(entry.fileName());
            if (entry.isDir())
                CopyFolder(entry.absoluteFilePath(), target);
            else
                QFile::copy(entry.absoluteFilePath(), target);
        }
    }

    // Rewrites the configuration file of the first offered printer line by line.
    void EditFirstPrinterCfg(const std::function<void(QList<QByteArray>&)>& edit)
    {
        const QString cfg = m_folder + QStringLiteral("CfgFile/")
                            + GetApp()->GetAppCfg()->GetPrinterCfgFile(9).section(QLatin1Char('\\'), -1);
        QFile file(cfg);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QList<QByteArray> lines = file.readAll().split('\n');
        file.close();
        edit(lines);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(lines.join('\n'));
    }

    int OpenWindows() const { return GetApp()->GetMainFrame()->MdiArea()->subWindowList().size(); }

    QTemporaryDir m_programCopy;
    QString m_folder;
};

} // namespace

TEST_F(NewDocumentTest, OnlyTheAutomaticFirstRequestIsRefused)
{
    // Start-up already made (and refused) the automatic request.
    EXPECT_EQ(OpenWindows(), 0);

    testenv::ScriptedUi ui;
    ui.Then(PickPrinter(0));
    CGlyphaneDoc* doc = GetApp()->OnFileNew();
    ASSERT_NE(doc, nullptr);
    ASSERT_EQ(ui.Prompts().size(), 1u);
    EXPECT_EQ(ui.Prompts()[0].kind, UiPromptKind::Dialog);
    EXPECT_EQ(OpenWindows(), 1);

    const CLoadCfgFileApp* list = GetApp()->GetAppCfg();
    EXPECT_EQ(doc->Binding().GetPrinterModel(), list->GetPrinterName(9));
    EXPECT_EQ(doc->Binding().GetPrinterCfgFileName(), list->GetPrinterCfgFile(9));
    DWORD dotX = 0, dotY = 0;
    ASSERT_TRUE(doc->Binding().GetPrinterCfg()->GetOptionPrintersToTest("DotX", &dotX));
    ASSERT_TRUE(doc->Binding().GetPrinterCfg()->GetOptionPrintersToTest("DotY", &dotY));
    EXPECT_EQ(doc->Picture().GetLogoWidth(), static_cast<int>(dotX));
    EXPECT_EQ(doc->Picture().GetLogoHeight(), static_cast<int>(dotY));
    ASSERT_NE(doc->Picture().GetLogoBitmap(), nullptr);
    EXPECT_EQ(doc->Picture().GetLogoBitmap()->size(), QSize(dotX, dotY));
    EXPECT_TRUE(AllWhite(*doc->Picture().GetLogoBitmap()));
    EXPECT_EQ(doc->BmpFile().HeaderBuffer().GetSize(), 62);
    EXPECT_EQ(doc->Binding().GetPortName(), "Comunication port not init");
    EXPECT_EQ(doc->Binding().IsMonochrome(), 1);
}

TEST_F(NewDocumentTest, CancelledSelectionMakesNoDocumentAndNoMessage)
{
    testenv::ScriptedUi ui;
    ui.Answer(IDCANCEL);
    EXPECT_EQ(GetApp()->OnFileNew(), nullptr);
    EXPECT_EQ(ui.Prompts().size(), 1u) << "only the dialog, no message box";
    EXPECT_EQ(OpenWindows(), 0);
}

TEST_F(NewDocumentTest, PrinterWithoutIdentificationByteCannotBeUsed)
{
    EditFirstPrinterCfg([](QList<QByteArray>& lines) {
        lines.removeIf([](const QByteArray& line) { return line.startsWith("GSImodel"); });
    });

    testenv::ScriptedUi ui;
    ui.Then(PickPrinter(0));
    EXPECT_EQ(GetApp()->OnFileNew(), nullptr);
    EXPECT_EQ(ui.Prompts().size(), 1u);
}

TEST_F(NewDocumentTest, MissingHeaderTemplateIsReportedWithItsPath)
{
    ASSERT_TRUE(QFile::remove(m_folder + QStringLiteral("HeaderNewFile.bmp")));
    testenv::ScriptedUi ui;
    ui.Then(PickPrinter(0));
    EXPECT_EQ(GetApp()->OnFileNew(), nullptr);
    ASSERT_EQ(ui.Prompts().size(), 2u);
    const CUiPrompt& message = ui.Prompts()[1];
    EXPECT_EQ(message.kind, UiPromptKind::MessageBox);
    EXPECT_EQ(message.caption, "Glyphane");
    EXPECT_TRUE(message.text.startsWith("No file: " + m_folder + "HeaderNewFile.bmp open."));
    EXPECT_EQ(OpenWindows(), 0);
}

TEST_F(NewDocumentTest, TemplateThatIsNoOneBitHeaderIsReportedAsSuchInTheBoxAndTheLog)
{
    const QString path = m_folder + QStringLiteral("HeaderNewFile.bmp");
    for (const QByteArray& contents : {QByteArray("BM") + QByteArray(60, '\0'), QByteArray("BM short")}) {
        SCOPED_TRACE(contents.size());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(contents);
        file.close();
        testenv::ScriptedUi ui;
        ui.Then(PickPrinter(0));
        EXPECT_EQ(GetApp()->OnFileNew(), nullptr);
        ASSERT_EQ(ui.Prompts().size(), 2u);
        const CUiPrompt& message = ui.Prompts()[1];
        const QString expected = "The BMP header template " + path
                                 + " isn't a 62-byte 1-bit BMP header (palette entry 0 black, entry 1 white)";
        EXPECT_EQ(message.text.toStdString(), expected.toStdString());
        EXPECT_EQ(message.caption, "Glyphane");
        QFile log(m_folder + QStringLiteral("Glyphane.log"));
        ASSERT_TRUE(log.open(QIODevice::ReadOnly));
        EXPECT_TRUE(log.readAll().trimmed().endsWith(expected.toUtf8())) << "the reason is logged";
        EXPECT_EQ(OpenWindows(), 0);
    }
}

TEST_F(NewDocumentTest, PlainLogoIsAWhiteHundredByHundredWithoutPrinter)
{
    CGlyphaneDoc doc{testenv::DocEnvironment()};
    ASSERT_TRUE(doc.InitNewLogo());
    EXPECT_EQ(doc.Picture().GetLogoWidth(), 100);
    EXPECT_EQ(doc.Picture().GetLogoHeight(), 100);
    ASSERT_NE(doc.Picture().GetLogoBitmap(), nullptr);
    EXPECT_TRUE(AllWhite(*doc.Picture().GetLogoBitmap()));
    EXPECT_TRUE(doc.Binding().GetPrinterModel().isEmpty());
}

TEST_F(NewDocumentTest, ModelFlagsAreSetIgnoringCase)
{
    // A printer list whose offered entries are the three flagged names, in odd case.
    QFile cfg(m_folder + QStringLiteral("Glyphane.cfg"));
    ASSERT_TRUE(cfg.open(QIODevice::ReadOnly));
    QByteArray text = cfg.readAll();
    cfg.close();
    const int printers = text.indexOf("[Printers]");
    QByteArray list = text.left(printers) + "[Printers]\n";
    for (int i = 0; i < 9; ++i)
        list += "Reserved" + QByteArray::number(i) + " = CfgFile\\Reserved.cfg\n";
    list += "hvczil_medel = CfgFile\\WGJ33.cfg\nWgj33 = CfgFile\\WGJ33.cfg\nmzvzvRXH = CfgFile\\WGJ33.cfg\n";
    ASSERT_TRUE(cfg.open(QIODevice::WriteOnly | QIODevice::Truncate));
    cfg.write(list);
    cfg.close();
    GetApp()->ExitInstance();
    ASSERT_TRUE(GetApp()->InitInstance());
    ASSERT_EQ(GetApp()->GetAppCfg()->GetPrinterCount(), 12);

    testenv::ScriptedUi ui;
    ui.Then(PickPrinter(0)).Then(PickPrinter(1)).Then(PickPrinter(2));
    CGlyphaneDoc* a = GetApp()->OnFileNew();
    CGlyphaneDoc* b = GetApp()->OnFileNew();
    CGlyphaneDoc* c = GetApp()->OnFileNew();
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(a->Binding().IsHvczilMedel(), 1);
    EXPECT_EQ(a->Binding().IsWgj33(), 0);
    EXPECT_EQ(b->Binding().IsWgj33(), 1);
    EXPECT_EQ(c->Binding().IsMzvzvrxh(), 1);
    EXPECT_EQ(c->Binding().IsHvczilMedel(), 0);
}

TEST_F(NewDocumentTest, AbsurdPrinterSizeIsRefusedWithAMessage)
{
    EditFirstPrinterCfg([](QList<QByteArray>& lines) {
        for (QByteArray& line : lines)
            if (line.startsWith("DotX"))
                line = "DotX = 100000";
    });

    testenv::ScriptedUi ui;
    ui.Then(PickPrinter(0));
    EXPECT_EQ(GetApp()->OnFileNew(), nullptr);
    ASSERT_EQ(ui.Prompts().size(), 2u);
    EXPECT_TRUE(ui.Prompts()[1].text.contains("16384"));
}
