#include "platform/PostedMessage.h"

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
    QCoreApplication::postEvent(target, new CPostedMessageEvent(msg, wParam, lParam));
}

LPARAM SendMessageBlocking(QObject* target, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!target || !dynamic_cast<CMessageTarget*>(target))
        return 0;
    if (target->thread() == QThread::currentThread())
        return dynamic_cast<CMessageTarget*>(target)->OnPostedMessage(msg, wParam, lParam);

    LPARAM result = 0;
    QPointer<QObject> guard(target);
    QMetaObject::invokeMethod(
        target,
        [&] {
            if (auto* handler = dynamic_cast<CMessageTarget*>(guard.data()))
                result = handler->OnPostedMessage(msg, wParam, lParam);
        },
        Qt::BlockingQueuedConnection);
    return result;
}

bool DeliverPostedMessage(QObject* receiver, QEvent* event)
{
    if (!event || event->type() != CPostedMessageEvent::Type())
        return false;
    auto* handler = dynamic_cast<CMessageTarget*>(receiver);
    if (!handler)
        return false;
    const auto* message = static_cast<const CPostedMessageEvent*>(event);
    handler->OnPostedMessage(message->message(), message->wParam(), message->lParam());
    return true;
}
