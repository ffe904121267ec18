// How busy the serial line is while a logo goes to the printer: a 576 x 240
// logo for a WGJ33 through the real serial transfer (port, detection, the
// stream in blocks with the status request before each) to the virtual printer
// in line-time mode, at 9600 and 115200 baud.
//
// Line utilisation = stream bytes / (data-phase time x baud / 10), the data
// phase running from the first block's status request to the moment the
// printer has taken the last byte of the stream. 1.0 is a line that never
// idles; every gap between blocks (the status round trip) costs below it.
#include "BenchTransfer.h"
#include "PrinterEmulator.h"

#include "components/PrinterProtocol.h"
#include "components/SComAm.h"
#include "components/SettingsStore.h"
#include "transfer/SerialTransfer.h"
#include "transfer/TransferHost.h"

#include <QLoggingCategory>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kTargetUtilisation = 0.95;

// Times the data phase: from the start of the block loop until the virtual
// printer has taken every byte the loop wrote (the stream and one status
// request per block). Everything else a transfer asks is answered at once.
class CLineTimingHost : public CTransferHost {
public:
    explicit CLineTimingHost(const CPrinterEmulator& printer)
        : m_printer(printer)
    {
    }

    void ProgressStart(int steps, qint64 totalBytes, DWORD baud) override
    {
        m_steps = steps;
        m_streamBytes = totalBytes;
        m_baud = baud;
        m_takenBefore = m_printer.BytesUnderstood();
        m_start = Clock::now();
    }
    void ProgressStep(qint64, int) override {}
    void PostStopSend() override {}
    void ProgressEnd() override
    {
        // The loop ends when its last write() has returned; the printer is
        // still taking the tail of that block at the line's pace.
        const long long expected = m_takenBefore + m_streamBytes
                                   + static_cast<long long>(m_steps) * prnproto::kStatusRequest.size();
        const auto bound = Clock::now() + std::chrono::seconds(30);
        while (m_printer.BytesUnderstood() < expected && Clock::now() < bound)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        m_bComplete = m_printer.BytesUnderstood() >= expected;
        m_end = Clock::now();
    }
    void PortStatus(bool, const QString&) override {}
    int Message(const QString&, const QString&, UINT) override { return IDOK; }
    void Inform(const QString&, const QString&, UINT) override {}
    int ChooseBaudRate() override { return 0; }
    bool FrameMayCoverLogo() override { return true; }
    bool WaitForPrinterReset(bool, int) override { return true; }
    void Log(const QString&) override {}
    bool StopRequested() const override { return false; }
    bool Sleep(int ms) override
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        return true;
    }

    bool Complete() const { return m_bComplete; }
    qint64 StreamBytes() const { return m_streamBytes; }
    DWORD Baud() const { return m_baud; }
    double Seconds() const { return std::chrono::duration<double>(m_end - m_start).count(); }
    // Stream bytes over what the line could have carried in the same time.
    double Utilisation() const
    {
        const double capacity = Seconds() * static_cast<double>(m_baud) / 10.0;
        return capacity > 0 ? static_cast<double>(m_streamBytes) / capacity : 0.0;
    }

private:
    const CPrinterEmulator& m_printer;
    int m_steps = 0;
    qint64 m_streamBytes = 0;
    DWORD m_baud = 0;
    long long m_takenBefore = 0;
    bool m_bComplete = false;
    Clock::time_point m_start{};
    Clock::time_point m_end{};
};

// One transfer per iteration, each to a printer started afresh at baud. The
// WGJ33 firmware 1.79 keeps the speed it was found at.
void BM_SerialLineUtilisation(benchmark::State& state)
{
    const unsigned baud = static_cast<unsigned>(state.range(0));
    // The detection's failed tries at the wrong speeds are expected here.
    QLoggingCategory::setFilterRules(QStringLiteral("glyphane.*.debug=false"));
    QTemporaryDir folder;
    qputenv("GLYPHANE_SETTINGS", folder.filePath(QStringLiteral("bench.ini")).toLocal8Bit());
    double utilisation = 0, seconds = 0;
    qint64 streamBytes = 0;
    for (auto _ : state) {
        CEmuOptions options;
        options.model = QStringLiteral("WGJ33");
        options.dataDir = QStringLiteral(GLYPHANE_BENCH_PROGRAM_DIR);
        options.baud = baud;
        options.release = QStringLiteral("1.79");
        options.lineTime = true;
        CPrinterEmulator printer(options);
        QString error;
        if (!printer.Start(&error)) {
            state.SkipWithError(error.toStdString().c_str());
            break;
        }
        CSettingsStore::SetValue(QStringLiteral("Ports"), QStringLiteral("COM1"), printer.DevicePath());

        const CTransferRequest request = bench::Wgj33TestRequest();
        CLineTimingHost host(printer);
        CCsGenericPrn port;
        CSerialTransfer transfer(request, host, port, nullptr);
        const int result = transfer.SendLogoToSerial();
        if (result != 1 || !host.Complete() || host.Baud() != baud) {
            state.SkipWithError(("transfer failed: " + transfer.Failure().toStdString()).c_str());
            break;
        }
        state.SetIterationTime(host.Seconds());
        utilisation = host.Utilisation();
        seconds = host.Seconds();
        streamBytes = host.StreamBytes();
    }
    state.counters["stream_bytes"] = static_cast<double>(streamBytes);
    state.counters["data_s"] = seconds;
    state.counters["line_time_s"] = static_cast<double>(streamBytes) * 10.0 / baud;
    state.counters["utilisation"] = utilisation;
    state.counters["never_idle"] = 1.0;
    state.SetLabel(QStringLiteral("line utilisation %1 (1.0 = a line never idle; target %2) %3")
                       .arg(utilisation, 0, 'f', 3)
                       .arg(kTargetUtilisation, 0, 'f', 2)
                       .arg(utilisation >= kTargetUtilisation ? QStringLiteral("met") : QStringLiteral("MISSED"))
                       .toStdString());
}
BENCHMARK(BM_SerialLineUtilisation)
    ->Arg(9600)
    ->Arg(115200)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
