#pragma once
// Builds upgrade files for tests with scripts/make-psw, so every file a test
// reads is made by a writer that shares no code with the reader.
#include "support/TestEnv.h"

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace pswmaker {

struct CSlot {
    int width;
    int height;
    QByteArray logo; // a 1-bit BMP, or bytes already in the slot's layout; empty = filler
};

// Writes path; false (with the script's complaint in *error) on failure.
inline bool Make(const QString& path, const QString& name, const QList<CSlot>& slotList, int device = 1,
                 int key = 0x5A, QString* error = nullptr)
{
    QStringList args{testenv::SourceDir() + QStringLiteral("/scripts/make-psw"), path, QStringLiteral("--name"),
                     name, QStringLiteral("--device"), QString::number(device), QStringLiteral("--key"),
                     QString::number(key)};
    for (int i = 0; i < slotList.size(); ++i) {
        args << QStringLiteral("--slot") << QStringLiteral("%1x%2").arg(slotList[i].width).arg(slotList[i].height);
        if (slotList[i].logo.isEmpty())
            continue;
        const QString logoPath = path + QStringLiteral(".logo%1").arg(i + 1);
        QFile logo(logoPath);
        if (!logo.open(QIODevice::WriteOnly) || logo.write(slotList[i].logo) != slotList[i].logo.size())
            return false;
        args << QStringLiteral("--logo") << QStringLiteral("%1=%2").arg(i + 1).arg(logoPath);
    }
    QProcess script;
    script.start(QStringLiteral("python3"), args);
    const bool ok = script.waitForFinished(30000) && script.exitStatus() == QProcess::NormalExit &&
                    script.exitCode() == 0;
    if (error)
        *error = QString::fromLocal8Bit(script.readAllStandardError());
    return ok;
}

inline QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Big-endian field helpers for poking hostile values into a file.
inline void PutBigEndian(QByteArray& bytes, int at, quint32 value, int count)
{
    for (int i = count - 1; i >= 0; --i, value >>= 8)
        bytes[at + i] = static_cast<char>(value & 0xFF);
}

} // namespace pswmaker
