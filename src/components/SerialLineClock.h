#pragma once
// What the host knows about the bytes still travelling on a serial line.
//
// write() returns once bytes are in the driver's queue, and some drivers
// (USB adapters, pseudo-terminals) report that queue empty while the bytes
// are still on their way. The only reliable measure is the line itself: each
// byte takes 10 bit times (start, 8 data, stop) at the line speed. This clock
// keeps that account, so an answer's deadline can allow for the bytes ahead
// of its request and a close can wait until the last byte has left.
#include "platform/WinTypes.h"

#include <chrono>

class CSerialLineClock {
public:
    using Clock = std::chrono::steady_clock;

    // Milliseconds that bytes need on a line of baud, rounded up.
    static int LineTimeMs(long long bytes, DWORD baud);

    void SetBaud(DWORD baud) { m_baud = baud; }
    // count bytes have just been queued for sending.
    void Wrote(int count, Clock::time_point now = Clock::now());
    // The far end has sent something: it answers only after taking what came
    // before the request, so nothing written earlier is still pending.
    void Answered(Clock::time_point now = Clock::now());
    // The output queue was thrown away.
    void Discarded(Clock::time_point now = Clock::now()) { Answered(now); }

    // Line time of the bytes written since the last answer, at the speeds
    // they went out at.
    int UnansweredMs() const;
    // How long until the last byte written has left, by the line's own rate.
    int MsUntilIdle(Clock::time_point now = Clock::now()) const;
    // The bytes written that have not left yet, by the line's own rate.
    long long BytesOnLine(Clock::time_point now = Clock::now()) const;

private:
    DWORD m_baud = 9600;
    long long m_unansweredUs = 0;
    Clock::time_point m_idleAt{};
};
