#include "resources/FillPatterns.h"

#include "resources/CommandIds.h"

const std::array<CFillPattern, 12>& FillPatterns()
{
    static const std::array<CFillPattern, 12> patterns = {{
        {1, ID_PATTERN_FIRST, 172, "Fine Pattern", {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA}},
        {2, ID_PATTERN_FIRST + 1, 173, "Left Circles Pattern", {0xB6, 0x6D, 0xDB, 0xB6, 0x6D, 0xDB, 0xB6, 0x6D}},
        {3, ID_PATTERN_FIRST + 2, 174, "Right Circles Pattern", {0x6D, 0xB6, 0xDB, 0x6D, 0xB6, 0xDB, 0x6D, 0xB6}},
        {4, ID_PATTERN_FIRST + 3, 175, "Wave Pattern", {0xF6, 0x99, 0x6F, 0xFF, 0xF6, 0x99, 0x6F, 0xFF}},
        {5, ID_PATTERN_FIRST + 4, 176, "Chess Pattern", {0x33, 0x33, 0xCC, 0xCC, 0x33, 0x33, 0xCC, 0xCC}},
        {6, ID_PATTERN_FIRST + 5, 177, "Cross Pattern", {0x55, 0xBB, 0x55, 0xFF, 0x55, 0xBB, 0x55, 0xFF}},
        {7, ID_PATTERN_FIRST + 6, 181, "Left Pattern", {0xEE, 0xDD, 0xBB, 0x77, 0xEE, 0xDD, 0xBB, 0x77}},
        {8, ID_PATTERN_FIRST + 7, 182, "Right Pattern", {0x77, 0xBB, 0xDD, 0xEE, 0x77, 0xBB, 0xDD, 0xEE}},
        {9, ID_PATTERN_FIRST + 8, 183, "Left Thin Pattern", {0xFE, 0xFD, 0xFB, 0xF7, 0xEF, 0xDF, 0xBF, 0x7F}},
        {10, ID_PATTERN_FIRST + 9, 184, "Right Thin Pattern", {0x7F, 0xBF, 0xDF, 0xEF, 0xF7, 0xFB, 0xFD, 0xFE}},
        {11, ID_PATTERN_FIRST + 10, 185, "Reticule Thin Pattern", {0x00, 0x55, 0x00, 0x55, 0x00, 0x55, 0x00, 0x55}},
        {12, ID_PATTERN_FIRST + 11, 186, "Reticule Pattern", {0x00, 0x77, 0x77, 0x77, 0x00, 0x77, 0x77, 0x77}},
    }};
    return patterns;
}

const CFillPattern* FillPatternByNumber(int n)
{
    if (n < 1 || n > 12)
        return nullptr;
    return &FillPatterns()[static_cast<size_t>(n - 1)];
}

QImage FillPatternBitmap(const CFillPattern& pattern)
{
    QImage image(8, 8, QImage::Format_Mono); // MSB first, as the rows are written
    image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    for (int y = 0; y < 8; ++y)
        *image.scanLine(y) = pattern.rows[static_cast<size_t>(y)];
    return image;
}
