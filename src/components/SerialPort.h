#pragma once
// A serial line over POSIX termios: raw 8N1, exclusive, non-blocking. Every
// read and write runs against one deadline, so no call can block for ever, and
// every failure is kept as an error kind plus a text naming what failed.
#include "platform/WinTypes.h"

#include <QString>
#include <termios.h>

enum class SerialError {
    None,
    NotOpen,       // caller error: no port open
    NotFound,      // no such device
    Permission,    // not allowed to open it
    Busy,          // someone else holds it
    Unsupported,   // speed or setting the device cannot take
    Timeout,       // the deadline passed
    Disconnected,  // the device went away (hang-up, EIO, end of file)
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
    // Restores the line settings found at open and closes. Safe when closed.
    void Close();
    bool IsOpen() const { return m_fd >= 0; }

    bool SetBaudRate(DWORD baud);
    DWORD BaudRate() const { return m_baud; }
    static bool IsSupportedBaud(DWORD baud);

    // Writes all count bytes before deadlineMs passes; *written gets what went out.
    bool Write(const BYTE* bytes, int count, int deadlineMs, int* written = nullptr);
    // Reads up to count bytes: returns true when all arrived. Stops at the total
    // deadline, or when intervalMs (if non-zero) passes between two bytes.
    bool Read(BYTE* buffer, int count, int totalMs, int intervalMs, int* got);
    // Waits until the output queue has gone out, at most deadlineMs.
    bool Drain(int deadlineMs);
    // Discards pending input and output in both directions.
    bool Purge();
    // Modem line bits (TIOCM_*). A device without modem lines (a pseudo-terminal)
    // is no failure: true with *supported = false.
    bool ModemLines(int* bits, bool* supported);

    const QString& Device() const { return m_device; }
    SerialError LastError() const { return m_error; }
    const QString& LastErrorText() const { return m_errorText; }

private:
    bool Fail(SerialError kind, const QString& what, int err = 0);
    bool ApplySpeed(termios& tio, DWORD baud);

    int m_fd = -1;
    DWORD m_baud = 0;
    bool m_bExclusive = false;
    bool m_bSavedValid = false;
    termios m_saved{};
    QString m_device;
    SerialError m_error = SerialError::None;
    QString m_errorText;
};
