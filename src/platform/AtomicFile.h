#pragma once
// Writing a whole file so that it is either written completely or not at
// all: the bytes go to a temporary file beside the target, which replaces the
// target only when every byte reached the disk. A full disk or a size limit
// therefore never leaves a truncated file, and never touches the old one.
#include <QByteArray>
#include <QList>
#include <QString>

bool WriteFileAtomically(const QString& path, const QList<QByteArray>& parts, QString* error = nullptr);

// The same; noRoom tells whether it failed because the file could not grow
// (a full disk, a full quota or a file size limit).
bool WriteFileAtomically(const QString& path, const QList<QByteArray>& parts, QString* error, bool* noRoom);
