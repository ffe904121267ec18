#pragma once
// How each kind of picture is drawn at a size (the formats' side of
// picture/Picture.h; nothing outside src/picture uses this header).
#include "picture/PictureFit.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <memory>

namespace picture {

// What a picture larger than these is refused by, from its header: the
// sides of any real artwork stay far below, and a decoded picture of the
// largest pixel count takes 256 MiB at four bytes a pixel.
constexpr int kMaxPictureSide = 32768;
constexpr qint64 kMaxDecodedPixels = qint64(64) * 1024 * 1024;

class CPictureDrawing {
public:
    virtual ~CPictureDrawing() = default;
    virtual QString FormatName() const = 0;
    virtual bool IsVector() const = 0;
    virtual int PageCount() const { return 1; }
    // The size of a page (from 1): pixels, SVG user units, PDF points.
    virtual QSize NaturalSize(int page) const = 0;
    // The part plan.visible of the page drawn whole at plan.drawn; a null
    // image and why when it cannot be.
    virtual QImage Draw(int page, const CFitPlan& plan, QString* why) = 0;
};

// Every factory returns null with why (and *tooLarge for a refused size).
std::unique_ptr<CPictureDrawing> OpenRaster(const QByteArray& bytes, QString* why, bool* tooLarge);
std::unique_ptr<CPictureDrawing> RasterOf(const QImage& image);
std::unique_ptr<CPictureDrawing> OpenSvg(const QByteArray& bytes, QString* why, bool* tooLarge);
std::unique_ptr<CPictureDrawing> OpenPdf(const QByteArray& bytes, QString* why);

// A drawn size past the pixel bound, with why.
bool DrawnSizeRefused(const CFitPlan& plan, QString* why);

} // namespace picture
