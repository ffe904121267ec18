#include "app/CliSend.h"

#include "app/GlyphaneApp.h"
#include "components/Conversioni.h"
#include "components/SComAm.h"
#include "document/GlyphaneDoc.h"
#include "platform/PostedMessage.h"
#include "transfer/TransferJob.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <atomic>
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
    explicit CTransferReporter(QTextStream& err)
        : m_err(err)
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
        m_err << QStringLiteral("sent %1% (%2 of %3 bytes), %4 bytes/s")
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
    const CTransferJob* m_job = nullptr;
    QElapsedTimer m_sinceLine;
    bool m_shown = false;
    qint64 m_lastShown = -1;
};

} // namespace

bool DetectPrinter(const QString& port, QString* model, QString* cfgFile, QString* reason)
{
    const CLoadCfgPrnFile* list = GetApp()->GetStartupPrinterCfg();
    if (!list || list->GetPrintersToTestCount() == 0) {
        *reason = QStringLiteral("the printers-to-test list is not loaded");
        return false;
    }
    std::vector<BYTE> ids;
    for (int i = 0; i < list->GetPrintersToTestCount(); ++i) {
        BYTE id = 0;
        list->GetOptionPrintersToTest(i, nullptr, &id, nullptr, nullptr);
        ids.push_back(id);
    }
    CsComAm serial;
    if (!serial.InitThisObject(nullptr, port, 1, QString(), list)) {
        *reason = QStringLiteral("%1 cannot be opened: %2").arg(port, serial.LastErrorText());
        return false;
    }
    int index = -1;
    const BYTE flow = static_cast<BYTE>(GetApp()->GetAppCfg()->GetAutoBaudRateFlow() & 0xFF);
    serial.GetStatusPrinter(0);
    const bool found = serial.PubAutodetectBaudRateLightType(ids.data(), static_cast<BYTE>(std::min<size_t>(ids.size(), 255)),
                                                             &index, nullptr, 0, 0, flow, WM_PORT_STATUS);
    serial.DeInitializePort();
    QString text;
    if (!found || !list->GetOptionPrintersToTest(index, nullptr, nullptr, nullptr, &text)
        || !CConversioni::BreakString(text, QLatin1Char('|'), model, cfgFile)) {
        *reason = QStringLiteral("no printer answered on %1").arg(port);
        return false;
    }
    return true;
}

bool RunTransfer(CGlyphaneDoc& doc, const CSendJob& job, QTextStream& err, QString* reason)
{
    CTransferFlags flags;
    flags.printerDetected = job.printerDetected;
    CTransferRequest request = MakeTransferRequest(doc, job.kind, job.slot, job.options, flags);
    request.presetBaud = job.baud != 0 ? job.baud : 9600;

    CTransferReporter reporter(err);
    QEventLoop loop;
    CTransferOutcome outcome;
    // A command line has no wait box: the wait is a plain pause.
    CTransferJob transfer(&reporter, nullptr, [](bool, int ms, std::function<void()> done) {
        QTimer::singleShot(ms, [done = std::move(done)] { done(); });
    });
    reporter.SetJob(&transfer);

    g_interrupted = false;
    auto* previous = std::signal(SIGINT, OnInterrupt);
    QTimer interruptWatch;
    QObject::connect(&interruptWatch, &QTimer::timeout, [&] {
        if (g_interrupted.exchange(false)) {
            err << "stopping before the next block\n";
            err.flush();
            transfer.RequestStop();
        }
    });
    interruptWatch.start(50);
    transfer.Start(std::move(request), [&](const CTransferOutcome& result) {
        outcome = result;
        loop.quit();
    });
    loop.exec();
    std::signal(SIGINT, previous);
    reporter.ShowFinal();

    // A printer that refused the logo after the transfer began is a failure
    // here, though the job itself ends well once the operator has been told.
    if (outcome.result == 1 && outcome.failure.isEmpty())
        return true;
    *reason = outcome.failure.isEmpty() ? QStringLiteral("the printer did not take the logo") : outcome.failure;
    return false;
}

} // namespace cli
