#include "resources/StringTable.h"
#include "support/TestEnv.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <map>

TEST(StringTable, HoldsTheTextsExactly)
{
    struct Case {
        UINT id;
        const char* text;
    } const cases[] = {
        {128, "Glyphane"},
        {129, "\nGlypha\nGlyphane\nGlyphane Files (*.lgo)\n.lgo\nGlyphane.Document\nGlyphane Document"},
        {1032, "Position: "},
        {1033, "Tool selected: "},
        {1034, "Size: "},
        {1035, "Error"},
        {1037, "The operating system is out of memory or resources. "},
        {1044, "The specified file was not found."},
        {1045, "There is no application associated with the given file name extension. "},
        {1047, "The specified path was not found. "},
        {1049, "No error listed."},
        {6567, "Tool selected: None."},
        {59137, "CAP"},
        {61446, "Glyphane"},
        {61454, "Comunication port not init"},
        {61466, "Possible loss of image data. Do you want to continue ?"},
        {61469, "Printer not selected"},
        {61513, "You have problem during the upgrade procedure. Plaese you must repeat the upgrade."},
        {61522, "%d) Logo %.2d x %.2d"},
        {61523, "\nError open file: %s"},
        {61533, "Warning!\nPlease check if in your Printer, the \"Select Line\" is Set to \"Select\" and the "
                "\"Fault Line\" is set to \"Fault\"."},
        {61534, "Please, select al least one logo!"},
        {61545, "\"Warning! The Selected Printer is OFFLINE!\""},
        {61546, "The selected printer don't matck the printer connected.\nPlease select a right printer and try again."},
        {61547, "The printer %s doesn't support USB Com Port"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LoadString(c.id), QString::fromUtf8(c.text)) << c.id;
}

TEST(StringTable, ShellErrorTextsAreAllThere)
{
    for (UINT id = 1036; id <= 1049; ++id) {
        if (id == 1048)
            EXPECT_TRUE(LoadString(id).isEmpty());
        else
            EXPECT_FALSE(LoadString(id).isEmpty()) << id;
    }
}

// One number, one thing: an id of the command table is written once (a second
// name for it is written as the first), and a text of the string table that
// belongs to a command is loaded by the command's name, never by its number.
TEST(StringTable, CommandIdsAreNumberedOnceAndLoadedByName)
{
    QFile table(testenv::SourceDir() + QStringLiteral("/src/resources/CommandIds.h"));
    ASSERT_TRUE(table.open(QIODevice::ReadOnly));
    std::map<qulonglong, QStringList> names;
    const QRegularExpression definition(QStringLiteral(R"(constexpr\s+UINT\s+(\w+)\s*=\s*(\d+)\s*;)"));
    for (auto it = definition.globalMatch(QString::fromUtf8(table.readAll())); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        names[m.captured(2).toULongLong()].append(m.captured(1));
    }
    ASSERT_GT(names.size(), 50u);
    for (const auto& [number, named] : names)
        EXPECT_EQ(named.size(), 1) << number << " is " << named.join(QStringLiteral(" and ")).toStdString();

    const QRegularExpression byNumber(QStringLiteral(R"(\b(?:LoadString|FormatResString)\((\d+))"));
    QDirIterator sources(testenv::SourceDir() + QStringLiteral("/src"), {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                         QDir::Files, QDirIterator::Subdirectories);
    int files = 0;
    while (sources.hasNext()) {
        QFile source(sources.next());
        ASSERT_TRUE(source.open(QIODevice::ReadOnly));
        ++files;
        int line = 0;
        while (!source.atEnd()) {
            const QString text = QString::fromUtf8(source.readLine());
            ++line;
            for (auto it = byNumber.globalMatch(text); it.hasNext();) {
                const auto found = names.find(it.next().captured(1).toULongLong());
                if (found != names.end())
                    ADD_FAILURE() << source.fileName().toStdString() << ":" << line << " loads the text of "
                                  << found->second.join(QString()).toStdString() << " by its number";
            }
        }
    }
    EXPECT_GT(files, 100);
}

TEST(StringTable, UnknownIdsAreEmpty)
{
    for (UINT id : {0u, 1u, 1048u, 61447u, 61525u, 70000u, 0xFFFFFFFFu})
        EXPECT_TRUE(LoadString(id).isEmpty()) << id;
}

TEST(FormatResString, FillsPlaceholdersLikePrintf)
{
    EXPECT_EQ(FormatResString(61522, 2, 8, 120), "2) Logo 08 x 120");
    EXPECT_EQ(FormatResString(61472, QString("XGNNR789")), "The printer XGNNR789 doesn't support LPT Com Port");
    EXPECT_EQ(FormatResString(61528, 3, "/tmp/a.psw"),
              "\nError! The Logo 3 from the file /tmp/a.psw, isn't compatible with this Printer!");
    EXPECT_EQ(FormatResString(61536, QStringList{"640", "480"}),
              "Error!The X Position must be less than 640, and the Y Position must be less than 480.");
    EXPECT_EQ(FormatPrintf("X:%.3d, Y:%.3d", {QVariant(5), QVariant(42)}), "X:005, Y:042");
    EXPECT_EQ(FormatPrintf("%-4s|%4s|%.2s|%%|%x|%c", {"ab", "cd", "xyz", 255, 65}), "ab  |  cd|xy|%|ff|A");
    EXPECT_EQ(FormatPrintf("%5.1f", {3.14159}), "  3.1");
    EXPECT_EQ(FormatPrintf("%s", {QString()}), "");
}

TEST(FormatResString, MismatchedFormatsNeitherCrashNorExplode)
{
    // Too few arguments: the placeholder stays visible.
    EXPECT_EQ(FormatResString(61519, QString("a.log")),
              "The selected file name: a.log\nwas too short.\nIt will be automatically formatted into old Dos style (8.3): %s.");
    // Wrong types are converted, surplus arguments ignored.
    EXPECT_EQ(FormatPrintf("%d and %s", {"12", 7, "extra"}), "12 and 7");
    EXPECT_EQ(FormatPrintf("%d", {"not a number"}), "0");
    // Unknown conversions and a dangling percent are copied literally.
    EXPECT_EQ(FormatPrintf("%n %w 100%", {1}), "%n %w 100%");
    // Absurd widths are capped instead of allocating gigabytes.
    const QString wide = FormatPrintf("%999999999d", {1});
    EXPECT_LE(wide.size(), 600);
    EXPECT_TRUE(wide.endsWith('1'));
    EXPECT_LE(FormatPrintf("%.999999999s", {"short"}).size(), 5);
    // An unknown id formats to nothing.
    EXPECT_TRUE(FormatResString(4242, 1, 2).isEmpty());
}
