#pragma once
// What a scan of the ports found on one port. The scan (printer/PortScan.h)
// fills it in; the dialogs and the command-line tool show it.
#include "components/PortNames.h"
#include "platform/WinTypes.h"

#include <QString>

enum class ScanState {
    Found,      // a printer identified itself
    StatusOnly, // a parallel port: its status, nothing more can be asked
    Absent,     // no such device
    Busy,       // another program holds the port
    Denied,     // the user may not open it
    NoAnswer,   // opened, but nothing answered
    SameDevice, // another port of the scan names the same device: asked there
    Failed      // any other failure
};

struct CPortFinding {
    QString port;
    QString device;
    PortKind kind = PortKind::Serial;
    ScanState state = ScanState::NoAnswer;
    QString model;    // Found: the model code
    QString cfgFile;  // and its configuration file, as the lists name it
    DWORD baud = 0;   // serial: the speed it answered at
    QString release;  // the firmware release, where the model answers it
    QString deviceId; // USB: the IEEE 1284 device id the driver gave
    QString detail;   // what was found or why nothing was, in words
};

// One port's finding in one line.
QString FindingLine(const CPortFinding& finding);
