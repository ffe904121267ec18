// The print data of a logo, compared with a slow per-pixel reference of the
// 1-bit bitmap layout.
#include "printer/PrintData.h"

#include "document/GlyphaneDoc.h"
#include "printer/ModelCatalogue.h"
#include "support/ProgramFixture.h"
#include "support/ScriptedUi.h"

#include <QImage>
#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

// Obviously right: one bit at a time, row stride rounded up to 16 dots.
std::vector<BYTE> ReferenceBits(const QImage& image, int count)
{
    std::vector<BYTE> bits(static_cast<size_t>(std::max(count, 0)), 0);
    const int strideBits = (image.width() + 15) / 16 * 16;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            const COLORREF ref = RGB(qRed(p), qGreen(p), qBlue(p));
            const qint64 bit = qint64(y) * strideBits + x;
            if (ref > 0x7F7F7F && bit / 8 < count)
                bits[size_t(bit / 8)] |= BYTE(0x80 >> (bit % 8));
        }
    }
    return bits;
}

QImage RandomLogo(int width, int height, quint32 seed)
{
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, random.bounded(2) ? 0xFFFFFFFF : 0xFF000000);
    }
    return image;
}

void BindLogo(CGlyphaneDoc& doc, const QImage& image, const QString& model)
{
    doc.Picture().AttachLogoBitmap(image);
    doc.Picture().SetLogoSize(image.width(), image.height());
    doc.Binding().SetPrinterModel(model);
}

std::vector<BYTE> ZeroBytes(int count) { return std::vector<BYTE>(size_t(count), 0); }

TEST(BitmapBits, MatchesTheReferenceOverManySizes)
{
    for (int width : {1, 7, 8, 15, 16, 17, 20, 31, 32, 33, 576}) {
        for (int height : {1, 3, 8}) {
            const QImage image = RandomLogo(width, height, quint32(width * 131 + height));
            for (int count : {0, 1, width * height / 8, (width + 15) / 16 * 2 * height,
                              (width + 15) / 16 * 2 * height + 5}) {
                EXPECT_EQ(GetBitmapBits(image, count).Bytes(), ReferenceBits(image, count))
                    << width << "x" << height << " count " << count;
            }
        }
    }
}

TEST(BitmapBits, WhiteIsAColourReferenceAboveTheThreshold)
{
    QImage image(8, 1, QImage::Format_RGB32);
    const QRgb pixels[8] = {qRgb(0x80, 0x7F, 0x7F), qRgb(0x7F, 0x7F, 0x7F),
                            qRgb(0, 0, 0x80),       qRgb(0xFF, 0xFF, 0x7F),
                            qRgb(0xFF, 0xFF, 0xFF), qRgb(0, 0, 0),
                            qRgb(0xFF, 0, 0),       qRgb(0x7F, 0x80, 0x7F)};
    for (int x = 0; x < 8; ++x)
        image.setPixel(x, 0, pixels[x]);
    // 0x7F7F80 white, 0x7F7F7F black, 0x800000 white, 0x7FFFFF white,
    // white, black, 0x0000FF black, 0x7F807F white: the value is compared
    // as a whole, so blue weighs most.
    EXPECT_EQ(GetBitmapBits(image, 1).Bytes(), std::vector<BYTE>{0xB9});
}

TEST(BitmapBits, OtherFormatsAndEdgeCounts)
{
    QImage mono = RandomLogo(16, 2, 7).convertToFormat(QImage::Format_Mono);
    EXPECT_EQ(GetBitmapBits(mono, 4).Bytes(),
              ReferenceBits(mono.convertToFormat(QImage::Format_RGB32), 4));
    EXPECT_EQ(GetBitmapBits(QImage(), 3).Bytes(), ZeroBytes(3));
    EXPECT_EQ(GetBitmapBits(mono, -1).GetSize(), 0);
}

TEST(PlainPrintData, BitsThenTheModelsTrailingZeros)
{
    const QImage image = RandomLogo(32, 4, 42);
    const struct {
        const char* model;
        int zeros;
    } cases[] = {{"DVW85", 32}, {"BJL153", 56}, {"QXB978", 56}, {"CV292", 16},
                 {"cv292", 0},  {"WGJ33", 0},   {"DVW85HV", 0}};
    for (const auto& c : cases) {
        CGlyphaneDoc doc{testenv::DocEnvironment()};
        BindLogo(doc, image, c.model);
        ASSERT_TRUE(BuildPlainPrintData(doc));
        std::vector<BYTE> expected = ReferenceBits(image, 16);
        expected.resize(expected.size() + size_t(c.zeros), 0);
        EXPECT_EQ(doc.Raster().GetPrintRaster().Bytes(), expected) << c.model;
    }
}

TEST(PlainPrintData, CountFollowsTheLogoSizeNotThePaddedRows)
{
    // 20 dots wide: rows are 4 bytes in the bitmap, but only (20 x 3) / 8 = 7
    // bytes are read, so the third row is cut short.
    const QImage image = RandomLogo(20, 3, 5);
    CGlyphaneDoc doc{testenv::DocEnvironment()};
    BindLogo(doc, image, "WGJ33");
    ASSERT_TRUE(BuildPlainPrintData(doc));
    EXPECT_EQ(doc.Raster().GetPrintRaster().Bytes(), ReferenceBits(image, 7));

    // A logo size larger than the bitmap is padded with zero bytes.
    doc.Picture().SetLogoSize(32, 8);
    ASSERT_TRUE(BuildPlainPrintData(doc));
    std::vector<BYTE> padded = ReferenceBits(image, 32);
    EXPECT_EQ(doc.Raster().GetPrintRaster().Bytes(), padded);
    EXPECT_EQ(std::vector<BYTE>(padded.begin() + 12, padded.end()), ZeroBytes(20));
}

TEST(PlainPrintData, WithoutBitmapOnlyTheTrailingZeros)
{
    CGlyphaneDoc doc{testenv::DocEnvironment()};
    doc.Picture().SetLogoSize(576, 240);
    doc.Raster().SetPrintRaster(CBufferUC(10, 0xEE));
    doc.Binding().SetPrinterModel("BJL153");
    ASSERT_TRUE(BuildPlainPrintData(doc));
    EXPECT_EQ(doc.Raster().GetPrintRaster().Bytes(), ZeroBytes(56));
    doc.Binding().SetPrinterModel("WGJ33");
    ASSERT_TRUE(BuildPlainPrintData(doc));
    EXPECT_EQ(doc.Raster().GetPrintRaster().GetSize(), 0);
}

TEST(PlainPrintData, UnusableLogoSizeChangesNothing)
{
    CGlyphaneDoc doc{testenv::DocEnvironment()};
    BindLogo(doc, RandomLogo(16, 2, 1), "DVW85");
    const CBufferUC previous(5, 0x5A);
    for (const auto& size : {std::pair{-16, 2}, std::pair{16, -1},
                             std::pair{CGlyphaneDoc::kMaxLogoSide + 1, 16},
                             std::pair{16, 2000000000}}) {
        doc.Raster().SetPrintRaster(previous);
        doc.Picture().SetLogoSize(size.first, size.second);
        EXPECT_FALSE(BuildPlainPrintData(doc)) << size.first << "x" << size.second;
        EXPECT_EQ(doc.Raster().GetPrintRaster(), previous);
        EXPECT_FALSE(BuildUsbPrintData(doc));
        EXPECT_EQ(doc.Raster().GetPrintRaster(), previous);
    }
}

// The header comes from the program folder's template: the program is started.
class UsbPrintData : public testenv::ProgramFixture {
protected:
    void TearDown() override
    {
        EXPECT_TRUE(m_ui.Prompts().empty()) << "no message may be shown";
        ProgramFixture::TearDown();
    }

    testenv::ScriptedUi m_ui;
};

DWORD LittleEndian32(const std::vector<BYTE>& bytes, size_t at)
{
    return DWORD(bytes[at]) | DWORD(bytes[at + 1]) << 8 | DWORD(bytes[at + 2]) << 16 |
           DWORD(bytes[at + 3]) << 24;
}

TEST_F(UsbPrintData, HeaderThenBits)
{
    const QImage image = RandomLogo(48, 5, 9);
    CGlyphaneDoc doc{testenv::DocEnvironment()};
    BindLogo(doc, image, "VD8");
    ASSERT_TRUE(BuildUsbPrintData(doc));
    CBufferUC header;
    doc.BmpFile().BuildBitmapHeader(header);
    ASSERT_EQ(header.GetSize(), 62);
    const std::vector<BYTE> data = doc.Raster().GetPrintRaster().Bytes();
    ASSERT_EQ(data.size(), size_t(62 + 48 * 5 / 8));
    EXPECT_EQ(std::vector<BYTE>(data.begin(), data.begin() + 62), header.Bytes());
    EXPECT_EQ(std::vector<BYTE>(data.begin() + 62, data.end()), ReferenceBits(image, 30));
    EXPECT_EQ(data[0], 'B');
    EXPECT_EQ(data[1], 'M');
    EXPECT_EQ(LittleEndian32(data, 18), 48u);
    EXPECT_EQ(LittleEndian32(data, 22), 5u);
}

TEST_F(UsbPrintData, NoBitmapKeepsThePreviousBuffer)
{
    CGlyphaneDoc doc{testenv::DocEnvironment()};
    doc.Picture().SetLogoSize(48, 5);
    doc.Binding().SetPrinterModel("JMQ9534");
    const CBufferUC previous(7, 0x11);
    doc.Raster().SetPrintRaster(previous);
    EXPECT_FALSE(BuildUsbPrintData(doc));
    EXPECT_EQ(doc.Raster().GetPrintRaster(), previous);
}

} // namespace
