#pragma once
// The twelve 8 x 8 fill patterns of the fill tool: rows top to bottom, the
// most significant bit the leftmost pixel, a 0 bit black and a 1 bit white.
#include "platform/WinTypes.h"

#include <QImage>
#include <QString>
#include <array>

struct CFillPattern {
    int number;       // 1..12, the view's pattern choice
    UINT commandId;   // ID_PATTERN_FIRST..ID_PATTERN_LAST
    UINT bitmapId;    // the resource number the pattern is known by
    const char* name; // the command's text
    std::array<BYTE, 8> rows;
};

const std::array<CFillPattern, 12>& FillPatterns();

// The pattern of choice n (1..12), or null for 0 (no pattern) and any other value.
const CFillPattern* FillPatternByNumber(int n);

// The pattern as a one-bit bitmap (palette entry 0 black, entry 1 white).
QImage FillPatternBitmap(const CFillPattern& pattern);
