#pragma once
// A manual-reset event shared by the user-interface thread and the transfer
// worker: once set it stays set, releasing every waiter, until Reset().
#include <condition_variable>
#include <mutex>

class CManualResetEvent {
public:
    explicit CManualResetEvent(bool initiallySet = false);
    CManualResetEvent(const CManualResetEvent&) = delete;
    CManualResetEvent& operator=(const CManualResetEvent&) = delete;

    void Set();
    void Reset();
    bool IsSet() const;
    // True when the event is (or becomes) set within ms milliseconds, false on
    // time-out. 0 only tests the state; a negative value waits forever.
    bool Wait(int ms);

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_bSet;
};
