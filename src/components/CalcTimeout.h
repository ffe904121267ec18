#pragma once
// The serial port's time-out record: five values in milliseconds, in the order
// callers index them. Every read and write of the serial component takes its
// deadline from here.
#include "platform/WinTypes.h"

struct _CalcTimeout {
    // Longest gap between two received bytes once the first has arrived; 0 = no gap limit.
    DWORD ReadIntervalTimeout = 50;
    // Read deadline = multiplier x bytes wanted + constant.
    DWORD ReadTotalTimeoutMultiplier = 2;
    DWORD ReadTotalTimeoutConstant = 200;
    // Write deadline = multiplier x bytes given + constant.
    DWORD WriteTotalTimeoutMultiplier = 2;
    DWORD WriteTotalTimeoutConstant = 1000;

    // Position 1 to 5 as callers number them (3 = read constant, 4 = write multiplier).
    DWORD& Value(int position);
};

inline DWORD& _CalcTimeout::Value(int position)
{
    switch (position) {
    case 1: return ReadIntervalTimeout;
    case 2: return ReadTotalTimeoutMultiplier;
    case 3: return ReadTotalTimeoutConstant;
    case 4: return WriteTotalTimeoutMultiplier;
    default: return WriteTotalTimeoutConstant;
    }
}

namespace calctimeout {

// A total of 0 would mean "wait for ever"; no call may block without end, so it
// becomes this fallback. Totals are also capped, so a scaled record stays bounded.
constexpr DWORD kFallbackTotalMs = 1000;
constexpr DWORD kMaxTotalMs = 120000;

inline int BoundedTotal(DWORD multiplier, DWORD constant, DWORD bytes)
{
    const unsigned long long total =
        static_cast<unsigned long long>(multiplier) * bytes + constant;
    if (total == 0)
        return static_cast<int>(kFallbackTotalMs);
    return static_cast<int>(total > kMaxTotalMs ? kMaxTotalMs : total);
}

inline int ReadDeadlineMs(const _CalcTimeout& t, DWORD bytes)
{
    return BoundedTotal(t.ReadTotalTimeoutMultiplier, t.ReadTotalTimeoutConstant, bytes);
}

inline int WriteDeadlineMs(const _CalcTimeout& t, DWORD bytes)
{
    return BoundedTotal(t.WriteTotalTimeoutMultiplier, t.WriteTotalTimeoutConstant, bytes);
}

} // namespace calctimeout
