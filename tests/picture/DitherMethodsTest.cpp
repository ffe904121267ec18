// Each black-and-white method against dots written out by hand from its
// published weights (error shares truncated toward zero, white above the
// threshold) on three small pictures: a ramp, a flat grey and a checker.
#include "document/GlyphaneDoc.h"
#include "picture/DitherMethods.h"
#include "picture/PictureConversion.h"
#include "support/TestEnv.h"

#include <gtest/gtest.h>

#include <random>

using dither::Method;

namespace {

// Rows of grey values, all the same length.
QImage Grey(const std::vector<std::vector<int>>& rows)
{
    QImage grey(static_cast<int>(rows.front().size()), static_cast<int>(rows.size()), QImage::Format_Grayscale8);
    for (int y = 0; y < grey.height(); ++y)
        for (int x = 0; x < grey.width(); ++x)
            grey.scanLine(y)[x] = static_cast<uchar>(rows[static_cast<size_t>(y)][static_cast<size_t>(x)]);
    return grey;
}

// The eight steps 0 to 255, three rows alike.
QImage Ramp()
{
    const std::vector<int> row = {0, 36, 72, 109, 145, 182, 218, 255};
    return Grey({row, row, row});
}

QImage Flat100()
{
    return Grey(std::vector<std::vector<int>>(4, std::vector<int>(6, 100)));
}

// 100 and 180 alternating, 100 in the top left corner.
QImage Checker()
{
    std::vector<std::vector<int>> rows(4, std::vector<int>(6));
    for (size_t y = 0; y < rows.size(); ++y)
        for (size_t x = 0; x < rows[y].size(); ++x)
            rows[y][x] = (x + y) % 2 ? 180 : 100;
    return Grey(rows);
}

// The dots as rows of 0 (black) and 1 (white), separated by spaces.
QString Dots(const QImage& dots)
{
    QStringList rows;
    for (int y = 0; y < dots.height(); ++y) {
        QString row;
        for (int x = 0; x < dots.width(); ++x)
            row += dots.constScanLine(y)[x] == 255 ? u'1' : dots.constScanLine(y)[x] == 0 ? u'0' : u'?';
        rows << row;
    }
    return rows.join(u' ');
}

struct MethodCase {
    Method method;
    bool serpentine;
    const char* ramp;
    const char* flat;
    const char* checker;
};

} // namespace

TEST(DitherMethodsTest, EachMethodGivesThePublishedDots)
{
    // Worked by hand, e.g. Floyd-Steinberg on the flat 100, first row: 100 is
    // black, its error 100 gives the next pixel 7/16 = 43; 143 is white, error
    // -112, 7/16 = -49; 51 black (+22), 122 black (+53), 153 white (-44), 56 black.
    const MethodCase cases[] = {
        {Method::Threshold, false, "00001111 00001111 00001111", "000000 000000 000000 000000",
         "010101 101010 010101 101010"},
        {Method::AutoThreshold, false, "00001111 00001111 00001111", "000000 000000 000000 000000",
         "010101 101010 010101 101010"},
        {Method::FloydSteinberg, false, "00010111 00010111 00010111", "010010 001001 101010 010010",
         "010101 101010 010101 101110"},
        {Method::FloydSteinberg, true, "00010111 00010111 00010111", "010010 001010 100100 001001",
         "010101 101010 010101 101110"},
        {Method::Atkinson, false, "00001111 00011111 00000111", "000100 010010 011001 000100",
         "010101 101010 011101 101010"},
        {Method::Atkinson, true, "00001111 00100111 00011111", "000100 010100 010011 001000",
         "010101 101010 011101 101010"},
        {Method::JarvisJudiceNinke, false, "00001111 00011111 00000111", "000100 101001 010010 001010",
         "010101 101010 010101 101110"},
        {Method::JarvisJudiceNinke, true, "00001111 00010111 00011011", "000100 101010 010010 010010",
         "010101 101010 010101 101110"},
        {Method::Stucki, false, "00001111 00010111 00011111", "001000 010101 100010 010100",
         "010101 101010 010101 101010"},
        {Method::Stucki, true, "00001111 00010111 00011011", "001000 010101 001001 010010",
         "010101 101010 010101 111010"},
        {Method::Burkes, false, "00010111 00011011 00001111", "001001 100100 010101 001000",
         "010101 101010 010101 101110"},
        {Method::Burkes, true, "00010111 00100111 00011111", "001001 110010 001001 010010",
         "010101 101010 010101 101110"},
        {Method::Sierra, false, "00001111 00011111 00000111", "000100 101001 010010 010100",
         "010101 101010 010101 101010"},
        {Method::Sierra, true, "00001111 00010111 00010111", "000100 011010 000010 011010",
         "010101 101010 010101 101110"},
        // Cell m of the n x n Bayer matrix is white above floor(255 (2m + 1) / (2 n²)).
        {Method::Ordered4, false, "00101111 00010101 00101011", "101010 010001 101010 000100",
         "111111 010001 101110 000100"},
        {Method::Ordered8, false, "00101111 00010101 00101011", "101010 010101 101010 000100",
         "111111 010101 111110 000100"},
    };
    for (const MethodCase& c : cases) {
        const dither::CMethodSettings settings{c.method, 128, c.serpentine};
        const std::string name = std::string(dither::EntryOf(c.method).name) + (c.serpentine ? " serpentine" : "");
        for (const auto& [picture, expected] : {std::pair{Ramp(), c.ramp}, {Flat100(), c.flat}, {Checker(), c.checker}}) {
            QImage dots = picture;
            dither::Apply(dots, settings);
            EXPECT_EQ(Dots(dots), QLatin1String(expected)) << name;
        }
    }
}

TEST(DitherMethodsTest, OtsuSplitsAtTheFirstBestThreshold)
{
    // Two levels: every threshold from 60 to 199 separates them equally well.
    EXPECT_EQ(dither::OtsuThreshold(Grey({{60, 200, 60}, {200, 60, 200}})), 60);
    EXPECT_EQ(dither::OtsuThreshold(Ramp()), 109);
    EXPECT_EQ(dither::OtsuThreshold(Flat100()), 128) << "one grey level has no split";
    QImage dots = Grey({{30, 40, 220, 230}});
    dither::Apply(dots, {Method::AutoThreshold, 0, false});
    EXPECT_EQ(Dots(dots), QLatin1String("0011")) << "the threshold setting plays no part";
}

TEST(DitherMethodsTest, FloydSteinbergIsToBlackWhiteAtTheSameThreshold)
{
    std::mt19937 random(11);
    QImage colours(37, 23, QImage::Format_RGB32);
    for (int y = 0; y < colours.height(); ++y)
        for (int x = 0; x < colours.width(); ++x)
            colours.setPixel(x, y, 0xFF000000u | (random() & 0xFFFFFFu));
    const picture::CPicture picture = picture::CPicture::FromImage(colours, QStringLiteral("colours.bmp"));
    for (const int threshold : {0, 1, 127, 128, 200, 255}) {
        CGlyphaneDoc doc{testenv::DocEnvironment()};
        doc.Picture().AttachLogoBitmap(colours);
        doc.Picture().SetLogoSize(colours.width(), colours.height());
        doc.ConvertToBlackWhite(DWORD(colours.width()), DWORD(colours.height()), DWORD(threshold));

        picture::CPictureConversion conversion(picture);
        picture::CPictureSettings settings;
        settings.fit = picture::Fit::Original;
        settings.method = {Method::FloydSteinberg, threshold, false};
        QString why;
        const QImage logo = conversion.Convert(colours.size(), settings, &why);
        ASSERT_FALSE(logo.isNull()) << why.toStdString();
        EXPECT_EQ(logo, *doc.Picture().GetLogoBitmap()) << "threshold " << threshold;
    }
}

TEST(DitherMethodsTest, ToBlackWhiteTakesEveryMethod)
{
    // "convert --method" runs the table's method on the logo's own lightness.
    QImage colours(8, 3, QImage::Format_RGB32);
    const int ramp[] = {0, 36, 72, 109, 145, 182, 218, 255};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 8; ++x)
            colours.setPixel(x, y, qRgb(ramp[x], ramp[x], ramp[x]));
    CGlyphaneDoc doc{testenv::DocEnvironment()};
    doc.Picture().AttachLogoBitmap(colours);
    doc.Picture().SetLogoSize(8, 3);
    doc.ConvertToBlackWhite(8, 3, 128, Method::Atkinson);
    QString dots;
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 8; ++x)
            dots += doc.Picture().GetLogoBitmap()->pixel(x, y) == 0xFFFFFFFFu ? u'1' : u'0';
        dots += u' ';
    }
    EXPECT_EQ(dots.trimmed(), QLatin1String("00001111 00011111 00000111"));
    EXPECT_TRUE(doc.Binding().IsMonochrome());
}
