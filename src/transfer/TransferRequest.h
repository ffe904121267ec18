#pragma once
// Everything a transfer job needs, taken on the user-interface thread when
// the job starts. The worker reads only this copy, so editing the logo or
// changing the options while a job runs cannot race it.
#include "components/BufferUC.h"
#include "components/LoadCfgPrnFile.h"
#include "document/RasterOps.h"
#include "platform/WinTypes.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <optional>
#include <vector>

class CGlyphaneDoc;
class CLogFile;
class CProgramHost;
class QObject;

enum class TransferKind { Test, Program };

// What the printer link knows before a job and what the job leaves it.
struct CTransferFlags {
    bool logoInRam = false;
    // What the RAM holds while logoInRam is set (RamCopyDigest).
    QByteArray ramDigest;
    bool printerDetected = false;
    bool flashAfterTx = false;
    bool wgjPrinter = false;
    bool rxhPrinter = false;
    bool lptKeepsRam = false;
    bool qnndMode = false;
};

// The send options as a job takes them.
struct CSendChoices {
    bool reverseImage = false;
    bool reverseRow = false;
    bool reverseColor = false;
    std::optional<rasterops::FrameKind> frame;
};

struct CTransferRequest {
    TransferKind kind = TransferKind::Test;
    int slot = 1; // 1-based logo slot

    // The logo: a copy of the image memory and the sizes.
    QImage logo;
    int logoWidth = 0;
    int logoHeight = 0;
    int dotX = 0;
    int dotY = 0;
    // The plain 62-byte 1-bit header of the logo, for the BMP-family streams.
    QByteArray bitmapHeader;

    CSendChoices options;
    // The speed a fiscal printer is switched to; 0 asks the operator.
    int presetBaud = 0;

    // The printer and its port.
    QString model;
    QString portName;
    BYTE expectedId = 0; // the identification byte of the model
    // The speed a scan heard the printer at just before this job (0: none).
    // The printer keeps it, so the job asks there first instead of going
    // through every speed again.
    DWORD foundBaud = 0;
    CLoadCfgPrnFile printerCfg;
    // The identification bytes of the printers-to-test list, and the
    // application's "AutoBaudRateFlow" byte, for baud detection.
    std::vector<BYTE> printersToTest;
    BYTE autoBaudRateFlow = 0;
    // The serial component's own transfer log.
    QString serialLogPath;
    // The USB printer chosen for the job (a USB port name such as "USB001"),
    // and where the copy of a USB stream goes (glyphane.bin in the program folder).
    QString usbPrinter;
    QString usbDumpPath;

    CTransferFlags flags;

    // After programming a flash-area printer, read its logo area back and
    // compare it with what was sent.
    bool verifyArea = false;

    // The application log (thread-safe); may be null.
    CLogFile* appLog = nullptr;
};

// What a finished job hands back to the user-interface thread.
struct CTransferOutcome {
    int result = 0; // 1 = success
    CTransferFlags flags;
    // The printer raster the transfer prepared, for the document to keep;
    // empty when none was built.
    CBufferUC printRaster;
    // The port could not be opened: the document's port name goes back to
    // "not init".
    bool portLost = false;
    // Why it failed, in a few words; empty on success. A job can succeed
    // and still carry one: the printer refused the logo and the operator was
    // told in a box (the flash-area and USB transfers report that way).
    QString failure;
    // The operator already knows why it ended: a box said so during the job,
    // or it was their own stop or cancel.
    bool told = false;
    // The logo area read back equals what was sent (verifyArea).
    bool verified = false;
};

// The request of a job for the document as it is now: a copy of its logo, its
// printer and port, the printers-to-test list and the application log of the
// running program (host; none of them without one). Runs on the
// user-interface thread.
CTransferRequest MakeTransferRequest(CProgramHost* host, CGlyphaneDoc& doc, TransferKind kind, int slot,
                                     const CSendChoices& options, const CTransferFlags& flags);

// What "Print Logo" needs to print a logo stored in the printer.
struct CStoredLogoRequest {
    QString model;
    QString portName;
    int slot = 1;                // 1-based
    BYTE subLogoBits = 255;      // fiscal printers: 255 = the whole logo
    bool flashPrinting = true;   // "PrnLogoFlash": prints straight from the slot
    BYTE expectedId = 0;         // "GSImodel", checked on USB
    CLoadCfgPrnFile printerCfg;
    // Baud detection: the printers-to-test identification bytes and the
    // application's "AutoBaudRateFlow".
    std::vector<BYTE> printersToTest;
    BYTE autoBaudRateFlow = 0;
    bool wgjPrinter = false;
    // Receives the port status messages of the detection; may be null.
    QObject* window = nullptr;
};

// The request for printing slot (1-based) of the printer doc is bound to;
// subLogoBits: the fiscal printers' sub-logo mask, 255 for the whole logo.
// The printers-to-test list comes from host, as for a transfer. Runs on the
// user-interface thread.
CStoredLogoRequest MakeStoredLogoRequest(const CProgramHost* host, CGlyphaneDoc& doc, int slot, BYTE subLogoBits,
                                         bool wgjPrinter, QObject* window);
