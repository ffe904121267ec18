#pragma once
// What a receiver listening at one speed reads from bytes sent at another:
// the sender's waveform (start bit, 8 data bits least significant first, stop
// bit) sampled the way a UART does it, in the middle of each of its own bit
// times after a falling edge. A stop bit found low is a framing error, which
// the terminal driver hands on as a zero byte. Used by the virtual printer to
// answer at a speed other than the one the host set.
#include <cstdint>
#include <vector>

std::vector<uint8_t> ReadAtOtherSpeed(const std::vector<uint8_t>& sent, unsigned sentBaud, unsigned readBaud);
