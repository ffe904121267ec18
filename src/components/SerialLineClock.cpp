#include "components/SerialLineClock.h"

#include <algorithm>

namespace {

constexpr long long kBitsPerByte = 10;  // start bit, 8 data bits, stop bit

long long LineTimeUs(long long bytes, DWORD baud)
{
    if (baud == 0 || bytes <= 0)
        return 0;
    return (bytes * kBitsPerByte * 1000000 + baud - 1) / baud;
}

int UsToMsCeil(long long us)
{
    return static_cast<int>((us + 999) / 1000);
}

} // namespace

int CSerialLineClock::LineTimeMs(long long bytes, DWORD baud)
{
    return UsToMsCeil(LineTimeUs(bytes, baud));
}

void CSerialLineClock::Wrote(int count, Clock::time_point now)
{
    const long long us = LineTimeUs(count, m_baud);
    m_unansweredUs += us;
    // While the line is still busy the new bytes queue up behind the old
    // ones; a write that had to wait for room therefore keeps the estimate
    // at "one full queue ahead", which is what the line really holds.
    m_idleAt = std::max(now, m_idleAt) + std::chrono::microseconds(us);
}

void CSerialLineClock::Answered(Clock::time_point now)
{
    m_unansweredUs = 0;
    m_idleAt = now;
}

int CSerialLineClock::UnansweredMs() const
{
    return UsToMsCeil(m_unansweredUs);
}

long long CSerialLineClock::BytesOnLine(Clock::time_point now) const
{
    if (m_idleAt <= now)
        return 0;
    const auto left = std::chrono::duration_cast<std::chrono::microseconds>(m_idleAt - now).count();
    return (left * static_cast<long long>(m_baud) + kBitsPerByte * 1000000 - 1) / (kBitsPerByte * 1000000);
}

int CSerialLineClock::MsUntilIdle(Clock::time_point now) const
{
    if (m_idleAt <= now)
        return 0;
    const auto left = std::chrono::duration_cast<std::chrono::microseconds>(m_idleAt - now).count();
    return UsToMsCeil(left);
}
