#pragma once
// The button images of the standard toolbar and the five palettes: the art
// of ToolArt.h as the frame uses it. The grey sets are
// the coloured images turned to grey levels, pixel by pixel.
#include "frame/ToolArt.h"
#include "platform/WinTypes.h"

#include <QIcon>
#include <QImage>
#include <vector>

// The button image of a command (a transparent image for unknown ids): the
// pixels baked into the program at a ratio of 1, drawn now at any other
// ratio of device pixels to pixels.
QImage ToolButtonImage(UINT commandId, bool colour, qreal ratio = 1);

// The icon of a button: the baked picture, and where a screen has more
// device pixels to a pixel (a display scale of 2), the picture drawn at that
// ratio, so it stays sharp rather than enlarged into blocks.
QIcon ToolButtonIcon(UINT commandId, bool colour);

// The images of commands side by side, as the old button bitmaps were.
QImage ToolStrip(const std::vector<UINT>& commandIds, bool colour);

// The drawn image of a standard command.
QIcon StandardToolIcon(UINT commandId);
// The desktop theme's icon for a standard command, or a null icon where the
// theme has none.
QIcon ThemeToolIcon(UINT commandId);

// True when every visible pixel of image is a grey level (red = green = blue).
bool IsGreyImage(const QImage& image);
