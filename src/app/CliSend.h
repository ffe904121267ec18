#pragma once
// "glyphane-cli send": the transfer job of "Test Logo" / "Program Logo" run
// without a window, for production lines.
#include "transfer/TransferRequest.h"

#include <QString>
#include <QTextStream>

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

// Runs the job for doc (bound to its printer and port) and waits for it;
// progress goes to err at most twice a second, Ctrl+C stops the job as the
// stop button does. True when the printer took everything; else *reason says why.
bool RunTransfer(CGlyphaneDoc& doc, const CSendJob& job, QTextStream& err, QString* reason);

} // namespace cli
