// The conversion to black and white beside Pillow's convert('1') on the same
// pixels, measured in the same run: Pillow through Debian's /usr/bin/python3
// (python3-pil), timed inside Python so its start-up is not counted. Both
// figures are medians of the converting thread's processor time; the ratio
// is Pillow's time over Glyphane's.
#include "BenchImages.h"
#include "document/GlyphaneDoc.h"

#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

// Pillow's median time in milliseconds for the conversion of the picture, or
// nothing (and why) when Pillow cannot be run.
std::optional<double> PillowMedianMs(const QImage& colours, int runs, QString* why)
{
    QTemporaryDir folder;
    QFile raw(folder.filePath(QStringLiteral("pixels.rgb")));
    if (!raw.open(QIODevice::WriteOnly)) {
        *why = QStringLiteral("cannot write the pixels for Pillow");
        return std::nullopt;
    }
    for (int y = 0; y < colours.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(colours.constScanLine(y));
        QByteArray rgb(colours.width() * 3, '\0');
        for (int x = 0; x < colours.width(); ++x) {
            rgb[3 * x] = static_cast<char>(qRed(row[x]));
            rgb[3 * x + 1] = static_cast<char>(qGreen(row[x]));
            rgb[3 * x + 2] = static_cast<char>(qBlue(row[x]));
        }
        raw.write(rgb);
    }
    raw.close();
    static const char* kScript = R"(
import sys, time
from PIL import Image
w, h, runs, path = int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
image = Image.frombytes('RGB', (w, h), open(path, 'rb').read())
times = []
for _ in range(runs):
    start = time.thread_time()
    image.convert('1')
    times.append(time.thread_time() - start)
times.sort()
print(times[len(times) // 2] * 1000.0)
)";
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"), QString::fromLatin1(kScript), QString::number(colours.width()),
                  QString::number(colours.height()), QString::number(runs), raw.fileName()});
    if (!python.waitForFinished(300000) || python.exitStatus() != QProcess::NormalExit || python.exitCode() != 0) {
        const QByteArray err = python.readAllStandardError();
        *why = err.contains("No module named") ? QStringLiteral("python3-pil is not installed")
                                               : QStringLiteral("/usr/bin/python3 did not run: %1")
                                                     .arg(QString::fromLocal8Bit(err).trimmed().section('\n', -1));
        return std::nullopt;
    }
    bool ok = false;
    const double ms = QString::fromLatin1(python.readAllStandardOutput()).trimmed().toDouble(&ok);
    if (!ok) {
        *why = QStringLiteral("Pillow's figure could not be read");
        return std::nullopt;
    }
    return ms;
}

// The in-process conversion of a side x side colour picture; each run starts
// from the colours (the copy is not timed).
void BM_ConvertVsPillow(benchmark::State& state)
{
    const int side = static_cast<int>(state.range(0));
    const QImage colours = bench::RandomColours(side, side);
    CGlyphaneDoc doc(bench::ProgramFolderEnvironment());
    doc.SetLogoSize(side, side);
    std::vector<double> times;
    for (auto _ : state) {
        doc.AttachLogoBitmap(colours);
        doc.GetLogoBitmap()->detach();
        const double start = bench::ThreadSeconds();
        doc.ConvertToBlackWhite(side, side, 128);
        const double took = bench::ThreadSeconds() - start;
        benchmark::DoNotOptimize(doc.GetLogoBitmap()->constBits());
        state.SetIterationTime(took);
        times.push_back(took * 1000.0);
    }
    const double ours = Median(times);
    state.counters["glyphane_ms"] = ours;
    state.counters["ns_per_px"] = ours * 1e6 / (static_cast<double>(side) * side);
    QString why;
    const std::optional<double> pillow = PillowMedianMs(colours, static_cast<int>(std::max<size_t>(times.size(), 5)), &why);
    if (pillow) {
        state.counters["pillow_ms"] = *pillow;
        state.counters["pillow/glyphane"] = *pillow / ours;
    } else {
        state.SetLabel(("Pillow row skipped: " + why).toStdString());
    }
    state.SetItemsProcessed(state.iterations() * side * side);
}
BENCHMARK(BM_ConvertVsPillow)->Arg(2000)->Arg(6000)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
