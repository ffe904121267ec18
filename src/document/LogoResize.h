#pragma once
// Giving a logo a new size (a printer's logo area) by one of the placements
// the operator picks in the image-position dialog.
#include <QImage>
#include <optional>

class CGlyphaneDoc;

// The placement modes, numbered as the connect command passes them (the
// dialog's choice plus one).
enum class ImagePlacement {
    Center = 1,  // old image centred; cropped evenly where it is larger
    Left = 2,    // old image at the top left corner, cropped at the right and bottom
    Stretch = 3, // old image stretched onto the whole new area
    Tile = 4,    // old image repeated from the top left corner
    Resize = 5,  // old image scaled to fit, aspect kept, centred
};

// The placement for a mode number, none for a number outside 1..5.
std::optional<ImagePlacement> ImagePlacementFromMode(int mode);

// The source image placed into a new newWidth x newHeight RGB32 image, white
// where the placement leaves it uncovered. A null image for a null source,
// a side outside 1..CGlyphaneDoc::kMaxLogoSide or memory that cannot be had.
QImage ResizeLogoImage(const QImage& source, int newWidth, int newHeight, ImagePlacement mode);

// Gives the document's logo the new size by the placement `mode` (1..5):
// a fresh bitmap holding the placed image, the logo size, the file header,
// the modified flag, and a redraw of the views. The view then re-creates its
// own surfaces and layout (its initial update). False, and the document
// unchanged, without a bitmap or for a bad size or mode.
bool ResizeLogo(CGlyphaneDoc& doc, int newWidth, int newHeight, int mode);
