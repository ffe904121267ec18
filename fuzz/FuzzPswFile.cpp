// The upgrade-file component on any file: Init either refuses it or holds a
// logo table whose every slot lies inside the file, none overlapping another,
// each large enough for its logo; reading a slot by its record then stays
// inside the file, and descrambling it and scrambling it again gives back the
// stored bytes. The key the scrambler reads is the header's.
#include "FuzzSupport.h"

#include "components/PswFile.h"

#include <algorithm>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::SilenceQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = fuzzsupport::WriteScratchFile(QStringLiteral("upgrade.psw"), fuzzsupport::Bytes(data, size));
    CHeaderPsw header(nullptr);
    if (!header.Init(path)) {
        FUZZ_CHECK(header.GetNumLoghi() == 0);
        return 0;
    }
    FUZZ_CHECK(header.GetFileSize() == static_cast<qint64>(size));
    FUZZ_CHECK(header.GetNumSlots() == data[37]);
    FUZZ_CHECK(header.GetLogoAreaOffset() <= size);

    CCrittoPswFile scrambler(nullptr, path);
    FUZZ_CHECK(scrambler.InitCCrittoPswFile(path));
    BYTE key = 0;
    FUZZ_CHECK(scrambler.GetScrByteFromPswFile(&key) && key == header.GetKeyByte());

    std::vector<std::pair<qint64, qint64>> spans;
    for (int i = 0; i < header.GetNumLoghi(); ++i) {
        const _headerLoghi record = header.GetIesimLogoStruct(i);
        const int width = PswSlotWidth(record), height = PswSlotHeight(record);
        const DWORD capacity = PswSlotCapacity(record);
        FUZZ_CHECK(width > 0 && height > 0 && width % 8 == 0);
        FUZZ_CHECK(capacity == header.GetSlotCapacity(i));
        FUZZ_CHECK(qint64(capacity) >= qint64(width) * height / 8);
        const qint64 begin = qint64(header.GetLogoAreaOffset()) + PswSlotOffset(record);
        FUZZ_CHECK(begin + capacity <= qint64(size));
        spans.emplace_back(begin, begin + capacity);

        // The slot as a reader takes it: a copy of exactly its bytes.
        std::vector<BYTE> slot(data + begin, data + begin + capacity);
        FUZZ_CHECK(scrambler.DeCrittoBufferFromPswFile(slot.data(), PswSlotOffset(record), capacity, key));
        FUZZ_CHECK(scrambler.CrittoBufferFromPswFile(slot.data(), PswSlotOffset(record), capacity, key));
        FUZZ_CHECK(std::equal(slot.begin(), slot.end(), data + begin));
    }
    std::sort(spans.begin(), spans.end());
    for (size_t i = 1; i < spans.size(); ++i)
        FUZZ_CHECK(spans[i].first >= spans[i - 1].second);
    // A slot the table does not have reads as empty.
    FUZZ_CHECK(header.GetSlotCapacity(header.GetNumLoghi()) == 0 && header.GetSlotCapacity(-1) == 0);
    return 0;
}
