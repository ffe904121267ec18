#include "document/LogoResize.h"

#include "document/GlyphaneDoc.h"
#include "platform/Surface.h"

#include <algorithm>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

bool SideAcceptable(int side)
{
    return side >= 1 && side <= CGlyphaneDoc::kMaxLogoSide;
}

// Where the old image starts on each axis: centred when the new side is
// larger, otherwise the middle of the old image is kept.
struct AxisPlacement {
    int destination = 0;
    int source = 0;
};

AxisPlacement CentreOnAxis(int oldSide, int newSide)
{
    if (newSide > oldSide)
        return {(newSide - oldSide) / 2, 0};
    return {0, (oldSide - newSide) / 2};
}

void PlaceCentred(CSurface& target, const CSurface& old)
{
    const AxisPlacement x = CentreOnAxis(old.Width(), target.Width());
    const AxisPlacement y = CentreOnAxis(old.Height(), target.Height());
    target.BitBlt(x.destination, y.destination, old.Width(), old.Height(), old, x.source, y.source, SRCCOPY);
}

void PlaceTiled(CSurface& target, const CSurface& old)
{
    for (int x = 0; x < target.Width(); x += old.Width())
        for (int y = 0; y < target.Height(); y += old.Height())
            target.BitBlt(x, y, old.Width(), old.Height(), old, 0, 0, SRCCOPY);
}

// The largest size of the old image's proportions that fits the new area.
// Products in 64 bits: sides up to the logo limit would overflow int.
QSize FitKeepingAspect(int oldWidth, int oldHeight, int newWidth, int newHeight)
{
    const long long widthAtFullHeight = static_cast<long long>(oldWidth) * newHeight / oldHeight;
    if (widthAtFullHeight <= newWidth)
        return QSize(std::max(1, static_cast<int>(widthAtFullHeight)), newHeight);
    const long long heightAtFullWidth = static_cast<long long>(oldHeight) * newWidth / oldWidth;
    return QSize(newWidth, std::max(1, static_cast<int>(heightAtFullWidth)));
}

void PlaceScaledToFit(CSurface& target, const CSurface& old)
{
    const QSize fit = FitKeepingAspect(old.Width(), old.Height(), target.Width(), target.Height());
    const int dx = (target.Width() - fit.width()) / 2;
    const int dy = (target.Height() - fit.height()) / 2;
    target.StretchBlt(dx, dy, fit.width(), fit.height(), old, 0, 0, old.Width(), old.Height(), SRCCOPY);
}

void Place(CSurface& target, const CSurface& old, ImagePlacement mode)
{
    switch (mode) {
    case ImagePlacement::Center:
        PlaceCentred(target, old);
        break;
    case ImagePlacement::Left:
        target.BitBlt(0, 0, old.Width(), old.Height(), old, 0, 0, SRCCOPY);
        break;
    case ImagePlacement::Stretch:
        target.StretchBlt(0, 0, target.Width(), target.Height(), old, 0, 0, old.Width(), old.Height(), SRCCOPY);
        break;
    case ImagePlacement::Tile:
        PlaceTiled(target, old);
        break;
    case ImagePlacement::Resize:
        PlaceScaledToFit(target, old);
        break;
    }
}

} // namespace

std::optional<ImagePlacement> ImagePlacementFromMode(int mode)
{
    if (mode < static_cast<int>(ImagePlacement::Center) || mode > static_cast<int>(ImagePlacement::Resize))
        return std::nullopt;
    return static_cast<ImagePlacement>(mode);
}

QImage ResizeLogoImage(const QImage& source, int newWidth, int newHeight, ImagePlacement mode)
{
    if (source.isNull() || !SideAcceptable(newWidth) || !SideAcceptable(newHeight))
        return QImage();
    CSurface old;
    CSurface target;
    // The new image starts white, so whatever the placement leaves
    // uncovered is white without a pass of its own.
    if (!old.Attach(source) || !target.Create(newWidth, newHeight, kWhite))
        return QImage();
    Place(target, old, mode);
    return target.image();
}

bool ResizeLogo(CGlyphaneDoc& doc, int newWidth, int newHeight, int mode)
{
    const std::optional<ImagePlacement> placement = ImagePlacementFromMode(mode);
    const QImage* bitmap = doc.Picture().GetLogoBitmap();
    if (!placement || !bitmap)
        return false;
    const QImage resized = ResizeLogoImage(*bitmap, newWidth, newHeight, *placement);
    if (resized.isNull())
        return false;

    // The document's bitmap object stays the same one (a view's surface may
    // be drawing into it); only its pixels and size change.
    const QImage previous = *bitmap; // shares the pixels; kept to undo a failed replacement
    doc.Picture().ReplaceLogoBitmap(resized);
    if (!doc.Picture().GetLogoBitmap()) {
        doc.Picture().AttachLogoBitmap(previous);
        return false;
    }
    CSurface logo(doc.Picture().GetLogoBitmap());
    CSurface result;
    result.Attach(resized);
    logo.BitBlt(0, 0, newWidth, newHeight, result, 0, 0, SRCCOPY);

    doc.Picture().SetLogoSize(newWidth, newHeight);
    doc.BmpFile().PatchHeaderForLogo();
    doc.SetModifiedFlag(true);
    doc.UpdateAllViews();
    return true;
}
