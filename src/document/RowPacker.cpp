#include "document/RowPacker.h"

#include "document/DotRule.h"
#include "document/RasterOps.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define GLYPHANE_PACK_SSSE3 1
#endif

namespace dots {

namespace {

// The image as 32-bit pixels, copied only when it is in another format (the
// alpha byte is ignored by the dot rule, so ARGB32 is read as it is; packed
// 1-bit rows are read as they are, see PackMonoRow).
QImage As32Bit(const QImage& image)
{
    if (image.isNull() || image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
        || image.format() == QImage::Format_Mono)
        return image;
    return image.convertToFormat(QImage::Format_RGB32);
}

inline int WhiteBit(QRgb pixel)
{
    return IsDark(pixel) ? 0 : 1;
}

#if defined(__SSE2__)
// The white bits of four pixels, the first pixel in bit 3: each pixel turned
// into its colour value 0x00BBGGRR and compared with the brightest dot. The
// comparison is signed, which is exact for values below 2^24.
inline int WhiteBitsOfFour(__m128i pixels)
{
    const __m128i byteMask = _mm_set1_epi32(0xFF);
    const __m128i red = _mm_and_si128(_mm_srli_epi32(pixels, 16), byteMask);
    const __m128i green = _mm_and_si128(pixels, _mm_set1_epi32(0xFF00));
    const __m128i blue = _mm_slli_epi32(_mm_and_si128(pixels, byteMask), 16);
    const __m128i colour = _mm_or_si128(_mm_or_si128(red, green), blue);
    const __m128i white = _mm_cmpgt_epi32(colour, _mm_set1_epi32(static_cast<int>(kBrightestDot)));
    // Lanes reversed so that the first pixel lands in the highest bit.
    return _mm_movemask_ps(_mm_castsi128_ps(_mm_shuffle_epi32(white, _MM_SHUFFLE(0, 1, 2, 3))));
}

// Eight dots that all lie inside the image and inside the width.
inline BYTE PackByte(const QRgb* pixels)
{
    const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels));
    const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + 4));
    return static_cast<BYTE>(WhiteBitsOfFour(first) << 4 | WhiteBitsOfFour(second));
}
#else
inline BYTE PackByte(const QRgb* pixels)
{
    int byte = 0;
    for (int bit = 0; bit < 8; ++bit)
        byte = (byte << 1) | WhiteBit(pixels[bit]);
    return static_cast<BYTE>(byte);
}
#endif

// Whole bytes of dots from pixels into out: eight dots a byte.
void PackWholeBytes(const QRgb* pixels, BYTE* out, int bytes)
{
    for (int j = 0; j < bytes; ++j)
        out[j] = PackByte(pixels + 8 * j);
}

#if defined(GLYPHANE_PACK_SSSE3)
// The same, sixteen dots at a time with SSSE3 where the processor has it
// (checked once at run time; the build targets plain x86-64). A byte shuffle
// turns each pixel into its colour value 0x00BBGGRR, one signed comparison
// per four pixels gives the white lanes, two packs narrow them to one byte a
// pixel, and a last shuffle puts each group of eight in the order that lets
// the byte-mask instruction set the leftmost dot in the highest bit.
__attribute__((target("ssse3"))) inline __m128i WhiteLanes(const QRgb* four)
{
    const __m128i toColourValue = _mm_setr_epi8(2, 1, 0, -128, 6, 5, 4, -128, 10, 9, 8, -128, 14, 13, 12, -128);
    const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(four));
    return _mm_cmpgt_epi32(_mm_shuffle_epi8(p, toColourValue), _mm_set1_epi32(static_cast<int>(kBrightestDot)));
}

__attribute__((target("ssse3"))) void PackWholeBytesSsse3(const QRgb* pixels, BYTE* out, int bytes)
{
    const __m128i leftmostHigh = _mm_setr_epi8(7, 6, 5, 4, 3, 2, 1, 0, 15, 14, 13, 12, 11, 10, 9, 8);
    int j = 0;
    for (; j + 2 <= bytes; j += 2) {
        const QRgb* p = pixels + 8 * j;
        const __m128i low = _mm_packs_epi32(WhiteLanes(p), WhiteLanes(p + 4));
        const __m128i high = _mm_packs_epi32(WhiteLanes(p + 8), WhiteLanes(p + 12));
        const int mask = _mm_movemask_epi8(_mm_shuffle_epi8(_mm_packs_epi16(low, high), leftmostHigh));
        out[j] = static_cast<BYTE>(mask & 0xFF);
        out[j + 1] = static_cast<BYTE>(mask >> 8);
    }
    PackWholeBytes(pixels + 8 * j, out + j, bytes - j);
}

// Thirty-two dots at a time with AVX2, the same steps on eight pixels a
// vector. The packs work inside each 128-bit half, so a dword permutation
// puts the groups of four back in order before the last shuffle.
__attribute__((target("avx2"))) inline __m256i WhiteLanesOfEight(const QRgb* eight)
{
    const __m256i toColourValue = _mm256_setr_epi8(2, 1, 0, -128, 6, 5, 4, -128, 10, 9, 8, -128, 14, 13, 12, -128,
                                                   2, 1, 0, -128, 6, 5, 4, -128, 10, 9, 8, -128, 14, 13, 12, -128);
    const __m256i p = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(eight));
    return _mm256_cmpgt_epi32(_mm256_shuffle_epi8(p, toColourValue), _mm256_set1_epi32(static_cast<int>(kBrightestDot)));
}

__attribute__((target("avx2"))) void PackWholeBytesAvx2(const QRgb* pixels, BYTE* out, int bytes)
{
    const __m256i inOrder = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
    const __m256i leftmostHigh = _mm256_setr_epi8(7, 6, 5, 4, 3, 2, 1, 0, 15, 14, 13, 12, 11, 10, 9, 8,
                                                  7, 6, 5, 4, 3, 2, 1, 0, 15, 14, 13, 12, 11, 10, 9, 8);
    int j = 0;
    for (; j + 4 <= bytes; j += 4) {
        const QRgb* p = pixels + 8 * j;
        const __m256i low = _mm256_packs_epi32(WhiteLanesOfEight(p), WhiteLanesOfEight(p + 8));
        const __m256i high = _mm256_packs_epi32(WhiteLanesOfEight(p + 16), WhiteLanesOfEight(p + 24));
        const __m256i ordered = _mm256_permutevar8x32_epi32(_mm256_packs_epi16(low, high), inOrder);
        const auto mask = static_cast<quint32>(_mm256_movemask_epi8(_mm256_shuffle_epi8(ordered, leftmostHigh)));
        for (int k = 0; k < 4; ++k)
            out[j + k] = static_cast<BYTE>(mask >> (8 * k));
    }
    PackWholeBytesSsse3(pixels + 8 * j, out + j, bytes - j);
}

// What the processor offers, asked once.
enum class PackLevel { Plain, Ssse3, Avx2 };

PackLevel ProcessorPackLevel()
{
    static const PackLevel level = [] {
        __builtin_cpu_init(); // may run before the library's own start-up has asked the processor
        if (__builtin_cpu_supports("avx2"))
            return PackLevel::Avx2;
        return __builtin_cpu_supports("ssse3") ? PackLevel::Ssse3 : PackLevel::Plain;
    }();
    return level;
}
#endif

// Eight dots from firstX of which some lie past the image's row (white) or
// past the width (bit 0).
inline BYTE PackEdgeByte(const QRgb* row, int firstX, int inside, int width)
{
    if (firstX >= inside && firstX + 8 <= width)
        return 0xFF; // wholly beyond the image: all white
    int byte = 0;
    for (int bit = 0; bit < 8; ++bit) {
        const int x = firstX + bit;
        const int white = x >= width ? 0 : (x >= inside ? 1 : WhiteBit(row[x]));
        byte = (byte << 1) | white;
    }
    return static_cast<BYTE>(byte);
}

// One row of `bytes` bytes; row may be null when inside is 0.
void PackRow(const QRgb* row, int inside, int width, BYTE* out, int bytes)
{
    const int whole = std::min(bytes, std::min(inside, width) / 8);
#if defined(GLYPHANE_PACK_SSSE3)
    switch (ProcessorPackLevel()) {
    case PackLevel::Avx2:
        PackWholeBytesAvx2(row, out, whole);
        break;
    case PackLevel::Ssse3:
        PackWholeBytesSsse3(row, out, whole);
        break;
    case PackLevel::Plain:
        PackWholeBytes(row, out, whole);
        break;
    }
#else
    PackWholeBytes(row, out, whole);
#endif
    for (int j = whole; j < bytes; ++j)
        out[j] = PackEdgeByte(row, 8 * j, inside, width);
}

// How the two palette indices of a packed 1-bit image print: the white bit
// of a byte of indices is (byte & oneWhite) | (~byte & zeroWhite).
struct MonoSense {
    BYTE zeroWhite;
    BYTE oneWhite;
};

MonoSense SenseOf(const QImage& image)
{
    const QList<QRgb> table = image.colorTable();
    const bool zero = !table.isEmpty() && !IsDark(table[0]);
    const bool one = table.size() > 1 ? !IsDark(table[1]) : zero;
    return {static_cast<BYTE>(zero ? 0xFF : 0), static_cast<BYTE>(one ? 0xFF : 0)};
}

// One row of packed indices into `bytes` bytes, as PackRow does for pixels:
// whole bytes map at once, the edge bytes dot by dot.
void PackMonoRow(const uchar* row, MonoSense sense, int inside, int width, BYTE* out, int bytes)
{
    const int whole = std::min(bytes, std::min(inside, width) / 8);
    for (int j = 0; j < whole; ++j)
        out[j] = static_cast<BYTE>((row[j] & sense.oneWhite) | (~row[j] & sense.zeroWhite));
    for (int j = whole; j < bytes; ++j) {
        int byte = 0;
        for (int bit = 0; bit < 8; ++bit) {
            const int x = 8 * j + bit;
            int white = 1;
            if (x >= width)
                white = 0;
            else if (x < inside)
                white = ((row[x / 8] >> (7 - x % 8)) & 1 ? sense.oneWhite : sense.zeroWhite) & 1;
            byte = (byte << 1) | white;
        }
        out[j] = static_cast<BYTE>(byte);
    }
}

qint64 RowStart(const RowLayout& layout, int width, int height, int row)
{
    const int slot = layout.bottomUp ? height - 1 - row : row;
    if (layout.stride == kDotExactStride)
        return rasterops::RowStart(width, slot);
    return static_cast<qint64>(layout.stride) * slot;
}

} // namespace

void PackRows(const QImage& image, int width, int height, const RowLayout& layout, BYTE* out, qint64 outSize)
{
    if (!out || width < 0 || height < 0 || layout.rowBytes <= 0)
        return;
    const QImage pixels = As32Bit(image);
    const int imageRows = pixels.isNull() ? 0 : pixels.height();
    const int imageWidth = pixels.isNull() ? 0 : pixels.width();
    const bool mono = pixels.format() == QImage::Format_Mono;
    const MonoSense sense = mono ? SenseOf(pixels) : MonoSense{};
    for (int i = 0; i < height; ++i) {
        const qint64 start = RowStart(layout, width, height, i);
        const qint64 bytes = std::min<qint64>(layout.rowBytes, outSize - start);
        if (start < 0 || bytes <= 0)
            continue;
        const bool inImage = i < imageRows;
        if (mono) {
            PackMonoRow(inImage ? pixels.constScanLine(i) : nullptr, sense, inImage ? imageWidth : 0, width,
                        out + start, static_cast<int>(bytes));
            continue;
        }
        const QRgb* row = inImage ? reinterpret_cast<const QRgb*>(pixels.constScanLine(i)) : nullptr;
        PackRow(row, inImage ? imageWidth : 0, width, out + start, static_cast<int>(bytes));
    }
}

void UnpackRows(const BYTE* in, qint64 inSize, int width, int height, const RowLayout& layout, QImage& image)
{
    if (!in || width < 0 || height < 0 || layout.rowBytes <= 0 || image.isNull())
        return;
    const bool mono = image.format() == QImage::Format_Mono;
    if (!mono && image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        image = image.convertToFormat(QImage::Format_RGB32);
    const MonoSense sense = mono ? SenseOf(image) : MonoSense{};
    const int rows = std::min(height, image.height());
    const int dots = std::min({width, image.width(), layout.rowBytes * 8});
    for (int i = 0; i < rows; ++i) {
        const qint64 start = RowStart(layout, width, height, i);
        if (start < 0 || start >= inSize)
            continue;
        const int rowDots = static_cast<int>(std::min<qint64>(dots, (inSize - start) * 8));
        const BYTE* row = in + start;
        uchar* line = image.scanLine(i);
        for (int x = 0; x < rowDots; ++x) {
            const bool white = (row[x / 8] >> (7 - x % 8)) & 1;
            if (!mono) {
                reinterpret_cast<QRgb*>(line)[x] = white ? 0xFFFFFFFFu : 0xFF000000u;
                continue;
            }
            // The index whose palette entry has the wanted lightness.
            const bool indexOne = white ? sense.oneWhite != 0 : sense.oneWhite == 0;
            const uchar mask = static_cast<uchar>(0x80 >> (x % 8));
            line[x / 8] = static_cast<uchar>(indexOne ? (line[x / 8] | mask) : (line[x / 8] & ~mask));
        }
    }
}

} // namespace dots
