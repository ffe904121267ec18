#pragma once
// Writes large 1-bit BMP files row by row, as another program would save them,
// without holding the picture in memory: white, with a black dot at the top
// left and one at the bottom right, so a lost row or a flipped picture shows.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtEndian>

namespace onebit {

inline int StoredRowBytes(int width)
{
    return (width + 31) / 32 * 4;
}

// The 62-byte header of a bottom-up file: palette entry 0 black, entry 1 white.
inline QByteArray Header(int width, int height)
{
    const quint32 image = static_cast<quint32>(StoredRowBytes(width)) * static_cast<quint32>(height);
    QByteArray h(62, '\0');
    auto* p = reinterpret_cast<uchar*>(h.data());
    p[0] = 'B';
    p[1] = 'M';
    qToLittleEndian<quint32>(62 + image, p + 2);
    qToLittleEndian<quint32>(62, p + 10);
    qToLittleEndian<quint32>(40, p + 14);
    qToLittleEndian<qint32>(width, p + 18);
    qToLittleEndian<qint32>(height, p + 22);
    qToLittleEndian<quint16>(1, p + 26);
    qToLittleEndian<quint16>(1, p + 28);
    qToLittleEndian<quint32>(image, p + 34);
    qToLittleEndian<qint32>(2835, p + 38);
    qToLittleEndian<qint32>(2835, p + 42);
    p[58] = p[59] = p[60] = 0xFF;
    return h;
}

// One stored row: white dots, padding bits 0, and the black dot at x if x >= 0.
inline QByteArray Row(int width, int blackAt)
{
    QByteArray row(StoredRowBytes(width), '\0');
    for (int x = 0; x < width; ++x)
        if (x != blackAt)
            row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
    return row;
}

// True when the whole file was written.
inline bool Write(const QString& path, int width, int height)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    bool ok = file.write(Header(width, height)) == 62;
    const QByteArray white = Row(width, -1);
    // Bottom-up: the first stored row is the bottom line (dot at the right).
    ok = ok && file.write(Row(width, width - 1)) == white.size();
    for (int y = 1; ok && y < height - 1; ++y)
        ok = file.write(white) == white.size();
    if (height > 1)
        ok = ok && file.write(Row(width, 0)) == white.size();
    return ok && file.flush();
}

} // namespace onebit
