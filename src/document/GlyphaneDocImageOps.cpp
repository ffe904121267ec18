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
// is there (always on x86-64): the byte-wise maximum and minimum of a pixel
// and its copies moved down by one and two bytes hold max and min of blue,
// green and red in the low byte, with no branch on the colours (a compiled
// max and min may branch, and on varied colours those branches mispredict).
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

// Floyd-Steinberg diffusion of one row on lightness, in integers, one pixel
// a step. The error is split 7/16 right, 3/16 below left, 5/16 below and 1/16
// below right, each share truncated toward zero (C++ integer division) and
// the sums kept as 16-bit values; since wrapping addition is associative,
// summing in an int and wrapping once gives the same value as wrapping after
// every share. The choice of white is turned into masks, not branches. The
// error rows have a spare slot at either end (slot x + 1 holds pixel x), so
// the left and right pixels need no tests: what falls on a spare slot is
// never read back.
class CRowDiffusion {
public:
    CRowDiffusion(QRgb* row, const std::int32_t* lightness, const std::int16_t* carried, std::int16_t* below,
                  int threshold)
        : m_row(row), m_lightness(lightness), m_carried(carried), m_below(below), m_threshold(threshold),
          m_right(carried[1])
    {
    }

    inline void Step(int x)
    {
        const int v = m_lightness[x] + static_cast<std::int16_t>(m_right);
        const int white = v > m_threshold ? 1 : 0;
        const int e = v - (255 & -white);
        m_right = m_carried[x + 2] + e * 7 / 16;
        m_below[x] = static_cast<std::int16_t>(m_belowLeft + e * 3 / 16); // slot x - 1 (the spare one for x = 0)
        m_belowLeft = m_belowHere + e * 5 / 16;
        m_belowHere = e / 16;
        m_row[x] = kBlack | (0x00FFFFFFu & (0u - static_cast<QRgb>(white)));
    }

    // Stores the last slot below, after the last pixel of a row of width pixels.
    void Finish(int width) { m_below[width] = static_cast<std::int16_t>(m_belowLeft); }

private:
    QRgb* __restrict m_row;
    const std::int32_t* __restrict m_lightness;
    const std::int16_t* __restrict m_carried;
    std::int16_t* __restrict m_below;
    int m_threshold;
    int m_right;          // the error reaching pixel x: carried plus 7/16 of its left neighbour's
    int m_belowLeft = 0;  // slot x - 1 below, still waiting for 3/16 of pixel x's error
    int m_belowHere = 0;  // slot x below, so far
};

// The rows of the diffusion: two rows of lightness and three error rows, the
// errors carried into a pair of rows, those between them and those below it.
class CDiffusionRows {
public:
    explicit CDiffusionRows(int width)
        : m_width(width), m_light{std::vector<std::int32_t>(static_cast<size_t>(width)), std::vector<std::int32_t>(static_cast<size_t>(width))},
          m_errors{std::vector<std::int16_t>(static_cast<size_t>(width) + 2, 0),
                   std::vector<std::int16_t>(static_cast<size_t>(width) + 2, 0),
                   std::vector<std::int16_t>(static_cast<size_t>(width) + 2, 0)}
    {
    }

    // Two rows at once. The second row's pixel x needs the first row's errors
    // below up to slot x + 1, complete once the first row has passed pixel
    // x + 2, so the second row follows three pixels behind; the two chains of
    // dependent steps then run side by side in the processor.
    void DiffusePair(QRgb* first, QRgb* second, int threshold)
    {
        RowLightness(first, m_width, m_light[0].data());
        RowLightness(second, m_width, m_light[1].data());
        CRowDiffusion a(first, m_light[0].data(), m_errors[0].data(), m_errors[1].data(), threshold);
        int x = 0;
        for (; x < kLag && x < m_width; ++x)
            a.Step(x);
        if (m_width <= kLag)
            a.Finish(m_width); // the second row starts from slot 0, the last slot of so short a row
        CRowDiffusion b(second, m_light[1].data(), m_errors[1].data(), m_errors[2].data(), threshold);
        for (; x < m_width; ++x) {
            a.Step(x);
            b.Step(x - kLag);
        }
        a.Finish(m_width);
        for (int xb = std::max(0, m_width - kLag); xb < m_width; ++xb)
            b.Step(xb);
        b.Finish(m_width);
        m_errors[0].swap(m_errors[2]);
    }

    // A last row without a partner.
    void DiffuseOne(QRgb* row, int threshold)
    {
        RowLightness(row, m_width, m_light[0].data());
        CRowDiffusion a(row, m_light[0].data(), m_errors[0].data(), m_errors[1].data(), threshold);
        for (int x = 0; x < m_width; ++x)
            a.Step(x);
    }

private:
    static constexpr int kLag = 3;
    int m_width;
    std::vector<std::int32_t> m_light[2];
    std::vector<std::int16_t> m_errors[3];
};

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
    CDiffusionRows rows(w);
    int y = 0;
    for (; y + 1 < h; y += 2)
        rows.DiffusePair(RowOf(*image, y), RowOf(*image, y + 1), t);
    if (y < h)
        rows.DiffuseOne(RowOf(*image, y), t);
    // The converted logo is saved and sent with the plain 1-bit header.
    ReloadHeaderTemplate();
    PatchHeaderForLogo();
    m_bMonochrome = 1;
    UpdateAllViews();
}
