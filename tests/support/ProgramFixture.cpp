#include "support/ProgramFixture.h"

#include "app/GlyphaneApp.h"
#include "document/GlyphaneDoc.h"
#include "view/GlyphaneView.h"

#include <QDir>
#include <QImage>

namespace testenv {

void ProgramFixture::SetUp()
{
    ASSERT_TRUE(m_cwd.isValid());
    m_previousCwd = QDir::currentPath();
    QDir::setCurrent(m_cwd.path());
    switch (m_launch) {
    case Launch::Window:
        ASSERT_TRUE(StartProgram(Settings()));
        break;
    case Launch::Headless:
        ASSERT_TRUE(StartHeadless(Settings()));
        break;
    case Launch::ByTest:
        break;
    }
}

void ProgramFixture::TearDown()
{
    // Ending a program that never started (or failed to) is harmless, and a
    // test may leave it in either state.
    GetApp()->ExitInstance();
    m_settings.reset();
    if (!m_previousCwd.isEmpty())
        QDir::setCurrent(m_previousCwd);
}

void ProgramFixture::UseSettings(const QByteArray& content)
{
    m_settings.reset(); // restores the previous value first, so the new one restores it again
    m_settings = std::make_unique<ScopedSettingsFile>(content);
}

bool ProgramFixture::StartProgram(const QByteArray& settings)
{
    UseSettings(settings);
    return GetApp()->InitInstance();
}

bool ProgramFixture::StartHeadless(const QByteArray& settings)
{
    UseSettings(settings);
    return GetApp()->InitHeadless();
}

QString ProgramFixture::SettingsPath() const
{
    return m_settings ? m_settings->path() : QString();
}

std::unique_ptr<QSettings> ProgramFixture::Profile() const
{
    return std::make_unique<QSettings>(SettingsPath(), QSettings::IniFormat);
}

QString ProgramFixture::WriteWhiteLogo(int width, int height, const QString& name) const
{
    QImage image(width, height, QImage::Format_Mono);
    image.setColorTable({0xFF000000u, 0xFFFFFFFFu});
    image.fill(1);
    const QString path =
        TempPath(name.isEmpty() ? QStringLiteral("logo%1x%2.bmp").arg(width).arg(height) : name);
    return image.save(path, "BMP") ? path : QString();
}

CGlyphaneDoc* ProgramFixture::OpenWhiteLogoFile(int width, int height, const QString& name) const
{
    const QString path = WriteWhiteLogo(width, height, name);
    return path.isEmpty() ? nullptr : GetApp()->OpenDocumentFile(path);
}

CGlyphaneView* ProgramFixture::OpenWhiteLogoView(int width, int height, CGlyphaneDoc*& doc,
                                                const QString& name) const
{
    doc = OpenWhiteLogoFile(width, height, name);
    EXPECT_NE(doc, nullptr);
    if (!doc)
        return nullptr;
    auto* view = qobject_cast<CGlyphaneView*>(doc->GetOwnerWindow());
    EXPECT_NE(view, nullptr);
    return view;
}

} // namespace testenv
