#pragma once
// The serial communication component: one printer on one serial port named
// the program's way ("COM1"), mapped to a device by the settings' [Ports].
// Every read follows the five-value time-out record; every byte written and
// read goes to the transfer log named by the caller. Operations that change
// the line settings post the status message to the owner window.
// The component's own byte exchanges are docs/printer-protocol.md; how it
// treats the line (drains, purges, stops) is docs/serial-line.md.
#include "components/CalcTimeout.h"
#include "components/LoadCfgPrnFile.h"
#include "components/SerialPort.h"
#include "platform/WinTypes.h"

#include <QString>
#include <memory>

class CLogFile;
class CManualResetEvent;
class QObject;

class CsComAm {
public:
    CsComAm();
    virtual ~CsComAm();
    CsComAm(const CsComAm&) = delete;
    CsComAm& operator=(const CsComAm&) = delete;

    // The baud rate of the printer configuration ("BaudRate", 9600 when it has
    // none), set by InitThisObject; callers hand it to PubSetBaudRate.
    DWORD m_dwBaudRate = 9600;

    // Opens portName's device at the configuration's rate. exclusive non-zero:
    // nobody else may open the line while we hold it. logPath may be empty (no
    // transfer log). The configuration is copied; the caller keeps its own.
    BOOL InitThisObject(QObject* window, const QString& portName, int exclusive,
                        const QString& logPath, const CLoadCfgPrnFile* cfg);
    // "COM1 /dev/ttyUSB0 115200,N,8,1", or "COM1 (closed)".
    QString Get_m_strSerConfig() const;
    BOOL PubSetBaudRate(DWORD baud);
    BOOL DeInitializePort();
    bool IsOpen() const { return m_port.IsOpen(); }
    // The speed the line runs at now.
    DWORD CurrentBaudRate() const { return m_port.BaudRate(); }

    // Events that end the calls: once either is set, every call that waits on
    // the line ends at once and fails. Either may be null; they must outlive
    // the component or be replaced first. The transfer job hands only its
    // kill event: its stop button is tested between blocks, so a block once
    // begun goes out whole.
    void SetStopEvents(const CManualResetEvent* stop, const CManualResetEvent* kill);
    // True when the last failure was a stop rather than the printer's.
    bool WasStopped() const { return m_port.LastError() == SerialError::Stopped; }

    BOOL GetCurrentTimeoutSystem(_CalcTimeout* timeouts) const;
    BOOL SetNewTimeoutSystem(_CalcTimeout timeouts);

    // Non-zero when the printer answers the status request.
    BOOL GetStatusPrinter(int reserved);
    // 0 when the printer is ready to take data (CTS up, or a line without modem
    // lines); non-zero otherwise or on failure. waitForCts non-zero keeps
    // asking until the read time-out passes.
    DWORD GetCtsStatusPrinter(DWORD* status, int waitForCts);
    // Non-zero when the status answer says the printer is on line.
    BOOL IsPrinterOn(int reserved);
    // Discards everything pending in both directions of the open port, for the
    // protocols that ask for a purge; output written before is lost.
    BOOL PurgePort();

    // Tries the detection speeds (docs/printer-protocol.md) until the printer
    // answers the identification request with expected; the port stays there.
    // notify non-zero posts message to window at each speed tried.
    BOOL PubAutodetectBaudRate(BYTE expected, QObject* window, int reserved, int notify, UINT message);
    // The same for a list of identification bytes; *index = the entry that
    // answered. flow non-zero tries the speeds from the fastest down.
    BOOL PubAutodetectBaudRateLightType(const BYTE* ids, BYTE count, int* index, QObject* window,
                                        int reserved, int notify, BYTE flow, UINT message);
    // The speed the detection tries before the others (0: none): where the
    // printer on this port was last heard, since a printer keeps its speed.
    void PreferDetectionSpeed(DWORD baud) { m_preferredBaud = baud; }

    // Switches printer and port to config ("C9600XXnoP8bt", "C0384XXnoP8bt",
    // ...). A string it cannot read changes nothing and fails.
    BOOL SetAutomaticComPort(const QString& config);
    // The same, then posts message with wParam = code to window.
    BOOL SetAutomaticComPort(const QString& config, WORD code, QObject* window, int reserved,
                             int notify, UINT message);
    // The speed a configuration string names, or 0.
    static DWORD BaudOfComConfig(const QString& config);

    BOOL SendCommandToComm(const BYTE* bytes, DWORD length);
    // Writes, then reads *replyLength bytes into reply; *replyLength becomes
    // what arrived, *written what went out.
    BOOL SendCommandToComm(const BYTE* bytes, DWORD length, BYTE* reply, DWORD* replyLength,
                           DWORD* written);
    // As above, the bytes going out in packets of packetSize.
    BOOL SendCommandToCommPack(const BYTE* bytes, DWORD length, DWORD packetSize, BYTE* reply,
                               DWORD* replyLength, DWORD* written);
    // Reads *count bytes within the time-outs; *count becomes what arrived,
    // *elapsedMs the time it took, *missing the bytes that did not come.
    BOOL WaitTimeoutReadNBytes(BYTE* buffer, DWORD* count, DWORD* elapsedMs, DWORD* missing);

    // Sends the configuration's command of that name.
    BOOL NewSendCommandToCom(const QString& command);
    // Sends it and reads its reply: *replyLength bytes (the size of reply), or,
    // when the caller gives 0, as many as the configuration says the command
    // is answered with. *replyLength becomes the count that arrived.
    BOOL NewSendCommandToCom(const QString& command, BYTE* reply, DWORD* replyLength);

    // Feeds count lines (1 to 255).
    BOOL NLfOutput(int count);
    // *id = the printer's identification byte; left alone on failure.
    BOOL GetModelToThePrinter(BYTE* id);
    // Release texts; empty when the printer gives none.
    QString GetReleaseFirmwareWgj33();
    QString GetReleaseSwStampante();

    // What the last failure was, for the caller's own log.
    const QString& LastErrorText() const { return m_strLastError; }
    // Its kind (a port that is absent, busy, not permitted ...).
    SerialError LastErrorKind() const { return m_port.LastError(); }

protected:
    bool WriteBytes(const BYTE* bytes, int count);
    bool ReadBytes(BYTE* buffer, int count, int* got);
    // Before a request that expects an answer: lets what is queued leave the
    // port and drops stale input, so the answer read next is this request's.
    bool PrepareForAnswer();
    bool Exchange(const BYTE* bytes, int count, BYTE* reply, int replyCount, int* got);
    bool QueryStatusByte(BYTE* status);
    QString QueryReleaseText(BYTE which);
    bool SetPortSpeed(DWORD baud);
    bool SwitchSpeed(DWORD baud);
    // Switches printer and port to the speed a configuration string names.
    bool SwitchToComConfig(const QString& config);
    bool TryDetectionSpeed(DWORD baud, const BYTE* ids, int count, int* index);
    void NotifyWindow(QObject* window, UINT message, WPARAM wParam);
    void LogBytes(const char* direction, const BYTE* bytes, int count);
    void LogLine(const QString& text);
    bool Failed(const QString& what);

private:
    CSerialPort m_port;
    _CalcTimeout m_timeouts;
    DWORD m_preferredBaud = 0;
    CLoadCfgPrnFile m_cfg;
    std::unique_ptr<CLogFile> m_pLog;
    QObject* m_pWindow = nullptr;
    QString m_strPortName;
    QString m_strLastError;
};

// The serial component the transfer uses; it speaks the same protocol.
class CCsGenericPrn : public CsComAm {
public:
    CCsGenericPrn() = default;
    ~CCsGenericPrn() override = default;
};
