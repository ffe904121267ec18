#include "document/RasterOps.h"

#include "document/RowPacker.h"

#include <algorithm>
#include <array>
#include <climits>

namespace rasterops {

namespace {

constexpr std::array<BYTE, 256> MakeBitReversal()
{
    std::array<BYTE, 256> table{};
    for (int value = 0; value < 256; ++value) {
        int reversed = 0;
        for (int bit = 0; bit < 8; ++bit)
            if (value & (1 << bit))
                reversed |= 0x80 >> bit;
        table[value] = static_cast<BYTE>(reversed);
    }
    return table;
}

constexpr std::array<BYTE, 256> kBitReversal = MakeBitReversal();

// How one side of the logo meets the same side of the printer area.
struct AxisPlacement {
    int targetStart; // first dot (or byte) of the printer side that receives the logo
    int sourceStart; // first dot (or byte) of the logo that is taken
    int count;       // how many are copied
};

struct FrameShape {
    int margin;                        // dots the frame takes from each side
    std::array<int, 8> blackRows;      // fully black rows; negative counts from the bottom
    int blackRowCount;
    BYTE first;
    BYTE last;
};

const FrameShape& ShapeOf(FrameKind kind)
{
    static const FrameShape thin{4, {0, 1, -2, -1}, 4, 0x3F, 0xFC};
    static const FrameShape bold{8, {0, 1, 2, 3, -4, -3, -2, -1}, 8, 0x0F, 0xF0};
    static const FrameShape twin{16, {0, 1, 6, 7, -8, -7, -2, -1}, 8, 0x3C, 0x3C};
    switch (kind) {
    case FrameKind::Thin:
        return thin;
    case FrameKind::Bold:
        return bold;
    case FrameKind::Double:
        break;
    }
    return twin;
}

bool IsBlackFrameRow(const FrameShape& shape, int row, int dotY)
{
    for (int k = 0; k < shape.blackRowCount; ++k) {
        const int r = shape.blackRows[k];
        if ((r >= 0 ? r : dotY + r) == row)
            return true;
    }
    return false;
}

} // namespace

qint64 RasterBytes(int widthDots, int rows)
{
    const qint64 bytes = static_cast<qint64>(widthDots) * rows / 8;
    if (bytes < 0 || bytes > INT_MAX)
        return -1;
    return bytes;
}

CBufferUC PackRows(const QImage& image, int width, int height)
{
    const qint64 size = RasterBytes(width, height);
    if (size < 0 || width < 0 || height < 0)
        return CBufferUC();
    CBufferUC raster(static_cast<int>(size), 0);
    // Whole bytes only: the few dots of a width that is not a multiple of 8
    // are not sent, and the bytes they leave between rows stay 0.
    dots::PackRows(image, width, height, {width / 8, dots::kDotExactStride, false}, raster.GetpBuf(), size);
    return raster;
}

CBufferUC CenterOnPrinter(const CBufferUC& logo, int logoWidth, int logoHeight, int dotX, int dotY)
{
    if (dotX == logoWidth && dotY == logoHeight)
        return logo;
    const qint64 size = RasterBytes(dotX, dotY);
    if (size < 0 || dotX < 0 || dotY < 0 || logoWidth < 0 || logoHeight < 0)
        return CBufferUC();
    CBufferUC target(static_cast<int>(size), 0xFF);
    BYTE* out = target.GetpBuf();
    const BYTE* in = logo.GetpBuf();
    if (!out || !in)
        return target;

    // Across in whole bytes: half the spare dots is (dotX - width) / 16 bytes.
    const AxisPlacement across = dotX >= logoWidth
        ? AxisPlacement{(dotX - logoWidth) / 16, 0, logoWidth / 8}
        : AxisPlacement{0, (logoWidth - dotX) / 16, dotX / 8};
    const AxisPlacement down = dotY >= logoHeight
        ? AxisPlacement{(dotY - logoHeight) / 2, 0, logoHeight}
        : AxisPlacement{0, (logoHeight - dotY) / 2, dotY};
    const qint64 offset = across.targetStart + RowStart(dotX, down.targetStart);

    for (int i = 0; i < down.count; ++i) {
        const qint64 from = RowStart(logoWidth, down.sourceStart + i) + across.sourceStart;
        const qint64 to = offset + RowStart(dotX, i);
        const qint64 room = std::min<qint64>(logo.GetSize() - from, target.GetSize() - to);
        const qint64 count = std::min<qint64>(across.count, room);
        if (from < 0 || to < 0 || count <= 0)
            continue;
        std::copy(in + from, in + from + count, out + to);
    }
    return target;
}

bool FrameMayLoseImage(FrameKind kind, int logoWidth, int logoHeight, int dotX, int dotY)
{
    const int margin = ShapeOf(kind).margin;
    return dotX - margin < logoWidth || dotY - margin < logoHeight;
}

void DrawFrame(CBufferUC& raster, FrameKind kind, int dotX, int dotY)
{
    const FrameShape& shape = ShapeOf(kind);
    const int n = dotX / 8;
    BYTE* bytes = raster.GetpBuf();
    if (!bytes || n <= 0)
        return;
    for (int i = 0; i < dotY; ++i) {
        const qint64 start = static_cast<qint64>(i) * n;
        if (start + n > raster.GetSize())
            break;
        if (IsBlackFrameRow(shape, i, dotY)) {
            std::fill(bytes + start, bytes + start + n, BYTE(0x00));
        } else {
            bytes[start] = shape.first;
            bytes[start + n - 1] = shape.last;
        }
    }
}

BYTE ReverseBits(BYTE value)
{
    return kBitReversal[value];
}

BYTE* MirrorRow(BYTE* row, int widthDots)
{
    const int n = std::max(widthDots / 8, 0);
    if (!row)
        return row;
    for (int left = 0, right = n - 1; left <= right; ++left, --right) {
        const BYTE leftByte = kBitReversal[row[left]];
        row[left] = kBitReversal[row[right]];
        row[right] = leftByte;
    }
    return row + n;
}

void MirrorRows(CBufferUC& raster, int widthDots, int rows)
{
    const int n = widthDots / 8;
    BYTE* bytes = raster.GetpBuf();
    if (!bytes || n <= 0)
        return;
    for (int i = 0; i < rows; ++i) {
        const qint64 start = RowStart(widthDots, i);
        if (start + n > raster.GetSize())
            break;
        MirrorRow(bytes + start, widthDots);
    }
}

void SwapRowsTopBottom(CBufferUC& raster, int widthDots, int rows)
{
    const int n = widthDots / 8;
    BYTE* bytes = raster.GetpBuf();
    if (!bytes || n <= 0)
        return;
    for (int top = 0, bottom = rows - 1; top < bottom; ++top, --bottom) {
        const qint64 a = RowStart(widthDots, top);
        const qint64 b = RowStart(widthDots, bottom);
        if (b + n > raster.GetSize())
            continue; // a short buffer: swap only rows that are wholly inside it
        std::swap_ranges(bytes + a, bytes + a + n, bytes + b);
    }
}

} // namespace rasterops
