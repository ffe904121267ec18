// The whole "convert" command, start to written file, beside ImageMagick's
// Floyd-Steinberg conversion of the same 2000 x 2000 colour BMP to a 1-bit
// BMP, both run as child processes in the same run. Timed in the children's
// processor time (user + system from wait4), so a machine busy with other
// work moves both figures alike. Skipped, saying why, without ImageMagick
// (Debian's /usr/bin/convert; `make bench` installs it).
#include "BenchImages.h"
#include "BenchReferences.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kSide = 2000;

void BM_ConvertCommandVsImageMagick(benchmark::State& state)
{
    QTemporaryDir folder;
    const std::string in = folder.filePath(QStringLiteral("colours.bmp")).toStdString();
    const std::string ours = folder.filePath(QStringLiteral("glyphane.bmp")).toStdString();
    const std::string theirs = folder.filePath(QStringLiteral("imagemagick.bmp")).toStdString();
    if (!bench::RandomColours(kSide, kSide).save(QString::fromStdString(in), "BMP")) {
        state.SkipWithError("the colour picture could not be written");
        return;
    }
    std::vector<double> ourTimes;
    for (auto _ : state) {
        const std::optional<double> took = bench::RunTimed({GLYPHANE_BENCH_CLI, "convert", in, ours});
        if (!took) {
            state.SkipWithError("glyphane-cli convert failed");
            return;
        }
        state.SetIterationTime(*took);
        ourTimes.push_back(*took * 1000.0);
    }
    const double oursMs = bench::MedianOf(ourTimes);
    state.counters["glyphane_ms"] = oursMs;
    if (!bench::IsImageMagick()) {
        state.SetLabel("ImageMagick row skipped: imagemagick is not installed");
        return;
    }
    std::vector<double> theirTimes;
    for (size_t i = 0; i < std::max<size_t>(ourTimes.size(), 3); ++i) {
        const std::optional<double> took = bench::RunTimed(
            {bench::kImageMagick, in, "-dither", "FloydSteinberg", "-monochrome", "BMP3:" + theirs});
        if (!took) {
            state.SetLabel("ImageMagick row skipped: its convert failed");
            return;
        }
        theirTimes.push_back(*took * 1000.0);
    }
    const double theirsMs = bench::MedianOf(theirTimes);
    state.counters["imagemagick_ms"] = theirsMs;
    state.counters["imagemagick/glyphane"] = theirsMs / oursMs;
}
BENCHMARK(BM_ConvertCommandVsImageMagick)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
