#include "document/BmpFile.h"

#include "document/DotRule.h"
#include "document/RowPacker.h"

#include <QFile>
#include <QFileInfo>
#include <QBuffer>
#include <QDir>
#include <QImageReader>
#include <QRegularExpression>
#include <QtEndian>
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>

namespace bmpfile {

namespace {

quint32 U32(const QByteArray& b, int offset)
{
    return qFromLittleEndian<quint32>(reinterpret_cast<const uchar*>(b.constData()) + offset);
}

quint16 U16(const QByteArray& b, int offset)
{
    return qFromLittleEndian<quint16>(reinterpret_cast<const uchar*>(b.constData()) + offset);
}

void Put32(QByteArray& b, int offset, quint32 v)
{
    qToLittleEndian<quint32>(v, reinterpret_cast<uchar*>(b.data()) + offset);
}

int Brightness(const QByteArray& b, int offset)
{
    // Palette entries are blue, green, red, reserved.
    return static_cast<uchar>(b[offset]) + static_cast<uchar>(b[offset + 1]) + static_cast<uchar>(b[offset + 2]);
}

bool Refuse(QString* why, const QString& reason)
{
    if (why)
        *why = reason;
    return false;
}

// A picture over the side bound is a regular file the program will not take:
// the caller says "too large" rather than calling the file broken.
bool RefuseTooLarge(QString* why, bool* tooLarge, int width, int height)
{
    if (tooLarge)
        *tooLarge = true;
    return Refuse(why, QStringLiteral("%1 x %2 pixels is larger than %3 pixels a side").arg(width).arg(height).arg(kMaxSide));
}

// The reader's allocation limit in MiB: one 32-bit image of the largest
// picture the program takes (Qt's default of 128 MiB stops at 5792 a side).
constexpr int kAllocationLimitMiB = static_cast<int>(static_cast<qint64>(kMaxSide) * kMaxSide * 4 / (1024 * 1024)) + 1;

bool KnownInfoHeaderSize(quint32 size)
{
    return size == 12 || size == 16 || size == 40 || size == 52 || size == 56 || size == 64 || size == 108
           || size == 124;
}

// A channel mask must be one run of set bits inside the pixel.
bool MaskUsable(quint32 mask, int bits)
{
    if (mask == 0 || (bits < 32 && (mask >> bits) != 0))
        return false;
    const quint32 shifted = mask >> qCountTrailingZeroBits(mask);
    return (shifted & (shifted + 1)) == 0;
}

bool MasksUsable(const QByteArray& data, int infoSize, int bits)
{
    const int at = infoSize >= 52 ? 14 + 40 : 14 + infoSize;
    if (data.size() < at + 12)
        return false;
    const quint32 r = U32(data, at), g = U32(data, at + 4), b = U32(data, at + 8);
    return MaskUsable(r, bits) && MaskUsable(g, bits) && MaskUsable(b, bits) && (r & g) == 0 && (r & b) == 0
           && (g & b) == 0;
}

// Walks run-length data: every run must stay inside its row and the image,
// so a decoder can neither be steered outside nor hide a broken stream.
bool RunLengthValid(const QByteArray& data, qint64 offset, int width, int height, bool fourBit)
{
    const auto* p = reinterpret_cast<const uchar*>(data.constData());
    qint64 i = offset;
    const qint64 end = data.size();
    int x = 0, y = 0;
    while (i + 1 < end) {
        const int count = p[i], value = p[i + 1];
        i += 2;
        if (count > 0) {
            if (x + count > width || y >= height)
                return false;
            x += count;
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++y;
        } else if (value == 1) { // end of bitmap
            return true;
        } else if (value == 2) { // delta
            if (i + 1 >= end)
                return false;
            x += p[i];
            y += p[i + 1];
            i += 2;
            if (x > width || y > height)
                return false;
        } else { // absolute run of `value` pixels
            if (x + value > width || y >= height)
                return false;
            const int bytes = fourBit ? (value + 1) / 2 : value;
            i += bytes + (bytes & 1);
            if (i > end)
                return false;
            x += value;
        }
    }
    return true; // a stream cut short leaves the rest of the image empty
}

// Every palette index of uncompressed rows must name a palette entry.
bool IndicesInPalette(const QByteArray& data, qint64 offset, int width, int height, int bits, int colours)
{
    if (colours >= (1 << bits))
        return true;
    const qint64 stride = ((static_cast<qint64>(width) * bits + 31) / 32) * 4;
    if (offset < 0 || offset + stride * height > data.size())
        return false;
    const auto* p = reinterpret_cast<const uchar*>(data.constData());
    for (int y = 0; y < height; ++y) {
        const uchar* row = p + offset + stride * y;
        for (int x = 0; x < width; ++x) {
            const int bitPos = x * bits;
            const int index = (row[bitPos / 8] >> (8 - bits - bitPos % 8)) & ((1 << bits) - 1);
            if (index >= colours)
                return false;
        }
    }
    return true;
}

// True when a 32-bit image of that size can be had now (the memory is only
// reserved, never touched, so asking costs nothing).
bool CanHold32BitImage(const QSize& size)
{
    return !QImage(size, QImage::Format_RGB32).isNull();
}

// The checks the reader is not trusted with: sizes against the file's size.
bool HeaderPlausible(const QByteArray& head, qint64 fileSize, QString* why, bool* tooLarge)
{
    if (head.size() < 26 || !head.startsWith("BM"))
        return Refuse(why, QStringLiteral("no BMP signature"));
    const quint32 offBits = U32(head, 10);
    const quint32 infoSize = U32(head, 14);
    if (offBits > fileSize || offBits < 14 + infoSize)
        return Refuse(why, QStringLiteral("pixel data offset outside the file"));
    if (infoSize == 12) {
        const int w = U16(head, 18), h = U16(head, 20);
        if (w == 0 || h == 0)
            return Refuse(why, QStringLiteral("unsupported image size"));
        if (w > kMaxSide || h > kMaxSide)
            return RefuseTooLarge(why, tooLarge, w, h);
        return true;
    }
    if (!KnownInfoHeaderSize(infoSize) || infoSize < 40 || head.size() < 54)
        return Refuse(why, QStringLiteral("unknown info header"));
    const quint32 fileSizeField = U32(head, 2);
    if (fileSizeField > fileSize && fileSizeField != 0 && fileSizeField - fileSize > 4096)
        return Refuse(why, QStringLiteral("file size field beyond the end of the file"));
    // Densities above a million dots per metre (25,400 dpi) are no real device's.
    const qint32 densityX = static_cast<qint32>(U32(head, 38)), densityY = static_cast<qint32>(U32(head, 42));
    if (densityX < 0 || densityY < 0 || densityX > 1000000 || densityY > 1000000)
        return Refuse(why, QStringLiteral("implausible resolution"));
    const qint32 w = static_cast<qint32>(U32(head, 18));
    const qint32 h = static_cast<qint32>(U32(head, 22));
    const int planes = U16(head, 26);
    const int bits = U16(head, 28);
    const quint32 compression = U32(head, 30);
    if (w <= 0 || h == 0 || h == INT_MIN)
        return Refuse(why, QStringLiteral("unsupported image size"));
    if (w > kMaxSide || std::abs(h) > kMaxSide)
        return RefuseTooLarge(why, tooLarge, w, std::abs(h));
    if (planes != 1)
        return Refuse(why, QStringLiteral("bad plane count"));
    if (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return Refuse(why, QStringLiteral("bad bit count"));
    if (h < 0 && (compression == 1 || compression == 2))
        return Refuse(why, QStringLiteral("top-down run-length data"));
    // A stated pixel-data size that the file cannot hold is a lie about the file.
    const quint32 sizeImage = U32(head, 34);
    if (sizeImage != 0 && offBits + static_cast<qint64>(sizeImage) > fileSize)
        return Refuse(why, QStringLiteral("pixel data size beyond the end of the file"));
    if (compression == 0 || compression == 3 || compression == 6) {
        const qint64 stride = ((static_cast<qint64>(w) * bits + 31) / 32) * 4;
        if (offBits + stride * std::abs(h) > fileSize)
            return Refuse(why, QStringLiteral("pixel data shorter than the image"));
    } else if (compression == 1 || compression == 2) {
        if ((compression == 1 && bits != 8) || (compression == 2 && bits != 4))
            return Refuse(why, QStringLiteral("run-length data of the wrong depth"));
    } else {
        return Refuse(why, QStringLiteral("unsupported compression"));
    }
    if (bits <= 8 && infoSize >= 40) {
        const quint32 used = U32(head, 46);
        if (used > (1u << bits))
            return Refuse(why, QStringLiteral("palette larger than the bit count allows"));
    }
    return true;
}

// The checks that need the pixel data: masks, run-length streams, indices.
bool ContentPlausible(const QByteArray& data, QString* why)
{
    const quint32 infoSize = U32(data, 14);
    if (infoSize < 40)
        return true; // the small OS/2 header has none of these
    const int width = static_cast<qint32>(U32(data, 18));
    const int height = std::abs(static_cast<qint32>(U32(data, 22)));
    const int bits = U16(data, 28);
    const quint32 compression = U32(data, 30);
    const qint64 offBits = U32(data, 10);
    if (compression == 3 && (bits == 16 || bits == 32) && !MasksUsable(data, static_cast<int>(infoSize), bits))
        return Refuse(why, QStringLiteral("unusable colour masks"));
    if ((compression == 1 || compression == 2) && !RunLengthValid(data, offBits, width, height, compression == 2))
        return Refuse(why, QStringLiteral("broken run-length data"));
    if (compression == 0 && bits <= 8) {
        const quint32 used = U32(data, 46);
        const int colours = used == 0 ? (1 << bits) : static_cast<int>(used);
        const qint64 paletteEnd = 14 + infoSize + 4LL * colours;
        if (paletteEnd > offBits)
            return Refuse(why, QStringLiteral("palette overlaps the pixel data"));
        if (!IndicesInPalette(data, offBits, width, height, bits, colours))
            return Refuse(why, QStringLiteral("pixel index outside the palette"));
    }
    return true;
}

} // namespace

CBmpInfo ReadInfo(const QByteArray& head)
{
    CBmpInfo info;
    if (head.size() >= 30) {
        info.bitCount = U16(head, 28);
        info.width = static_cast<qint32>(U32(head, 18));
        info.height = static_cast<qint32>(U32(head, 22));
    }
    return info;
}

bool IsOneBitHeader(const QByteArray& header)
{
    if (header.size() < kTemplateSize || !header.startsWith("BM"))
        return false;
    return U32(header, 10) == static_cast<quint32>(header.size()) && U32(header, 14) == 40 && U16(header, 26) == 1
           && U16(header, 28) == 1 && U32(header, 30) == 0 && Brightness(header, 54) < 384
           && Brightness(header, 58) >= 384;
}

int StoredRowBytes(int width)
{
    return ((width + 31) / 32) * 4;
}

void PatchHeader(QByteArray& header, int width, int height)
{
    if (header.size() < kTemplateSize)
        return;
    const quint32 imageSize = static_cast<quint32>(StoredRowBytes(width)) * static_cast<quint32>(height);
    Put32(header, 2, imageSize + static_cast<quint32>(header.size()));
    Put32(header, 18, static_cast<quint32>(width));
    Put32(header, 22, static_cast<quint32>(height));
    Put32(header, 34, imageSize);
}

void PatchHeaderPrinterLayout(QByteArray& header, int width, int height)
{
    if (header.size() < kTemplateSize)
        return;
    const quint32 s = static_cast<quint32>(static_cast<qint64>(width) * height / 8);
    Put32(header, 2, s + kTemplateSize);
    qToLittleEndian<quint16>(static_cast<quint16>(width), reinterpret_cast<uchar*>(header.data()) + 18);
    qToLittleEndian<quint16>(static_cast<quint16>(height), reinterpret_cast<uchar*>(header.data()) + 22);
    qToLittleEndian<quint16>(static_cast<quint16>(s), reinterpret_cast<uchar*>(header.data()) + 34);
}

QByteArray PackRowsBottomUp(const QImage& image, int width, int height)
{
    const int rowBytes = StoredRowBytes(width);
    QByteArray rows(rowBytes * height, '\0');
    dots::PackRows(image, width, height, {rowBytes, rowBytes, true}, reinterpret_cast<BYTE*>(rows.data()), rows.size());
    return rows;
}

QImage ToBlackAndWhite(const QImage& source)
{
    QImage image = source.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::transform(row, row + image.width(), row, dots::BlackOrWhite);
    }
    return image;
}

QImage PackedBlackAndWhite(QImage image)
{
    const QList<QRgb> table = image.colorTable();
    const bool zeroWhite = !table.isEmpty() && !dots::IsDark(table[0]);
    const bool oneWhite = table.size() > 1 ? !dots::IsDark(table[1]) : zeroWhite;
    image.setColorTable({0xFF000000u, 0xFFFFFFFFu});
    if (zeroWhite == oneWhite) {
        image.fill(zeroWhite ? 1u : 0u);
    } else if (zeroWhite) {
        // Index 0 light and 1 dark: the bits are turned round to the fixed palette.
        for (int y = 0; y < image.height(); ++y) {
            uchar* row = image.scanLine(y);
            std::transform(row, row + image.bytesPerLine(), row, [](uchar b) { return static_cast<uchar>(~b); });
        }
    }
    return image;
}

bool InspectBmp(QIODevice& device, CBmpInfo* info, QString* why, bool* tooLarge)
{
    if (tooLarge)
        *tooLarge = false;
    const QByteArray head = device.read(14 + 124);
    if (!HeaderPlausible(head, device.size(), why, tooLarge))
        return false;
    const quint32 infoSize = U32(head, 14);
    if (infoSize >= 40) {
        // The palette must end before the pixel data starts.
        const int bits = U16(head, 28);
        const quint32 used = U32(head, 46);
        const qint64 colours = bits > 8 ? 0 : (used == 0 ? (1 << bits) : used);
        if (U32(head, 30) == 0 && 14 + infoSize + 4 * colours > U32(head, 10))
            return Refuse(why, QStringLiteral("palette overlaps the pixel data"));
    }
    if (info) {
        *info = ReadInfo(head);
        if (infoSize == 12) {
            info->width = U16(head, 18);
            info->height = U16(head, 20);
        }
    }
    return true;
}

QImage LoadBmp(const QString& path, bool monochrome, QString* why, bool* tooLarge)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Refuse(why, QStringLiteral("cannot be opened"));
        return QImage();
    }
    return LoadBmp(file, monochrome, why, tooLarge);
}

QImage LoadBmp(QIODevice& device, bool monochrome, QString* why, bool* tooLarge)
{
    // Read once: a file that changes while it is read (another program copying
    // over it) must not have its header checked against one size and its
    // pixels walked in a copy of another.
    return DecodeBmp(device.readAll(), monochrome, why, tooLarge);
}

QImage DecodeBmp(const QByteArray& data, bool monochrome, QString* why, bool* tooLarge, bool keepPacked)
{
    if (tooLarge)
        *tooLarge = false;
    if (!HeaderPlausible(data.left(124 + 14), data.size(), why, tooLarge) || !ContentPlausible(data, why))
        return QImage();
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    reader.setAllocationLimit(kAllocationLimitMiB);
    QImage image;
    if (!reader.read(&image) || image.isNull()) {
        Refuse(why, reader.errorString());
        // The file passed every check, so a failure here is the reader not
        // getting the image's memory.
        if (tooLarge)
            *tooLarge = reader.size().isValid() && !CanHold32BitImage(reader.size());
        return QImage();
    }
    if (keepPacked && monochrome && image.format() == QImage::Format_Mono)
        return PackedBlackAndWhite(std::move(image));
    QImage pixels = monochrome ? ToBlackAndWhite(image) : image.convertToFormat(QImage::Format_RGB32);
    if (pixels.isNull()) {
        if (tooLarge)
            *tooLarge = true;
        Refuse(why, QStringLiteral("not enough memory for %1 x %2 pixels").arg(image.width()).arg(image.height()));
    }
    return pixels;
}

QString ShortenAtReservedCharacter(const QString& path)
{
    const QFileInfo info(path);
    QString name = info.fileName();
    const int cut = name.indexOf(QRegularExpression(QStringLiteral("[#%;\\\\]")));
    if (cut < 0)
        return path;
    name = name.left(cut);
    if (name.isEmpty())
        return QString();
    if (!name.contains(QLatin1Char('.')))
        name += QStringLiteral(".bmp");
    return info.dir().filePath(name);
}

} // namespace bmpfile
