// The serial component on a line that takes its time: the virtual printer in
// line-time mode takes bytes no faster than baud / 10 a second, so queued
// output is still on its way when write() returns, as on a real port.
#include "SerialFixture.h"

#include "EmuLinePacer.h"
#include "components/SerialLineClock.h"
#include "platform/ManualResetEvent.h"

#include <atomic>
#include <vector>

using serialtest::PrinterFixture;
using serialtest::WaitFor;

namespace {

// A 576 x 240 logo: 72 bytes a row, 240 rows.
constexpr int kLogoBytes = 576 / 8 * 240;
constexpr int kBlock = 2048;
const std::vector<BYTE> kStatusRequest = {0x10, 0x04, 0x01};

// Raster-like bytes that hold none of the bytes a printer reads as the start
// of a command (LF, DLE, ESC, GS), so the printer only skips them and every
// answer it gives belongs to a request of the test.
std::vector<BYTE> LogoBytes(int count)
{
    std::vector<BYTE> bytes(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        BYTE b = static_cast<BYTE>(i * 37 + (i / 72) * 11);
        if (b == 0x0A || b == 0x10 || b == 0x1B || b == 0x1D)
            b ^= 0x80;
        bytes[static_cast<size_t>(i)] = b;
    }
    return bytes;
}

_CalcTimeout DefaultTimeouts()
{
    return _CalcTimeout();
}

// Sets event from another thread after delayMs.
class DelayedSet {
public:
    DelayedSet(CManualResetEvent& event, int delayMs)
        : m_thread([this, &event, delayMs] {
              std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
              m_timer.start();
              m_bSet = true;
              event.Set();
          })
    {
    }
    ~DelayedSet() { m_thread.join(); }
    // Milliseconds since the event was set.
    qint64 SinceSet() const { return m_bSet ? m_timer.elapsed() : -1; }

private:
    QElapsedTimer m_timer;
    std::atomic<bool> m_bSet{false};
    std::thread m_thread;
};

class LineTimeFixture : public PrinterFixture {
protected:
    void StartLineTimePrinter(unsigned baud, CEmuFault::Kind fault = CEmuFault::Kind::None)
    {
        CEmuOptions options = Options(QStringLiteral("WGJ33"), baud);
        options.lineTime = true;
        options.recordInput = true;
        options.fault.kind = fault;
        StartPrinter(options);
    }

    // Opens COM1 and brings printer and port to baud, as a transfer does.
    void OpenAt(CsComAm& port, unsigned baud, const char* switchString)
    {
        OpenPort(port, QStringLiteral("WGJ33"));
        ASSERT_TRUE(port.SetNewTimeoutSystem(DefaultTimeouts()));
        if (switchString) {
            ASSERT_TRUE(port.SetAutomaticComPort(QString::fromLatin1(switchString)))
                << port.LastErrorText().toStdString();
        }
        ASSERT_EQ(m_printer->CurrentBaud(), baud);
        m_printer->TakeReceivedBytes();
    }
};

} // namespace

TEST(SerialLineClock, CountsTenBitsAByteAtTheSpeedItWentAt)
{
    EXPECT_EQ(CSerialLineClock::LineTimeMs(2048, 9600), 2134);
    EXPECT_EQ(CSerialLineClock::LineTimeMs(17280, 9600), 18000);
    EXPECT_EQ(CSerialLineClock::LineTimeMs(17280, 115200), 1500);
    EXPECT_EQ(CSerialLineClock::LineTimeMs(1, 115200), 1);
    EXPECT_EQ(CSerialLineClock::LineTimeMs(0, 9600), 0);

    using namespace std::chrono;
    const auto t0 = CSerialLineClock::Clock::now();
    CSerialLineClock clock;
    clock.SetBaud(9600);
    clock.Wrote(960, t0);                        // 1 s of line
    clock.SetBaud(115200);
    clock.Wrote(1152, t0 + milliseconds(100));   // 100 ms more, queued behind
    EXPECT_EQ(clock.UnansweredMs(), 1100);
    EXPECT_EQ(clock.MsUntilIdle(t0 + milliseconds(600)), 500);
    // Written after the line went idle: counted from then, not from before.
    clock.Wrote(1152, t0 + milliseconds(3000));
    EXPECT_EQ(clock.MsUntilIdle(t0 + milliseconds(3000)), 100);
    clock.Answered(t0 + milliseconds(3050));
    EXPECT_EQ(clock.UnansweredMs(), 0);
    EXPECT_EQ(clock.MsUntilIdle(t0 + milliseconds(3050)), 0);
}

TEST(EmulatorLineTime, TakesBaudOverTenBytesASecondWithoutDrift)
{
    using namespace std::chrono;
    const auto t0 = CEmuLinePacer::Clock::now();
    CEmuLinePacer pacer;
    EXPECT_EQ(pacer.Allowance(9600, t0), 0u) << "the first byte needs its own time";
    EXPECT_EQ(pacer.Allowance(9600, t0 + milliseconds(100)), 96u);
    pacer.Took(96, 96);
    EXPECT_EQ(pacer.Allowance(9600, t0 + milliseconds(100)), 0u);
    // Late wake-ups do not lose line time: the count runs from the start.
    EXPECT_EQ(pacer.Allowance(9600, t0 + milliseconds(1000)), 960u - 96u);
    pacer.Took(500, 864);  // the queue ran empty
    EXPECT_EQ(pacer.Allowance(9600, t0 + milliseconds(5000)), 0u) << "silence is no credit";
    EXPECT_EQ(pacer.Allowance(115200, t0 + milliseconds(5010)), 115u);
    EXPECT_EQ(pacer.DelayMs(9600), 2);
    EXPECT_EQ(pacer.DelayMs(1200), 9);

    CEmuOptions options;
    QString error;
    ASSERT_TRUE(ParseEmuArguments({"--model", "WGJ33", "--line-time", "--baud", "19200"}, &options, &error))
        << error.toStdString();
    EXPECT_TRUE(options.lineTime);
    EXPECT_EQ(options.baud, 19200u);
    EXPECT_TRUE(EmuUsage().contains(QStringLiteral("--line-time")));
}

// The transfer's pattern: 2048-byte blocks, each followed by a status request
// that must be answered before the next block goes. Flushing the output
// before a request loses the part of the block still queued, and a deadline
// that starts while the block is leaving expires before the answer can come.
// The stream is a whole download (ESC L with the logo's size), so the
// requests also come while the printer is in the middle of its raster.
TEST_F(LineTimeFixture, LogoSizedStreamArrivesCompleteWithStatusRequestsBetweenBlocks)
{
    const std::vector<BYTE> raster = LogoBytes(kLogoBytes);
    std::vector<BYTE> logo{0x1B, 0x4C, 0x00, 0x40, 0x02, 0xF0, 0x00};
    logo.insert(logo.end(), raster.begin(), raster.end());
    const int streamBytes = static_cast<int>(logo.size());
    for (const auto& [baud, switchString] :
         std::vector<std::pair<unsigned, const char*>>{{9600, nullptr}, {115200, "C1152XXnoP8bt"}}) {
        SCOPED_TRACE(baud);
        StartLineTimePrinter(9600);
        CsComAm port;
        OpenAt(port, baud, switchString);
        std::vector<BYTE> expected;
        QElapsedTimer timer;
        timer.start();
        for (int offset = 0; offset < streamBytes; offset += kBlock) {
            const int part = std::min(kBlock, streamBytes - offset);
            ASSERT_TRUE(port.SendCommandToComm(logo.data() + offset, static_cast<DWORD>(part)))
                << port.LastErrorText().toStdString();
            ASSERT_TRUE(port.GetStatusPrinter(0)) << "after the block at " << offset << ": "
                                                  << port.LastErrorText().toStdString();
            expected.insert(expected.end(), logo.begin() + offset, logo.begin() + offset + part);
            expected.insert(expected.end(), kStatusRequest.begin(), kStatusRequest.end());
        }
        const qint64 elapsed = timer.elapsed();
        // Every status answer comes after its block has crossed the line, so
        // the whole exchange cannot be faster than the line.
        const qint64 lineMs = static_cast<qint64>(expected.size()) * 10 * 1000 / baud;
        EXPECT_GE(elapsed, lineMs - 50);
        EXPECT_LT(elapsed, 2 * lineMs + 3000);
        std::printf("[ measured ] %u baud: %zu bytes in %lld ms (line time %lld ms)\n", baud,
                    expected.size(), static_cast<long long>(elapsed), static_cast<long long>(lineMs));
        const std::vector<BYTE> received = m_printer->TakeReceivedBytes();
        ASSERT_EQ(received.size(), expected.size());
        EXPECT_TRUE(received == expected);
        EXPECT_EQ(m_printer->BytesIgnored(), 0);
        EXPECT_TRUE(m_printer->RamLogo().bits == raster) << "the requests became part of the raster";
        port.DeInitializePort();
    }
}

// Bytes written just before the close are the end of the logo: they must
// reach the printer, not be discarded with the driver's queue.
TEST_F(LineTimeFixture, CloseLetsTheLastBytesLeaveTheLine)
{
    StartLineTimePrinter(115200);
    CsComAm port;
    OpenAt(port, 115200, nullptr);
    ASSERT_TRUE(port.PubSetBaudRate(115200));
    const std::vector<BYTE> logo = LogoBytes(kLogoBytes);
    QElapsedTimer sinceFirstByte;
    sinceFirstByte.start();
    for (int offset = 0; offset < kLogoBytes; offset += kBlock)
        ASSERT_TRUE(port.SendCommandToComm(logo.data() + offset,
                                           static_cast<DWORD>(std::min(kBlock, kLogoBytes - offset))));
    const qint64 writtenMs = sinceFirstByte.elapsed();
    ASSERT_TRUE(port.DeInitializePort());
    const qint64 closedMs = sinceFirstByte.elapsed();
    std::vector<BYTE> received;
    ASSERT_TRUE(WaitFor(
        [&] {
            const auto more = m_printer->TakeReceivedBytes();
            received.insert(received.end(), more.begin(), more.end());
            return received.size() >= logo.size();
        },
        10000))
        << received.size() << " of " << logo.size() << " bytes arrived";
    EXPECT_TRUE(received == logo);
    // The bytes need 1500 ms of line from the first one on; the close gives
    // the line back no earlier, however soon the writes returned.
    EXPECT_GE(closedMs, 1500);
    EXPECT_LT(closedMs, 6000);
    std::printf("[ measured ] %d bytes at 115200 baud: written after %lld ms, closed after %lld ms\n",
                kLogoBytes, static_cast<long long>(writtenMs), static_cast<long long>(closedMs));
}

// A purge starts a protocol from an empty line; what was written before it
// (the line feeds owed after a detection) is still the printer's and must
// reach it, while the printer's unread bytes are thrown away.
TEST_F(LineTimeFixture, PurgeLetsQueuedOutputLeaveAndDropsOnlyInput)
{
    StartLineTimePrinter(9600);
    CsComAm port;
    OpenAt(port, 9600, nullptr);
    const std::vector<BYTE> feeds(64, 0x0A);
    ASSERT_TRUE(port.SendCommandToComm(feeds.data(), static_cast<DWORD>(feeds.size())));
    ASSERT_TRUE(port.PurgePort()) << port.LastErrorText().toStdString();
    std::vector<BYTE> received;
    ASSERT_TRUE(WaitFor(
        [&] {
            const auto more = m_printer->TakeReceivedBytes();
            received.insert(received.end(), more.begin(), more.end());
            return received.size() >= feeds.size();
        },
        5000))
        << received.size() << " of " << feeds.size() << " line feeds arrived";
    EXPECT_TRUE(received == feeds);
    port.DeInitializePort();
}

// A stop or kill ends a read that waits for a printer that never answers, long
// before the two-minute time-out, and the component says it was a stop.
TEST_F(LineTimeFixture, StopOrKillEndsAReadWaitingForItsLongTimeout)
{
    StartLineTimePrinter(9600, CEmuFault::Kind::Silent);
    CsComAm port;
    OpenAt(port, 9600, nullptr);
    _CalcTimeout slow = DefaultTimeouts();
    slow.ReadTotalTimeoutConstant = 120000;
    ASSERT_TRUE(port.SetNewTimeoutSystem(slow));
    CManualResetEvent stop, kill;
    port.SetStopEvents(&stop, &kill);
    for (CManualResetEvent* event : {&stop, &kill}) {
        SCOPED_TRACE(event == &stop ? "stop" : "kill");
        qint64 pastSet = -1;
        {
            DelayedSet set(*event, 150);
            EXPECT_FALSE(port.GetStatusPrinter(0));
            pastSet = set.SinceSet();
        }
        EXPECT_TRUE(port.WasStopped());
        EXPECT_GE(pastSet, 0) << "the read ended before the event was set";
        EXPECT_LT(pastSet, 1000);
        std::printf("[ measured ] read ended %lld ms after the event\n", static_cast<long long>(pastSet));
        event->Reset();
    }
    // The waits between CTS polls and between detection speeds stop as well.
    stop.Set();
    QElapsedTimer timer;
    timer.start();
    const BYTE ids[] = {0x33};
    int index = -1;
    EXPECT_FALSE(port.PubAutodetectBaudRateLightType(ids, 1, &index, nullptr, 0, 0, 0, WM_PORT_STATUS));
    EXPECT_LT(timer.elapsed(), 1000);
}

// A write held back by a line that cannot take the bytes fast enough ends at
// a stop; the abandoned rest is discarded, so the close does not wait for it.
TEST_F(LineTimeFixture, StopEndsAWriteHeldByBackPressure)
{
    StartLineTimePrinter(9600);
    CsComAm port;
    OpenAt(port, 9600, nullptr);
    CManualResetEvent stop;
    port.SetStopEvents(&stop, nullptr);
    // 128 KB at 9600 baud is over two minutes of line; the queue fills within
    // the first few kilobytes and the write has to wait for the printer.
    const std::vector<BYTE> big = LogoBytes(128 * 1024);
    qint64 pastSet = -1;
    {
        DelayedSet set(stop, 300);
        EXPECT_FALSE(port.SendCommandToComm(big.data(), static_cast<DWORD>(big.size())));
        pastSet = set.SinceSet();
    }
    EXPECT_TRUE(port.WasStopped()) << port.LastErrorText().toStdString();
    EXPECT_GE(pastSet, 0) << "the write ended before the stop";
    EXPECT_LT(pastSet, 1000);
    QElapsedTimer timer;
    timer.start();
    port.DeInitializePort();
    EXPECT_LT(timer.elapsed(), 1000);
    std::printf("[ measured ] write ended %lld ms after the stop, close took %lld ms\n",
                static_cast<long long>(pastSet), static_cast<long long>(timer.elapsed()));
    EXPECT_LT(m_printer->BytesUnderstood(), 64 * 1024);
}
