#pragma once
// A serial line over POSIX termios: raw 8N1, exclusive, non-blocking. Every
// read and write runs against one deadline, so no call can block for ever, and
// every failure is kept as an error kind plus a text naming what failed.
// Every wait also watches the stop events it was given, so a stop ends any
// call at once instead of after its time-out (docs/serial-line.md).
#include "components/SerialLineClock.h"
#include "platform/WinTypes.h"

#include <QString>
#include <termios.h>

class CManualResetEvent;

enum class SerialError {
    None,
    NotOpen,       // caller error: no port open
    NotFound,      // no such device
    Permission,    // not allowed to open it
    Busy,          // someone else holds it
    Unsupported,   // speed or setting the device cannot take
    Timeout,       // the deadline passed
    Disconnected,  // the device went away (hang-up, EIO, end of file)
    Stopped,       // a stop event ended the call
    Io             // any other operating-system failure
};

// The error kind an errno value stands for.
SerialError SerialErrorFromErrno(int err);

class CSerialPort {
public:
    CSerialPort() = default;
    ~CSerialPort();
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // Opens device in raw mode at baud; exclusive asks that no one else may open it.
    bool Open(const QString& device, DWORD baud, bool exclusive);
    // Lets the bytes already written leave the line (bounded, and cut short by
    // a stop, which discards them instead), restores the line settings found
    // at open and closes. Safe when closed.
    void Close();
    bool IsOpen() const { return m_fd >= 0; }

    bool SetBaudRate(DWORD baud);
    DWORD BaudRate() const { return m_baud; }
    static bool IsSupportedBaud(DWORD baud);

    // Either event, once set, ends every blocking call with SerialError::Stopped.
    // Both may be null; they must outlive their use here.
    void SetStopEvents(const CManualResetEvent* stop, const CManualResetEvent* kill);
    bool IsStopRequested() const;

    // Writes all count bytes before deadlineMs passes; *written gets what went
    // out. A stop discards what is still queued.
    bool Write(const BYTE* bytes, int count, int deadlineMs, int* written = nullptr);
    // Reads up to count bytes: returns true when all arrived. Stops at the total
    // deadline, or when intervalMs (if non-zero) passes between two bytes.
    bool Read(BYTE* buffer, int count, int totalMs, int intervalMs, int* got);
    // Waits until the driver's output queue is empty, for at most the line time
    // of what it holds now plus marginMs. A stop discards the queue.
    bool Drain(int marginMs);
    // Discards bytes received and not yet read; output is left alone.
    bool DiscardInput();
    // Discards pending input and output in both directions.
    bool Purge();
    // Sleeps ms milliseconds; false (SerialError::Stopped) when a stop cut it short.
    bool Sleep(int ms);

    // The extra time an answer may take because the bytes written since the
    // last answer are still ahead of the request on the line.
    int AnswerAllowanceMs() const;
    // Modem line bits (TIOCM_*). A device without modem lines (a pseudo-terminal)
    // is no failure: true with *supported = false.
    bool ModemLines(int* bits, bool* supported);

    const QString& Device() const { return m_device; }
    SerialError LastError() const { return m_error; }
    const QString& LastErrorText() const { return m_errorText; }

private:
    enum class WaitResult { Ready, Timeout, Stopped, Failed };

    bool Fail(SerialError kind, const QString& what, int err = 0);
    bool ApplySpeed(termios& tio, DWORD baud);
    // Polls the device for events (none: only the stop events) for at most
    // timeoutMs; *revents gets what the device reported.
    WaitResult WaitFor(short events, int timeoutMs, short* revents);
    bool FailStopped(const QString& what);
    void DiscardOutput();
    void WaitForLineIdle();
    int QueuedOutput() const;
    // The device reports a hang-up or an error condition now.
    bool HungUp() const;

    int m_fd = -1;
    DWORD m_baud = 0;
    bool m_bExclusive = false;
    bool m_bSavedValid = false;
    termios m_saved{};
    QString m_device;
    const CManualResetEvent* m_pStop = nullptr;
    const CManualResetEvent* m_pKill = nullptr;
    CSerialLineClock m_line;
    SerialError m_error = SerialError::None;
    QString m_errorText;
};
