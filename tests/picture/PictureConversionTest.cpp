// The steps between a drawn picture and a logo: where it goes in the area,
// the tone controls, grey on white paper, and the whole conversion.
#include "picture/PictureConversion.h"
#include "support/PictureFiles.h"

#include <gtest/gtest.h>

using namespace picture;
using picturefiles::Half;

TEST(PictureConversionTest, FitAndPlacementPutThePictureWhereTheySay)
{
    const QSize area(576, 240);
    struct Case {
        QSize picture;
        Fit fit;
        Placement placement;
        QSize drawn;
        QRect visible;
        QPoint at;
    };
    const Case cases[] = {
        {{200, 100}, Fit::Within, Placement::Center, {480, 240}, {0, 0, 480, 240}, {48, 0}},
        {{200, 100}, Fit::Within, Placement::Left, {480, 240}, {0, 0, 480, 240}, {0, 0}},
        {{100, 1000}, Fit::Within, Placement::Center, {24, 240}, {0, 0, 24, 240}, {276, 0}},
        {{1000, 10}, Fit::Within, Placement::Center, {576, 6}, {0, 0, 576, 6}, {0, 117}},
        {{200, 100}, Fit::Width, Placement::Center, {576, 288}, {0, 24, 576, 240}, {0, 0}},
        {{200, 100}, Fit::Width, Placement::Left, {576, 288}, {0, 0, 576, 240}, {0, 0}},
        {{1000, 50}, Fit::Original, Placement::Center, {1000, 50}, {212, 0, 576, 50}, {0, 95}},
        {{1000, 50}, Fit::Original, Placement::Left, {1000, 50}, {0, 0, 576, 50}, {0, 0}},
        {{30, 20}, Fit::Original, Placement::Center, {30, 20}, {0, 0, 30, 20}, {273, 110}},
        {{30, 20}, Fit::Stretch, Placement::Left, {576, 240}, {0, 0, 576, 240}, {0, 0}},
    };
    for (const Case& c : cases) {
        const std::optional<CFitPlan> plan = PlanFit(c.picture, area, c.fit, c.placement);
        ASSERT_TRUE(plan);
        EXPECT_EQ(plan->drawn, c.drawn) << c.picture.width() << "x" << c.picture.height() << " fit " << int(c.fit);
        EXPECT_EQ(plan->visible, c.visible) << c.picture.width() << "x" << c.picture.height() << " fit " << int(c.fit);
        EXPECT_EQ(plan->at, c.at) << c.picture.width() << "x" << c.picture.height() << " fit " << int(c.fit);
    }
    EXPECT_FALSE(PlanFit(QSize(0, 10), area, Fit::Within, Placement::Center));
    EXPECT_FALSE(PlanFit(QSize(10, 10), QSize(), Fit::Within, Placement::Center));
}

TEST(PictureConversionTest, ToneControlsMoveTheGreyLevels)
{
    struct Case {
        CTone tone;
        int level;
        int expected;
    };
    const Case cases[] = {
        {{}, 0, 0}, {{}, 77, 77}, {{}, 255, 255},       // neutral: every level as it was
        {{0, 0, 1.0, true}, 0, 255}, {{0, 0, 1.0, true}, 200, 55},
        {{20, 0, 1.0, false}, 100, 151},                 // + 20 % of 255 = 51
        {{-100, 0, 1.0, false}, 254, 0},
        {{0, -100, 1.0, false}, 0, 128}, {{0, -100, 1.0, false}, 255, 128}, // flat at the middle (127.5 rounds up)
        {{0, -50, 1.0, false}, 0, 64},                   // half the slope: 127.5 - 63.75
        {{0, 100, 1.0, false}, 127, 0}, {{0, 100, 1.0, false}, 128, 255}, // a step at the middle
        {{0, 0, 2.0, false}, 64, 128},                   // 255 (64 / 255)^(1/2) = 127.7
        {{0, 0, 0.5, false}, 128, 64},                   // 255 (128 / 255)^2 = 64.25
        {{10, 0, 1.0, true}, 100, 129},                  // inverted after the brightness: 255 - 126
    };
    for (const Case& c : cases)
        EXPECT_EQ(ToneTableOf(c.tone)[static_cast<size_t>(c.level)], c.expected)
            << "brightness " << c.tone.brightness << " contrast " << c.tone.contrast << " gamma " << c.tone.gamma
            << " invert " << c.tone.invert << " level " << c.level;
}

TEST(PictureConversionTest, GreyIsLightnessOnWhitePaper)
{
    QImage picture(5, 1, QImage::Format_ARGB32);
    picture.setPixel(0, 0, qRgba(10, 200, 50, 255)); // (200 + 10) / 2
    picture.setPixel(1, 0, qRgba(0, 0, 0, 0));       // clear: the paper
    picture.setPixel(2, 0, qRgba(0, 0, 0, 128));     // half-covering black
    picture.setPixel(3, 0, qRgba(255, 0, 0, 255));
    picture.setPixel(4, 0, qRgba(255, 255, 255, 255));
    const QImage grey = GreyOnWhite(picture, ToneTableOf({}));
    ASSERT_EQ(grey.format(), QImage::Format_Grayscale8);
    const uchar* row = grey.constScanLine(0);
    EXPECT_EQ(std::vector<int>(row, row + 5), (std::vector<int>{105, 255, 127, 127, 255}));

    // The same through the eight-pixels-at-a-time path, and past it.
    QImage wide(19, 1, QImage::Format_ARGB32);
    for (int x = 0; x < wide.width(); ++x)
        wide.setPixel(x, 0, qRgba(x * 13, 255 - x * 7, x * 5, x * 13));
    const QImage wideGrey = GreyOnWhite(wide, ToneTableOf({}));
    const QImage premultiplied = wide.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int x = 0; x < wide.width(); ++x) {
        const QRgb p = premultiplied.pixel(x, 0);
        const int paper = 255 - qAlpha(p);
        const int r = qRed(p) + paper, g = qGreen(p) + paper, b = qBlue(p) + paper;
        EXPECT_EQ(wideGrey.constScanLine(0)[x], (std::max({r, g, b}) + std::min({r, g, b})) / 2) << x;
    }
}

TEST(PictureConversionTest, TheLogoIsTheAreaWithThePictureWhereTheFitSays)
{
    const CPicture picture = CPicture::FromImage(picturefiles::HalfBlack(QSize(40, 20)), QStringLiteral("half.png"));
    CPictureConversion conversion(picture);
    CPictureSettings settings;
    settings.method.method = dither::Method::Threshold;
    QString why;

    settings.fit = Fit::Within; // 40 x 20 drawn 60 x 30, centred in 100 x 30
    QImage logo = conversion.Convert(QSize(100, 30), settings, &why);
    ASSERT_EQ(logo.size(), QSize(100, 30)) << why.toStdString();
    EXPECT_EQ(logo.format(), QImage::Format_RGB32);
    EXPECT_DOUBLE_EQ(picturefiles::BlackShare(logo, QRect(20, 0, 30, 30)), 1.0);
    EXPECT_DOUBLE_EQ(picturefiles::BlackShare(logo, QRect(0, 0, 20, 30)), 0.0) << "the margin is white";
    EXPECT_DOUBLE_EQ(picturefiles::BlackShare(logo, QRect(50, 0, 50, 30)), 0.0);

    settings.placement = Placement::Left;
    logo = conversion.Convert(QSize(100, 30), settings, &why);
    EXPECT_DOUBLE_EQ(picturefiles::BlackShare(logo, QRect(0, 0, 30, 30)), 1.0);
    EXPECT_DOUBLE_EQ(picturefiles::BlackShare(logo, QRect(30, 0, 70, 30)), 0.0);

    settings.tone.invert = true; // a new tone, the same drawn picture
    logo = conversion.Convert(QSize(100, 30), settings, &why);
    EXPECT_DOUBLE_EQ(picturefiles::BlackShare(logo, QRect(30, 0, 30, 30)), 1.0);
    EXPECT_DOUBLE_EQ(picturefiles::BlackShare(logo, QRect(60, 0, 40, 30)), 0.0) << "the area's margin stays paper";
}
