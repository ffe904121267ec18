#pragma once
// One transfer job: the worker thread running a request, its stop and kill
// events, and the host the protocols talk to. The worker never touches a
// widget or the document: progress goes out as posted messages, questions are
// carried to the user-interface thread and given up when the job is killed,
// and the outcome is handed back to the user-interface thread when it ends.
#include "components/SerialLineClock.h"
#include "platform/ManualResetEvent.h"
#include "transfer/TransferHost.h"
#include "transfer/TransferRequest.h"

#include <QPointer>
#include <QString>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

class QObject;
class QWidget;

class CTransferJob : public CTransferHost {
public:
    using Finished = std::function<void(const CTransferOutcome&)>;
    // Shows the printer-reset wait box for ms milliseconds and calls done when
    // it has closed (on the user-interface thread).
    using ResetWait = std::function<void(bool reset, int ms, std::function<void()> done)>;

    // receiver: gets the posted messages and runs the user-interface work
    // (lives on the user-interface thread); owner: parent of the boxes.
    CTransferJob(QObject* receiver, QWidget* owner, ResetWait resetWait);
    // Kills a running worker and waits for it.
    ~CTransferJob() override;
    CTransferJob(const CTransferJob&) = delete;
    CTransferJob& operator=(const CTransferJob&) = delete;

    // Starts the worker; finished runs on the user-interface thread after it
    // has ended (not when the job is killed or destroyed first).
    void Start(CTransferRequest request, Finished finished);
    bool IsRunning() const { return m_bRunning.load(); }
    // The stop button: the transfer ends before its next block.
    void RequestStop() { m_stop.Set(); }
    // No message box: what a box would say goes to the application log, and
    // the first choice is taken. For jobs run one after another without an
    // operator at each (the next printer of a run). Before Start.
    void SetQuiet(bool quiet) { m_bQuiet = quiet; }
    bool WasStopRequested() const { return m_stop.IsSet(); }
    // Ends the worker as soon as it can: every wait and device call returns,
    // questions are given up. Waits for the worker; returns at once when none runs.
    void Kill();

    // For the progress dialog and the port pane, from any thread.
    struct CProgress {
        // What the line has carried: on a serial line the bytes handed to the
        // driver less those its line clock says are still on their way.
        qint64 sentBytes = 0;
        qint64 handedBytes = 0;
        qint64 totalBytes = 0;
        DWORD baud = 0;
        qint64 elapsedMs = 0;
        int plannedSteps = 0; // of the last WM_PROGRESS_START
        int stepsDone = 0;
        int stepMessages = 0; // WM_PROGRESS_STEP messages posted for them
    };
    CProgress Progress() const;
    QString SerialSettings() const;

    // CTransferHost, called on the worker thread.
    void ProgressStart(int steps, qint64 totalBytes, DWORD baud) override;
    void ProgressStep(qint64 bytes, int steps) override;
    void PostStopSend() override;
    void ProgressEnd() override;
    void PortStatus(bool open, const QString& settings) override;
    int Message(const QString& text, const QString& caption, UINT flags) override;
    void Inform(const QString& text, const QString& caption, UINT flags) override;
    int ChooseBaudRate() override;
    bool FrameMayCoverLogo() override;
    bool WaitForPrinterReset(bool reset, int ms) override;
    void Log(const QString& line) override;
    bool StopRequested() const override { return m_stop.IsSet(); }
    bool Sleep(int ms) override { return !m_kill.Wait(ms); }

private:
    void Run(Finished finished);
    int TestOrProgRamLogo(CTransferOutcome& outcome);
    int SendBySerial(CTransferOutcome& outcome);
    int SendByParallel(CTransferOutcome& outcome);
    int SendByUsb(CTransferOutcome& outcome);
    // Runs start on the user-interface thread; start hands its answer to the
    // callback it gets, at once or later. Returns onKill when the job is killed first.
    int AwaitUi(std::function<void(std::function<void(int)>)> start, int onKill);
    int CallUi(std::function<int()> work, int onKill);

    QPointer<QObject> m_receiver;
    QPointer<QWidget> m_owner;
    ResetWait m_resetWait;
    CTransferRequest m_request;
    CManualResetEvent m_stop;
    CManualResetEvent m_kill;
    CManualResetEvent m_ended;
    std::thread m_worker;
    std::atomic<bool> m_bRunning{false};
    // The protocol decided what "logo in RAM" becomes (the parallel transfer).
    bool m_bProtocolKeepsRamFlag = false;
    // Boxes that named why the job failed (not warnings, not success).
    std::atomic<int> m_failureBoxes{0};
    std::atomic<bool> m_bOperatorCancelled{false};
    bool m_bQuiet = false;

    mutable std::mutex m_mutex; // guards what follows
    QString m_strSerialSettings;
    CProgress m_progress;
    CSerialLineClock m_lineClock; // the bytes handed over, at the line's speed
    qint64 m_startedMs = 0;
};
