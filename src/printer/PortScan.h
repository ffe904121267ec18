#pragma once
// Finding the printers on the ports, all ports at once (one worker a port),
// each bounded by short deadlines: on a serial port the identification at
// every detection speed; on a USB printer its IEEE 1284 device id and, where
// it answers, the identification; a parallel port only its status, since it
// cannot be asked anything.
#include "components/LoadCfgPrnFile.h"
#include "components/PortNames.h"
#include "platform/WinTypes.h"

#include <QString>
#include <QStringList>

#include <map>
#include <vector>

class CManualResetEvent;

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

// What a scan knows of the printers.
struct CScanCatalogue {
    // The printers-to-test list: it opens the serial ports and gives the
    // identification bytes, each entry "MODEL|CfgFile\X.cfg".
    CLoadCfgPrnFile list;
    BYTE autoBaudRateFlow = 0;
    // Every model of the program's printer list by its identification byte,
    // for USB printers (those are not in the printers-to-test list).
    std::map<BYTE, std::pair<QString, QString>> modelsById;
};

// The catalogue of the running program.
CScanCatalogue ProgramScanCatalogue();

// The ports worth looking at: every configured port whose device exists.
QStringList PortsToScan();

// Scans ports at once; the findings come in the order of ports. stop (may
// be null) ends every call at once.
std::vector<CPortFinding> ScanPorts(const QStringList& ports, const CScanCatalogue& catalogue,
                                    const CManualResetEvent* stop = nullptr);

// One port's finding in one line.
QString FindingLine(const CPortFinding& finding);
