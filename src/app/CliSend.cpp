#include "app/CliSend.h"

#include "app/CliPrintLogo.h"
#include "app/GlyphaneApp.h"
#include "document/GlyphaneDoc.h"
#include "platform/AtomicFile.h"
#include "platform/PostedMessage.h"
#include "printer/ModelCatalogue.h"
#include "transfer/StoredLogoCommands.h"
#include "transfer/TransferJob.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

#include <atomic>
#include <memory>
#include <csignal>

namespace cli {

namespace {

std::atomic<bool> g_interrupted{false};

extern "C" void OnInterrupt(int)
{
    g_interrupted = true;
}

// Takes the job's posted messages on the command line's one thread and
// prints the progress.
class CTransferReporter : public QObject, public CMessageTarget {
public:
    // prefix: what opens each line ("COM2: " in a batch), may be empty.
    CTransferReporter(QTextStream& err, QString prefix)
        : m_err(err)
        , m_prefix(std::move(prefix))
    {
    }
    void SetJob(const CTransferJob* job) { m_job = job; }
    // The figures once the job has ended: the last block was still on the
    // line when the progress closed.
    void ShowFinal()
    {
        if (m_job && m_shown && m_job->Progress().sentBytes != m_lastShown)
            PrintProgress();
    }

    LPARAM OnPostedMessage(UINT msg, WPARAM, LPARAM) override
    {
        if (msg == WM_PROGRESS_START) {
            m_sinceLine.start();
            m_shown = false;
        } else if (msg == WM_PROGRESS_STEP && m_job && (!m_shown || m_sinceLine.elapsed() >= 500)) {
            PrintProgress();
        } else if (msg == WM_PROGRESS_END && m_job && m_job->Progress().sentBytes != m_lastShown) {
            PrintProgress();
        }
        return 0;
    }

protected:
    bool event(QEvent* e) override
    {
        if (DeliverPostedMessage(this, e))
            return true;
        return QObject::event(e);
    }

private:
    void PrintProgress()
    {
        const CTransferJob::CProgress p = m_job->Progress();
        if (p.totalBytes <= 0)
            return;
        m_lastShown = p.sentBytes;
        const qint64 rate = p.elapsedMs > 0 ? p.sentBytes * 1000 / p.elapsedMs : 0;
        const qint64 left = rate > 0 ? (p.totalBytes - p.sentBytes + rate - 1) / rate : -1;
        m_err << m_prefix << QStringLiteral("sent %1% (%2 of %3 bytes), %4 bytes/s")
                     .arg(p.sentBytes * 100 / p.totalBytes)
                     .arg(p.sentBytes)
                     .arg(p.totalBytes)
                     .arg(rate);
        if (left >= 0)
            m_err << QStringLiteral(", %1 s left").arg(left);
        m_err << "\n";
        m_err.flush();
        m_sinceLine.restart();
        m_shown = true;
    }

    QTextStream& m_err;
    QString m_prefix;
    const CTransferJob* m_job = nullptr;
    QElapsedTimer m_sinceLine;
    bool m_shown = false;
    qint64 m_lastShown = -1;
};

} // namespace

QString DetectionFailure(const CPortFinding& finding)
{
    if (finding.state == ScanState::NoAnswer)
        return QStringLiteral("no printer answered on %1").arg(finding.port);
    return QStringLiteral("%1 cannot be opened: %2").arg(finding.port, finding.detail);
}

bool DetectPrinter(const QString& port, QString* model, QString* cfgFile, QString* reason)
{
    const CScanCatalogue catalogue = ProgramScanCatalogue(GetAppHost());
    if (catalogue.list.GetPrintersToTestCount() == 0) {
        *reason = QStringLiteral("the printers-to-test list is not loaded");
        return false;
    }
    const CPortFinding found = ScanPorts({port}, catalogue).front();
    if (found.state != ScanState::Found) {
        *reason = DetectionFailure(found);
        return false;
    }
    *model = found.model;
    *cfgFile = found.cfgFile;
    return true;
}

namespace {

// One printer's job, its progress lines and its end.
struct CRunningSend {
    CSendTarget* target = nullptr;
    std::unique_ptr<CTransferReporter> reporter;
    std::unique_ptr<CTransferJob> job;
    QElapsedTimer clock;
};

CTransferRequest RequestOf(const CSendTarget& target, const CSendOptions& options)
{
    CTransferFlags flags;
    flags.printerDetected = target.detected;
    CTransferRequest request =
        MakeTransferRequest(GetAppHost(), *target.doc, options.job.kind, options.job.slot, options.job.options, flags);
    request.presetBaud = options.job.baud != 0 ? options.job.baud : 9600;
    request.verifyArea = options.verify;
    request.foundBaud = target.foundBaud;
    return request;
}

void Finish(CSendTarget& target, const CTransferOutcome& outcome, const CTransferJob::CProgress& progress,
            qint64 elapsedMs)
{
    target.seconds = static_cast<double>(elapsedMs) / 1000.0;
    target.bytes = progress.sentBytes;
    target.baud = progress.baud;
    target.verified = outcome.verified;
    // A printer that refused the logo after the transfer began is a failure
    // here, though the job itself ends well once the operator has been told.
    if (outcome.result == 1 && outcome.failure.isEmpty()) {
        target.end = CSendTarget::End::Sent;
        return;
    }
    target.end = outcome.failure == QLatin1String("stopped") ? CSendTarget::End::Unfinished : CSendTarget::End::Failed;
    target.reason = outcome.failure.isEmpty() ? QStringLiteral("the printer did not take the logo") : outcome.failure;
}

// After a Program that a printer cannot give back: it prints the slot, so
// the operator sees what it holds.
void PrintSlot(CSendTarget& target, const CSendOptions& options, QTextStream& err)
{
    CGlyphaneDoc& doc = *target.doc;
    int flash = 1;
    doc.Binding().GetPrinterCfg()->GetOptionPrintersToTest(QStringLiteral("PrnLogoFlash"), &flash, 1);
    doc.Binding().SetPrnLogoFlash(flash);
    const CStoredLogoRequest request = MakeStoredLogoRequest(GetAppHost(), doc, options.job.slot, kWholeLogoMask,
                                                             IsWgj33Model(doc.Binding().GetPrinterModel()), nullptr);
    QString reason;
    target.printed = PrintStoredLogo(request, err, &reason);
    if (!target.printed) {
        target.end = CSendTarget::End::Failed;
        target.reason = QStringLiteral("programmed, but the slot did not print: %1").arg(reason);
    }
}

} // namespace

bool RunSend(std::vector<CSendTarget>& targets, const CSendOptions& options, QTextStream& err)
{
    const bool batch = targets.size() > 1;
    QEventLoop loop;
    std::vector<CRunningSend> running(targets.size());
    size_t ended = 0;
    // A command line has no wait box: the wait is a plain pause.
    const auto plainWait = [](bool, int ms, std::function<void()> done) {
        QTimer::singleShot(ms, [done = std::move(done)] { done(); });
    };
    // Printers that failed before their job (not found, say) are only reported.
    size_t toRun = 0;
    for (size_t i = 0; i < targets.size(); ++i) {
        if (!targets[i].doc || targets[i].end != CSendTarget::End::Unfinished)
            continue;
        CRunningSend& r = running[toRun++];
        r.target = &targets[i];
        r.reporter = std::make_unique<CTransferReporter>(err, batch ? targets[i].port + QStringLiteral(": ") : QString());
        r.job = std::make_unique<CTransferJob>(r.reporter.get(), nullptr, plainWait);
        r.reporter->SetJob(r.job.get());
    }
    running.resize(toRun);
    g_interrupted = false;
    auto* previous = std::signal(SIGINT, OnInterrupt);
    QTimer interruptWatch;
    QObject::connect(&interruptWatch, &QTimer::timeout, [&] {
        if (!g_interrupted.exchange(false))
            return;
        err << "stopping before the next block\n";
        err.flush();
        for (CRunningSend& r : running)
            r.job->RequestStop();
    });
    interruptWatch.start(50);
    for (CRunningSend& r : running) {
        r.clock.start();
        r.job->Start(RequestOf(*r.target, options), [&, rp = &r](const CTransferOutcome& outcome) {
            Finish(*rp->target, outcome, rp->job->Progress(), rp->clock.elapsed());
            if (++ended == running.size())
                loop.quit();
        });
    }
    if (!running.empty())
        loop.exec();
    std::signal(SIGINT, previous);
    for (CRunningSend& r : running)
        r.reporter->ShowFinal();

    bool all = true;
    for (CSendTarget& target : targets) {
        if (target.end == CSendTarget::End::Sent && options.printAfter && options.job.kind == TransferKind::Program
            && !target.verified)
            PrintSlot(target, options, err);
        all = all && target.end == CSendTarget::End::Sent;
    }
    return all;
}

QString SummaryLine(const CSendTarget& target, const CSendOptions& options)
{
    const QString printer = target.doc ? QStringLiteral("%1 %2").arg(target.port, target.doc->Binding().GetPrinterModel()) : target.port;
    switch (target.end) {
    case CSendTarget::End::Sent:
        if (options.job.kind == TransferKind::Test)
            return printer + QStringLiteral(": tested");
        if (target.verified)
            return printer + QStringLiteral(" slot %1: programmed and verified").arg(options.job.slot);
        if (target.printed)
            return printer + QStringLiteral(" slot %1: programmed and printed").arg(options.job.slot);
        return printer + QStringLiteral(" slot %1: programmed").arg(options.job.slot);
    case CSendTarget::End::Failed:
        return printer + QStringLiteral(": failed: ") + target.reason;
    case CSendTarget::End::Unfinished:
        break;
    }
    return printer + QStringLiteral(": unfinished (stopped)");
}

bool WriteSendReport(const QString& path, const std::vector<CSendTarget>& targets, const CSendOptions& options,
                     QString* why)
{
    static const char* const kOutcomes[] = {"unfinished", "failed", "sent"};
    QJsonArray printers;
    for (const CSendTarget& t : targets) {
        QJsonObject o;
        o[QStringLiteral("port")] = t.port;
        o[QStringLiteral("model")] = t.doc ? t.doc->Binding().GetPrinterModel() : QString();
        if (options.job.kind == TransferKind::Program)
            o[QStringLiteral("slot")] = options.job.slot;
        o[QStringLiteral("job")] = options.job.kind == TransferKind::Test ? QStringLiteral("test") : QStringLiteral("program");
        o[QStringLiteral("bytes")] = static_cast<double>(t.bytes);
        o[QStringLiteral("baud")] = static_cast<double>(t.baud);
        o[QStringLiteral("seconds")] = t.seconds;
        o[QStringLiteral("outcome")] = QLatin1String(kOutcomes[static_cast<int>(t.end)]);
        o[QStringLiteral("verified")] = t.verified;
        o[QStringLiteral("reason")] = t.reason;
        printers.append(o);
    }
    const QByteArray json = QJsonDocument(QJsonObject{{QStringLiteral("printers"), printers}}).toJson();
    QString error;
    if (WriteFileAtomically(path, {json}, &error))
        return true;
    *why = QStringLiteral("%1: cannot be written (%2)").arg(path, error);
    return false;
}

} // namespace cli
