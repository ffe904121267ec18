#include "transfer/TransferJob.h"

#include "components/LogFile.h"
#include "components/SComAm.h"
#include "dialogs/BaudRateDlg.h"
#include "platform/PostedMessage.h"
#include "platform/ThreadCall.h"
#include "platform/UiSeam.h"
#include "printer/ModelCatalogue.h"
#include "resources/StringTable.h"
#include "components/PComAm.h"
#include "components/UComAm.h"
#include "transfer/FrameQuestion.h"
#include "transfer/ParallelTransfer.h"
#include "transfer/PortStream.h"
#include "transfer/SerialTransfer.h"
#include "transfer/UsbTransfer.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QMetaObject>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>

Q_LOGGING_CATEGORY(lcTransferJob, "glyphane.transfer.job")

namespace {

// A killed worker ends within milliseconds: every call it makes returns on
// the kill. Past this a warning is logged, and it is still waited for, since
// it refers to the job.
constexpr int kKillWarningMs = 5000;

qint64 MsSinceEpoch(std::chrono::steady_clock::time_point t)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(t.time_since_epoch()).count();
}

qint64 NowMs()
{
    return MsSinceEpoch(std::chrono::steady_clock::now());
}

// An answer the worker waits for, given on the user-interface thread.
struct CUiAnswer {
    std::mutex mutex;
    std::condition_variable given;
    bool done = false;
    int value = 0;
    std::atomic<bool> abandoned{false};

    void Give(int answer)
    {
        {
            std::lock_guard<std::mutex> lock(mutex);
            done = true;
            value = answer;
        }
        given.notify_all();
    }
};

} // namespace

CTransferJob::CTransferJob(QObject* receiver, QWidget* owner, ResetWait resetWait)
    : m_receiver(receiver)
    , m_owner(owner)
    , m_resetWait(std::move(resetWait))
{
}

CTransferJob::~CTransferJob()
{
    Kill();
}

void CTransferJob::Start(CTransferRequest request, Finished finished)
{
    m_request = std::move(request);
    m_bRunning = true;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_startedMs = NowMs();
    }
    m_worker = std::thread([this, finished = std::move(finished)] { Run(finished); });
}

void CTransferJob::Kill()
{
    if (!m_worker.joinable())
        return;
    m_kill.Set();
    if (!m_ended.Wait(kKillWarningMs))
        qCWarning(lcTransferJob) << "the transfer worker did not end within" << kKillWarningMs << "ms of the kill";
    m_worker.join();
    m_bRunning = false;
}

void CTransferJob::Run(Finished finished)
{
    CTransferOutcome outcome;
    outcome.flags = m_request.flags;
    outcome.result = TestOrProgRamLogo(outcome);
    outcome.told = m_failureBoxes.load() > 0 || m_bOperatorCancelled.load() || m_stop.IsSet();
    if (outcome.result == 1) {
        // A parallel job leaves "logo in RAM" as its protocol set it.
        if (!m_bProtocolKeepsRamFlag)
            outcome.flags.logoInRam = m_request.kind == TransferKind::Test;
    } else {
        Log(QStringLiteral("CGlyphaneView::ThreadLogo() Error detected during TestOrProgRamLogo() phase..."));
        // The reason, for whoever reads the log after a box-less failure.
        if (!outcome.failure.isEmpty())
            Log(QStringLiteral("CGlyphaneView::ThreadLogo() %1").arg(outcome.failure));
    }
    // What the RAM holds now: the raster this job sent (also when only its
    // after-step failed), or, when it sent none, what it held before.
    if (outcome.flags.logoInRam && outcome.printRaster.GetSize() > 0)
        outcome.flags.ramDigest = RamCopyDigest(m_request, outcome.printRaster);
    if (!outcome.flags.logoInRam)
        outcome.flags.ramDigest.clear();
    m_ended.Set();
    if (m_kill.IsSet())
        return; // the window is going: nobody applies the outcome
    PostCall(m_receiver.data(), [this, finished, outcome] {
        if (m_worker.joinable())
            m_worker.join();
        m_bRunning = false;
        finished(outcome);
    });
}

int CTransferJob::TestOrProgRamLogo(CTransferOutcome& outcome)
{
    const QString& port = m_request.portName;
    if (port.contains(QLatin1String("COM")))
        return SendBySerial(outcome);
    if (port.contains(QLatin1String("LPT")))
        return SendByParallel(outcome);
    return SendByUsb(outcome);
}

int CTransferJob::SendByParallel(CTransferOutcome& outcome)
{
    CTransferRequest& request = m_request;
    CQvPComAm port(request.portName, 15, 30);
    port.SetStopEvents(nullptr, &m_kill);
    CParallelTransfer transfer(request, *this, port);
    int result = 0;
    if (request.flags.logoInRam) {
        result = transfer.SendFromRam();
    } else {
        if (Is80mmPaperWarningModel(request.model))
            Inform(LoadString(61507), LoadString(61446), MB_OK | MB_ICONEXCLAMATION);
        if (IsSelectLineWarningModel(request.model))
            Inform(LoadString(61533), LoadString(61446), MB_OK | MB_ICONEXCLAMATION);
        result = transfer.SendLogoToLpt();
        m_bProtocolKeepsRamFlag = true;
    }
    outcome.flags = transfer.Flags();
    outcome.printRaster = transfer.PreparedRaster();
    outcome.portLost = transfer.PortLost();
    outcome.failure = transfer.Failure();
    return result;
}

int CTransferJob::SendByUsb(CTransferOutcome& outcome)
{
    CQvComAm port;
    port.SetStopEvents(nullptr, &m_kill);
    CUsbTransfer transfer(m_request, *this, port);
    const int result = transfer.Send();
    outcome.printRaster = transfer.PreparedRaster();
    outcome.portLost = transfer.PortLost();
    outcome.failure = transfer.Failure();
    return result;
}

int CTransferJob::SendBySerial(CTransferOutcome& outcome)
{
    CTransferRequest& request = m_request;
    if (IsWgj33Model(request.model))
        request.flags.wgjPrinter = true;
    if (IsMzvzvrxhModel(request.model))
        request.flags.rxhPrinter = true;

    CCsGenericPrn port;
    port.SetStopEvents(nullptr, &m_kill);
    CSerialTransfer transfer(request, *this, port, m_receiver.data());
    int result = 0;
    if (request.flags.logoInRam) {
        result = transfer.SendFromRam();
    } else {
        if (Is80mmPaperWarningModel(request.model))
            Inform(LoadString(61507), LoadString(61446), MB_OK | MB_ICONEXCLAMATION);
        result = transfer.SendLogoToSerial();
    }
    outcome.flags = transfer.Flags();
    outcome.printRaster = transfer.PreparedRaster();
    outcome.portLost = transfer.PortLost();
    outcome.failure = transfer.Failure();
    outcome.verified = transfer.Verified();
    return result;
}

// ---- progress and port state ---------------------------------------------------

CTransferJob::CProgress CTransferJob::Progress() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    CProgress progress = m_progress;
    // One moment for both figures, so bytes a second never run ahead of the line.
    const auto now = std::chrono::steady_clock::now();
    progress.elapsedMs = MsSinceEpoch(now) - m_startedMs;
    // A write returns a block ahead of the line: what is still on its way
    // has not been sent yet, as far as speed and time left go.
    if (progress.baud != 0)
        progress.sentBytes = std::max<qint64>(0, progress.handedBytes - m_lineClock.BytesOnLine(now));
    return progress;
}

QString CTransferJob::SerialSettings() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_strSerialSettings;
}

void CTransferJob::ProgressStart(int steps, qint64 totalBytes, DWORD baud)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_progress = CProgress{};
        m_progress.totalBytes = totalBytes;
        m_progress.baud = baud;
        m_progress.plannedSteps = steps;
        m_lineClock = CSerialLineClock();
        m_lineClock.SetBaud(baud);
        m_startedMs = NowMs();
    }
    PostMessage(m_receiver.data(), WM_PROGRESS_START, 0, steps);
}

void CTransferJob::ProgressStep(qint64 bytes, int steps)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_progress.handedBytes += bytes;
        m_progress.sentBytes = m_progress.handedBytes;
        if (m_progress.baud != 0)
            m_lineClock.Wrote(static_cast<int>(bytes));
        m_progress.stepsDone += steps;
        ++m_progress.stepMessages;
    }
    PostMessage(m_receiver.data(), WM_PROGRESS_STEP, static_cast<WPARAM>(steps), 0);
}

void CTransferJob::PostStopSend()
{
    PostMessage(m_receiver.data(), WM_STOP_SEND, 0, 0);
}

void CTransferJob::ProgressEnd()
{
    PostMessage(m_receiver.data(), WM_PROGRESS_END, 0, 0);
}

void CTransferJob::PortStatus(bool open, const QString& settings)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_strSerialSettings = open ? settings : QString();
    }
    PostMessage(m_receiver.data(), WM_PORT_STATUS, 0, open ? 1 : 0);
}

void CTransferJob::Log(const QString& line)
{
    if (m_request.appLog)
        m_request.appLog->LogToFile(line, 0);
}

// ---- questions on the user-interface thread ------------------------------------

int CTransferJob::AwaitUi(std::function<void(std::function<void(int)>)> start, int onKill)
{
    if (m_kill.IsSet() || !m_receiver)
        return onKill;
    auto answer = std::make_shared<CUiAnswer>();
    PostCall(m_receiver.data(), [answer, start = std::move(start)] {
        if (!answer->abandoned)
            start([answer](int value) { answer->Give(value); });
    });
    std::unique_lock<std::mutex> lock(answer->mutex);
    while (!answer->done) {
        if (m_kill.IsSet()) {
            answer->abandoned = true;
            return onKill;
        }
        answer->given.wait_for(lock, std::chrono::milliseconds(20));
    }
    return answer->value;
}

int CTransferJob::CallUi(std::function<int()> work, int onKill)
{
    return AwaitUi([work = std::move(work)](std::function<void(int)> give) { give(work()); }, onKill);
}

int CTransferJob::Message(const QString& text, const QString& caption, UINT flags)
{
    ++m_failureBoxes;
    if (m_bQuiet) {
        Log(QStringLiteral("[%1] %2").arg(caption, text));
        return (flags & MB_YESNO) ? IDYES : IDOK;
    }
    return CallUi([this, text, caption, flags] { return MessageBox(m_owner, text, caption, flags); }, 0);
}

void CTransferJob::Inform(const QString& text, const QString& caption, UINT flags)
{
    if (m_bQuiet) {
        Log(QStringLiteral("[%1] %2").arg(caption, text));
        return;
    }
    CallUi([this, text, caption, flags] { return MessageBox(m_owner, text, caption, flags); }, 0);
}

int CTransferJob::ChooseBaudRate()
{
    if (m_request.presetBaud != 0)
        return m_request.presetBaud;
    return CallUi(
        [this] {
            CBaudRateDlg dialog(m_owner);
            if (dialog.DoModal() == IDOK)
                return dialog.m_nBaudRate;
            m_bOperatorCancelled = true;
            return 0;
        },
        0);
}

bool CTransferJob::FrameMayCoverLogo()
{
    return CallUi([this] { return AskFrameMayCoverLogo(m_owner)() ? 1 : 0; }, 0) == 1;
}

bool CTransferJob::WaitForPrinterReset(bool reset, int ms)
{
    if (!m_resetWait)
        return Sleep(ms);
    const int waited = AwaitUi(
        [this, reset, ms](std::function<void(int)> give) { m_resetWait(reset, ms, [give] { give(1); }); }, 0);
    return waited == 1;
}
