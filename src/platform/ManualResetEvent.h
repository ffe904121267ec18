#pragma once
// A manual-reset event shared by the user-interface thread and the transfer
// worker: once set it stays set, releasing every waiter, until Reset().
//
// Besides Wait(), the event has a descriptor that poll() reports readable
// while the event is set, so a device call can wait for its device and for a
// stop in the same poll() and never outlast a stop by its own time-out.
#include <condition_variable>
#include <mutex>

class CManualResetEvent {
public:
    explicit CManualResetEvent(bool initiallySet = false);
    ~CManualResetEvent();
    CManualResetEvent(const CManualResetEvent&) = delete;
    CManualResetEvent& operator=(const CManualResetEvent&) = delete;

    void Set();
    void Reset();
    bool IsSet() const;
    // True when the event is (or becomes) set within ms milliseconds, false on
    // time-out. 0 only tests the state; a negative value waits forever.
    bool Wait(int ms);
    // Readable (POLLIN) exactly while the event is set; only for poll(), never
    // to be read or written by the caller. -1 if the system had none to give.
    int PollDescriptor() const { return m_fd; }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_bSet;
    int m_fd = -1;
};
