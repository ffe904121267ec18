#include "transfer/TransferModels.h"

#include "components/PortNames.h"

#include <initializer_list>

namespace {

using CodeList = std::initializer_list<const char*>;

bool IsAnyOf(const QString& model, CodeList codes)
{
    for (const char* code : codes) {
        if (ModelMatchesExact(model, QLatin1String(code)))
            return true;
    }
    return false;
}

constexpr CodeList kHighSpeedGsiCheckModels = {
    "XNZ11",  "XNZ11BL", "XNZ115JDD", "VXCC5007", "BMRW2133", "VXCC5033", "VXCC5007Q",
    "ZHBQ786", "NDVNGF", "J4",        "FRNDR",    "CDGQ-CC",  "GB6853",   "GB6853RJ",
    "VC8710", "BD9397",  "FFH107",    "GMN405",   "FD716",    "BDQGMLW",  "QVGDCMR"};

constexpr CodeList kKeepsDetectedRateModels = {
    "CV292",    "DVW85",    "BJL153",   "QXB978",   "HVCZL98C", "HVCZL89W", "HVCZL41M",
    "HVCZL91J", "HVCZLFL",  "FQ054-07", "FQ054-32", "HCFL407",  "CX925"};

// After the data these printers still hold the logo in RAM only: the
// RAM-to-flash step must send its command.
constexpr CodeList kFlashStepSendsCommandModels = {
    "QVGDCMR", "ZHBQ786", "NDVNGF", "XNZ115JDD", "J4", "FFH107", "FRNDR", "CDGQ-CC"};

// The data itself went to flash on these printers.
constexpr CodeList kDataReachesFlashModels = {
    "VXCC5007", "BMRW2133", "VXCC5033", "VXCC5007Q", "XNZ11", "XNZ11BL", "GB6853", "VC8710",
    "BD9397"};

// These printers do not keep the logo in RAM after the transfer command.
constexpr CodeList kNoRamCopyModels = {"HGN065", "LRF80", "VZ746", "GF22"};

constexpr int kBlockSize = 2048;
constexpr int kBitmapModelBlockSize = 1536;

} // namespace

// ---- choosing the serial transfer rate --------------------------------------

SerialRateRule SerialRateRuleOf(const QString& model)
{
    if (IsHighSpeedKeepRamModel(model))
        return SerialRateRule::HighSpeedKeepRam;
    if (IsHighSpeedGsiCheckModel(model))
        return SerialRateRule::HighSpeedGsiCheck;
    if (IsKeepDetectedKeepRamModel(model))
        return SerialRateRule::KeepDetectedKeepRam;
    if (IsFiscalModel(model))
        return SerialRateRule::FiscalDialog;
    if (KeepsDetectedRateModel(model))
        return SerialRateRule::KeepDetected;
    if (IsWgj33Model(model))
        return SerialRateRule::Wgj33Release;
    if (IsMzvzvrxhModel(model))
        return SerialRateRule::Rxh38400;
    return SerialRateRule::Default;
}

bool IsHighSpeedKeepRamModel(const QString& model)
{
    // The four MZVZV models of the paper-size warning, and no others.
    return Is80mmPaperWarningModel(model);
}

bool IsHighSpeedGsiCheckModel(const QString& model)
{
    return IsAnyOf(model, kHighSpeedGsiCheckModels);
}

bool IsKeepDetectedKeepRamModel(const QString& model)
{
    return IsAnyOf(model, {"JMQ9534", "VD8"});
}

bool KeepsDetectedRateModel(const QString& model)
{
    return IsAnyOf(model, kKeepsDetectedRateModels);
}

bool SkipsFeedAfterDetectionModel(const QString& model)
{
    return IsAnyOf(model, {"BMRW2133", "NDVNGF", "XNZ115JDD"});
}

bool WaitsBeforeLogoCommandModel(const QString& model)
{
    return IsAnyOf(model, {"XNZ11", "XNZ11BL"});
}

// ---- the serial protocol -------------------------------------------------------

SerialProtocol SerialProtocolOf(const QString& model)
{
    switch (ProtocolFamilyOf(model)) {
    case ProtocolFamily::BDQG:
    case ProtocolFamily::HVCZL:
        return SerialProtocol::FlashArea;
    case ProtocolFamily::LR52:
    case ProtocolFamily::LB36:
        return SerialProtocol::EchoedBytes;
    case ProtocolFamily::FQ054:
        return SerialProtocol::FixedArea;
    case ProtocolFamily::MQQM5:
        return SerialProtocol::None;
    case ProtocolFamily::Generic:
        break;
    }
    return SerialProtocol::Generic;
}

// ---- the generic serial transfer ----------------------------------------------

bool StoresLogoWithTransferCommand(const QString& model)
{
    // Exactly the printers that take the logo as a BMP image.
    return IsUsbBitmapModel(model);
}

bool UsesUsbPrintData(const QString& model)
{
    return IsUsbBitmapModel(model);
}

bool SendsBitmapStream(const QString& model)
{
    // VD8 takes BMP data over USB only; on a serial line it gets the plain raster.
    return IsAnyOf(model, {"JMQ9534", "BDQGMLW"});
}

int SerialBlockSize(const QString& model)
{
    return StoresLogoWithTransferCommand(model) ? kBitmapModelBlockSize : kBlockSize;
}

int SerialTailBytes(const QString& model)
{
    // The printers that want zero bytes after the plain print data want the
    // same number after the serial stream.
    return TrailingZeroBytes(model);
}

QString NumberedTransferCommandName(int logoNumber)
{
    return QStringLiteral("CmdTxLogo") + QChar(static_cast<char16_t>(u'0' + logoNumber));
}

QString SerialTransferCommandName(const QString& model, int logoNumber)
{
    return TakesSlotDigitInDownloadCommand(model) ? NumberedTransferCommandName(logoNumber)
                                                  : QStringLiteral("CmdTxLogo");
}

QString ParallelTransferCommandName(const QString& model, int logoNumber)
{
    return IsParallelBlockModel(model) ? NumberedTransferCommandName(logoNumber) : QStringLiteral("CmdTxLogo");
}

QString TransferCommandName(const QString& portName, const QString& model, int logoNumber)
{
    switch (PortKindOf(portName)) {
    case PortKind::Serial:
        return SerialTransferCommandName(model, logoNumber);
    case PortKind::Parallel:
        return ParallelTransferCommandName(model, logoNumber);
    case PortKind::Usb:
        break;
    }
    return NumberedTransferCommandName(logoNumber);
}

CAfterGenericTransfer AfterGenericTransfer(const QString& model)
{
    CAfterGenericTransfer after;
    if (IsAnyOf(model, kFlashStepSendsCommandModels))
        after.flashAfterTx = false;
    else if (IsAnyOf(model, kDataReachesFlashModels))
        after.flashAfterTx = true;
    else
        after.logoInRam = !IsAnyOf(model, kNoRamCopyModels);
    after.showSuccessBox = StoresLogoWithTransferCommand(model);
    return after;
}

// ---- the parallel port -----------------------------------------------------------

bool IsParallelBlockModel(const QString& model)
{
    return IsAnyOf(model, {"QVGDCMR", "ZHBQ786", "NDVNGF", "J4", "FFH107", "CDGQ-CC"});
}

int ParallelBlockCount(int streamLength, bool blockModel)
{
    if (streamLength <= 0)
        return 0;
    return blockModel ? streamLength / kParallelBlockSize + 1 : streamLength;
}

bool TakesParallelArea(const QString& model)
{
    return IsAnyOf(model, {"BDQG"});
}

bool KeepsRamOverParallel(const QString& model)
{
    // The four MZVZV models of the paper-size warning.
    return Is80mmPaperWarningModel(model);
}

int ParallelResetWaitMs(const QString& model)
{
    return IsParallelBlockModel(model) ? 35000 : 8000;
}

// ---- USB ---------------------------------------------------------------------------

bool IsUsbTransferModel(const QString& model)
{
    return IsAnyOf(model, {"VD8", "J4", "BDQGMLW"});
}

bool UsbStreamIsBitmap(const QString& model)
{
    return IsAnyOf(model, {"VD8", "BDQGMLW"});
}

bool UsbStreamStoresItself(const QString& model)
{
    return IsAnyOf(model, {"J4"});
}

int UsbBlockSize(const QString& model)
{
    return UsbStreamIsBitmap(model) ? kBitmapModelBlockSize : kBlockSize;
}
