#include "printer/PrintData.h"

#include "document/GlyphaneDoc.h"
#include "document/RowPacker.h"
#include "printer/ModelCatalogue.h"

#include <QImage>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcPrintData, "glyphane.printdata")

namespace {

constexpr int kBitsPerByte = 8;
// Rows of the 1-bit bitmap are aligned to 16-bit words.
constexpr int kRowAlignBits = 16;

int PaddedRowBytes(int width)
{
    return (width + kRowAlignBits - 1) / kRowAlignBits * (kRowAlignBits / kBitsPerByte);
}

} // namespace

CBufferUC GetBitmapBits(const QImage& image, int count)
{
    if (count <= 0)
        return CBufferUC();
    CBufferUC bits(count, 0);
    // The rows are the bitmap's own, whatever the logo size says; the count
    // cuts them off or leaves zeros after them.
    const int rowBytes = PaddedRowBytes(image.width());
    dots::PackRows(image, image.width(), image.height(), {rowBytes, rowBytes, false}, bits.GetpBuf(), count);
    return bits;
}

int PrintDataByteCount(const CGlyphaneDoc& doc)
{
    const int width = doc.Picture().GetLogoWidth();
    const int height = doc.Picture().GetLogoHeight();
    if (width < 0 || height < 0 || width > CGlyphaneDoc::kMaxLogoSide ||
        height > CGlyphaneDoc::kMaxLogoSide) {
        qCWarning(lcPrintData) << "unusable logo size" << width << "x" << height;
        return -1;
    }
    return static_cast<int>(static_cast<qint64>(width) * height / kBitsPerByte);
}

bool BuildUsbPrintData(CGlyphaneDoc& doc)
{
    const QImage* bitmap = doc.Picture().GetLogoBitmap();
    if (bitmap == nullptr)
        return false;
    const int count = PrintDataByteCount(doc);
    if (count < 0)
        return false;
    CBufferUC header;
    doc.BmpFile().BuildBitmapHeader(header);
    doc.Raster().SetPrintRaster(header + GetBitmapBits(*bitmap, count));
    return true;
}

bool BuildPlainPrintData(CGlyphaneDoc& doc)
{
    const QImage* bitmap = doc.Picture().GetLogoBitmap();
    CBufferUC data;
    if (bitmap != nullptr) {
        const int count = PrintDataByteCount(doc);
        if (count < 0)
            return false;
        data = GetBitmapBits(*bitmap, count);
    }
    data += CBufferUC(TrailingZeroBytes(doc.Binding().GetPrinterModel()), 0);
    doc.Raster().SetPrintRaster(data);
    return true;
}
