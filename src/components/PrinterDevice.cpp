#include "components/PrinterDevice.h"

#include "platform/ManualResetEvent.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/lp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

// Pause before a read is tried again on a device that said it was readable.
constexpr int kReadRetryMs = 5;

} // namespace

CPrinterDevice::~CPrinterDevice()
{
    Close();
}

bool CPrinterDevice::Fail(const QString& what, int err)
{
    m_errno = err;
    m_error = err ? QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(std::strerror(err))) : what;
    return false;
}

bool CPrinterDevice::FailStopped(const QString& what)
{
    m_bStopped = true;
    return Fail(what);
}

void CPrinterDevice::SetStopEvents(const CManualResetEvent* stop, const CManualResetEvent* kill)
{
    m_pStop = stop;
    m_pKill = kill;
}

bool CPrinterDevice::IsStopRequested() const
{
    return (m_pStop && m_pStop->IsSet()) || (m_pKill && m_pKill->IsSet());
}

int CPrinterDevice::Wait(short events, int timeoutMs, short* revents)
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
    for (;;) {
        if (IsStopRequested())
            return -1;
        const int r = ::poll(fds, count, timeoutMs);
        if (r < 0 && errno == EINTR)
            continue;
        for (nfds_t i = firstStop; i < count; ++i)
            if (fds[i].revents)
                return -1;
        if (r > 0 && events)
            *revents = fds[0].revents;
        return r;
    }
}

bool CPrinterDevice::Open(const QString& device, bool readable)
{
    Close();
    m_device = device;
    const int flags = (readable ? O_RDWR : O_WRONLY) | O_NOCTTY | O_NONBLOCK | O_CLOEXEC;
    m_fd = ::open(device.toLocal8Bit().constData(), flags);
    if (m_fd < 0)
        return Fail(QStringLiteral("open %1").arg(device), errno);
    // Decided by what the device answers, not by its name: a terminal counts
    // its output queue, lp (EINVAL) and usblp (ENOTTY) refuse to.
    int queued = 0;
    m_bTerminal = ioctl(m_fd, TIOCOUTQ, &queued) == 0;
    return true;
}

void CPrinterDevice::Close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool CPrinterDevice::Write(const BYTE* bytes, int count, int retries, int deadlineMs, int* written)
{
    *written = 0;
    m_bStopped = false;
    if (m_fd < 0)
        return Fail(QStringLiteral("printer not open"));
    if (count < 0 || (count > 0 && !bytes))
        return Fail(QStringLiteral("bad write buffer"));
    QElapsedTimer timer;
    timer.start();
    int refusals = 0;
    // Pause between refusals so the retries spread over the whole deadline.
    const int pauseMs = std::max(1, deadlineMs / std::max(1, retries + 1));
    while (*written < count) {
        const int left = std::max(0, deadlineMs - static_cast<int>(timer.elapsed()));
        if (left == 0)
            return Fail(QStringLiteral("write timed out after %1 of %2 bytes").arg(*written).arg(count));
        short revents = 0;
        const int r = Wait(POLLOUT, left, &revents);
        if (r < 0) {
            m_bStopped = true;
            return Fail(QStringLiteral("write stopped after %1 of %2 bytes").arg(*written).arg(count));
        }
        if (r == 0)
            continue;
        if (revents & (POLLHUP | POLLERR | POLLNVAL))
            return Fail(QStringLiteral("printer went away while writing"));
        const ssize_t n = ::write(m_fd, bytes + *written, static_cast<size_t>(count - *written));
        if (n > 0) {
            // A printer device has taken the bytes only once it says so.
            if (!m_bTerminal && !WaitForCompletion(timer, deadlineMs, QStringLiteral("%1 bytes").arg(n)))
                return false;
            *written += static_cast<int>(n);
            continue;
        }
        const int err = n < 0 ? errno : EAGAIN;
        if (err == EINTR)
            continue;
        // A printer that stays busy refuses with EAGAIN (lp and usblp), one
        // out of paper with ENOSPC (lp); EBUSY is kept for drivers that say so.
        if ((err == EAGAIN || err == EBUSY || err == ENOSPC) && refusals++ < retries) {
            if (Wait(0, pauseMs, &revents) < 0) {
                m_bStopped = true;
                return Fail(QStringLiteral("write stopped after %1 of %2 bytes").arg(*written).arg(count));
            }
            continue;
        }
        return Fail(QStringLiteral("write"), err);
    }
    return true;
}

bool CPrinterDevice::WaitForCompletion(const QElapsedTimer& timer, int deadlineMs, const QString& what)
{
    // usblp sets POLLOUT when its transfer has completed (or was cancelled by
    // an unplug, which the next call reports as ENODEV); lp has no poll of
    // its own and is always ready, its write having waited for the printer.
    for (;;) {
        const int left = std::max(0, deadlineMs - static_cast<int>(timer.elapsed()));
        short revents = 0;
        const int r = Wait(POLLOUT, left, &revents);
        if (r < 0)
            return FailStopped(QStringLiteral("stopped before the printer took %1").arg(what));
        if (revents & (POLLERR | POLLNVAL | POLLHUP))
            return Fail(QStringLiteral("printer went away before it took %1").arg(what));
        if (revents & POLLOUT)
            return true;
        if (left == 0)
            return Fail(QStringLiteral("the printer did not take %1 in %2 ms").arg(what).arg(deadlineMs));
    }
}

bool CPrinterDevice::IsGone() const
{
    int status = 0;
    return ioctl(m_fd, LPGETSTATUS, &status) != 0 && errno == ENODEV;
}

bool CPrinterDevice::Drain(int deadlineMs)
{
    m_bStopped = false;
    if (m_fd < 0)
        return Fail(QStringLiteral("printer not open"));
    if (m_bTerminal)
        return DrainQueue(deadlineMs);
    QElapsedTimer timer;
    timer.start();
    if (!WaitForCompletion(timer, deadlineMs, QStringLiteral("the output")))
        return false;
    // An unplugged usblp completes its cancelled transfer too; only its
    // answers tell that it has gone.
    if (IsGone())
        return Fail(QStringLiteral("printer went away before it took the output"));
    return true;
}

bool CPrinterDevice::DrainQueue(int deadlineMs)
{
    constexpr int kDrainPollMs = 20;
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        pollfd device{m_fd, POLLOUT, 0};
        if (::poll(&device, 1, 0) > 0 && (device.revents & (POLLHUP | POLLERR | POLLNVAL)))
            return Fail(QStringLiteral("printer went away before it took the output"));
        int pending = 0;
        if (ioctl(m_fd, TIOCOUTQ, &pending) != 0 || pending <= 0)
            return true;
        const int left = std::max(0, deadlineMs - static_cast<int>(timer.elapsed()));
        if (left == 0)
            return Fail(QStringLiteral("the printer did not take %1 bytes in %2 ms").arg(pending).arg(deadlineMs));
        short revents = 0;
        if (Wait(0, std::min(left, kDrainPollMs), &revents) < 0)
            return FailStopped(QStringLiteral("stopped with %1 bytes not taken").arg(pending));
    }
}

bool CPrinterDevice::Read(BYTE* buffer, int count, int timeoutMs, int* got)
{
    *got = 0;
    m_bStopped = false;
    if (m_fd < 0)
        return Fail(QStringLiteral("printer not open"));
    QElapsedTimer timer;
    timer.start();
    while (*got < count) {
        const int left = std::max(0, timeoutMs - static_cast<int>(timer.elapsed()));
        short revents = 0;
        const int r = Wait(POLLIN, left, &revents);
        if (r < 0) {
            m_bStopped = true;
            return Fail(QStringLiteral("read stopped"));
        }
        if (r == 0)
            return Fail(QStringLiteral("read timed out"));
        const ssize_t n = ::read(m_fd, buffer + *got, static_cast<size_t>(count - *got));
        if (n == 0)
            return Fail(QStringLiteral("printer went away while reading"));
        if (n < 0) {
            // An error condition that read() does not report would otherwise
            // make poll() return at once for ever.
            if (errno == EAGAIN && (revents & (POLLERR | POLLHUP | POLLNVAL)))
                return Fail(QStringLiteral("printer failed while reading"));
            if (errno == EINTR)
                continue;
            // lp has no poll of its own and reads as ready when it is not:
            // a short pause keeps the wait from spinning.
            if (errno == EAGAIN) {
                if (Wait(0, std::min(left, kReadRetryMs), &revents) < 0)
                    return FailStopped(QStringLiteral("read stopped"));
                continue;
            }
            return Fail(QStringLiteral("read"), errno);
        }
        *got += static_cast<int>(n);
    }
    return true;
}

bool CPrinterDevice::Status(BYTE* status, bool* supported)
{
    *supported = false;
    if (m_fd < 0)
        return Fail(QStringLiteral("printer not open"));
    int value = 0;
    if (ioctl(m_fd, LPGETSTATUS, &value) != 0) {
        const int err = errno;
        *supported = !(err == ENOTTY || err == EINVAL);
        return Fail(QStringLiteral("status"), err);
    }
    *supported = true;
    *status = static_cast<BYTE>(value & 0xFF);
    return true;
}

namespace {

// usblp's own request (drivers/usb/class/usblp.c, IOCNR_GET_DEVICE_ID); no
// user-space header carries it.
constexpr unsigned long GetDeviceIdRequest(unsigned long length)
{
    return _IOC(_IOC_READ, 'P', 1, length);
}

} // namespace

QString CPrinterDevice::DeviceId()
{
    if (m_fd < 0)
        return {};
    // The first two bytes give the length, big-endian, themselves included.
    char id[1024] = {};
    if (ioctl(m_fd, GetDeviceIdRequest(sizeof id), id) != 0)
        return {};
    const int length = std::clamp((static_cast<unsigned char>(id[0]) << 8 | static_cast<unsigned char>(id[1])) - 2,
                                  0, static_cast<int>(sizeof id) - 2);
    return QString::fromLatin1(id + 2, static_cast<int>(qstrnlen(id + 2, static_cast<uint>(length)))).trimmed();
}
