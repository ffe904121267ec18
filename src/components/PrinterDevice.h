#pragma once
// A printer character device (Linux lp or usblp): writes with a retry budget
// and one deadline, reads with a time-out, and the LPGETSTATUS status byte
// where the device has it. Shared by the parallel and USB components.
#include "platform/WinTypes.h"

#include <QString>

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
    // (busy, paper out) is asked again up to retries times.
    bool Write(const BYTE* bytes, int count, int retries, int deadlineMs, int* written);
    bool Read(BYTE* buffer, int count, int timeoutMs, int* got);
    // Waits until the device has taken what was written, up to deadlineMs: a
    // write returns once the driver holds the bytes, and a device that goes
    // away with bytes still queued has not printed them. A driver that cannot
    // tell how much it holds counts as empty (an lp write returns only once
    // the printer took the bytes).
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
    bool IsStopRequested() const;
    // poll() on the device (events 0: none) and the stop events; -1 stopped,
    // otherwise poll()'s result with the device's revents.
    int Wait(short events, int timeoutMs, short* revents);

    const CManualResetEvent* m_pStop = nullptr;
    const CManualResetEvent* m_pKill = nullptr;
    bool m_bStopped = false;

    int m_fd = -1;
    QString m_device;
    QString m_error;
    int m_errno = 0;
};
