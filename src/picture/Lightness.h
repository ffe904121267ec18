#pragma once
// The one rule that turns a colour into grey: its lightness, (max + min) / 2
// of the three channels, from the pixel's bytes. "To Black White" has always
// decided on it, and a picture converted with the same settings must give the
// same dots, so every conversion uses it.
#include <QRgb>
#include <QtGlobal>

#include <algorithm>
#include <cstdint>

namespace picture {

inline int Lightness(QRgb p)
{
    const int r = static_cast<int>((p >> 16) & 0xFF), g = static_cast<int>((p >> 8) & 0xFF),
              b = static_cast<int>(p & 0xFF);
    const int hi = std::max(r, std::max(g, b)), lo = std::min(r, std::min(g, b));
    return (hi + lo) >> 1;
}

// The lightness of a row of opaque pixels (alpha not looked at) into out.
void RowLightness(const QRgb* row, int width, std::int32_t* out);

// The lightness of a row of premultiplied pixels laid on white paper: a
// channel c of coverage a shows as c + (255 - a), exact in 8 bits.
void RowLightnessOnWhite(const QRgb* premultiplied, int width, uchar* out);

} // namespace picture
