#pragma once
// Floyd-Steinberg error diffusion from left to right: the conversion "To Black
// White" has always made, and the Floyd-Steinberg method of a picture's
// conversion, so both give the same dots for the same grey and threshold.
// A pixel is white when its lightness plus the error reaching it is above the
// threshold; its error goes 7/16 right, 3/16 below left, 5/16 below and 1/16
// below right, each share truncated toward zero.
#include <QImage>

namespace dither {

// The first width x height pixels of an RGB32 (or ARGB32) image become black
// or white in place, deciding on their lightness (picture/Lightness.h).
// Sizes beyond the image are clamped to it.
void FloydSteinbergColours(QImage& image, int width, int height, int threshold);

// Grey rows (Format_Grayscale8, 0 black to 255 white) become dots in place:
// 0 black, 255 white.
void FloydSteinbergGrey(QImage& grey, int threshold);

} // namespace dither
