#include "transfer/LogoStream.h"

#include "document/BmpFile.h"
#include "transfer/TransferModels.h"

namespace {

CBufferUC WithFrame(const CBufferUC& raster, rasterops::FrameKind kind, const CLogoGeometry& g,
                    const FrameMayCoverLogo& mayCoverLogo)
{
    if (rasterops::FrameMayLoseImage(kind, g.logoWidth, g.logoHeight, g.dotX, g.dotY)
        && (!mayCoverLogo || !mayCoverLogo()))
        return raster;
    CBufferUC framed = raster;
    rasterops::DrawFrame(framed, kind, g.dotX, g.dotY);
    return framed;
}

// The raster as a BMP image: the header re-sized to the raster it comes
// with (the printer area, where a smaller logo lies centred), then the rows
// bottom row first, as the printers that take BMP data read them.
CBufferUC BitmapImage(const CStreamParts& parts)
{
    QByteArray header(reinterpret_cast<const char*>(parts.bitmapHeader.GetpBuf()), parts.bitmapHeader.GetSize());
    bmpfile::PatchHeaderPrinterLayout(header, parts.dotX, parts.dotY);
    CBufferUC flipped = parts.raster;
    rasterops::SwapRowsTopBottom(flipped, parts.dotX, parts.dotY);
    return CBufferUC(reinterpret_cast<const BYTE*>(header.constData()), static_cast<int>(header.size())) + flipped;
}

} // namespace

CBufferUC PreparePrinterRaster(const QImage& logo, const CLogoGeometry& geometry,
                               const CRasterShaping& shaping, const FrameMayCoverLogo& mayCoverLogo)
{
    const CLogoGeometry& g = geometry;
    const CBufferUC packed = rasterops::PackRows(logo, g.logoWidth, g.logoHeight);
    CBufferUC raster = rasterops::CenterOnPrinter(packed, g.logoWidth, g.logoHeight, g.dotX, g.dotY);
    if (shaping.frame)
        raster = WithFrame(raster, *shaping.frame, g, mayCoverLogo);
    if (shaping.reverseImage)
        rasterops::SwapRowsTopBottom(raster, g.dotX, g.dotY);
    if (shaping.reverseRow)
        rasterops::MirrorRows(raster, g.dotX, g.dotY);
    return raster;
}

CSerialStream BuildSerialStream(const CStreamParts& parts)
{
    CBufferUC data = parts.command;
    if (SendsBitmapStream(parts.model))
        data += BitmapImage(parts);
    else
        data += parts.reverseColor ? parts.raster : ~parts.raster; // the printers' native sense is 1 = dot

    CSerialStream stream;
    stream.length = data.GetSize();
    stream.tailBytes = SerialTailBytes(parts.model);
    stream.bytes = data + CBufferUC(stream.tailBytes, 0);
    return stream;
}

CBufferUC BuildParallelStream(const CStreamParts& parts)
{
    return parts.command + (parts.reverseColor ? parts.raster : ~parts.raster);
}

CBufferUC BuildUsbStream(const CStreamParts& parts, const CBufferUC& ramToFlash)
{
    CBufferUC data = parts.command;
    if (UsbStreamIsBitmap(parts.model))
        data += BitmapImage(parts);
    else if (UsbStreamStoresItself(parts.model) && !parts.reverseColor)
        data += ~parts.raster;
    else
        data += parts.raster;
    return data + ramToFlash;
}
