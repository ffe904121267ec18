// Whole-image operations of the logo picture. They work on the bitmap's
// memory row by row; the width and height the caller passes are clamped to
// the bitmap, so a stale logo size can never reach outside it. A bitmap kept
// packed (one bit a pixel, palette black and white) is inverted and flipped
// on its packed rows when the operation covers the whole bitmap.
#include "document/LogoPicture.h"

#include "document/RasterOps.h"
#include "picture/FloydSteinberg.h"
#include "picture/Lightness.h"
#include "platform/SurfaceTypes.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

namespace {

// The packed bitmap when the operation covers all of it, otherwise null (the
// operation then takes the 32-bit pixels).
QImage* PackedRowsOf(CLogoPicture& picture, DWORD width, DWORD height)
{
    QImage* image = picture.GetLogoBitmap();
    if (!image || image->format() != QImage::Format_Mono || width < static_cast<DWORD>(image->width())
        || height < static_cast<DWORD>(image->height()))
        return nullptr;
    return image;
}

// Bytes of a packed row that hold dots; bits past the width are padding.
int DotBytes(const QImage& image)
{
    return (image.width() + 7) / 8;
}

void InvertPackedRows(QImage& image)
{
    const int bytes = DotBytes(image);
    for (int y = 0; y < image.height(); ++y) {
        uchar* row = image.scanLine(y);
        for (int i = 0; i < bytes; ++i)
            row[i] = static_cast<uchar>(~row[i]);
    }
}

// Mirrors each row's bits: the bytes reversed, their bits reversed, then the
// row moved left by the padding bits that the reversal brought to its front.
void MirrorPackedRows(QImage& image)
{
    const int bytes = DotBytes(image);
    const int shift = bytes * 8 - image.width();
    std::vector<uchar> mirrored(static_cast<size_t>(bytes) + 1, 0);
    for (int y = 0; y < image.height(); ++y) {
        uchar* row = image.scanLine(y);
        for (int i = 0; i < bytes; ++i)
            mirrored[static_cast<size_t>(i)] = rasterops::ReverseBits(row[bytes - 1 - i]);
        for (int i = 0; i < bytes; ++i)
            row[i] = shift == 0 ? mirrored[static_cast<size_t>(i)]
                                : static_cast<uchar>(mirrored[static_cast<size_t>(i)] << shift
                                                     | mirrored[static_cast<size_t>(i) + 1] >> (8 - shift));
    }
}

void SwapPackedRowsTopBottom(QImage& image)
{
    const qsizetype bytes = image.bytesPerLine();
    for (int top = 0, bottom = image.height() - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(image.scanLine(top), image.scanLine(top) + bytes, image.scanLine(bottom));
}

// The bitmap ready for direct 32-bit access, or null when there is none.
QImage* PixelsOf(CLogoPicture& picture)
{
    QImage* image = picture.GetLogoBitmap();
    if (!image)
        return nullptr;
    if (image->format() != QImage::Format_RGB32 && image->format() != QImage::Format_ARGB32)
        *image = image->convertToFormat(QImage::Format_RGB32);
    return image;
}

QSize ClampToImage(const QImage& image, DWORD width, DWORD height)
{
    return QSize(static_cast<int>(std::min<DWORD>(width, static_cast<DWORD>(image.width()))),
                 static_cast<int>(std::min<DWORD>(height, static_cast<DWORD>(image.height()))));
}

inline QRgb* RowOf(QImage& image, int y)
{
    return reinterpret_cast<QRgb*>(image.scanLine(y));
}

// The grey of the first width x height pixels, for the methods that work on grey.
QImage LightnessOf(const QImage& image, QSize size)
{
    QImage grey(size, QImage::Format_Grayscale8);
    std::vector<std::int32_t> light(static_cast<size_t>(size.width()));
    for (int y = 0; y < size.height(); ++y) {
        picture::RowLightness(reinterpret_cast<const QRgb*>(image.constScanLine(y)), size.width(), light.data());
        std::copy(light.begin(), light.end(), grey.scanLine(y));
    }
    return grey;
}

void WriteDots(const QImage& dots, QImage& image)
{
    const int width = dots.width(), height = dots.height();
    for (int y = 0; y < height; ++y) {
        const uchar* in = dots.constScanLine(y);
        QRgb* out = RowOf(image, y);
        for (int x = 0; x < width; ++x)
            out[x] = in[x] ? 0xFFFFFFFFu : 0xFF000000u;
    }
}

} // namespace

bool CLogoPicture::InvertAllPixels(DWORD width, DWORD height)
{
    if (QImage* packed = PackedRowsOf(*this, width, height)) {
        InvertPackedRows(*packed);
        return true;
    }
    QImage* image = PixelsOf(*this);
    if (!image)
        return false;
    const QSize size = ClampToImage(*image, width, height);
    for (int y = 0; y < size.height(); ++y) {
        QRgb* row = RowOf(*image, y);
        for (int x = 0; x < size.width(); ++x)
            row[x] = surface::ToPixel(0xFFFFFFu - surface::ToColorRef(row[x]));
    }
    return true;
}

bool CLogoPicture::FlipPixelsHorizontal(DWORD width, DWORD height)
{
    if (QImage* packed = PackedRowsOf(*this, width, height)) {
        MirrorPackedRows(*packed);
        return true;
    }
    QImage* image = PixelsOf(*this);
    if (!image)
        return false;
    const QSize size = ClampToImage(*image, width, height);
    const int w = size.width();
    for (int y = 0; y < size.height(); ++y) {
        QRgb* row = RowOf(*image, y);
        for (int x = 0; x < w / 2; ++x)
            std::swap(row[x], row[w - 1 - x]);
    }
    return true;
}

bool CLogoPicture::FlipPixelsVertical(DWORD width, DWORD height)
{
    if (QImage* packed = PackedRowsOf(*this, width, height)) {
        SwapPackedRowsTopBottom(*packed);
        return true;
    }
    QImage* image = PixelsOf(*this);
    if (!image)
        return false;
    const QSize size = ClampToImage(*image, width, height);
    const int h = size.height();
    for (int y = 0; y < h / 2; ++y) {
        QRgb* top = RowOf(*image, y);
        std::swap_ranges(top, top + size.width(), RowOf(*image, h - 1 - y));
    }
    return true;
}

bool CLogoPicture::ConvertToBlackWhite(DWORD width, DWORD height, DWORD threshold, dither::Method method)
{
    QImage* image = PixelsOf(*this);
    if (!image)
        return false;
    const QSize size = ClampToImage(*image, width, height);
    // Lightness plus error always fits an int, so a threshold past INT_MAX
    // decides as INT_MAX does.
    const int t = static_cast<int>(std::min<DWORD>(threshold, INT_MAX));
    if (method == dither::Method::FloydSteinberg) {
        // Straight on the pixels, no grey copy: the conversion "To Black White" has always been.
        dither::FloydSteinbergColours(*image, size.width(), size.height(), t);
    } else {
        QImage dots = LightnessOf(*image, size);
        dither::Apply(dots, dither::CMethodSettings{method, t, false});
        WriteDots(dots, *image);
    }
    return true;
}
