#include "platform/ManualResetEvent.h"

#include <chrono>

CManualResetEvent::CManualResetEvent(bool initiallySet) : m_bSet(initiallySet) {}

void CManualResetEvent::Set()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bSet = true;
    }
    m_changed.notify_all();
}

void CManualResetEvent::Reset()
{
    std::lock_guard<std::mutex> lock(m_mutex);
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
