#include "platform/AtomicFile.h"

#include <QSaveFile>
#include <cerrno>

namespace {

// Qt reports a failed write without its cause (often as "Unknown error"), so
// the cause is the system's error code, read right after the failing call.
bool MeansNoRoom(int code)
{
    return code == ENOSPC || code == EDQUOT || code == EFBIG;
}

} // namespace

bool WriteFileAtomically(const QString& path, const QList<QByteArray>& parts, QString* error)
{
    return WriteFileAtomically(path, parts, error, nullptr);
}

bool WriteFileAtomically(const QString& path, const QList<QByteArray>& parts, QString* error, bool* noRoom)
{
    QSaveFile file(path);
    if (noRoom)
        *noRoom = false;
    errno = 0; // a code left from earlier calls must not be taken for this one's
    auto fail = [&] {
        const int code = errno;
        if (error)
            *error = file.errorString();
        if (noRoom)
            *noRoom = MeansNoRoom(code);
        file.cancelWriting();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly))
        return fail();
    for (const QByteArray& part : parts)
        if (file.write(part) != part.size())
            return fail();
    // The writes above may only have filled Qt's buffer; a write error during
    // the final flush is not reliably reported by commit(), so flush first.
    if (!file.flush())
        return fail();
    if (!file.commit()) {
        const int code = errno;
        if (error)
            *error = file.errorString();
        if (noRoom)
            *noRoom = MeansNoRoom(code);
        return false;
    }
    return true;
}
