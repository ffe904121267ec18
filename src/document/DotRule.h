#pragma once
// The one rule that decides whether a pixel of a logo is a printed dot. The
// raster sent to a printer, the rows of a saved logo and the black-and-white
// form of an opened file all follow it, so what the editor shows, what is
// saved and what is printed can never disagree.
#include "platform/SurfaceTypes.h"

#include <QRgb>

namespace dots {

// The brightest colour value (0x00BBGGRR, compared as a number, so blue
// weighs most) that still prints as a dot.
constexpr COLORREF kBrightestDot = 0x7F7F7F;

// A dark pixel is a printed dot; every other pixel stays white.
constexpr bool IsDark(QRgb pixel)
{
    return surface::ToColorRef(pixel) <= kBrightestDot;
}

// The pixel reduced to pure black or pure white by the rule.
constexpr QRgb BlackOrWhite(QRgb pixel)
{
    return IsDark(pixel) ? 0xFF000000u : 0xFFFFFFFFu;
}

} // namespace dots
