#pragma once
// The tone controls of a picture's conversion, applied to its grey levels
// before the method decides on dots, and the grey picture itself.
#include <QImage>

#include <array>

namespace picture {

struct CTone {
    int brightness = 0; // -100 to 100: a share of the whole grey range added
    int contrast = 0;   // -100 to 100: the slope about the middle grey
    double gamma = 1.0; // 0.1 to 10: above 1 lightens the middle greys
    bool invert = false;

    static constexpr int kMinLevel = -100;
    static constexpr int kMaxLevel = 100;
    static constexpr double kMinGamma = 0.1;
    static constexpr double kMaxGamma = 10.0;

    bool IsNeutral() const { return brightness == 0 && contrast == 0 && gamma == 1.0 && !invert; }
};

using ToneTable = std::array<uchar, 256>;

// What each grey level becomes: gamma, then contrast, then brightness,
// rounded and held to 0..255, then inverted when asked. Neutral settings give
// every level back unchanged.
ToneTable ToneTableOf(const CTone& tone);

// A picture as grey (Format_Grayscale8): each pixel laid on white paper
// (transparency shows white), its lightness (picture/Lightness.h), then the
// table. Any format QImage holds (16-bit, palette, grey ...) is taken.
QImage GreyOnWhite(const QImage& picture, const ToneTable& table);

} // namespace picture
