// The whole "convert" command, start to written file, beside ImageMagick's
// Floyd-Steinberg conversion of the same 2000 x 2000 colour BMP to a 1-bit
// BMP, both run as child processes in the same run. Timed in the children's
// processor time (user + system from wait4), so a machine busy with other
// work moves both figures alike. Skipped, saying why, without ImageMagick
// (Debian's /usr/bin/convert; `make bench` installs it).
#include "BenchImages.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <fcntl.h>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

constexpr int kSide = 2000;
constexpr const char* kImageMagick = "/usr/bin/convert";

double CpuSeconds(const rusage& u)
{
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec)
           + static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1e-6;
}

// The child's processor seconds, or nothing when it could not run or failed.
std::optional<double> RunTimed(std::vector<std::string> args)
{
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    int status = 0;
    rusage usage{};
    std::optional<double> seconds;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0 && wait4(pid, &status, 0, &usage) == pid
        && WIFEXITED(status) && WEXITSTATUS(status) == 0)
        seconds = CpuSeconds(usage);
    posix_spawn_file_actions_destroy(&actions);
    return seconds;
}

double MedianOf(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

bool IsImageMagick()
{
    // /usr/local may hold a stand-in of the same name: only Debian's package counts.
    return access(kImageMagick, X_OK) == 0 && RunTimed({kImageMagick, "-version"}).has_value();
}

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
        const std::optional<double> took = RunTimed({GLYPHANE_BENCH_CLI, "convert", in, ours});
        if (!took) {
            state.SkipWithError("glyphane-cli convert failed");
            return;
        }
        state.SetIterationTime(*took);
        ourTimes.push_back(*took * 1000.0);
    }
    const double oursMs = MedianOf(ourTimes);
    state.counters["glyphane_ms"] = oursMs;
    if (!IsImageMagick()) {
        state.SetLabel("ImageMagick row skipped: imagemagick is not installed");
        return;
    }
    std::vector<double> theirTimes;
    for (size_t i = 0; i < std::max<size_t>(ourTimes.size(), 3); ++i) {
        const std::optional<double> took = RunTimed(
            {kImageMagick, in, "-dither", "FloydSteinberg", "-monochrome", "BMP3:" + theirs});
        if (!took) {
            state.SetLabel("ImageMagick row skipped: its convert failed");
            return;
        }
        theirTimes.push_back(*took * 1000.0);
    }
    const double theirsMs = MedianOf(theirTimes);
    state.counters["imagemagick_ms"] = theirsMs;
    state.counters["imagemagick/glyphane"] = theirsMs / oursMs;
}
BENCHMARK(BM_ConvertCommandVsImageMagick)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
