#pragma once
// The button images of the standard toolbar and the five palettes, drawn in
// code: 16 x 15 pixels each, one pixel style throughout (hard 1-pixel edges,
// black outlines, a few flat colours), so they stay crisp at the size the
// buttons have always had and need no image files. The grey sets are the
// coloured images turned to grey levels, pixel by pixel.
#include "platform/WinTypes.h"

#include <QIcon>
#include <QImage>
#include <vector>

constexpr int kToolImageWidth = 16;
constexpr int kToolImageHeight = 15;

// The button image of a command (a transparent image for unknown ids).
QImage ToolButtonImage(UINT commandId, bool colour);

// The images of commands side by side, as the old button bitmaps were.
QImage ToolStrip(const std::vector<UINT>& commandIds, bool colour);

// The drawn image of a standard command.
QIcon StandardToolIcon(UINT commandId);
// The desktop theme's icon for a standard command, or a null icon where the
// theme has none.
QIcon ThemeToolIcon(UINT commandId);

// True when every visible pixel of image is a grey level (red = green = blue).
bool IsGreyImage(const QImage& image);

// The program's own icon (the main window, every logo window, the desktop
// entry's picture), drawn in the same flat style at side x side pixels.
QImage ProgramIconImage(int side);
QIcon ProgramIcon();
