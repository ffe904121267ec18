#pragma once
// The printer model catalogue: the fixed model codes compiled into the
// program, the rules they are compared by, the groups they form and the
// configuration keys every printer file provides.
//
// Model codes are compared exactly (case-sensitive, whole string) unless a
// predicate says otherwise; the one place that matters is the "Test Logo"
// rule, which looks at a five-character key ignoring case, so that a code such
// as GB6853RJ inherits the behaviour of GB685.
#include "platform/WinTypes.h"

#include <QString>
#include <QStringList>

class CLoadCfgPrnFile;

// ---- comparison rules ------------------------------------------------------

// Whole string, case-sensitive: the default rule.
bool ModelMatchesExact(const QString& model, const QString& code);
// Whole string, case-insensitive: the printer choice for a new logo.
bool ModelMatchesIgnoringCase(const QString& model, const QString& code);
// The five-character key of a model code: its first five characters (the
// whole code when shorter), except "JMQ9534" -> "Jmq95" and "BDQGMLW" -> "BDQG".
// The exceptions apply to those exact codes only, like every exact test.
QString ModelFiveCharKey(const QString& model);
// The model's five-character key equals code, ignoring case.
bool ModelKeyMatches(const QString& model, const QString& code);
// The model's first five characters equal code, ignoring case, with no
// exceptions: how the serial protocol families are told apart.
bool ModelFirstFiveMatch(const QString& model, const QString& code);

// ---- groups -------------------------------------------------------------------

// The logo travels as a BMP image (header + rows); logo size kept up to DotX/DotY.
bool IsUsbBitmapModel(const QString& model);
// No port choice: the port is always "USB".
bool IsUsbOnlyPortModel(const QString& model);
// The only models that print a stored logo or receive a logo over USB.
bool IsUsbPrintModel(const QString& model);
// Fiscal printers: sub-logos, two-digit print commands, baud-rate dialog.
bool IsFiscalModel(const QString& model);
// "Test Logo" is disabled (five-character key rule).
bool IsNoTestModel(const QString& model);
// Zero bytes appended to the plain print data: 32, 56, 56, 16, else 0.
int TrailingZeroBytes(const QString& model);
// Warning 61533 ("Select Line") before a parallel job or print.
bool IsSelectLineWarningModel(const QString& model);
// 12 more line feeds after a stored logo is printed over a serial port.
bool IsExtraFeedModel(const QString& model);
// Warning 61507 (80 mm paper) before programming or testing.
bool Is80mmPaperWarningModel(const QString& model);
bool IsMzvzvrxhModel(const QString& model);
bool IsWgj33Model(const QString& model);
bool IsQnndModel(const QString& model);
// The view draws the printer's non-printable zones over the logo.
bool IsZoneOverlayModel(const QString& model);
// Firmware releases before "0.40" cannot take a logo: checked before any rate
// change, and by a scan of the ports.
bool ChecksSoftwareReleaseModel(const QString& model);
// "CmdTxLogo" is followed by the slot digit (fiscal models included).
bool TakesSlotDigitInDownloadCommand(const QString& model);
// Wait after "CmdRAMFlash" on a serial port: 35000, 4000 or 8000 ms.
int RamToFlashWaitMs(const QString& model);

// The serial transfer protocol of a model; Generic for every model outside
// the listed families.
enum class ProtocolFamily { Generic, BDQG, HVCZL, LR52, MQQM5, FQ054, LB36 };
ProtocolFamily ProtocolFamilyOf(const QString& model);
// "generic", "bdqg", "hvczl", "lr52", "mqqm5", "fq054" or "lb36".
QString ProtocolFamilyName(ProtocolFamily family);

// The names of the groups a model belongs to, in this order:
//   "usb-bitmap", "usb-only-port", "usb-print", "fiscal", "no-test",
//   "trailing-zero-bytes", "select-line-warning", "extra-feed",
//   "80mm-paper-warning", "mzvzvrxh", "wgj33", "qnnd", "zone-overlay",
//   "slot-digit-download", "ram-to-flash-35000" / "ram-to-flash-4000"
//   (the default 8000 ms wait is no group), "protocol-<family>" (not for
//   the generic transfer).
QStringList CatalogueGroupsOf(const QString& model);

// Every fixed code the program compares a model with, sorted as listed. One
// entry, "Jmq95", is a comparison key only (the key of JMQ9534), not a model.
const QStringList& AllFixedModelCodes();
// The fixed codes that are real printer models (AllFixedModelCodes without
// the key-only entries).
QStringList CatalogueModelCodes();
// The key-only entry of the fixed codes.
bool IsKeyOnlyFixedCode(const QString& code);
// The pseudo model recognised (ignoring case) when a printer is chosen for a
// new logo; it is no printer and has no configuration file.
inline const QString kHvczilMedelModel = QStringLiteral("HVCZIL_MEDEL");

// ---- printer configuration keys ---------------------------------------------

// The numeric options of a printer configuration file.
struct CPrinterOptions {
    int nLoghi = 0;            // "NLoghi": logo slot count
    int dotX = 0;              // "DotX": logo area width in dots
    int dotY = 0;              // "DotY": logo area height in dots
    int prnLogoFlash = 0;      // "PrnLogoFlash": print stored logos straight from flash
    BYTE gsiModel = 0;         // "GSImodel": low byte, the identification byte
    int parallelInterface = 0; // "ParallelInterface": > 0 allows LPT ports
    int usbInterface = 0;      // "USBInterface": 1 allows USB
};

// Bounds beyond which a configuration value is refused: the slot number is
// sent as two decimal digits, and no printer's logo area comes near the
// document's largest logo side.
constexpr int kMaxLogoSlots = 99;
constexpr int kMaxLogoAreaDots = 16384;

// Reads all seven keys with the query forms of the connection command
// ("NLoghi", "DotX", "DotY", "GSImodel" unsigned; "PrnLogoFlash",
// "ParallelInterface", "USBInterface" int form with 1). Fails when any key is
// missing or outside its bounds; then out is left unchanged and missing (when
// given) receives the names of every such key, in the order of the struct.
bool ReadPrinterOptions(const CLoadCfgPrnFile& cfg, CPrinterOptions& out, QStringList* missing);
