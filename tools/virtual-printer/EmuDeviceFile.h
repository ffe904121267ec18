#pragma once
// A printer character device played by one file in a FUSE mount of its own.
// The host opens, writes, polls, reads, asks ioctls of and closes it as it
// does /dev/usb/lpN (usblp) or /dev/lpN (lp), and the file answers as that
// driver does (docs/drivers.md): what a pseudo-terminal cannot, since it
// queues whatever is written, counts nothing and loses nothing at close.
//
// usblp: a non-blocking write hands over one transfer (8192 bytes at most)
// and returns while it is in flight; a further write gets EAGAIN and poll
// reports POLLOUT only once the printer has taken the transfer; TIOCOUTQ is
// refused (ENOTTY); closing the device drops a transfer still in flight; an
// unplugged device completes what was in flight unread and answers ENODEV.
// lp: a write returns once its bytes went through at the printer's pace;
// with O_NONBLOCK a busy printer ends it early (the bytes so far, or EAGAIN);
// poll always reports ready; an off-line printer fails writes with EIO.
//
// A FUSE file can carry ioctl data only for commands that encode their
// size, which LPGETSTATUS does not: both refuse it with ENOTTY, as a
// terminal does. Everything runs on the caller's thread, one Turn() at a time.
#include <QString>

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

struct fuse_session;
struct fuse_pollhandle;
struct fuse_req;
struct fuse_file_info;

enum class EmuDriver { Usblp, Lp };

class CEmuDeviceFile {
public:
    using Clock = std::chrono::steady_clock;
    struct CHooks {
        // The printer has taken these bytes.
        std::function<void(const uint8_t*, int)> take;
        std::function<void(const QString&)> log;
    };

    // bytesPerSecond: the printer's pace; 0 takes every block at once.
    CEmuDeviceFile(EmuDriver driver, unsigned bytesPerSecond, CHooks hooks);
    ~CEmuDeviceFile();
    CEmuDeviceFile(const CEmuDeviceFile&) = delete;
    CEmuDeviceFile& operator=(const CEmuDeviceFile&) = delete;

    // Whether a FUSE file can be mounted here; *why says why not.
    static bool Usable(QString* why);

    // Mounts the file in a private folder of /tmp. *error says what failed.
    bool Mount(QString* error);
    // Answers what the host asked and moves the printer on, waiting at most
    // waitMs for something to do. True when something happened or bytes are
    // still on their way (the device is not idle).
    bool Turn(int waitMs);
    // Answers what is still held with ENODEV, unmounts and removes the file.
    void Unmount();
    QString Path() const { return m_path; }

    // What the printer answers, for the host to read (usblp).
    void Answer(const std::vector<uint8_t>& bytes);
    // The printer is unplugged (usblp) or switched off (lp).
    void Disappear();
    // lp: writes fail as the driver's status check fails them (EIO).
    void SetOffline(bool offline) { m_bOffline = offline; }
    // lp: once the printer has taken this many bytes, it holds BUSY for a
    // while (as when its buffer is full); 0 never.
    void SetBusyAfter(long long bytes) { m_busyAfter = bytes; }

    // The request handlers (called by the FUSE session).
    void OnOpen(fuse_req* req, fuse_file_info* fi);
    void OnWrite(fuse_req* req, const char* bytes, size_t size, int flags);
    void OnRead(fuse_req* req, size_t size, int flags);
    void OnPoll(fuse_req* req, fuse_pollhandle* ph);
    void OnIoctl(fuse_req* req, unsigned cmd);
    void OnClose(fuse_req* req, const char* how);

private:
    void Log(const QString& text) const;
    void Wake();
    unsigned PollMask() const;
    // Moves the transfer in flight or the lp passage on to now.
    bool Advance(Clock::time_point now);
    bool CompleteTransfer(Clock::time_point now);
    bool AdvancePassage(Clock::time_point now);
    void StartTransfer(const char* bytes, size_t size, fuse_req* blockingReply, Clock::time_point now);
    void DropTransfer(const QString& why);
    void EndPassage(int error);
    void ServeHeldRead();
    long long UsUntilNextEvent(Clock::time_point now) const;
    Clock::duration LineTime(size_t bytes) const;
    bool Busy(Clock::time_point now) const { return now < m_busyUntil; }

    EmuDriver m_driver;
    unsigned m_bytesPerSecond;
    CHooks m_hooks;
    QString m_dir;
    QString m_path;
    fuse_session* m_session = nullptr;
    bool m_bMounted = false;
    fuse_pollhandle* m_poll = nullptr;
    bool m_bGone = false;
    bool m_bOffline = false;

    // When the printer has taken everything handed to it so far.
    Clock::time_point m_lineFreeAt{};
    std::deque<uint8_t> m_toHost;
    fuse_req* m_heldRead = nullptr;
    size_t m_heldReadSize = 0;

    // usblp: the one transfer in flight, and the blocking write waiting for it.
    std::vector<uint8_t> m_transfer;
    bool m_bInFlight = false;
    Clock::time_point m_transferDone{};
    fuse_req* m_transferReply = nullptr;

    // lp: the write whose bytes are going through the port.
    fuse_req* m_passage = nullptr;
    std::vector<uint8_t> m_passageBytes;
    size_t m_passed = 0;
    size_t m_passedAtStart = 0;
    bool m_bPassageNonBlocking = false;
    // When the byte m_passedAtStart began to go through.
    Clock::time_point m_passageStart{};
    long long m_taken = 0;
    long long m_busyAfter = 0;
    Clock::time_point m_busyUntil{};
};
