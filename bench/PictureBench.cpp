// Pictures in, beside the tools an operator would otherwise use, measured in
// the same run (bench/BenchReferences.h):
//   BM_ImportVsImageMagickAndPillow: the whole "glyphane-cli import" of a
//     2000 x 2000 PNG to a WGJ33 logo (576 x 240, within the area, Floyd-
//     Steinberg) as a child process, beside ImageMagick's "convert IN -resize
//     576x240 -dither FloydSteinberg -monochrome OUT" and Pillow's open,
//     thumbnail, convert('1'), save in /usr/bin/python3, all in the children's
//     processor time (ratios imagemagick/glyphane and pillow/glyphane);
//   BM_MethodInProcess/<method>: grey and the method on a 2000 x 2000 colour
//     picture in the process's processor time (all its threads: Qt may hand
//     image work to its thread pool); Floyd-Steinberg beside Pillow's
//     convert('1') on the same pixels, every method beside Floyd-Steinberg
//     measured in the same row (x_floyd_steinberg);
//   BM_PreviewUpdate/<method>: the dialog's preview for the 576 x 240 area
//     from a 2000 x 2000 source: the picture drawn for the area, grey, tone,
//     method and the paper strip, in the process's processor time;
//     frame/update is a 60 Hz frame (16.7 ms) over that time, frame/retone
//     the same for a tone or method change, which keeps the drawn picture.
#include "BenchImages.h"
#include "BenchReferences.h"

#include "picture/PictureConversion.h"
#include "transfer/PrinterPreview.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kSide = 2000;
constexpr double kFrameMs = 1000.0 / 60.0;
const QSize kArea(576, 240); // WGJ33

const QImage& Photo()
{
    static const QImage photo = bench::PhotoLike(kSide, kSide);
    return photo;
}

// Runs the child `runs` times; the median processor milliseconds, or nothing.
std::optional<double> MedianChildMs(const std::vector<std::string>& args, size_t runs)
{
    std::vector<double> times;
    for (size_t i = 0; i < runs; ++i) {
        const std::optional<double> took = bench::RunTimed(args);
        if (!took)
            return std::nullopt;
        times.push_back(*took * 1000.0);
    }
    return bench::MedianOf(times);
}

void BM_ImportVsImageMagickAndPillow(benchmark::State& state)
{
    QTemporaryDir folder;
    const std::string in = folder.filePath(QStringLiteral("photo.png")).toStdString();
    const std::string out = folder.filePath(QStringLiteral("out.bmp")).toStdString();
    if (!Photo().save(QString::fromStdString(in), "PNG")) {
        state.SkipWithError("the picture could not be written");
        return;
    }
    std::vector<double> ours;
    for (auto _ : state) {
        const std::optional<double> took = bench::RunTimed({GLYPHANE_BENCH_CLI, "import", in, out, "--model", "WGJ33"});
        if (!took) {
            state.SkipWithError("glyphane-cli import failed");
            return;
        }
        state.SetIterationTime(*took);
        ours.push_back(*took * 1000.0);
    }
    const double oursMs = bench::MedianOf(ours);
    state.counters["glyphane_ms"] = oursMs;
    const size_t runs = std::max<size_t>(ours.size(), 3);
    QStringList skipped;
    if (!bench::IsImageMagick()) {
        skipped << QStringLiteral("imagemagick is not installed");
    } else if (const std::optional<double> ms = MedianChildMs(
                   {bench::kImageMagick, in, "-resize", "576x240", "-dither", "FloydSteinberg", "-monochrome", "BMP3:" + out},
                   runs)) {
        state.counters["imagemagick_ms"] = *ms;
        state.counters["imagemagick/glyphane"] = *ms / oursMs;
    } else {
        skipped << QStringLiteral("ImageMagick's convert failed");
    }
    static const char* kPillow = "import sys\n"
                                 "from PIL import Image\n"
                                 "image = Image.open(sys.argv[1])\n"
                                 "image.thumbnail((576, 240))\n"
                                 "image.convert('1').save(sys.argv[2])\n";
    if (!bench::IsPillow()) {
        skipped << QStringLiteral("python3-pil is not installed");
    } else if (const std::optional<double> ms = MedianChildMs({bench::kPython, "-c", kPillow, in, out}, runs)) {
        state.counters["pillow_ms"] = *ms;
        state.counters["pillow/glyphane"] = *ms / oursMs;
    } else {
        skipped << QStringLiteral("Pillow failed");
    }
    if (!skipped.isEmpty())
        state.SetLabel(("reference skipped: " + skipped.join(QStringLiteral("; "))).toStdString());
}
BENCHMARK(BM_ImportVsImageMagickAndPillow)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

// The grey of the picture and the method, in the process's processor time.
double MethodMs(const QImage& colours, dither::Method method)
{
    const double start = bench::ProcessSeconds();
    QImage dots = picture::GreyOnWhite(colours, picture::ToneTableOf({}));
    dither::Apply(dots, {method, 128, false});
    const double took = bench::ProcessSeconds() - start;
    benchmark::DoNotOptimize(dots.constBits());
    return took * 1000.0;
}

void BM_MethodInProcess(benchmark::State& state)
{
    const dither::CMethodEntry& entry = dither::Methods().at(static_cast<size_t>(state.range(0)));
    state.SetLabel(entry.name);
    std::vector<double> times, floydSteinberg;
    for (auto _ : state) {
        const double ms = MethodMs(Photo(), entry.method);
        state.SetIterationTime(ms / 1000.0);
        times.push_back(ms);
        floydSteinberg.push_back(MethodMs(Photo(), dither::Method::FloydSteinberg));
    }
    const double ours = bench::MedianOf(times);
    state.counters["glyphane_ms"] = ours;
    state.counters["x_floyd_steinberg"] = ours / bench::MedianOf(floydSteinberg);
    if (entry.method != dither::Method::FloydSteinberg)
        return;
    QString why;
    if (const std::optional<double> pillow = bench::PillowConvertMedianMs(Photo(), 9, &why)) {
        state.counters["pillow_ms"] = *pillow;
        state.counters["pillow/glyphane"] = *pillow / ours;
    } else {
        state.SetLabel(std::string(entry.name) + "; Pillow skipped: " + why.toStdString());
    }
}
BENCHMARK(BM_MethodInProcess)->DenseRange(0, 9)->Iterations(9)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_PreviewUpdate(benchmark::State& state)
{
    const dither::CMethodEntry& entry = dither::Methods().at(static_cast<size_t>(state.range(0)));
    state.SetLabel(entry.name);
    const picture::CPicture picture = picture::CPicture::FromImage(Photo(), QStringLiteral("photo.png"));
    const dither::CMethodSettings method{entry.method, 128, false};
    std::vector<double> updates, retones;
    int brightness = 0;
    for (auto _ : state) {
        double start = bench::ProcessSeconds();
        picture::CPictureConversion conversion(picture); // drawn afresh, as after a change of printer or fit
        QString why;
        if (!conversion.FitTo(kArea, picture::Fit::Within, picture::Placement::Center, 1, &why)) {
            state.SkipWithError(why.toStdString().c_str());
            return;
        }
        QImage strip = PaperStrip(conversion.Logo({}, method), kArea.width());
        const double update = bench::ProcessSeconds() - start;
        benchmark::DoNotOptimize(strip.constBits());
        start = bench::ProcessSeconds();
        strip = PaperStrip(conversion.Logo({++brightness % 20, 0, 1.0, false}, method), kArea.width());
        const double retone = bench::ProcessSeconds() - start;
        benchmark::DoNotOptimize(strip.constBits());
        state.SetIterationTime(update);
        updates.push_back(update * 1000.0);
        retones.push_back(retone * 1000.0);
    }
    const double update = bench::MedianOf(updates), retone = bench::MedianOf(retones);
    state.counters["update_ms"] = update;
    state.counters["frame/update"] = kFrameMs / update;
    state.counters["retone_ms"] = retone;
    state.counters["frame/retone"] = kFrameMs / retone;
}
BENCHMARK(BM_PreviewUpdate)->DenseRange(0, 9)->Iterations(9)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
