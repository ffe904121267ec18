#pragma once
// Calls carried to the thread of a QObject through Qt's event queue: how the
// transfer worker reaches the user-interface thread.
//
// Qt hands a posted event or queued call from one thread to the other under a
// mutex of its own event queue (and a blocking call waits on a semaphore),
// inside Qt, which is not built with ThreadSanitizer: the sanitizer cannot see
// that hand-over, and would report every field of the call, built on one
// thread and read on the other, as a data race. The functions here tell it
// what the queue guarantees: everything the posting thread did before posting
// happens before the call runs (HandOverRelease / HandOverAcquire). Without
// the sanitizer they compile to nothing. A blocking call waits on a
// std::future, which the sanitizer does see.
#include <QMetaObject>
#include <QObject>

#include <future>
#include <memory>
#include <type_traits>
#include <utility>

#if defined(__SANITIZE_THREAD__)
#define GLYPHANE_TSAN_HAND_OVER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define GLYPHANE_TSAN_HAND_OVER 1
#endif
#endif
#ifdef GLYPHANE_TSAN_HAND_OVER
#include <sanitizer/tsan_interface.h>
#endif

namespace threadcall {
// One token for every hand-over: Qt's queue is one lock per receiving thread,
// so whatever runs from it comes after everything posted before.
inline char g_handOverToken;
} // namespace threadcall

// On the posting thread, after the call or event is built, before it is queued.
inline void HandOverRelease()
{
#ifdef GLYPHANE_TSAN_HAND_OVER
    __tsan_release(&threadcall::g_handOverToken);
#endif
}

// On the receiving thread, before the call or event is looked at.
inline void HandOverAcquire()
{
#ifdef GLYPHANE_TSAN_HAND_OVER
    __tsan_acquire(&threadcall::g_handOverToken);
#endif
}

// A functor whose hand-over is marked: Qt moves it into the queued call's own
// storage last (so the release follows every write that built the call), and
// the receiving thread acquires before it touches it.
template <typename F>
class CHandedOverCall {
public:
    explicit CHandedOverCall(F f)
        : m_f(std::move(f))
    {
    }
    CHandedOverCall(const CHandedOverCall& other)
        : m_f(other.m_f)
    {
        HandOverRelease();
    }
    CHandedOverCall(CHandedOverCall&& other) noexcept(std::is_nothrow_move_constructible_v<F>)
        : m_f(std::move(other.m_f))
    {
        HandOverRelease();
    }
    CHandedOverCall& operator=(const CHandedOverCall&) = delete;
    CHandedOverCall& operator=(CHandedOverCall&&) = delete;

    void operator()()
    {
        HandOverAcquire();
        m_f();
    }

private:
    F m_f;
};

// Runs f later on context's thread; dropped (f destroyed unrun) when context
// is destroyed first.
template <typename F>
void PostCall(QObject* context, F&& f)
{
    QMetaObject::invokeMethod(context, CHandedOverCall<std::decay_t<F>>(std::forward<F>(f)), Qt::QueuedConnection);
}

// Runs f on context's thread and returns its result once it has run. When the
// call is dropped before it ran (context destroyed first), returns R{}. Never
// call it on context's own thread: the caller would wait for itself.
template <typename F>
auto CallOnThreadAndWait(QObject* context, F&& f) -> decltype(f())
{
    using R = decltype(f());
    auto promise = std::make_shared<std::promise<R>>();
    std::future<R> answer = promise->get_future();
    // The call holds the only reference: a dropped call destroys the promise
    // unkept, which ends the wait below.
    PostCall(context, [promise = std::move(promise), &f] {
        if constexpr (std::is_void_v<R>) {
            f();
            promise->set_value();
        } else {
            promise->set_value(f());
        }
    });
    try {
        return answer.get();
    } catch (const std::future_error&) {
        return R();
    }
}
