#include "document/RowPacker.h"

#include "document/DotRule.h"
#include "document/RasterOps.h"

#include <algorithm>

namespace dots {

namespace {

// The image as 32-bit pixels, copied only when it is in another format (the
// alpha byte is ignored by the dot rule, so ARGB32 is read as it is).
QImage As32Bit(const QImage& image)
{
    if (image.isNull() || image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32)
        return image;
    return image.convertToFormat(QImage::Format_RGB32);
}

inline int WhiteBit(QRgb pixel)
{
    return IsDark(pixel) ? 0 : 1;
}

// Eight dots that all lie inside the image and inside the width.
inline BYTE PackByte(const QRgb* pixels)
{
    int byte = 0;
    for (int bit = 0; bit < 8; ++bit)
        byte = (byte << 1) | WhiteBit(pixels[bit]);
    return static_cast<BYTE>(byte);
}

// Eight dots from firstX of which some lie past the image's row (white) or
// past the width (bit 0).
inline BYTE PackEdgeByte(const QRgb* row, int firstX, int inside, int width)
{
    if (firstX >= inside && firstX + 8 <= width)
        return 0xFF; // wholly beyond the image: all white
    int byte = 0;
    for (int bit = 0; bit < 8; ++bit) {
        const int x = firstX + bit;
        const int white = x >= width ? 0 : (x >= inside ? 1 : WhiteBit(row[x]));
        byte = (byte << 1) | white;
    }
    return static_cast<BYTE>(byte);
}

// One row of `bytes` bytes; row may be null when inside is 0.
void PackRow(const QRgb* row, int inside, int width, BYTE* out, int bytes)
{
    const int whole = std::min(bytes, std::min(inside, width) / 8);
    for (int j = 0; j < whole; ++j)
        out[j] = PackByte(row + 8 * j);
    for (int j = whole; j < bytes; ++j)
        out[j] = PackEdgeByte(row, 8 * j, inside, width);
}

qint64 RowStart(const RowLayout& layout, int width, int height, int row)
{
    const int slot = layout.bottomUp ? height - 1 - row : row;
    if (layout.stride == kDotExactStride)
        return rasterops::RowStart(width, slot);
    return static_cast<qint64>(layout.stride) * slot;
}

} // namespace

void PackRows(const QImage& image, int width, int height, const RowLayout& layout, BYTE* out, qint64 outSize)
{
    if (!out || width < 0 || height < 0 || layout.rowBytes <= 0)
        return;
    const QImage pixels = As32Bit(image);
    const int imageRows = pixels.isNull() ? 0 : pixels.height();
    const int imageWidth = pixels.isNull() ? 0 : pixels.width();
    for (int i = 0; i < height; ++i) {
        const qint64 start = RowStart(layout, width, height, i);
        const qint64 bytes = std::min<qint64>(layout.rowBytes, outSize - start);
        if (start < 0 || bytes <= 0)
            continue;
        const bool inImage = i < imageRows;
        const QRgb* row = inImage ? reinterpret_cast<const QRgb*>(pixels.constScanLine(i)) : nullptr;
        PackRow(row, inImage ? imageWidth : 0, width, out + start, static_cast<int>(bytes));
    }
}

} // namespace dots
