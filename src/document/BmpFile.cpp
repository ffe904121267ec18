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
#include <vector>

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

// The info headers the reader decodes: the OS/2 core header, Windows' three
// and the long OS/2 one. The 52- and 56-byte variants exist but the reader
// refuses them, so they are refused here, before any pixel is looked at.
bool KnownInfoHeaderSize(quint32 size)
{
    return size == 12 || size == 40 || size == 64 || size == 108 || size == 124;
}

// A channel mask must be one run of set bits inside the pixel.
bool MaskUsable(quint32 mask, int bits)
{
    if (mask == 0 || (bits < 32 && (mask >> bits) != 0))
        return false;
    const quint32 shifted = mask >> qCountTrailingZeroBits(mask);
    return (shifted & (shifted + 1)) == 0;
}

// Reads a file forwards a block at a time, so the checks of the pixel data
// hold one block, never the picture, whatever its size.
class CBlockReader {
public:
    // Offsets are counted from where the device stands now (the file's start).
    explicit CBlockReader(QIODevice& device) : m_device(device), m_base(device.pos()) {}

    bool Seek(qint64 offset)
    {
        m_block.clear();
        m_next = 0;
        return offset >= 0 && m_device.seek(m_base + offset);
    }
    // The next byte, or -1 at the end of the file.
    int Next()
    {
        if (m_next == m_block.size() && !Refill())
            return -1;
        return static_cast<uchar>(m_block[m_next++]);
    }
    // The next count bytes into out; false when the file ends first.
    bool Read(uchar* out, qint64 count)
    {
        while (count > 0) {
            if (m_next == m_block.size() && !Refill())
                return false;
            const qint64 n = std::min<qint64>(count, m_block.size() - m_next);
            if (out) {
                std::copy_n(m_block.constData() + m_next, n, reinterpret_cast<char*>(out));
                out += n;
            }
            m_next += n;
            count -= n;
        }
        return true;
    }
    bool Skip(qint64 count) { return Read(nullptr, count); }

private:
    static constexpr qint64 kBlockBytes = 64 * 1024;

    bool Refill()
    {
        m_block = m_device.read(kBlockBytes);
        m_next = 0;
        return !m_block.isEmpty();
    }

    QIODevice& m_device;
    qint64 m_base;
    QByteArray m_block;
    qsizetype m_next = 0;
};

bool MasksUsable(CBlockReader& file, int infoSize, int bits)
{
    uchar masks[12];
    if (!file.Seek(infoSize >= 52 ? 14 + 40 : 14 + infoSize) || !file.Read(masks, sizeof masks))
        return false;
    const quint32 r = qFromLittleEndian<quint32>(masks), g = qFromLittleEndian<quint32>(masks + 4),
                  b = qFromLittleEndian<quint32>(masks + 8);
    return MaskUsable(r, bits) && MaskUsable(g, bits) && MaskUsable(b, bits) && (r & g) == 0 && (r & b) == 0
           && (g & b) == 0;
}

// Walks run-length data: every run must stay inside its row and the image,
// so a decoder can neither be steered outside nor hide a broken stream.
bool RunLengthValid(CBlockReader& file, qint64 offset, int width, int height, bool fourBit)
{
    if (!file.Seek(offset))
        return false;
    int x = 0, y = 0;
    for (;;) {
        const int count = file.Next(), value = file.Next();
        if (count < 0 || value < 0)
            return true; // a stream cut short leaves the rest of the image empty
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
            const int dx = file.Next(), dy = file.Next();
            if (dx < 0 || dy < 0)
                return false;
            x += dx;
            y += dy;
            if (x > width || y > height)
                return false;
        } else { // absolute run of `value` pixels
            if (x + value > width || y >= height)
                return false;
            const int bytes = fourBit ? (value + 1) / 2 : value;
            if (!file.Skip(bytes + (bytes & 1)))
                return false;
            x += value;
        }
    }
}

// Every palette index of uncompressed rows must name a palette entry; the
// rows are read one at a time.
bool IndicesInPalette(CBlockReader& file, qint64 offset, int width, int height, int bits, int colours)
{
    if (colours >= (1 << bits))
        return true;
    const qint64 stride = ((static_cast<qint64>(width) * bits + 31) / 32) * 4;
    if (!file.Seek(offset))
        return false;
    std::vector<uchar> row(static_cast<size_t>(stride));
    for (int y = 0; y < height; ++y) {
        if (!file.Read(row.data(), stride))
            return false;
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
    if (infoSize == 16 || infoSize == 52 || infoSize == 56)
        return Refuse(why, QStringLiteral("unsupported info header"));
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
    // Valid BMP, but not what the reader decodes: two bits a pixel, and bit
    // fields on a depth that has none (the OS/2 Huffman code shares its number).
    if (bits == 2)
        return Refuse(why, QStringLiteral("unsupported bit count"));
    if (compression == 3 && bits != 16 && bits != 32)
        return Refuse(why, QStringLiteral("bit fields on a paletted depth"));
    if (h < 0 && (compression == 1 || compression == 2))
        return Refuse(why, QStringLiteral("top-down run-length data"));
    // A stated pixel-data size that the file cannot hold is a lie about the file.
    const quint32 sizeImage = U32(head, 34);
    if (sizeImage != 0 && offBits + static_cast<qint64>(sizeImage) > fileSize)
        return Refuse(why, QStringLiteral("pixel data size beyond the end of the file"));
    if (compression == 0 || compression == 3) {
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

// The checks that need the pixel data (masks, run-length streams, indices),
// on a file whose header (head, its first bytes) passed HeaderPlausible. The
// file is read as a stream from where the device stands.
bool ContentPlausible(const QByteArray& head, QIODevice& device, QString* why)
{
    const quint32 infoSize = U32(head, 14);
    if (infoSize < 40)
        return true; // the small OS/2 header has none of these
    CBlockReader file(device);
    const int width = static_cast<qint32>(U32(head, 18));
    const int height = std::abs(static_cast<qint32>(U32(head, 22)));
    const int bits = U16(head, 28);
    const quint32 compression = U32(head, 30);
    const qint64 offBits = U32(head, 10);
    if (compression == 3 && !MasksUsable(file, static_cast<int>(infoSize), bits))
        return Refuse(why, QStringLiteral("unusable colour masks"));
    if ((compression == 1 || compression == 2) && !RunLengthValid(file, offBits, width, height, compression == 2))
        return Refuse(why, QStringLiteral("broken run-length data"));
    if (compression == 0 && bits <= 8) {
        const quint32 used = U32(head, 46);
        const int colours = used == 0 ? (1 << bits) : static_cast<int>(used);
        const qint64 paletteEnd = 14 + infoSize + 4LL * colours;
        if (paletteEnd > offBits)
            return Refuse(why, QStringLiteral("palette overlaps the pixel data"));
        if (!IndicesInPalette(file, offBits, width, height, bits, colours))
            return Refuse(why, QStringLiteral("pixel index outside the palette"));
    }
    return true;
}

} // namespace

CBmpInfo ReadInfo(const QByteArray& head)
{
    CBmpInfo info;
    if (head.size() >= 26 && U32(head, 14) == 12) {
        // The OS/2 core header: 16-bit sides, the bit count right after the planes.
        info.width = U16(head, 18);
        info.height = U16(head, 20);
        info.bitCount = U16(head, 24);
    } else if (head.size() >= 30) {
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
    const qint64 start = device.pos();
    const QByteArray head = device.read(14 + 124);
    if (!HeaderPlausible(head, device.size() - start, why, tooLarge))
        return false;
    // The pixel data is walked as the decoder would take it, a block at a
    // time, so a file that cannot be opened is not described as if it could.
    if (!device.seek(start) || !ContentPlausible(head, device, why))
        return false;
    if (info)
        *info = ReadInfo(head);
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
    const QByteArray head = data.left(124 + 14);
    if (!HeaderPlausible(head, data.size(), why, tooLarge))
        return QImage();
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    if (!ContentPlausible(head, buffer, why) || !buffer.seek(0))
        return QImage();
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
