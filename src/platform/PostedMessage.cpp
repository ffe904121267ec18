#include "platform/PostedMessage.h"

#include "platform/ThreadCall.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>
#include <QThread>

CPostedMessageEvent::CPostedMessageEvent(UINT msg, WPARAM wParam, LPARAM lParam)
    : QEvent(Type()), m_msg(msg), m_wParam(wParam), m_lParam(lParam)
{
}

QEvent::Type CPostedMessageEvent::Type()
{
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void PostMessage(QObject* target, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!target)
        return;
    // postEvent takes ownership and drops the event if target is deleted first.
    auto* event = new CPostedMessageEvent(msg, wParam, lParam);
    HandOverRelease();
    QCoreApplication::postEvent(target, event);
}

LPARAM SendMessageBlocking(QObject* target, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!target || !dynamic_cast<CMessageTarget*>(target))
        return 0;
    if (target->thread() == QThread::currentThread())
        return dynamic_cast<CMessageTarget*>(target)->OnPostedMessage(msg, wParam, lParam);

    QPointer<QObject> guard(target);
    return CallOnThreadAndWait(target, [&]() -> LPARAM {
        auto* handler = dynamic_cast<CMessageTarget*>(guard.data());
        return handler ? handler->OnPostedMessage(msg, wParam, lParam) : 0;
    });
}

bool DeliverPostedMessage(QObject* receiver, QEvent* event)
{
    HandOverAcquire(); // the event may come from another thread's PostMessage
    if (!event || event->type() != CPostedMessageEvent::Type())
        return false;
    auto* handler = dynamic_cast<CMessageTarget*>(receiver);
    if (!handler)
        return false;
    const auto* message = static_cast<const CPostedMessageEvent*>(event);
    handler->OnPostedMessage(message->message(), message->wParam(), message->lParam());
    return true;
}
