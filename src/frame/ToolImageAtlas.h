#pragma once
// The tool art drawn once, when the program is built: glyphane-bake-tool-images
// (tools/bake-tool-images) draws every image of ToolArt.h and writes its pixels
// into a source file of the UI library. Building the palettes then copies
// pixels instead of starting a painter for some fifty drawings.
#include "platform/WinTypes.h"

#include <QRgb>
#include <span>

struct BakedToolImage {
    UINT commandId;
    const QRgb* pixels; // kToolImageWidth x kToolImageHeight, rows top to bottom, ARGB32
};

// Ascending by command id.
std::span<const BakedToolImage> BakedToolImages();
