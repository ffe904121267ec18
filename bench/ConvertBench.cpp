// The conversion to black and white beside Pillow's convert('1') on the same
// pixels, measured in the same run: Pillow through Debian's /usr/bin/python3
// (python3-pil), timed inside Python so its start-up is not counted. Both
// figures are medians of the converting thread's processor time; the ratio
// is Pillow's time over Glyphane's.
#include "BenchImages.h"
#include "BenchReferences.h"
#include "document/GlyphaneDoc.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

// The in-process conversion of a side x side colour picture; each run starts
// from the colours (the copy is not timed).
void BM_ConvertVsPillow(benchmark::State& state)
{
    const int side = static_cast<int>(state.range(0));
    const QImage colours = bench::RandomColours(side, side);
    CGlyphaneDoc doc(bench::ProgramFolderEnvironment());
    doc.Picture().SetLogoSize(side, side);
    std::vector<double> times;
    for (auto _ : state) {
        doc.Picture().AttachLogoBitmap(colours);
        doc.Picture().GetLogoBitmap()->detach();
        const double start = bench::ThreadSeconds();
        doc.ConvertToBlackWhite(side, side, 128);
        const double took = bench::ThreadSeconds() - start;
        benchmark::DoNotOptimize(doc.Picture().GetLogoBitmap()->constBits());
        state.SetIterationTime(took);
        times.push_back(took * 1000.0);
    }
    const double ours = bench::MedianOf(times);
    state.counters["glyphane_ms"] = ours;
    state.counters["ns_per_px"] = ours * 1e6 / (static_cast<double>(side) * side);
    QString why;
    const std::optional<double> pillow = bench::PillowConvertMedianMs(colours, static_cast<int>(std::max<size_t>(times.size(), 5)), &why);
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
