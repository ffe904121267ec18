#include "platform/ManualResetEvent.h"
#include "platform/PostedMessage.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QWidget>
#include <gtest/gtest.h>

#include <atomic>
#include <poll.h>
#include <functional>
#include <thread>
#include <vector>

namespace {

struct Received {
    UINT msg;
    WPARAM wp;
    LPARAM lp;
    bool onUiThread;
};

class CProbeWindow : public CMessageReceiver<QWidget> {
public:
    std::vector<Received> received;

    LPARAM OnPostedMessage(UINT msg, WPARAM wp, LPARAM lp) override
    {
        received.push_back({msg, wp, lp, QThread::currentThread() == qApp->thread()});
        return lp * 2;
    }
};

void SpinUntil(const std::function<bool()>& done, int timeoutMs = 5000)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

} // namespace

TEST(PostedMessage, PostedFromAWorkerArrivesInOrderOnTheUiThread)
{
    CProbeWindow window;
    std::thread worker([&] {
        PostMessage(&window, WM_PROGRESS_START, 0, 12);
        PostMessage(&window, WM_PROGRESS_STEP, 0, 0);
        PostMessage(&window, WM_PROGRESS_END, 0, 0);
    });
    worker.join();
    EXPECT_TRUE(window.received.empty()) << "posting must not deliver synchronously";
    SpinUntil([&] { return window.received.size() == 3; });
    ASSERT_EQ(window.received.size(), 3u);
    EXPECT_EQ(window.received[0].msg, WM_PROGRESS_START);
    EXPECT_EQ(window.received[0].lp, 12);
    EXPECT_EQ(window.received[1].msg, WM_PROGRESS_STEP);
    EXPECT_EQ(window.received[2].msg, WM_PROGRESS_END);
    for (const Received& r : window.received)
        EXPECT_TRUE(r.onUiThread);
}

TEST(PostedMessage, NullOrDeletedTargetsAreHarmless)
{
    PostMessage(nullptr, WM_PORT_STATUS, 0, 1);
    EXPECT_EQ(SendMessageBlocking(nullptr, WM_WAIT_RESET, 1, 5), 0);
    QObject notATarget;
    EXPECT_EQ(SendMessageBlocking(&notATarget, WM_WAIT_RESET, 1, 5), 0);

    auto* window = new CProbeWindow;
    PostMessage(window, WM_STOP_SEND, 0, 0);
    delete window; // the pending event must go with it
    QCoreApplication::processEvents();
    SUCCEED();
}

TEST(PostedMessage, OtherEventsAreNotTakenForMessages)
{
    CProbeWindow window;
    QEvent other(QEvent::User);
    EXPECT_FALSE(DeliverPostedMessage(&window, &other));
    CPostedMessageEvent mine(WM_PORT_STATUS, 0, 1);
    EXPECT_TRUE(DeliverPostedMessage(&window, &mine));
    EXPECT_EQ(mine.type(), CPostedMessageEvent::Type());
    ASSERT_EQ(window.received.size(), 1u);
}

TEST(PostedMessage, SendBlocksTheWorkerUntilTheUiThreadAnswered)
{
    CProbeWindow window;
    std::atomic<bool> done{false};
    LPARAM answer = 0;
    std::thread worker([&] {
        answer = SendMessageBlocking(&window, WM_WAIT_RESET, 1, 21);
        done = true;
    });
    SpinUntil([&] { return done.load(); });
    worker.join();
    EXPECT_EQ(answer, 42);
    ASSERT_EQ(window.received.size(), 1u);
    EXPECT_EQ(window.received[0].msg, WM_WAIT_RESET);
    EXPECT_EQ(window.received[0].wp, 1u);
    EXPECT_TRUE(window.received[0].onUiThread);

    // On the target's own thread the handler runs directly.
    EXPECT_EQ(SendMessageBlocking(&window, WM_WAIT_RESET, 0, 4), 8);
}

TEST(ManualResetEvent, StaysSetUntilResetAndReleasesEveryWaiter)
{
    CManualResetEvent event;
    EXPECT_FALSE(event.IsSet());
    EXPECT_FALSE(event.Wait(0));
    std::atomic<int> released{0};
    std::vector<std::thread> waiters;
    for (int i = 0; i < 3; ++i)
        waiters.emplace_back([&] {
            if (event.Wait(-1))
                ++released;
        });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    event.Set();
    for (std::thread& t : waiters)
        t.join();
    EXPECT_EQ(released.load(), 3);
    EXPECT_TRUE(event.Wait(0)) << "a manual-reset event stays set";
    event.Reset();
    EXPECT_FALSE(event.IsSet());
    EXPECT_TRUE(CManualResetEvent(true).IsSet());
}

TEST(ManualResetEvent, TimedWaitTimesOutOrWakesEarly)
{
    CManualResetEvent event;
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(event.Wait(60));
    EXPECT_GE(t.elapsed(), 55);

    std::thread setter([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        event.Set();
    });
    t.restart();
    EXPECT_TRUE(event.Wait(5000));
    EXPECT_LT(t.elapsed(), 4000);
    setter.join();
}

TEST(ManualResetEvent, DescriptorIsReadableExactlyWhileSet)
{
    auto readable = [](const CManualResetEvent& e) {
        pollfd p{e.PollDescriptor(), POLLIN, 0};
        return ::poll(&p, 1, 0) == 1 && (p.revents & POLLIN);
    };
    CManualResetEvent event;
    ASSERT_GE(event.PollDescriptor(), 0);
    EXPECT_FALSE(readable(event));
    event.Set();
    event.Set();  // setting twice must not need two resets
    EXPECT_TRUE(readable(event));
    EXPECT_TRUE(readable(event)) << "polling does not consume the state";
    event.Reset();
    EXPECT_FALSE(readable(event));
    event.Reset();
    EXPECT_FALSE(event.IsSet());
    EXPECT_TRUE(readable(CManualResetEvent(true)));

    // A poll already waiting wakes when another thread sets the event.
    std::thread setter([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        event.Set();
    });
    pollfd p{event.PollDescriptor(), POLLIN, 0};
    EXPECT_EQ(::poll(&p, 1, 5000), 1);
    setter.join();
}
