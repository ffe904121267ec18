// glyphane-printer: a printer on a pseudo-terminal, for running the program
// without hardware. Runs until interrupted.
#include "PrinterEmulator.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>
#include <csignal>
#include <thread>

namespace {

volatile std::sig_atomic_t g_stop = 0;

void OnSignal(int)
{
    g_stop = 1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    CEmuOptions options;
    options.dataDir = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../data"));
    QString error;
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    if (args.contains(QStringLiteral("--help"))) {
        QTextStream(stdout) << EmuUsage();
        return 0;
    }
    if (!ParseEmuArguments(args, &options, &error)) {
        err << "glyphane-printer: " << error << "\n" << EmuUsage();
        return 2;
    }
    CPrinterEmulator printer(options);
    if (!printer.Start(&error)) {
        err << "glyphane-printer: " << error << "\n";
        return 1;
    }
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    QTextStream(stdout) << "glyphane-printer: " << options.model << " on " << printer.DevicePath()
                        << (options.linkPath.isEmpty() ? QString() : " linked at " + options.linkPath)
                        << " at " << options.baud << " baud"
                        << (options.lineTime ? " (line time)" : "") << Qt::endl;
    while (!g_stop && !printer.IsDisconnected())
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    printer.Stop();
    return 0;
}
