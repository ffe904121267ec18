// The printer raster of the logo document: the document's sizes handed to the
// raster functions, the stored raster, and the frame warning.
#include "document/GlyphaneDoc.h"

#include "document/BmpFile.h"
#include "document/RasterOps.h"
#include "platform/Surface.h"

CBufferUC CGlyphaneDoc::BuildPrintRaster(const QImage& image) const
{
    return rasterops::PackRows(image, m_nLogoWidth, m_nLogoHeight);
}

CBufferUC CGlyphaneDoc::BuildPrintRaster(const CSurface& dc) const
{
    return BuildPrintRaster(dc.image());
}

CBufferUC CGlyphaneDoc::CenterRasterOnPrinter(const CBufferUC& source) const
{
    return rasterops::CenterOnPrinter(source, m_nLogoWidth, m_nLogoHeight, m_binding.GetDotX(), m_binding.GetDotY());
}

namespace {

CBufferUC Framed(const CBufferUC& raster, rasterops::FrameKind kind, int logoWidth, int logoHeight, int dotX,
                 int dotY, const CGlyphaneDoc::FrameQuestion& mayCoverLogo)
{
    // With nobody to ask, a frame that would cover part of the logo is left out.
    if (rasterops::FrameMayLoseImage(kind, logoWidth, logoHeight, dotX, dotY) && (!mayCoverLogo || !mayCoverLogo()))
        return raster;
    CBufferUC framed = raster;
    rasterops::DrawFrame(framed, kind, dotX, dotY);
    return framed;
}

} // namespace

CBufferUC CGlyphaneDoc::AddThinFrame(const CBufferUC& raster, const FrameQuestion& mayCoverLogo) const
{
    return Framed(raster, rasterops::FrameKind::Thin, m_nLogoWidth, m_nLogoHeight, m_binding.GetDotX(), m_binding.GetDotY(), mayCoverLogo);
}

CBufferUC CGlyphaneDoc::AddBoldFrame(const CBufferUC& raster, const FrameQuestion& mayCoverLogo) const
{
    return Framed(raster, rasterops::FrameKind::Bold, m_nLogoWidth, m_nLogoHeight, m_binding.GetDotX(), m_binding.GetDotY(), mayCoverLogo);
}

CBufferUC CGlyphaneDoc::AddDoubleFrame(const CBufferUC& raster, const FrameQuestion& mayCoverLogo) const
{
    return Framed(raster, rasterops::FrameKind::Double, m_nLogoWidth, m_nLogoHeight, m_binding.GetDotX(), m_binding.GetDotY(), mayCoverLogo);
}

int CGlyphaneDoc::ReverseRasterImage()
{
    rasterops::SwapRowsTopBottom(m_printRaster, m_binding.GetDotX(), m_binding.GetDotY());
    return 1;
}

int CGlyphaneDoc::ReverseRasterRows()
{
    rasterops::MirrorRows(m_printRaster, m_binding.GetDotX(), m_binding.GetDotY());
    return 1;
}

BYTE* CGlyphaneDoc::MirrorRow(BYTE* row, int widthDots)
{
    return rasterops::MirrorRow(row, widthDots);
}

CBufferUC CGlyphaneDoc::FlipRowsUpsideDown(const CBufferUC& source) const
{
    CBufferUC flipped = source;
    rasterops::SwapRowsTopBottom(flipped, m_nLogoWidth, m_nLogoHeight);
    return flipped;
}

void CGlyphaneDoc::BuildBitmapHeader(CBufferUC& out)
{
    // A header read from an opened file is replaced by the template on purpose:
    // the printers only take the plain 62-byte 1-bit header.
    ReloadHeaderTemplate();
    PatchHeaderForLogo();
    // The printers take the unpadded raster layout (rows of width / 8 bytes),
    // so the sizes are those of that layout; only saved files pad their rows.
    QByteArray header(reinterpret_cast<const char*>(m_headerBuffer.GetpBuf()), m_headerBuffer.GetSize());
    bmpfile::PatchHeaderPrinterLayout(header, m_nLogoWidth, m_nLogoHeight);
    out = CBufferUC(reinterpret_cast<const BYTE*>(header.constData()), static_cast<int>(header.size()));
}
