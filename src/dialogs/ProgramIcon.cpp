#include "dialogs/ProgramIcon.h"

#include "platform/ProgramVersion.h"

#include <QDirIterator>

QIcon ProgramIcon()
{
    // The resource holds icons/<N>x<N>/apps/<desktop id>.png; the size comes
    // from the folder's name, so no image is read before one is drawn.
    QIcon icon;
    const QString name = QString::fromLatin1(GlyphaneDesktopId()) + QStringLiteral(".png");
    QDirIterator sizes(QStringLiteral(":/icons"), QDir::Dirs | QDir::NoDotAndDotDot);
    while (sizes.hasNext()) {
        sizes.next();
        const int side = sizes.fileName().section(QLatin1Char('x'), 0, 0).toInt();
        if (side > 0)
            icon.addFile(sizes.filePath() + QStringLiteral("/apps/") + name, QSize(side, side));
    }
    return icon;
}
