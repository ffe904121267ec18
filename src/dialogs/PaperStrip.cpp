#include "dialogs/PaperStrip.h"

#include <algorithm>

QImage PaperStrip(const QImage& dots, int paperWidth)
{
    const int width = std::max(paperWidth, dots.width());
    QImage strip(width, dots.height() + 2 * kPaperMarginDots, QImage::Format_RGB32);
    strip.fill(kPaperColour);
    // The logo starts at the paper's left edge, where the printer's head does.
    const QRgb dot = kDotColour.rgb();
    for (int y = 0; y < dots.height(); ++y)
        for (int x = 0; x < dots.width(); ++x)
            if ((dots.pixel(x, y) & 0xFFFFFF) == 0)
                strip.setPixel(x, y + kPaperMarginDots, dot);
    return strip;
}
