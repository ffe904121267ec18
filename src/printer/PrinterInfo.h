#pragma once
// The printer information block that printers of the flash-area families
// keep at a fixed address: tagged areas, the identification byte and a few
// texts. Read by the flash-area transfer to find the printer's logo area.
#include "platform/WinTypes.h"

#include <QByteArray>
#include <optional>

struct PrinterInfo {
    static constexpr int kTagCount = 10;
    static constexpr int kTagSize = 9;
    static constexpr int kTextSize = 25;
    // Large enough for any text that fits a 128-byte block.
    static constexpr int kFactorySize = 129;

    char tags[kTagCount][kTagSize] = {};
    WORD paramArea[2] = {};
    WORD fontArea[2] = {};
    WORD logoArea[2] = {};    // first and last address of the logo area
    WORD programArea[2] = {};
    WORD vectorArea[2] = {};
    BYTE printerId = 0;
    char release[kTextSize] = {};
    char model[kTextSize] = {};
    char interfaceText[kTextSize] = {};
    char factory[kFactorySize] = {};
};

// Tags are searched in the block's first bytes only.
constexpr int kInfoTagSearchSteps = 128;

// The position just after the first occurrence of tag (compared ignoring
// case) within the first kInfoTagSearchSteps bytes of block; none when it
// does not end there. A plain restart search: after a partial match the
// byte that broke it is compared again with the tag's first character.
std::optional<int> FindInfoTag(const char* tag, const QByteArray& block);

// Fills info from block. Areas are two big-endian words after their tag, the
// id the byte after "PR-ID:", texts end at a zero byte, the block's end or
// their field's size. A missing tag leaves zeros or an empty text; values
// that would lie past the block's end count as zero bytes.
void ParsePrinterInfo(const QByteArray& block, PrinterInfo& info);
