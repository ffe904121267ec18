// The generic serial stream and its blocks, against byte vectors written out
// by hand from the stream layout: command, optional BMP header, raster.
#include "transfer/BlockPlan.h"
#include "transfer/LogoStream.h"
#include "transfer/TransferModels.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<BYTE>;

CBufferUC Buffer(const Bytes& bytes)
{
    return CBufferUC(bytes.data(), static_cast<int>(bytes.size()));
}

Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

const Bytes kCommand = {0x1B, 0x4C, 0x00, 0x10, 0x00, 0x02, 0x00};

// A 16 x 2 logo: row 0 black on its left half, row 1 black on every even dot.
// Packed (bit 1 = white) that is 00 FF / 55 55.
QImage SmallLogo()
{
    QImage image(16, 2, QImage::Format_RGB32);
    for (int x = 0; x < 16; ++x) {
        image.setPixel(x, 0, x < 8 ? 0xFF000000 : 0xFFFFFFFF);
        image.setPixel(x, 1, x % 2 == 0 ? 0xFF000000 : 0xFFFFFFFF);
    }
    return image;
}

Bytes Stream(const QString& model, const CLogoGeometry& g, const CRasterShaping& shaping,
             bool reverseColor, const Bytes& header = {})
{
    const CBufferUC raster = PreparePrinterRaster(SmallLogo(), g, shaping, {});
    const CSerialStream stream = BuildSerialStream(
        {model, Buffer(kCommand), Buffer(header), raster, reverseColor, g.dotX, g.dotY});
    EXPECT_EQ(stream.bytes.GetSize(), stream.length + stream.tailBytes);
    return stream.bytes.Bytes();
}

constexpr CLogoGeometry kFullArea{16, 2, 16, 2};

} // namespace

TEST(SerialStreamTest, PlainModelSendsTheComplementedRasterAsTheOptionsShapeIt)
{
    const QString model = QStringLiteral("WGJ33");
    EXPECT_EQ(Stream(model, kFullArea, {}, false), Concat({kCommand, {0xFF, 0x00, 0xAA, 0xAA}}));
    EXPECT_EQ(Stream(model, kFullArea, {}, true), Concat({kCommand, {0x00, 0xFF, 0x55, 0x55}}));
    // Reverse Image swaps the rows; Reverse Row mirrors each (bytes swapped, bits reversed).
    EXPECT_EQ(Stream(model, kFullArea, {true, false, {}}, false),
              Concat({kCommand, {0xAA, 0xAA, 0xFF, 0x00}}));
    EXPECT_EQ(Stream(model, kFullArea, {false, true, {}}, false),
              Concat({kCommand, {0x00, 0xFF, 0x55, 0x55}}));
    EXPECT_EQ(Stream(model, kFullArea, {true, true, {}}, false),
              Concat({kCommand, {0x55, 0x55, 0x00, 0xFF}}));
}

TEST(SerialStreamTest, SmallLogoIsCentredAndFramedOnALargerPrinter)
{
    // 32 x 8 area: 4 bytes a row; the logo lands at byte 1 of rows 3 and 4.
    // The thin frame blackens rows 0, 1, 6, 7 and puts 3F .. FC at the ends
    // of the others; complemented for the printer.
    const Bytes expected = Concat({kCommand,
                                   {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                    0xC0, 0x00, 0x00, 0x03, 0xC0, 0xFF, 0x00, 0x03,
                                    0xC0, 0xAA, 0xAA, 0x03, 0xC0, 0x00, 0x00, 0x03,
                                    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}});
    EXPECT_EQ(Stream("WGJ33", {16, 2, 32, 8}, {false, false, rasterops::FrameKind::Thin}, false),
              expected);
}

TEST(SerialStreamTest, BitmapModelsSendHeaderThenBottomUpRowsUncomplemented)
{
    Bytes header(62, 0x11);
    header[0] = 'B';
    header[1] = 'M';
    // The header as sent gives the 16 x 2 area: file size 66, width 16,
    // height 2, image size 4 (16-bit fields, as the printers read them).
    Bytes sent = header;
    for (const auto& [at, value] : {std::pair{2, 66}, {3, 0}, {4, 0}, {5, 0}, {18, 16}, {19, 0}, {22, 2}, {23, 0},
                                    {34, 4}, {35, 0}})
        sent[static_cast<size_t>(at)] = static_cast<BYTE>(value);
    for (const char* model : {"BDQGMLW", "JMQ9534"})
        for (const bool reverseColor : {false, true})
            EXPECT_EQ(Stream(model, kFullArea, {}, reverseColor, header),
                      Concat({kCommand, sent, {0x55, 0x55, 0x00, 0xFF}}))
                << model << " reverse colour " << reverseColor;
    // VD8 stores the logo with the command too, but takes the plain raster on a serial line.
    EXPECT_EQ(Stream("VD8", kFullArea, {}, false, header), Concat({kCommand, {0xFF, 0x00, 0xAA, 0xAA}}));
}

TEST(SerialStreamTest, TailRoomFollowsTheDataOnTheFourTailModels)
{
    const Bytes data = Concat({kCommand, {0xFF, 0x00, 0xAA, 0xAA}});
    for (const auto& [model, tail] : {std::pair{"DVW85", 32}, {"BJL153", 56}, {"QXB978", 56}, {"CV292", 16},
                                      {"DVW85HV", 0}, {"WGJ33", 0}}) {
        Bytes expected = data;
        expected.resize(data.size() + tail, 0x00);
        EXPECT_EQ(Stream(model, kFullArea, {}, false), expected) << model;
    }
}

TEST(BlockPlanTest, ShortStreamIsOneWriteOfItselfPlusTheTail)
{
    const CBufferUC raster(4, 0xFF);
    const CSerialStream stream = BuildSerialStream({"DVW85", Buffer(kCommand), {}, raster, false, 16, 2});
    const CBlockPlan plan = PlanBlocks(stream.length, SerialBlockSize("DVW85"), stream.tailBytes);
    EXPECT_EQ(plan.fullBlocks, 0);
    EXPECT_EQ(plan.steps, 1);
    EXPECT_EQ(plan.LastBlockOffset(), 0);
    EXPECT_EQ(plan.lastBlockLength, 11 + 32);
    EXPECT_EQ(stream.bytes.GetSize(), 43); // the tail lies inside the stream's buffer

    const CBlockPlan plain = PlanBlocks(11, SerialBlockSize("WGJ33"), 0);
    EXPECT_EQ(plain.steps, 1);
    EXPECT_EQ(plain.lastBlockLength, 11);
}

TEST(BlockPlanTest, StreamEndingOnABlockBoundaryHasNoLastBlockAndNoTail)
{
    // 7 command bytes + 4089 raster bytes = 4096 = 2 x 2048.
    const CSerialStream stream = BuildSerialStream(
        {"DVW85", Buffer(kCommand), {}, CBufferUC(4089, 0xFF), false, 8, 4089});
    ASSERT_EQ(stream.length, 4096);
    const CBlockPlan plan = PlanBlocks(stream.length, SerialBlockSize("DVW85"), stream.tailBytes);
    EXPECT_EQ(plan.blockSize, 2048);
    EXPECT_EQ(plan.fullBlocks, 2);
    EXPECT_EQ(plan.steps, 2);
    EXPECT_FALSE(plan.HasLastBlock());
}

TEST(BlockPlanTest, BitmapModelCutsIn1536ByteBlocks)
{
    // 7 + 62 + 64 x 200 / 8 = 1669 bytes: one full block and 133 bytes.
    const CSerialStream stream = BuildSerialStream(
        {"BDQGMLW", Buffer(kCommand), CBufferUC(62, 0x42), CBufferUC(1600, 0xFF), false, 64, 200});
    const CBlockPlan plan = PlanBlocks(stream.length, SerialBlockSize("BDQGMLW"), stream.tailBytes);
    EXPECT_EQ(plan.blockSize, 1536);
    EXPECT_EQ(plan.fullBlocks, 1);
    EXPECT_EQ(plan.steps, 2);
    EXPECT_EQ(plan.LastBlockOffset(), 1536);
    EXPECT_EQ(plan.lastBlockLength, 133);
}

TEST(BlockPlanTest, TailRidesOnlyOnAPartialLastBlock)
{
    const CBlockPlan plan = PlanBlocks(2 * 2048 + 1, 2048, 56);
    EXPECT_EQ(plan.steps, 3);
    EXPECT_EQ(plan.LastBlockOffset(), 4096);
    EXPECT_EQ(plan.lastBlockLength, 57);
    EXPECT_EQ(PlanBlocks(0, 2048, 56).steps, 0);
}
