#pragma once
// A started program (InitInstance) over a settings file of the test's own,
// in a fresh current folder; ended again after each test.
#include "app/GlyphaneApp.h"
#include "frame/MainFrame.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QImage>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace frametest {

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_cwd.isValid());
        m_previousCwd = QDir::currentPath();
        QDir::setCurrent(m_cwd.path());
    }
    void TearDown() override
    {
        GetApp()->ExitInstance();
        m_settings.reset();
        QDir::setCurrent(m_previousCwd);
    }

    // Starts the program with extra profile lines after the registry section.
    CMainFrame* Start(const QByteArray& profile = QByteArray())
    {
        m_settings = std::make_unique<testenv::ScopedSettingsFile>(testenv::DefaultRegistrySection() + "\n" + profile);
        if (!GetApp()->InitInstance())
            return nullptr;
        return GetApp()->GetMainFrame();
    }

    // Opens a 64 x 8 white logo written for the test.
    CGlyphaneDoc* OpenLogo()
    {
        QImage image(64, 8, QImage::Format_Mono);
        image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
        image.fill(1);
        const QString path = m_cwd.filePath(QStringLiteral("logo.bmp"));
        if (!image.save(path, "BMP"))
            return nullptr;
        return GetApp()->OpenDocumentFile(path);
    }

    // The profile file as it is on disk now.
    std::unique_ptr<QSettings> Profile() const
    {
        return std::make_unique<QSettings>(m_settings->path(), QSettings::IniFormat);
    }

    QTemporaryDir m_cwd;
    QString m_previousCwd;
    std::unique_ptr<testenv::ScopedSettingsFile> m_settings;
};

} // namespace frametest
