#pragma once
// Shared fixtures: locations of the source tree, the build's program folder
// and the shared test data, and scoped settings files.
#include "document/DocEnvironment.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace testenv {

// The program folder of this test process, with a trailing separator: links
// to the build tree's configuration files, and a place of its own for what
// the program writes there.
QString ProgramDir();
// The source tree.
QString SourceDir();
// The shared test data folder, or an empty string when it is absent (as in a user's clone).
QString SharedTestData();

// A document environment on the build's program folder and its header
// template, with no application configuration and no owner window.
CDocEnvironment DocEnvironment();

// Points GLYPHANE_SETTINGS at a fresh INI file holding `content` for the
// lifetime of the object; the previous value is restored afterwards.
class ScopedSettingsFile {
public:
    explicit ScopedSettingsFile(const QByteArray& content);
    ~ScopedSettingsFile();
    ScopedSettingsFile(const ScopedSettingsFile&) = delete;
    ScopedSettingsFile& operator=(const ScopedSettingsFile&) = delete;
    QString path() const { return m_path; }

private:
    QTemporaryDir m_dir;
    QString m_path;
    QByteArray m_previous;
    bool m_hadPrevious = false;
};

// The registry section of a settings file that starts the program from the
// build tree's program folder; tests edit or drop lines of it.
QByteArray DefaultRegistrySection();
// The same for the client variant of the program (Customer=1).
QByteArray ClientRegistrySection();

} // namespace testenv

// Skips the current test when the shared test data is not there.
#define SKIP_WITHOUT_SHARED_DATA()                                              \
    do {                                                                        \
        if (testenv::SharedTestData().isEmpty())                                \
            GTEST_SKIP() << "shared test data not available";                   \
    } while (0)
