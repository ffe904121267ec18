#include "platform/NativePath.h"

QString NativePath(const QString& stored)
{
    QString native;
    native.reserve(stored.size());
    bool lastWasSeparator = false;
    for (const QChar c : stored) {
        const bool separator = c == u'\\' || c == u'/';
        if (separator && lastWasSeparator)
            continue;
        native.append(separator ? QChar(u'/') : c);
        lastWasSeparator = separator;
    }
    return native;
}

QString JoinProgramPath(const QString& folderWithTrailingSep, const QString& storedName)
{
    return NativePath(folderWithTrailingSep + storedName);
}
