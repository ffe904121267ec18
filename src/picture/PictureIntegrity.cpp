#include "picture/PictureIntegrity.h"

namespace picture {

namespace {

quint32 BigEndian32(const uchar* p)
{
    return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | quint32(p[3]);
}

// Past the compressed data of a scan: the next marker that is neither a
// stuffed 0xFF (FF 00) nor a restart marker (FF D0 to FF D7). The position of
// its 0xFF, or -1 when the file ends first.
qint64 EndOfScanData(const uchar* p, qint64 from, qint64 size)
{
    for (qint64 i = from; i + 1 < size; ++i) {
        if (p[i] != 0xFF)
            continue;
        const uchar next = p[i + 1];
        if (next == 0x00 || next == 0xFF || (next >= 0xD0 && next <= 0xD7))
            continue;
        return i;
    }
    return -1;
}

// Past a chain of GIF sub-blocks (a size byte, then that many bytes, ended
// by a size of 0); -1 when the file ends first.
qint64 PastSubBlocks(const uchar* p, qint64 at, qint64 size)
{
    while (at < size) {
        const int length = p[at];
        at += 1 + length;
        if (length == 0)
            return at <= size ? at : -1;
    }
    return -1;
}

// Past a colour table announced by a packed byte (bit 7: present, bits 0-2: size).
qint64 PastColourTable(uchar packed, qint64 at)
{
    return (packed & 0x80) ? at + 3 * (qint64(1) << ((packed & 0x07) + 1)) : at;
}

} // namespace

bool PngComplete(const QByteArray& file)
{
    static const char kSignature[] = "\x89PNG\r\n\x1a\n";
    if (!file.startsWith(QByteArray(kSignature, 8)))
        return false;
    const auto* p = reinterpret_cast<const uchar*>(file.constData());
    const qint64 size = file.size();
    qint64 at = 8;
    while (at + 8 <= size) {
        const qint64 length = BigEndian32(p + at);
        const bool end = file.mid(at + 4, 4) == "IEND";
        at += 12 + length; // length, type, data, CRC
        if (at > size)
            return false;
        if (end)
            return true;
    }
    return false;
}

bool JpegComplete(const QByteArray& file)
{
    const auto* p = reinterpret_cast<const uchar*>(file.constData());
    const qint64 size = file.size();
    if (size < 4 || p[0] != 0xFF || p[1] != 0xD8)
        return false;
    qint64 at = 2;
    while (at + 1 < size) {
        if (p[at] != 0xFF)
            return false;
        while (at + 1 < size && p[at + 1] == 0xFF) // fill bytes before a marker
            ++at;
        if (at + 1 >= size)
            return false;
        const uchar marker = p[at + 1];
        if (marker == 0xD9)
            return true;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) { // no length follows
            at += 2;
            continue;
        }
        if (at + 4 > size)
            return false;
        const qint64 segmentEnd = at + 2 + ((qint64(p[at + 2]) << 8) | p[at + 3]);
        if (segmentEnd > size)
            return false;
        at = segmentEnd;
        if (marker == 0xDA) { // start of scan: the compressed data follows the header
            at = EndOfScanData(p, at, size);
            if (at < 0)
                return false;
        }
    }
    return false;
}

bool GifFirstFrameComplete(const QByteArray& file)
{
    const auto* p = reinterpret_cast<const uchar*>(file.constData());
    const qint64 size = file.size();
    if (size < 13 || !(file.startsWith("GIF87a") || file.startsWith("GIF89a")))
        return false;
    qint64 at = PastColourTable(p[10], 13);
    while (at >= 0 && at < size) {
        switch (p[at]) {
        case 0x21: // extension: label, then sub-blocks
            at = at + 2 <= size ? PastSubBlocks(p, at + 2, size) : -1;
            break;
        case 0x2C: // the first frame: descriptor, colour table, code size, data
            if (at + 10 > size)
                return false;
            at = PastColourTable(p[at + 9], at + 10) + 1;
            return at <= size && PastSubBlocks(p, at, size) >= 0;
        default: // the trailer or a stray byte: no frame at all
            return false;
        }
    }
    return false;
}

} // namespace picture
