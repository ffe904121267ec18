#include "platform/InstallLayout.h"

#include <QCoreApplication>
#include <QDir>

namespace {

// A folder the build named relative to the prefix (or, if configured so, absolute).
QString UnderPrefix(const QString& configured)
{
    if (QDir::isAbsolutePath(configured))
        return QDir::cleanPath(configured);
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../") + configured);
}

} // namespace

QString InstalledShareFolder()
{
    return UnderPrefix(QStringLiteral(GLYPHANE_INSTALL_DATADIR)) + QStringLiteral("/glyphane");
}

QString InstalledDataFolder()
{
    return InstalledShareFolder() + QStringLiteral("/data");
}

QStringList ModuleCandidates(const QString& fileName)
{
    return {QCoreApplication::applicationDirPath() + QLatin1Char('/') + fileName,
            UnderPrefix(QStringLiteral(GLYPHANE_MODULE_DIR)) + QLatin1Char('/') + fileName};
}
