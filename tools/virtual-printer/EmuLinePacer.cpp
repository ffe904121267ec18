#include "EmuLinePacer.h"

#include <algorithm>

namespace {

constexpr unsigned long long kBitsPerByte = 10;
constexpr int kMinDelayMs = 2;

} // namespace

size_t CEmuLinePacer::Allowance(unsigned baud, Clock::time_point now)
{
    if (baud == 0)
        return 0;
    if (!m_bRunning) {
        // The first byte of a run arrives one byte time after it was sent.
        m_bRunning = true;
        m_start = now;
        m_taken = 0;
        return 0;
    }
    // Counting from the start of the run, not from the last read, keeps
    // rounding and late wake-ups from adding up over a long block.
    const auto us = std::chrono::duration_cast<std::chrono::microseconds>(now - m_start).count();
    const unsigned long long arrived = static_cast<unsigned long long>(us) * baud / (kBitsPerByte * 1000000ULL);
    return arrived > m_taken ? static_cast<size_t>(arrived - m_taken) : 0;
}

void CEmuLinePacer::Took(size_t n, size_t allowed)
{
    m_taken += n;
    if (n < allowed)
        m_bRunning = false;
}

int CEmuLinePacer::DelayMs(unsigned baud) const
{
    if (baud == 0)
        return kMinDelayMs;
    const int byteMs = static_cast<int>((kBitsPerByte * 1000 + baud - 1) / baud);
    return std::max(kMinDelayMs, byteMs);
}
