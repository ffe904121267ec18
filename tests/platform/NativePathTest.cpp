#include "platform/NativePath.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(NativePath, TurnsStoredNamesIntoNativePaths)
{
    struct Case {
        const char* stored;
        const char* native;
    } const cases[] = {
        {"CfgFile\\WGJ33.cfg", "CfgFile/WGJ33.cfg"},
        {"/opt/glyphane/\\CfgFile\\WGJ33.cfg", "/opt/glyphane/CfgFile/WGJ33.cfg"},
        {"/opt//glyphane\\\\data/", "/opt/glyphane/data/"},
        {"\\\\share\\x", "/share/x"},
        {"plain.bmp", "plain.bmp"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NativePath(QString::fromUtf8(c.stored)), QString::fromUtf8(c.native)) << c.stored;
}

TEST(NativePath, JoinIsPlainConcatenationLikeTheProgramExpects)
{
    EXPECT_EQ(JoinProgramPath("/opt/glyphane/", "CfgFile\\WGJ33.cfg"), "/opt/glyphane/CfgFile/WGJ33.cfg");
    // A folder without its trailing separator runs into the name, as it always did.
    EXPECT_EQ(JoinProgramPath("/opt/glyphane", "Glyphane.log"), "/opt/glyphaneGlyphane.log");
    EXPECT_EQ(JoinProgramPath("C:\\Glyphane\\", "HeaderNewFile.bmp"), "C:/Glyphane/HeaderNewFile.bmp");
}

TEST(NativePath, JoinedPathOpensARealFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkpath("CfgFile"));
    QFile f(dir.filePath("CfgFile/WGJ33.cfg"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
    f.close();
    const QString stored = dir.path() + "\\";
    QFile reopened(JoinProgramPath(stored, "CfgFile\\WGJ33.cfg"));
    EXPECT_TRUE(reopened.open(QIODevice::ReadOnly));
}
