#include "components/RegHnd.h"
#include "components/SettingsStore.h"

#include "support/TestEnv.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>
#include <gtest/gtest.h>

namespace {

CRegHnd BoundRegistry()
{
    CRegHnd reg;
    reg.InitObject(nullptr, QStringLiteral("Glyphane"));
    return reg;
}

} // namespace

TEST(RegHnd, StringValuesOrError)
{
    testenv::ScopedSettingsFile settings(testenv::DefaultRegistrySection());
    CRegHnd unbound;
    EXPECT_EQ(unbound.ReadStringRegValue(QStringLiteral("Version")), QStringLiteral("ERROR"));
    EXPECT_FALSE(unbound.InitObject(nullptr, QString()));

    const CRegHnd reg = BoundRegistry();
    EXPECT_EQ(reg.ReadStringRegValue(QStringLiteral("Application Name")), QStringLiteral("Glyphane"));
    EXPECT_EQ(reg.ReadStringRegValue(QStringLiteral("Autodetect")), QStringLiteral("PrnToTest.cfg"));
    EXPECT_EQ(reg.ReadStringRegValue(QStringLiteral("Path")), testenv::ProgramDir());
    EXPECT_EQ(reg.ReadStringRegValue(QStringLiteral("NoSuchValue")), QStringLiteral("ERROR"));
}

TEST(RegHnd, MissingPathIsAnErrorEvenWithDefaultsAround)
{
    // With GLYPHANE_SETTINGS only that file counts: the build's defaults must
    // not fill the gap.
    testenv::ScopedSettingsFile settings("[Registry]\nVersion=2.0\n");
    EXPECT_TRUE(CSettingsStore::DefaultsFilePath().isEmpty());
    EXPECT_EQ(BoundRegistry().ReadStringRegValue(QStringLiteral("Path")), QStringLiteral("ERROR"));
}

TEST(RegHnd, DwordFoundFlagAndDefault)
{
    testenv::ScopedSettingsFile settings("[Registry]\nSettings=7\nCustomer=0x1\nBad=12x\nHuge=4294967296\n"
                                         "Octal=010\n");
    const CRegHnd reg = BoundRegistry();
    int found = -1;
    EXPECT_EQ(reg.ReadDWORDRegValue(QStringLiteral("Settings"), 0, &found), 7u);
    EXPECT_EQ(found, 1);
    EXPECT_EQ(reg.ReadDWORDRegValue(QStringLiteral("Customer"), 0, &found), 1u);
    EXPECT_EQ(found, 1);
    EXPECT_EQ(reg.ReadDWORDRegValue(QStringLiteral("Octal"), 0, &found), 10u);
    EXPECT_EQ(reg.ReadDWORDRegValue(QStringLiteral("Missing"), 42, &found), 42u);
    EXPECT_EQ(found, 0);
    EXPECT_EQ(reg.ReadDWORDRegValue(QStringLiteral("Bad"), 5, &found), 5u);
    EXPECT_EQ(found, 0);
    EXPECT_EQ(reg.ReadDWORDRegValue(QStringLiteral("Huge"), 5, &found), 5u);
    EXPECT_EQ(found, 0);
    EXPECT_EQ(reg.ReadDWORDRegValue(QStringLiteral("Settings"), 0, nullptr), 7u);
}

TEST(RegHnd, WriteReadRoundTripKeepsOtherValues)
{
    testenv::ScopedSettingsFile settings(testenv::DefaultRegistrySection());
    CRegHnd reg = BoundRegistry();
    ASSERT_TRUE(reg.WriteDWORDRegValue(QStringLiteral("Settings"), 0xFFFFFFFFu));
    int found = 0;
    EXPECT_EQ(reg.ReadDWORDRegValue(QStringLiteral("Settings"), 0, &found), 0xFFFFFFFFu);
    EXPECT_EQ(found, 1);
    ASSERT_TRUE(reg.WriteDWORDRegValue(QStringLiteral("New Value"), 3));
    EXPECT_EQ(reg.ReadDWORDRegValue(QStringLiteral("New Value"), 0, &found), 3u);
    EXPECT_EQ(reg.ReadStringRegValue(QStringLiteral("HeaderNewFile")), QStringLiteral("HeaderNewFile.bmp"));
    // The value really is in the file, in the Registry group.
    QSettings file(settings.path(), QSettings::IniFormat);
    EXPECT_EQ(file.value(QStringLiteral("Registry/Settings")).toString(), QStringLiteral("4294967295"));
    EXPECT_FALSE(CRegHnd().WriteDWORDRegValue(QStringLiteral("Settings"), 1));
}

TEST(SettingsStore, UserFileWinsOverDefaultsAndWritesGoThere)
{
    // Runs only with a private configuration folder (as ctest provides), so a
    // developer's own settings are never touched.
    if (qEnvironmentVariable("XDG_CONFIG_HOME").isEmpty())
        GTEST_SKIP() << "XDG_CONFIG_HOME not set";
    const bool hadOverride = qEnvironmentVariableIsSet("GLYPHANE_SETTINGS");
    const QByteArray previous = qgetenv("GLYPHANE_SETTINGS");
    qunsetenv("GLYPHANE_SETTINGS");

    const QString defaults = CSettingsStore::DefaultsFilePath();
    EXPECT_EQ(QFileInfo(defaults).fileName(), QStringLiteral("glyphane-defaults.ini"));
    EXPECT_TRUE(CSettingsStore::UserFilePath().endsWith(QStringLiteral("/Glyphane/Glyphane.ini")));
    EXPECT_EQ(CSettingsStore::UserFilePath(),
              QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Glyphane"), QStringLiteral("Glyphane"))
                  .fileName())
        << "the file Qt's own user-scope settings would use";
    {
        QSettings user(CSettingsStore::UserFilePath(), QSettings::IniFormat);
        user.remove(QStringLiteral("Registry/Version"));
    }
    const CRegHnd reg = BoundRegistry();
    const QString fromDefaults = reg.ReadStringRegValue(QStringLiteral("Version"));
    EXPECT_NE(fromDefaults, QStringLiteral("ERROR"));
    EXPECT_TRUE(CSettingsStore::Contains(QStringLiteral("Ports"), QStringLiteral("COM1")));

    ASSERT_TRUE(CSettingsStore::SetValue(QStringLiteral("Registry"), QStringLiteral("Version"),
                                         QStringLiteral("9.9.9")));
    EXPECT_EQ(reg.ReadStringRegValue(QStringLiteral("Version")), QStringLiteral("9.9.9"));
    QSettings defaultsFile(defaults, QSettings::IniFormat);
    EXPECT_EQ(defaultsFile.value(QStringLiteral("Registry/Version")).toString(), fromDefaults);

    {
        QSettings user(CSettingsStore::UserFilePath(), QSettings::IniFormat);
        user.remove(QStringLiteral("Registry/Version"));
    }
    EXPECT_EQ(reg.ReadStringRegValue(QStringLiteral("Version")), fromDefaults);
    if (hadOverride)
        qputenv("GLYPHANE_SETTINGS", previous);
}

TEST(SettingsStore, ProgramPathMarkerOnlyResolvesTheMarker)
{
    EXPECT_EQ(CSettingsStore::ResolveProgramPath(QStringLiteral("/opt/x/")), QStringLiteral("/opt/x/"));
    if (qEnvironmentVariable("XDG_DATA_HOME").isEmpty())
        GTEST_SKIP() << "XDG_DATA_HOME not set";
    const QString resolved = CSettingsStore::ResolveProgramPath(CSettingsStore::UserDataMarker());
    EXPECT_EQ(resolved, qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/Glyphane/"));
}
