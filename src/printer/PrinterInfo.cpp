#include "printer/PrinterInfo.h"

#include <QChar>
#include <cstring>

namespace {

constexpr const char* kTagTexts[PrinterInfo::kTagCount] = {
    "PARAM:", "FONTS:", "LOGOS:", "PROGR:", "VECT.:", "PR-ID:", "PRREL:", "PRMOD:", "PRITF:", "PRFCT:"};

char Upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// A byte of the block, zero past its end, so a tag near the end cannot read
// beyond what arrived.
BYTE ByteAt(const QByteArray& block, qsizetype pos)
{
    return pos >= 0 && pos < block.size() ? static_cast<BYTE>(block.at(pos)) : 0;
}

WORD WordAt(const QByteArray& block, qsizetype pos)
{
    return static_cast<WORD>(ByteAt(block, pos) * 256 + ByteAt(block, pos + 1));
}

void ReadArea(const QByteArray& block, const char* tag, WORD (&area)[2])
{
    const std::optional<int> pos = FindInfoTag(tag, block);
    area[0] = pos ? WordAt(block, *pos) : 0;
    area[1] = pos ? WordAt(block, *pos + 2) : 0;
}

template <size_t N>
void ReadText(const QByteArray& block, const char* tag, char (&field)[N])
{
    std::memset(field, 0, N);
    const std::optional<int> pos = FindInfoTag(tag, block);
    if (!pos)
        return;
    for (size_t i = 0; i + 1 < N; ++i) {
        const BYTE c = ByteAt(block, *pos + static_cast<qsizetype>(i));
        if (c == 0)
            break;
        field[i] = static_cast<char>(c);
    }
}

} // namespace

std::optional<int> FindInfoTag(const char* tag, const QByteArray& block)
{
    if (!tag || !*tag)
        return std::nullopt;
    const qsizetype tagLength = static_cast<qsizetype>(std::strlen(tag));
    qsizetype tagPos = 0;
    bool partial = false;
    qsizetype pos = 0;
    for (int step = 0; step < kInfoTagSearchSteps && pos < block.size(); ++step) {
        if (Upper(block.at(pos)) == Upper(tag[tagPos])) {
            ++tagPos;
            partial = true;
            if (tagPos == tagLength)
                return static_cast<int>(pos + 1);
        } else {
            if (partial)
                --pos; // the breaking byte may start the tag: look at it again
            tagPos = 0;
            partial = false;
        }
        ++pos;
    }
    return std::nullopt;
}

void ParsePrinterInfo(const QByteArray& block, PrinterInfo& info)
{
    for (int i = 0; i < PrinterInfo::kTagCount; ++i) {
        std::memset(info.tags[i], 0, PrinterInfo::kTagSize);
        std::strncpy(info.tags[i], kTagTexts[i], PrinterInfo::kTagSize - 1);
    }
    ReadArea(block, "PARAM:", info.paramArea);
    ReadArea(block, "FONTS:", info.fontArea);
    ReadArea(block, "LOGOS:", info.logoArea);
    ReadArea(block, "PROGR:", info.programArea);
    ReadArea(block, "VECT.:", info.vectorArea);
    const std::optional<int> id = FindInfoTag("PR-ID:", block);
    info.printerId = id ? ByteAt(block, *id) : 0;
    ReadText(block, "PRREL:", info.release);
    ReadText(block, "PRMOD:", info.model);
    ReadText(block, "PRITF:", info.interfaceText);
    ReadText(block, "PRFCT:", info.factory);
}
