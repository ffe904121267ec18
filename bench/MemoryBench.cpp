// Peak resident memory of glyphane-cli's info and invert on a 16000 x 16000
// 1-bit file (32 MB), each run as a child process whose own peak comes from
// wait4's resource usage. Beside it: the file's size, the peak of a command
// that opens no picture ("models"), and the bound the figure is held to
// (100 MiB for info, 3 x the file's size for invert).
#include "support/OneBitBmp.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

constexpr int kSide = 16000;
constexpr const char* kPeakOption = "--peak-rss-of";

struct ChildRun {
    bool ok = false;
    double peakMiB = 0;
    double seconds = 0;
};

// The command runs under a fresh, small copy of this program (see
// RunAndReportPeak): Linux keeps the larger of the peaks before and after
// exec, and a child started straight from the benchmark would carry the
// benchmark's own pictures in its figure.
ChildRun RunCli(const std::vector<std::string>& args)
{
    std::vector<std::string> all{"/proc/self/exe", kPeakOption, GLYPHANE_BENCH_CLI};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    int fds[2];
    if (pipe(fds) != 0)
        return {};
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    ChildRun run;
    pid_t pid = 0;
    const auto start = std::chrono::steady_clock::now();
    const bool spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0;
    close(fds[1]);
    std::string report;
    char buffer[64];
    for (ssize_t n; spawned && (n = read(fds[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, static_cast<size_t>(n));
    close(fds[0]);
    int status = 0;
    if (spawned && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        run.ok = true;
        run.peakMiB = std::atof(report.c_str()) / 1024.0;
    }
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

// The picture, written once for both rows.
const QString& BigFile()
{
    static QTemporaryDir folder;
    static const QString path = folder.filePath(QStringLiteral("big-1bit.bmp"));
    static const bool written = onebit::Write(path, kSide, kSide);
    static const QString none;
    return written ? path : none;
}

void CliPeak(benchmark::State& state, const std::vector<std::string>& extra, double limitMiB, bool limitIsFileMultiple)
{
    const QString& path = BigFile();
    if (path.isEmpty()) {
        state.SkipWithError("the 16000 x 16000 file could not be written");
        return;
    }
    const double fileMiB = static_cast<double>(QFileInfo(path).size()) / (1024.0 * 1024.0);
    std::vector<std::string> args{extra.front(), path.toStdString()};
    for (size_t i = 1; i < extra.size(); ++i)
        args.push_back(QFileInfo(path).dir().filePath(QString::fromStdString(extra[i])).toStdString());
    ChildRun worst;
    for (auto _ : state) {
        const ChildRun run = RunCli(args);
        if (!run.ok) {
            state.SkipWithError("glyphane-cli failed");
            return;
        }
        state.SetIterationTime(run.seconds);
        worst.peakMiB = std::max(worst.peakMiB, run.peakMiB);
    }
    const ChildRun idle = RunCli({"models"});
    const double limit = limitIsFileMultiple ? limitMiB * fileMiB : limitMiB;
    state.counters["peak_MiB"] = worst.peakMiB;
    state.counters["limit_MiB"] = limit;
    state.counters["peak/limit"] = worst.peakMiB / limit;
    state.counters["file_MiB"] = fileMiB;
    state.counters["models_MiB"] = idle.peakMiB;
}

void BM_CliInfoPeakMemory(benchmark::State& state)
{
    CliPeak(state, {"info"}, 100.0, false);
}
BENCHMARK(BM_CliInfoPeakMemory)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_CliInvertPeakMemory(benchmark::State& state)
{
    CliPeak(state, {"invert", "inverted.bmp"}, 3.0, true);
}
BENCHMARK(BM_CliInvertPeakMemory)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

namespace bench {

// "--peak-rss-of PROGRAM ARGS...": runs the program with its output discarded
// and prints its peak resident memory in KiB; exits 1 when it failed. Called
// before anything else in main, while this process is still small.
bool RunAndReportPeak(int argc, char** argv, int* exitCode)
{
    if (argc < 3 || std::string(argv[1]) != kPeakOption)
        return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    int status = 0;
    rusage usage{};
    *exitCode = 1;
    if (posix_spawn(&pid, argv[2], &actions, nullptr, argv + 2, environ) == 0 && wait4(pid, &status, 0, &usage) == pid
        && WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        std::printf("%ld\n", usage.ru_maxrss); // KiB on Linux
        *exitCode = 0;
    }
    posix_spawn_file_actions_destroy(&actions);
    return true;
}

} // namespace bench
