// Logo files: opening every kind of BMP safely, saving valid 1-bit files that
// read back unchanged, and never losing the previous file on a failed save.
#include "document/BmpFile.h"
#include "components/LogFile.h"
#include "document/GlyphaneDoc.h"
#include "support/DiskConditions.h"
#include "support/OneBitBmp.h"
#include "support/ScriptedUi.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>
#include <QtEndian>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

QString Suite(const QString& sub)
{
    return testenv::SharedTestData() + QStringLiteral("/bmpsuite/") + sub;
}

QStringList Files(const QString& sub)
{
    QStringList out;
    for (const QString& name : QDir(Suite(sub)).entryList({QStringLiteral("*.bmp")}, QDir::Files, QDir::Name))
        out.append(Suite(sub) + QLatin1Char('/') + name);
    return out;
}

// Each test has a folder of its own; documents use the build's program folder
// (header template) through the test environment.
class BmpFileTest : public ::testing::Test {
protected:
    QString TempFolder() const { return m_tmp.path(); }
    QString TempPath(const QString& name) const { return m_tmp.filePath(name); }

    QTemporaryDir m_tmp;
};

int MaxChannelDifference(const QImage& a, const QImage& b)
{
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
        }
    return worst;
}

// A logo with a pattern that shows any lost column, shifted row or swapped bit.
QImage Pattern(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, ((x * 7 + y * 3) % 5 == 0 || x == width - 1) ? 0xFF000000 : 0xFFFFFFFF);
    return image;
}

// An 8-bit file of width x height dots whose palette has two entries, so the
// reader walks every pixel index; all pixels are index 1.
QByteArray TwoColourEightBitFile(int width, int height)
{
    const int stride = (width + 3) / 4 * 4;
    QByteArray file(62 + stride * height, '\x01');
    file.replace(0, 62, QByteArray(62, '\0'));
    file[0] = 'B';
    file[1] = 'M';
    qToLittleEndian<quint32>(file.size(), file.data() + 2);
    qToLittleEndian<quint32>(62, file.data() + 10);
    qToLittleEndian<quint32>(40, file.data() + 14);
    qToLittleEndian<qint32>(width, file.data() + 18);
    qToLittleEndian<qint32>(height, file.data() + 22);
    qToLittleEndian<quint16>(1, file.data() + 26);
    qToLittleEndian<quint16>(8, file.data() + 28);
    qToLittleEndian<quint32>(stride * height, file.data() + 34);
    qToLittleEndian<quint32>(2, file.data() + 46); // colours used
    for (int i = 58; i < 61; ++i)
        file[i] = char(0xFF); // entry 0 black, entry 1 white
    return file;
}

// A file that another program cuts short on disk right after the reader's
// first read, as when it copies over the file while it is being opened.
class CFileCutAfterFirstRead : public QFile {
public:
    CFileCutAfterFirstRead(const QString& path, qint64 cutTo) : QFile(path), m_cutTo(cutTo) {}

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 n = QFile::readData(data, maxSize);
        if (!m_cut) {
            m_cut = true;
            QFile::resize(fileName(), m_cutTo);
        }
        return n;
    }

private:
    qint64 m_cutTo;
    bool m_cut = false;
};

} // namespace

TEST_F(BmpFileTest, FileCutShortWhileBeingReadIsRefusedByItsOwnSize)
{
    const QByteArray whole = TwoColourEightBitFile(256, 256);
    const QString path = TempPath("copied-over.bmp");
    {
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(whole);
    }
    QString why;
    const QImage intact = bmpfile::LoadBmp(path, false, &why);
    ASSERT_EQ(intact.size(), QSize(256, 256)) << why.toStdString();
    EXPECT_EQ(intact.pixel(0, 0), 0xFFFFFFFFu);

    for (const qint64 cutTo : {qint64(62 + 100), qint64(whole.size() - 1), qint64(20)}) {
        SCOPED_TRACE(cutTo);
        {
            QFile out(path);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(whole);
        }
        CFileCutAfterFirstRead file(path, cutTo);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
        why.clear();
        // One read takes the file as it was; every check runs on that copy.
        EXPECT_EQ(bmpfile::LoadBmp(file, false, &why), intact) << why.toStdString();
        EXPECT_EQ(QFileInfo(path).size(), cutTo) << "the file was cut while it was read";
    }
    why.clear();
    EXPECT_TRUE(bmpfile::DecodeBmp(whole.left(62 + 300), false, &why).isNull())
        << "a buffer shorter than its header says is refused by its own size";
    EXPECT_EQ(why.toStdString(), "file size field beyond the end of the file");
}

TEST_F(BmpFileTest, EveryGoodFileOpensUprightWithItsSizeAndPixels)
{
    SKIP_WITHOUT_SHARED_DATA();
    const QImage reference = QImageReader(Suite("g/rgb24.bmp")).read().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(reference.size(), QSize(127, 64));
    const QStringList files = Files("g");
    ASSERT_FALSE(files.isEmpty());
    for (const QString& path : files) {
        SCOPED_TRACE(path.toStdString());
        testenv::ScriptedUi ui;
        CGlyphaneDoc doc{testenv::DocEnvironment()};
        ASSERT_TRUE(doc.OnOpenDocument(path));
        EXPECT_TRUE(ui.Prompts().empty());
        const QImage expected = QImageReader(path).read();
        EXPECT_EQ(doc.Picture().GetLogoWidth(), expected.width());
        EXPECT_EQ(doc.Picture().GetLogoHeight(), expected.height());
        EXPECT_GT(doc.Picture().GetLogoHeight(), 0);
        EXPECT_EQ(doc.Binding().IsMonochrome(), QFileInfo(path).fileName().startsWith("pal1") ? 1 : 0);
        EXPECT_EQ(doc.Binding().GetPrinterModel(), "Printer not selected");
        EXPECT_EQ(doc.Binding().IsWgj33(), 1);
        const QImage decoded = expected.convertToFormat(QImage::Format_RGB32);
        if (doc.Binding().IsMonochrome())
            EXPECT_EQ(*doc.Picture().GetLogoBitmap(), bmpfile::ToBlackAndWhite(decoded));
        else
            EXPECT_EQ(*doc.Picture().GetLogoBitmap(), decoded);
        if (QFileInfo(path).fileName().startsWith("rgb")) {
            // The direct-colour files show the same picture as the 24-bit one,
            // within the precision of 5-bit channels.
            EXPECT_LE(MaxChannelDifference(*doc.Picture().GetLogoBitmap(), reference), 9);
        }
    }
}

TEST_F(BmpFileTest, TopDownFileOpensLikeTheBottomUpOne)
{
    SKIP_WITHOUT_SHARED_DATA();
    CGlyphaneDoc up{testenv::DocEnvironment()}, down{testenv::DocEnvironment()};
    ASSERT_TRUE(up.OnOpenDocument(Suite("g/pal8.bmp")));
    ASSERT_TRUE(down.OnOpenDocument(Suite("g/pal8topdown.bmp")));
    EXPECT_EQ(down.Picture().GetLogoHeight(), 64);
    EXPECT_EQ(*up.Picture().GetLogoBitmap(), *down.Picture().GetLogoBitmap());
}

TEST_F(BmpFileTest, PicturesUpToTheSideBoundOpen)
{
    // Qt's reader alone stops at 128 MiB an image (5792 a side at 4 bytes a pixel).
    for (const int side : {6000, 16000}) {
        SCOPED_TRACE(side);
        const QString path = TempPath(QStringLiteral("big-%1.bmp").arg(side));
        ASSERT_TRUE(onebit::Write(path, side, side));
        testenv::ScriptedUi ui;
        CGlyphaneDoc doc{testenv::DocEnvironment()};
        ASSERT_TRUE(doc.OnOpenDocument(path));
        EXPECT_TRUE(ui.Prompts().empty());
        EXPECT_TRUE(doc.OpenFailure().isEmpty());
        EXPECT_EQ(doc.Picture().GetLogoWidth(), side);
        EXPECT_EQ(doc.Picture().GetLogoHeight(), side);
        EXPECT_EQ(doc.Binding().IsMonochrome(), 1);
        const QImage& image = *doc.Picture().GetLogoBitmap();
        EXPECT_EQ(image.pixel(0, 0), 0xFF000000u) << "the top line holds the dot at the left";
        EXPECT_EQ(image.pixel(1, 0), 0xFFFFFFFFu);
        EXPECT_EQ(image.pixel(side - 1, side - 1), 0xFF000000u) << "the bottom line holds the dot at the right";
        EXPECT_EQ(image.pixel(side / 2, side / 2), 0xFFFFFFFFu);
        QFile::remove(path);
    }
}

TEST_F(BmpFileTest, PictureOverTheSideBoundIsRefusedAsTooLarge)
{
    for (const QSize size : {QSize(16385, 4), QSize(4, 16385), QSize(16384, -16385)}) {
        SCOPED_TRACE(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height()).toStdString());
        const QString path = TempPath(QStringLiteral("over.bmp"));
        QByteArray file = onebit::Header(size.width(), std::abs(size.height()));
        qToLittleEndian<qint32>(size.height(), file.data() + 22);
        file.append(QByteArray(onebit::StoredRowBytes(size.width()) * std::abs(size.height()), '\xFF'));
        {
            QFile out(path);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            ASSERT_EQ(out.write(file), file.size());
        }
        testenv::ScriptedUi ui;
        CGlyphaneDoc doc{testenv::DocEnvironment()};
        EXPECT_FALSE(doc.OnOpenDocument(path));
        ASSERT_EQ(ui.Prompts().size(), 1u);
        const QString text = ui.Prompts()[0].text;
        EXPECT_TRUE(text.startsWith(path + " is too large to open: ")) << text.toStdString();
        EXPECT_TRUE(text.contains("16384")) << text.toStdString();
        EXPECT_EQ(doc.OpenFailure(), text);
        EXPECT_EQ(doc.Picture().GetLogoBitmap(), nullptr);

        QString why;
        bool tooLarge = false;
        EXPECT_TRUE(bmpfile::DecodeBmp(file, true, &why, &tooLarge).isNull());
        EXPECT_TRUE(tooLarge);
    }
    // A broken file is still called broken, not too large.
    bool tooLarge = true;
    EXPECT_TRUE(bmpfile::DecodeBmp(onebit::Header(8, 8), true, nullptr, &tooLarge).isNull());
    EXPECT_FALSE(tooLarge);
}

TEST_F(BmpFileTest, BadFilesAreRefusedWithTheirMessage)
{
    SKIP_WITHOUT_SHARED_DATA();
    for (const QString& path : Files("b")) {
        SCOPED_TRACE(path.toStdString());
        testenv::ScriptedUi ui;
        CGlyphaneDoc doc{testenv::DocEnvironment()};
        EXPECT_FALSE(doc.OnOpenDocument(path));
        ASSERT_EQ(ui.Prompts().size(), 1u);
        EXPECT_EQ(ui.Prompts()[0].text, path + " isn't a regular BMP file");
        EXPECT_EQ(ui.Prompts()[0].buttons(), MB_OK);
        EXPECT_EQ(doc.Picture().GetLogoBitmap(), nullptr);
    }
}

TEST_F(BmpFileTest, FileThatCannotBeOpenedGivesOneBoxSayingWhatIsWrong)
{
    QDir(TempFolder()).mkdir("folder.bmp");
    for (const QString& path : {TempPath("missing.bmp"), TempPath("folder.bmp")}) {
        SCOPED_TRACE(path.toStdString());
        testenv::ScriptedUi ui;
        CGlyphaneDoc doc{testenv::DocEnvironment()};
        EXPECT_FALSE(doc.OnOpenDocument(path));
        ASSERT_EQ(ui.Prompts().size(), 1u);
        EXPECT_EQ(ui.Prompts()[0].text, path + " isn't a regular BMP file");
        EXPECT_EQ(ui.Prompts()[0].buttons(), MB_OK);
    }
}

TEST_F(BmpFileTest, QuestionableFilesOpenOrAreRefusedCleanly)
{
    SKIP_WITHOUT_SHARED_DATA();
    for (const QString& path : Files("q")) {
        SCOPED_TRACE(path.toStdString());
        testenv::ScriptedUi ui;
        CGlyphaneDoc doc{testenv::DocEnvironment()};
        if (doc.OnOpenDocument(path)) {
            ASSERT_NE(doc.Picture().GetLogoBitmap(), nullptr);
            EXPECT_EQ(doc.Picture().GetLogoBitmap()->size(), QSize(doc.Picture().GetLogoWidth(), doc.Picture().GetLogoHeight()));
            EXPECT_TRUE(ui.Prompts().empty());
        } else {
            ASSERT_EQ(ui.Prompts().size(), 1u);
            EXPECT_TRUE(ui.Prompts()[0].text.endsWith("isn't a regular BMP file"));
        }
    }
}

TEST_F(BmpFileTest, PathsNamingThePrinterPlaceholderNeverOpen)
{
    testenv::ScriptedUi ui;
    CGlyphaneDoc doc{testenv::DocEnvironment()};
    EXPECT_FALSE(doc.OnOpenDocument(TempPath("my-GlyphanePrn.bmp")));
    EXPECT_TRUE(ui.Prompts().empty());
    EXPECT_EQ(doc.Picture().GetLogoWidth(), 100) << "the plain logo is made instead";
}

TEST_F(BmpFileTest, SavedLogosAreValidBmpFilesThatReadBackUnchanged)
{
    for (int width : {1, 7, 8, 9, 31, 32, 33, 200, 383, 384}) {
        SCOPED_TRACE(width);
        CGlyphaneDoc doc{testenv::DocEnvironment()};
        ASSERT_TRUE(doc.InitNewLogo());
        const QImage logo = Pattern(width, 13);
        doc.Picture().AttachLogoBitmap(logo);
        doc.Picture().SetLogoSize(width, 13);
        const QString path = TempPath(QStringLiteral("w%1.bmp").arg(width));
        ASSERT_TRUE(doc.WriteBitmapFile(path));

        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const int stride = ((width + 31) / 32) * 4;
        EXPECT_EQ(bytes.size(), 62 + stride * 13);
        const bmpfile::CBmpInfo info = bmpfile::ReadInfo(bytes);
        EXPECT_EQ(info.bitCount, 1);
        EXPECT_EQ(info.width, width);
        EXPECT_EQ(info.height, 13);
        EXPECT_EQ(qFromLittleEndian<quint32>(bytes.constData() + 2), quint32(bytes.size()));
        EXPECT_EQ(qFromLittleEndian<quint32>(bytes.constData() + 34), quint32(stride * 13));

        const QImage other = QImageReader(path).read().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(other, logo) << "another reader sees the logo unchanged";
        CGlyphaneDoc back{testenv::DocEnvironment()};
        ASSERT_TRUE(back.OnOpenDocument(path));
        EXPECT_EQ(*back.Picture().GetLogoBitmap(), logo);
        EXPECT_EQ(back.Binding().IsMonochrome(), 1);
    }
}

TEST_F(BmpFileTest, ColouredLogoIsSavedByTheThresholdRule)
{
    CGlyphaneDoc doc{testenv::DocEnvironment()};
    ASSERT_TRUE(doc.InitNewLogo());
    QImage image(4, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(0x80, 0x80, 0x80)); // above 0x7F7F7F: white
    image.setPixel(1, 0, qRgb(0x7F, 0x7F, 0x7F)); // not above: black
    image.setPixel(2, 0, qRgb(0x00, 0x00, 0x80)); // 0x800000 > 0x7F7F7F: white
    image.setPixel(3, 0, qRgb(0xFF, 0xFF, 0x7E)); // 0x7EFFFF: black
    doc.Picture().AttachLogoBitmap(image);
    doc.Picture().SetLogoSize(4, 1);
    doc.Binding().SetMonochrome(0);
    ASSERT_TRUE(doc.WriteBitmapFile(TempPath("c.bmp")));
    const QImage back = QImageReader(TempPath("c.bmp")).read().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(back.pixel(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(back.pixel(1, 0), 0xFF000000u);
    EXPECT_EQ(back.pixel(2, 0), 0xFFFFFFFFu);
    EXPECT_EQ(back.pixel(3, 0), 0xFF000000u);
    EXPECT_EQ(doc.Binding().IsMonochrome(), 1);
}

TEST_F(BmpFileTest, FailedSaveKeepsThePreviousFile)
{
    const QString path = TempPath("logo.bmp");
    QFile previous(path);
    ASSERT_TRUE(previous.open(QIODevice::WriteOnly));
    previous.write("previous contents");
    previous.close();

    CGlyphaneDoc doc{testenv::DocEnvironment()};
    ASSERT_TRUE(doc.InitNewLogo());
    testenv::ScriptedUi ui;
    {
        // A disk that fills up in the middle of the write: files may not grow
        // past 100 bytes (the signal that would end the process is ignored).
        struct rlimit saved {};
        getrlimit(RLIMIT_FSIZE, &saved);
        auto* oldHandler = signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = saved;
        small.rlim_cur = 100;
        setrlimit(RLIMIT_FSIZE, &small);
        const bool saved_ok = doc.DoSave(path);
        setrlimit(RLIMIT_FSIZE, &saved);
        signal(SIGXFSZ, oldHandler);
        EXPECT_FALSE(saved_ok);
    }
    ASSERT_EQ(ui.Prompts().size(), 1u);
    EXPECT_EQ(ui.Prompts()[0].text.toStdString(),
              ("The disk is full: " + path + " could not be saved. The previous file is unchanged.").toStdString());
    ASSERT_TRUE(previous.open(QIODevice::ReadOnly));
    EXPECT_EQ(previous.readAll(), "previous contents");
    EXPECT_EQ(QDir(TempFolder()).entryList({"logo*"}, QDir::Files), QStringList{"logo.bmp"}) << "no temporary file is left";
}

// A real full disk (a 64 KiB tmpfs of the test's own; skipped where it cannot
// be mounted): the box speaks of a previous file only where there was one.
TEST_F(BmpFileTest, AFullDiskNamesThePreviousFileOnlyWhereThereWasOne)
{
    testenv::SmallDisk disk(64);
    if (!disk.IsReady())
        GTEST_SKIP() << disk.WhyNot().toStdString();
    const QString older = disk.Path(QStringLiteral("older.bmp"));
    ASSERT_TRUE(QFile(older).open(QIODevice::WriteOnly));
    ASSERT_TRUE(disk.FillLeaving(4096));
    struct Case {
        QString path;
        QString text;
    };
    const QString fresh = disk.Path(QStringLiteral("fresh.bmp"));
    const Case cases[] = {
        {older, QStringLiteral("The disk is full: %1 could not be saved. The previous file is unchanged.").arg(older)},
        {fresh, QStringLiteral("The disk is full: %1 could not be saved.").arg(fresh)},
    };
    CGlyphaneDoc doc{testenv::DocEnvironment()};
    ASSERT_TRUE(doc.InitNewLogo());
    doc.Picture().AttachLogoBitmap(Pattern(200, 100));
    doc.Picture().SetLogoSize(200, 100);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        testenv::ScriptedUi ui;
        EXPECT_FALSE(doc.DoSave(c.path));
        ASSERT_EQ(ui.Prompts().size(), 1u);
        EXPECT_EQ(ui.Prompts()[0].text.toStdString(), c.text.toStdString());
    }
    EXPECT_EQ(QFileInfo(older).size(), 0);
    EXPECT_FALSE(QFile::exists(fresh));
}

// Where the folder takes no new file an existing logo file is written in
// place (longer or shorter than before), room for it reserved first; a new
// file cannot be made there. The log says which way a file was written. The
// folder is closed for real (see ClosedFolder), on a small disk where one can
// be mounted.
TEST_F(BmpFileTest, ALogoInAFolderThatTakesNoNewFileIsSavedInPlace)
{
    const QImage logo = Pattern(400, 200); // a file of 62 + 52 x 200 bytes: more pages than the older ones
    const qint64 saved = 62 + 52 * 200;
    struct Case {
        const char* name;
        qint64 before; // -1: no file
        bool fullDisk;
        const char* says; // empty: saved
        const char* logged;
    };
    const Case cases[] = {
        {"shorter.bmp", 10, false, "", "written in place, as the folder takes no new file"},
        {"longer.bmp", 20000, false, "", "written in place, as the folder takes no new file"},
        {"missing.bmp", -1, false, "No file: ", "not written as a new file beside it"},
        {"full.bmp", 10, true, "The disk is full: ", "not written in place"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<testenv::SmallDisk> disk;
        QString folder = TempPath(QStringLiteral("closed-%1").arg(QLatin1String(c.name)));
        if (c.fullDisk) {
            disk = std::make_unique<testenv::SmallDisk>(64);
            if (!disk->IsReady())
                GTEST_SKIP() << disk->WhyNot().toStdString();
            folder = disk->Path(QStringLiteral("closed"));
        }
        ASSERT_TRUE(QDir().mkpath(folder));
        const QString path = folder + QLatin1Char('/') + QLatin1String(c.name);
        const QByteArray before(c.before < 0 ? 0 : c.before, 'p');
        if (c.before >= 0) {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(before) == before.size());
        }
        if (disk) {
            ASSERT_TRUE(disk->FillLeaving(4096));
        }
        const QString logPath = TempPath(QStringLiteral("%1.log").arg(QLatin1String(c.name)));
        CLogFile log;
        ASSERT_TRUE(log.CreateLogFile(nullptr, logPath));
        testenv::ClosedFolder::OpenToAll(logPath);
        CDocEnvironment env = testenv::DocEnvironment();
        env.appLog = &log;
        CGlyphaneDoc doc{env};
        ASSERT_TRUE(doc.InitNewLogo());
        doc.Picture().AttachLogoBitmap(logo);
        doc.Picture().SetLogoSize(400, 200);
        testenv::ScriptedUi ui;
        bool ok = false;
        {
            testenv::ClosedFolder closed(folder);
            if (!closed.IsClosed())
                GTEST_SKIP() << closed.WhyNot().toStdString();
            ok = doc.DoSave(path);
        }
        QFile logged(logPath);
        ASSERT_TRUE(logged.open(QIODevice::ReadOnly));
        EXPECT_TRUE(QString::fromUtf8(logged.readAll()).contains(QLatin1String(c.logged)));
        if (*c.says == '\0') {
            EXPECT_TRUE(ok);
            EXPECT_TRUE(ui.Prompts().empty());
            EXPECT_EQ(QFileInfo(path).size(), saved);
            EXPECT_EQ(QImageReader(path).read().convertToFormat(QImage::Format_RGB32), logo);
        } else {
            EXPECT_FALSE(ok);
            ASSERT_EQ(ui.Prompts().size(), 1u);
            EXPECT_TRUE(ui.Prompts()[0].text.startsWith(QLatin1String(c.says))) << ui.Prompts()[0].text.toStdString();
            EXPECT_EQ(QFile::exists(path), c.before >= 0);
            if (c.before >= 0) {
                QFile f(path);
                ASSERT_TRUE(f.open(QIODevice::ReadOnly));
                EXPECT_EQ(f.readAll(), before) << "the previous file is unchanged";
            }
        }
        QStringList expected;
        if (c.before >= 0)
            expected << QLatin1String(c.name);
        EXPECT_EQ(QDir(folder).entryList(QDir::Files), expected) << "no temporary file is left";
    }
}

TEST_F(BmpFileTest, SaveIntoAMissingFolderSaysTheFileCannotBeWritten)
{
    CGlyphaneDoc doc{testenv::DocEnvironment()};
    ASSERT_TRUE(doc.InitNewLogo());
    testenv::ScriptedUi ui;
    const QString path = TempPath("no-such-folder/logo.bmp");
    EXPECT_FALSE(doc.DoSave(path));
    ASSERT_EQ(ui.Prompts().size(), 1u);
    EXPECT_TRUE(ui.Prompts()[0].text.startsWith("No file: " + path)) << "only a full disk is called full";
}

TEST_F(BmpFileTest, SaveAsAsksForANameAndCancelWritesNothing)
{
    CGlyphaneDoc doc{testenv::DocEnvironment()};
    ASSERT_TRUE(doc.InitNewLogo());
    {
        testenv::ScriptedUi ui;
        ui.Answer(IDCANCEL);
        EXPECT_FALSE(doc.DoSave(QString()));
        ASSERT_EQ(ui.Prompts().size(), 1u);
        EXPECT_EQ(ui.Prompts()[0].kind, UiPromptKind::SaveFile);
        EXPECT_EQ(ui.Prompts()[0].directory, QDir(testenv::ProgramDir()).path() + "/");
    }
    {
        testenv::ScriptedUi ui;
        const QString chosen = TempPath("logo#2.bmp");
        ui.Then([chosen](CUiPrompt& p, QDialog*) { p.fileName = chosen; p.result = IDOK; });
        EXPECT_TRUE(doc.DoSave(QString()));
        EXPECT_TRUE(QFile::exists(TempPath("logo.bmp"))) << "the name is cut in front of '#'";
        EXPECT_EQ(doc.GetPathName(), TempPath("logo.bmp"));
    }
}

TEST_F(BmpFileTest, OpenedHeaderIsKeptOnlyWhenItDescribesTheRows)
{
    // A 1-bit file whose palette is white-then-black would show the saved rows
    // inverted: the template's header is used instead.
    QByteArray header(62, '\0');
    header[0] = 'B';
    header[1] = 'M';
    qToLittleEndian<quint32>(62, header.data() + 10);
    qToLittleEndian<quint32>(40, header.data() + 14);
    qToLittleEndian<quint16>(1, header.data() + 26);
    qToLittleEndian<quint16>(1, header.data() + 28);
    EXPECT_FALSE(bmpfile::IsOneBitHeader(header)) << "both palette entries black";
    for (int i = 58; i < 61; ++i)
        header[i] = char(0xFF);
    EXPECT_TRUE(bmpfile::IsOneBitHeader(header));
    header[14] = 12;
    EXPECT_FALSE(bmpfile::IsOneBitHeader(header));
}
