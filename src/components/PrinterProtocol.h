#pragma once
// The bytes the communication components exchange with a printer on their own
// (docs/printer-protocol.md). The virtual printer answers the same bytes.
#include "platform/WinTypes.h"

#include <array>
#include <optional>

namespace prnproto {

// DLE EOT 1: real-time status; answered with one status byte.
constexpr std::array<BYTE, 3> kStatusRequest{0x10, 0x04, 0x01};
// A valid status byte has bits 1 and 4 set and bits 0 and 7 clear.
constexpr BYTE kStatusFixedMask = 0x93;
constexpr BYTE kStatusFixedBits = 0x12;
// Bit 3: the printer is off line (cover open, paper out, error).
constexpr BYTE kStatusOffline = 0x08;

inline bool IsStatusByte(BYTE b) { return (b & kStatusFixedMask) == kStatusFixedBits; }
inline bool IsOnlineStatus(BYTE b) { return IsStatusByte(b) && !(b & kStatusOffline); }

// GS I n: identification. n = 1 model byte, n = 2 sub-model byte, n = 3
// software release text, n = 'A' firmware release text; texts end with NUL.
constexpr BYTE kGs = 0x1D;
constexpr BYTE kGsI = 0x49;
constexpr BYTE kIdModel = 0x31;
constexpr BYTE kIdSubModel = 0x32;
constexpr BYTE kIdSoftwareRelease = 0x33;
constexpr BYTE kIdFirmwareRelease = 0x41;
constexpr std::array<BYTE, 3> kModelRequest{kGs, kGsI, kIdModel};
// Release texts are short; a longer answer is a fault.
constexpr int kMaxReleaseLength = 24;

// ESC ~ B n: switch the line speed. The printer acknowledges at the old speed
// and then listens at the new one.
constexpr std::array<BYTE, 3> kBaudSwitchPrefix{0x1B, 0x7E, 0x42};

// One byte acknowledging a command (also the flash-area "accepted" status).
constexpr BYTE kAck = 0xAA;
constexpr BYTE kNak = 0x99;

constexpr BYTE kLineFeed = 0x0A;

// The speeds of the baud switch, by their code n.
constexpr std::array<DWORD, 5> kBaudByCode{9600, 19200, 38400, 57600, 115200};

inline std::optional<BYTE> BaudCode(DWORD baud)
{
    for (size_t i = 0; i < kBaudByCode.size(); ++i)
        if (kBaudByCode[i] == baud)
            return static_cast<BYTE>(i);
    return std::nullopt;
}

// The order in which baud detection listens for a printer.
constexpr std::array<DWORD, 5> kDetectionOrder{9600, 19200, 38400, 57600, 115200};

// Flash-area protocol.
constexpr BYTE kAreaFrameEsc = 0x1B;
constexpr BYTE kAreaFrameMark = 0xFF;
constexpr BYTE kAreaWrite = 0x00;
constexpr BYTE kAreaRead = 0xFF;
constexpr int kAreaFrameSize = 8;
constexpr int kAreaBlockData = 128;
constexpr int kAreaBlockSize = kAreaBlockData + 1;
constexpr BYTE kAreaAccepted = 0xAA;
constexpr BYTE kAreaChecksumError = 0x99;
constexpr BYTE kAreaSeriousError = 0x88;
constexpr BYTE kAreaComplete = 0xBB;

// Echoed-byte protocol: start frame, then every byte acknowledged with kAck.
constexpr std::array<BYTE, 3> kEchoStart{0x1B, 0xFF, 0x08};
constexpr int kEchoTrailingZeros = 16;

inline BYTE Checksum(const BYTE* bytes, int count)
{
    unsigned sum = 0;
    for (int i = 0; i < count; ++i)
        sum += bytes[i];
    return static_cast<BYTE>(sum & 0xFF);
}

} // namespace prnproto
