// Whole-image operations of the logo document. They work on the bitmap's
// memory row by row; the width and height the caller passes are clamped to
// the bitmap, so a stale logo size can never reach outside it.
#include "document/GlyphaneDoc.h"

#include "platform/SurfaceTypes.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;

// The bitmap ready for direct 32-bit access, or null when there is none.
QImage* PixelsOf(CGlyphaneDoc& doc)
{
    QImage* image = doc.GetLogoBitmap();
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

inline int Lightness(QRgb p)
{
    const int r = qRed(p), g = qGreen(p), b = qBlue(p);
    return (std::max({r, g, b}) + std::min({r, g, b})) / 2;
}

// Adds a share of an error: computed in floating point, truncated toward zero,
// then added to the 16-bit value (wrapping as a 16-bit value does).
inline void AddShare(std::int16_t& slot, int error, int sixteenths)
{
    const int share = static_cast<int>(error * sixteenths / 16.0);
    slot = static_cast<std::int16_t>(slot + share);
}

// Floyd-Steinberg error diffusion of one row on lightness; current holds the
// errors carried into this row and next collects those for the row below.
void DiffuseRow(QRgb* row, int width, bool lastRow, double threshold, std::vector<std::int16_t>& current,
                std::vector<std::int16_t>& next)
{
    for (int x = 0; x < width; ++x) {
        const int v = Lightness(row[x]) + current[x];
        const bool white = static_cast<double>(v) > threshold;
        const int e = white ? v - 255 : v;
        if (x < width - 1)
            AddShare(current[x + 1], e, 7);
        if (!lastRow)
            AddShare(next[x], e, 5);
        if (x < width - 1 && !lastRow)
            AddShare(next[x + 1], e, 1);
        if (x > 0)
            AddShare(next[x - 1], e, 3);
        row[x] = white ? kWhite : kBlack;
    }
}

} // namespace

void CGlyphaneDoc::InvertAllPixels(DWORD width, DWORD height)
{
    QImage* image = PixelsOf(*this);
    if (!image)
        return;
    const QSize size = ClampToImage(*image, width, height);
    for (int y = 0; y < size.height(); ++y) {
        QRgb* row = RowOf(*image, y);
        for (int x = 0; x < size.width(); ++x)
            row[x] = surface::ToPixel(0xFFFFFFu - surface::ToColorRef(row[x]));
    }
    UpdateAllViews();
}

void CGlyphaneDoc::FlipPixelsHorizontal(DWORD width, DWORD height)
{
    QImage* image = PixelsOf(*this);
    if (!image)
        return;
    const QSize size = ClampToImage(*image, width, height);
    const int w = size.width();
    for (int y = 0; y < size.height(); ++y) {
        QRgb* row = RowOf(*image, y);
        for (int x = 0; x < w / 2; ++x)
            std::swap(row[x], row[w - 1 - x]);
    }
    UpdateAllViews();
}

void CGlyphaneDoc::FlipPixelsVertical(DWORD width, DWORD height)
{
    QImage* image = PixelsOf(*this);
    if (!image)
        return;
    const QSize size = ClampToImage(*image, width, height);
    const int h = size.height();
    for (int y = 0; y < h / 2; ++y) {
        QRgb* top = RowOf(*image, y);
        std::swap_ranges(top, top + size.width(), RowOf(*image, h - 1 - y));
    }
    UpdateAllViews();
}

void CGlyphaneDoc::ConvertToBlackWhite(DWORD width, DWORD height, DWORD threshold)
{
    QImage* image = PixelsOf(*this);
    if (!image)
        return;
    const QSize size = ClampToImage(*image, width, height);
    const int w = size.width(), h = size.height();
    std::vector<std::int16_t> current(static_cast<size_t>(w), 0);
    std::vector<std::int16_t> next(static_cast<size_t>(w), 0);
    for (int y = 0; y < h; ++y) {
        current.swap(next);
        std::fill(next.begin(), next.end(), std::int16_t(0));
        DiffuseRow(RowOf(*image, y), w, y == h - 1, static_cast<double>(threshold), current, next);
    }
    // The converted logo is saved and sent with the plain 1-bit header.
    ReloadHeaderTemplate();
    PatchHeaderForLogo();
    m_bMonochrome = 1;
    UpdateAllViews();
}
