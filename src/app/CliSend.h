#pragma once
// "glyphane-cli send": the transfer job of "Test Logo" / "Program Logo" run
// without a window, for production lines: one printer or a batch of them, at
// once, one job a port.
#include "printer/PortScan.h"
#include "transfer/TransferRequest.h"

#include <QString>
#include <QTextStream>

#include <memory>
#include <vector>

class CGlyphaneDoc;

namespace cli {

struct CSendJob {
    TransferKind kind = TransferKind::Test;
    int slot = 1;
    CSendChoices options;
    int baud = 0;             // the fiscal printers' speed; 0 = 9600
    bool printerDetected = false;
};

// Finds the printer on a serial port as "Connect to the Printer" does: the
// printers-to-test list at every speed. Its model and configuration file, or
// false with the reason.
bool DetectPrinter(const QString& port, QString* model, QString* cfgFile, QString* reason);
// Why a scan found no printer on a port, as the send and print commands say it.
QString DetectionFailure(const CPortFinding& finding);

// One printer of a send: its port, the logo bound to its model and port, and
// what became of it.
struct CSendTarget {
    QString port;
    std::unique_ptr<CGlyphaneDoc> doc;
    bool detected = false; // the model was found by detection just before
    DWORD foundBaud = 0;   // and the speed a scan heard the printer at (0: none)
    enum class End { Unfinished, Failed, Sent };
    End end = End::Unfinished;
    QString reason;         // why it failed
    bool verified = false;  // the logo area read back equals what was sent
    bool printed = false;   // the slot printed after programming
    qint64 bytes = 0;       // what the line carried
    DWORD baud = 0;         // the line speed of the transfer; 0 off a serial line
    double seconds = 0;
};

struct CSendOptions {
    CSendJob job;
    bool verify = false;     // read a flash-area printer's logo area back
    bool printAfter = false; // print the slot of a printer that cannot be read back
};

// Runs one job per target, all at once; each has its own line of progress
// on err (prefixed with its port when there are several). Ctrl+C stops every
// job before its next block. A printer that fails never stops the others.
// True when every printer took the logo.
bool RunSend(std::vector<CSendTarget>& targets, const CSendOptions& options, QTextStream& err);

// What became of target, in one line.
QString SummaryLine(const CSendTarget& target, const CSendOptions& options);

// The report of a send as JSON: per printer its port, model, slot, bytes,
// line speed, seconds, outcome and reason; written whole or not at all.
bool WriteSendReport(const QString& path, const std::vector<CSendTarget>& targets, const CSendOptions& options,
                     QString* why);

} // namespace cli
