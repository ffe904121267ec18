#include "picture/FloydSteinberg.h"

#include "picture/Lightness.h"

#include <algorithm>
#include <cstdint>
#include <type_traits>
#include <vector>

namespace dither {

namespace {

// The value a white or black decision writes, chosen by a mask rather than
// a branch: white is 1 or 0.
inline QRgb InkOf(int white, QRgb*)
{
    return 0xFF000000u | (0x00FFFFFFu & (0u - static_cast<QRgb>(white)));
}

inline uchar InkOf(int white, uchar*)
{
    return static_cast<uchar>(0u - static_cast<unsigned>(white));
}

// One row, one pixel a step, in integers. The sums of the shares are kept as
// 16-bit values; since wrapping addition is associative, summing in an int
// and wrapping once gives the same value as wrapping after every share. The
// error rows have a spare slot at either end (slot x + 1 holds pixel x), so
// the left and right pixels need no tests: what falls on a spare slot is
// never read back.
template <typename Pixel, typename Light>
class CRowDiffusion {
public:
    CRowDiffusion(Pixel* row, const Light* lightness, const std::int16_t* carried, std::int16_t* below,
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
        m_row[x] = InkOf(white, m_row);
    }

    // Stores the last slot below, after the last pixel of a row of width pixels.
    void Finish(int width) { m_below[width] = static_cast<std::int16_t>(m_belowLeft); }

private:
    // Grey rows get their dots written over their own lightness, so only
    // colour rows promise the compiler that the two never meet.
    static constexpr bool kApart = !std::is_same_v<Pixel, Light>;
    using RowPointer = std::conditional_t<kApart, Pixel* __restrict, Pixel*>;
    using LightPointer = std::conditional_t<kApart, const Light* __restrict, const Light*>;
    RowPointer m_row;
    LightPointer m_lightness;
    const std::int16_t* __restrict m_carried;
    std::int16_t* __restrict m_below;
    int m_threshold;
    int m_right;          // the error reaching pixel x: carried plus 7/16 of its left neighbour's
    int m_belowLeft = 0;  // slot x - 1 below, still waiting for 3/16 of pixel x's error
    int m_belowHere = 0;  // slot x below, so far
};

// Colour rows: their lightness computed into a row of its own, black or
// white pixels out.
struct CColourRows {
    using Light = std::int32_t;
    QImage* image;
    const Light* Lightness(int y, int width, std::vector<Light>& room) const
    {
        picture::RowLightness(reinterpret_cast<const QRgb*>(image->constScanLine(y)), width, room.data());
        return room.data();
    }
    QRgb* Out(int y) const { return reinterpret_cast<QRgb*>(image->scanLine(y)); }
};

// Grey rows: the grey bytes themselves, read before the row is overwritten
// with dots (each pixel is read once, ahead of its own write).
struct CGreyRows {
    using Light = uchar;
    QImage* image;
    const Light* Lightness(int y, int, std::vector<Light>&) const { return image->constScanLine(y); }
    uchar* Out(int y) const { return image->scanLine(y); }
};

// The rows of the diffusion: two rows of lightness and three error rows, the
// errors carried into a pair of rows, those between them and those below it.
template <typename Rows>
class CDiffusionRows {
    using Pixel = std::remove_pointer_t<decltype(std::declval<Rows>().Out(0))>;
    using Light = typename Rows::Light;
    using Row = CRowDiffusion<Pixel, Light>;

public:
    CDiffusionRows(const Rows& rows, int width)
        : m_rows(rows), m_width(width),
          m_light{std::vector<Light>(static_cast<size_t>(width)), std::vector<Light>(static_cast<size_t>(width))},
          m_errors{std::vector<std::int16_t>(static_cast<size_t>(width) + 2, 0),
                   std::vector<std::int16_t>(static_cast<size_t>(width) + 2, 0),
                   std::vector<std::int16_t>(static_cast<size_t>(width) + 2, 0)}
    {
    }

    // Two rows at once. The second row's pixel x needs the first row's errors
    // below up to slot x + 1, complete once the first row has passed pixel
    // x + 2, so the second row follows three pixels behind; the two chains of
    // dependent steps then run side by side in the processor.
    void DiffusePair(int y, int threshold)
    {
        const Light* first = m_rows.Lightness(y, m_width, m_light[0]);
        const Light* second = m_rows.Lightness(y + 1, m_width, m_light[1]);
        Row a(m_rows.Out(y), first, m_errors[0].data(), m_errors[1].data(), threshold);
        int x = 0;
        for (; x < kLag && x < m_width; ++x)
            a.Step(x);
        if (m_width <= kLag)
            a.Finish(m_width); // the second row starts from slot 0, the last slot of so short a row
        Row b(m_rows.Out(y + 1), second, m_errors[1].data(), m_errors[2].data(), threshold);
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
    void DiffuseOne(int y, int threshold)
    {
        Row a(m_rows.Out(y), m_rows.Lightness(y, m_width, m_light[0]), m_errors[0].data(), m_errors[1].data(), threshold);
        for (int x = 0; x < m_width; ++x)
            a.Step(x);
    }

private:
    static constexpr int kLag = 3;
    Rows m_rows;
    int m_width;
    std::vector<Light> m_light[2];
    std::vector<std::int16_t> m_errors[3];
};

template <typename Rows>
void Diffuse(const Rows& rows, int width, int height, int threshold)
{
    if (width <= 0 || height <= 0)
        return;
    CDiffusionRows<Rows> diffusion(rows, width);
    int y = 0;
    for (; y + 1 < height; y += 2)
        diffusion.DiffusePair(y, threshold);
    if (y < height)
        diffusion.DiffuseOne(y, threshold);
}

} // namespace

void FloydSteinbergColours(QImage& image, int width, int height, int threshold)
{
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        return;
    Diffuse(CColourRows{&image}, std::min(width, image.width()), std::min(height, image.height()), threshold);
}

void FloydSteinbergGrey(QImage& grey, int threshold)
{
    if (grey.format() != QImage::Format_Grayscale8)
        return;
    grey.detach(); // the rows read are the rows written
    Diffuse(CGreyRows{&grey}, grey.width(), grey.height(), threshold);
}

} // namespace dither
