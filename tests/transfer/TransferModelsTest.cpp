// The models the transfer treats apart: the rate rule each model meets first,
// the protocol family, the command name, the block size and what a completed
// generic transfer leaves behind.
#include "transfer/BlockPlan.h"
#include "transfer/TransferModels.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using Rule = SerialRateRule;

} // namespace

TEST(TransferModelsTest, FirstMatchingRateRuleWins)
{
    const std::pair<const char*, Rule> cases[] = {
        {"MZVZV", Rule::HighSpeedKeepRam},      {"MZVZVQZVJ", Rule::HighSpeedKeepRam},
        {"XNZ11", Rule::HighSpeedGsiCheck},     {"BDQGMLW", Rule::HighSpeedGsiCheck},
        {"FD716", Rule::HighSpeedGsiCheck},     {"QVGDCMR", Rule::HighSpeedGsiCheck},
        {"JMQ9534", Rule::KeepDetectedKeepRam}, {"VD8", Rule::KeepDetectedKeepRam},
        {"GVF-Z", Rule::FiscalDialog},          {"DN60-HNLN", Rule::FiscalDialog},
        {"DVW85", Rule::KeepDetected},          {"CX925", Rule::KeepDetected},
        {"WGJ33", Rule::Wgj33Release},          {"MZVZVRXH", Rule::Rxh38400},
        {"QNND", Rule::Default},                {"mzvzv", Rule::Default},
        {"DVW85HV", Rule::Default},             {"GB685", Rule::Default},
    };
    for (const auto& [model, rule] : cases)
        EXPECT_EQ(SerialRateRuleOf(model), rule) << model;

    EXPECT_TRUE(ChecksSoftwareReleaseModel("XNZ11"));
    EXPECT_FALSE(ChecksSoftwareReleaseModel("XNZ11BL"));
    for (const char* model : {"BMRW2133", "NDVNGF", "XNZ115JDD"})
        EXPECT_TRUE(SkipsFeedAfterDetectionModel(model)) << model;
    EXPECT_FALSE(SkipsFeedAfterDetectionModel("XNZ11"));
    EXPECT_TRUE(WaitsBeforeLogoCommandModel("XNZ11BL"));
    EXPECT_FALSE(WaitsBeforeLogoCommandModel("XNZ115JDD"));
}

TEST(TransferModelsTest, ProtocolFamilyByFirstFiveCharactersIgnoringCase)
{
    const std::pair<const char*, SerialProtocol> cases[] = {
        {"BDQG", SerialProtocol::FlashArea},       {"bdqg", SerialProtocol::FlashArea},
        {"HVCZL98C", SerialProtocol::FlashArea},   {"hvczlfl", SerialProtocol::FlashArea},
        {"LR52-22", SerialProtocol::EchoedBytes},  {"LB36", SerialProtocol::EchoedBytes},
        {"FQ054-07", SerialProtocol::FixedArea},   {"MQQM5A", SerialProtocol::None},
        // A four-character family takes only that very name: these are generic.
        {"BDQGMLW", SerialProtocol::Generic},      {"LB361", SerialProtocol::Generic},
        {"WGJ33", SerialProtocol::Generic},        {"", SerialProtocol::Generic},
    };
    for (const auto& [model, protocol] : cases)
        EXPECT_EQ(SerialProtocolOf(model), protocol) << model;
}

TEST(TransferModelsTest, CommandNameCarriesTheSlotCharacterOnTheListedAndFiscalModels)
{
    EXPECT_EQ(SerialTransferCommandName("VXCC5007", 3), "CmdTxLogo3");
    EXPECT_EQ(SerialTransferCommandName("BDQGMLW", 1), "CmdTxLogo1");
    EXPECT_EQ(SerialTransferCommandName("MLQDGGQF", 2), "CmdTxLogo2");
    EXPECT_EQ(SerialTransferCommandName("GB6853RJ", 10), "CmdTxLogo:"); // character 48 + 10
    EXPECT_EQ(SerialTransferCommandName("WGJ33", 3), "CmdTxLogo");
    EXPECT_EQ(SerialTransferCommandName("vxcc5007", 3), "CmdTxLogo");

    // One rule on every port: the parallel and USB names once differed from slot 10 on.
    const std::tuple<const char*, const char*, int, const char*> ports[] = {
        {"LPT1", "QVGDCMR", 2, "CmdTxLogo2"},   {"LPT1", "J4", 10, "CmdTxLogo:"},
        {"LPT1", "WGJ33", 10, "CmdTxLogo"},     {"USB001", "J4", 10, "CmdTxLogo:"},
        {"USB001", "VD8", 1, "CmdTxLogo1"},     {"COM1", "GB6853RJ", 10, "CmdTxLogo:"},
    };
    for (const auto& [port, model, slot, name] : ports)
        EXPECT_EQ(TransferCommandName(port, model, slot), name) << port << " " << model << " " << slot;
}

TEST(TransferModelsTest, BitmapModelsTakeSmallerBlocksAndNoAfterStep)
{
    for (const char* model : {"JMQ9534", "BDQGMLW", "VD8"}) {
        EXPECT_EQ(SerialBlockSize(model), 1536) << model;
        EXPECT_TRUE(StoresLogoWithTransferCommand(model)) << model;
        EXPECT_TRUE(UsesUsbPrintData(model)) << model;
    }
    for (const char* model : {"DVW85", "WGJ33", "jmq9534", "BDQG"}) {
        EXPECT_EQ(SerialBlockSize(model), 2048) << model;
        EXPECT_FALSE(StoresLogoWithTransferCommand(model)) << model;
        EXPECT_FALSE(UsesUsbPrintData(model)) << model;
    }
    EXPECT_TRUE(SendsBitmapStream("JMQ9534"));
    EXPECT_TRUE(SendsBitmapStream("BDQGMLW"));
    EXPECT_FALSE(SendsBitmapStream("VD8"));
}

TEST(TransferModelsTest, WhatAGenericTransferLeavesBehind)
{
    const CAfterGenericTransfer flashStepSends{false, std::nullopt, false};
    const CAfterGenericTransfer alreadyInFlash{true, std::nullopt, false};
    const CAfterGenericTransfer inRam{std::nullopt, true, false};
    const CAfterGenericTransfer notInRam{std::nullopt, false, false};
    const CAfterGenericTransfer storedWithBox{std::nullopt, true, true};
    const std::pair<const char*, CAfterGenericTransfer> cases[] = {
        {"QVGDCMR", flashStepSends}, {"XNZ115JDD", flashStepSends}, {"CDGQ-CC", flashStepSends},
        {"VXCC5007", alreadyInFlash}, {"XNZ11BL", alreadyInFlash}, {"BD9397", alreadyInFlash},
        {"GB6853RJ", inRam},          {"WGJ33", inRam},            {"hgn065", inRam},
        {"HGN065", notInRam},         {"GF22", notInRam},          {"VZ746", notInRam},
        {"JMQ9534", storedWithBox},   {"BDQGMLW", storedWithBox},  {"VD8", storedWithBox},
    };
    for (const auto& [model, after] : cases)
        EXPECT_EQ(AfterGenericTransfer(model), after) << model;
}

TEST(TransferModelsTest, ParallelAndUsbBlocks)
{
    // A 44-byte stream on a block model is three 22-byte blocks, the third
    // wholly past the stream; any other model writes byte by byte.
    EXPECT_EQ(ParallelBlockCount(44, IsParallelBlockModel("QVGDCMR")), 3);
    EXPECT_EQ(ParallelBlockCount(45, IsParallelBlockModel("J4")), 3);
    EXPECT_EQ(ParallelBlockCount(100, IsParallelBlockModel("QNND")), 100);
    EXPECT_EQ(ParallelBlockCount(0, true), 0);
    EXPECT_FALSE(IsParallelBlockModel("qvgdcmr"));
    EXPECT_EQ(ParallelResetWaitMs("FFH107"), 35000);
    EXPECT_EQ(ParallelResetWaitMs("MZVZV"), 8000);
    EXPECT_TRUE(TakesParallelArea("BDQG"));
    EXPECT_FALSE(TakesParallelArea("BDQGMLW"));

    // 3072 bytes on VD8: two blocks of 1536 and no last one.
    const CBlockPlan vd8 = PlanBlocks(3072, UsbBlockSize("VD8"), 0);
    EXPECT_EQ(vd8.fullBlocks, 2);
    EXPECT_EQ(vd8.steps, 2);
    EXPECT_FALSE(vd8.HasLastBlock());
    EXPECT_EQ(UsbBlockSize("J4"), 2048);
    EXPECT_EQ(UsbBlockSize("BDQGMLW"), 1536);
    EXPECT_TRUE(IsUsbTransferModel("J4"));
    EXPECT_FALSE(IsUsbTransferModel("JMQ9534"));
    EXPECT_TRUE(UsbStreamIsBitmap("VD8"));
    EXPECT_FALSE(UsbStreamIsBitmap("J4"));
}
