#pragma once
// Takes bytes from the pseudo-terminal no faster than a serial line brings
// them: baud / 10 bytes a second (start bit, 8 data bits, stop bit). What the
// printer has not taken stays in the terminal's queue, so the host meets the
// back-pressure of a real line: write() blocks once the queue is full, and the
// tail of a block is still "on the wire" when write() has returned.
#include <chrono>
#include <cstddef>

class CEmuLinePacer {
public:
    using Clock = std::chrono::steady_clock;

    // How many bytes may be taken now at baud; 0 means wait DelayMs() first.
    size_t Allowance(unsigned baud, Clock::time_point now = Clock::now());
    // n bytes were taken; fewer than allowed means the queue ran empty, and
    // the next byte to come starts a new run of the line.
    void Took(size_t n, size_t allowed);
    // The line fell silent.
    void Idle() { m_bRunning = false; }
    // How long until the next byte has arrived at baud, at least 1 ms so the
    // loop reads a few bytes at a time rather than spinning.
    int DelayMs(unsigned baud) const;

private:
    bool m_bRunning = false;
    Clock::time_point m_start{};
    unsigned long long m_taken = 0;
};
