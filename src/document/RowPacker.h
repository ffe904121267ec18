#pragma once
// The one packer that turns logo pixels into rows of one bit per dot: leftmost
// dot in the most significant bit, bit 1 = white (by the dot rule). The
// printer raster, the rows of a saved BMP file and the printers' bitmap bits
// differ only in where each row goes, which the caller states as a layout.
#include "platform/WinTypes.h"

#include <QImage>

namespace dots {

// A stride that places row i at (width * i) / 8, as the printer raster does:
// rows of a width that is not a multiple of 8 then start on the byte holding
// their first dot.
constexpr int kDotExactStride = 0;

struct RowLayout {
    int rowBytes = 0;              // bytes written per row; bits past the last dot are 0
    int stride = kDotExactStride;  // bytes from one row's start to the next
    bool bottomUp = false;         // the last row is stored first
};

// Packs the first width x height dots of image into out (outSize bytes) in the
// given layout. Dots outside the image are white. Bytes between rows, and
// whatever would fall past outSize, are not written, so the caller decides
// what they hold. Reads the image memory in one pass; nothing happens for a
// negative size or a null out.
void PackRows(const QImage& image, int width, int height, const RowLayout& layout, BYTE* out, qint64 outSize);

// The way back: the first width x height pixels of image become black or
// white from rows packed as PackRows writes them (in, inSize bytes, in the
// given layout). Pixels outside the image and rows past inSize are left as
// they are. A packed 1-bit image takes the bits in its own palette's sense; an
// image of another format than 32-bit pixels is converted to RGB32 first.
void UnpackRows(const BYTE* in, qint64 inSize, int width, int height, const RowLayout& layout, QImage& image);

} // namespace dots
