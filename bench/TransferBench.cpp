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

#include "components/SComAm.h"
#include "components/SettingsStore.h"
#include "transfer/SerialTransfer.h"

#include <QLoggingCategory>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>

namespace {

constexpr double kTargetUtilisation = 0.95;

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
        bench::CLineTimingHost host(printer);
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
