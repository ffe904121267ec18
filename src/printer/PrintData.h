#pragma once
// The model-dependent print data of a logo: the bytes a USB or parallel job
// sends as the image, kept in the document's print raster buffer.
#include "components/BufferUC.h"

class CGlyphaneDoc;
class QImage;

// The first count bytes of the 1-bit form of a logo bitmap: rows from top to
// bottom, each padded to a multiple of 16 dots, leftmost dot in the most
// significant bit, bit 1 = white (by the dot rule), padding bits 0. Bytes past
// the end of the bitmap's bits are 0. A negative count gives an empty buffer.
CBufferUC GetBitmapBits(const QImage& image, int count);

// The image byte count of a logo of the document's current size:
// (width x height) / 8. -1 when the size is negative or larger than any
// document may hold, so no arithmetic on a corrupt size can allocate without
// bound.
int PrintDataByteCount(const CGlyphaneDoc& doc);

// USB bitmap printers: the 62-byte BMP header of the logo followed by its
// bits. Without a logo bitmap nothing changes. Returns false (changing
// nothing) when there is no bitmap or the logo size is unusable.
bool BuildUsbPrintData(CGlyphaneDoc& doc);

// Every other printer: the logo's bits (none without a bitmap) followed by the
// model's trailing zero bytes. Returns false (changing nothing) when the logo
// size is unusable.
bool BuildPlainPrintData(CGlyphaneDoc& doc);
