// Timings of the raster chain a transfer runs, beside a memcpy of its source
// image, and of the three 1-bit forms of a picture (printer raster, BMP rows,
// print data). The program itself is not started.
#include "BenchImages.h"
#include "document/BmpFile.h"
#include "document/GlyphaneDoc.h"
#include "document/RasterOps.h"
#include "platform/UiSeam.h"
#include "printer/PrintData.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

// Build, centre, frame, store, reverse image, reverse rows, copy, complement:
// a 384 x 240 logo on a 576 x 240 printer. Each iteration also copies the
// logo's 32-bit pixels with memcpy, timed apart, so the row shows the chain
// beside the plain copy of its source in the same run (both in the thread's
// processor time).
void BM_PrintRasterChain(benchmark::State& state)
{
    CGlyphaneDoc doc(bench::ProgramFolderEnvironment());
    const QImage logo = bench::RandomLogo(384, 240, false);
    doc.Picture().AttachLogoBitmap(logo);
    doc.Picture().SetLogoSize(384, 240);
    doc.Binding().SetDotX(576);
    doc.Binding().SetDotY(240);
    const QImage& source = *doc.Picture().GetLogoBitmap();
    std::vector<uchar> copy(static_cast<size_t>(source.sizeInBytes()));
    double chain = 0, memcpyTime = 0;
    for (auto _ : state) {
        const double start = bench::ThreadSeconds();
        const CBufferUC packed = doc.Raster().BuildPrintRaster(source);
        const CBufferUC placed = doc.Raster().CenterRasterOnPrinter(packed);
        const CBufferUC framed = doc.Raster().AddThinFrame(placed, [] { return true; }); // as tall as the printer: asked, answered Yes
        doc.Raster().SetPrintRaster(framed);
        doc.Raster().ReverseRasterImage();
        doc.Raster().ReverseRasterRows();
        const CBufferUC sent = ~doc.Raster().GetPrintRaster();
        benchmark::DoNotOptimize(sent.GetpBuf());
        const double middle = bench::ThreadSeconds();
        std::memcpy(copy.data(), source.constBits(), copy.size());
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
        const double end = bench::ThreadSeconds();
        chain += middle - start;
        memcpyTime += end - middle;
        state.SetIterationTime(middle - start);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["chain_us"] = chain * 1e6 / n;
    state.counters["memcpy_us"] = memcpyTime * 1e6 / n;
    state.counters["x_memcpy"] = chain / memcpyTime;
    state.SetItemsProcessed(state.iterations() * 384 * 240);
}
BENCHMARK(BM_PrintRasterChain)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The three 1-bit forms of a 2000 x 2000 colour image: the printer raster,
// the rows of a saved BMP file and the printers' bitmap bits.
void BM_PackRaster(benchmark::State& state)
{
    const QImage colours = bench::RandomLogo(2000, 2000, true);
    for (auto _ : state)
        benchmark::DoNotOptimize(rasterops::PackRows(colours, 2000, 2000).GetpBuf());
    state.SetItemsProcessed(state.iterations() * 2000 * 2000);
}
BENCHMARK(BM_PackRaster)->Unit(benchmark::kMicrosecond);

void BM_PackBmpRows(benchmark::State& state)
{
    const QImage colours = bench::RandomLogo(2000, 2000, true);
    for (auto _ : state)
        benchmark::DoNotOptimize(bmpfile::PackRowsBottomUp(colours, 2000, 2000).constData());
    state.SetItemsProcessed(state.iterations() * 2000 * 2000);
}
BENCHMARK(BM_PackBmpRows)->Unit(benchmark::kMicrosecond);

void BM_PackPrintBits(benchmark::State& state)
{
    const QImage colours = bench::RandomLogo(2000, 2000, true);
    for (auto _ : state)
        benchmark::DoNotOptimize(GetBitmapBits(colours, 2000 * 2000 / 8).GetpBuf());
    state.SetItemsProcessed(state.iterations() * 2000 * 2000);
}
BENCHMARK(BM_PackPrintBits)->Unit(benchmark::kMicrosecond);

} // namespace

namespace bench {
bool RunAndReportPeak(int argc, char** argv, int* exitCode); // MemoryBench.cpp
}

int main(int argc, char** argv)
{
    if (int exitCode = 0; bench::RunAndReportPeak(argc, argv, &exitCode))
        return exitCode;
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    InstallHeadlessUi(); // a message of the program goes to standard error, never to a box
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
