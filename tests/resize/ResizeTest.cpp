// The resize command of the command-line tool: the written logo and the
// refused values.
#include "app/CliCommands.h"
#include "app/GlyphaneApp.h"
#include "document/GlyphaneDoc.h"
#include "document/ResizeTestHelpers.h"
#include "support/ProgramFixture.h"

#include <QImageReader>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace resizetest;

namespace {

// A started program (headless): the header template and the program folder.
class ResizeWithProgram : public testenv::ProgramFixture {
protected:
    ResizeWithProgram()
        : ProgramFixture(Launch::Headless)
    {
    }

    QString Tmp(const QString& name) const { return TempPath(name); }

    QString SaveLogo(const QString& name, const QImage& image)
    {
        auto doc = LogoDocument(image);
        EXPECT_TRUE(doc->WriteBitmapFile(Tmp(name)));
        return Tmp(name);
    }

    int RunCli(const QStringList& args, QString* errText = nullptr)
    {
        QString outText, err;
        QTextStream out(&outText), errStream(&err);
        const int status = cli::Run(args, out, errStream);
        errStream.flush();
        if (errText)
            *errText = err;
        return status;
    }

};

} // namespace

TEST_F(ResizeWithProgram, CommandLineWritesTheResizedLogo)
{
    const QImage old = Pattern(30, 30);
    const QString in = SaveLogo("in.bmp", old);
    QString err;
    ASSERT_EQ(RunCli({"resize", in, Tmp("tiled.bmp"), "--width", "100", "--height", "64", "--placement", "tile"}, &err),
              cli::kExitOk)
        << err.toStdString();
    const QImage tiled = QImageReader(Tmp("tiled.bmp")).read();
    EXPECT_EQ(tiled.depth(), 1);
    ExpectSameImage(tiled.convertToFormat(QImage::Format_RGB32),
                    Reference(old, 100, 64, [](int x, int y) { return QPoint(x % 30, y % 30); }), "cli-tile");

    for (const char* placement : {"center", "left", "stretch", "resize"}) {
        ASSERT_EQ(RunCli({"resize", in, Tmp("out.bmp"), "--width", "45", "--height", "20", "--placement", placement}),
                  cli::kExitOk)
            << placement;
        EXPECT_EQ(QImageReader(Tmp("out.bmp")).size(), QSize(45, 20)) << placement;
    }
}

TEST_F(ResizeWithProgram, CommandLineRefusesBadValuesAndWrongUsage)
{
    const QString in = SaveLogo("in.bmp", Pattern(10, 10));
    const QString out = Tmp("out.bmp");
    const QStringList good = {"--width", "20", "--height", "20", "--placement", "center"};

    // Wrong usage: 2.
    EXPECT_EQ(RunCli(QStringList{"resize", in} + good), cli::kExitUsage) << "no output file";
    EXPECT_EQ(RunCli({"resize", in, out, "--width", "20", "--height", "20"}), cli::kExitUsage) << "no placement";
    EXPECT_EQ(RunCli({"resize", in, out, "--height", "20", "--placement", "left"}), cli::kExitUsage) << "no width";
    EXPECT_EQ(RunCli(QStringList{"resize", in, out, "--depth", "1"} + good), cli::kExitUsage);
    EXPECT_EQ(RunCli({"resize", in, out, "--width"}), cli::kExitUsage);

    // Refused values: 1, with a one-line message and no file written.
    QString err;
    EXPECT_EQ(RunCli({"resize", in, out, "--width", "20", "--height", "20", "--placement", "zoom"}, &err),
              cli::kExitRefused);
    EXPECT_EQ(err, "glyphane-cli: --placement takes center, left, stretch, tile or resize\n");
    for (const char* width : {"0", "-3", "abc", "16385"})
        EXPECT_EQ(RunCli({"resize", in, out, "--width", width, "--height", "20", "--placement", "left"}),
                  cli::kExitRefused)
            << width;
    EXPECT_EQ(RunCli(QStringList{"resize", Tmp("missing.bmp"), out} + good), cli::kExitRefused);
    EXPECT_FALSE(QFile::exists(out));
}
