// The flash-area frames and replies against the byte tables of the protocol:
// address frames with their checksum, 129-byte data blocks, the block reply
// and its consecutive-error count, the logo area of an information block.
#include "transfer/AreaFrames.h"

#include <gtest/gtest.h>

#include <vector>

using namespace areaproto;
using Bytes = std::vector<BYTE>;

TEST(AreaFrames, AddressFramesCarryTheirChecksum)
{
    EXPECT_EQ(AddressFrame({0x8000, 0x807F}, true), (Bytes{0x1B, 0xFF, 0x80, 0x00, 0x80, 0x7F, 0xFF, 0x98}));
    EXPECT_EQ(AddressFrame({0x0480, 0x04FF}, true), (Bytes{0x1B, 0xFF, 0x04, 0x80, 0x04, 0xFF, 0xFF, 0xA0}));
    // 1B + FF + C0 + CF + FF = 0x3A8.
    EXPECT_EQ(AddressFrame({0xC000, 0xCFFF}, false), (Bytes{0x1B, 0xFF, 0xC0, 0x00, 0xCF, 0xFF, 0x00, 0xA8}));
    EXPECT_EQ(AreaSteps({{0xC000, 0xCFFF}}), 32);
    EXPECT_EQ(AreaSteps({{0xC000, 0xC0FE}}), 1) << "a part of a block is no step";
}

TEST(AreaFrames, DataBlocksTakeTheRasterAtTheirAddressAndBlanksPastIt)
{
    // 160 raster bytes 0x01 from address 0xC000; the block at 0xC080 holds
    // 32 of them, then 96 blank bytes.
    const Bytes rasterBytes(160, 0x01);
    const CBufferUC raster(rasterBytes.data(), static_cast<int>(rasterBytes.size()));
    Bytes expected(32, 0x01);
    expected.insert(expected.end(), 96, 0x00);
    expected.push_back(0x20);
    EXPECT_EQ(DataBlock(raster, 0xC000, 0xC080, 0x00), expected);

    Bytes white(32, 0x01);
    white.insert(white.end(), 96, 0xFF);
    white.push_back(0xC0); // 32 + 96 * 0xFF = 0x5FC0
    EXPECT_EQ(DataBlock(raster, 0xC000, 0xC080, 0xFF), white);

    Bytes first(128, 0x01);
    first.push_back(0x80);
    EXPECT_EQ(DataBlock(raster, 0xC000, 0xC000, 0x00), first);
    EXPECT_EQ(DataBlock(raster, 0xC000, 0xD000, 0x00), Bytes(129, 0x00)) << "wholly past the raster";
}

TEST(AreaFrames, BlockRepliesNameTheNextAddressAndCountChecksumErrorsInARow)
{
    int errors = 0;
    const BYTE accepted[3] = {0xAA, 0xC0, 0x80};
    const BYTE checksum[3] = {0x99, 0xC0, 0x80};
    const BYTE serious[3] = {0x88, 0xC1, 0x00};
    const BYTE complete[3] = {0xBB, 0x12, 0x34};
    const BYTE unknown[3] = {0x77, 0xC0, 0x80};

    CBlockReply r = ParseBlockReply(accepted, errors);
    EXPECT_EQ(r.status, ReplyStatus::Accepted);
    EXPECT_EQ(r.next, 0xC080);
    ParseBlockReply(checksum, errors);
    r = ParseBlockReply(checksum, errors);
    EXPECT_EQ(r.status, ReplyStatus::ChecksumError);
    EXPECT_EQ(r.next, 0xC080);
    EXPECT_EQ(errors, 2);
    r = ParseBlockReply(serious, errors);
    EXPECT_EQ(r.status, ReplyStatus::SeriousError);
    EXPECT_EQ(r.next, 0xC100);
    EXPECT_EQ(errors, 2) << "0x88 leaves the count";
    ParseBlockReply(accepted, errors);
    EXPECT_EQ(errors, 0) << "0xAA starts it again";

    errors = 3;
    r = ParseBlockReply(complete, errors);
    EXPECT_EQ(r.status, ReplyStatus::Complete);
    EXPECT_EQ(r.next, 0) << "the area is complete whatever address follows";
    EXPECT_EQ(errors, 0);
    errors = 3;
    r = ParseBlockReply(unknown, errors);
    EXPECT_EQ(r.status, ReplyStatus::Unknown);
    EXPECT_EQ(r.statusByte, 0x77);
    EXPECT_EQ(r.next, 0);
    EXPECT_EQ(errors, 0);
}

TEST(AreaFrames, TheLogoAreaComesFromTheInformationBlock)
{
    QByteArray block(128, '\0');
    const QByteArray tagged = QByteArray("PARAM:\x01\x00\x01\xFF", 10) + QByteArray("LOGOS:\xC0\x00\xCF\xFF", 10);
    block.replace(0, tagged.size(), tagged);
    const std::optional<CArea> area = LogoAreaOf(block);
    ASSERT_TRUE(area.has_value());
    EXPECT_EQ(area->first, 0xC000);
    EXPECT_EQ(area->last, 0xCFFF);

    EXPECT_FALSE(LogoAreaOf(QByteArray(128, '\0')).has_value()) << "no LOGOS: tag";
    QByteArray backwards(128, '\0');
    backwards.replace(0, 10, QByteArray("LOGOS:\xC0\x00\xB0\x00", 10));
    EXPECT_FALSE(LogoAreaOf(backwards).has_value()) << "last before first";
}
