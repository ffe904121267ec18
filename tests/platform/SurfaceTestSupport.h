#pragma once
// Helpers for pixel tests of CSurface: images written as text rows and an
// image comparison that saves the actual and expected images as PNG files
// when they differ.
#include "platform/Surface.h"

#include <QDir>
#include <QImage>
#include <QString>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace surfacetest {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGrey = RGB(128, 128, 128);

// '#' black, '.' white, 'o' grey.
inline COLORREF ColorOf(char c)
{
    return c == '#' ? kBlack : c == 'o' ? kGrey : kWhite;
}

inline QImage ImageFromRows(const std::vector<std::string>& rows)
{
    const int h = static_cast<int>(rows.size());
    const int w = h ? static_cast<int>(rows.front().size()) : 0;
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, surface::ToPixel(ColorOf(rows[static_cast<size_t>(y)][static_cast<size_t>(x)])));
    return image;
}

inline CSurface SurfaceFromRows(const std::vector<std::string>& rows)
{
    CSurface s;
    s.Attach(ImageFromRows(rows));
    return s;
}

inline std::string AsText(const QImage& image)
{
    std::string text;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y) & 0xFFFFFF;
            text += p == 0 ? '#' : p == 0xFFFFFF ? '.' : p == 0x808080 ? 'o' : '?';
        }
        text += '\n';
    }
    return text;
}

// Equal pixel for pixel (colour bits only); otherwise the failure names the
// first difference and where the two images were saved.
inline ::testing::AssertionResult SameImage(const QImage& actual, const QImage& expected, const char* name)
{
    if (actual.size() != expected.size())
        return ::testing::AssertionFailure() << name << ": size " << actual.width() << "x" << actual.height()
                                             << ", expected " << expected.width() << "x" << expected.height();
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            if ((actual.pixel(x, y) & 0xFFFFFF) == (expected.pixel(x, y) & 0xFFFFFF))
                continue;
            const QString base = QDir::temp().filePath(QStringLiteral("glyphane-surface-%1").arg(name));
            actual.save(base + "-actual.png");
            expected.save(base + "-expected.png");
            auto failure = ::testing::AssertionFailure();
            failure << name << ": first difference at (" << x << "," << y << "); images saved as "
                    << base.toStdString() << "-actual.png / -expected.png";
            if (actual.width() <= 40 && actual.height() <= 40)
                failure << "\nactual:\n" << AsText(actual) << "expected:\n" << AsText(expected);
            return failure;
        }
    }
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult SameImage(const CSurface& actual, const std::vector<std::string>& rows,
                                            const char* name)
{
    return SameImage(actual.image(), ImageFromRows(rows), name);
}

inline int CountColor(const CSurface& s, COLORREF c)
{
    int n = 0;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x)
            n += s.GetPixel(x, y) == c ? 1 : 0;
    return n;
}

} // namespace surfacetest
