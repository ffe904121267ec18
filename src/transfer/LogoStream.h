#pragma once
// The bytes of a logo transfer, built from a copy of the logo without any
// window or document, so the worker thread can build them: the printer raster
// shaped by the send options, and the generic serial stream around it.
#include "components/BufferUC.h"
#include "document/RasterOps.h"

#include <QImage>
#include <QString>
#include <functional>
#include <optional>

// The logo's size and the printer's logo area, in dots.
struct CLogoGeometry {
    int logoWidth = 0;
    int logoHeight = 0;
    int dotX = 0;
    int dotY = 0;
};

// The send options that shape the raster itself; Reverse Color is applied
// to the stream (and not for every model).
struct CRasterShaping {
    bool reverseImage = false;
    bool reverseRow = false;
    std::optional<rasterops::FrameKind> frame;
};

// Asked once, only when the chosen frame would cover part of the logo; true
// draws it anyway. An empty question leaves such a frame out.
using FrameMayCoverLogo = std::function<bool()>;

// The printer raster every transfer path sends, as the document would store
// it: the first logoWidth x logoHeight dots of logo packed, centred on the
// printer area, framed, then swapped top to bottom and mirrored as asked.
// Bit 1 = white. The document keeps the last raster sent: the job hands the
// result back to it (SetPrintRaster) on the UI thread.
CBufferUC PreparePrinterRaster(const QImage& logo, const CLogoGeometry& geometry,
                               const CRasterShaping& shaping, const FrameMayCoverLogo& mayCoverLogo);

// What a logo stream is made of.
struct CStreamParts {
    QString model;
    CBufferUC command;      // the transfer command's bytes from the printer configuration
    CBufferUC bitmapHeader; // the logo's 62-byte BMP header; used by the bitmap streams only
    CBufferUC raster;       // the prepared printer raster
    bool reverseColor = false;
    int dotX = 0;           // the raster's layout: dotX / 8 bytes a row, dotY rows
    int dotY = 0;
};

// The stream and the room after it for the last block's tail.
struct CSerialStream {
    CBufferUC bytes; // the data, followed by tailBytes zero bytes
    int length = 0;  // the data alone: what the blocks are counted from
    int tailBytes = 0;
};

// Command, then (bitmap models) header, then the raster: complemented so that
// 1 = dot unless Reverse Color is on or the model takes a BMP image, whose
// rows go bottom-up instead.
CSerialStream BuildSerialStream(const CStreamParts& parts);

// The parallel port's stream: command, then the raster complemented unless
// Reverse Color is on; no model takes a BMP image there.
CBufferUC BuildParallelStream(const CStreamParts& parts);

// The USB stream: command, then the BMP image (VD8, BDQGMLW) or the raster,
// complemented for the model that stores the stream itself (J4) unless
// Reverse Color is on, then ramToFlash (that model's "CmdRAMFlash" with the
// slot; empty for the others).
CBufferUC BuildUsbStream(const CStreamParts& parts, const CBufferUC& ramToFlash);
