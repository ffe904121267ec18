#include "TestEnv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace testenv {

CDocEnvironment DocEnvironment()
{
    CDocEnvironment env;
    env.programFolder = ProgramDir();
    env.headerTemplateName = QStringLiteral("HeaderNewFile.bmp");
    return env;
}

namespace {

// A program folder of this process's own: its configuration files and
// folders are links to the build's, and what the program writes there (the
// application log, the send logs, the USB dump) stays here, so test programs
// running side by side never read each other's lines.
QString MakePrivateProgramDir()
{
    static QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/glyphane-program-XXXXXX"));
    const QDir build(QStringLiteral(GLYPHANE_PROGRAM_DIR));
    if (!folder.isValid())
        return build.absolutePath() + QLatin1Char('/');
    const QStringList written = {QStringLiteral("*.log"), QStringLiteral("*.bin")};
    for (const QFileInfo& entry : build.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
        if (QDir::match(written, entry.fileName()))
            continue;
        QFile::link(entry.absoluteFilePath(), folder.filePath(entry.fileName()));
    }
    return folder.path() + QLatin1Char('/');
}

} // namespace

QString ProgramDir()
{
    static const QString dir = MakePrivateProgramDir();
    return dir;
}

QString SourceDir() { return QStringLiteral(GLYPHANE_SOURCE_DIR); }

QString SharedTestData()
{
    const QString dir = QStringLiteral(GLYPHANE_SHARED_DIR) + QStringLiteral("/testdata");
    return QFileInfo(dir).isDir() ? QDir(dir).absolutePath() : QString();
}

ScopedSettingsFile::ScopedSettingsFile(const QByteArray& content)
{
    m_path = m_dir.filePath(QStringLiteral("settings.ini"));
    QFile f(m_path);
    if (f.open(QIODevice::WriteOnly))
        f.write(content);
    m_hadPrevious = qEnvironmentVariableIsSet("GLYPHANE_SETTINGS");
    m_previous = qgetenv("GLYPHANE_SETTINGS");
    qputenv("GLYPHANE_SETTINGS", m_path.toLocal8Bit());
}

ScopedSettingsFile::~ScopedSettingsFile()
{
    if (m_hadPrevious)
        qputenv("GLYPHANE_SETTINGS", m_previous);
    else
        qunsetenv("GLYPHANE_SETTINGS");
}

QByteArray DefaultRegistrySection()
{
    return QByteArray("[Registry]\n"
                      "Application%20Name=Glyphane\n"
                      "Version=1.0.0\n"
                      "Path=") + ProgramDir().toUtf8() + QByteArray("\n"
                      "HtmlHelpFile=Glyphane.html\n"
                      "Autodetect=PrnToTest.cfg\n"
                      "HeaderNewFile=HeaderNewFile.bmp\n"
                      "Settings=0\n"
                      "Customer=0\n");
}

QByteArray ClientRegistrySection()
{
    QByteArray registry = DefaultRegistrySection();
    registry.replace("Customer=0", "Customer=1");
    return registry;
}

} // namespace testenv
