#include "picture/Tone.h"

#include "picture/Lightness.h"

#include <algorithm>
#include <cmath>

namespace picture {

namespace {

// The slope about the middle grey: from flat (-100) through 1 (0) to a step (100).
double ContrastSlope(int contrast)
{
    const int c = std::clamp(contrast, CTone::kMinLevel, CTone::kMaxLevel);
    if (c <= 0)
        return (100.0 + c) / 100.0;
    return c >= 100 ? 255.0 : 100.0 / (100.0 - c);
}

} // namespace

ToneTable ToneTableOf(const CTone& tone)
{
    const double gamma = std::clamp(tone.gamma, CTone::kMinGamma, CTone::kMaxGamma);
    const double slope = ContrastSlope(tone.contrast);
    const double lift = std::clamp(tone.brightness, CTone::kMinLevel, CTone::kMaxLevel) * 255.0 / 100.0;
    ToneTable table{};
    for (int level = 0; level < 256; ++level) {
        double v = level;
        if (gamma != 1.0)
            v = 255.0 * std::pow(v / 255.0, 1.0 / gamma);
        v = (v - 127.5) * slope + 127.5 + lift;
        const int out = static_cast<int>(std::lround(std::clamp(v, 0.0, 255.0)));
        table[static_cast<std::size_t>(level)] = static_cast<uchar>(tone.invert ? 255 - out : out);
    }
    return table;
}

QImage GreyOnWhite(const QImage& picture, const ToneTable& table)
{
    if (picture.isNull())
        return QImage();
    const QImage pixels = picture.convertToFormat(picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                                            : QImage::Format_RGB32);
    QImage grey(pixels.size(), QImage::Format_Grayscale8);
    if (grey.isNull())
        return QImage();
    // RGB32 keeps alpha at 255, so the same pass serves both.
    const int width = pixels.width(), height = pixels.height();
    const bool identity = table == ToneTableOf({});
    for (int y = 0; y < height; ++y) {
        uchar* out = grey.scanLine(y);
        RowLightnessOnWhite(reinterpret_cast<const QRgb*>(pixels.constScanLine(y)), width, out);
        if (!identity)
            for (int x = 0; x < width; ++x)
                out[x] = table[out[x]];
    }
    return grey;
}

} // namespace picture
