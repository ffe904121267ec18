// The QZ log file, checked against its layout table byte by byte.
#include "document/GlyphaneDoc.h"
#include "resources/CommandIds.h"
#include "support/DiskConditions.h"
#include "support/PswMaker.h"
#include "support/ScriptedUi.h"
#include "support/TestEnv.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;

class QzLogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        CDocEnvironment env = testenv::DocEnvironment();
        env.customer = 1;
        env.askQzHeader = [this](QObject*, unsigned* release, unsigned* version) {
            ++m_headerAsked;
            *release = m_release;
            *version = m_version;
            return m_headerOk;
        };
        m_doc = std::make_unique<CGlyphaneDoc>(env);
        QImage image(200, 100, QImage::Format_RGB32);
        image.fill(kWhite);
        image.setPixel(0, 0, kBlack);
        image.setPixel(9, 1, kBlack);
        m_doc->Picture().AttachLogoBitmap(image);
        m_doc->Picture().SetLogoSize(200, 100);
    }
    QString Path(const QString& name) const { return m_dir.filePath(name); }
    // Answers the save dialog with name in the test folder.
    void ChooseFile(testenv::ScriptedUi& ui, const QString& name)
    {
        ui.Then([this, name](CUiPrompt& p, QDialog*) { p.fileName = Path(name); });
    }

    QTemporaryDir m_dir;
    std::unique_ptr<CGlyphaneDoc> m_doc;
    unsigned m_release = 3, m_version = 12;
    bool m_headerOk = true;
    int m_headerAsked = 0;
};

quint16 WordSum(const QByteArray& bytes)
{
    quint16 sum = 0;
    for (int k = 0; k + 1 < bytes.size(); k += 2)
        sum = static_cast<quint16>(sum + static_cast<quint8>(bytes[k]) + (static_cast<quint8>(bytes[k + 1]) << 8));
    return sum;
}

} // namespace

TEST_F(QzLogTest, A200By100LogoGivesTheFileOfTheLayoutTable)
{
    const QString path = Path(QStringLiteral("ABCDEFGH.LOG"));
    ASSERT_TRUE(m_doc->QzLog().SaveQzLogFile(path, QStringLiteral("abcdefgh.log")));
    const QByteArray file = pswmaker::ReadAll(path);
    ASSERT_EQ(file.size(), 2550);
    EXPECT_EQ(file.left(6), QByteArray("$MOD$\0", 6));
    EXPECT_EQ(file.mid(6, 6), QDate::currentDate().toString(QStringLiteral("yyMMdd")).toLatin1());
    EXPECT_EQ(file.at(12), '\0');
    EXPECT_EQ(file.mid(13, 4), QByteArray("0312")) << "release first, then version";
    EXPECT_EQ(file.at(17), '\0');
    EXPECT_EQ(file.mid(18, 12), QByteArray("ABCDEFGH.LOG"));
    EXPECT_EQ(file.mid(30, 4).toHex(), QByteArray("00f60900"));
    EXPECT_EQ(file.mid(34, 14), QByteArray(14, '\0'));
    // Raster: 25 bytes a row, bit 1 = black, leftmost dot in the top bit.
    EXPECT_EQ(static_cast<quint8>(file[48]), 0x80);
    EXPECT_EQ(static_cast<quint8>(file[48 + 25 + 1]), 0x40) << "dot (9, 1)";
    EXPECT_EQ(file.mid(48 + 1, 24), QByteArray(24, '\0'));
    EXPECT_EQ(WordSum(file), 0) << "the checksum brings the word sum to zero";
}

TEST_F(QzLogTest, NamesAreMadeDosShortWithTheirMessages)
{
    UINT id = 1;
    EXPECT_EQ(CQzLogFile::QzDosName(QStringLiteral("logo.log"), &id), QStringLiteral("logo____.log"));
    EXPECT_EQ(id, 61519u);
    EXPECT_EQ(CQzLogFile::QzDosName(QStringLiteral("verylongname.log"), &id), QStringLiteral("verylong.log"));
    EXPECT_EQ(id, 61518u);
    EXPECT_EQ(CQzLogFile::QzDosName(QStringLiteral("abcdefgh.log"), &id), QStringLiteral("abcdefgh.log"));
    EXPECT_EQ(id, 0u);
}

TEST_F(QzLogTest, TheCommandSavesUnderTheDosNameAndSaysSo)
{
    {
        testenv::ScriptedUi ui;
        ChooseFile(ui, QStringLiteral("logo.log"));
        ui.Answer(IDOK);
        EXPECT_TRUE(m_doc->OnCommand(ID_SAVE_QZ_LOG));
        ASSERT_EQ(ui.Prompts().size(), 2u);
        EXPECT_EQ(ui.Prompts()[0].filter, QStringLiteral("Log QZ files (*.log)|*.log|All Files (*.*)|*.*||"));
        EXPECT_EQ(ui.Prompts()[1].text,
                  QStringLiteral("The selected file name: logo.log\nwas too short.\nIt will be automatically "
                                 "formatted into old Dos style (8.3): logo____.log."));
        EXPECT_EQ(ui.Prompts()[1].caption, QStringLiteral("Glyphane"));
        EXPECT_EQ(ui.Prompts()[1].icon(), UINT(MB_ICONSTOP));
        EXPECT_EQ(pswmaker::ReadAll(Path(QStringLiteral("logo____.log"))).size(), 2550);
    }
    {
        testenv::ScriptedUi ui;
        ChooseFile(ui, QStringLiteral("verylongname.log"));
        ui.Answer(IDOK);
        m_doc->OnCommand(ID_SAVE_QZ_LOG);
        ASSERT_EQ(ui.Prompts().size(), 2u);
        EXPECT_TRUE(ui.Prompts()[1].text.contains(QStringLiteral("was too long")));
        EXPECT_TRUE(QFile::exists(Path(QStringLiteral("verylong.log"))));
    }
    {
        testenv::ScriptedUi ui;
        ChooseFile(ui, QStringLiteral("abcdefgh.log"));
        m_doc->OnCommand(ID_SAVE_QZ_LOG);
        EXPECT_EQ(ui.Prompts().size(), 1u) << "an 8.3 name needs no message";
        EXPECT_EQ(pswmaker::ReadAll(Path(QStringLiteral("abcdefgh.log"))).mid(18, 12), QByteArray("ABCDEFGH.LOG"));
    }
}

TEST_F(QzLogTest, OtherExtensionsAndTheStandardVariantWriteNothing)
{
    {
        testenv::ScriptedUi ui;
        ChooseFile(ui, QStringLiteral("abcdefgh.txt"));
        m_doc->OnCommand(ID_SAVE_QZ_LOG);
        EXPECT_EQ(ui.Prompts().size(), 1u);
    }
    CDocEnvironment standard = m_doc->Environment();
    standard.customer = 2; // bit 0 clear
    CGlyphaneDoc plain(standard);
    plain.Picture().AttachLogoBitmap(*m_doc->Picture().GetLogoBitmap());
    plain.Picture().SetLogoSize(200, 100);
    {
        testenv::ScriptedUi ui;
        ChooseFile(ui, QStringLiteral("abcdefgh.log"));
        plain.OnCommand(ID_SAVE_QZ_LOG);
    }
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList());
    EXPECT_EQ(m_headerAsked, 0);
}

TEST_F(QzLogTest, ACancelledHeaderLeavesAnExistingFileAsItWas)
{
    const QString path = Path(QStringLiteral("ABCDEFGH.LOG"));
    ASSERT_TRUE(pswmaker::WriteAll(path, "older contents"));
    m_headerOk = false;
    EXPECT_FALSE(m_doc->QzLog().SaveQzLogFile(path, QStringLiteral("ABCDEFGH.LOG")));
    EXPECT_EQ(m_headerAsked, 1);
    EXPECT_EQ(pswmaker::ReadAll(path), QByteArray("older contents"));
}

// A real full disk (a 64 KiB tmpfs of the test's own; skipped where it cannot
// be mounted): the box says the disk is full, and speaks of a previous file
// only where there was one.
TEST_F(QzLogTest, AFullDiskSaysSoAndKeepsAnOlderFile)
{
    testenv::SmallDisk disk(64);
    if (!disk.IsReady())
        GTEST_SKIP() << disk.WhyNot().toStdString();
    const QString older = disk.Path(QStringLiteral("OLDERLOG.LOG"));
    ASSERT_TRUE(pswmaker::WriteAll(older, "older contents"));
    ASSERT_TRUE(disk.FillLeaving(2550));
    struct Case {
        QString path;
        QString text;
    };
    const QString fresh = disk.Path(QStringLiteral("FRESHLOG.LOG"));
    const Case cases[] = {
        {older, QStringLiteral("The disk is full: %1 could not be saved. The previous file is unchanged.").arg(older)},
        {fresh, QStringLiteral("The disk is full: %1 could not be saved.").arg(fresh)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        testenv::ScriptedUi ui;
        EXPECT_FALSE(m_doc->QzLog().SaveQzLogFile(c.path, QFileInfo(c.path).fileName()));
        ASSERT_EQ(ui.Prompts().size(), 1u);
        EXPECT_EQ(ui.Prompts()[0].text.toStdString(), c.text.toStdString());
        EXPECT_EQ(ui.Prompts()[0].caption, QStringLiteral("Glyphane"));
    }
    EXPECT_EQ(pswmaker::ReadAll(older), QByteArray("older contents"));
    EXPECT_FALSE(QFile::exists(fresh));
}

// Where the folder takes no new file, an existing log file is written in
// place; a new one cannot be made there and the box says the file cannot be
// written. The folder is closed for real (see ClosedFolder).
TEST_F(QzLogTest, AFileInAFolderThatTakesNoNewFileIsWrittenInPlace)
{
    const QString folder = Path(QStringLiteral("closed"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString existing = folder + QStringLiteral("/ABCDEFGH.LOG");
    ASSERT_TRUE(pswmaker::WriteAll(existing, QByteArray(5000, 'x'))); // longer than the new file
    const QString fresh = folder + QStringLiteral("/NEWNAME_.LOG");
    testenv::ScriptedUi ui;
    {
        testenv::ClosedFolder closed(folder);
        if (!closed.IsClosed())
            GTEST_SKIP() << closed.WhyNot().toStdString();
        EXPECT_TRUE(m_doc->QzLog().SaveQzLogFile(existing, QStringLiteral("ABCDEFGH.LOG")));
        EXPECT_FALSE(m_doc->QzLog().SaveQzLogFile(fresh, QStringLiteral("NEWNAME_.LOG")));
    }
    const QByteArray file = pswmaker::ReadAll(existing);
    ASSERT_EQ(file.size(), 2550) << "cut to the new length";
    EXPECT_EQ(file.mid(18, 12), QByteArray("ABCDEFGH.LOG"));
    EXPECT_EQ(WordSum(file), 0);
    ASSERT_EQ(ui.Prompts().size(), 1u);
    EXPECT_TRUE(ui.Prompts()[0].text.startsWith(QStringLiteral("No file: %1 open.").arg(fresh)))
        << ui.Prompts()[0].text.toStdString();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("ABCDEFGH.LOG")});
}
