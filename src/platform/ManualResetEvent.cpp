#include "platform/ManualResetEvent.h"

#include <chrono>
#include <cstdint>
#include <sys/eventfd.h>
#include <unistd.h>

// The eventfd's counter mirrors m_bSet: 1 while set, 0 while reset. Both are
// changed under the mutex, so the two never disagree for a caller.

CManualResetEvent::CManualResetEvent(bool initiallySet)
    : m_bSet(initiallySet), m_fd(eventfd(initiallySet ? 1 : 0, EFD_CLOEXEC | EFD_NONBLOCK))
{
}

CManualResetEvent::~CManualResetEvent()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void CManualResetEvent::Set()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_bSet && m_fd >= 0) {
            const uint64_t one = 1;
            [[maybe_unused]] const ssize_t n = ::write(m_fd, &one, sizeof one);
        }
        m_bSet = true;
    }
    m_changed.notify_all();
}

void CManualResetEvent::Reset()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_bSet && m_fd >= 0) {
        uint64_t count = 0;
        [[maybe_unused]] const ssize_t n = ::read(m_fd, &count, sizeof count);
    }
    m_bSet = false;
}

bool CManualResetEvent::IsSet() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_bSet;
}

bool CManualResetEvent::Wait(int ms)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    if (ms < 0) {
        m_changed.wait(lock, [this] { return m_bSet; });
        return true;
    }
    // wait_for re-checks the predicate after spurious wake-ups and measures
    // against a steady clock, so a wall-clock change cannot stretch the wait.
    return m_changed.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_bSet; });
}
