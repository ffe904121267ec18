#pragma once
// The virtual printer: a pseudo-terminal whose far end behaves like one
// printer model. Bytes are understood only while the line speed set on the
// terminal equals the printer's own speed, as on a real wire. Runs its I/O on
// a thread of its own, so tests can drive it in-process. In line-time mode it
// takes bytes no faster than the line speed allows. In a device mode
// (--port usb-device, lp-device) the printer sits behind a device file that
// plays the kernel's printer driver instead (EmuDeviceFile.h).
#include "EmuDeviceFile.h"
#include "EmuLinePacer.h"
#include "EmuOptions.h"
#include "EmuProtocol.h"

#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

class CLogFile;

class CPrinterEmulator {
public:
    explicit CPrinterEmulator(CEmuOptions options);
    ~CPrinterEmulator();
    CPrinterEmulator(const CPrinterEmulator&) = delete;
    CPrinterEmulator& operator=(const CPrinterEmulator&) = delete;

    // Whether the device modes (--port usb-device, lp-device) can run here:
    // they mount a FUSE file. *why says why not.
    static bool DeviceModesUsable(QString* why) { return CEmuDeviceFile::Usable(why); }

    // Loads the model, opens the pseudo-terminal, makes the link and starts
    // the thread. *error says what failed.
    bool Start(QString* error);
    // Stops the thread, removes the link and closes the terminal.
    void Stop();

    // The terminal's device (/dev/pts/N), or the device file, and the link
    // made to it.
    QString DevicePath() const { return m_strDevice; }
    QString LinkPath() const { return m_options.linkPath; }

    unsigned CurrentBaud() const;
    CEmuLogo RamLogo() const;
    CEmuLogo FlashLogo(int slot) const;
    QStringList Pages() const;
    int LineFeeds() const;
    int Cuts() const;
    // Bytes understood and bytes ignored (sent at another speed).
    long long BytesUnderstood() const { return m_understood; }
    long long BytesIgnored() const { return m_ignored; }
    bool IsDisconnected() const { return m_bDisconnected; }
    // Waits (up to boundMs) until the printer has taken and handled every byte
    // the host has written: the host's side of a job ends when its bytes are
    // queued, the printer's when it has read them at line speed. True when
    // settled.
    bool WaitUntilSettled(int boundMs) const;
    // With recordInput: the understood bytes since the last call, in order:
    // everything the host wrote at the printer's speed, commands, raster,
    // requests and padding alike.
    std::vector<uint8_t> TakeReceivedBytes();

private:
    void Run();
    void RunDevice();
    bool StartDevice(QString* error);
    // The device file took bytes from the host.
    void TakeFromDevice(const uint8_t* bytes, int count);
    // Reads what the line has brought; false when there was nothing to read.
    bool ReadLine();
    void ReadIdle(QElapsedTimer& sinceInput);
    void HandleInput(const unsigned char* bytes, int count);
    // Answers a status request held in a download once no byte follows it.
    void AnswerHeldRequestWhenQuiet();
    // Sends reply unless a silent-after fault has begun by byte number taken.
    void Answer(std::vector<uint8_t>& reply, long long taken);
    void Reply(std::vector<uint8_t>& reply);
    unsigned LineSpeed() const;
    void Disconnect();
    // Removes the link once the device has gone.
    void GoneAway();
    void Log(const QString& text);
    bool OpenTerminal(QString* error);
    bool MakeLink(QString* error);

    CEmuOptions m_options;
    CEmuModel m_model;
    std::unique_ptr<CEmuPaper> m_pPaper;
    std::unique_ptr<CEmuProtocol> m_pProtocol;
    std::unique_ptr<CLogFile> m_pLog;
    mutable std::mutex m_mutex;
    std::thread m_thread;
    std::atomic<bool> m_bStop{false};
    std::atomic<bool> m_bDisconnected{false};
    // Turns of the reading loop, and those in a row that found nothing to
    // read (reset by every read).
    std::atomic<long long> m_turns{0};
    std::atomic<int> m_idlePolls{0};
    std::atomic<long long> m_understood{0};
    std::atomic<long long> m_ignored{0};
    CEmuLinePacer m_pacer;
    std::vector<uint8_t> m_received;
    std::unique_ptr<CEmuDeviceFile> m_pDevice;
    int m_master = -1;
    int m_slaveHold = -1;
    bool m_bLinkMade = false;
    QString m_strDevice;
};
