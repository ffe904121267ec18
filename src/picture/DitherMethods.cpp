#include "picture/DitherMethods.h"

#include "picture/FloydSteinberg.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

namespace dither {

namespace {

// --- error diffusion by a kernel of published weights -----------------------------

// One share of a pixel's error: dx pixels along the scan (negative: behind
// it), dy rows down, weight / divisor of the error.
struct CTap {
    int dx;
    int dy;
    int weight;
};

template <std::size_t N>
struct CKernel {
    int divisor;
    std::array<CTap, N> taps;
};

// The published weights, as their authors give them.
constexpr CKernel<4> kFloydSteinberg{16, {{{1, 0, 7}, {-1, 1, 3}, {0, 1, 5}, {1, 1, 1}}}};
// Six eighths passed on, two lost: light areas stay clean.
constexpr CKernel<6> kAtkinson{8, {{{1, 0, 1}, {2, 0, 1}, {-1, 1, 1}, {0, 1, 1}, {1, 1, 1}, {0, 2, 1}}}};
constexpr CKernel<12> kJarvisJudiceNinke{48, {{{1, 0, 7}, {2, 0, 5},
                                               {-2, 1, 3}, {-1, 1, 5}, {0, 1, 7}, {1, 1, 5}, {2, 1, 3},
                                               {-2, 2, 1}, {-1, 2, 3}, {0, 2, 5}, {1, 2, 3}, {2, 2, 1}}}};
constexpr CKernel<12> kStucki{42, {{{1, 0, 8}, {2, 0, 4},
                                    {-2, 1, 2}, {-1, 1, 4}, {0, 1, 8}, {1, 1, 4}, {2, 1, 2},
                                    {-2, 2, 1}, {-1, 2, 2}, {0, 2, 4}, {1, 2, 2}, {2, 2, 1}}}};
constexpr CKernel<7> kBurkes{32, {{{1, 0, 8}, {2, 0, 4}, {-2, 1, 2}, {-1, 1, 4}, {0, 1, 8}, {1, 1, 4}, {2, 1, 2}}}};
constexpr CKernel<10> kSierra{32, {{{1, 0, 5}, {2, 0, 3},
                                    {-2, 1, 2}, {-1, 1, 4}, {0, 1, 5}, {1, 1, 4}, {2, 1, 2},
                                    {-1, 2, 2}, {0, 2, 3}, {1, 2, 2}}}};

// Slots of an error row beyond either end, where shares past the edge fall
// and are never read back.
constexpr int kPad = 2;

template <const auto& K, int Dx, int Dy>
constexpr int WeightAt()
{
    for (const CTap& tap : K.taps)
        if (tap.dx == Dx && tap.dy == Dy)
            return tap.weight;
    return 0;
}

// A share, truncated toward zero as every diffusion here does.
template <const auto& K, int Dx, int Dy>
inline int Share(int e)
{
    constexpr int weight = WeightAt<K, Dx, Dy>();
    if constexpr (weight == 0)
        return 0;
    else
        return e * weight / K.divisor;
}

template <const auto& K, int Dy, int Dir>
inline void SpreadBelow(int* __restrict row, int at, int e)
{
    row[at - 2 * Dir] += Share<K, -2, Dy>(e);
    row[at - Dir] += Share<K, -1, Dy>(e);
    row[at] += Share<K, 0, Dy>(e);
    row[at + Dir] += Share<K, 1, Dy>(e);
    row[at + 2 * Dir] += Share<K, 2, Dy>(e);
}

// One row scanned in direction Dir (1: left to right). The shares for the
// row itself travel in two registers, the rest into the rows below.
template <const auto& K, int Dir>
void DiffuseRow(uchar* __restrict grey, int width, int threshold, const int* __restrict carried,
                int* __restrict below1, int* __restrict below2)
{
    int next = 0, afterNext = 0;
    for (int i = 0; i < width; ++i) {
        const int x = Dir > 0 ? i : width - 1 - i;
        const int v = grey[x] + carried[x + kPad] + next;
        const int white = v > threshold ? 1 : 0;
        const int e = v - (255 & -white);
        grey[x] = static_cast<uchar>(0u - static_cast<unsigned>(white));
        next = afterNext + Share<K, 1, 0>(e);
        afterNext = Share<K, 2, 0>(e);
        SpreadBelow<K, 1, Dir>(below1, x + kPad, e);
        SpreadBelow<K, 2, Dir>(below2, x + kPad, e);
    }
}

template <const auto& K>
void DiffuseRows(QImage& grey, const CMethodSettings& settings)
{
    const int width = grey.width(), height = grey.height();
    std::array<std::vector<int>, 3> errors;
    for (std::vector<int>& row : errors)
        row.assign(static_cast<std::size_t>(width) + 2 * kPad, 0);
    for (int y = 0; y < height; ++y) {
        uchar* row = grey.scanLine(y);
        if (settings.serpentine && (y & 1))
            DiffuseRow<K, -1>(row, width, settings.threshold, errors[0].data(), errors[1].data(), errors[2].data());
        else
            DiffuseRow<K, 1>(row, width, settings.threshold, errors[0].data(), errors[1].data(), errors[2].data());
        std::rotate(errors.begin(), errors.begin() + 1, errors.end());
        std::fill(errors[2].begin(), errors[2].end(), 0);
    }
}

// --- the methods ---------------------------------------------------------------

void ThresholdAt(QImage& grey, int threshold)
{
    const int width = grey.width(), height = grey.height();
    for (int y = 0; y < height; ++y) {
        uchar* row = grey.scanLine(y);
        for (int x = 0; x < width; ++x)
            row[x] = row[x] > threshold ? 255 : 0;
    }
}

void ThresholdRows(QImage& grey, const CMethodSettings& settings)
{
    ThresholdAt(grey, settings.threshold);
}

void AutoThresholdRows(QImage& grey, const CMethodSettings&)
{
    ThresholdAt(grey, OtsuThreshold(grey));
}

// Left to right it is the conversion of "To Black White" itself; serpentine
// it runs on the kernel engine with the same weights and the same rounding.
void FloydSteinbergRows(QImage& grey, const CMethodSettings& settings)
{
    if (settings.serpentine)
        DiffuseRows<kFloydSteinberg>(grey, settings);
    else
        FloydSteinbergGrey(grey, settings.threshold);
}

void AtkinsonRows(QImage& grey, const CMethodSettings& settings)
{
    DiffuseRows<kAtkinson>(grey, settings);
}

void JarvisJudiceNinkeRows(QImage& grey, const CMethodSettings& settings)
{
    DiffuseRows<kJarvisJudiceNinke>(grey, settings);
}

void StuckiRows(QImage& grey, const CMethodSettings& settings)
{
    DiffuseRows<kStucki>(grey, settings);
}

void BurkesRows(QImage& grey, const CMethodSettings& settings)
{
    DiffuseRows<kBurkes>(grey, settings);
}

void SierraRows(QImage& grey, const CMethodSettings& settings)
{
    DiffuseRows<kSierra>(grey, settings);
}

// Bayer's index matrices: cell m of an n x n matrix is white where
// 2 n² grey > 255 (2m + 1), so a flat grey g lights about g / 255 of the cells.
constexpr std::array<std::array<int, 4>, 4> kBayer4{{{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}}};
constexpr std::array<std::array<int, 8>, 8> kBayer8{{{0, 32, 8, 40, 2, 34, 10, 42},
                                                     {48, 16, 56, 24, 50, 18, 58, 26},
                                                     {12, 44, 4, 36, 14, 46, 6, 38},
                                                     {60, 28, 52, 20, 62, 30, 54, 22},
                                                     {3, 35, 11, 43, 1, 33, 9, 41},
                                                     {51, 19, 59, 27, 49, 17, 57, 25},
                                                     {15, 47, 7, 39, 13, 45, 5, 37},
                                                     {63, 31, 55, 23, 61, 29, 53, 21}}};

template <const auto& M>
void OrderedRows(QImage& grey, const CMethodSettings&)
{
    constexpr int n = static_cast<int>(M.size());
    // The same test as whole numbers: grey above floor(255 (2m + 1) / (2 n²)).
    int limits[n][n];
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            limits[i][j] = 255 * (2 * M[i][j] + 1) / (2 * n * n);
    const int width = grey.width(), height = grey.height();
    for (int y = 0; y < height; ++y) {
        uchar* row = grey.scanLine(y);
        const int* limit = limits[y % n];
        for (int x = 0; x < width; ++x)
            row[x] = row[x] > limit[x % n] ? 255 : 0;
    }
}

void Ordered4Rows(QImage& grey, const CMethodSettings& settings)
{
    OrderedRows<kBayer4>(grey, settings);
}

void Ordered8Rows(QImage& grey, const CMethodSettings& settings)
{
    OrderedRows<kBayer8>(grey, settings);
}

} // namespace

const std::vector<CMethodEntry>& Methods()
{
    static const std::vector<CMethodEntry> table = {
        {Method::Threshold, "threshold", "Threshold", true, false, ThresholdRows},
        {Method::AutoThreshold, "auto-threshold", "Automatic threshold (Otsu)", false, false, AutoThresholdRows},
        {Method::FloydSteinberg, "floyd-steinberg", "Floyd–Steinberg", true, true, FloydSteinbergRows},
        {Method::Atkinson, "atkinson", "Atkinson", true, true, AtkinsonRows},
        {Method::JarvisJudiceNinke, "jarvis-judice-ninke", "Jarvis–Judice–Ninke", true, true, JarvisJudiceNinkeRows},
        {Method::Stucki, "stucki", "Stucki", true, true, StuckiRows},
        {Method::Burkes, "burkes", "Burkes", true, true, BurkesRows},
        {Method::Sierra, "sierra", "Sierra", true, true, SierraRows},
        {Method::Ordered4, "ordered-4x4", "Ordered 4×4", false, false, Ordered4Rows},
        {Method::Ordered8, "ordered-8x8", "Ordered 8×8", false, false, Ordered8Rows},
    };
    return table;
}

const CMethodEntry& EntryOf(Method method)
{
    for (const CMethodEntry& entry : Methods())
        if (entry.method == method)
            return entry;
    return Methods().front();
}

std::optional<Method> MethodNamed(const QString& name)
{
    for (const CMethodEntry& entry : Methods())
        if (name == QLatin1String(entry.name))
            return entry.method;
    return std::nullopt;
}

QString MethodNames()
{
    QStringList names;
    for (const CMethodEntry& entry : Methods())
        names << QLatin1String(entry.name);
    return names.join(QStringLiteral(", "));
}

void Apply(QImage& grey, const CMethodSettings& settings)
{
    if (grey.format() != QImage::Format_Grayscale8 || grey.isNull())
        return;
    CMethodSettings bounded = settings;
    bounded.threshold = std::clamp(settings.threshold, 0, 255);
    EntryOf(settings.method).rows(grey, bounded);
}

int OtsuThreshold(const QImage& grey)
{
    std::array<std::int64_t, 256> histogram{};
    const int width = grey.width(), height = grey.height();
    for (int y = 0; y < height; ++y) {
        const uchar* row = grey.constScanLine(y);
        for (int x = 0; x < width; ++x)
            ++histogram[row[x]];
    }
    const auto levels = std::count_if(histogram.begin(), histogram.end(), [](std::int64_t n) { return n > 0; });
    if (levels < 2)
        return 128;
    std::int64_t total = 0, sum = 0;
    for (int i = 0; i < 256; ++i) {
        total += histogram[i];
        sum += i * histogram[i];
    }
    // Between-class variance w0 w1 (mu0 - mu1)², classes <= t and > t.
    int best = 0;
    double bestVariance = -1.0;
    std::int64_t w0 = 0, s0 = 0;
    for (int t = 0; t < 255; ++t) {
        w0 += histogram[t];
        s0 += t * histogram[t];
        const std::int64_t w1 = total - w0;
        if (w0 == 0 || w1 == 0)
            continue;
        const double mu0 = static_cast<double>(s0) / static_cast<double>(w0);
        const double mu1 = static_cast<double>(sum - s0) / static_cast<double>(w1);
        const double variance = static_cast<double>(w0) * static_cast<double>(w1) * (mu0 - mu1) * (mu0 - mu1);
        if (variance > bestVariance) {
            bestVariance = variance;
            best = t;
        }
    }
    return best;
}

} // namespace dither
