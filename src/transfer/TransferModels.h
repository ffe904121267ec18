#pragma once
// The printer models the transfer procedures treat apart. Every comparison is
// exact (case-sensitive, whole name) unless a function says otherwise.
//
// Lists the printer catalogue already keeps are used from there, not repeated:
//   IsFiscalModel            baud-rate dialog; slot digit in the command name
//   IsWgj33Model             rate chosen from the firmware release
//   IsMzvzvrxhModel          38400 baud, its own RAM-to-flash exchange
//   IsQnndModel              the parallel "QNND mode"
//   Is80mmPaperWarningModel  warning 61507 before a serial or parallel job
//   IsSelectLineWarningModel warning 61533 before a parallel job
//   TakesSlotDigitInDownloadCommand  "CmdTxLogo" + slot digit
//   TrailingZeroBytes        tail of the last serial block (same counts)
//   RamToFlashWaitMs         the reset wait after "CmdRAMFlash"
//   ProtocolFamilyOf         the serial family, refined below
//   ChecksSoftwareReleaseModel  firmware release checked before a rate change
#include "printer/ModelCatalogue.h"

#include <QString>
#include <optional>

// ---- choosing the serial transfer rate --------------------------------------

// Rule of the serial rate choice, the first that matches the model, in order.
enum class SerialRateRule {
    HighSpeedKeepRam,    // "C1152XXnoP8bt"; the parallel path then keeps the RAM copy
    HighSpeedGsiCheck,   // "C1152XXnoP8bt", then the identification byte must match
    KeepDetectedKeepRam, // the detected rate; the parallel path keeps the RAM copy
    FiscalDialog,        // the operator picks 9600, 19200 or 38400
    KeepDetected,        // the rate of these printers cannot be changed
    Wgj33Release,        // "C0384XXnoP8bt" from firmware release 1.80 on, else the detected rate
    Rxh38400,            // "C38400XXnoP8bt", notifying variant
    Default,             // "C0384XXnoP8bt"
};
SerialRateRule SerialRateRuleOf(const QString& model);

bool IsHighSpeedKeepRamModel(const QString& model);
bool IsHighSpeedGsiCheckModel(const QString& model);
bool IsKeepDetectedKeepRamModel(const QString& model);
bool KeepsDetectedRateModel(const QString& model);
// After a printer detection the paper is not fed on these models.
bool SkipsFeedAfterDetectionModel(const QString& model);
// The printer needs a second before the logo command after a rate change.
bool WaitsBeforeLogoCommandModel(const QString& model);

// ---- the serial protocol -------------------------------------------------------

enum class SerialProtocol {
    Generic,     // one configured command + raster, in blocks
    FlashArea,   // addressed 128-byte frames (families BDQG, HVCZL)
    EchoedBytes, // one acknowledged byte at a time (families LR52-, LB36)
    FixedArea,   // the flash-area frames at a fixed address (family FQ054)
    None,        // family MQQM5: nothing is sent
};
// By the first five characters of the model, ignoring case.
SerialProtocol SerialProtocolOf(const QString& model);

// ---- the generic serial transfer ----------------------------------------------

// The transfer command stores the logo itself: no cut after a detection, no
// RAM-to-flash step after a program, blocks of 1536 bytes and the success
// box right after the data.
bool StoresLogoWithTransferCommand(const QString& model);
// The print data refreshed before a full transfer is the BMP image of the logo.
bool UsesUsbPrintData(const QString& model);
// The stream carries a 62-byte BMP header and the rows bottom-up, uncomplemented.
bool SendsBitmapStream(const QString& model);
// 2048 bytes; 1536 for the models that store the logo with the command.
int SerialBlockSize(const QString& model);
// Zero bytes sent past the data with the last, partial block.
int SerialTailBytes(const QString& model);
// "CmdTxLogo" followed by the character '0' + slot: the one rule of every port.
QString NumberedTransferCommandName(int logoNumber);
// "CmdTxLogo", numbered for the listed and the fiscal models.
QString SerialTransferCommandName(const QString& model, int logoNumber);
// "CmdTxLogo", numbered for the 22-byte block models.
QString ParallelTransferCommandName(const QString& model, int logoNumber);
// The transfer command a job on portName sends (USB: always numbered).
QString TransferCommandName(const QString& portName, const QString& model, int logoNumber);

// What a completed generic serial transfer changes: whether the data already
// reached flash (the RAM-to-flash step then skips its command), whether the
// printer's RAM holds the logo, and whether the success box 61459 is shown
// already here. An empty flag is left as it was.
struct CAfterGenericTransfer {
    std::optional<bool> flashAfterTx;
    std::optional<bool> logoInRam;
    bool showSuccessBox = false;
    bool operator==(const CAfterGenericTransfer&) const = default;
};
CAfterGenericTransfer AfterGenericTransfer(const QString& model);

// ---- the parallel port -----------------------------------------------------------

// Written in 22-byte blocks with the slot digit in the command name; every
// other model takes one byte per write.
bool IsParallelBlockModel(const QString& model);
constexpr int kParallelBlockSize = 22;
// The blocks of a stream of streamLength bytes: one more 22-byte block than
// fit in it (a whole one past it when it ends on a block boundary), or one
// per byte. The stream is padded with zero bytes up to the last block.
int ParallelBlockCount(int streamLength, bool blockModel);
// The flash-area model of the parallel port (the whole name, exactly).
bool TakesParallelArea(const QString& model);
// A parallel job on these printers leaves the logo in RAM.
bool KeepsRamOverParallel(const QString& model);
// The wait for the printer's reset after RAM went to flash over the parallel port.
int ParallelResetWaitMs(const QString& model);

// ---- USB ---------------------------------------------------------------------------

// The models a USB job sends to; any other is refused, nothing sent.
bool IsUsbTransferModel(const QString& model);
// The stream carries the 62-byte BMP header and the rows bottom-up.
bool UsbStreamIsBitmap(const QString& model);
// The raster is complemented (1 = dot) unless Reverse Color is on, and
// "CmdRAMFlash" with the slot closes the stream.
bool UsbStreamStoresItself(const QString& model);
// 1536 bytes for the BMP models, 2048 otherwise.
int UsbBlockSize(const QString& model);
