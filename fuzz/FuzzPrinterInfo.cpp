// The printer information block as a printer sends it (any bytes, any
// length): the tag search and the parser. A tag found ends inside the first
// 128 bytes and is really there; areas and texts never come from past the
// block's end, texts stay inside their fields and end with a zero byte.
#include "FuzzSupport.h"

#include "printer/PrinterInfo.h"

#include <cstring>

namespace {

const char* const kTags[] = {"PARAM:", "FONTS:", "LOGOS:", "PROGR:", "VECT.:",
                             "PR-ID:", "PRREL:", "PRMOD:", "PRITF:", "PRFCT:"};

char Upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

void CheckFound(const char* tag, const QByteArray& block)
{
    const std::optional<int> pos = FindInfoTag(tag, block);
    if (!pos)
        return;
    const int length = static_cast<int>(std::strlen(tag));
    FUZZ_CHECK(*pos >= length && *pos <= kInfoTagSearchSteps && *pos <= block.size());
    for (int i = 0; i < length; ++i)
        FUZZ_CHECK(Upper(block.at(*pos - length + i)) == Upper(tag[i]));
}

template <size_t N>
void CheckText(const char (&field)[N])
{
    FUZZ_CHECK(field[N - 1] == '\0');
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::SilenceQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The first byte picks a tag of the fuzzer's own (up to 8 bytes, for the
    // search itself); the rest is the block.
    if (size == 0)
        return 0;
    const size_t tagLength = std::min<size_t>(data[0] % 9, size - 1);
    const std::string ownTag(reinterpret_cast<const char*>(data + 1), tagLength);
    const QByteArray block = fuzzsupport::Bytes(data + 1 + tagLength, size - 1 - tagLength);

    if (ownTag.find('\0') == std::string::npos)
        CheckFound(ownTag.c_str(), block);
    for (const char* tag : kTags)
        CheckFound(tag, block);

    PrinterInfo info;
    std::memset(&info, 0x5A, sizeof info); // nothing of an earlier block may remain
    ParsePrinterInfo(block, info);
    for (int i = 0; i < PrinterInfo::kTagCount; ++i)
        FUZZ_CHECK(std::strcmp(info.tags[i], kTags[i]) == 0);
    CheckText(info.release);
    CheckText(info.model);
    CheckText(info.interfaceText);
    CheckText(info.factory);
    // A tag that is not there leaves its area zero.
    if (!FindInfoTag("LOGOS:", block))
        FUZZ_CHECK(info.logoArea[0] == 0 && info.logoArea[1] == 0);
    if (!FindInfoTag("PR-ID:", block))
        FUZZ_CHECK(info.printerId == 0);
    return 0;
}
