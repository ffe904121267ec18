// The editor's start to its first shown window beside mtPaint's, on a private
// Xvfb display: an X client watches the root window and takes the time at the
// first map of a top-level window, and the program's resident memory at that
// moment. Each run starts from a fresh home and settings folder, and the
// program is stopped once its window is shown. Both programs see a private
// session bus, as on a desktop. Skipped (saying why) without Xvfb, or for
// mtPaint when it is not installed.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// A server started for the whole run that says on a pipe where to reach it
// (Xvfb its display number, dbus-daemon its address); "{fd}" in an argument
// stands for the pipe's end. Stopped when the run ends.
class CReportingServer {
public:
    CReportingServer(const char* program, std::vector<std::string> args)
    {
        if (access(program, X_OK) != 0)
            return;
        int fds[2];
        if (pipe(fds) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        args.insert(args.begin(), program);
        std::vector<char*> argv;
        for (std::string& a : args) {
            if (const size_t at = a.find("{fd}"); at != std::string::npos)
                a.replace(at, 4, std::to_string(fds[1]));
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        const bool started = posix_spawn(&m_pid, program, &actions, nullptr, argv.data(), environ) == 0;
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        char report[512] = {};
        pollfd p{fds[0], POLLIN, 0};
        if (started && poll(&p, 1, 10000) == 1 && read(fds[0], report, sizeof report - 1) > 0)
            m_report = QByteArray(report).trimmed().toStdString();
        close(fds[0]);
    }
    ~CReportingServer()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
    }
    CReportingServer(const CReportingServer&) = delete;
    CReportingServer& operator=(const CReportingServer&) = delete;

    // What the server reported, empty when it did not start or say.
    const std::string& Report() const { return m_report; }

private:
    pid_t m_pid = -1;
    std::string m_report;
};

// A private Xvfb server, started on the first free display it finds itself.
class CPrivateDisplay {
public:
    CPrivateDisplay()
        : m_server("/usr/bin/Xvfb", {"-displayfd", "{fd}", "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                                     "-noreset"}) // no reset when the last program leaves
    {
        if (!m_server.Report().empty())
            m_display = ":" + m_server.Report();
        else
            m_why = access("/usr/bin/Xvfb", X_OK) == 0 ? "Xvfb did not report its display" : "Xvfb is not installed";
    }

    const std::string& Name() const { return m_display; }
    const std::string& Why() const { return m_why; }

private:
    CReportingServer m_server;
    std::string m_display;
    std::string m_why;
};

CPrivateDisplay& Display()
{
    static CPrivateDisplay display;
    return display;
}

// A private session bus, as a desktop session has one. Without any, every Qt
// program's accessibility bridge waits while the bus library tries to start
// one for the display (it forks the program to run dbus-launch), a cost no
// desktop user pays.
CReportingServer& SessionBus()
{
    static CReportingServer bus("/usr/bin/dbus-daemon", {"--session", "--nofork", "--print-address={fd}"});
    return bus;
}

struct StartRun {
    double ms = 0;
    double residentMiB = 0;
};

double ResidentMiB(pid_t pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

// Starts the program and waits (up to 20 s) for the first map of a window
// straight under the root; the program is then stopped.
std::optional<StartRun> TimeStart(const std::string& display, const std::vector<std::string>& command,
                                  const std::vector<std::string>& extraEnv)
{
    xcb_connection_t* x = xcb_connect(display.c_str(), nullptr);
    if (xcb_connection_has_error(x)) {
        xcb_disconnect(x);
        return std::nullopt;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
    free(xcb_get_input_focus_reply(x, xcb_get_input_focus(x), nullptr)); // the mask is in place before the start

    QTemporaryDir home;
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry(*e);
        if (entry.rfind("DISPLAY=", 0) != 0 && entry.rfind("QT_QPA_PLATFORM=", 0) != 0 && entry.rfind("HOME=", 0) != 0
            && entry.rfind("XDG_CONFIG_HOME=", 0) != 0 && entry.rfind("DBUS_SESSION_BUS_ADDRESS=", 0) != 0)
            env.push_back(entry);
    }
    if (!SessionBus().Report().empty())
        env.push_back("DBUS_SESSION_BUS_ADDRESS=" + SessionBus().Report());
    env.push_back("DISPLAY=" + display);
    env.push_back("HOME=" + home.path().toStdString());
    env.push_back("XDG_CONFIG_HOME=" + home.filePath(QStringLiteral(".config")).toStdString());
    for (const std::string& e : extraEnv)
        env.push_back(e);
    std::vector<char*> envp, argv;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> args = command;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, home.path().toLocal8Bit().constData());
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const auto start = Clock::now();
    const bool spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0;
    posix_spawn_file_actions_destroy(&actions);
    std::optional<StartRun> run;
    while (spawned) {
        pollfd p{xcb_get_file_descriptor(x), POLLIN, 0};
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(start + std::chrono::seconds(20) - Clock::now());
        xcb_generic_event_t* event = xcb_poll_for_event(x);
        if (!event) {
            if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0)
                break;
            continue;
        }
        const bool mapped = (event->response_type & 0x7F) == XCB_MAP_NOTIFY
                            && reinterpret_cast<xcb_map_notify_event_t*>(event)->event == root;
        free(event);
        if (mapped) {
            run = StartRun{std::chrono::duration<double, std::milli>(Clock::now() - start).count(), ResidentMiB(pid)};
            break;
        }
    }
    if (spawned) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    xcb_disconnect(x);
    return run;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

void BM_EditorStartVsMtPaint(benchmark::State& state)
{
    CPrivateDisplay& display = Display();
    if (display.Name().empty()) {
        state.SkipWithError(("start benchmark skipped: " + display.Why()).c_str());
        return;
    }
    // The build's defaults as this run's only settings file: the user's own is neither read nor changed.
    QTemporaryDir settings;
    const QString ini = settings.filePath(QStringLiteral("settings.ini"));
    QFile::copy(QStringLiteral(GLYPHANE_BENCH_EDITOR_DIR "/glyphane-defaults.ini"), ini);
    const std::vector<std::string> editorEnv{"QT_QPA_PLATFORM=xcb", "GLYPHANE_SETTINGS=" + ini.toStdString()};
    const bool haveMtPaint = access("/usr/bin/mtpaint", X_OK) == 0;
    std::vector<double> ours, oursMiB, theirs, theirsMiB;
    for (auto _ : state) {
        const std::optional<StartRun> run = TimeStart(display.Name(), {GLYPHANE_BENCH_EDITOR_DIR "/glyphane"}, editorEnv);
        if (!run) {
            state.SkipWithError("the editor showed no window within 20 s");
            return;
        }
        state.SetIterationTime(run->ms / 1000.0);
        ours.push_back(run->ms);
        oursMiB.push_back(run->residentMiB);
        if (haveMtPaint) {
            if (const std::optional<StartRun> peer = TimeStart(display.Name(), {"/usr/bin/mtpaint"}, {})) {
                theirs.push_back(peer->ms);
                theirsMiB.push_back(peer->residentMiB);
            }
        }
    }
    state.counters["glyphane_ms"] = Median(ours);
    state.counters["glyphane_MiB"] = Median(oursMiB);
    if (theirs.empty()) {
        state.SetLabel(haveMtPaint ? "mtPaint showed no window" : "mtPaint row skipped: mtpaint is not installed");
        return;
    }
    if (SessionBus().Report().empty())
        state.SetLabel("no session bus (dbus-daemon is not installed): the editor waits for the bus library's own attempt");
    state.counters["mtpaint_ms"] = Median(theirs);
    state.counters["mtpaint_MiB"] = Median(theirsMiB);
    state.counters["mtpaint/glyphane"] = Median(theirs) / Median(ours);
}
BENCHMARK(BM_EditorStartVsMtPaint)->Iterations(15)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
