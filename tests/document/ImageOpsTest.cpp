// Whole-image operations of the document: invert, the two flips and the
// conversion to black and white by error diffusion.
#include "document/GlyphaneDoc.h"
#include "ImageTestHelpers.h"
#include "support/ScriptedUi.h"

#include <QSignalSpy>
#include "support/TestEnv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

// A document holding image as its logo, on the build's program folder; the
// scripted operator records any message.
struct ImageDoc {
    CGlyphaneDoc doc{testenv::DocEnvironment()};
    testenv::ScriptedUi ui;
    explicit ImageDoc(const QImage& image)
    {
        doc.Picture().AttachLogoBitmap(image);
        doc.Picture().SetLogoSize(image.width(), image.height());
    }
    const QImage& image() const { return *doc.Picture().GetLogoBitmap(); }
    DWORD w() const { return static_cast<DWORD>(image().width()); }
    DWORD h() const { return static_cast<DWORD>(image().height()); }
};

QImage Plain(int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// The conversion written out as plainly as possible, with pixel queries.
QImage SlowConvert(QImage image, int threshold)
{
    const int w = image.width(), h = image.height();
    std::vector<std::int16_t> current(w), next(w);
    auto add = [](std::int16_t& slot, int e, double weight) {
        slot = static_cast<std::int16_t>(slot + static_cast<int>(std::trunc(e * weight)));
    };
    for (int y = 0; y < h; ++y) {
        current = next;
        std::fill(next.begin(), next.end(), std::int16_t(0));
        for (int x = 0; x < w; ++x) {
            const QColor c = image.pixelColor(x, y);
            const int hi = std::max({c.red(), c.green(), c.blue()});
            const int lo = std::min({c.red(), c.green(), c.blue()});
            const int v = (hi + lo) / 2 + current[x];
            int e = v;
            if (double(v) > double(threshold)) {
                image.setPixel(x, y, 0xFFFFFFFF);
                e = v - 255;
            } else {
                image.setPixel(x, y, 0xFF000000);
            }
            if (x < w - 1)
                add(current[x + 1], e, 7.0 / 16);
            if (y < h - 1)
                add(next[x], e, 5.0 / 16);
            if (x < w - 1 && y < h - 1)
                add(next[x + 1], e, 1.0 / 16);
            if (x > 0)
                add(next[x - 1], e, 3.0 / 16);
        }
    }
    return image;
}

TEST(ImageOpsTest, InvertComplementsEveryColourAndTwiceIsIdentity)
{
    const QImage start = imagetest::RandomImage(37, 11, 5);
    ImageDoc d(start);
    QSignalSpy repaint(&d.doc, &CGlyphaneDoc::updateAllViews);
    d.doc.InvertAllPixels(d.w(), d.h());
    EXPECT_EQ(repaint.count(), 1);
    for (int y = 0; y < start.height(); ++y)
        for (int x = 0; x < start.width(); ++x) {
            const QRgb p = start.pixel(x, y);
            ASSERT_EQ(d.image().pixel(x, y), qRgb(255 - qRed(p), 255 - qGreen(p), 255 - qBlue(p))) << x << "," << y;
        }
    d.doc.InvertAllPixels(d.w(), d.h());
    imagetest::ExpectSameImage(d.image(), start, QStringLiteral("invert-twice"));
}

TEST(ImageOpsTest, SizesAreClampedToTheBitmap)
{
    const QImage start = Plain(10, 6, 0xFFFFFFFF);
    ImageDoc d(start);
    d.doc.InvertAllPixels(4, 2); // only the top-left corner
    QImage expected = start;
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            expected.setPixel(x, y, 0xFF000000);
    imagetest::ExpectSameImage(d.image(), expected, QStringLiteral("invert-part"));

    d.doc.InvertAllPixels(0xFFFFFFFF, 0xFFFFFFFF); // far past the bitmap
    d.doc.FlipPixelsHorizontal(1000, 1000);
    d.doc.FlipPixelsVertical(1000, 1000);
    d.doc.ConvertToBlackWhite(1000, 1000, 128);
    EXPECT_EQ(d.image().size(), QSize(10, 6));

    CGlyphaneDoc empty{testenv::DocEnvironment()}; // no bitmap: nothing to do, nothing to fail
    empty.InvertAllPixels(10, 10);
    empty.FlipPixelsHorizontal(10, 10);
    empty.FlipPixelsVertical(10, 10);
    empty.ConvertToBlackWhite(10, 10, 128);
    EXPECT_EQ(empty.Picture().GetLogoBitmap(), nullptr);
}

TEST(ImageOpsTest, FlipsMirrorAndKeepTheMiddleLine)
{
    for (const QSize size : {QSize(7, 5), QSize(8, 4), QSize(1, 1), QSize(13, 2)}) {
        const QImage start = imagetest::RandomImage(size.width(), size.height(), size.width() * 17 + size.height());
        ImageDoc d(start);
        d.doc.FlipPixelsHorizontal(d.w(), d.h());
        imagetest::ExpectSameImage(d.image(), start.mirrored(true, false), QStringLiteral("flip-h"));
        if (size.width() % 2) {
            for (int y = 0; y < size.height(); ++y)
                EXPECT_EQ(d.image().pixel(size.width() / 2, y), start.pixel(size.width() / 2, y));
        }
        d.doc.FlipPixelsHorizontal(d.w(), d.h());
        imagetest::ExpectSameImage(d.image(), start, QStringLiteral("flip-h-twice"));

        d.doc.FlipPixelsVertical(d.w(), d.h());
        imagetest::ExpectSameImage(d.image(), start.mirrored(false, true), QStringLiteral("flip-v"));
        d.doc.FlipPixelsVertical(d.w(), d.h());
        imagetest::ExpectSameImage(d.image(), start, QStringLiteral("flip-v-twice"));
    }
}

TEST(ImageOpsTest, ConversionAtTheThresholdExtremes)
{
    {
        ImageDoc white(Plain(9, 4, 0xFFFFFFFF));
        white.doc.ConvertToBlackWhite(white.w(), white.h(), 0);
        imagetest::ExpectSameImage(white.image(), Plain(9, 4, 0xFFFFFFFF), QStringLiteral("t0-white"));
        ImageDoc black(Plain(9, 4, 0xFF000000));
        black.doc.ConvertToBlackWhite(black.w(), black.h(), 0);
        imagetest::ExpectSameImage(black.image(), Plain(9, 4, 0xFF000000), QStringLiteral("t0-black"));
    }
    // 255 is not above 255: the first pixel turns black, and its error of 255
    // (7/16 of it, 111, carried right) makes the next one white.
    ImageDoc white(Plain(9, 4, 0xFFFFFFFF));
    white.doc.ConvertToBlackWhite(white.w(), white.h(), 255);
    EXPECT_EQ(white.image().pixel(0, 0), 0xFF000000);
    EXPECT_EQ(white.image().pixel(1, 0), 0xFFFFFFFF);
}

TEST(ImageOpsTest, ConversionMatchesThePlainReference)
{
    unsigned seed = 40;
    // Widths up to four and odd heights meet the rows diffused in pairs at their edges; a
    // threshold past 255 lets the carried errors outgrow 16 bits and wrap.
    for (const QSize size : {QSize(1, 1), QSize(1, 9), QSize(2, 5), QSize(3, 4), QSize(4, 7), QSize(9, 1),
                             QSize(17, 13), QSize(64, 3), QSize(101, 37), QSize(300, 40)})
        for (int threshold : {0, 64, 128, 200, 255, 100000}) {
            QImage start = imagetest::RandomImage(size.width(), size.height(), seed++);
            ImageDoc d(start);
            d.doc.Binding().SetMonochrome(0);
            d.doc.ConvertToBlackWhite(d.w(), d.h(), static_cast<DWORD>(threshold));
            imagetest::ExpectSameImage(d.image(), SlowConvert(start, threshold),
                                       QStringLiteral("convert-%1x%2-t%3").arg(size.width()).arg(size.height()).arg(threshold));
            EXPECT_EQ(d.doc.Binding().IsMonochrome(), 1);
            EXPECT_EQ(d.image().format(), QImage::Format_RGB32) << "the bitmap keeps its format";
        }
    // A bitmap in another format is converted to 32-bit pixels first.
    const QImage colours = imagetest::RandomImage(23, 7, 7);
    ImageDoc d(colours);
    *d.doc.Picture().GetLogoBitmap() = colours.convertToFormat(QImage::Format_RGB888);
    d.doc.ConvertToBlackWhite(d.w(), d.h(), 128);
    imagetest::ExpectSameImage(d.image().convertToFormat(QImage::Format_RGB32), SlowConvert(colours, 128),
                               QStringLiteral("convert-rgb888"));
}

TEST(ImageOpsTest, ConversionReloadsAndPatchesTheHeader)
{
    ImageDoc d(imagetest::RandomImage(40, 20, 3));
    d.doc.Binding().SetMonochrome(0);
    d.doc.BmpFile().HeaderBuffer() = CBufferUC(200, 0xEE); // the header of an opened colour file
    QSignalSpy repaint(&d.doc, &CGlyphaneDoc::updateAllViews);
    d.doc.ConvertToBlackWhite(d.w(), d.h(), 128);
    EXPECT_TRUE(d.ui.Prompts().empty());
    EXPECT_EQ(repaint.count(), 1);
    EXPECT_EQ(d.doc.Binding().IsMonochrome(), 1);
    const CBufferUC& header = d.doc.BmpFile().HeaderBuffer();
    ASSERT_EQ(header.GetSize(), 62);
    BYTE lo = 0, hi = 0;
    header.GetByte(18, lo);
    header.GetByte(19, hi);
    EXPECT_EQ(lo | hi << 8, 40);
    header.GetByte(22, lo);
    header.GetByte(23, hi);
    EXPECT_EQ(lo | hi << 8, 20);
}

} // namespace
