#include "components/SerialPort.h"

#include "components/DeviceAccess.h"
#include "platform/ManualResetEvent.h"

#include <QElapsedTimer>
#include <QLoggingCategory>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcSerialLine, "glyphane.serial.line")

namespace {

// Bounds the drain on close, which has no time-out record to take it from.
constexpr int kCloseMarginMs = 1000;
// The longest single sleep while watching the output queue empty; short
// enough that the queue is seen empty soon after it is.
constexpr int kDrainPollMs = 20;
// Added to the line's own estimate when a close waits for it: the clock
// starts when write() returns, a little after the first byte left.
constexpr int kIdleMarginMs = 50;
// Clock tolerance of the far end and its own pauses, as a fraction of the
// line time an answer is allowed for: one sixteenth.
constexpr int kAllowanceSlackShift = 4;

struct CBaudEntry {
    DWORD baud;
    speed_t speed;
};

constexpr CBaudEntry kBauds[] = {
    {1200, B1200},   {2400, B2400},   {4800, B4800},     {9600, B9600},     {19200, B19200},
    {38400, B38400}, {57600, B57600}, {115200, B115200}, {230400, B230400},
};

bool SpeedOf(DWORD baud, speed_t* speed)
{
    for (const auto& e : kBauds) {
        if (e.baud == baud) {
            *speed = e.speed;
            return true;
        }
    }
    return false;
}

int RemainingMs(const QElapsedTimer& timer, int deadlineMs)
{
    return std::max(0, deadlineMs - static_cast<int>(timer.elapsed()));
}

} // namespace

SerialError SerialErrorFromErrno(int err)
{
    switch (err) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return SerialError::NotFound;
    case EACCES:
    case EPERM:
        return SerialError::Permission;
    case EBUSY:
        return SerialError::Busy;
    case EINVAL:
    case ENOTTY:
        return SerialError::Unsupported;
    case EIO:
    case EPIPE:
    case ENOTCONN:
        return SerialError::Disconnected;
    case ETIMEDOUT:
        return SerialError::Timeout;
    default:
        return SerialError::Io;
    }
}

CSerialPort::~CSerialPort()
{
    Close();
}

bool CSerialPort::Fail(SerialError kind, const QString& what, int err)
{
    m_error = kind;
    m_errorText = err ? QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(std::strerror(err)))
                      : what;
    return false;
}

bool CSerialPort::IsSupportedBaud(DWORD baud)
{
    speed_t s;
    return SpeedOf(baud, &s);
}

bool CSerialPort::ApplySpeed(termios& tio, DWORD baud)
{
    speed_t speed;
    if (!SpeedOf(baud, &speed))
        return Fail(SerialError::Unsupported, QStringLiteral("unsupported baud rate %1").arg(baud));
    cfsetispeed(&tio, speed);
    cfsetospeed(&tio, speed);
    return true;
}

bool CSerialPort::Open(const QString& device, DWORD baud, bool exclusive)
{
    Close();
    m_device = device;
    if (!IsSupportedBaud(baud))
        return Fail(SerialError::Unsupported, QStringLiteral("unsupported baud rate %1").arg(baud));
    const QByteArray path = device.toLocal8Bit();
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        Fail(SerialErrorFromErrno(err), QStringLiteral("open %1").arg(device), err);
        m_errorText += AccessHint(device, err);
        return false;
    }
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) {
        const int err = errno;
        ::close(fd);
        return Fail(SerialErrorFromErrno(err), QStringLiteral("%1 is not a serial line").arg(device), err);
    }
    if (exclusive && ioctl(fd, TIOCEXCL) != 0) {
        const int err = errno;
        ::close(fd);
        return Fail(SerialErrorFromErrno(err), QStringLiteral("exclusive open of %1").arg(device), err);
    }
    m_saved = tio;
    m_bSavedValid = true;
    m_bExclusive = exclusive;
    cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cflag &= ~(CSTOPB | PARENB | CRTSCTS);
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    ApplySpeed(tio, baud);
    if (tcsetattr(fd, TCSANOW, &tio) != 0) {
        const int err = errno;
        if (exclusive)
            ioctl(fd, TIOCNXCL);
        ::close(fd);
        m_bSavedValid = false;
        return Fail(SerialErrorFromErrno(err), QStringLiteral("line settings of %1").arg(device), err);
    }
    m_fd = fd;
    m_baud = baud;
    m_line = CSerialLineClock();
    m_line.SetBaud(baud);
    m_error = SerialError::None;
    m_errorText.clear();
    return true;
}

void CSerialPort::Close()
{
    if (m_fd < 0)
        return;
    // Bytes written just before closing are the end of a block the printer
    // is waiting for: they must leave before the line settings go back (a
    // restored speed would garble them) and before the descriptor goes.
    // A stop, or a line that will not drain (held by flow control), gives
    // the rest up: the kernel's own close would otherwise wait for it.
    // A line whose far end has hung up (the printer unplugged or switched
    // off) takes nothing more: waiting for it would only hold the close up
    // for the line time of bytes that can never leave.
    const SerialError error = m_error;
    const QString errorText = m_errorText;
    if (IsStopRequested() || HungUp() || !Drain(kCloseMarginMs)) {
        qCDebug(lcSerialLine).noquote() << m_device << "closes discarding its output:" << m_errorText;
        DiscardOutput();
    } else {
        WaitForLineIdle();
    }
    m_error = error;
    m_errorText = errorText;
    tcflush(m_fd, TCIFLUSH);
    if (m_bSavedValid)
        tcsetattr(m_fd, TCSANOW, &m_saved);
    // The exclusive flag belongs to the line, not to this descriptor: a line
    // that stays open elsewhere would refuse our next open without this.
    if (m_bExclusive)
        ioctl(m_fd, TIOCNXCL);
    ::close(m_fd);
    m_fd = -1;
    m_bSavedValid = false;
}

bool CSerialPort::SetBaudRate(DWORD baud)
{
    if (m_fd < 0)
        return Fail(SerialError::NotOpen, QStringLiteral("port not open"));
    termios tio{};
    if (tcgetattr(m_fd, &tio) != 0) {
        const int err = errno;
        return Fail(SerialErrorFromErrno(err), QStringLiteral("read line settings"), err);
    }
    if (!ApplySpeed(tio, baud))
        return false;
    if (tcsetattr(m_fd, TCSANOW, &tio) != 0) {
        const int err = errno;
        return Fail(SerialErrorFromErrno(err), QStringLiteral("set %1 baud").arg(baud), err);
    }
    m_baud = baud;
    m_line.SetBaud(baud);
    return true;
}

void CSerialPort::SetStopEvents(const CManualResetEvent* stop, const CManualResetEvent* kill)
{
    m_pStop = stop;
    m_pKill = kill;
}

bool CSerialPort::IsStopRequested() const
{
    return (m_pStop && m_pStop->IsSet()) || (m_pKill && m_pKill->IsSet());
}

CSerialPort::WaitResult CSerialPort::WaitFor(short events, int timeoutMs, short* revents)
{
    *revents = 0;
    pollfd fds[3];
    nfds_t count = 0;
    if (events)
        fds[count++] = {m_fd, events, 0};
    const nfds_t firstStop = count;
    for (const CManualResetEvent* e : {m_pStop, m_pKill})
        if (e && e->PollDescriptor() >= 0)
            fds[count++] = {e->PollDescriptor(), POLLIN, 0};
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        // A stop wins over a ready device, so a flowing reply cannot hold it off.
        if (IsStopRequested())
            return WaitResult::Stopped;
        const int r = ::poll(fds, count, RemainingMs(timer, timeoutMs));
        if (r < 0) {
            if (errno == EINTR)
                continue;
            return WaitResult::Failed;
        }
        for (nfds_t i = firstStop; i < count; ++i)
            if (fds[i].revents)
                return WaitResult::Stopped;
        if (r == 0)
            return WaitResult::Timeout;
        *revents = fds[0].revents;
        return WaitResult::Ready;
    }
}

bool CSerialPort::FailStopped(const QString& what)
{
    qCDebug(lcSerialLine).noquote() << m_device << what << "stopped";
    return Fail(SerialError::Stopped, QStringLiteral("%1 stopped").arg(what));
}

void CSerialPort::DiscardOutput()
{
    tcflush(m_fd, TCOFLUSH);
    m_line.Discarded();
}

bool CSerialPort::Write(const BYTE* bytes, int count, int deadlineMs, int* written)
{
    int done = 0;
    if (written)
        *written = 0;
    if (m_fd < 0)
        return Fail(SerialError::NotOpen, QStringLiteral("port not open"));
    if (count < 0 || (count > 0 && !bytes))
        return Fail(SerialError::Unsupported, QStringLiteral("bad write buffer"));
    QElapsedTimer timer;
    timer.start();
    while (done < count) {
        short revents = 0;
        switch (WaitFor(POLLOUT, RemainingMs(timer, deadlineMs), &revents)) {
        case WaitResult::Stopped:
            // The rest of an abandoned block means nothing to the printer.
            DiscardOutput();
            return FailStopped(QStringLiteral("write after %1 of %2 bytes").arg(done).arg(count));
        case WaitResult::Failed: {
            const int err = errno;
            return Fail(SerialErrorFromErrno(err), QStringLiteral("wait to write"), err);
        }
        case WaitResult::Timeout:
            return Fail(SerialError::Timeout,
                        QStringLiteral("write timed out after %1 of %2 bytes").arg(done).arg(count));
        case WaitResult::Ready:
            break;
        }
        if (revents & (POLLHUP | POLLERR | POLLNVAL))
            return Fail(SerialError::Disconnected, QStringLiteral("device hung up while writing"));
        const ssize_t n = ::write(m_fd, bytes + done, static_cast<size_t>(count - done));
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            const int err = errno;
            return Fail(SerialErrorFromErrno(err), QStringLiteral("write"), err);
        }
        done += static_cast<int>(n);
        m_line.Wrote(static_cast<int>(n));
        if (written)
            *written = done;
    }
    return true;
}

bool CSerialPort::Read(BYTE* buffer, int count, int totalMs, int intervalMs, int* got)
{
    int done = 0;
    *got = 0;
    if (m_fd < 0)
        return Fail(SerialError::NotOpen, QStringLiteral("port not open"));
    if (count < 0 || (count > 0 && !buffer))
        return Fail(SerialError::Unsupported, QStringLiteral("bad read buffer"));
    QElapsedTimer timer;
    timer.start();
    while (done < count) {
        int wait = RemainingMs(timer, totalMs);
        if (done > 0 && intervalMs > 0)
            wait = std::min(wait, intervalMs);
        short revents = 0;
        switch (WaitFor(POLLIN, wait, &revents)) {
        case WaitResult::Stopped:
            return FailStopped(QStringLiteral("read with %1 of %2 bytes").arg(done).arg(count));
        case WaitResult::Failed: {
            const int err = errno;
            return Fail(SerialErrorFromErrno(err), QStringLiteral("wait to read"), err);
        }
        case WaitResult::Timeout:
            return Fail(SerialError::Timeout,
                        QStringLiteral("read timed out with %1 of %2 bytes").arg(done).arg(count));
        case WaitResult::Ready:
            break;
        }
        const ssize_t n = ::read(m_fd, buffer + done, static_cast<size_t>(count - done));
        if (n < 0) {
            // An error condition that read() does not report would otherwise
            // make poll() return at once for ever.
            if (errno == EAGAIN && (revents & (POLLERR | POLLHUP | POLLNVAL)))
                return Fail(SerialError::Disconnected, QStringLiteral("device failed while reading"));
            if (errno == EINTR || errno == EAGAIN)
                continue;
            const int err = errno;
            return Fail(SerialErrorFromErrno(err), QStringLiteral("read"), err);
        }
        if (n == 0)
            return Fail(SerialError::Disconnected, QStringLiteral("device hung up while reading"));
        done += static_cast<int>(n);
        *got = done;
        m_line.Answered();
    }
    return true;
}

bool CSerialPort::HungUp() const
{
    pollfd fd{m_fd, 0, 0};
    return ::poll(&fd, 1, 0) > 0 && (fd.revents & (POLLHUP | POLLERR | POLLNVAL));
}

int CSerialPort::QueuedOutput() const
{
    int pending = 0;
    // A driver that cannot tell counts as empty: there is nothing to wait for.
    if (ioctl(m_fd, TIOCOUTQ, &pending) != 0)
        return 0;
    return std::max(0, pending);
}

bool CSerialPort::Drain(int marginMs)
{
    if (m_fd < 0)
        return Fail(SerialError::NotOpen, QStringLiteral("port not open"));
    // tcdrain() cannot be bounded or interrupted: a line held by flow control
    // would keep it for ever. The driver's queue is watched instead, for as
    // long as what it holds now needs on the line, plus the margin.
    int pending = QueuedOutput();
    const int boundMs = CSerialLineClock::LineTimeMs(pending, m_baud) + std::max(0, marginMs);
    QElapsedTimer timer;
    timer.start();
    while (pending > 0) {
        const int left = RemainingMs(timer, boundMs);
        if (left == 0)
            return Fail(SerialError::Timeout,
                        QStringLiteral("output did not drain in %1 ms, %2 bytes left").arg(boundMs).arg(pending));
        const int step = std::clamp(CSerialLineClock::LineTimeMs(pending, m_baud), 1, kDrainPollMs);
        short revents = 0;
        if (WaitFor(0, std::min(step, left), &revents) == WaitResult::Stopped) {
            DiscardOutput();
            return FailStopped(QStringLiteral("drain"));
        }
        pending = QueuedOutput();
    }
    return true;
}

void CSerialPort::WaitForLineIdle()
{
    // The queue may read empty while the driver still holds bytes (USB
    // adapters, pseudo-terminals); the line clock says how long they need.
    const int lineMs = std::min(m_line.MsUntilIdle(), m_line.UnansweredMs());
    if (lineMs <= 0)
        return;
    const int ms = lineMs + kIdleMarginMs;
    qCDebug(lcSerialLine).noquote() << m_device << "waits" << ms << "ms for the line to go idle";
    if (!Sleep(ms))
        DiscardOutput();
}

bool CSerialPort::DiscardInput()
{
    if (m_fd < 0)
        return Fail(SerialError::NotOpen, QStringLiteral("port not open"));
    if (tcflush(m_fd, TCIFLUSH) != 0) {
        const int err = errno;
        return Fail(SerialErrorFromErrno(err), QStringLiteral("discard input"), err);
    }
    return true;
}

bool CSerialPort::Sleep(int ms)
{
    short revents = 0;
    if (WaitFor(0, std::max(0, ms), &revents) == WaitResult::Stopped)
        return FailStopped(QStringLiteral("wait"));
    return true;
}

int CSerialPort::AnswerAllowanceMs() const
{
    const int ms = m_line.UnansweredMs();
    return ms + (ms >> kAllowanceSlackShift);
}

bool CSerialPort::Purge()
{
    if (m_fd < 0)
        return Fail(SerialError::NotOpen, QStringLiteral("port not open"));
    // Bytes the driver still holds are on their way to the printer.
    WaitForLineIdle();
    if (tcflush(m_fd, TCIOFLUSH) != 0) {
        const int err = errno;
        return Fail(SerialErrorFromErrno(err), QStringLiteral("purge"), err);
    }
    m_line.Discarded();
    return true;
}

bool CSerialPort::ModemLines(int* bits, bool* supported)
{
    *bits = 0;
    *supported = false;
    if (m_fd < 0)
        return Fail(SerialError::NotOpen, QStringLiteral("port not open"));
    if (ioctl(m_fd, TIOCMGET, bits) != 0) {
        const int err = errno;
        if (err == EINVAL || err == ENOTTY)
            return true;
        return Fail(SerialErrorFromErrno(err), QStringLiteral("modem lines"), err);
    }
    *supported = true;
    return true;
}
