#pragma once
// The printer commands that print a logo stored in a printer: their names in
// the printer configuration, the bound on their length, and how the paper is
// fed after the logo. No port is touched here.
#include "platform/WinTypes.h"

#include <QString>
#include <QStringList>

class CBufferUC;
class CLoadCfgPrnFile;

// The longest command the program sends to print a stored logo. The print,
// RAM and cut commands of the supported printers are 2 to 4 bytes; a printer
// acts on a command only once the whole of it sits in its input buffer, and
// this program does not count on more than 256 bytes of that buffer. A longer
// configured command is refused with a log line naming it, never truncated.
inline constexpr int kMaxStoredLogoCommandBytes = 256;

// "CmdPrtLogo" and the character 48 + slot: CmdPrtLogo3 for slot 3, and
// "CmdPrtLogo:" for slot 10.
QString StoredLogoCommandName(int slot);
// Fiscal printers: "CmdPrtLogo%02d" for the whole logo of a slot, and
// "CmdPrtLogo%02d%02d" for one of its four sub-logos.
QString FiscalLogoCommandName(int slot);
QString FiscalSubLogoCommandName(int slot, int subLogo);
// The commands a fiscal print sends before the cut, in order: the whole logo
// for the mask 255, else the ticked sub-logos (bit 0 = sub-logo 1) from 1 to 4.
QStringList FiscalPrintCommandNames(int slot, BYTE subLogoBits);
inline constexpr BYTE kWholeLogoMask = 255;

// The configured bytes of name into out; false with *why (for the log) when
// the configuration lacks it, holds no bytes, or holds more than
// kMaxStoredLogoCommandBytes.
bool FetchPrinterCommand(const CLoadCfgPrnFile& cfg, const QString& name, CBufferUC& out, QString* why);
// "CmdFlashRAM" with its last byte replaced by the slot number (the number,
// not a digit character): it loads that slot into the printer's RAM.
bool FetchFlashToRamCommand(const CLoadCfgPrnFile& cfg, int slot, CBufferUC& out, QString* why);

// How a serial printer ends the page after a stored logo: six line feeds,
// twelve more for the extra-feed models, then the cut; the USB bitmap models
// do not cut: 24 more feeds for JMQ9534 and VD8, nothing more for BDQGMLW.
struct CStoredLogoFeeds {
    int feeds = 6;
    int extraFeeds = 0;
    bool cut = true;
    int feedsInsteadOfCut = 0;
};
CStoredLogoFeeds SerialStoredLogoFeeds(const QString& model);
