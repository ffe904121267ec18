// The flash-area protocol's block-reply decoder and the logo area it reads
// from the information block, on any bytes: a run of 3-byte replies decoded
// one after the other, checked against the protocol's table (0xAA accepted,
// 0x99 checksum error, 0x88 serious error, 0xBB complete, anything else
// unknown) and the consecutive checksum-error count kept beside it.
#include "FuzzSupport.h"

#include "components/PrinterProtocol.h"
#include "transfer/AreaFrames.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::SilenceQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using areaproto::ReplyStatus;
    int errors = 0, expectedErrors = 0;
    for (size_t at = 0; at + 3 <= size; at += 3) {
        // A copy of exactly three bytes: the decoder must read no more.
        const std::unique_ptr<BYTE[]> reply(new BYTE[3]{data[at], data[at + 1], data[at + 2]});
        const areaproto::CBlockReply decoded = areaproto::ParseBlockReply(reply.get(), errors);
        const WORD address = static_cast<WORD>(data[at + 1] << 8 | data[at + 2]);
        FUZZ_CHECK(decoded.statusByte == data[at]);
        switch (data[at]) {
        case 0xAA:
            FUZZ_CHECK(decoded.status == ReplyStatus::Accepted && decoded.next == address);
            expectedErrors = 0;
            break;
        case 0x99:
            FUZZ_CHECK(decoded.status == ReplyStatus::ChecksumError && decoded.next == address);
            ++expectedErrors;
            break;
        case 0x88:
            FUZZ_CHECK(decoded.status == ReplyStatus::SeriousError && decoded.next == address);
            break;
        case 0xBB:
            FUZZ_CHECK(decoded.status == ReplyStatus::Complete && decoded.next == 0);
            expectedErrors = 0;
            break;
        default:
            FUZZ_CHECK(decoded.status == ReplyStatus::Unknown && decoded.next == 0);
            expectedErrors = 0;
            break;
        }
        FUZZ_CHECK(errors == expectedErrors);
    }

    // The same bytes as an information block: an area named is a real one.
    const QByteArray block = fuzzsupport::Bytes(data, size);
    if (const std::optional<areaproto::CArea> area = areaproto::LogoAreaOf(block)) {
        FUZZ_CHECK(area->first != 0 && area->last >= area->first);
        FUZZ_CHECK(areaproto::AreaSteps({*area}) == (area->last - area->first + 1) / prnproto::kAreaBlockData);
    }
    return 0;
}
