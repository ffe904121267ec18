// The logo's and the printer's sizes handed to the raster functions, the
// stored raster, and the frame warning.
#include "document/LogoRaster.h"

#include "document/LogoPicture.h"
#include "document/PrinterBinding.h"
#include "document/RasterOps.h"
#include "platform/Surface.h"

CLogoRaster::CLogoRaster(const CLogoPicture& picture, const CPrinterBinding& binding)
    : m_picture(picture)
    , m_binding(binding)
{
}

CBufferUC CLogoRaster::BuildPrintRaster(const QImage& image) const
{
    return rasterops::PackRows(image, m_picture.GetLogoWidth(), m_picture.GetLogoHeight());
}

CBufferUC CLogoRaster::BuildPrintRaster(const CSurface& dc) const
{
    return BuildPrintRaster(dc.image());
}

CBufferUC CLogoRaster::CenterRasterOnPrinter(const CBufferUC& source) const
{
    return rasterops::CenterOnPrinter(source, m_picture.GetLogoWidth(), m_picture.GetLogoHeight(), m_binding.GetDotX(),
                                      m_binding.GetDotY());
}

namespace {

CBufferUC Framed(const CBufferUC& raster, rasterops::FrameKind kind, const CLogoPicture& picture,
                 const CPrinterBinding& binding, const CLogoRaster::FrameQuestion& mayCoverLogo)
{
    const int logoWidth = picture.GetLogoWidth(), logoHeight = picture.GetLogoHeight();
    const int dotX = binding.GetDotX(), dotY = binding.GetDotY();
    // With nobody to ask, a frame that would cover part of the logo is left out.
    if (rasterops::FrameMayLoseImage(kind, logoWidth, logoHeight, dotX, dotY) && (!mayCoverLogo || !mayCoverLogo()))
        return raster;
    CBufferUC framed = raster;
    rasterops::DrawFrame(framed, kind, dotX, dotY);
    return framed;
}

} // namespace

CBufferUC CLogoRaster::AddThinFrame(const CBufferUC& raster, const FrameQuestion& mayCoverLogo) const
{
    return Framed(raster, rasterops::FrameKind::Thin, m_picture, m_binding, mayCoverLogo);
}

CBufferUC CLogoRaster::AddBoldFrame(const CBufferUC& raster, const FrameQuestion& mayCoverLogo) const
{
    return Framed(raster, rasterops::FrameKind::Bold, m_picture, m_binding, mayCoverLogo);
}

CBufferUC CLogoRaster::AddDoubleFrame(const CBufferUC& raster, const FrameQuestion& mayCoverLogo) const
{
    return Framed(raster, rasterops::FrameKind::Double, m_picture, m_binding, mayCoverLogo);
}

int CLogoRaster::ReverseRasterImage()
{
    rasterops::SwapRowsTopBottom(m_printRaster, m_binding.GetDotX(), m_binding.GetDotY());
    return 1;
}

int CLogoRaster::ReverseRasterRows()
{
    rasterops::MirrorRows(m_printRaster, m_binding.GetDotX(), m_binding.GetDotY());
    return 1;
}

BYTE* CLogoRaster::MirrorRow(BYTE* row, int widthDots)
{
    return rasterops::MirrorRow(row, widthDots);
}

CBufferUC CLogoRaster::FlipRowsUpsideDown(const CBufferUC& source) const
{
    CBufferUC flipped = source;
    rasterops::SwapRowsTopBottom(flipped, m_picture.GetLogoWidth(), m_picture.GetLogoHeight());
    return flipped;
}
