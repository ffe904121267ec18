#pragma once
// What a transfer protocol needs from the job around it. The protocols run on
// the worker thread and reach the user only through here: progress messages
// posted to the view, message boxes and dialogs carried to the user-interface
// thread (and given up when the job is killed), the printer-reset wait, the
// application log and the stop request.
#include "platform/WinTypes.h"

#include <QString>

class CTransferHost {
public:
    virtual ~CTransferHost() = default;

    // WM_PROGRESS_START / STEP / END. bytes: the bytes the steps carry, for the
    // progress dialog's figures; steps: how many steps one message advances
    // (a fast loop hands several over at once, see CStepBatch).
    virtual void ProgressStart(int steps, qint64 totalBytes, DWORD baud) = 0;
    virtual void ProgressStep(qint64 bytes, int steps) = 0;
    virtual void ProgressEnd() = 0;
    // WM_PORT_STATUS; settings: the serial line's settings text while open.
    virtual void PortStatus(bool open, const QString& settings) = 0;
    // WM_STOP_SEND, as the parallel transfer posts it after its last block:
    // the view treats it as the stop button and shows its reminder.
    virtual void PostStopSend() = 0;

    // A message box over the view that names why the job fails (or asks a
    // question); a killed job gets the first choice back.
    virtual int Message(const QString& text, const QString& caption, UINT flags) = 0;
    // A box that names no failure: a warning before the job, or the success
    // box. It does not count as the operator having been told why a job failed.
    virtual void Inform(const QString& text, const QString& caption, UINT flags) = 0;
    // "Select BaudRate...": 9600, 19200, 38400, or 0 when cancelled (or killed).
    virtual int ChooseBaudRate() = 0;
    // Asked before a frame that would cover part of the logo.
    virtual bool FrameMayCoverLogo() = 0;
    // WM_WAIT_RESET: the wait box for ms milliseconds; false when the job was
    // killed first.
    virtual bool WaitForPrinterReset(bool reset, int ms) = 0;

    // One line in the application log.
    virtual void Log(const QString& line) = 0;
    // The stop button was pressed (tested without waiting).
    virtual bool StopRequested() const = 0;
    // Sleeps ms milliseconds; false when a kill cut it short.
    virtual bool Sleep(int ms) = 0;
};
