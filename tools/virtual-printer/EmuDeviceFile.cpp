#define FUSE_USE_VERSION 35
#include "EmuDeviceFile.h"

#include <fuse_lowlevel.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// usblp hands one transfer of at most USBLP_BUF_SIZE bytes to the USB core.
constexpr size_t kUsbTransferBytes = 8192;
// How long an lp printer holds BUSY once its buffer is full.
constexpr auto kBusySpell = std::chrono::milliseconds(500);
// lp: bytes may pass this much ahead of the printer's pace, so that one-byte
// writes need no sleep each; over a run the pace holds.
constexpr auto kPaceSlack = std::chrono::milliseconds(1);
// The mount's one file is its root.
constexpr fuse_ino_t kFileInode = FUSE_ROOT_ID;

CEmuDeviceFile* Device(fuse_req_t req)
{
    return static_cast<CEmuDeviceFile*>(fuse_req_userdata(req));
}

void GetAttr(fuse_req_t req, fuse_ino_t ino, fuse_file_info*)
{
    if (ino != kFileInode) {
        fuse_reply_err(req, ENOENT);
        return;
    }
    struct stat st{};
    st.st_ino = kFileInode;
    st.st_mode = S_IFREG | 0660;
    st.st_nlink = 1;
    st.st_uid = getuid();
    st.st_gid = getgid();
    fuse_reply_attr(req, &st, 0);
}

void Open(fuse_req_t req, fuse_ino_t, fuse_file_info* fi)
{
    Device(req)->OnOpen(req, fi);
}

void Write(fuse_req_t req, fuse_ino_t, const char* bytes, size_t size, off_t, fuse_file_info* fi)
{
    Device(req)->OnWrite(req, bytes, size, fi->flags);
}

void Read(fuse_req_t req, fuse_ino_t, size_t size, off_t, fuse_file_info* fi)
{
    Device(req)->OnRead(req, size, fi->flags);
}

void Poll(fuse_req_t req, fuse_ino_t, fuse_file_info*, fuse_pollhandle* ph)
{
    Device(req)->OnPoll(req, ph);
}

void Ioctl(fuse_req_t req, fuse_ino_t, unsigned int cmd, void*, fuse_file_info*, unsigned, const void*, size_t, size_t)
{
    Device(req)->OnIoctl(req, cmd);
}

// close() sends FLUSH and waits for its answer; RELEASE follows later, on
// its own, once the last descriptor has gone. What close drops goes at FLUSH.
void Flush(fuse_req_t req, fuse_ino_t, fuse_file_info*)
{
    Device(req)->OnClose(req, "closed");
}

void Release(fuse_req_t req, fuse_ino_t, fuse_file_info*)
{
    Device(req)->OnClose(req, "released");
}

fuse_lowlevel_ops Operations()
{
    fuse_lowlevel_ops ops{};
    ops.getattr = GetAttr;
    ops.open = Open;
    ops.read = Read;
    ops.write = Write;
    ops.flush = Flush;
    ops.release = Release;
    ops.ioctl = Ioctl;
    ops.poll = Poll;
    return ops;
}

} // namespace

CEmuDeviceFile::CEmuDeviceFile(EmuDriver driver, unsigned bytesPerSecond, CHooks hooks)
    : m_driver(driver), m_bytesPerSecond(bytesPerSecond), m_hooks(std::move(hooks))
{
}

CEmuDeviceFile::~CEmuDeviceFile()
{
    Unmount();
}

bool CEmuDeviceFile::Usable(QString* why)
{
    const int fd = ::open("/dev/fuse", O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        *why = QStringLiteral("/dev/fuse cannot be opened: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    ::close(fd);
    // Only root mounts by itself; anyone else needs the setuid helper.
    if (geteuid() != 0 && QStandardPaths::findExecutable(QStringLiteral("fusermount3")).isEmpty()) {
        *why = QStringLiteral("not root, and no fusermount3 to mount a FUSE file with");
        return false;
    }
    return true;
}

bool CEmuDeviceFile::Mount(QString* error)
{
    QByteArray dir = QDir::temp().filePath(QStringLiteral("glyphane-printer-XXXXXX")).toLocal8Bit();
    if (!mkdtemp(dir.data())) {
        *error = QStringLiteral("no folder for the device file: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    m_dir = QString::fromLocal8Bit(dir);
    m_path = QDir(m_dir).filePath(m_driver == EmuDriver::Usblp ? QStringLiteral("usblp") : QStringLiteral("lp"));
    QFile mountPoint(m_path);
    if (!mountPoint.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("%1 cannot be made").arg(m_path);
        return false;
    }
    mountPoint.close();
    char program[] = "glyphane-printer";
    char* argv[] = {program, nullptr};
    fuse_args args = FUSE_ARGS_INIT(1, argv);
    const fuse_lowlevel_ops ops = Operations();
    m_session = fuse_session_new(&args, &ops, sizeof ops, this);
    if (!m_session) {
        *error = QStringLiteral("no FUSE session");
        return false;
    }
    if (fuse_session_mount(m_session, m_path.toLocal8Bit().constData()) != 0) {
        *error = QStringLiteral("%1 cannot be mounted (FUSE)").arg(m_path);
        return false;
    }
    m_bMounted = true;
    return true;
}

void CEmuDeviceFile::Unmount()
{
    if (m_session) {
        // A host still waiting for an answer gets one; the session is going.
        for (fuse_req_t* held : {&m_heldRead, &m_transferReply, &m_passage})
            if (*held) {
                fuse_reply_err(*held, ENODEV);
                *held = nullptr;
            }
        if (m_poll)
            fuse_pollhandle_destroy(m_poll);
        m_poll = nullptr;
        if (m_bMounted)
            fuse_session_unmount(m_session);
        fuse_session_destroy(m_session);
        m_session = nullptr;
        m_bMounted = false;
    }
    if (!m_path.isEmpty())
        QFile::remove(m_path);
    if (!m_dir.isEmpty())
        QDir().rmdir(m_dir);
    m_path.clear();
    m_dir.clear();
}

void CEmuDeviceFile::Log(const QString& text) const
{
    if (m_hooks.log)
        m_hooks.log(text);
}

CEmuDeviceFile::Clock::duration CEmuDeviceFile::LineTime(size_t bytes) const
{
    if (m_bytesPerSecond == 0)
        return Clock::duration::zero();
    return std::chrono::duration_cast<Clock::duration>(std::chrono::microseconds(
        static_cast<long long>(bytes) * 1000000LL / m_bytesPerSecond));
}

// ---- the loop ---------------------------------------------------------------------

long long CEmuDeviceFile::UsUntilNextEvent(Clock::time_point now) const
{
    Clock::time_point next = Clock::time_point::max();
    if (m_bInFlight)
        next = m_transferDone;
    if (m_passage)
        next = Busy(now) ? m_busyUntil : m_passageStart + LineTime(m_passed - m_passedAtStart + 1) - kPaceSlack;
    if (next == Clock::time_point::max())
        return -1;
    return std::max<long long>(0, std::chrono::duration_cast<std::chrono::microseconds>(next - now).count());
}

bool CEmuDeviceFile::Turn(int waitMs)
{
    if (!m_session)
        return false;
    // A transfer completes when its time has come, not at the next tick.
    long long us = UsUntilNextEvent(Clock::now());
    if (us < 0 || us > waitMs * 1000LL)
        us = waitMs * 1000LL;
    const timespec timeout{static_cast<time_t>(us / 1000000), static_cast<long>(us % 1000000) * 1000};
    pollfd fd{fuse_session_fd(m_session), POLLIN, 0};
    const int r = ::ppoll(&fd, 1, &timeout, nullptr);
    bool happened = false;
    if (r > 0 && (fd.revents & POLLIN)) {
        fuse_buf buffer{};
        const int got = fuse_session_receive_buf(m_session, &buffer);
        if (got > 0) {
            fuse_session_process_buf(m_session, &buffer);
            happened = true;
        }
        std::free(buffer.mem);
    }
    happened |= Advance(Clock::now());
    return happened || m_bInFlight || m_passage;
}

bool CEmuDeviceFile::Advance(Clock::time_point now)
{
    return m_driver == EmuDriver::Usblp ? CompleteTransfer(now) : AdvancePassage(now);
}

void CEmuDeviceFile::Wake()
{
    if (m_poll)
        fuse_lowlevel_notify_poll(m_poll);
}

unsigned CEmuDeviceFile::PollMask() const
{
    // An unplugged usblp has its read and write cancelled, both complete.
    if (m_bGone)
        return POLLIN | POLLRDNORM | POLLOUT | POLLWRNORM;
    unsigned mask = 0;
    if (!m_toHost.empty())
        mask |= POLLIN | POLLRDNORM;
    if (!m_bInFlight)
        mask |= POLLOUT | POLLWRNORM;
    return mask;
}

// ---- the requests -------------------------------------------------------------------

void CEmuDeviceFile::OnOpen(fuse_req* req, fuse_file_info* fi)
{
    if (m_bGone) {
        fuse_reply_err(req, ENODEV);
        return;
    }
    // Every write reaches the printer as it is, and there is no position.
    fi->direct_io = 1;
    fi->nonseekable = 1;
    fi->keep_cache = 0;
    fuse_reply_open(req, fi);
}

void CEmuDeviceFile::OnWrite(fuse_req* req, const char* bytes, size_t size, int flags)
{
    const bool nonBlocking = (flags & O_NONBLOCK) != 0;
    const Clock::time_point now = Clock::now();
    if (m_driver == EmuDriver::Usblp) {
        if (m_bGone) {
            fuse_reply_err(req, ENODEV);
        } else if (m_bInFlight || m_transferReply) {
            // The previous transfer has not completed.
            fuse_reply_err(req, EAGAIN);
        } else {
            const size_t length = std::min(size, kUsbTransferBytes);
            StartTransfer(bytes, length, nonBlocking ? nullptr : req, now);
            if (nonBlocking)
                fuse_reply_write(req, length);
        }
        return;
    }
    // lp checks the printer's status before the first byte.
    if (m_bGone || m_bOffline) {
        fuse_reply_err(req, EIO);
    } else if (m_passage || (nonBlocking && Busy(now))) {
        fuse_reply_err(req, EAGAIN);
    } else {
        m_passage = req;
        m_passageBytes.assign(bytes, bytes + size);
        m_passed = 0;
        m_passedAtStart = 0;
        m_bPassageNonBlocking = nonBlocking;
        m_passageStart = std::max(now, m_lineFreeAt);
        AdvancePassage(now);
    }
}

void CEmuDeviceFile::OnRead(fuse_req* req, size_t size, int flags)
{
    if (m_driver == EmuDriver::Lp) {
        // Nothing comes back from a parallel printer here.
        fuse_reply_err(req, (flags & O_NONBLOCK) ? EAGAIN : EIO);
        return;
    }
    if (m_bGone) {
        fuse_reply_err(req, ENODEV);
    } else if (!m_toHost.empty()) {
        m_heldRead = req;
        m_heldReadSize = size;
        ServeHeldRead();
    } else if (flags & O_NONBLOCK) {
        fuse_reply_err(req, EAGAIN);
    } else if (m_heldRead) {
        fuse_reply_err(req, EAGAIN);
    } else {
        m_heldRead = req;
        m_heldReadSize = size;
    }
}

void CEmuDeviceFile::OnPoll(fuse_req* req, fuse_pollhandle* ph)
{
    if (m_driver == EmuDriver::Lp) {
        // lp has no poll of its own: the kernel's default, always ready,
        // for every poll from now on.
        if (ph)
            fuse_pollhandle_destroy(ph);
        fuse_reply_err(req, ENOSYS);
        return;
    }
    if (ph) {
        if (m_poll)
            fuse_pollhandle_destroy(m_poll);
        m_poll = ph;
    }
    fuse_reply_poll(req, PollMask());
}

void CEmuDeviceFile::OnIoctl(fuse_req* req, unsigned cmd)
{
    if (m_bGone && m_driver == EmuDriver::Usblp) {
        fuse_reply_err(req, ENODEV);
        return;
    }
    // usblp answers ENOTTY to what it does not know (TIOCOUTQ among them),
    // lp EINVAL; LPGETSTATUS cannot be carried (see the header).
    const bool lpCommand = (cmd >> 8) == 0x06;
    fuse_reply_err(req, m_driver == EmuDriver::Lp && !lpCommand ? EINVAL : ENOTTY);
}

void CEmuDeviceFile::OnClose(fuse_req* req, const char* how)
{
    // usblp's release kills the transfer still in flight.
    if (m_bInFlight)
        DropTransfer(QString::fromLatin1(how));
    fuse_reply_err(req, 0);
}

void CEmuDeviceFile::ServeHeldRead()
{
    if (!m_heldRead || m_toHost.empty())
        return;
    const size_t n = std::min(m_heldReadSize, m_toHost.size());
    const std::vector<uint8_t> bytes(m_toHost.begin(), m_toHost.begin() + static_cast<std::ptrdiff_t>(n));
    m_toHost.erase(m_toHost.begin(), m_toHost.begin() + static_cast<std::ptrdiff_t>(n));
    fuse_reply_buf(m_heldRead, reinterpret_cast<const char*>(bytes.data()), n);
    m_heldRead = nullptr;
}

void CEmuDeviceFile::Answer(const std::vector<uint8_t>& bytes)
{
    if (m_driver != EmuDriver::Usblp || m_bGone)
        return;
    m_toHost.insert(m_toHost.end(), bytes.begin(), bytes.end());
    ServeHeldRead();
    Wake();
}

void CEmuDeviceFile::Disappear()
{
    if (m_bGone)
        return;
    m_bGone = true;
    Log(QStringLiteral("GONE"));
    m_toHost.clear();
    for (fuse_req_t* held : {&m_heldRead, &m_transferReply})
        if (*held) {
            fuse_reply_err(*held, ENODEV);
            *held = nullptr;
        }
    if (m_bInFlight)
        DropTransfer(QStringLiteral("unplugged"));
    if (m_passage)
        EndPassage(EIO);
    Wake();
}

// ---- usblp: one transfer in flight --------------------------------------------------

void CEmuDeviceFile::StartTransfer(const char* bytes, size_t size, fuse_req* blockingReply, Clock::time_point now)
{
    m_transfer.assign(bytes, bytes + size);
    m_bInFlight = true;
    m_transferDone = std::max(now, m_lineFreeAt) + LineTime(size);
    m_lineFreeAt = m_transferDone;
    m_transferReply = blockingReply;
}

bool CEmuDeviceFile::CompleteTransfer(Clock::time_point now)
{
    if (!m_bInFlight || now < m_transferDone)
        return false;
    m_bInFlight = false;
    const std::vector<uint8_t> taken = std::move(m_transfer);
    m_transfer.clear();
    if (m_hooks.take)
        m_hooks.take(taken.data(), static_cast<int>(taken.size()));
    if (m_transferReply) {
        fuse_reply_write(m_transferReply, taken.size());
        m_transferReply = nullptr;
    }
    Wake();
    return true;
}

void CEmuDeviceFile::DropTransfer(const QString& why)
{
    Log(QStringLiteral("DROPPED %1 bytes in flight: %2").arg(m_transfer.size()).arg(why));
    m_transfer.clear();
    m_bInFlight = false;
    // A blocking writer waiting for the killed transfer learns it failed.
    if (m_transferReply) {
        fuse_reply_err(m_transferReply, EIO);
        m_transferReply = nullptr;
    }
    Wake();
}

// ---- lp: the bytes going through the port ------------------------------------------

bool CEmuDeviceFile::AdvancePassage(Clock::time_point now)
{
    if (!m_passage)
        return false;
    if (Busy(now)) {
        // A non-blocking write gives up at once; a blocking one waits.
        if (!m_bPassageNonBlocking)
            return false;
        EndPassage(EAGAIN);
        return true;
    }
    // After a busy spell the bytes go on from its end.
    if (m_busyUntil > m_passageStart) {
        m_passageStart = m_busyUntil;
        m_passedAtStart = m_passed;
    }
    size_t due = m_passageBytes.size();
    if (m_bytesPerSecond > 0) {
        const auto us = std::chrono::duration_cast<std::chrono::microseconds>(now + kPaceSlack - m_passageStart).count();
        const size_t arrived = static_cast<size_t>(static_cast<unsigned long long>(std::max<long long>(0, us))
                                                   * m_bytesPerSecond / 1000000ULL);
        due = std::min(due, m_passedAtStart + arrived);
    }
    if (m_busyAfter > 0)
        due = std::min(due, m_passed + static_cast<size_t>(std::max(0LL, m_busyAfter - m_taken)));
    const bool moved = due > m_passed;
    if (moved) {
        if (m_hooks.take)
            m_hooks.take(m_passageBytes.data() + m_passed, static_cast<int>(due - m_passed));
        m_taken += static_cast<long long>(due - m_passed);
        m_passed = due;
    }
    if (m_busyAfter > 0 && m_taken >= m_busyAfter) {
        m_busyAfter = 0;
        m_busyUntil = now + kBusySpell;
        Log(QStringLiteral("BUSY after %1 bytes").arg(m_taken));
    }
    if (m_passed == m_passageBytes.size()) {
        m_lineFreeAt = m_passageStart + LineTime(m_passed - m_passedAtStart);
        EndPassage(0);
    } else if (Busy(now) && m_bPassageNonBlocking) {
        EndPassage(EAGAIN);
    }
    return moved || !m_passage;
}

void CEmuDeviceFile::EndPassage(int error)
{
    // What went through is written; a write that moved nothing fails.
    if (m_passed > 0 || error == 0)
        fuse_reply_write(m_passage, m_passed);
    else
        fuse_reply_err(m_passage, error);
    m_passage = nullptr;
    m_passageBytes.clear();
    m_passed = 0;
}
