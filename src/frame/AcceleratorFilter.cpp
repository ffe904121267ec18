#include "frame/AcceleratorFilter.h"

#include "platform/CommandRouter.h"
#include "platform/ThreadCall.h"
#include "resources/AcceleratorTable.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

CAcceleratorFilter::CAcceleratorFilter(QWidget* window, CCommandRouter* router)
    : QObject(window)
    , m_window(window)
    , m_router(router)
{
    qApp->installEventFilter(this);
}

CAcceleratorFilter::~CAcceleratorFilter()
{
    if (qApp)
        qApp->removeEventFilter(this);
}

UINT CAcceleratorFilter::CommandOf(const QKeyEvent* event)
{
    const int key = event->key();
    if (key == 0 || key == Qt::Key_unknown || key == Qt::Key_Shift || key == Qt::Key_Control
        || key == Qt::Key_Alt || key == Qt::Key_Meta)
        return 0;
    // The keypad flag would make Ctrl+Ins on the keypad a different key.
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    return AcceleratorCommand(QKeySequence(QKeyCombination(mods, static_cast<Qt::Key>(key))));
}

bool CAcceleratorFilter::IsInWindow(QObject* watched) const
{
    if (!m_window)
        return false;
    if (auto* widget = qobject_cast<QWidget*>(watched))
        return widget->window() == m_window;
    // Without a focus widget the key goes to the native window itself.
    return watched == m_window->windowHandle();
}

bool CAcceleratorFilter::eventFilter(QObject* watched, QEvent* event)
{
    // An application filter sees the events the worker posts before their
    // receiver does.
    HandOverAcquire();
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress)
        return false;
    if (!IsInWindow(watched))
        return false;
    auto* keyEvent = static_cast<QKeyEvent*>(event);
    const UINT id = CommandOf(keyEvent);
    if (id == 0)
        return false;
    if (type == QEvent::ShortcutOverride) {
        // Claimed: Qt then delivers the key as a plain key press, which ends here.
        event->accept();
        return true;
    }
    const bool handled = m_router && m_router->Dispatch(id);
    emit acceleratorPressed(id, handled);
    return true;
}
