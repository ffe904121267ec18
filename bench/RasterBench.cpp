// Timings of the raster chain a transfer runs and of the conversion of a large
// colour image, and the three 1-bit forms of a picture (printer raster, BMP
// rows, print data). The program itself is not started.
#include "document/BmpFile.h"
#include "document/GlyphaneDoc.h"
#include "document/RasterOps.h"
#include "printer/PrintData.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <random>

namespace {

QImage RandomLogo(int width, int height, bool colour)
{
    std::mt19937 random(7);
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            row[x] = colour ? (0xFF000000u | (random() & 0xFFFFFFu)) : ((random() & 1) ? 0xFFFFFFFFu : 0xFF000000u);
    }
    return image;
}

// Build, centre, frame, store, reverse image, reverse rows, copy, complement:
// a 384 x 240 logo on a 576 x 240 printer.
void BM_PrintRasterChain(benchmark::State& state)
{
    CGlyphaneDoc doc;
    const QImage logo = RandomLogo(384, 240, false);
    doc.AttachLogoBitmap(logo);
    doc.SetLogoSize(384, 240);
    doc.SetDotX(576);
    doc.SetDotY(240);
    for (auto _ : state) {
        const CBufferUC packed = doc.BuildPrintRaster(*doc.GetLogoBitmap());
        const CBufferUC placed = doc.CenterRasterOnPrinter(packed);
        const CBufferUC framed = doc.AddThinFrame(placed, [] { return true; }); // as tall as the printer: asked, answered Yes
        doc.SetPrintRaster(framed);
        doc.ReverseRasterImage();
        doc.ReverseRasterRows();
        const CBufferUC sent = ~doc.GetPrintRaster();
        benchmark::DoNotOptimize(sent.GetpBuf());
    }
    state.SetItemsProcessed(state.iterations() * 384 * 240);
}
BENCHMARK(BM_PrintRasterChain)->Unit(benchmark::kMicrosecond);

// The three 1-bit forms of a 2000 x 2000 colour image: the printer raster,
// the rows of a saved BMP file and the printers' bitmap bits.
void BM_PackRaster(benchmark::State& state)
{
    const QImage colours = RandomLogo(2000, 2000, true);
    for (auto _ : state)
        benchmark::DoNotOptimize(rasterops::PackRows(colours, 2000, 2000).GetpBuf());
    state.SetItemsProcessed(state.iterations() * 2000 * 2000);
}
BENCHMARK(BM_PackRaster)->Unit(benchmark::kMicrosecond);

void BM_PackBmpRows(benchmark::State& state)
{
    const QImage colours = RandomLogo(2000, 2000, true);
    for (auto _ : state)
        benchmark::DoNotOptimize(bmpfile::PackRowsBottomUp(colours, 2000, 2000).constData());
    state.SetItemsProcessed(state.iterations() * 2000 * 2000);
}
BENCHMARK(BM_PackBmpRows)->Unit(benchmark::kMicrosecond);

void BM_PackPrintBits(benchmark::State& state)
{
    const QImage colours = RandomLogo(2000, 2000, true);
    for (auto _ : state)
        benchmark::DoNotOptimize(GetBitmapBits(colours, 2000 * 2000 / 8).GetpBuf());
    state.SetItemsProcessed(state.iterations() * 2000 * 2000);
}
BENCHMARK(BM_PackPrintBits)->Unit(benchmark::kMicrosecond);

// The conversion of a 2000 x 2000 colour image; each run starts from the colours.
void BM_ConvertToBlackWhite(benchmark::State& state)
{
    const QImage colours = RandomLogo(2000, 2000, true);
    CGlyphaneDoc doc;
    doc.SetLogoSize(2000, 2000);
    for (auto _ : state) {
        state.PauseTiming();
        doc.AttachLogoBitmap(colours);
        doc.GetLogoBitmap()->detach();
        state.ResumeTiming();
        doc.ConvertToBlackWhite(2000, 2000, 128);
        benchmark::DoNotOptimize(doc.GetLogoBitmap()->constBits());
    }
    state.SetItemsProcessed(state.iterations() * 2000 * 2000);
}
BENCHMARK(BM_ConvertToBlackWhite)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
