#pragma once
// Helpers of the raster and image-operation tests: seeded random images, an
// image comparison that dumps both images when they differ.
#include "support/TestEnv.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <random>

namespace imagetest {

// An RGB32 image of random colours; `grey` draws only black, white and a few
// values next to the white threshold, which is where packing faults show.
inline QImage RandomImage(int width, int height, unsigned seed, bool nearThreshold = false)
{
    std::mt19937 random(seed);
    QImage image(width, height, QImage::Format_RGB32);
    static constexpr QRgb kEdgeColours[] = {0xFF000000, 0xFFFFFFFF, 0xFF7F7F7F, 0xFF807F7F,
                                            0xFF7F7F80, 0xFFFFFF7F, 0xFFFFFF7E, 0xFF7F8080};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, nearThreshold ? kEdgeColours[random() % 8] : (0xFF000000u | (random() & 0xFFFFFFu)));
    return image;
}

// Expects equal pixels; on a difference both images are written to the
// temporary folder and the first differing pixel is named.
inline void ExpectSameImage(const QImage& actual, const QImage& expected, const QString& name)
{
    ASSERT_EQ(actual.size(), expected.size()) << name.toStdString();
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x)
            if (actual.pixel(x, y) != expected.pixel(x, y)) {
                const QString base = QDir::temp().filePath(QStringLiteral("glyphane-") + name);
                actual.save(base + QStringLiteral("-actual.png"));
                expected.save(base + QStringLiteral("-expected.png"));
                FAIL() << name.toStdString() << ": first difference at (" << x << ", " << y << "), actual "
                       << std::hex << actual.pixel(x, y) << " expected " << expected.pixel(x, y)
                       << "; images in " << base.toStdString() << "-*.png";
            }
}

// The program started from the build's program folder (the working folder is
// a temporary one, for the start-up trace), stopped again at the end.
} // namespace imagetest
