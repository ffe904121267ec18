#include "components/CfgFileParser.h"
#include "components/LoadCfgFileApp.h"
#include "components/LoadCfgPrnFile.h"
#include "components/LogFile.h"

#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class CfgFiles : public ::testing::Test {
protected:
    // Program folder with a trailing separator, as the settings give it.
    QString Folder() const { return m_dir.path() + QLatin1Char('/'); }

    void Write(const QString& name, const QByteArray& content)
    {
        const QString path = Folder() + QString(name).replace(QLatin1Char('\\'), QLatin1Char('/'));
        QDir().mkpath(path.section(QLatin1Char('/'), 0, -2));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QString LogText() const
    {
        QFile file(m_dir.filePath(QStringLiteral("cfg.log")));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    void SetUp() override { ASSERT_TRUE(m_log.CreateLogFile(nullptr, m_dir.filePath(QStringLiteral("cfg.log")))); }

    QTemporaryDir m_dir;
    CLogFile m_log;
};

const QByteArray kAppFile = "\xEF\xBB\xBF# Glyphane application configuration\r\n"
                            "[Application]\r\n"
                            "Nameavifile = Glyphane.avi\r\n"
                            "DirLog = Log\\\r\n"
                            "HelpFile = Glyphane.html\r\n"
                            "AutoBaudRateFlow = 2\r\n"
                            "\r\n"
                            "[Printers]\r\n"
                            "; ordered list\r\n"
                            "WGJ33 = CfgFile\\WGJ33.cfg\r\n"
                            "JMQ9534 = CfgFile\\JMQ9534.cfg\r\n"
                            "LQN31-22.6 = CfgFile\\LQN31.cfg\r\n";

const QByteArray kPrinterFile = "[Options]\n"
                                "NLoghi = 4\n"
                                "DotX = 576\n"
                                "DotY = 0x100\n"
                                "GSImodel = 0x1F21\n"
                                "ParallelInterface = 0\n"
                                "[Commands]\n"
                                "CmdPrtRAM = 1B 2A 00\n"
                                "CmdFlashRAM = 1c\t70 1 FF\n"
                                "Csubmodel = 1D 49 01 : 1\n";

class Recorder : public CLoadCfgFileApp {
public:
    using CLoadCfgFileApp::CLoadCfgFileApp;
    int calls = 0;
    QString help;
    int ReadProgramKeys() override
    {
        ++calls;
        CLoadCfgFileApp::ReadProgramKeys();
        return GetCfgFileApp(QStringLiteral("HelpFile"), &help);
    }
};

} // namespace

TEST_F(CfgFiles, ApplicationFileKeysAndOrderedPrinterList)
{
    Write(QStringLiteral("Glyphane.cfg"), kAppFile);
    Recorder cfg(nullptr, Folder(), QStringLiteral("Glyphane.cfg"));
    ASSERT_TRUE(cfg.LoadFileAppCfgInfo());
    EXPECT_EQ(cfg.calls, 1);
    EXPECT_EQ(cfg.help, QStringLiteral("Glyphane.html"));
    EXPECT_EQ(cfg.m_strNameAviFile, QStringLiteral("Glyphane.avi"));
    EXPECT_EQ(cfg.m_strDirLog, QStringLiteral("Log\\"));
    QString value;
    EXPECT_TRUE(cfg.GetCfgFileApp(QStringLiteral("AutoBaudRateFlow"), &value));
    EXPECT_EQ(value, QStringLiteral("2"));
    EXPECT_FALSE(cfg.GetCfgFileApp(QStringLiteral("autobaudrateflow"), &value));
    EXPECT_FALSE(cfg.GetCfgFileApp(QStringLiteral("WGJ33"), &value)); // list entries are not keys

    ASSERT_EQ(cfg.GetPrinterCount(), 3);
    EXPECT_EQ(cfg.GetPrinterName(0), QStringLiteral("WGJ33"));
    EXPECT_EQ(cfg.GetPrinterCfgFile(0), QStringLiteral("CfgFile\\WGJ33.cfg"));
    EXPECT_EQ(cfg.GetPrinterName(2), QStringLiteral("LQN31-22.6"));
    EXPECT_TRUE(cfg.GetPrinterName(3).isEmpty());
    EXPECT_TRUE(cfg.GetPrinterCfgFile(-1).isEmpty());
}

TEST_F(CfgFiles, MissingApplicationFileStillCallsTheHookOnce)
{
    Recorder cfg(nullptr, Folder(), QStringLiteral("Nothing.cfg"));
    cfg.SetLog(&m_log);
    EXPECT_FALSE(cfg.LoadFileAppCfgInfo());
    EXPECT_EQ(cfg.calls, 1);
    EXPECT_EQ(cfg.GetPrinterCount(), 0);
    EXPECT_TRUE(LogText().contains(QStringLiteral("Nothing.cfg: cannot open the file")));
}

TEST_F(CfgFiles, PrinterOptionsInAllThreeForms)
{
    Write(QStringLiteral("CfgFile\\WGJ33.cfg"), kPrinterFile);
    CLoadCfgPrnFile cfg;
    ASSERT_TRUE(cfg.InitCCfgFl(nullptr, Folder(), QStringLiteral("CfgFile\\WGJ33.cfg")));
    ASSERT_TRUE(cfg.LoadPublicCfgFile());
    DWORD value = 0;
    EXPECT_TRUE(cfg.GetOptionPrintersToTest(QStringLiteral("DotX"), &value));
    EXPECT_EQ(value, 576u);
    EXPECT_TRUE(cfg.GetOptionPrintersToTest(QStringLiteral("DotY"), &value));
    EXPECT_EQ(value, 256u);
    EXPECT_TRUE(cfg.GetOptionPrintersToTest(QStringLiteral("GSImodel"), &value));
    EXPECT_EQ(static_cast<BYTE>(value), 0x21);
    value = 99;
    EXPECT_FALSE(cfg.GetOptionPrintersToTest(QStringLiteral("USBInterface"), &value));
    EXPECT_EQ(value, 99u);

    int flag = -1;
    EXPECT_TRUE(cfg.GetOptionPrintersToTest(QStringLiteral("ParallelInterface"), &flag, 1));
    EXPECT_EQ(flag, 0);
    EXPECT_FALSE(cfg.GetOptionPrintersToTest(QStringLiteral("PrnLogoFlash"), &flag, 1));
    EXPECT_EQ(flag, 1);
    EXPECT_EQ(cfg.GetPrintersToTestCount(), 0);
    EXPECT_FALSE(cfg.GetOptionPrintersToTest(0, nullptr, nullptr, nullptr, nullptr));
}

TEST_F(CfgFiles, CommandBytesAndLengths)
{
    Write(QStringLiteral("P.cfg"), kPrinterFile);
    CLoadCfgPrnFile cfg;
    ASSERT_TRUE(cfg.LoadPublicCfgFile(Folder() + QStringLiteral("P.cfg")));
    int length = -1;
    int second = -1;
    ASSERT_TRUE(cfg.GetNumBytePrintersComando(QStringLiteral("CmdPrtRAM"), &length, &second));
    EXPECT_EQ(length, 3);
    EXPECT_EQ(second, 0);
    ASSERT_TRUE(cfg.GetNumBytePrintersComando(QStringLiteral("Csubmodel"), &length, &second));
    EXPECT_EQ(second, 1);

    BYTE dest[6] = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
    ASSERT_TRUE(cfg.GetCommandPrinters(QStringLiteral("CmdFlashRAM"), dest, &length, &second));
    EXPECT_EQ(length, 4);
    const BYTE expected[6] = {0x1C, 0x70, 0x01, 0xFF, 0xEE, 0xEE};
    EXPECT_TRUE(std::equal(dest, dest + 6, expected)); // nothing past the command is touched
    EXPECT_FALSE(cfg.GetCommandPrinters(QStringLiteral("CmdPrtRAM"), nullptr, &length, &second));
    EXPECT_FALSE(cfg.GetCommandPrinters(QStringLiteral("CmdTxLogo"), dest, &length, &second));
    EXPECT_FALSE(cfg.GetNumBytePrintersComando(QStringLiteral("CmdTxLogo"), &length, &second));

    CBufferUC out(2, 0x55);
    ASSERT_TRUE(cfg.GetCommandPrinters(QStringLiteral("CmdPrtRAM"), out));
    const BYTE prtRam[] = {0x1B, 0x2A, 0x00};
    EXPECT_EQ(out, CBufferUC(prtRam, 3));
    EXPECT_FALSE(cfg.GetCommandPrinters(QStringLiteral("Ctotcut"), out));
    EXPECT_EQ(out.GetSize(), 3);
}

TEST_F(CfgFiles, PrintersToTestListAndValueCopies)
{
    Write(QStringLiteral("PrnToTest.cfg"), "[Printers]\n"
                                           "WGJ33 = 0x33, WGJ33|CfgFile\\WGJ33.cfg\n"
                                           "WQWRFW0 = 111 , WQWRFW0|CfgFile\\WQWRFW0.cfg\n"
                                           "BIG = 0x1FF, BIG|a,b.cfg\n"
                                           "[Commands]\n"
                                           "Cstatus = 10 04 01\n");
    CLoadCfgPrnFile cfg;
    ASSERT_TRUE(cfg.InitCCfgFl(nullptr, Folder(), QStringLiteral("PrnToTest.cfg")));
    ASSERT_TRUE(cfg.LoadPublicCfgFile());
    ASSERT_EQ(cfg.GetPrintersToTestCount(), 3);
    QString name;
    QString text;
    BYTE id = 0;
    DWORD value = 0;
    ASSERT_TRUE(cfg.GetOptionPrintersToTest(1, &name, &id, &value, &text));
    EXPECT_EQ(name, QStringLiteral("WQWRFW0"));
    EXPECT_EQ(value, 111u);
    EXPECT_EQ(id, 111);
    EXPECT_EQ(text, QStringLiteral("WQWRFW0|CfgFile\\WQWRFW0.cfg"));
    ASSERT_TRUE(cfg.GetOptionPrintersToTest(2, &name, &id, &value, &text));
    EXPECT_EQ(id, 0xFF);
    EXPECT_EQ(value, 0x1FFu);
    EXPECT_EQ(text, QStringLiteral("BIG|a,b.cfg"));
    EXPECT_FALSE(cfg.GetOptionPrintersToTest(3, &name, &id, &value, &text));
    EXPECT_FALSE(cfg.GetOptionPrintersToTest(-1, &name, &id, &value, &text));

    CLoadCfgPrnFile copy = cfg;
    Write(QStringLiteral("Other.cfg"), "[Options]\nNLoghi = 2\n");
    ASSERT_TRUE(cfg.LoadPublicCfgFile(Folder() + QStringLiteral("Other.cfg")));
    EXPECT_EQ(cfg.GetPrintersToTestCount(), 0);
    EXPECT_EQ(copy.GetPrintersToTestCount(), 3);
    EXPECT_TRUE(copy.GetNumBytePrintersComando(QStringLiteral("Cstatus"), nullptr, nullptr));
}

TEST_F(CfgFiles, LoadWithoutInitFails)
{
    CLoadCfgPrnFile cfg;
    EXPECT_FALSE(cfg.InitCCfgFl(nullptr, Folder(), QString()));
    EXPECT_FALSE(cfg.LoadPublicCfgFile());
}

struct MalformedCase {
    const char* label;
    QByteArray content;
    const char* logged;
};

TEST_F(CfgFiles, EveryMalformedKindFailsWithALogLineAndKeepsNothing)
{
    const QByteArray longLine = "[Commands]\nCmdTxLogo = " + QByteArray(4100, '0') + "\n";
    const std::vector<MalformedCase> cases = {
        {"bad hex", "[Commands]\nCmdPrtRAM = 1B 2G\n", ":2: command \"CmdPrtRAM\": bad hex"},
        {"three-digit byte", "[Commands]\nCmdPrtRAM = 1B 200\n", ":2: command"},
        {"empty command", "[Commands]\nCmdPrtRAM =\n", ":2: command"},
        {"bad reply count", "[Commands]\nCsubmodel = 1D : x\n", ":2: command"},
        {"bad number", "[Options]\nDotX = 57.6\n", ":2: option \"DotX\""},
        {"negative number", "[Options]\nDotX = -1\n", ":2: option"},
        {"number too big", "[Options]\nDotX = 0x100000000\n", ":2: option"},
        {"no equals", "[Options]\nNLoghi 4\n", ":2: line without '='"},
        {"no key", "[Options]\n = 4\n", ":2: line without a key"},
        {"unknown section", "[Options]\nNLoghi = 4\n[Extras]\n", ":3: unknown section [Extras]"},
        {"section twice", "[Options]\n[Commands]\n[Options]\n", ":3: section [Options] appears twice"},
        {"bad header", "[Options\n", ":1: malformed section header"},
        {"key before section", "NLoghi = 4\n", ":1: key \"NLoghi\" outside any section"},
        {"duplicate key", "[Options]\nDotX = 1\nDotX = 2\n", ":3: duplicate key \"DotX\""},
        {"over-long line", longLine, ":2: line longer than 4096 bytes"},
        {"binary junk", QByteArray("[Options]\nNLoghi = 4\x00\x01\n", 22), ":2: binary data"},
        {"invalid utf-8", "[Options]\nN\xC3\x28 = 4\n", ":2: binary data"},
        {"test entry without comma", "[Printers]\nA = 12 A|a.cfg\n", ":2: printer \"A\""},
        {"test entry without bar", "[Printers]\nA = 12, Aa.cfg\n", ":2: printer \"A\""},
        {"test entry empty file", "[Printers]\nA = 12, A|\n", ":2: printer \"A\""},
    };
    Write(QStringLiteral("Good.cfg"), kPrinterFile);
    for (const MalformedCase& c : cases) {
        SCOPED_TRACE(c.label);
        Write(QStringLiteral("Bad.cfg"), c.content);
        CLoadCfgPrnFile cfg;
        cfg.SetLog(&m_log);
        ASSERT_TRUE(cfg.LoadPublicCfgFile(Folder() + QStringLiteral("Good.cfg")));
        EXPECT_FALSE(cfg.LoadPublicCfgFile(Folder() + QStringLiteral("Bad.cfg")));
        EXPECT_FALSE(cfg.IsLoaded());
        EXPECT_FALSE(cfg.GetOptionPrintersToTest(QStringLiteral("NLoghi"), static_cast<DWORD*>(nullptr)));
        EXPECT_FALSE(cfg.GetNumBytePrintersComando(QStringLiteral("CmdPrtRAM"), nullptr, nullptr));
        EXPECT_TRUE(LogText().contains(QStringLiteral("Bad.cfg") + QLatin1String(c.logged)))
            << LogText().toStdString();
    }
}

TEST_F(CfgFiles, ManyKeysLoadInOrderAndADuplicateFarApartNamesItsFirstLine)
{
    // Near the size limit: 90,000 keys, each found by name; the load time of
    // such a file is a benchmark row (BM_LoadConfigKeys), not a timed test.
    QByteArray text = "[Options]\n";
    for (int i = 0; i < 90000; ++i)
        text += "k" + QByteArray::number(i) + "=" + QByteArray::number(i % 7) + "\n";
    Write(QStringLiteral("Many.cfg"), text);
    CCfgFileParser parser;
    ASSERT_TRUE(parser.Load(Folder() + QStringLiteral("Many.cfg"), {QStringLiteral("Options")}, &m_log));
    const CCfgSection* options = parser.Section(QStringLiteral("Options"));
    ASSERT_NE(options, nullptr);
    ASSERT_EQ(options->entries.size(), 90000u);
    EXPECT_EQ(options->entries[89999].key, "k89999");
    for (const int i : {0, 1, 45678, 89999}) {
        const CCfgEntry* entry = parser.Find(QStringLiteral("Options"), QStringLiteral("k%1").arg(i));
        ASSERT_NE(entry, nullptr) << i;
        EXPECT_EQ(entry->value, QString::number(i % 7));
        EXPECT_EQ(entry->line, i + 2);
    }
    EXPECT_EQ(parser.Find(QStringLiteral("Options"), QStringLiteral("k90000")), nullptr);
    EXPECT_EQ(parser.Find(QStringLiteral("Commands"), QStringLiteral("k1")), nullptr);

    Write(QStringLiteral("Many.cfg"), text + "k12=3\n");
    EXPECT_FALSE(parser.Load(Folder() + QStringLiteral("Many.cfg"), {QStringLiteral("Options")}, &m_log));
    EXPECT_TRUE(LogText().contains(QStringLiteral("Many.cfg:90002: duplicate key \"k12\" in [Options] (first on line 14)")))
        << LogText().right(300).toStdString();
}

TEST_F(CfgFiles, MalformedApplicationFilesAndOversizedFiles)
{
    const std::vector<MalformedCase> cases = {
        {"duplicate printer", "[Printers]\nWGJ33 = a.cfg\nWGJ33 = b.cfg\n", ":3: duplicate key \"WGJ33\""},
        {"printer without file", "[Printers]\nWGJ33 =\n", ":2: printer \"WGJ33\" has no configuration file"},
        {"printer section in wrong file kind", "[Options]\nA = 1\n", ":1: unknown section [Options]"},
    };
    for (const MalformedCase& c : cases) {
        SCOPED_TRACE(c.label);
        Write(QStringLiteral("App.cfg"), c.content);
        CLoadCfgFileApp cfg(nullptr, Folder(), QStringLiteral("App.cfg"));
        cfg.SetLog(&m_log);
        EXPECT_FALSE(cfg.LoadFileAppCfgInfo());
        EXPECT_EQ(cfg.GetPrinterCount(), 0);
        EXPECT_TRUE(LogText().contains(QStringLiteral("App.cfg") + QLatin1String(c.logged)))
            << LogText().toStdString();
    }

    QByteArray huge = "[Application]\n";
    const QByteArray line = "Key" + QByteArray(100, 'k');
    for (int i = 0; huge.size() <= CCfgFileParser::kMaxFileBytes; ++i)
        huge += line + QByteArray::number(i) + " = v\n";
    Write(QStringLiteral("Huge.cfg"), huge);
    CLoadCfgFileApp big(nullptr, Folder(), QStringLiteral("Huge.cfg"));
    big.SetLog(&m_log);
    EXPECT_FALSE(big.LoadFileAppCfgInfo());
    EXPECT_TRUE(LogText().contains(QStringLiteral("Huge.cfg: file larger than")));
}

TEST(ShippedData, ProgramFolderFilesAllLoad)
{
    // The files shipped in data/ are read by the same readers at start-up; a
    // syntax slip there would silently leave a printer without its values.
    const QString folder = testenv::SourceDir() + QStringLiteral("/data/");
    if (!QFile::exists(folder + QStringLiteral("Glyphane.cfg")))
        GTEST_SKIP() << "no application configuration in data/";
    CLoadCfgFileApp app(nullptr, folder, QStringLiteral("Glyphane.cfg"));
    ASSERT_TRUE(app.LoadFileAppCfgInfo());
    EXPECT_GT(app.GetPrinterCount(), 9);
    for (const CPrinterEntry& printer : app.Printers()) {
        SCOPED_TRACE(printer.name.toStdString());
        CLoadCfgPrnFile cfg;
        ASSERT_TRUE(cfg.InitCCfgFl(nullptr, folder, printer.file));
        EXPECT_TRUE(cfg.LoadPublicCfgFile());
    }
    CLoadCfgPrnFile toTest;
    ASSERT_TRUE(toTest.InitCCfgFl(nullptr, folder, QStringLiteral("PrnToTest.cfg")));
    ASSERT_TRUE(toTest.LoadPublicCfgFile());
    EXPECT_GT(toTest.GetPrintersToTestCount(), 0);
}
