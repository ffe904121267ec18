#pragma once
// The private window messages of the transfer worker, carried as Qt events.
// Posting is safe from any thread; the one synchronous message is a blocking
// queued call that returns the handler's answer to the sending thread.
#include "platform/WinTypes.h"

#include <QEvent>

class QObject;

// What a window implements to receive posted and sent messages. The same
// handler serves both paths, so a message behaves alike however it arrives.
class CMessageTarget {
public:
    virtual ~CMessageTarget() = default;
    virtual LPARAM OnPostedMessage(UINT msg, WPARAM wParam, LPARAM lParam) = 0;
};

class CPostedMessageEvent : public QEvent {
public:
    CPostedMessageEvent(UINT msg, WPARAM wParam, LPARAM lParam);

    // The one event type registered for every posted message.
    static QEvent::Type Type();

    UINT message() const { return m_msg; }
    WPARAM wParam() const { return m_wParam; }
    LPARAM lParam() const { return m_lParam; }

private:
    UINT m_msg;
    WPARAM m_wParam;
    LPARAM m_lParam;
};

// Queues the message for target's thread; returns at once. A null target is ignored.
void PostMessage(QObject* target, UINT msg, WPARAM wParam, LPARAM lParam);

// Runs target's handler on target's thread and waits for its result. Called on
// that thread it runs directly. Returns 0 when target is null, is not a
// CMessageTarget, or is destroyed before the call runs. The target's thread must
// be running its event loop, or the caller waits for ever.
LPARAM SendMessageBlocking(QObject* target, UINT msg, WPARAM wParam, LPARAM lParam);

// For a receiver's event() override: hands a posted message to the receiver's
// CMessageTarget handler and returns true; returns false for any other event.
bool DeliverPostedMessage(QObject* receiver, QEvent* event);

// Mixin for a widget that receives messages: derive from
// CMessageReceiver<QWidgetBase> and implement OnPostedMessage.
template <class Base>
class CMessageReceiver : public Base, public CMessageTarget {
public:
    using Base::Base;

protected:
    bool event(QEvent* e) override
    {
        if (DeliverPostedMessage(this, e))
            return true;
        return Base::event(e);
    }
};
