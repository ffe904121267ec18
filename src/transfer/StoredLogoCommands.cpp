#include "transfer/StoredLogoCommands.h"

#include "components/BufferUC.h"
#include "components/LoadCfgPrnFile.h"
#include "printer/ModelCatalogue.h"

namespace {

constexpr int kSubLogoCount = 4;
constexpr int kExtraFeeds = 12;
constexpr int kFeedsInsteadOfCut = 24;

} // namespace

QString StoredLogoCommandName(int slot)
{
    return QStringLiteral("CmdPrtLogo") + QChar(48 + slot);
}

QString FiscalLogoCommandName(int slot)
{
    return QStringLiteral("CmdPrtLogo%1").arg(slot, 2, 10, QLatin1Char('0'));
}

QString FiscalSubLogoCommandName(int slot, int subLogo)
{
    return FiscalLogoCommandName(slot) + QStringLiteral("%1").arg(subLogo, 2, 10, QLatin1Char('0'));
}

QStringList FiscalPrintCommandNames(int slot, BYTE subLogoBits)
{
    if (subLogoBits == kWholeLogoMask)
        return {FiscalLogoCommandName(slot)};
    QStringList names;
    for (int k = 1; k <= kSubLogoCount; ++k)
        if (subLogoBits & (1 << (k - 1)))
            names << FiscalSubLogoCommandName(slot, k);
    return names;
}

bool FetchPrinterCommand(const CLoadCfgPrnFile& cfg, const QString& name, CBufferUC& out, QString* why)
{
    if (!cfg.GetCommandPrinters(name, out) || out.GetSize() == 0) {
        *why = QStringLiteral("the printer configuration has no command %1").arg(name);
        return false;
    }
    if (out.GetSize() > kMaxStoredLogoCommandBytes) {
        *why = QStringLiteral("the configured command %1 has %2 bytes, more than the %3 a printer takes in one "
                              "command: not sent")
                   .arg(name)
                   .arg(out.GetSize())
                   .arg(kMaxStoredLogoCommandBytes);
        return false;
    }
    return true;
}

bool FetchFlashToRamCommand(const CLoadCfgPrnFile& cfg, int slot, CBufferUC& out, QString* why)
{
    if (!FetchPrinterCommand(cfg, QStringLiteral("CmdFlashRAM"), out, why))
        return false;
    out.SetByte(static_cast<BYTE>(slot), out.GetSize() - 1);
    return true;
}

CStoredLogoFeeds SerialStoredLogoFeeds(const QString& model)
{
    CStoredLogoFeeds feeds;
    if (IsExtraFeedModel(model))
        feeds.extraFeeds = kExtraFeeds;
    if (IsUsbBitmapModel(model)) {
        feeds.cut = false;
        if (model == QLatin1String("JMQ9534") || model == QLatin1String("VD8"))
            feeds.feedsInsteadOfCut = kFeedsInsteadOfCut;
    }
    return feeds;
}
