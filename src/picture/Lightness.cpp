#include "picture/Lightness.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace picture {

// Four pixels at a time where SSE2 is there (always on x86-64): the byte-wise
// maximum and minimum of a pixel and its copies moved down by one and two
// bytes hold max and min of blue, green and red in the low byte, with no
// branch on the colours (a compiled max and min may branch, and on varied
// colours those branches mispredict).
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

void RowLightnessOnWhite(const QRgb* premultiplied, int width, uchar* out)
{
    int x = 0;
#if defined(__SSE2__)
    // The paper's share, 255 - alpha, added to each colour byte; a
    // premultiplied channel never exceeds its alpha, so no byte overflows.
    const __m128i lowByte = _mm_set1_epi32(0xFF);
    for (; x + 8 <= width; x += 8) {
        __m128i light[2];
        for (int half = 0; half < 2; ++half) {
            __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(premultiplied + x + 4 * half));
            const __m128i paper = _mm_andnot_si128(_mm_srli_epi32(p, 24), lowByte); // 255 - alpha
            const __m128i paper3 = _mm_or_si128(paper, _mm_or_si128(_mm_slli_epi32(paper, 8), _mm_slli_epi32(paper, 16)));
            p = _mm_add_epi8(p, paper3);
            const __m128i down8 = _mm_srli_epi32(p, 8), down16 = _mm_srli_epi32(p, 16);
            const __m128i hi = _mm_and_si128(_mm_max_epu8(_mm_max_epu8(p, down8), down16), lowByte);
            const __m128i lo = _mm_and_si128(_mm_min_epu8(_mm_min_epu8(p, down8), down16), lowByte);
            light[half] = _mm_srli_epi32(_mm_add_epi32(hi, lo), 1);
        }
        const __m128i words = _mm_packs_epi32(light[0], light[1]);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + x), _mm_packus_epi16(words, words));
    }
#endif
    for (; x < width; ++x) {
        const QRgb p = premultiplied[x];
        const uint paper = 255u - qAlpha(p);
        out[x] = static_cast<uchar>(Lightness(qRgb(static_cast<int>(qRed(p) + paper), static_cast<int>(qGreen(p) + paper),
                                                   static_cast<int>(qBlue(p) + paper))));
    }
}

} // namespace picture
