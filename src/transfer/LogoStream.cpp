#include "transfer/LogoStream.h"

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

// The raster in BMP row order: the rows of the logo's layout (not the
// printer's) reversed, as the printers that take BMP data read them.
CBufferUC BottomUp(const CBufferUC& raster, int logoWidth, int logoHeight)
{
    CBufferUC flipped = raster;
    rasterops::SwapRowsTopBottom(flipped, logoWidth, logoHeight);
    return flipped;
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

CSerialStream BuildSerialStream(const CSerialStreamParts& parts)
{
    const bool bitmap = SendsBitmapStream(parts.model);
    CBufferUC data = parts.command;
    CBufferUC raster = parts.raster;
    if (bitmap) {
        data += parts.bitmapHeader;
        raster = BottomUp(raster, parts.logoWidth, parts.logoHeight);
    } else if (!parts.reverseColor) {
        // The printers' native sense is 1 = dot.
        raster = ~raster;
    }
    data += raster;

    CSerialStream stream;
    stream.length = data.GetSize();
    stream.tailBytes = SerialTailBytes(parts.model);
    stream.bytes = data + CBufferUC(stream.tailBytes, 0);
    return stream;
}
