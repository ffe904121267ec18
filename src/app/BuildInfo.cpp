#include "app/BuildInfo.h"

#include "app/BuildStamp.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace buildinfo {

QString Build()
{
    const QString commit = QString::fromUtf8(buildstamp::kCommit);
    if (commit.isEmpty())
        return QStringLiteral("unknown");
    return QStringLiteral("%1 (%2)").arg(commit, QString::fromUtf8(buildstamp::kCommitDate));
}

QString Licence()
{
    return QString::fromUtf8(buildstamp::kLicence);
}

QString DocumentationPath()
{
    // The installed folder is found from the executable, so a moved
    // installation still finds it; a build tree has none and points to the
    // sources it was built from.
    const QString installed = QCoreApplication::applicationDirPath() + QLatin1Char('/')
                              + QString::fromUtf8(buildstamp::kDocFolderFromBin) + QStringLiteral("/README.md");
    for (const QString& candidate : {installed, QString::fromUtf8(buildstamp::kSourceReadme)}) {
        const QFileInfo file(candidate);
        if (file.isFile())
            return file.canonicalFilePath();
    }
    return QString();
}

} // namespace buildinfo
