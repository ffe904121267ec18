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
        doc.AttachLogoBitmap(image);
        doc.SetLogoSize(image.width(), image.height());
        EXPECT_TRUE(doc.WriteBitmapFile(TempPath(name)));
        return TempPath(name);
    }

    static QByteArray Read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
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
