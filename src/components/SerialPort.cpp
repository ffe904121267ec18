#include "components/SerialPort.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

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
        return Fail(SerialErrorFromErrno(err), QStringLiteral("open %1").arg(device), err);
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
    m_error = SerialError::None;
    m_errorText.clear();
    return true;
}

void CSerialPort::Close()
{
    if (m_fd < 0)
        return;
    tcflush(m_fd, TCIOFLUSH);
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
    return true;
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
        pollfd p{m_fd, POLLOUT, 0};
        const int r = ::poll(&p, 1, RemainingMs(timer, deadlineMs));
        if (r < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            return Fail(SerialErrorFromErrno(err), QStringLiteral("wait to write"), err);
        }
        if (r == 0)
            return Fail(SerialError::Timeout,
                        QStringLiteral("write timed out after %1 of %2 bytes").arg(done).arg(count));
        if (p.revents & (POLLHUP | POLLERR | POLLNVAL))
            return Fail(SerialError::Disconnected, QStringLiteral("device hung up while writing"));
        const ssize_t n = ::write(m_fd, bytes + done, static_cast<size_t>(count - done));
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            const int err = errno;
            return Fail(SerialErrorFromErrno(err), QStringLiteral("write"), err);
        }
        done += static_cast<int>(n);
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
        pollfd p{m_fd, POLLIN, 0};
        const int r = ::poll(&p, 1, wait);
        if (r < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            return Fail(SerialErrorFromErrno(err), QStringLiteral("wait to read"), err);
        }
        if (r == 0)
            return Fail(SerialError::Timeout,
                        QStringLiteral("read timed out with %1 of %2 bytes").arg(done).arg(count));
        const ssize_t n = ::read(m_fd, buffer + done, static_cast<size_t>(count - done));
        if (n < 0) {
            // An error condition that read() does not report would otherwise
            // make poll() return at once for ever.
            if (errno == EAGAIN && (p.revents & (POLLERR | POLLHUP | POLLNVAL)))
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
    }
    return true;
}

bool CSerialPort::Drain(int deadlineMs)
{
    if (m_fd < 0)
        return Fail(SerialError::NotOpen, QStringLiteral("port not open"));
    // tcdrain has no time-out; a line held by flow control would block it for
    // ever, so the output queue is watched instead.
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        int pending = 0;
        if (ioctl(m_fd, TIOCOUTQ, &pending) != 0 || pending <= 0)
            return true;
        if (timer.elapsed() >= deadlineMs)
            return Fail(SerialError::Timeout, QStringLiteral("output did not drain"));
        ::usleep(1000);
    }
}

bool CSerialPort::Purge()
{
    if (m_fd < 0)
        return Fail(SerialError::NotOpen, QStringLiteral("port not open"));
    if (tcflush(m_fd, TCIOFLUSH) != 0) {
        const int err = errno;
        return Fail(SerialErrorFromErrno(err), QStringLiteral("purge"), err);
    }
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
