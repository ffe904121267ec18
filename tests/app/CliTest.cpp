// The command-line tool, run in-process with the build's program folder.
#include "app/CliCommands.h"
#include "app/GlyphaneApp.h"
#include "document/GlyphaneDoc.h"
#include "support/OneBitBmp.h"
#include "support/PictureFiles.h"
#include "support/ProgramFixture.h"
#include "support/PswMaker.h"
#include "support/ScriptedUi.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

#include <functional>

namespace {

struct CliResult {
    int status = -1;
    QString out;
    QString err;
};

// The command-line tool's own (headless) start-up, in a fresh current folder
// that also holds the files a test writes.
class CliTest : public testenv::ProgramFixture {
protected:
    CliTest() : ProgramFixture(Launch::Headless) {}

    CliResult Run(const QStringList& args)
    {
        CliResult r;
        QTextStream out(&r.out), err(&r.err);
        r.status = cli::Run(args, out, err);
        out.flush();
        err.flush();
        return r;
    }

    // A black-and-white logo saved as the editor saves it.
    QString SaveLogo(const QString& name, const QImage& image)
    {
        CGlyphaneDoc doc{testenv::DocEnvironment()};
        EXPECT_TRUE(doc.InitNewLogo());
        doc.Picture().AttachLogoBitmap(image);
        doc.Picture().SetLogoSize(image.width(), image.height());
        EXPECT_TRUE(doc.WriteBitmapFile(TempPath(name)));
        return TempPath(name);
    }

    static QByteArray Read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // The tool itself, as a program of its own: its start-up and its way of
    // printing the document's boxes are those of a user's run. settings, when
    // given, is the content of the settings file it starts with.
    CliResult RunTool(const QStringList& args, const QByteArray& settings = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (!settings.isEmpty()) {
            const QString ini = TempPath(QStringLiteral("tool-settings.ini"));
            QFile file(ini);
            EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(settings) == settings.size());
            env.insert(QStringLiteral("GLYPHANE_SETTINGS"), ini);
        }
        QDir().mkpath(TempPath(QStringLiteral("runtime")));
        QFile::setPermissions(TempPath(QStringLiteral("runtime")), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                                       | QFileDevice::ExeOwner);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), TempPath(QStringLiteral("runtime")));
        QProcess tool;
        tool.setProcessEnvironment(env);
        tool.setWorkingDirectory(TempFolder());
        tool.start(QCoreApplication::applicationDirPath() + QStringLiteral("/glyphane-cli"), args);
        CliResult r;
        if (!tool.waitForFinished(60000)) {
            tool.kill();
            tool.waitForFinished();
            return r;
        }
        r.status = tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
        r.out = QString::fromLocal8Bit(tool.readAllStandardOutput());
        r.err = QString::fromLocal8Bit(tool.readAllStandardError());
        return r;
    }
};

QImage WhiteWithBlackDot(int w, int h, int x, int y)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(0xFFFFFFFF);
    image.setPixel(x, y, 0xFF000000);
    return image;
}

} // namespace

TEST_F(CliTest, WrongUsageExitsTwo)
{
    EXPECT_EQ(Run({}).status, cli::kExitUsage);
    EXPECT_EQ(Run({"frobnicate"}).status, cli::kExitUsage);
    EXPECT_EQ(Run({"info"}).status, cli::kExitUsage);
    EXPECT_EQ(Run({"raster", "a.bmp", "b.bin"}).status, cli::kExitUsage) << "--model is required";
    EXPECT_EQ(Run({"invert", "a", "b", "--bogus"}).status, cli::kExitUsage);
}

TEST_F(CliTest, InfoDescribesAFile)
{
    const QString path = SaveLogo("dot.bmp", WhiteWithBlackDot(40, 8, 3, 2));
    const CliResult r = Run({"info", path});
    EXPECT_EQ(r.status, cli::kExitOk);
    EXPECT_EQ(r.out, "width 40\nheight 8\nbits 1\nmonochrome 1\n");

    const CliResult missing = Run({"info", TempPath("nope.bmp")});
    EXPECT_EQ(missing.status, cli::kExitRefused);
    EXPECT_TRUE(missing.err.startsWith("glyphane-cli: "));
    EXPECT_EQ(missing.err.count('\n'), 1);
}

// What info says of a file must be what opening it says: every file of the
// public BMP suite that info describes opens, and every one it refuses does
// not (the bad set's broken run-length data, palette indices and bit masks lie
// in the pixels, past a header that is in order).
TEST_F(CliTest, InfoDescribesExactlyTheFilesThatOpen)
{
    SKIP_WITHOUT_SHARED_DATA();
    int refused = 0;
    for (const char* set : {"b", "g", "q"}) {
        const QDir folder(testenv::SharedTestData() + QStringLiteral("/bmpsuite/") + QLatin1String(set));
        const QStringList names = folder.entryList({QStringLiteral("*.bmp")}, QDir::Files, QDir::Name);
        ASSERT_FALSE(names.isEmpty()) << set;
        for (const QString& name : names) {
            const QString path = folder.filePath(name);
            SCOPED_TRACE(path.toStdString());
            testenv::ScriptedUi ui; // the document's refusal, answered here
            const bool opens = Run({"invert", path, TempPath("inverted.bmp")}).status == cli::kExitOk;
            const CliResult info = Run({"info", path});
            EXPECT_EQ(info.status, opens ? cli::kExitOk : cli::kExitRefused) << info.out.toStdString();
            if (!opens) {
                EXPECT_EQ(info.err.toStdString(), ("glyphane-cli: " + path + " isn't a regular BMP file\n").toStdString());
                EXPECT_TRUE(info.out.isEmpty());
                ++refused;
            }
        }
    }
    EXPECT_GE(refused, 20);
}

// The bit count sits at another place in the 12-byte OS/2 header.
TEST_F(CliTest, InfoReadsTheBitCountOfEveryInfoHeader)
{
    // A 1-bit OS/2 file of 8 x 2 dots: core header, three-byte palette entries.
    QByteArray core = QByteArray::fromHex("424d" "28000000" "0000" "0000" "20000000"
                                          "0c000000" "0800" "0200" "0100" "0100"
                                          "000000" "ffffff");
    core += QByteArray::fromHex("0f000000" "f0000000");
    ASSERT_EQ(core.size(), 0x28);
    QFile out(TempPath("core1.bmp"));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    ASSERT_EQ(out.write(core), core.size());
    out.close();

    struct Case {
        QString path;
        QString expected;
    };
    std::vector<Case> cases = {
        {TempPath("core1.bmp"), "width 8\nheight 2\nbits 1\nmonochrome 1\n"},
        {SaveLogo("windows1.bmp", WhiteWithBlackDot(8, 2, 0, 0)), "width 8\nheight 2\nbits 1\nmonochrome 1\n"},
    };
    if (!testenv::SharedTestData().isEmpty()) {
        const QString suite = testenv::SharedTestData() + QStringLiteral("/bmpsuite/");
        cases.push_back({suite + "g/pal8os2.bmp", "width 127\nheight 64\nbits 8\nmonochrome 0\n"});
        cases.push_back({suite + "g/pal8v5.bmp", "width 127\nheight 64\nbits 8\nmonochrome 0\n"});
        cases.push_back({suite + "q/pal8os2v2.bmp", "width 127\nheight 64\nbits 8\nmonochrome 0\n"});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        const CliResult r = Run({"info", c.path});
        EXPECT_EQ(r.status, cli::kExitOk) << r.err.toStdString();
        EXPECT_EQ(r.out, c.expected);
    }
    // The editor takes the OS/2 file as what it is: black and white.
    testenv::ScriptedUi ui;
    CGlyphaneDoc doc{testenv::DocEnvironment()};
    ASSERT_TRUE(doc.OnOpenDocument(TempPath("core1.bmp")));
    EXPECT_EQ(doc.Binding().IsMonochrome(), 1);
    EXPECT_EQ(doc.Picture().GetLogoBitmap()->pixel(0, 0), 0xFFFFFFFFu) << "top row f0: four white dots first";
    EXPECT_EQ(doc.Picture().GetLogoBitmap()->pixel(4, 0), 0xFF000000u);
}

TEST_F(CliTest, ModelsListsTheOfferedPrintersOnly)
{
    const CliResult r = Run({"models"});
    ASSERT_EQ(r.status, cli::kExitOk);
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.size(), GetApp()->GetAppCfg()->GetPrinterCount() - 9);
    EXPECT_TRUE(lines.contains("WGJ33\tCfgFile\\WGJ33.cfg"));
    EXPECT_FALSE(r.out.contains("Reserved"));
}

TEST_F(CliTest, ModelPrintsItsValuesAndGroups)
{
    const CliResult r = Run({"model", "VD8"});
    ASSERT_EQ(r.status, cli::kExitOk) << r.err.toStdString();
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 8);
    EXPECT_TRUE(lines[0].startsWith("DotX "));
    EXPECT_TRUE(lines[6].startsWith("USBInterface "));
    EXPECT_TRUE(lines[7].startsWith("groups"));
    EXPECT_TRUE(lines[7].contains("usb-bitmap"));
    EXPECT_EQ(Run({"model", "NOSUCH"}).status, cli::kExitRefused);
}

TEST_F(CliTest, InvertAndFlipsWriteOneBitFiles)
{
    const QString in = SaveLogo("in.bmp", WhiteWithBlackDot(16, 4, 0, 0));
    ASSERT_EQ(Run({"invert", in, TempPath("inv.bmp")}).status, cli::kExitOk);
    QImage inv = QImageReader(TempPath("inv.bmp")).read();
    EXPECT_EQ(inv.depth(), 1);
    inv = inv.convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(inv.pixel(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(inv.pixel(5, 3), 0xFF000000u);

    ASSERT_EQ(Run({"flip-h", in, TempPath("h.bmp")}).status, cli::kExitOk);
    EXPECT_EQ(QImageReader(TempPath("h.bmp")).read().convertToFormat(QImage::Format_RGB32).pixel(15, 0), 0xFF000000u);
    ASSERT_EQ(Run({"flip-v", in, TempPath("v.bmp")}).status, cli::kExitOk);
    EXPECT_EQ(QImageReader(TempPath("v.bmp")).read().convertToFormat(QImage::Format_RGB32).pixel(0, 3), 0xFF000000u);
}

TEST_F(CliTest, BigPicturesAreDescribedFromTheirHeaderAndOversizedOnesRefusedAsTooLarge)
{
    const QString big = TempPath("big.bmp");
    ASSERT_TRUE(onebit::Write(big, 16000, 16000));
    const CliResult info = Run({"info", big});
    EXPECT_EQ(info.status, cli::kExitOk) << info.err.toStdString();
    EXPECT_EQ(info.out, "width 16000\nheight 16000\nbits 1\nmonochrome 1\n");
    // The header alone is read, but it is still checked against the file's size.
    ASSERT_TRUE(QFile::resize(big, 62 + 2000 * 100));
    const CliResult cut = Run({"info", big});
    EXPECT_EQ(cut.status, cli::kExitRefused);
    EXPECT_EQ(cut.err, "glyphane-cli: " + big + " isn't a regular BMP file\n");
    QFile::remove(big);

    const QString over = TempPath("over.bmp");
    {
        QFile out(over);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(onebit::Header(16385, 4) + QByteArray(onebit::StoredRowBytes(16385) * 4, '\xFF'));
    }
    for (const QStringList& args : {QStringList{"info", over}, QStringList{"invert", over, TempPath("out.bmp")}}) {
        SCOPED_TRACE(args.join(' ').toStdString());
        testenv::ScriptedUi ui; // the document's message box, answered here
        const CliResult r = Run(args);
        EXPECT_EQ(r.status, cli::kExitRefused);
        EXPECT_TRUE(r.err.startsWith("glyphane-cli: " + over + " is too large to open: ")) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("16384")) << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(TempPath("out.bmp")));
}

TEST_F(CliTest, ConvertTurnsAColourImageIntoBlackAndWhite)
{
    QImage colour(8, 8, QImage::Format_RGB32);
    colour.fill(qRgb(200, 30, 30));
    ASSERT_TRUE(colour.save(TempPath("colour.bmp"), "BMP"));
    EXPECT_EQ(Run({"convert", TempPath("colour.bmp"), TempPath("bw.bmp"), "--threshold", "300"}).status, cli::kExitRefused);
    EXPECT_EQ(Run({"convert", TempPath("colour.bmp"), TempPath("bw.bmp"), "--method", "halftone"}).status, cli::kExitRefused);
    EXPECT_FALSE(QFile::exists(TempPath("bw.bmp")));
    ASSERT_EQ(Run({"convert", TempPath("colour.bmp"), TempPath("bw.bmp")}).status, cli::kExitOk);
    const CliResult info = Run({"info", TempPath("bw.bmp")});
    EXPECT_TRUE(info.out.contains("bits 1\nmonochrome 1"));

    // Lightness 115 everywhere: below 128 all black by threshold, half white by Bayer's 4 x 4.
    const auto whiteDots = [&](const QStringList& method) {
        EXPECT_EQ(Run(QStringList{"convert", TempPath("colour.bmp"), TempPath("m.bmp")} + method).status, cli::kExitOk);
        const QImage out = QImage(TempPath("m.bmp")).convertToFormat(QImage::Format_RGB32);
        int white = 0;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                white += out.pixel(x, y) == 0xFFFFFFFFu;
        return white;
    };
    EXPECT_EQ(whiteDots({"--method", "threshold"}), 0);
    EXPECT_EQ(whiteDots({"--method", "threshold", "--threshold", "114"}), 64);
    EXPECT_EQ(whiteDots({"--method", "ordered-4x4"}), 28); // cells 0 to 6 of 16: 255 (2m + 1) / 32 below 115
}

TEST_F(CliTest, ImportMakesALogoOfTheModelsAreaFromEveryKindOfPicture)
{
    using picturefiles::Half;
    const QSize size(120, 50);
    const struct {
        const char* name;
        std::function<bool(const QString&)> write;
    } pictures[] = {
        {"shop.png", [&](const QString& p) { return picturefiles::Save(picturefiles::HalfBlack(size), p, "png"); }},
        {"shop.jpg", [&](const QString& p) { return picturefiles::Save(picturefiles::HalfBlack(size), p, "jpeg"); }},
        {"shop.svg", [&](const QString& p) { return picturefiles::WriteFile(p, picturefiles::HalfBlackSvg(size)); }},
        {"shop.pdf", [&](const QString& p) { return picturefiles::WritePdf(p, QSizeF(size), {Half::Right, Half::Left}); }},
        // A colour BMP is a picture here too (only a 1-bit one is previewed as it is).
        {"shop.bmp",
         [&](const QString& p) { return picturefiles::Save(picturefiles::HalfBlack(size, Half::Left, QImage::Format_RGB888), p, "bmp"); }},
    };
    for (const auto& picture : pictures) {
        SCOPED_TRACE(picture.name);
        const QString in = TempPath(QLatin1String(picture.name));
        ASSERT_TRUE(picture.write(in));
        const QStringList options = {"--fit", "stretch", "--method", "threshold", "--page",
                                     QLatin1String(picture.name) == QLatin1String("shop.pdf") ? "2" : "1"};
        const CliResult r = Run(QStringList{"import", in, TempPath("logo.bmp"), "--model", "WGJ33"} + options);
        ASSERT_EQ(r.status, cli::kExitOk) << r.err.toStdString();
        EXPECT_EQ(Run({"info", TempPath("logo.bmp")}).out, "width 576\nheight 240\nbits 1\nmonochrome 1\n");
        EXPECT_TRUE(picturefiles::LooksHalfBlack(QImage(TempPath("logo.bmp")).convertToFormat(QImage::Format_RGB32)));

        // The preview of the picture with the same options is the preview of that logo.
        ASSERT_EQ(Run(QStringList{"preview", in, TempPath("a.png"), "--model", "WGJ33"} + options).status, cli::kExitOk);
        ASSERT_EQ(Run({"preview", TempPath("logo.bmp"), TempPath("b.png"), "--model", "WGJ33"}).status, cli::kExitOk);
        EXPECT_EQ(QImage(TempPath("a.png")), QImage(TempPath("b.png")));
        // Every default: within the area, centred, Floyd-Steinberg.
        EXPECT_EQ(Run({"import", in, TempPath("default.bmp"), "--model", "WGJ33"}).status, cli::kExitOk);
    }
}

TEST_F(CliTest, ImportRefusesBadOptionsAndPicturesAndWritesNothing)
{
    ASSERT_TRUE(picturefiles::Save(picturefiles::HalfBlack(QSize(20, 10)), TempPath("a.png"), "png"));
    ASSERT_TRUE(picturefiles::WriteFile(TempPath("notes.txt"), "not a picture\n"));
    const QString png = TempPath("a.png"), out = TempPath("out.bmp");
    const struct {
        QStringList args;
        QString err;
    } cases[] = {
        {{"--fit", "cover"}, "--fit takes within, width, original or stretch"},
        {{"--placement", "right"}, "--placement takes center or left"},
        {{"--method", "dots"}, "--method takes threshold, auto-threshold, floyd-steinberg, atkinson, jarvis-judice-ninke, "
                               "stucki, burkes, sierra, ordered-4x4, ordered-8x8"},
        {{"--threshold", "-1"}, "--threshold takes a number from 0 to 255"},
        {{"--brightness", "101"}, "--brightness takes a number from -100 to 100"},
        {{"--contrast", "x"}, "--contrast takes a number from -100 to 100"},
        {{"--gamma", "0"}, "--gamma takes a number from 0.1 to 10"},
        {{"--page", "0"}, "--page takes a number from 1 to 1000000"},
        {{"--page", "2"}, png + " cannot be opened: it has no page 2 (it has 1)"},
    };
    for (const auto& c : cases) {
        const CliResult r = Run(QStringList{"import", png, out, "--model", "WGJ33"} + c.args);
        EXPECT_EQ(r.status, cli::kExitRefused) << c.args.join(' ').toStdString();
        EXPECT_EQ(r.err, "glyphane-cli: " + c.err + "\n");
    }
    const CliResult notPicture = Run({"import", TempPath("notes.txt"), out, "--model", "WGJ33"});
    EXPECT_EQ(notPicture.err, "glyphane-cli: " + TempPath("notes.txt") + " cannot be opened: it isn't a picture\n");
    EXPECT_EQ(Run({"import", png, out, "--model", "NOSUCH"}).err, "glyphane-cli: NOSUCH: no such printer model\n");
    EXPECT_EQ(Run({"import", png, out}).status, cli::kExitUsage) << "--model is required";
    EXPECT_FALSE(QFile::exists(out));
}

TEST_F(CliTest, RasterRefusesAColourImage)
{
    QImage colour(8, 8, QImage::Format_RGB32);
    colour.fill(qRgb(200, 30, 30));
    ASSERT_TRUE(colour.save(TempPath("colour.bmp"), "BMP"));
    const CliResult r = Run({"raster", TempPath("colour.bmp"), TempPath("r.bin"), "--model", "WGJ33"});
    EXPECT_EQ(r.status, cli::kExitRefused);
    EXPECT_EQ(r.err, "glyphane-cli: you must to convert the file in black and white\n");
    EXPECT_FALSE(QFile::exists(TempPath("r.bin")));
}

TEST_F(CliTest, RasterIsCentredAndInTheirNativeSense)
{
    // WGJ33: a 576 x 240 printer area. A 16 x 2 logo with one dot at (0, 0).
    const QString in = SaveLogo("small.bmp", WhiteWithBlackDot(16, 2, 0, 0));
    ASSERT_EQ(Run({"raster", in, TempPath("r.bin"), "--model", "WGJ33"}).status, cli::kExitOk);
    const QByteArray bytes = Read(TempPath("r.bin"));
    ASSERT_EQ(bytes.size(), 576 / 8 * 240);
    // Offset = (576 - 16) / 16 bytes across, (240 - 2) / 2 rows down.
    const int at = (576 - 16) / 16 + 576 * ((240 - 2) / 2) / 8;
    for (int i = 0; i < bytes.size(); ++i) {
        const uchar expected = (i == at) ? 0x80 : 0x00; // complemented: bit 1 = dot
        ASSERT_EQ(static_cast<uchar>(bytes[i]), expected) << "byte " << i;
    }
    ASSERT_EQ(Run({"raster", in, TempPath("rc.bin"), "--model", "WGJ33", "--reverse-color"}).status, cli::kExitOk);
    EXPECT_EQ(static_cast<uchar>(Read(TempPath("rc.bin"))[at]), 0x7F);
    EXPECT_EQ(Run({"raster", in, TempPath("x.bin"), "--model", "WGJ33", "--frame", "wavy"}).status, cli::kExitRefused);
}

TEST_F(CliTest, PrintDataOfAPlainModelIsTheBitmapBits)
{
    const QString in = SaveLogo("pd.bmp", WhiteWithBlackDot(16, 2, 0, 0));
    ASSERT_EQ(Run({"print-data", in, TempPath("pd.bin"), "--model", "WGJ33"}).status, cli::kExitOk);
    const QByteArray bytes = Read(TempPath("pd.bin"));
    ASSERT_EQ(bytes.size(), 4);
    EXPECT_EQ(static_cast<uchar>(bytes[0]), 0x7F);
    EXPECT_EQ(static_cast<uchar>(bytes[1]), 0xFF);
}

TEST_F(CliTest, LogoSavedIntoSlotTwoOfAnUpgradeFileLoadsBackUnchanged)
{
    const QString psw = TempPath(QStringLiteral("up.psw"));
    ASSERT_TRUE(pswmaker::Make(psw, QStringLiteral("WGJ33"), {{576, 240, {}}, {576, 240, {}}, {64, 8, {}}}));
    const CliResult info = Run({"psw-info", psw});
    ASSERT_EQ(info.status, cli::kExitOk) << info.err.toStdString();
    EXPECT_EQ(info.out, QStringLiteral("printer WGJ33\ndevice 1\nslots 3\nslot 1 576 x 240\nslot 2 576 x 240\n"
                                       "slot 3 64 x 8\n"));

    const QString logo = SaveLogo(QStringLiteral("dot.bmp"), WhiteWithBlackDot(576, 240, 100, 50));
    const QByteArray before = Read(psw);
    ASSERT_EQ(Run({"psw-save", psw, "--slot", "2", "--model", "WGJ33", logo}).status, cli::kExitOk);
    EXPECT_EQ(Read(psw).size(), before.size());
    const QString back = TempPath(QStringLiteral("back.bmp"));
    ASSERT_EQ(Run({"psw-load", psw, "--slot", "2", "--model", "WGJ33", back}).status, cli::kExitOk);
    EXPECT_EQ(QImage(back).convertToFormat(QImage::Format_RGB32), QImage(logo).convertToFormat(QImage::Format_RGB32));

    testenv::ScriptedUi ui; // the document's refusal message, answered here
    ui.Answer(IDOK);
    const CliResult wrongSize = Run({"psw-load", psw, "--slot", "3", "--model", "WGJ33", back});
    EXPECT_EQ(wrongSize.status, cli::kExitRefused);
    ASSERT_EQ(ui.Prompts().size(), 1u);
    EXPECT_TRUE(ui.Prompts()[0].text.contains(QStringLiteral("isn't compatible with this Printer")));
    EXPECT_EQ(Run({"psw-info", logo}).status, cli::kExitRefused) << "a BMP is no upgrade file";
}

TEST_F(CliTest, QzLogIsWrittenUnderItsDosName)
{
    const QString logo = SaveLogo(QStringLiteral("qz.bmp"), WhiteWithBlackDot(200, 100, 0, 0));
    const CliResult r = Run({"qz-log", logo, TempPath(QStringLiteral("logo.log")), "--release", "4", "--version", "9"});
    ASSERT_EQ(r.status, cli::kExitOk) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("was too short")));
    const QByteArray file = Read(TempPath(QStringLiteral("logo____.log")));
    ASSERT_EQ(file.size(), 2550);
    EXPECT_EQ(file.mid(13, 4), QByteArray("0409"));
    EXPECT_EQ(file.mid(18, 12), QByteArray("LOGO____.LOG"));
    EXPECT_EQ(Run({"qz-log", logo, TempPath(QStringLiteral("x.log")), "--release", "100", "--version", "0"}).status,
              cli::kExitRefused);
}

// A start-up that fails says which part of it failed.
TEST_F(CliTest, ToolSaysWhyItCannotStart)
{
    const QString folder = TempPath(QStringLiteral("program"));
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/Glyphane.log"))); // a folder where the log should be
    QByteArray unwritableLog = testenv::DefaultRegistrySection();
    unwritableLog.replace("Path=" + testenv::ProgramDir().toUtf8(), "Path=" + folder.toUtf8() + "/");
    QByteArray noVersion = testenv::DefaultRegistrySection();
    noVersion.replace("Version=1.0.0\n", "");
    struct Case {
        QByteArray settings;
        QString says;
    };
    const Case cases[] = {
        {unwritableLog, "glyphane-cli: the application log " + folder + "/Glyphane.log cannot be written"},
        {noVersion, QStringLiteral("glyphane-cli: the settings are incomplete")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.says.toStdString());
        const CliResult r = RunTool({"models"}, c.settings);
        EXPECT_EQ(r.status, cli::kExitRefused);
        EXPECT_TRUE(r.err.startsWith(c.says)) << r.err.toStdString();
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
    }
}

// The tool prints a box as "caption: text", and a box without a caption as
// its text alone.
TEST_F(CliTest, ABoxWithoutACaptionIsPrintedAsItsTextAlone)
{
    const QString notPsw = TempPath(QStringLiteral("not.psw"));
    ASSERT_TRUE(pswmaker::WriteAll(notPsw, QByteArray(100, 'x')));
    const CliResult r = RunTool({"psw-load", notPsw, "--slot", "1", "--model", "WGJ33", TempPath("out.bmp")});
    EXPECT_EQ(r.status, cli::kExitRefused);
    EXPECT_EQ(r.err.toStdString(),
              ("Unable to load file!\nglyphane-cli: " + notPsw + ": the logo was not loaded\n").toStdString());
}

TEST_F(CliTest, UpgradeFileCommandsNameASlotTheFileDoesNotHave)
{
    const QString psw = TempPath(QStringLiteral("three.psw"));
    ASSERT_TRUE(pswmaker::Make(psw, QStringLiteral("WGJ33"), {{576, 240, {}}, {576, 240, {}}, {576, 240, {}}}));
    const QString logo = SaveLogo(QStringLiteral("dot.bmp"), WhiteWithBlackDot(576, 240, 1, 1));
    const QByteArray before = Read(psw);
    for (const QString& command : {QStringLiteral("psw-load"), QStringLiteral("psw-save")}) {
        SCOPED_TRACE(command.toStdString());
        const QString other = command == QLatin1String("psw-load") ? TempPath(QStringLiteral("back.bmp")) : logo;
        const CliResult r = Run({command, psw, "--slot", "5", "--model", "WGJ33", other});
        EXPECT_EQ(r.status, cli::kExitRefused);
        EXPECT_EQ(r.err.toStdString(), ("glyphane-cli: " + psw + " has no slot 5: its slots are 1 to 3\n").toStdString());
    }
    EXPECT_EQ(Read(psw), before);
    EXPECT_FALSE(QFile::exists(TempPath(QStringLiteral("back.bmp"))));
}

// Only a black-and-white logo of the printer's size goes into a slot, as the
// editor's command is offered only for one: anything else is refused, not cut
// or padded into the slot.
TEST_F(CliTest, PswSaveRefusesAColourLogoAndOneOfAnotherSize)
{
    const QString psw = TempPath(QStringLiteral("up.psw"));
    ASSERT_TRUE(pswmaker::Make(psw, QStringLiteral("WGJ33"), {{576, 240, {}}}));
    const QByteArray before = Read(psw);
    QImage colour(576, 240, QImage::Format_RGB32);
    colour.fill(qRgb(200, 30, 30));
    ASSERT_TRUE(colour.save(TempPath(QStringLiteral("colour.bmp")), "BMP"));
    struct Case {
        QString logo;
        QString says;
    };
    const QString small = SaveLogo(QStringLiteral("small.bmp"), WhiteWithBlackDot(64, 24, 0, 0));
    const QString wide = SaveLogo(QStringLiteral("wide.bmp"), WhiteWithBlackDot(584, 240, 0, 0));
    const Case cases[] = {
        {TempPath(QStringLiteral("colour.bmp")), QStringLiteral("you must to convert the file in black and white")},
        {small, small + QStringLiteral(" is 64 x 24 dots, a logo of the WGJ33 is 576 x 240 (see resize)")},
        {wide, wide + QStringLiteral(" is 584 x 240 dots, a logo of the WGJ33 is 576 x 240 (see resize)")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.logo.toStdString());
        const CliResult r = Run({"psw-save", psw, "--slot", "1", "--model", "WGJ33", c.logo});
        EXPECT_EQ(r.status, cli::kExitRefused);
        EXPECT_EQ(r.err.toStdString(), ("glyphane-cli: " + c.says + "\n").toStdString());
        EXPECT_EQ(Read(psw), before);
    }
    const QString fits = SaveLogo(QStringLiteral("fits.bmp"), WhiteWithBlackDot(576, 240, 0, 0));
    EXPECT_EQ(Run({"psw-save", psw, "--slot", "1", "--model", "WGJ33", fits}).status, cli::kExitOk);
    EXPECT_NE(Read(psw), before);
}
