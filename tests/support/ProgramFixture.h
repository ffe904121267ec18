#pragma once
// The program started for a test the way the operator starts it: the
// application's own start-up over a settings file of the test's own, in a
// fresh current folder (start-up writes its trace log there). Ended again, and
// the previous folder and settings restored, after each test.
#include "support/TestEnv.h"

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

class CGlyphaneDoc;
class CGlyphaneView;

namespace testenv {

class ProgramFixture : public ::testing::Test {
protected:
    // When and how the program starts: in SetUp with the main window, in SetUp
    // headless (the command-line tool's start-up), or by the test itself.
    enum class Launch { Window, Headless, ByTest };

    explicit ProgramFixture(Launch launch = Launch::Window) : m_launch(launch) {}

    void SetUp() override;
    void TearDown() override;

    // The settings file a start in SetUp uses; fixtures add sections or
    // replace it.
    virtual QByteArray Settings() const { return DefaultRegistrySection(); }

    // Writes the settings file (replacing an earlier one) without starting.
    void UseSettings(const QByteArray& content);
    // Writes the settings file and runs the start-up; false when it fails.
    bool StartProgram(const QByteArray& settings);
    bool StartHeadless(const QByteArray& settings);

    // The test's current folder, and a file in it.
    QString TempFolder() const { return m_cwd.path(); }
    QString TempPath(const QString& name) const { return m_cwd.filePath(name); }

    QString SettingsPath() const;
    // The settings file as it is on disk now.
    std::unique_ptr<QSettings> Profile() const;

    // Writes a white 1-bit BMP of width x height dots into the current folder
    // (named logo<w>x<h>.bmp unless a name is given); its path, or an empty
    // string when it cannot be written.
    QString WriteWhiteLogo(int width, int height, const QString& name = QString()) const;
    // Opens such a file in a logo window of the started program.
    CGlyphaneDoc* OpenWhiteLogoFile(int width, int height, const QString& name = QString()) const;
    // The same, giving the window's view and its document (null when either
    // is missing, which fails the test). Events are left to the caller.
    CGlyphaneView* OpenWhiteLogoView(int width, int height, CGlyphaneDoc*& doc,
                                     const QString& name = QString()) const;

private:
    Launch m_launch;
    QTemporaryDir m_cwd;
    QString m_previousCwd;
    std::unique_ptr<ScopedSettingsFile> m_settings;
};

} // namespace testenv
