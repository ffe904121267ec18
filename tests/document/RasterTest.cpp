// The printer raster: packing the logo, placing it on the printer area,
// frames and their warning, mirroring and row reversal, the BMP header.
#include "document/GlyphaneDoc.h"
#include "document/RasterOps.h"
#include "document/RowPacker.h"
#include "ImageTestHelpers.h"
#include "resources/StringTable.h"
#include "support/ScriptedUi.h"

#include "support/TestEnv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

namespace {

using rasterops::FrameKind;

std::vector<BYTE> Bytes(const CBufferUC& buffer)
{
    return buffer.Bytes();
}

CBufferUC Filled(int size, BYTE value)
{
    return CBufferUC(size, value);
}

// Bytes 0, 1, 2 ... so every byte of a raster can be traced after a move.
CBufferUC Numbered(int size)
{
    CBufferUC buffer(size, 0);
    for (int i = 0; i < size; ++i)
        buffer.SetByte(static_cast<BYTE>(i), i);
    return buffer;
}

BYTE At(const CBufferUC& buffer, int index)
{
    BYTE value = 0;
    EXPECT_TRUE(buffer.GetByte(index, value)) << "index " << index;
    return value;
}

// The obviously right packing: one pixel query per dot, outside = white.
CBufferUC SlowPack(const QImage& image, int width, int height)
{
    CBufferUC raster(width * height / 8, 0);
    for (int i = 0; i < height; ++i)
        for (int j = 0; j < width / 8; ++j) {
            int byte = 0;
            for (int x = 8 * j; x < 8 * j + 8; ++x) {
                bool white = true;
                if (image.valid(x, i)) {
                    const QRgb p = image.pixel(x, i);
                    white = static_cast<unsigned>(qRed(p) + 256 * qGreen(p) + 65536 * qBlue(p)) > 0x7F7F7Fu;
                }
                byte = byte * 2 + (white ? 1 : 0);
            }
            raster.SetByte(static_cast<BYTE>(byte), i * width / 8 + j);
        }
    return raster;
}

// Answers the frame question and counts how often it was put.
struct FrameAsker {
    bool answer = true;
    int asked = 0;
    CGlyphaneDoc::FrameQuestion Question()
    {
        return [this] {
            ++asked;
            return answer;
        };
    }
};

// A document bound to a printer area, for the wrappers and the warnings.
struct DocFixture {
    CGlyphaneDoc doc{testenv::DocEnvironment()};
    DocFixture(int logoWidth, int logoHeight, int dotX, int dotY)
    {
        doc.Picture().SetLogoSize(logoWidth, logoHeight);
        doc.Binding().SetDotX(dotX);
        doc.Binding().SetDotY(dotY);
    }
};

TEST(RasterPackTest, FastPackingMatchesPixelQueriesOverManySizes)
{
    unsigned seed = 1;
    for (int width : {1, 7, 8, 9, 15, 16, 17, 31, 33, 100})
        for (int height : {1, 2, 5, 13}) {
            for (bool edge : {false, true}) {
                const QImage image = imagetest::RandomImage(width, height, seed++, edge);
                EXPECT_EQ(Bytes(rasterops::PackRows(image, width, height)), Bytes(SlowPack(image, width, height)))
                    << width << " x " << height;
            }
            // A bitmap smaller than the logo: the missing dots are white.
            const QImage small = imagetest::RandomImage(std::max(width - 5, 1), std::max(height - 2, 1), seed++, true);
            EXPECT_EQ(Bytes(rasterops::PackRows(small, width, height)), Bytes(SlowPack(small, width, height)))
                << "small bitmap for " << width << " x " << height;
        }
}

TEST(RasterPackTest, ThresholdIsOnTheBgrValue)
{
    // Colour value 0x00BBGGRR above 0x7F7F7F is white; blue weighs most.
    const struct {
        QRgb pixel;
        bool white;
    } cases[] = {
        {qRgb(0x7F, 0x7F, 0x7F), false}, {qRgb(0x80, 0x7F, 0x7F), true}, {qRgb(0x00, 0x00, 0x80), true},
        {qRgb(0xFF, 0xFF, 0x7F), true},  {qRgb(0xFF, 0xFF, 0x7E), false}, {qRgb(0x00, 0x80, 0x7F), true},
        {qRgb(0xFF, 0x7E, 0x7F), false},
    };
    for (const auto& c : cases) {
        QImage image(8, 1, QImage::Format_RGB32);
        image.fill(Qt::white);
        image.setPixel(0, 0, c.pixel);
        EXPECT_EQ(At(rasterops::PackRows(image, 8, 1), 0), c.white ? 0xFF : 0x7F) << std::hex << c.pixel;
    }
}

TEST(RasterPackTest, LayoutOfOddWidthsAndOtherFormats)
{
    // Width 12: rows of 1 byte at (12 * i) / 8 = 0, 1, 3; bytes between stay 0.
    QImage black(12, 3, QImage::Format_RGB32);
    black.fill(Qt::black);
    EXPECT_EQ(Bytes(rasterops::PackRows(black, 12, 3)), (std::vector<BYTE>{0x00, 0x00, 0x00, 0x00}));
    QImage white(12, 3, QImage::Format_RGB32);
    white.fill(Qt::white);
    EXPECT_EQ(Bytes(rasterops::PackRows(white, 12, 3)), (std::vector<BYTE>{0xFF, 0xFF, 0x00, 0xFF}));

    const QImage colours = imagetest::RandomImage(24, 4, 99);
    const QImage rgb888 = colours.convertToFormat(QImage::Format_RGB888);
    EXPECT_EQ(Bytes(rasterops::PackRows(rgb888, 24, 4)), Bytes(SlowPack(colours, 24, 4)));
    EXPECT_EQ(Bytes(rasterops::PackRows(QImage(), 16, 2)), std::vector<BYTE>(4, 0xFF)) << "no bitmap is white";
    EXPECT_EQ(rasterops::PackRows(colours, -8, 4).GetSize(), 0);
    EXPECT_EQ(rasterops::PackRows(colours, 1 << 20, 1 << 20).GetSize(), 0) << "too large is refused, not wrapped";
}

TEST(RasterPackTest, PackerPlacesRowsByTheirLayoutAndStaysInsideItsBuffer)
{
    // 10 x 2 image: a black row over a white one, packed as 12 x 3 dots, so
    // two dots of each row and the whole last row lie outside the image.
    QImage image(10, 2, QImage::Format_RGB32);
    image.fill(0xFFFFFFFF);
    for (int x = 0; x < 10; ++x)
        image.setPixel(x, 0, 0xFF000000);
    const dots::RowLayout bottomUp{2, 3, true}; // 2 bytes a row, 3 apart, last row first

    std::vector<BYTE> out(8, 0xAA);
    dots::PackRows(image, 12, 3, bottomUp, out.data(), 8);
    // Bits past the 12th dot are 0; the byte between two rows keeps its value.
    EXPECT_EQ(out, (std::vector<BYTE>{0xFF, 0xF0, 0xAA, 0xFF, 0xF0, 0xAA, 0x00, 0x30}));

    std::vector<BYTE> clipped(8, 0xAA);
    dots::PackRows(image, 12, 3, bottomUp, clipped.data(), 7);
    EXPECT_EQ(clipped, (std::vector<BYTE>{0xFF, 0xF0, 0xAA, 0xFF, 0xF0, 0xAA, 0x00, 0xAA})) << "stops at its size";

    std::vector<BYTE> untouched(8, 0xAA);
    dots::PackRows(image, -12, 3, bottomUp, untouched.data(), 8);
    dots::PackRows(image, 12, -3, bottomUp, untouched.data(), 8);
    EXPECT_EQ(untouched, std::vector<BYTE>(8, 0xAA)) << "a negative size packs nothing";
}

TEST(RasterPackTest, DocumentPacksItsLogoSize)
{
    DocFixture f(16, 2, 16, 2);
    QImage image(20, 4, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixel(0, 0, qRgb(0, 0, 0));
    image.setPixel(15, 1, qRgb(0, 0, 0));
    image.setPixel(17, 0, qRgb(0, 0, 0)); // outside the logo: ignored
    EXPECT_EQ(Bytes(f.doc.Raster().BuildPrintRaster(image)), (std::vector<BYTE>{0x7F, 0xFF, 0xFF, 0xFE}));
}

TEST(RasterCenterTest, ExactSizePassesUnchanged)
{
    const CBufferUC logo = Numbered(20 * 5 / 8);
    EXPECT_EQ(rasterops::CenterOnPrinter(logo, 20, 5, 20, 5), logo);
    DocFixture f(64, 3, 64, 3);
    const CBufferUC raster = Numbered(24);
    EXPECT_EQ(f.doc.Raster().CenterRasterOnPrinter(raster), raster);
}

TEST(RasterCenterTest, TwoDotsNarrowerLandsAtByteZero)
{
    const CBufferUC logo = Numbered(30 * 2 / 8); // rows of 3 bytes at 0 and 3
    const CBufferUC placed = rasterops::CenterOnPrinter(logo, 30, 2, 32, 2);
    EXPECT_EQ(Bytes(placed), (std::vector<BYTE>{0, 1, 2, 0xFF, 3, 4, 5, 0xFF}));
}

TEST(RasterCenterTest, SmallLogoIsCentredOnWhite)
{
    // offset = (32 - 16) / 16 + (32 * ((10 - 4) / 2)) / 8 = 1 + 12.
    const CBufferUC placed = rasterops::CenterOnPrinter(Numbered(8), 16, 4, 32, 10);
    ASSERT_EQ(placed.GetSize(), 40);
    for (int index = 0; index < 40; ++index) {
        const int row = index / 4, col = index % 4;
        const bool inside = row >= 3 && row < 7 && col >= 1 && col < 3;
        EXPECT_EQ(At(placed, index), inside ? (row - 3) * 2 + (col - 1) : 0xFF) << "byte " << index;
    }
}

TEST(RasterCenterTest, LargerLogoIsCroppedAroundItsMiddle)
{
    // 48 x 12 on 16 x 4: bytes (48 - 16) / 16 = 2.. of rows (12 - 4) / 2 = 4..
    const CBufferUC logo = Numbered(48 * 12 / 8);
    const CBufferUC placed = rasterops::CenterOnPrinter(logo, 48, 12, 16, 4);
    ASSERT_EQ(placed.GetSize(), 8);
    for (int i = 0; i < 4; ++i)
        for (int k = 0; k < 2; ++k)
            EXPECT_EQ(At(placed, i * 2 + k), (4 + i) * 6 + 2 + k);

    // Wider but shorter: cropped across, centred down.
    const CBufferUC wide = rasterops::CenterOnPrinter(Numbered(12), 48, 2, 16, 6);
    EXPECT_EQ(Bytes(wide), (std::vector<BYTE>{0xFF, 0xFF, 0xFF, 0xFF, 2, 3, 8, 9, 0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(RasterCenterTest, EveryPlacementMatchesTheDotReferenceAndStaysInside)
{
    // Byte-aligned sizes, against a dot-by-dot placement.
    for (int logoW : {8, 16, 40, 64})
        for (int logoH : {1, 3, 8, 11})
            for (int dotX : {8, 24, 48, 64})
                for (int dotY : {1, 4, 9, 12}) {
                    const QImage image = imagetest::RandomImage(logoW, logoH, logoW * 131 + logoH * 7 + dotX + dotY, true);
                    const CBufferUC placed =
                        rasterops::CenterOnPrinter(rasterops::PackRows(image, logoW, logoH), logoW, logoH, dotX, dotY);
                    const int shiftX = dotX >= logoW ? (dotX - logoW) / 16 * 8 : -((logoW - dotX) / 16 * 8);
                    const int shiftY = dotY >= logoH ? (dotY - logoH) / 2 : -((logoH - dotY) / 2);
                    QImage expected(dotX, dotY, QImage::Format_RGB32);
                    expected.fill(Qt::white);
                    for (int y = 0; y < dotY; ++y)
                        for (int x = 0; x < dotX; ++x)
                            if (image.valid(x - shiftX, y - shiftY))
                                expected.setPixel(x, y, image.pixel(x - shiftX, y - shiftY));
                    EXPECT_EQ(Bytes(placed), Bytes(rasterops::PackRows(expected, dotX, dotY)))
                        << logoW << "x" << logoH << " on " << dotX << "x" << dotY;
                }
    // A source shorter than its stated size and nonsense sizes neither crash nor grow.
    EXPECT_EQ(rasterops::CenterOnPrinter(Numbered(3), 64, 64, 32, 8).GetSize(), 32);
    EXPECT_EQ(rasterops::CenterOnPrinter(Numbered(3), 8, 3, -8, 4).GetSize(), 0);
    EXPECT_EQ(rasterops::CenterOnPrinter(CBufferUC(), 8, 3, 16, 4), Filled(8, 0xFF));
}

TEST(RasterFrameTest, ShapesOfTheThreeFrames)
{
    const struct {
        FrameKind kind;
        std::vector<int> blackRows;
        BYTE first, last;
    } frames[] = {
        {FrameKind::Thin, {0, 1, 18, 19}, 0x3F, 0xFC},
        {FrameKind::Bold, {0, 1, 2, 3, 16, 17, 18, 19}, 0x0F, 0xF0},
        {FrameKind::Double, {0, 1, 6, 7, 12, 13, 18, 19}, 0x3C, 0x3C},
    };
    for (const auto& frame : frames) {
        CBufferUC raster = Filled(4 * 20, 0x5A);
        rasterops::DrawFrame(raster, frame.kind, 32, 20);
        for (int row = 0; row < 20; ++row) {
            const bool black = std::find(frame.blackRows.begin(), frame.blackRows.end(), row) != frame.blackRows.end();
            const std::vector<BYTE> expected =
                black ? std::vector<BYTE>(4, 0x00) : std::vector<BYTE>{frame.first, 0x5A, 0x5A, frame.last};
            EXPECT_EQ(std::vector<BYTE>(raster.Bytes().begin() + row * 4, raster.Bytes().begin() + row * 4 + 4), expected)
                << "frame " << static_cast<int>(frame.kind) << " row " << row;
        }
    }
}

TEST(RasterFrameTest, ThinFrameErasesADotAtXFive)
{
    CBufferUC raster = Filled(4 * 8, 0xFF);
    raster.SetByte(0xFB, 4 * 4); // a dot at x = 5 of row 4
    rasterops::DrawFrame(raster, FrameKind::Thin, 32, 8);
    EXPECT_EQ(At(raster, 16), 0x3F);
}

TEST(RasterFrameTest, TinyPrintersAndShortBuffersStayInside)
{
    CBufferUC three = Filled(3, 0xFF);
    rasterops::DrawFrame(three, FrameKind::Double, 8, 3); // every row is a black row
    EXPECT_EQ(Bytes(three), std::vector<BYTE>(3, 0x00));
    CBufferUC narrow = Filled(4, 0xFF);
    rasterops::DrawFrame(narrow, FrameKind::Thin, 4, 8); // no whole byte per row
    EXPECT_EQ(Bytes(narrow), std::vector<BYTE>(4, 0xFF));
    CBufferUC single = Filled(5, 0xFF);
    rasterops::DrawFrame(single, FrameKind::Thin, 8, 5); // first and last byte are one
    EXPECT_EQ(Bytes(single), (std::vector<BYTE>{0x00, 0x00, 0xFC, 0x00, 0x00}));
    CBufferUC shortRaster = Filled(6, 0xFF); // claims 10 rows of 2 bytes
    rasterops::DrawFrame(shortRaster, FrameKind::Bold, 16, 10);
    EXPECT_EQ(shortRaster.GetSize(), 6);
    CBufferUC empty;
    rasterops::DrawFrame(empty, FrameKind::Thin, 16, 10);
    EXPECT_EQ(empty.GetSize(), 0);
}

TEST(RasterFrameTest, WarningComesOnlyPastTheFrameMargin)
{
    const CBufferUC raster = Filled(4 * 20, 0xFF);
    for (const auto& [w, h, warns] : {std::tuple{28, 16, false}, std::tuple{29, 16, true}, std::tuple{28, 17, true}}) {
        DocFixture f(w, h, 32, 20);
        FrameAsker yes{true};
        const CBufferUC framed = f.doc.Raster().AddThinFrame(raster, yes.Question());
        EXPECT_EQ(yes.asked, warns ? 1 : 0) << w << " x " << h;
        EXPECT_EQ(At(framed, 0), 0x00) << "drawn";
        if (warns) {
            // With nobody to ask, the frame that would cover the logo is left out.
            EXPECT_EQ(f.doc.Raster().AddThinFrame(raster, nullptr), raster) << w << " x " << h;
        }
    }
    EXPECT_TRUE(rasterops::FrameMayLoseImage(FrameKind::Bold, 25, 10, 32, 20));
    EXPECT_FALSE(rasterops::FrameMayLoseImage(FrameKind::Bold, 24, 12, 32, 20));
    EXPECT_TRUE(rasterops::FrameMayLoseImage(FrameKind::Double, 17, 4, 32, 20));
    EXPECT_FALSE(rasterops::FrameMayLoseImage(FrameKind::Double, 16, 4, 32, 20));
}

TEST(RasterFrameTest, AnsweringNoSendsWithoutFrame)
{
    DocFixture f(32, 20, 32, 20);
    const CBufferUC raster = Numbered(80);
    for (int which = 0; which < 3; ++which) {
        FrameAsker no{false};
        const CBufferUC result = which == 0 ? f.doc.Raster().AddThinFrame(raster, no.Question())
                               : which == 1 ? f.doc.Raster().AddBoldFrame(raster, no.Question())
                                            : f.doc.Raster().AddDoubleFrame(raster, no.Question());
        EXPECT_EQ(result, raster) << "frame " << which;
        EXPECT_EQ(no.asked, 1);
    }
}

TEST(RasterMirrorTest, MirrorRowReversesBytesAndBits)
{
    BYTE one[] = {0xC5};
    EXPECT_EQ(CLogoRaster::MirrorRow(one, 8), one + 1);
    EXPECT_EQ(one[0], 0xA3);
    BYTE three[] = {0x01, 0x02, 0xF0};
    EXPECT_EQ(CLogoRaster::MirrorRow(three, 24), three + 3);
    EXPECT_EQ(std::vector<BYTE>(three, three + 3), (std::vector<BYTE>{0x0F, 0x40, 0x80}));
    BYTE partial[] = {0x80, 0x00, 0x55};
    EXPECT_EQ(CLogoRaster::MirrorRow(partial, 20), partial + 2) << "width 20 is two bytes";
    EXPECT_EQ(std::vector<BYTE>(partial, partial + 3), (std::vector<BYTE>{0x00, 0x01, 0x55}));
    BYTE none[] = {0x12};
    EXPECT_EQ(CLogoRaster::MirrorRow(none, 7), none);
    EXPECT_EQ(none[0], 0x12);

    for (int value = 0; value < 256; ++value) {
        int reversed = 0;
        for (int bit = 0; bit < 8; ++bit)
            reversed |= ((value >> bit) & 1) << (7 - bit);
        ASSERT_EQ(rasterops::ReverseBits(static_cast<BYTE>(value)), reversed) << value;
    }
}

TEST(RasterMirrorTest, StoredRasterReversalsWorkInPlace)
{
    DocFixture f(16, 5, 16, 5);
    f.doc.Raster().SetPrintRaster(Numbered(10));
    EXPECT_EQ(f.doc.Raster().ReverseRasterImage(), 1);
    EXPECT_EQ(Bytes(f.doc.Raster().GetPrintRaster()), (std::vector<BYTE>{8, 9, 6, 7, 4, 5, 2, 3, 0, 1})) << "row 2 stays";

    f.doc.Raster().SetPrintRaster(CBufferUC(std::vector<BYTE>{0x01, 0x80, 0xF0, 0x0C}.data(), 4));
    f.doc.Binding().SetDotY(2);
    EXPECT_EQ(f.doc.Raster().ReverseRasterRows(), 1);
    EXPECT_EQ(Bytes(f.doc.Raster().GetPrintRaster()), (std::vector<BYTE>{0x01, 0x80, 0x30, 0x0F}));

    f.doc.Binding().SetDotY(50); // a stale printer size on a small raster
    EXPECT_EQ(f.doc.Raster().ReverseRasterImage(), 1);
    EXPECT_EQ(f.doc.Raster().ReverseRasterRows(), 1);
    EXPECT_EQ(f.doc.Raster().GetPrintRaster().GetSize(), 4);
}

TEST(RasterMirrorTest, FlipRowsUpsideDownGivesBmpOrder)
{
    DocFixture f(16, 3, 64, 10);
    const CBufferUC source = Numbered(6);
    EXPECT_EQ(Bytes(f.doc.Raster().FlipRowsUpsideDown(source)), (std::vector<BYTE>{4, 5, 2, 3, 0, 1}));
    EXPECT_EQ(Bytes(source), (std::vector<BYTE>{0, 1, 2, 3, 4, 5})) << "the source is not changed";
    // Width 12: rows at 0, 1 and 3; the gap byte 2 stays where it is.
    DocFixture odd(12, 3, 64, 10);
    EXPECT_EQ(Bytes(odd.doc.Raster().FlipRowsUpsideDown(Numbered(4))), (std::vector<BYTE>{3, 1, 2, 0}));
}

TEST(RasterHeaderTest, HeaderIsTheTemplatePatchedForThePrinterLayout)
{
    DocFixture f(100, 30, 128, 64);
    f.doc.BmpFile().HeaderBuffer() = Filled(120, 0xEE); // as read from an opened file
    testenv::ScriptedUi ui;
    CBufferUC header;
    f.doc.BmpFile().BuildBitmapHeader(header);
    EXPECT_TRUE(ui.Prompts().empty());
    ASSERT_EQ(header.GetSize(), 62);
    EXPECT_EQ(At(header, 0), 'B');
    EXPECT_EQ(At(header, 1), 'M');
    const int bits = 100 * 30 / 8;
    EXPECT_EQ(At(header, 2) | At(header, 3) << 8 | At(header, 4) << 16, bits + 62);
    EXPECT_EQ(At(header, 18) | At(header, 19) << 8, 100);
    EXPECT_EQ(At(header, 22) | At(header, 23) << 8, 30);
    EXPECT_EQ(At(header, 34) | At(header, 35) << 8, bits);
}

} // namespace
