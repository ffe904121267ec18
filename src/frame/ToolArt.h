#pragma once
// The art of the tool buttons, drawn in code: 16 x 15
// pixels a button, one pixel style throughout (hard 1-pixel edges, black
// outlines, a few flat colours), so they stay crisp at the size the buttons
// have always had and need no image files. The program is built with these
// drawings baked in (ToolImageAtlas.h); the start copies them.
#include "platform/WinTypes.h"

#include <QImage>
#include <vector>

constexpr int kToolImageWidth = 16;
constexpr int kToolImageHeight = 15;

// The coloured image of a command, drawn now (a transparent image for an id
// without art), at ratio device pixels to each of its 16 x 15 pixels.
QImage DrawnToolImage(UINT commandId, qreal ratio = 1);

// Every command with art of its own, ascending.
std::vector<UINT> ToolArtIds();

// The image turned to grey levels pixel by pixel, alpha kept: the grey sets.
QImage GreyToolImageOf(const QImage& image);
