#pragma once
// Helpers of the resize tests: patterns, the per-pixel reference of a
// placement, and an image comparison that names the first difference.
#include "document/GlyphaneDoc.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <functional>
#include <memory>
#include <optional>
#include <gtest/gtest.h>

namespace resizetest {

// A logo document holding `image` on the build's program folder, as after
// opening or drawing it.
inline std::unique_ptr<CGlyphaneDoc> LogoDocument(const QImage& image)
{
    auto doc = std::make_unique<CGlyphaneDoc>(testenv::DocEnvironment());
    EXPECT_TRUE(doc->InitNewLogo());
    doc->Picture().AttachLogoBitmap(image);
    doc->Picture().SetLogoSize(image.width(), image.height());
    doc->BmpFile().PatchHeaderForLogo();
    doc->SetModifiedFlag(false);
    return doc;
}

inline constexpr QRgb kWhite = 0xFFFFFFFF;
inline constexpr QRgb kBlack = 0xFF000000;

// A black-and-white pattern without repeats along short runs, so a shifted
// or mirrored copy differs from the right one.
inline QImage Pattern(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, ((x * 7 + y * 3 + x * y) % 5 == 0) ? kBlack : kWhite);
    return image;
}

inline QImage Solid(int w, int h, QRgb colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// The expected image from a rule giving, for each new pixel, the old pixel
// it shows or none (white).
using SourceOf = std::function<std::optional<QPoint>(int x, int y)>;

inline QImage Reference(const QImage& old, int w, int h, const SourceOf& sourceOf)
{
    QImage expected = Solid(w, h, kWhite);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (const std::optional<QPoint> s = sourceOf(x, y))
                expected.setPixel(x, y, old.pixel(*s));
    return expected;
}

// Compares whole images; on a difference both are written out for a look.
inline void ExpectSameImage(const QImage& actual, const QImage& expected, const char* name)
{
    ASSERT_FALSE(actual.isNull()) << name;
    ASSERT_EQ(actual.size(), expected.size()) << name;
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            if (actual.pixel(x, y) == expected.pixel(x, y))
                continue;
            const QString stem = QDir::temp().filePath(QStringLiteral("resize-%1").arg(QLatin1String(name)));
            actual.save(stem + QStringLiteral("-actual.png"));
            expected.save(stem + QStringLiteral("-expected.png"));
            FAIL() << name << ": first difference at (" << x << ", " << y << "); images in "
                   << stem.toStdString() << "-{actual,expected}.png";
        }
    }
}

inline std::optional<QPoint> Inside(const QImage& old, int sx, int sy)
{
    if (sx < 0 || sy < 0 || sx >= old.width() || sy >= old.height())
        return std::nullopt;
    return QPoint(sx, sy);
}

// The block of black pixels, for checking where a scaled copy went.
inline QRect BlackBounds(const QImage& image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == kBlack)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

inline int CountBlack(const QImage& image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == kBlack;
    return n;
}

} // namespace resizetest
