#include "components/DeviceAccess.h"

#include <QFileInfo>

#include <cerrno>
#include <grp.h>
#include <sys/stat.h>

QString DeviceGroup(const QString& device)
{
    struct stat info {};
    if (::stat(QFileInfo(device).canonicalFilePath().toLocal8Bit().constData(), &info) != 0)
        return {};
    group entry {};
    group* found = nullptr;
    char buffer[1024];
    if (::getgrgid_r(info.st_gid, &entry, buffer, sizeof buffer, &found) != 0 || !found)
        return {};
    return QString::fromLocal8Bit(found->gr_name);
}

QString NeededGroupText(const QString& device)
{
    const QString group = DeviceGroup(device);
    return group.isEmpty() ? QString() : QStringLiteral("the user needs the group \"%1\"").arg(group);
}

QString AccessHint(const QString& device, int err)
{
    if (err != EACCES && err != EPERM)
        return {};
    const QString needed = NeededGroupText(device);
    return needed.isEmpty() ? QString() : QStringLiteral("; ") + needed;
}
