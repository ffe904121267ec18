#pragma once
// Finding the printers on the ports, all ports at once (one worker a port),
// each bounded by short deadlines: on a serial port the identification at
// every detection speed; on a USB printer its IEEE 1284 device id and, where
// it answers, the identification; a parallel port only its status, since it
// cannot be asked anything.
#include "components/LoadCfgPrnFile.h"
#include "components/PortFinding.h"
#include "components/PortNames.h"
#include "platform/WinTypes.h"

#include <QString>
#include <QStringList>

#include <map>
#include <vector>

class CManualResetEvent;
class CProgramHost;

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

// The catalogue of the running program (empty without one).
CScanCatalogue ProgramScanCatalogue(const CProgramHost* host);

// The ports worth looking at: every configured port whose device exists.
QStringList PortsToScan();

// Scans ports at once; the findings come in the order of ports. stop (may
// be null) ends every call at once.
std::vector<CPortFinding> ScanPorts(const QStringList& ports, const CScanCatalogue& catalogue,
                                    const CManualResetEvent* stop = nullptr);
