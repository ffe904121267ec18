#include "platform/AtomicFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Qt reports a failed write without its cause (often as "Unknown error"), so
// the cause is the system's error code, read right after the failing call.
bool MeansNoRoom(int code)
{
    return code == ENOSPC || code == EDQUOT || code == EFBIG;
}

WriteFailure FailureOfWrite(int code)
{
    return MeansNoRoom(code) ? WriteFailure::NoRoom : WriteFailure::Other;
}

// A temporary file that cannot be created beside the target: the folder
// refuses the user a new entry (permissions, an immutable or read-only folder).
WriteFailure FailureOfCreate(int code)
{
    if (code == EACCES || code == EPERM || code == EROFS)
        return WriteFailure::FolderClosed;
    return FailureOfWrite(code);
}

bool Fail(QString* error, WriteFailure* failure, const QString& why, WriteFailure kind)
{
    if (error)
        *error = why;
    if (failure)
        *failure = kind;
    return false;
}

void Succeed(QString* error, WriteFailure* failure)
{
    if (error)
        error->clear();
    if (failure)
        *failure = WriteFailure::None;
}

bool WriteAll(QFileDevice& file, const QList<QByteArray>& parts)
{
    for (const QByteArray& part : parts)
        if (file.write(part) != part.size())
            return false;
    return file.flush();
}

// Room on the disk for a file of length bytes, taken before any byte of its
// content changes. 0 or the error number of the reservation.
int ReserveRoom(QFile& file, qint64 length)
{
    if (length <= file.size())
        return 0;
    const qint64 before = file.size();
    const int code = posix_fallocate(file.handle(), 0, length);
    if (code != 0 && file.size() != before)
        file.resize(before); // a reservation cut short may have grown the file
    return code;
}

} // namespace

bool WriteFileAtomically(const QString& path, const QList<QByteArray>& parts, QString* error, WriteFailure* failure)
{
    QSaveFile file(path);
    errno = 0; // a code left from earlier calls must not be taken for this one's
    if (!file.open(QIODevice::WriteOnly)) {
        const int code = errno;
        return Fail(error, failure, file.errorString(), FailureOfCreate(code));
    }
    // The writes may only fill Qt's buffer; a write error during the final
    // flush is not reliably reported by commit(), so WriteAll flushes first.
    if (!WriteAll(file, parts)) {
        const int code = errno;
        const QString why = file.errorString();
        file.cancelWriting();
        return Fail(error, failure, why, FailureOfWrite(code));
    }
    if (!file.commit()) {
        const int code = errno;
        return Fail(error, failure, file.errorString(), FailureOfWrite(code));
    }
    Succeed(error, failure);
    return true;
}

bool RewriteInPlace(const QString& path, const QList<QByteArray>& parts, QString* error, WriteFailure* failure)
{
    QFile file(path);
    errno = 0;
    if (!file.exists() || !file.open(QIODevice::ReadWrite)) { // ReadWrite keeps the bytes until they are replaced
        const int code = errno;
        return Fail(error, failure, file.errorString(), FailureOfWrite(code));
    }
    qint64 length = 0;
    for (const QByteArray& part : parts)
        length += part.size();
    if (const int code = ReserveRoom(file, length); MeansNoRoom(code))
        return Fail(error, failure, QString::fromLocal8Bit(strerror(code)), WriteFailure::NoRoom);
    errno = 0;
    if (!file.seek(0) || !WriteAll(file, parts) || !file.resize(length) || fsync(file.handle()) != 0) {
        const int code = errno;
        return Fail(error, failure, file.errorString(), FailureOfWrite(code));
    }
    Succeed(error, failure);
    return true;
}

bool WriteBytesInPlace(const QString& path, qint64 offset, const QByteArray& bytes, const CFileExpectation& expected,
                       QString* error, WriteFailure* failure)
{
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly)) {
        const int code = errno;
        return Fail(error, failure, file.errorString(), FailureOfWrite(code));
    }
    if (file.size() != expected.size || file.read(expected.head.size()) != expected.head)
        return Fail(error, failure, QStringLiteral("the file changed since it was read"), WriteFailure::Changed);
    if (offset < 0 || offset + bytes.size() > file.size())
        return Fail(error, failure, QStringLiteral("the bytes lie outside the file"), WriteFailure::Other);
    errno = 0;
    if (!file.seek(offset) || !WriteAll(file, {bytes}) || fsync(file.handle()) != 0) {
        const int code = errno;
        return Fail(error, failure, file.errorString(), FailureOfWrite(code));
    }
    Succeed(error, failure);
    return true;
}

CSaveOutcome SaveFile(const QString& path, const QList<QByteArray>& parts, const InPlaceWriter& inPlace)
{
    CSaveOutcome outcome;
    outcome.ok = WriteFileAtomically(path, parts, &outcome.error, &outcome.failure);
    if (outcome.ok || outcome.failure != WriteFailure::FolderClosed || !QFileInfo(path).isFile())
        return outcome;
    outcome.way = SaveWay::InPlace;
    outcome.ok = inPlace ? inPlace(&outcome.error, &outcome.failure)
                         : RewriteInPlace(path, parts, &outcome.error, &outcome.failure);
    return outcome;
}
