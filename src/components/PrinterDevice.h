#pragma once
// A printer character device (Linux lp or usblp, or a terminal standing in
// for one): writes with a retry budget and one deadline, reads with a
// time-out, and the LPGETSTATUS status byte where the device has it. Shared
// by the parallel and USB components. What each driver promises for write,
// drain, status and close, and how this class relies on it: docs/drivers.md.
#include "platform/WinTypes.h"

#include <QString>

class QElapsedTimer;

class CManualResetEvent;

class CPrinterDevice {
public:
    CPrinterDevice() = default;
    ~CPrinterDevice();
    CPrinterDevice(const CPrinterDevice&) = delete;
    CPrinterDevice& operator=(const CPrinterDevice&) = delete;

    bool Open(const QString& device, bool readable);
    void Close();
    bool IsOpen() const { return m_fd >= 0; }

    // Writes all bytes before deadlineMs; a device that refuses for a while
    // (busy, paper out) is asked again up to retries times. On a printer
    // device each write ends only once the printer has taken its bytes (a
    // usblp write returns with its transfer still in flight, and closing the
    // device then would cancel it); *written counts only bytes taken.
    bool Write(const BYTE* bytes, int count, int retries, int deadlineMs, int* written);
    bool Read(BYTE* buffer, int count, int timeoutMs, int* got);
    // Waits until the printer has taken what was written, up to deadlineMs,
    // and fails when the device went away meanwhile. A terminal is watched by
    // its output queue; a printer device has nothing left once Write returned.
    bool Drain(int deadlineMs);
    // false with *supported = false when the device has no status (not an lp device).
    bool Status(BYTE* status, bool* supported);

    // Either event, once set, ends every write, read and pause at once with a
    // failure. Either may be null; they must outlive the device or be replaced first.
    void SetStopEvents(const CManualResetEvent* stop, const CManualResetEvent* kill);
    bool WasStopped() const { return m_bStopped; }

    const QString& Device() const { return m_device; }
    const QString& LastErrorText() const { return m_error; }
    // The errno of the last failure that had one (0 when none).
    int LastErrno() const { return m_errno; }
    // The IEEE 1284 device id a printer gives its driver (LPIOC_GET_DEVICE_ID:
    // "MFG:...;MDL:...;"), empty when the device has none.
    QString DeviceId();

private:
    bool Fail(const QString& what, int err = 0);
    bool FailStopped(const QString& what);
    bool IsStopRequested() const;
    // Until the device reports its last write complete (POLLOUT), within
    // the time left of deadlineMs on timer; false (with the reason, naming
    // what was on its way) when it did not, was stopped or went away.
    bool WaitForCompletion(const QElapsedTimer& timer, int deadlineMs, const QString& what);
    bool DrainQueue(int deadlineMs);
    // ENODEV from the lp status request: the device was unplugged.
    bool IsGone() const;
    // poll() on the device (events 0: none) and the stop events; -1 stopped,
    // otherwise poll()'s result with the device's revents.
    int Wait(short events, int timeoutMs, short* revents);

    const CManualResetEvent* m_pStop = nullptr;
    const CManualResetEvent* m_pKill = nullptr;
    bool m_bStopped = false;

    int m_fd = -1;
    // The device answers TIOCOUTQ: a terminal, whose driver queues what was
    // written and counts it. Otherwise a printer device, which reports each
    // write's completion by POLLOUT (docs/drivers.md, "the rule").
    bool m_bTerminal = false;
    QString m_device;
    QString m_error;
    int m_errno = 0;
};
