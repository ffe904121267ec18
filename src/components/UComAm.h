#pragma once
// The USB component: one printer on a usblp device. The printer choice binds
// the object to a port name ("USB001", mapped by the settings' [Ports]).
#include "components/PrinterDevice.h"
#include "platform/WinTypes.h"

#include <QString>

class CQvComAm {
public:
    CQvComAm() = default;
    virtual ~CQvComAm() = default;
    CQvComAm(const CQvComAm&) = delete;
    CQvComAm& operator=(const CQvComAm&) = delete;

    // Binds the object to a port and opens its device.
    BOOL OpenPrinter(const QString& portName);
    void ClosePrinter() { m_device.Close(); }
    QString PortName() const { return m_strPortName; }

    // The printer's identification byte, 0xFF when it gives none (0xFF never
    // identifies a printer).
    BYTE GetPrinterGSI();
    // Returns the count written; equal to length on success.
    DWORD UsbWrite(const BYTE* bytes, DWORD length, DWORD* written);
    // TRUE when the printer took every byte (the serial and parallel
    // components' call of the same name).
    BOOL SendCommandToComm(const BYTE* bytes, DWORD length);
    BOOL NLfOutput(int count);
    // Waits (within the write deadline) until the printer has taken every
    // byte written: a write ends when the driver holds the bytes.
    BOOL WaitUntilTaken() { return m_device.Drain(m_nWriteMs) ? TRUE : FALSE; }
    // On line = selected, paper present, no error. A device without the lp
    // status (a printer reached through a terminal) is asked its real-time
    // status instead; one that gives none counts as on line while it is open.
    BOOL IsPrinterOnline();

    // Deadlines of one call; short ones let tests fail fast.
    void SetTimeouts(int writeMs, int readMs)
    {
        m_nWriteMs = writeMs;
        m_nReadMs = readMs;
    }
    const QString& LastErrorText() const { return m_device.LastErrorText(); }
    int LastErrno() const { return m_device.LastErrno(); }
    // The printer's IEEE 1284 device id, empty when it gives none.
    QString DeviceId() { return m_device.DeviceId(); }
    // Events that end the calls: once either is set, every write, read and
    // pause ends at once and fails. Either may be null. The transfer job
    // hands only its kill event (see SComAm.h).
    void SetStopEvents(const CManualResetEvent* stop, const CManualResetEvent* kill)
    {
        m_device.SetStopEvents(stop, kill);
    }

private:
    BOOL AnswersOnline();

    QString m_strPortName;
    CPrinterDevice m_device;
    int m_nWriteMs = 30000;
    int m_nReadMs = 1000;
};
