#pragma once
// The drawing attributes of a CSurface (pen, brush, mix mode, raster
// operation codes) and the colour and raster-operation arithmetic shared by
// its drawing routines. Values are those of the old platform, because the
// editor's code passes them through unchanged.
#include "platform/WinTypes.h"

#include <QImage>
#include <array>
#include <cstdint>

// Mix modes (binary raster operations) for pens and brushes. Only the four
// the editor uses have names here; every value 1..16 is accepted.
constexpr int R2_NOT = 6;
constexpr int R2_MASKPEN = 9;
constexpr int R2_NOTXORPEN = 10;
constexpr int R2_COPYPEN = 13;
constexpr int R2_FIRST = 1;
constexpr int R2_LAST = 16;

// Ternary raster operations for block copies.
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCPAINT = 0x00EE0086;
constexpr DWORD SRCAND = 0x008800C6;
constexpr DWORD SRCINVERT = 0x00660046;
constexpr DWORD NOTSRCCOPY = 0x00330008;

// Flood fill kinds.
constexpr UINT FLOODFILLBORDER = 0;
constexpr UINT FLOODFILLSURFACE = 1;

// A solid pen; a width of 1 or less is the one-pixel pen.
struct CPen {
    int width = 1;
    COLORREF color = RGB(0, 0, 0);
    bool operator==(const CPen&) const = default;
};

// The brush that fills interiors and flood fills.
struct CBrush {
    enum class Kind { Null, Solid, Pattern };

    Kind kind = Kind::Solid;
    COLORREF color = RGB(255, 255, 255);
    // Pattern tile, rows top to bottom, most significant bit leftmost.
    std::array<BYTE, 8> rows{};
    COLORREF clearColor = RGB(0, 0, 0); // colour of a 0 bit
    COLORREF setColor = RGB(255, 255, 255); // colour of a 1 bit

    static CBrush Solid(COLORREF c);
    static CBrush Null();
    static CBrush Pattern(const std::array<BYTE, 8>& tileRows, COLORREF clear = RGB(0, 0, 0),
                          COLORREF set = RGB(255, 255, 255));
    // The rows of an 8 x 8 (or larger: its top-left 8 x 8) black-and-white
    // tile: light pixels are set bits. FALSE, rows untouched, when too small.
    static BOOL PatternRowsFromImage(const QImage& tile, std::array<BYTE, 8>& rows);

    bool operator==(const CBrush&) const = default;
};

namespace surface {

// QImage::Format_RGB32 keeps 0xFFRRGGBB; COLORREF is 0x00BBGGRR.
constexpr std::uint32_t ToPixel(COLORREF c)
{
    return 0xFF000000u | (static_cast<std::uint32_t>(GetRValue(c)) << 16)
        | (static_cast<std::uint32_t>(GetGValue(c)) << 8) | static_cast<std::uint32_t>(GetBValue(c));
}
constexpr COLORREF ToColorRef(std::uint32_t pixel)
{
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

// A binary raster operation code minus one is its truth table over
// (pen bit, destination bit): bit 3 = (1,1), bit 2 = (1,0), bit 1 = (0,1),
// bit 0 = (0,0). Works on all colour bits at once.
constexpr std::uint32_t ApplyRop2(int rop2, std::uint32_t pen, std::uint32_t dst)
{
    const unsigned table = static_cast<unsigned>(rop2 - 1);
    std::uint32_t r = 0;
    if (table & 8u)
        r |= pen & dst;
    if (table & 4u)
        r |= pen & ~dst;
    if (table & 2u)
        r |= ~pen & dst;
    if (table & 1u)
        r |= ~pen & ~dst;
    return 0xFF000000u | (r & 0x00FFFFFFu);
}

// The source-and-destination operations a block copy supports; FALSE for others.
bool IsSupportedBlitRop(DWORD rop);
std::uint32_t ApplyBlitRop(DWORD rop, std::uint32_t src, std::uint32_t dst);

} // namespace surface
