// The soak: 200 "Test Logo" transfers in a row through the transfer job (its
// worker thread, the serial port opened, detected, written and closed each
// time) to one virtual printer, a WGJ33 taking the 576 x 240 logo into RAM
// and printing it. The process's resident memory and open descriptors are
// read after a first transfer (so what the first use of Qt, the port and the
// configuration allocates once is not counted as growth), after 100 and
// after 200. A job that leaks a descriptor, a thread or a buffer per transfer
// shows here as growth long before an operator would notice it.
//
// The printer is not paced at line speed: the soak counts resources, not
// time (the line-time transfer is measured by BM_SerialLineUtilisation).
#include "BenchTransfer.h"
#include "PrinterEmulator.h"

#include "components/SettingsStore.h"
#include "transfer/TransferJob.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>
#include <unistd.h>

namespace {

constexpr int kTransfers = 200;
constexpr int kJobBoundMs = 60000;
// Allowed growth from the first transfer to the 200th: none in descriptors;
// in memory, the allocator's own slack.
constexpr long long kRssSlackKib = 1024;

long long ResidentKib()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * (sysconf(_SC_PAGESIZE) / 1024) : -1;
}

int OpenDescriptors()
{
    return static_cast<int>(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::System
                                                                            | QDir::Files).size());
}

// One job, run to its end with the event loop turning (the job hands its
// outcome back through it). True when the transfer succeeded.
bool RunOneTransfer(QObject* receiver, const CTransferRequest& request)
{
    CTransferJob job(receiver, nullptr, {});
    int result = -1;
    job.Start(request, [&result](const CTransferOutcome& outcome) { result = outcome.result; });
    QElapsedTimer clock;
    clock.start();
    while (result < 0 && clock.elapsed() < kJobBoundMs) {
        QCoreApplication::processEvents();
        // processEvents does not wait for events: without a pause the loop
        // would take a core from the worker and the printer.
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return result == 1;
}

struct CSample {
    long long rssKib = 0;
    int fds = 0;
};

CSample Sample()
{
    QCoreApplication::processEvents(); // what the last job posted
    return CSample{ResidentKib(), OpenDescriptors()};
}

void BM_SoakTransfers(benchmark::State& state)
{
    QLoggingCategory::setFilterRules(QStringLiteral("glyphane.*.debug=false"));
    QTemporaryDir folder;
    qputenv("GLYPHANE_SETTINGS", folder.filePath(QStringLiteral("soak.ini")).toLocal8Bit());
    CSample start, half, end;
    for (auto _ : state) {
        CEmuOptions options;
        options.model = QStringLiteral("WGJ33");
        options.dataDir = QStringLiteral(GLYPHANE_BENCH_PROGRAM_DIR);
        options.release = QStringLiteral("1.79"); // stays at 9600
        CPrinterEmulator printer(options);
        QString error;
        if (!printer.Start(&error)) {
            state.SkipWithError(error.toStdString().c_str());
            break;
        }
        CSettingsStore::SetValue(QStringLiteral("Ports"), QStringLiteral("COM1"), printer.DevicePath());
        const CTransferRequest request = bench::Wgj33TestRequest();
        QObject receiver;
        QElapsedTimer clock;
        clock.start();
        bool ok = RunOneTransfer(&receiver, request);
        start = Sample();
        for (int i = 2; ok && i <= kTransfers; ++i) {
            ok = RunOneTransfer(&receiver, request);
            if (i == kTransfers / 2)
                half = Sample();
        }
        end = Sample();
        if (!ok) {
            state.SkipWithError("a transfer of the soak failed");
            break;
        }
        state.SetIterationTime(static_cast<double>(clock.elapsed()) / 1000.0);
    }
    const long long rssGrowth = end.rssKib - start.rssKib;
    const int fdGrowth = end.fds - start.fds;
    state.counters["transfers"] = kTransfers;
    state.counters["rss_start_kib"] = static_cast<double>(start.rssKib);
    state.counters["rss_100_kib"] = static_cast<double>(half.rssKib);
    state.counters["rss_200_kib"] = static_cast<double>(end.rssKib);
    state.counters["rss_growth_kib"] = static_cast<double>(rssGrowth);
    state.counters["fds_start"] = start.fds;
    state.counters["fds_100"] = half.fds;
    state.counters["fds_200"] = end.fds;
    state.counters["fds_growth"] = fdGrowth;
    const bool met = fdGrowth <= 0 && rssGrowth <= kRssSlackKib;
    state.SetLabel(QStringLiteral("%1 transfers: RSS %2 / %3 / %4 KiB (growth %5), fds %6 / %7 / %8 (growth %9), "
                                  "target no fd growth and RSS within %10 KiB %11")
                       .arg(kTransfers)
                       .arg(start.rssKib)
                       .arg(half.rssKib)
                       .arg(end.rssKib)
                       .arg(rssGrowth)
                       .arg(start.fds)
                       .arg(half.fds)
                       .arg(end.fds)
                       .arg(fdGrowth)
                       .arg(kRssSlackKib)
                       .arg(met ? QStringLiteral("met") : QStringLiteral("MISSED"))
                       .toStdString());
}
BENCHMARK(BM_SoakTransfers)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

} // namespace
