// Whole-image operations of the logo document. They work on the bitmap's
// memory row by row; the width and height the caller passes are clamped to
// the bitmap, so a stale logo size can never reach outside it. A bitmap kept
// packed (one bit a pixel, palette black and white) is inverted and flipped
// on its packed rows when the operation covers the whole bitmap.
#include "document/GlyphaneDoc.h"

#include "document/RasterOps.h"
#include "platform/SurfaceTypes.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr QRgb kBlack = 0xFF000000;

// The packed bitmap when the operation covers all of it, otherwise null (the
// operation then takes the 32-bit pixels).
QImage* PackedRowsOf(CGlyphaneDoc& doc, DWORD width, DWORD height)
{
    QImage* image = doc.GetLogoBitmap();
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

// Lightness, (max + min) / 2 of the three channels, from the pixel's bytes.
inline int Lightness(QRgb p)
{
    const int r = static_cast<int>((p >> 16) & 0xFF), g = static_cast<int>((p >> 8) & 0xFF),
              b = static_cast<int>(p & 0xFF);
    const int hi = std::max(r, std::max(g, b)), lo = std::min(r, std::min(g, b));
    return (hi + lo) >> 1;
}

// The lightness of a row of pixels into out. Four pixels at a time where SSE2
// is there: the byte-wise maximum and minimum of a pixel and its copies moved
// down by one and two bytes hold max and min of blue, green and red in the
// low byte. Branch-free either way: a branch on random colours mispredicts.
void RowLightness(const QRgb* row, int width, std::int32_t* out)
{
    int x = 0;
#if defined(__SSE2__)
    const __m128i lowByte = _mm_set1_epi32(0xFF);
    for (; x + 4 <= width; x += 4) {
        const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x));
        const __m128i down8 = _mm_srli_epi32(p, 8), down16 = _mm_srli_epi32(p, 16);
        const __m128i hi = _mm_and_si128(_mm_max_epu8(_mm_max_epu8(p, down8), down16), lowByte);
        const __m128i lo = _mm_and_si128(_mm_min_epu8(_mm_min_epu8(p, down8), down16), lowByte);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm_srli_epi32(_mm_add_epi32(hi, lo), 1));
    }
#endif
    for (; x < width; ++x)
        out[x] = Lightness(row[x]);
}

// The rows of Floyd-Steinberg diffusion: the lightness of the current row,
// the errors carried into it and those collected for the row below. The
// error rows have a spare slot at either end, so the left and right pixels
// need no tests: what falls on a spare slot is never read back.
class CErrorRows {
public:
    explicit CErrorRows(int width)
        : m_lightness(static_cast<size_t>(width)), m_current(static_cast<size_t>(width) + 2, 0),
          m_next(m_current.size(), 0)
    {
    }
    // The row below becomes the current one; the new row below starts clear.
    void Advance()
    {
        m_current.swap(m_next);
        std::fill(m_next.begin(), m_next.end(), std::int16_t(0));
    }
    std::int32_t* Lightness() { return m_lightness.data(); }
    // Slot x + 1 holds the error of pixel x.
    const std::int16_t* Current() const { return m_current.data(); }
    std::int16_t* Next() { return m_next.data(); }

private:
    std::vector<std::int32_t> m_lightness;
    std::vector<std::int16_t> m_current;
    std::vector<std::int16_t> m_next;
};

// Floyd-Steinberg diffusion of one row on lightness, in integers. The error
// is split 7/16 right, 3/16 below left, 5/16 below and 1/16 below right, each
// share truncated toward zero (C++ integer division) and the sums kept as
// 16-bit values; since wrapping addition is associative, summing in an int
// and wrapping once gives the same value as wrapping after every share. The
// choice of white is turned into masks, not branches. The four rows are
// distinct buffers (restrict), so no store has to wait for a load.
void DiffuseRow(QRgb* __restrict row, int width, int threshold, const std::int32_t* __restrict lightness,
                const std::int16_t* __restrict carried, std::int16_t* __restrict below)
{
    int right = carried[1];   // the error reaching pixel x: carried plus 7/16 of its left neighbour's
    int belowLeft = 0;        // slot x - 1 below, still waiting for 3/16 of pixel x's error
    int belowHere = 0;        // slot x below, so far
    for (int x = 0; x < width; ++x) {
        const int v = lightness[x] + static_cast<std::int16_t>(right);
        const int white = v > threshold ? 1 : 0;
        const int e = v - (255 & -white);
        right = carried[x + 2] + e * 7 / 16;
        below[x] = static_cast<std::int16_t>(belowLeft + e * 3 / 16); // slot x - 1 (the spare slot for x = 0)
        belowLeft = belowHere + e * 5 / 16;
        belowHere = e / 16;
        row[x] = kBlack | (0x00FFFFFFu & (0u - static_cast<QRgb>(white)));
    }
    below[width] = static_cast<std::int16_t>(belowLeft);
}

} // namespace

void CGlyphaneDoc::InvertAllPixels(DWORD width, DWORD height)
{
    if (QImage* packed = PackedRowsOf(*this, width, height)) {
        InvertPackedRows(*packed);
        UpdateAllViews();
        return;
    }
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
    if (QImage* packed = PackedRowsOf(*this, width, height)) {
        MirrorPackedRows(*packed);
        UpdateAllViews();
        return;
    }
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
    if (QImage* packed = PackedRowsOf(*this, width, height)) {
        SwapPackedRowsTopBottom(*packed);
        UpdateAllViews();
        return;
    }
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
    // Lightness plus error always fits an int, so a threshold past INT_MAX
    // decides as INT_MAX does.
    const int t = static_cast<int>(std::min<DWORD>(threshold, INT_MAX));
    CErrorRows errors(w);
    for (int y = 0; y < h; ++y) {
        errors.Advance();
        QRgb* row = RowOf(*image, y);
        RowLightness(row, w, errors.Lightness());
        DiffuseRow(row, w, t, errors.Lightness(), errors.Current(), errors.Next());
    }
    // The converted logo is saved and sent with the plain 1-bit header.
    ReloadHeaderTemplate();
    PatchHeaderForLogo();
    m_bMonochrome = 1;
    UpdateAllViews();
}
