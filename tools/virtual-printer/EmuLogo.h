#pragma once
// A logo as the virtual printer keeps it: rows of width/8 bytes, top row
// first, leftmost dot in the most significant bit, 1 = black dot.
#include <QImage>
#include <vector>

struct CEmuLogo {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> bits;

    bool IsEmpty() const { return width <= 0 || height <= 0; }
    int RowBytes() const { return width / 8; }
    bool IsBlack(int x, int y) const
    {
        return (bits[static_cast<size_t>(y) * RowBytes() + x / 8] >> (7 - x % 8)) & 1;
    }
    // Rows first to first + count - 1 as a logo of their own.
    CEmuLogo Band(int first, int count) const;
    // White background, black dots.
    QImage ToImage() const;
};
