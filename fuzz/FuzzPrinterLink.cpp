#include "FuzzPrinterLink.h"

#include "FuzzSupport.h"

#include <QByteArray>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

// A printer waits this long for the program's next request before it takes
// the program for gone; far longer than any wait of the protocols under test,
// which set their own short time-outs.
constexpr int kIdleLimitMs = 30000;

} // namespace

CFuzzPrinterLink::CFuzzPrinterLink(const uint8_t* script, size_t size, CManualResetEvent& stopEvent)
    : m_script(script)
    , m_size(size)
    , m_stop(stopEvent)
{
}

CFuzzPrinterLink::~CFuzzPrinterLink()
{
    Finish();
}

int CFuzzPrinterLink::RepliesInScript() const
{
    int count = 0;
    for (size_t at = 0; at < m_size; at += 1 + (m_script[at] >= kHangUp ? 0 : m_script[at]))
        ++count;
    return count;
}

bool CFuzzPrinterLink::Start(const QString& linkPath)
{
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0)
        return false;
    char device[128] = {};
    if (ptsname_r(m_master, device, sizeof device) != 0)
        return false;
    // The terminal is held open from this side too: a terminal nobody has
    // open reads as hung up, and the printer must be there before the
    // program opens its port. Raw, so nothing is echoed or edited.
    m_slave = ::open(device, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios raw{};
    if (m_slave < 0 || tcgetattr(m_slave, &raw) != 0)
        return false;
    cfmakeraw(&raw);
    if (tcsetattr(m_slave, TCSANOW, &raw) != 0 || fcntl(m_master, F_SETFL, O_NONBLOCK) != 0)
        return false;
    // The link is replaced in one step, so the program never finds it missing.
    const QByteArray link = QFile::encodeName(linkPath);
    const QByteArray fresh = link + ".new";
    ::unlink(fresh.constData());
    if (::symlink(device, fresh.constData()) != 0 || ::rename(fresh.constData(), link.constData()) != 0)
        return false;
    FUZZ_CHECK(::pipe2(m_wake, O_CLOEXEC) == 0);
    m_thread = std::thread([this] { Run(); });
    return true;
}

void CFuzzPrinterLink::Finish()
{
    if (m_thread.joinable()) {
        const char wake = 1;
        FUZZ_CHECK(::write(m_wake[1], &wake, 1) == 1);
        m_thread.join();
    }
    TakeWhatIsLeft();
    HangUp();
    for (int* fd : {&m_wake[0], &m_wake[1], &m_slave}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

void CFuzzPrinterLink::TakeWhatIsLeft()
{
    // What the program wrote last, while the printer was not looking, still
    // reached a printer that had not hung up.
    if (m_master < 0)
        return;
    char rest[4096];
    ssize_t got = 0;
    while ((got = ::read(m_master, rest, sizeof rest)) > 0)
        m_taken.fetch_add(got);
}

void CFuzzPrinterLink::HangUp()
{
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}

void CFuzzPrinterLink::Run()
{
    while (m_master >= 0 && WaitForRequest()) {
        if (m_at >= m_size) {
            HangUp();
            return;
        }
        Reply();
    }
}

bool CFuzzPrinterLink::WaitForRequest()
{
    pollfd fds[2] = {{m_master, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
    for (;;) {
        const int ready = ::poll(fds, 2, kIdleLimitMs);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0 || fds[1].revents)
            return false;
        // Everything the program has written by now is one request.
        char request[4096];
        ssize_t got = 0;
        do {
            got = ::read(m_master, request, sizeof request);
            if (got > 0)
                m_taken.fetch_add(got);
        } while (got == static_cast<ssize_t>(sizeof request));
        if (got < 0 && errno != EAGAIN && errno != EINTR)
            return false; // the program closed its end
        return true;
    }
}

void CFuzzPrinterLink::Reply()
{
    const uint8_t length = m_script[m_at++];
    m_used.fetch_add(1);
    if (length == kPressStop) {
        m_stop.Set();
        return;
    }
    if (length == kHangUp) {
        HangUp();
        return;
    }
    const size_t count = std::min<size_t>(length, m_size - m_at);
    if (count > 0 && m_script[m_at] == 0xBB)
        m_bGaveEndReply = true;
    size_t written = 0;
    while (written < count) {
        const ssize_t n = ::write(m_master, m_script + m_at + written, count - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        written += static_cast<size_t>(n);
    }
    m_at += count;
}
