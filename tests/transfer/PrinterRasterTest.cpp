// The raster and the bitmap stream built without a document give exactly what
// the document's own operations give, over many sizes and every send option.
#include "document/GlyphaneDoc.h"
#include "support/TestEnv.h"
#include "transfer/LogoStream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

using rasterops::FrameKind;

QImage RandomLogo(int width, int height, unsigned seed)
{
    // Colours on both sides of the white threshold, where packing faults show.
    static constexpr QRgb kColours[] = {0xFF000000, 0xFFFFFFFF, 0xFF7F7F7F, 0xFF807F7F, 0xFFFFFF7E};
    std::mt19937 random(seed);
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, kColours[random() % 5]);
    return image;
}

enum class Answer { Nobody, Yes, No };

struct CountingQuestion {
    Answer answer;
    int asked = 0;
    FrameMayCoverLogo Question()
    {
        if (answer == Answer::Nobody)
            return {};
        return [this] {
            ++asked;
            return answer == Answer::Yes;
        };
    }
};

// The chain as the document runs it for a transfer.
CBufferUC DocumentRaster(CGlyphaneDoc& doc, const QImage& logo, const CRasterShaping& shaping,
                         const CGlyphaneDoc::FrameQuestion& question)
{
    CBufferUC raster = doc.Raster().CenterRasterOnPrinter(doc.Raster().BuildPrintRaster(logo));
    if (shaping.frame == FrameKind::Thin)
        raster = doc.Raster().AddThinFrame(raster, question);
    else if (shaping.frame == FrameKind::Bold)
        raster = doc.Raster().AddBoldFrame(raster, question);
    else if (shaping.frame == FrameKind::Double)
        raster = doc.Raster().AddDoubleFrame(raster, question);
    doc.Raster().SetPrintRaster(raster);
    if (shaping.reverseImage)
        doc.Raster().ReverseRasterImage();
    if (shaping.reverseRow)
        doc.Raster().ReverseRasterRows();
    return doc.Raster().GetPrintRaster();
}

// logo width, logo height, printer DotX, DotY
constexpr CLogoGeometry kGeometries[] = {
    {16, 2, 16, 2},     {64, 40, 64, 40},   {40, 24, 64, 40},   {62, 38, 64, 40},
    {13, 7, 64, 41},    {61, 40, 64, 40},   {100, 50, 64, 40},  {64, 60, 72, 33},
    {8, 1, 8, 1},       {23, 17, 37, 29},   {200, 12, 384, 15}, {56, 24, 64, 32},
};

constexpr std::optional<FrameKind> kFrames[] = {std::nullopt, FrameKind::Thin, FrameKind::Bold,
                                                FrameKind::Double};

} // namespace

TEST(PrinterRasterTest, EqualsTheDocumentChainForEverySizeAndOption)
{
    CGlyphaneDoc doc(testenv::DocEnvironment());
    unsigned seed = 1;
    for (const CLogoGeometry& g : kGeometries) {
        doc.Picture().SetLogoSize(g.logoWidth, g.logoHeight);
        doc.Binding().SetDotX(g.dotX);
        doc.Binding().SetDotY(g.dotY);
        // The image is a few dots larger than the logo: only the logo's dots count.
        const QImage logo = RandomLogo(g.logoWidth + 3, g.logoHeight + 1, seed++);
        for (const auto& frame : kFrames)
            for (const Answer answer : {Answer::Nobody, Answer::Yes, Answer::No})
                for (int reversals = 0; reversals < 4; ++reversals) {
                    const CRasterShaping shaping{(reversals & 1) != 0, (reversals & 2) != 0, frame};
                    CountingQuestion ours{answer};
                    CountingQuestion theirs{answer};
                    const CBufferUC expected = DocumentRaster(doc, logo, shaping, theirs.Question());
                    const CBufferUC actual = PreparePrinterRaster(logo, g, shaping, ours.Question());
                    const std::string what = "logo " + std::to_string(g.logoWidth) + "x"
                                             + std::to_string(g.logoHeight) + " on "
                                             + std::to_string(g.dotX) + "x" + std::to_string(g.dotY)
                                             + " frame " + std::to_string(frame ? int(*frame) : -1)
                                             + " answer " + std::to_string(int(answer))
                                             + " reversals " + std::to_string(reversals);
                    ASSERT_EQ(actual.Bytes(), expected.Bytes()) << what;
                    EXPECT_EQ(ours.asked, theirs.asked) << what;
                    EXPECT_LE(ours.asked, 1) << what;
                }
    }
}

TEST(PrinterRasterTest, BitmapStreamAnnouncesTheWholePrinterAreaItCarriesBottomRowFirst)
{
    // A bitmap model keeps a logo smaller than its printer area; the image
    // sent is the area with the logo centred, so the header must give the
    // area's size and the rows go bottom-up in the area's layout. A header
    // giving the logo's size once made the printer read part of the rows as
    // the image and the rest as commands.
    CGlyphaneDoc doc(testenv::DocEnvironment());
    for (const CLogoGeometry& g : {CLogoGeometry{64, 40, 64, 40}, CLogoGeometry{40, 24, 64, 40},
                                   CLogoGeometry{20, 9, 64, 40}}) {
        doc.Picture().SetLogoSize(g.logoWidth, g.logoHeight);
        doc.Binding().SetDotX(g.dotX);
        doc.Binding().SetDotY(g.dotY);
        const QImage logo = RandomLogo(g.logoWidth, g.logoHeight, 77);
        const CBufferUC raster = DocumentRaster(doc, logo, {}, {});
        CBufferUC header;
        doc.BmpFile().BuildBitmapHeader(header);
        ASSERT_EQ(header.GetSize(), 62);

        const std::vector<BYTE> command = {0x1B, 0x42, 0x31};
        for (const char* model : {"BDQGMLW", "JMQ9534"}) {
            const std::vector<BYTE> stream = BuildSerialStream({model, CBufferUC(command.data(), 3), header, raster,
                                                                false, g.dotX, g.dotY})
                                                 .bytes.Bytes();
            ASSERT_EQ(stream.size(), 3u + 62u + 8u * 40u) << model << " logo " << g.logoWidth;
            EXPECT_TRUE(std::equal(command.begin(), command.end(), stream.begin()));
            // Width and height 64 x 40, image size 320 bytes, file size 382.
            EXPECT_EQ(stream[3 + 18], 64);
            EXPECT_EQ(stream[3 + 22], 40);
            EXPECT_EQ(stream[3 + 34] | stream[3 + 35] << 8, 320);
            EXPECT_EQ(stream[3 + 2] | stream[3 + 3] << 8, 382);
            for (int row = 0; row < 40; ++row)
                for (int k = 0; k < 8; ++k)
                    ASSERT_EQ(stream[static_cast<size_t>(3 + 62 + row * 8 + k)],
                              raster.GetpBuf()[(39 - row) * 8 + k])
                        << model << " logo " << g.logoWidth << ", row " << row;
        }
    }
}
