#pragma once
// The printer raster as plain functions: one bit per dot, leftmost dot in the
// most significant bit, bit 1 = white. Every function takes the dimensions it
// needs explicitly, so it works (and is tested) without a document. All index
// arithmetic uses integer division truncating toward zero, because the
// printers' byte layouts were defined that way; widths that are not a multiple
// of 8 therefore leave a few bytes between rows untouched. No function reads or
// writes outside a buffer, whatever sizes it is given.
#include "components/BufferUC.h"
#include "platform/WinTypes.h"

#include <QImage>

namespace rasterops {

// Bytes of a raster of rows x widthDots dots: (widthDots * rows) / 8, or -1 when
// that is negative or too large for a buffer.
qint64 RasterBytes(int widthDots, int rows);
// Start of row i in a raster of widthDots dots per row: (widthDots * i) / 8.
inline qint64 RowStart(int widthDots, int row) { return static_cast<qint64>(widthDots) * row / 8; }

// The logo raster of the first width x height dots of image: height rows of
// width / 8 bytes, row i at (i * width) / 8, dots by the dot rule. Dots
// outside the image are white. An empty buffer for a size that cannot be held.
CBufferUC PackRows(const QImage& image, int width, int height);

// A logo raster placed on a printer raster of dotY rows of dotX / 8 bytes, on
// white. A logo that fits is centred with the horizontal offset rounded down to
// whole bytes; along a side where the logo is larger than the printer area its
// middle part is taken (the same rounding, applied to the logo).
CBufferUC CenterOnPrinter(const CBufferUC& logo, int logoWidth, int logoHeight, int dotX, int dotY);

enum class FrameKind { Thin, Bold, Double };

// The frame would cover part of a logo of that size.
bool FrameMayLoseImage(FrameKind kind, int logoWidth, int logoHeight, int dotX, int dotY);
// Draws the frame into a printer raster of dotY rows of dotX / 8 bytes (row i
// at i * (dotX / 8)); whole first and last bytes of a row are replaced.
void DrawFrame(CBufferUC& raster, FrameKind kind, int dotX, int dotY);

// The bit order of a byte reversed (bit 7 <-> bit 0 ...).
BYTE ReverseBits(BYTE value);
// Mirrors a row of widthDots / 8 bytes in place; returns the next row's start.
BYTE* MirrorRow(BYTE* row, int widthDots);
// Mirrors every one of the rows of widthDots dots (row i at (widthDots * i) / 8).
void MirrorRows(CBufferUC& raster, int widthDots, int rows);
// Swaps the rows top to bottom in place (row i at (widthDots * i) / 8); the
// middle row of an odd count stays.
void SwapRowsTopBottom(CBufferUC& raster, int widthDots, int rows);

} // namespace rasterops
