// Finding printers and programming several at once, each row beside its
// reference measured in the same run:
//
// - a batch of four "Test Logo" jobs at once, at 115200 baud in line-time
//   mode, beside one job alone (target: at most 1.15 times it);
// - a scan of ten ports, four with a printer (at four speeds) and six where a
//   printer stays silent, beside the same ports scanned one after another
//   (the sum of the per-port times; target: within 3 s);
// - where a whole send spends its time, at 9600 and 115200 baud: finding the
//   printer (the scan a send without --model runs), the steps before the data
//   (opening, the printer's status and speed), the data, the after-step and
//   the close; the share of the data in the whole send, on a port never
//   scanned and for the next printer on a port (its speed known).
#include "BenchTransfer.h"

#include "components/SComAm.h"
#include "components/SettingsStore.h"
#include "printer/PortScan.h"
#include "transfer/SerialTransfer.h"

#include <QLoggingCategory>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

namespace {

using bench::Clock;

constexpr double kBatchTarget = 1.15;
constexpr double kScanTargetSeconds = 3.0;
constexpr double kDataShareTarget = 0.80;

double Seconds(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double>(to - from).count();
}

// A WGJ33 of firmware 1.79 (it keeps the speed it is found at) on a port of
// its own, COMn.
std::unique_ptr<CPrinterEmulator> StartWgj33(int n, unsigned baud, const QTemporaryDir& folder,
                                             CEmuFault::Kind fault = CEmuFault::Kind::None)
{
    CEmuOptions o;
    o.model = QStringLiteral("WGJ33");
    o.dataDir = QStringLiteral(GLYPHANE_BENCH_PROGRAM_DIR);
    o.baud = baud;
    o.release = QStringLiteral("1.79");
    o.lineTime = true;
    o.fault.kind = fault;
    o.linkPath = folder.filePath(QStringLiteral("COM%1").arg(n));
    auto printer = std::make_unique<CPrinterEmulator>(o);
    QString error;
    if (!printer->Start(&error))
        return nullptr;
    CSettingsStore::SetValue(QStringLiteral("Ports"), QStringLiteral("COM%1").arg(n), o.linkPath);
    return printer;
}

// The printers-to-test list of the build's program folder: what a scan of a
// serial port listens for.
CScanCatalogue SerialCatalogue()
{
    CScanCatalogue catalogue;
    catalogue.list.LoadPublicCfgFile(QStringLiteral(GLYPHANE_BENCH_PROGRAM_DIR "PrnToTest.cfg"));
    return catalogue;
}

struct CSendTimes {
    bool ok = false;
    double finding = 0; // the scan
    double before = 0;  // opening, status, speed
    double data = 0;
    double after = 0;   // the after-step and the close
    double Job() const { return before + data + after; }
};

// One "Test Logo" to COMn; with find, the printer is found first by a scan,
// as a send without --model finds it.
CSendTimes SendTest(int n, const CPrinterEmulator& printer, bool find)
{
    CSendTimes times;
    const auto start = Clock::now();
    DWORD foundBaud = 0;
    if (find) {
        const CPortFinding found = ScanPorts({QStringLiteral("COM%1").arg(n)}, SerialCatalogue()).front();
        if (found.state != ScanState::Found)
            return times;
        foundBaud = found.baud;
    }
    const auto jobStart = Clock::now();
    CTransferRequest request = bench::Wgj33TestRequest();
    request.portName = QStringLiteral("COM%1").arg(n);
    request.foundBaud = foundBaud; // as the command-line tool hands it on
    bench::CLineTimingHost host(printer);
    CCsGenericPrn port;
    CSerialTransfer transfer(request, host, port, nullptr);
    times.ok = transfer.SendLogoToSerial() == 1;
    const auto end = Clock::now();
    times.finding = Seconds(start, jobStart);
    times.before = Seconds(jobStart, host.DataStart());
    times.data = host.Seconds();
    times.after = Seconds(host.DataEnd(), end);
    return times;
}

void QuietDetection()
{
    // The detection's failed tries at the wrong speeds are expected here.
    QLoggingCategory::setFilterRules(QStringLiteral("glyphane.*.debug=false\nglyphane.*.warning=false"));
}

void BM_BatchOfFour(benchmark::State& state)
{
    QuietDetection();
    QTemporaryDir folder;
    qputenv("GLYPHANE_SETTINGS", folder.filePath(QStringLiteral("bench.ini")).toLocal8Bit());
    constexpr unsigned kBaud = 115200;
    double one = 0, four = 0;
    for (auto _ : state) {
        std::vector<std::unique_ptr<CPrinterEmulator>> printers;
        for (int n = 1; n <= 4; ++n)
            printers.push_back(StartWgj33(n, kBaud, folder));
        if (!printers.back()) {
            state.SkipWithError("the virtual printers did not start");
            break;
        }
        const CSendTimes alone = SendTest(1, *printers[0], false);
        std::vector<CSendTimes> batch(4);
        const auto start = Clock::now();
        {
            std::vector<std::jthread> jobs;
            for (int n = 1; n <= 4; ++n)
                jobs.emplace_back([&, n] { batch[static_cast<size_t>(n - 1)] = SendTest(n, *printers[static_cast<size_t>(n - 1)], false); });
        }
        four = Seconds(start, Clock::now());
        one = alone.Job();
        bool ok = alone.ok;
        for (const CSendTimes& t : batch)
            ok = ok && t.ok;
        if (!ok) {
            state.SkipWithError("a transfer failed");
            break;
        }
        state.SetIterationTime(four);
    }
    const double ratio = one > 0 ? four / one : 0;
    state.counters["one_s"] = one;
    state.counters["four_at_once_s"] = four;
    state.counters["ratio"] = ratio;
    state.SetLabel(QStringLiteral("four at once / one alone %1 (target <= %2) %3")
                       .arg(ratio, 0, 'f', 3)
                       .arg(kBatchTarget, 0, 'f', 2)
                       .arg(ratio <= kBatchTarget ? QStringLiteral("met") : QStringLiteral("MISSED"))
                       .toStdString());
}
BENCHMARK(BM_BatchOfFour)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// Both scans start where nothing is known of the ports' speeds.
void ForgetPortSpeeds(const QStringList& ports)
{
    for (const QString& port : ports)
        CSettingsStore::SetValue(QStringLiteral("PortSpeeds"), port, 0);
}

void BM_ScanTenPorts(benchmark::State& state)
{
    QuietDetection();
    QTemporaryDir folder;
    qputenv("GLYPHANE_SETTINGS", folder.filePath(QStringLiteral("bench.ini")).toLocal8Bit());
    constexpr unsigned kSpeeds[] = {9600, 19200, 38400, 115200};
    double atOnce = 0, oneByOne = 0;
    int found = 0;
    for (auto _ : state) {
        std::vector<std::unique_ptr<CPrinterEmulator>> printers;
        QStringList ports;
        for (int n = 1; n <= 10; ++n) {
            const bool answers = n <= 4;
            printers.push_back(StartWgj33(n, answers ? kSpeeds[n - 1] : 9600, folder,
                                          answers ? CEmuFault::Kind::None : CEmuFault::Kind::Silent));
            ports << QStringLiteral("COM%1").arg(n);
        }
        const CScanCatalogue catalogue = SerialCatalogue();
        ForgetPortSpeeds(ports);
        auto start = Clock::now();
        found = 0;
        for (const CPortFinding& f : ScanPorts(ports, catalogue))
            found += f.state == ScanState::Found ? 1 : 0;
        atOnce = Seconds(start, Clock::now());
        ForgetPortSpeeds(ports);
        start = Clock::now();
        for (const QString& port : ports)
            ScanPorts({port}, catalogue);
        oneByOne = Seconds(start, Clock::now());
        state.SetIterationTime(atOnce);
    }
    if (found != 4)
        state.SkipWithError("the scan did not find the four printers");
    state.counters["at_once_s"] = atOnce;
    state.counters["one_by_one_s"] = oneByOne;
    state.counters["found"] = found;
    state.SetLabel(QStringLiteral("ten ports in %1 s, one by one %2 s (target <= %3 s) %4")
                       .arg(atOnce, 0, 'f', 2)
                       .arg(oneByOne, 0, 'f', 2)
                       .arg(kScanTargetSeconds, 0, 'f', 1)
                       .arg(atOnce <= kScanTargetSeconds ? QStringLiteral("met") : QStringLiteral("MISSED"))
                       .toStdString());
}
BENCHMARK(BM_ScanTenPorts)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_SendTimeSplit(benchmark::State& state)
{
    QuietDetection();
    QTemporaryDir folder;
    qputenv("GLYPHANE_SETTINGS", folder.filePath(QStringLiteral("bench.ini")).toLocal8Bit());
    const unsigned baud = static_cast<unsigned>(state.range(0));
    const bool next = state.range(1) != 0;
    CSendTimes times;
    for (auto _ : state) {
        if (next) {
            // The printer before on the same port: the port's speed is known.
            const auto before = StartWgj33(1, baud, folder);
            if (!before || !SendTest(1, *before, true).ok) {
                state.SkipWithError("the printer before did not take the logo");
                break;
            }
        }
        const auto printer = StartWgj33(1, baud, folder);
        if (!printer) {
            state.SkipWithError("the virtual printer did not start");
            break;
        }
        times = SendTest(1, *printer, true);
        if (!times.ok) {
            state.SkipWithError("the transfer failed");
            break;
        }
        state.SetIterationTime(times.finding + times.Job());
    }
    const double share = times.Job() > 0 ? times.data / times.Job() : 0;
    state.counters["finding_s"] = times.finding;
    state.counters["before_data_s"] = times.before;
    state.counters["data_s"] = times.data;
    state.counters["after_s"] = times.after;
    state.counters["data_share_of_job"] = share;
    const double sendShare = times.data / std::max(1e-9, times.finding + times.Job());
    state.counters["data_share_of_send"] = sendShare;
    state.SetLabel(QStringLiteral("%1: data %2 of the send (target >= %3 at 115200) %4")
                       .arg(next ? QStringLiteral("the next printer on the port") : QStringLiteral("a port never scanned"))
                       .arg(sendShare, 0, 'f', 3)
                       .arg(kDataShareTarget, 0, 'f', 2)
                       .arg(baud != 115200                 ? QStringLiteral("-")
                            : sendShare >= kDataShareTarget ? QStringLiteral("met")
                                                            : QStringLiteral("MISSED"))
                       .toStdString());
}
// Args: the line speed; 1 = a printer after another on the same port.
BENCHMARK(BM_SendTimeSplit)
    ->Args({9600, 0})
    ->Args({115200, 0})
    ->Args({115200, 1})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
