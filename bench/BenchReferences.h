#pragma once
// The reference tools the rows measure beside Glyphane, in the same run:
// child processes timed in their processor time (user + system from wait4,
// every thread counted, so a machine busy with other work moves both figures
// alike), ImageMagick from Debian's package only, and Pillow's conversion
// timed inside Debian's /usr/bin/python3.
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

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

namespace bench {

constexpr const char* kImageMagick = "/usr/bin/convert";
constexpr const char* kPython = "/usr/bin/python3";

inline double MedianOf(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

inline double CpuSeconds(const rusage& u)
{
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec)
           + static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1e-6;
}

// The child's processor seconds, or nothing when it could not run or failed.
inline std::optional<double> RunTimed(std::vector<std::string> args)
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

inline bool IsImageMagick()
{
    // /usr/local may hold a stand-in of the same name: only Debian's package counts.
    return access(kImageMagick, X_OK) == 0 && RunTimed({kImageMagick, "-version"}).has_value();
}

inline bool IsPillow()
{
    return RunTimed({kPython, "-c", "import PIL.Image"}).has_value();
}

// Pillow's median time in milliseconds for convert('1') of the picture's
// pixels, timed inside Python so its start-up is not counted; nothing (and
// why) when Pillow cannot be run.
inline std::optional<double> PillowConvertMedianMs(const QImage& colours, int runs, QString* why)
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
    python.start(QString::fromLatin1(kPython),
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

} // namespace bench
