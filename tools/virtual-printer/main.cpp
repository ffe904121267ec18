// glyphane-printer: a printer on a pseudo-terminal, for running the program
// without hardware. Runs until interrupted.
#include "PrinterEmulator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>
#include <algorithm>
#include <csignal>
#include <memory>
#include <vector>
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
    // One printer a link, alike but for the link and where its pages go.
    std::vector<CEmuOptions> each{options};
    for (const QString& link : options.moreLinks) {
        CEmuOptions more = options;
        more.linkPath = link;
        each.push_back(more);
    }
    if (each.size() > 1)
        for (CEmuOptions& o : each)
            if (!o.outDir.isEmpty())
                o.outDir = QDir(options.outDir).filePath(QFileInfo(o.linkPath).fileName());
    std::vector<std::unique_ptr<CPrinterEmulator>> printers;
    for (const CEmuOptions& o : each) {
        printers.push_back(std::make_unique<CPrinterEmulator>(o));
        if (!printers.back()->Start(&error)) {
            err << "glyphane-printer: " << error << "\n";
            return 1;
        }
        QTextStream(stdout) << "glyphane-printer: " << o.model << " on " << printers.back()->DevicePath()
                            << (o.linkPath.isEmpty() ? QString() : " linked at " + o.linkPath) << " at " << o.baud
                            << " baud" << (o.lineTime ? " (line time)" : "") << Qt::endl;
    }
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    const auto allGone = [&printers] {
        return std::all_of(printers.begin(), printers.end(), [](const auto& p) { return p->IsDisconnected(); });
    };
    while (!g_stop && !allGone())
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    for (auto& printer : printers)
        printer->Stop();
    return 0;
}
