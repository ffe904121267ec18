#include "app/SessionBusWarmUp.h"

#include <QDBusConnection>
#include <QGuiApplication>

CSessionBusWarmUp::CSessionBusWarmUp()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb")
        || qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return;
    m_thread = std::jthread([] { QDBusConnection::sessionBus(); });
}
