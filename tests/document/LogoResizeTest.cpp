// The logo resize with placement: every mode against a per-pixel reference,
// the hand-computed placements and the document update.
#include "document/GlyphaneDoc.h"
#include "document/LogoResize.h"
#include "platform/Surface.h"
#include "ResizeTestHelpers.h"
#include "support/TestEnv.h"

#include <QImageReader>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace resizetest;

TEST(ResizeLogoImage, CenterPlacesASmallImageInTheMiddleWithWhiteAround)
{
    const QImage old = Pattern(100, 50);
    const QImage result = ResizeLogoImage(old, 200, 100, ImagePlacement::Center);
    ExpectSameImage(result, Reference(old, 200, 100, [&](int x, int y) { return Inside(old, x - 50, y - 25); }),
                    "center-grow");
    EXPECT_EQ(result.pixel(49, 25), kWhite);
    EXPECT_EQ(result.pixel(150, 74), kWhite);
}

TEST(ResizeLogoImage, CenterCropsALargeImageEvenly)
{
    const QImage old = Pattern(100, 50);
    // Into 50 x 20 the kept block starts at old (25, 15).
    ExpectSameImage(ResizeLogoImage(old, 50, 20, ImagePlacement::Center),
                    Reference(old, 50, 20, [&](int x, int y) { return Inside(old, x + 25, y + 15); }), "center-crop");
    // Wider but lower: centred across, cropped down (dx 10, sy 10).
    ExpectSameImage(ResizeLogoImage(old, 120, 30, ImagePlacement::Center),
                    Reference(old, 120, 30, [&](int x, int y) { return Inside(old, x - 10, y + 10); }),
                    "center-mixed");
    // Odd differences halve downwards: 101 - 100 gives column 0.
    ExpectSameImage(ResizeLogoImage(old, 101, 53, ImagePlacement::Center),
                    Reference(old, 101, 53, [&](int x, int y) { return Inside(old, x, y - 1); }), "center-odd");
}

TEST(ResizeLogoImage, LeftKeepsTheTopLeftCorner)
{
    const QImage old = Pattern(30, 20);
    ExpectSameImage(ResizeLogoImage(old, 50, 40, ImagePlacement::Left),
                    Reference(old, 50, 40, [&](int x, int y) { return Inside(old, x, y); }), "left-grow");
    ExpectSameImage(ResizeLogoImage(old, 12, 7, ImagePlacement::Left),
                    Reference(old, 12, 7, [&](int x, int y) { return Inside(old, x, y); }), "left-crop");
}

TEST(ResizeLogoImage, StretchCoversTheWholeArea)
{
    // A 2 x 2 checkerboard onto 4 x 6 becomes four 2 x 3 quadrants.
    QImage checker = Solid(2, 2, kWhite);
    checker.setPixel(0, 0, kBlack);
    checker.setPixel(1, 1, kBlack);
    const QImage grown = ResizeLogoImage(checker, 4, 6, ImagePlacement::Stretch);
    ASSERT_EQ(grown.size(), QSize(4, 6));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(grown.pixel(x, y), ((x < 2) == (y < 3)) ? kBlack : kWhite) << x << "," << y;

    // Shrinking picks every other old pixel: new i shows old i * w / W'.
    const QImage old = Pattern(40, 30);
    ExpectSameImage(ResizeLogoImage(old, 20, 10, ImagePlacement::Stretch),
                    Reference(old, 20, 10, [](int x, int y) { return QPoint(x * 40 / 20, y * 30 / 10); }),
                    "stretch-shrink");
    ExpectSameImage(ResizeLogoImage(old, 97, 31, ImagePlacement::Stretch),
                    Reference(old, 97, 31, [](int x, int y) { return QPoint(x * 40 / 97, y * 30 / 31); }),
                    "stretch-uneven");
}

TEST(ResizeLogoImage, TileRepeatsFromTheCornerAndCutsAtTheEdges)
{
    // 30 x 30 into 100 x 64: copies at x = 0, 30, 60, 90 and y = 0, 30, 60.
    const QImage old = Pattern(30, 30);
    const QImage result = ResizeLogoImage(old, 100, 64, ImagePlacement::Tile);
    ExpectSameImage(result, Reference(old, 100, 64, [](int x, int y) { return QPoint(x % 30, y % 30); }), "tile");
    EXPECT_EQ(result.pixel(99, 63), old.pixel(9, 3));

    // A larger old image is just its top left corner.
    const QImage big = Pattern(50, 50);
    ExpectSameImage(ResizeLogoImage(big, 20, 10, ImagePlacement::Tile),
                    Reference(big, 20, 10, [](int x, int y) { return QPoint(x, y); }), "tile-crop");
}

TEST(ResizeLogoImage, ResizeFitsLandscapeSourcesKeepingTheirProportions)
{
    // Into a wider-than-high area: the height limits (200 x 100 centred across).
    const QImage black = Solid(100, 50, kBlack);
    const QImage wide = ResizeLogoImage(black, 300, 100, ImagePlacement::Resize);
    EXPECT_EQ(BlackBounds(wide), QRect(50, 0, 200, 100));
    EXPECT_EQ(CountBlack(wide), 200 * 100) << "white on both sides";
    // Into a square: the width limits (200 x 100 centred down).
    const QImage square = ResizeLogoImage(black, 200, 200, ImagePlacement::Resize);
    EXPECT_EQ(BlackBounds(square), QRect(0, 50, 200, 100));
    EXPECT_EQ(CountBlack(square), 200 * 100);
    // Shrinking works the same way: 100 x 50 into 40 x 40 is 40 x 20 at row 10.
    EXPECT_EQ(BlackBounds(ResizeLogoImage(black, 40, 40, ImagePlacement::Resize)), QRect(0, 10, 40, 20));

    // The pixels are the nearest old ones of the scaled copy.
    const QImage old = Pattern(100, 50);
    ExpectSameImage(ResizeLogoImage(old, 300, 100, ImagePlacement::Resize),
                    Reference(old, 300, 100,
                              [](int x, int y) -> std::optional<QPoint> {
                                  if (x < 50 || x >= 250)
                                      return std::nullopt;
                                  return QPoint((x - 50) * 100 / 200, y * 50 / 100);
                              }),
                    "resize-landscape");
}

TEST(ResizeLogoImage, ResizeFitsPortraitSourcesKeepingTheirProportions)
{
    const QImage black = Solid(50, 100, kBlack);
    // Wider area: 50 x 100 centred across (dx 75).
    EXPECT_EQ(BlackBounds(ResizeLogoImage(black, 200, 100, ImagePlacement::Resize)), QRect(75, 0, 50, 100));
    // Taller area: 100 x 200 centred down (dy 100).
    const QImage tall = ResizeLogoImage(black, 100, 400, ImagePlacement::Resize);
    EXPECT_EQ(BlackBounds(tall), QRect(0, 100, 100, 200));
    EXPECT_EQ(CountBlack(tall), 100 * 200);
    // Same proportions: fills the whole area.
    EXPECT_EQ(CountBlack(ResizeLogoImage(black, 25, 50, ImagePlacement::Resize)), 25 * 50);

    const QImage old = Pattern(30, 60);
    ExpectSameImage(ResizeLogoImage(old, 45, 40, ImagePlacement::Resize),
                    Reference(old, 45, 40,
                              [](int x, int y) -> std::optional<QPoint> {
                                  // 20 x 40 at dx (45 - 20) / 2 = 12.
                                  if (x < 12 || x >= 32)
                                      return std::nullopt;
                                  return QPoint((x - 12) * 30 / 20, y * 60 / 40);
                              }),
                    "resize-portrait");
}

TEST(ResizeLogoImage, ResizeOfAThinSourceKeepsAtLeastOneDot)
{
    const QImage line = Solid(1000, 1, kBlack);
    const QImage result = ResizeLogoImage(line, 10, 10, ImagePlacement::Resize);
    EXPECT_EQ(BlackBounds(result), QRect(0, 4, 10, 1));
    const QImage column = Solid(1, 1000, kBlack);
    EXPECT_EQ(BlackBounds(ResizeLogoImage(column, 10, 10, ImagePlacement::Resize)), QRect(4, 0, 1, 10));
}

TEST(ResizeLogoImage, RefusesBadInput)
{
    const QImage old = Pattern(10, 10);
    EXPECT_TRUE(ResizeLogoImage(QImage(), 10, 10, ImagePlacement::Center).isNull());
    EXPECT_TRUE(ResizeLogoImage(old, 0, 10, ImagePlacement::Center).isNull());
    EXPECT_TRUE(ResizeLogoImage(old, 10, -1, ImagePlacement::Stretch).isNull());
    EXPECT_TRUE(ResizeLogoImage(old, CGlyphaneDoc::kMaxLogoSide + 1, 10, ImagePlacement::Tile).isNull());
    EXPECT_FALSE(ImagePlacementFromMode(0).has_value());
    EXPECT_FALSE(ImagePlacementFromMode(6).has_value());
    EXPECT_EQ(ImagePlacementFromMode(1), ImagePlacement::Center);
    EXPECT_EQ(ImagePlacementFromMode(5), ImagePlacement::Resize);

    // Any input format is read as its colours; the result is always RGB32.
    const QImage mono = old.convertToFormat(QImage::Format_Mono);
    const QImage result = ResizeLogoImage(mono, 10, 10, ImagePlacement::Left);
    EXPECT_EQ(result.format(), QImage::Format_RGB32);
    ExpectSameImage(result, old, "mono-source");
}

namespace {

// A logo document on the build's program folder (its header template).
class ResizeDocument : public ::testing::Test {
protected:
    QString Tmp(const QString& name) const { return m_tmp.filePath(name); }

    static quint32 HeaderWord(CGlyphaneDoc& doc, int offset)
    {
        const std::vector<BYTE>& header = doc.BmpFile().HeaderBuffer().Bytes();
        if (header.size() < static_cast<size_t>(offset + 4))
            return 0;
        quint32 v = 0;
        for (int i = 3; i >= 0; --i)
            v = (v << 8) | header[static_cast<size_t>(offset + i)];
        return v;
    }

    QTemporaryDir m_tmp;
};

} // namespace

TEST_F(ResizeDocument, ResizeLogoGivesTheDocumentTheNewSize)
{
    const QImage old = Pattern(100, 50);
    auto doc = LogoDocument(old);
    // A view's surface draws into the document's bitmap; it must see the result.
    CSurface viewSurface(doc->Picture().GetLogoBitmap());
    QSignalSpy redraws(doc.get(), &CGlyphaneDoc::updateAllViews);

    ASSERT_TRUE(ResizeLogo(*doc, 200, 100, 1));
    EXPECT_EQ(doc->Picture().GetLogoWidth(), 200);
    EXPECT_EQ(doc->Picture().GetLogoHeight(), 100);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(redraws.count(), 1);
    EXPECT_EQ(HeaderWord(*doc, 18), 200u);
    EXPECT_EQ(HeaderWord(*doc, 22), 100u);
    ExpectSameImage(*doc->Picture().GetLogoBitmap(), ResizeLogoImage(old, 200, 100, ImagePlacement::Center), "document");
    EXPECT_EQ(viewSurface.Width(), 200);
    EXPECT_EQ(viewSurface.GetPixel(50, 25), old.pixel(0, 0) == kBlack ? RGB(0, 0, 0) : RGB(255, 255, 255));

    // Saved and read back: a 1-bit file of the new size with the same dots.
    ASSERT_TRUE(doc->WriteBitmapFile(Tmp("resized.bmp")));
    const QImage saved = QImageReader(Tmp("resized.bmp")).read();
    EXPECT_EQ(saved.depth(), 1);
    ExpectSameImage(saved.convertToFormat(QImage::Format_RGB32), *doc->Picture().GetLogoBitmap(), "document-saved");
}

TEST_F(ResizeDocument, ResizeLogoRefusesBadRequestsAndChangesNothing)
{
    const QImage old = Pattern(40, 20);
    auto doc = LogoDocument(old);
    QSignalSpy redraws(doc.get(), &CGlyphaneDoc::updateAllViews);
    for (int mode : {0, 6, -1})
        EXPECT_FALSE(ResizeLogo(*doc, 80, 80, mode)) << mode;
    EXPECT_FALSE(ResizeLogo(*doc, 0, 80, 1));
    EXPECT_FALSE(ResizeLogo(*doc, 80, CGlyphaneDoc::kMaxLogoSide + 1, 5));
    EXPECT_EQ(doc->Picture().GetLogoWidth(), 40);
    EXPECT_EQ(doc->Picture().GetLogoHeight(), 20);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(redraws.count(), 0);
    EXPECT_EQ(HeaderWord(*doc, 18), 40u);
    ExpectSameImage(*doc->Picture().GetLogoBitmap(), old, "unchanged");

    CGlyphaneDoc empty;
    EXPECT_FALSE(ResizeLogo(empty, 10, 10, 1));
}

