#include "EmuUartSampling.h"

#include <cmath>
#include <optional>

namespace {

constexpr int kBitsPerFrame = 10; // start, 8 data, stop

// The sender's line at time t (in seconds from the first start bit): high
// when idle.
class CSentLine {
public:
    CSentLine(const std::vector<uint8_t>& bytes, unsigned baud)
        : m_bytes(bytes)
        , m_baud(baud)
    {
    }
    bool High(double t) const
    {
        if (t < 0)
            return true;
        const long long bit = static_cast<long long>(std::floor(t * m_baud));
        const long long frame = bit / kBitsPerFrame;
        if (frame >= static_cast<long long>(m_bytes.size()))
            return true;
        const int inFrame = static_cast<int>(bit % kBitsPerFrame);
        if (inFrame == 0)
            return false;
        if (inFrame == kBitsPerFrame - 1)
            return true;
        return (m_bytes[static_cast<size_t>(frame)] >> (inFrame - 1)) & 1;
    }
    double End() const { return static_cast<double>(m_bytes.size()) * kBitsPerFrame / m_baud; }
    // The first moment at or after t (t itself or a bit boundary) where the
    // line is at level high; none once the line stays idle.
    std::optional<double> NextTimeAt(double t, bool high) const
    {
        const double step = 1.0 / m_baud;
        for (double at = t; at <= End() + step; at = (std::floor(at * m_baud + 1e-9) + 1) * step)
            if (High(at) == high)
                return at;
        return std::nullopt;
    }

private:
    const std::vector<uint8_t>& m_bytes;
    unsigned m_baud;
};

} // namespace

std::vector<uint8_t> ReadAtOtherSpeed(const std::vector<uint8_t>& sent, unsigned sentBaud, unsigned readBaud)
{
    if (sentBaud == 0 || readBaud == 0 || sentBaud == readBaud)
        return sent;
    const CSentLine line(sent, sentBaud);
    const double bitTime = 1.0 / readBaud;
    std::vector<uint8_t> read;
    // The receiver starts on an idle (high) line just before the first start bit.
    double t = -1.0 / sentBaud;
    for (;;) {
        // A frame starts with the line falling after it was high.
        const std::optional<double> high = line.NextTimeAt(t, true);
        if (!high)
            break;
        const std::optional<double> fall = line.NextTimeAt(*high, false);
        if (!fall)
            break;
        const double edge = *fall;
        uint8_t byte = 0;
        for (int bit = 0; bit < 8; ++bit)
            if (line.High(edge + (bit + 1.5) * bitTime))
                byte |= static_cast<uint8_t>(1u << bit);
        const bool stopHigh = line.High(edge + (kBitsPerFrame - 0.5) * bitTime);
        read.push_back(stopHigh ? byte : 0x00);
        t = edge + (kBitsPerFrame - 0.5) * bitTime;
    }
    return read;
}
