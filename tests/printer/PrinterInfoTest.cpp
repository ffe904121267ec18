// The printer information block: the tag search and the parsed record.
#include "printer/PrinterInfo.h"

#include <gtest/gtest.h>
#include <cstring>

namespace {

QByteArray Words(int a, int b)
{
    QByteArray out;
    out.append(char(a >> 8)).append(char(a & 0xFF)).append(char(b >> 8)).append(char(b & 0xFF));
    return out;
}

QByteArray Text(const char* text)
{
    return QByteArray(text) + QByteArray(1, '\0');
}

// A block as the flash-area printers send it, 128 bytes, zero padded.
QByteArray FullBlock()
{
    QByteArray b;
    b += "PARAM:" + Words(0x8000, 0x807F);
    b += "FONTS:" + Words(0x1000, 0x3FFF);
    b += "LOGOS:" + Words(0xC000, 0xDFFF);
    b += "PROGR:" + Words(0x0100, 0x0FFF);
    b += "VECT.:" + Words(0xFF00, 0xFFFF);
    b += QByteArray("PR-ID:") + char(0x62);
    b += "PRREL:" + Text("1.80");
    b += "PRMOD:" + Text("BDQG");
    b += "PRITF:" + Text("RS232");
    b += "PRFCT:" + Text("F1");
    b.resize(128, '\0');
    return b;
}

} // namespace

TEST(FindInfoTag, FindsTagsAnywhereInTheFirst128BytesIgnoringCase)
{
    EXPECT_EQ(FindInfoTag("PARAM:", QByteArray("PARAM:xxxx")), 6);
    EXPECT_EQ(FindInfoTag("PARAM:", QByteArray("param:")), 6);
    EXPECT_EQ(FindInfoTag("pr-id:", QByteArray("abcPR-ID:")), 9);
    // The byte that breaks a partial match is compared again with the tag's start.
    EXPECT_EQ(FindInfoTag("PARAM:", QByteArray("XPPARAM:")), 8);
    EXPECT_EQ(FindInfoTag("PARAM:", QByteArray("PAPARAM:")), 8);
    // No back-tracking into a partial match: "PPAR" overlaps itself and is missed.
    EXPECT_FALSE(FindInfoTag("PPAR", QByteArray("PPPAR")).has_value());
    EXPECT_FALSE(FindInfoTag("LOGOS:", QByteArray("LOGO:S")).has_value());
    EXPECT_FALSE(FindInfoTag("LOGOS:", QByteArray()).has_value());
    EXPECT_FALSE(FindInfoTag("", QByteArray("LOGOS:")).has_value());
    EXPECT_FALSE(FindInfoTag(nullptr, QByteArray("LOGOS:")).has_value());
}

TEST(FindInfoTag, StopsAfter128Steps)
{
    // Ending exactly at step 128 is found; starting past position 127 is not.
    QByteArray edge(122, 'x');
    edge += "LOGOS:";
    ASSERT_EQ(edge.size(), 128);
    EXPECT_EQ(FindInfoTag("LOGOS:", edge), 128);
    QByteArray late(128, 'x');
    late += "LOGOS:";
    EXPECT_FALSE(FindInfoTag("LOGOS:", late).has_value());
    QByteArray straddling(125, 'x');
    straddling += "LOGOS:";
    EXPECT_FALSE(FindInfoTag("LOGOS:", straddling).has_value());
    // Re-compared bytes count as steps too.
    QByteArray recompared(121, 'x');
    recompared += "LLOGOS:";
    EXPECT_FALSE(FindInfoTag("LOGOS:", recompared).has_value());
}

TEST(ParsePrinterInfo, ReadsEveryFieldOfAFullBlock)
{
    PrinterInfo info;
    ParsePrinterInfo(FullBlock(), info);
    const char* tags[] = {"PARAM:", "FONTS:", "LOGOS:", "PROGR:", "VECT.:",
                          "PR-ID:", "PRREL:", "PRMOD:", "PRITF:", "PRFCT:"};
    for (int i = 0; i < PrinterInfo::kTagCount; ++i)
        EXPECT_STREQ(info.tags[i], tags[i]);
    EXPECT_EQ(info.paramArea[0], 0x8000);
    EXPECT_EQ(info.paramArea[1], 0x807F);
    EXPECT_EQ(info.fontArea[0], 0x1000);
    EXPECT_EQ(info.fontArea[1], 0x3FFF);
    EXPECT_EQ(info.logoArea[0], 0xC000);
    EXPECT_EQ(info.logoArea[1], 0xDFFF);
    EXPECT_EQ(info.programArea[0], 0x0100);
    EXPECT_EQ(info.vectorArea[1], 0xFFFF);
    EXPECT_EQ(info.printerId, 0x62);
    EXPECT_STREQ(info.release, "1.80");
    EXPECT_STREQ(info.model, "BDQG");
    EXPECT_STREQ(info.interfaceText, "RS232");
    EXPECT_STREQ(info.factory, "F1");
}

TEST(ParsePrinterInfo, MissingTagsGiveZerosAndEmptyTexts)
{
    QByteArray block = FullBlock();
    block.replace("PRMOD:", "XXXXX:");
    block.replace("LOGOS:", "XXXXX:");
    PrinterInfo info;
    std::memset(info.model, 'Z', sizeof(info.model) - 1); // stale text must go
    info.logoArea[0] = 7;
    ParsePrinterInfo(block, info);
    EXPECT_STREQ(info.model, "");
    EXPECT_EQ(info.logoArea[0], 0);
    EXPECT_EQ(info.logoArea[1], 0);
    EXPECT_STREQ(info.release, "1.80");
    EXPECT_STREQ(info.interfaceText, "RS232");
    EXPECT_EQ(info.fontArea[0], 0x1000);

    PrinterInfo empty;
    ParsePrinterInfo(QByteArray(), empty);
    EXPECT_STREQ(empty.tags[9], "PRFCT:");
    EXPECT_EQ(empty.printerId, 0);
    EXPECT_STREQ(empty.factory, "");
}

TEST(ParsePrinterInfo, TextsAreBoundedByTheirFieldAndTheBlock)
{
    // An unterminated text longer than its field is cut at the field's size.
    QByteArray block = "PRREL:" + QByteArray(60, 'R');
    PrinterInfo info;
    ParsePrinterInfo(block, info);
    EXPECT_EQ(std::strlen(info.release), size_t(PrinterInfo::kTextSize - 1));
    // A tag at the very end of what arrived reads no bytes past it.
    PrinterInfo tail;
    ParsePrinterInfo(QByteArray("LOGOS:\x12", 7), tail);
    EXPECT_EQ(tail.logoArea[0], 0x1200);
    EXPECT_EQ(tail.logoArea[1], 0);
    ParsePrinterInfo(QByteArray("PRFCT:ABC"), tail);
    EXPECT_STREQ(tail.factory, "ABC");
}
