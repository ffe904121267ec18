#pragma once
// The port names an operator chooses from and the devices they stand for.
// Names keep the form operators know ("COM1", "LPT1", "USB001"); the
// settings group [Ports] maps each to a device path.
#include <QString>
#include <QStringList>

enum class PortKind { Serial, Parallel, Usb };

// "COM" in the name: serial; "LPT": parallel; anything else USB.
PortKind PortKindOf(const QString& portName);

// Every configured port name: the ones of the settings, in a stable order
// (serial, parallel, USB; numbers in numeric order).
QStringList ConfiguredPortNames();

// The device a port name maps to, or an empty string.
QString PortDevice(const QString& portName);
