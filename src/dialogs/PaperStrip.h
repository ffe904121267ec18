#pragma once
// The paper a printer's dots are shown on: the printer preview and the
// picture conversion draw the same strip.
#include <QColor>
#include <QImage>

// The paper the dots are printed on.
inline const QColor kPaperColour(0xFA, 0xF7, 0xEE);
inline const QColor kDotColour(0x14, 0x14, 0x14);
// Paper above and below the logo, in dots (one line feed).
inline constexpr int kPaperMarginDots = 24;

// The dots on a strip of paper paperWidth dots wide (the printer's width),
// with kPaperMarginDots of paper above and below; one pixel per dot.
QImage PaperStrip(const QImage& dots, int paperWidth);
