#pragma once
// The frames of the flash-area protocol, built and read without any port: the
// 8-byte address frame, the 129-byte data block, the printer's 3-byte block
// reply, and the progress steps of a list of areas.
#include "components/BufferUC.h"
#include "platform/WinTypes.h"

#include <QByteArray>
#include <optional>
#include <vector>

namespace areaproto {

// One memory area, both ends inclusive.
struct CArea {
    WORD first = 0;
    WORD last = 0;
};

// ESC 0xFF, first and last address big-endian, 0x00 (write) or 0xFF (read),
// then the sum of those seven bytes.
std::vector<BYTE> AddressFrame(const CArea& area, bool read);

// 128 bytes of raster from index (address - rasterFirst), then their sum.
// Addresses before rasterFirst or past the raster's end get blank, the byte
// a white stretch of the raster has on the wire (docs/transfer.md).
std::vector<BYTE> DataBlock(const CBufferUC& raster, WORD rasterFirst, WORD address, BYTE blank);

// Progress steps of a sender: the areas' sizes added, divided by 128.
int AreaSteps(const std::vector<CArea>& areas);

// A decoded block reply.
enum class ReplyStatus { Accepted, ChecksumError, SeriousError, Complete, Unknown };
struct CBlockReply {
    ReplyStatus status = ReplyStatus::Unknown;
    BYTE statusByte = 0;
    WORD next = 0; // the address the printer wants next; 0 ends the area
};

// Decodes status, address high, address low. The consecutive checksum-error
// count goes up on 0x99, is kept on 0x88 and starts again on anything else.
CBlockReply ParseBlockReply(const BYTE reply[3], int& consecutiveErrors);

// The logo area named by the 128-byte printer information block; none when
// the block names no usable area (first address 0 or last before first).
std::optional<CArea> LogoAreaOf(const QByteArray& infoBlock);

} // namespace areaproto
