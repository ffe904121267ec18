#pragma once
// The printer raster of a logo: the picture's rows packed one bit a dot,
// placed on the printer area, framed and reversed as the operator asked, and
// the raster kept for the transfer to send. Rasters are one bit per dot,
// leftmost dot in the most significant bit, bit 1 = white.
#include "components/BufferUC.h"
#include "platform/WinTypes.h"

#include <QImage>
#include <functional>

class CLogoPicture;
class CPrinterBinding;
class CSurface;

class CLogoRaster {
public:
    // Asked before a frame that would cover part of the logo is drawn; true
    // when it may be drawn. The caller decides how the question is put.
    using FrameQuestion = std::function<bool()>;

    // The logo size comes from picture, the printer area from binding; both
    // outlive this object.
    CLogoRaster(const CLogoPicture& picture, const CPrinterBinding& binding);

    CBufferUC BuildPrintRaster(const QImage& image) const;
    CBufferUC BuildPrintRaster(const CSurface& dc) const;
    CBufferUC CenterRasterOnPrinter(const CBufferUC& source) const;
    CBufferUC AddThinFrame(const CBufferUC& raster, const FrameQuestion& mayCoverLogo) const;
    CBufferUC AddBoldFrame(const CBufferUC& raster, const FrameQuestion& mayCoverLogo) const;
    CBufferUC AddDoubleFrame(const CBufferUC& raster, const FrameQuestion& mayCoverLogo) const;
    CBufferUC FlipRowsUpsideDown(const CBufferUC& source) const;
    static BYTE* MirrorRow(BYTE* row, int widthDots);

    // The raster kept for sending, reversed in place on the printer area.
    CBufferUC GetPrintRaster() const { return m_printRaster; }
    void SetPrintRaster(const CBufferUC& raster) { m_printRaster = raster; }
    int ReverseRasterImage();
    int ReverseRasterRows();

private:
    const CLogoPicture& m_picture;
    const CPrinterBinding& m_binding;
    CBufferUC m_printRaster;
};
