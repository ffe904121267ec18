#include "printer/PrintData.h"

#include "document/GlyphaneDoc.h"
#include "printer/ModelCatalogue.h"

#include <QImage>
#include <QLoggingCategory>

#include <algorithm>

Q_LOGGING_CATEGORY(lcPrintData, "glyphane.printdata")

namespace {

constexpr int kBitsPerByte = 8;
// Rows of the 1-bit bitmap are aligned to 16-bit words.
constexpr int kRowAlignBits = 16;
constexpr QRgb kWhiteThreshold = 0x7F7F7F;

int PaddedRowBytes(int width)
{
    return (width + kRowAlignBits - 1) / kRowAlignBits * (kRowAlignBits / kBitsPerByte);
}

// The colour reference form of a pixel: red in the low byte, blue in the high.
QRgb ToColorRef(QRgb pixel)
{
    return static_cast<QRgb>(qRed(pixel)) | (static_cast<QRgb>(qGreen(pixel)) << 8) |
           (static_cast<QRgb>(qBlue(pixel)) << 16);
}

void PackRow(const QRgb* pixels, int width, BYTE* dest)
{
    for (int x = 0; x < width; ++x) {
        if (ToColorRef(pixels[x]) > kWhiteThreshold)
            dest[x / kBitsPerByte] |= static_cast<BYTE>(0x80 >> (x % kBitsPerByte));
    }
}

} // namespace

CBufferUC GetBitmapBits(const QImage& image, int count)
{
    if (count <= 0)
        return CBufferUC();
    CBufferUC bits(count, 0);
    if (image.isNull())
        return bits;
    // The document keeps RGB32; any other format is read through a copy so
    // the scan lines below are always 32-bit pixels.
    const QImage rgb = image.format() == QImage::Format_RGB32
                           ? image
                           : image.convertToFormat(QImage::Format_RGB32);
    const int rowBytes = PaddedRowBytes(rgb.width());
    std::vector<BYTE> row(static_cast<size_t>(rowBytes));
    BYTE* dest = bits.GetpBuf();
    qint64 offset = 0;
    for (int y = 0; y < rgb.height() && offset < count; ++y) {
        std::fill(row.begin(), row.end(), BYTE{0});
        PackRow(reinterpret_cast<const QRgb*>(rgb.constScanLine(y)), rgb.width(), row.data());
        const qint64 take = std::min<qint64>(rowBytes, count - offset);
        std::copy_n(row.begin(), take, dest + offset);
        offset += take;
    }
    return bits;
}

int PrintDataByteCount(const CGlyphaneDoc& doc)
{
    const int width = doc.GetLogoWidth();
    const int height = doc.GetLogoHeight();
    if (width < 0 || height < 0 || width > CGlyphaneDoc::kMaxLogoSide ||
        height > CGlyphaneDoc::kMaxLogoSide) {
        qCWarning(lcPrintData) << "unusable logo size" << width << "x" << height;
        return -1;
    }
    return static_cast<int>(static_cast<qint64>(width) * height / kBitsPerByte);
}

bool BuildUsbPrintData(CGlyphaneDoc& doc)
{
    const QImage* bitmap = doc.GetLogoBitmap();
    if (bitmap == nullptr)
        return false;
    const int count = PrintDataByteCount(doc);
    if (count < 0)
        return false;
    CBufferUC header;
    doc.BuildBitmapHeader(header);
    doc.SetPrintRaster(header + GetBitmapBits(*bitmap, count));
    return true;
}

bool BuildPlainPrintData(CGlyphaneDoc& doc)
{
    const QImage* bitmap = doc.GetLogoBitmap();
    CBufferUC data;
    if (bitmap != nullptr) {
        const int count = PrintDataByteCount(doc);
        if (count < 0)
            return false;
        data = GetBitmapBits(*bitmap, count);
    }
    data += CBufferUC(TrailingZeroBytes(doc.GetPrinterModel()), 0);
    doc.SetPrintRaster(data);
    return true;
}
