#include "support/DiskConditions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <sys/fsuid.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace testenv {

namespace {

QString SystemError(const char* what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

// This thread's own mount namespace, with nothing shared back to the system:
// made on the first call, an empty string when it is there.
QString PrivateMounts()
{
    static const QString why = [] {
        if (unshare(CLONE_NEWNS) != 0)
            return SystemError("a mount namespace of the test's own cannot be made");
        if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return SystemError("the test's mounts cannot be kept private");
        return QString();
    }();
    return why;
}

qint64 FreeBytes(const QString& folder)
{
    struct statvfs fs {};
    if (statvfs(QFile::encodeName(folder).constData(), &fs) != 0)
        return -1;
    return static_cast<qint64>(fs.f_bavail) * static_cast<qint64>(fs.f_frsize);
}

constexpr unsigned kNobody = 65534; // user and group

} // namespace

SmallDisk::SmallDisk(int kib)
{
    m_why = PrivateMounts();
    if (!m_why.isEmpty())
        return;
    QByteArray folder = QFile::encodeName(QDir::tempPath() + QStringLiteral("/glyphane-small-disk-XXXXXX"));
    if (!mkdtemp(folder.data())) {
        m_why = SystemError("no folder to mount the small disk on");
        return;
    }
    m_folder = QFile::decodeName(folder);
    const QByteArray options = "size=" + QByteArray::number(kib) + "k,mode=0755";
    if (mount("tmpfs", folder.constData(), "tmpfs", MS_NOSUID | MS_NODEV, options.constData()) != 0) {
        m_why = SystemError("a small tmpfs cannot be mounted");
        rmdir(folder.constData());
        m_folder.clear();
    }
}

SmallDisk::~SmallDisk()
{
    if (m_folder.isEmpty())
        return;
    const QByteArray folder = QFile::encodeName(m_folder);
    umount2(folder.constData(), MNT_DETACH);
    rmdir(folder.constData());
}

QString SmallDisk::Path(const QString& name) const
{
    return m_folder + QLatin1Char('/') + name;
}

bool SmallDisk::FillLeaving(qint64 bytes)
{
    QFile filler(Path(QStringLiteral("filler")));
    if (!IsReady() || !filler.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const QByteArray block(512, '\0');
    while (FreeBytes(m_folder) >= bytes) {
        if (filler.write(block) != block.size() || !filler.flush())
            break;
    }
    filler.close();
    const qint64 left = FreeBytes(m_folder);
    return left >= 0 && left < bytes;
}

ClosedFolder::ClosedFolder(const QString& folder)
    : m_folder(folder)
{
    const QByteArray path = QFile::encodeName(folder);
    const QByteArray parent = QFile::encodeName(QFileInfo(folder).absolutePath());
    if (chmod(parent.constData(), 0755) != 0 || chmod(path.constData(), 0555) != 0) {
        m_why = SystemError("the folder's permissions cannot be changed");
        return;
    }
    for (const QFileInfo& file : QDir(folder).entryInfoList(QDir::Files))
        OpenToAll(file.absoluteFilePath());
    if (geteuid() == 0) {
        m_previousFsGid = setfsgid(kNobody);
        m_previousFsUid = setfsuid(kNobody);
    }
    // The proof: a new file cannot be made in the folder.
    const QByteArray probe = path + "/.probe";
    const int fd = open(probe.constData(), O_CREAT | O_EXCL | O_WRONLY, 0644);
    if (fd >= 0) {
        close(fd);
        unlink(probe.constData());
        m_why = QStringLiteral("the folder still takes new files (file-system identity %1)").arg(setfsuid(-1));
    }
}

ClosedFolder::~ClosedFolder()
{
    if (m_previousFsUid >= 0)
        setfsuid(static_cast<uid_t>(m_previousFsUid));
    if (m_previousFsGid >= 0)
        setfsgid(static_cast<gid_t>(m_previousFsGid));
    chmod(QFile::encodeName(m_folder).constData(), 0755);
}

bool ClosedFolder::OpenToAll(const QString& file)
{
    return chmod(QFile::encodeName(file).constData(), 0666) == 0;
}

} // namespace testenv
