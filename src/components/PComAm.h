#pragma once
// The parallel-port component: one printer on an lp device, named the
// program's way ("LPT1") and mapped by the settings' [Ports]. A parallel
// printer never answers; every write has a retry budget and a deadline.
#include "components/LoadCfgPrnFile.h"
#include "components/PrinterDevice.h"
#include "platform/WinTypes.h"

#include <QString>

class CQvPComAm {
public:
    // retries: how often a refused write is tried again; timeoutSeconds: the
    // deadline of one write call (the program passes 15 and 30).
    CQvPComAm(const QString& portName, DWORD retries, DWORD timeoutSeconds);
    virtual ~CQvPComAm();
    CQvPComAm(const CQvPComAm&) = delete;
    CQvPComAm& operator=(const CQvPComAm&) = delete;

    // Opens the port's device; the configuration is copied for NewSendCommandToCom.
    BOOL InitLptComPort(const CLoadCfgPrnFile* cfg);
    QString Get_m_strLptName() const { return m_strPortName; }
    BOOL SendCommandToComm(const BYTE* bytes, DWORD length);
    BOOL SendPacketToComm(const BYTE* bytes, DWORD length);
    BOOL SendPacketToCommSize(const BYTE* bytes, DWORD length, DWORD packetSize);
    BOOL NewSendCommandToCom(const QString& command);
    BOOL NLfOutput(int count);
    BOOL CloseLptPort();
    // Waits (within the write deadline) until the printer has taken every
    // byte written: a write ends when the driver holds the bytes.
    BOOL WaitUntilTaken() { return m_device.Drain(m_nTimeoutMs) ? TRUE : FALSE; }
    // The lp status byte (LP_PSELECD, LP_PERRORP, LP_POUTPA ...); fails on a
    // device without one.
    BOOL GetLptStatus(BYTE* status);
    // A deadline in milliseconds instead of whole seconds, for quick tests.
    void SetTimeoutMs(int ms) { m_nTimeoutMs = ms; }

    const QString& LastErrorText() const { return m_device.LastErrorText(); }
    int LastErrno() const { return m_device.LastErrno(); }
    // Events that end the calls: once either is set, every write, read and
    // pause ends at once and fails. Either may be null. The transfer job
    // hands only its kill event (see SComAm.h).
    void SetStopEvents(const CManualResetEvent* stop, const CManualResetEvent* kill)
    {
        m_device.SetStopEvents(stop, kill);
    }

private:
    QString m_strPortName;
    int m_nRetries;
    int m_nTimeoutMs;
    CLoadCfgPrnFile m_cfg;
    CPrinterDevice m_device;
};
