#pragma once
// Writing a file so that it is either written completely or not at all: the
// bytes go to a temporary file beside the target, which replaces the target
// only when every byte reached the disk. A full disk or a size limit
// therefore never leaves a truncated file, and never touches the old one.
//
// A folder that takes no new file (no write permission for the user, an
// immutable folder) leaves no room for that temporary file, though the
// target itself may still be writable. SaveFile then writes the existing file
// where it stands, after reserving the room the new bytes need, so a full
// disk is still found before any byte of the old file changes.
#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

// Why a write failed.
enum class WriteFailure {
    None,
    NoRoom,       // the file could not grow: a full disk, a full quota or a file size limit
    FolderClosed, // the folder takes no new file
    Changed,      // the file is no longer the one that was read
    Other,
};

bool WriteFileAtomically(const QString& path, const QList<QByteArray>& parts, QString* error = nullptr,
                         WriteFailure* failure = nullptr);

// Replaces the whole content of an existing file where it stands. Room for the
// new length is reserved first; when it cannot be had the file keeps its
// bytes and its length. Not atomic against a crash half-way, so it is only the
// way out where WriteFileAtomically cannot work.
bool RewriteInPlace(const QString& path, const QList<QByteArray>& parts, QString* error = nullptr,
                    WriteFailure* failure = nullptr);

// What a file must still be before bytes are written into it in place: its
// size, and its first bytes.
struct CFileExpectation {
    qint64 size = -1;
    QByteArray head;
};

// Writes bytes at offset of an existing file that keeps its length, when the
// file is still as expected (failure Changed otherwise, nothing written).
bool WriteBytesInPlace(const QString& path, qint64 offset, const QByteArray& bytes, const CFileExpectation& expected,
                       QString* error = nullptr, WriteFailure* failure = nullptr);

// How a save went.
enum class SaveWay { Replaced, InPlace };

struct CSaveOutcome {
    bool ok = false;
    SaveWay way = SaveWay::Replaced;
    WriteFailure failure = WriteFailure::None;
    QString error;
};

// The writer used where the folder takes no new file; null = RewriteInPlace
// of the same parts.
using InPlaceWriter = std::function<bool(QString* error, WriteFailure* failure)>;

// Saves parts as the file at path: atomically, or, when the folder takes no new
// file and the file is already there, in place by inPlace.
CSaveOutcome SaveFile(const QString& path, const QList<QByteArray>& parts, const InPlaceWriter& inPlace = {});
