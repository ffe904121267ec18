#include "transfer/AreaFrames.h"

#include "components/PrinterProtocol.h"
#include "printer/PrinterInfo.h"

namespace areaproto {

std::vector<BYTE> AddressFrame(const CArea& area, bool read)
{
    std::vector<BYTE> frame{prnproto::kAreaFrameEsc,
                            prnproto::kAreaFrameMark,
                            static_cast<BYTE>(area.first >> 8),
                            static_cast<BYTE>(area.first & 0xFF),
                            static_cast<BYTE>(area.last >> 8),
                            static_cast<BYTE>(area.last & 0xFF),
                            read ? prnproto::kAreaRead : prnproto::kAreaWrite};
    frame.push_back(prnproto::Checksum(frame.data(), static_cast<int>(frame.size())));
    return frame;
}

std::vector<BYTE> DataBlock(const CBufferUC& raster, WORD rasterFirst, WORD address, BYTE blank)
{
    std::vector<BYTE> block(prnproto::kAreaBlockSize, blank);
    const long start = static_cast<long>(address) - rasterFirst;
    for (int i = 0; i < prnproto::kAreaBlockData; ++i) {
        const long index = start + i;
        if (index >= 0 && index < raster.GetSize())
            block[static_cast<size_t>(i)] = raster.GetpBuf()[index];
    }
    block[prnproto::kAreaBlockData] = prnproto::Checksum(block.data(), prnproto::kAreaBlockData);
    return block;
}

int AreaSteps(const std::vector<CArea>& areas)
{
    long bytes = 0;
    for (const CArea& area : areas)
        bytes += static_cast<long>(area.last) - area.first + 1;
    return static_cast<int>(bytes / prnproto::kAreaBlockData);
}

CBlockReply ParseBlockReply(const BYTE reply[3], int& consecutiveErrors)
{
    CBlockReply decoded;
    decoded.statusByte = reply[0];
    const WORD address = static_cast<WORD>(reply[1] << 8 | reply[2]);
    switch (reply[0]) {
    case prnproto::kAreaAccepted:
        decoded.status = ReplyStatus::Accepted;
        decoded.next = address;
        consecutiveErrors = 0;
        break;
    case prnproto::kAreaChecksumError:
        decoded.status = ReplyStatus::ChecksumError;
        decoded.next = address;
        ++consecutiveErrors;
        break;
    case prnproto::kAreaSeriousError:
        decoded.status = ReplyStatus::SeriousError;
        decoded.next = address;
        break;
    case prnproto::kAreaComplete:
        decoded.status = ReplyStatus::Complete;
        consecutiveErrors = 0;
        break;
    default:
        decoded.status = ReplyStatus::Unknown;
        consecutiveErrors = 0;
        break;
    }
    return decoded;
}

std::optional<CArea> LogoAreaOf(const QByteArray& infoBlock)
{
    PrinterInfo info;
    ParsePrinterInfo(infoBlock, info);
    if (info.logoArea[0] == 0 || info.logoArea[1] < info.logoArea[0])
        return std::nullopt;
    return CArea{info.logoArea[0], info.logoArea[1]};
}

} // namespace areaproto
