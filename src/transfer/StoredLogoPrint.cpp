#include "transfer/StoredLogoPrint.h"

#include "components/BufferUC.h"
#include "components/PComAm.h"
#include "components/SComAm.h"
#include "components/UComAm.h"
#include "printer/ModelCatalogue.h"
#include "resources/StringTable.h"
#include "transfer/RamPrint.h"
#include "transfer/SerialSteps.h"
#include "transfer/StoredLogoCommands.h"

namespace {

// The printer needs a moment to move the slot into RAM before it is asked to print it.
constexpr int kFlashToRamSettleMs = 200;

} // namespace

CStoredLogoPrint::CStoredLogoPrint(const CStoredLogoRequest& request, CStoredLogoHost& host)
    : m_request(request)
    , m_host(host)
{
}

int CStoredLogoPrint::Fail(const QString& reason)
{
    if (m_strFailure.isEmpty())
        m_strFailure = reason;
    return 0;
}

bool CStoredLogoPrint::Fetch(const QString& name, CBufferUC& out)
{
    QString why;
    return FetchPrinterCommand(m_request.printerCfg, name, out, &why) || Refused(out, why);
}

bool CStoredLogoPrint::FetchFlashToRam(CBufferUC& out)
{
    QString why;
    return FetchFlashToRamCommand(m_request.printerCfg, m_request.slot, out, &why) || Refused(out, why);
}

bool CStoredLogoPrint::Refused(const CBufferUC& command, const QString& why)
{
    // Only a command refused for its length is the operator's to mend in the
    // configuration file; a missing one ends the print as a refused one does.
    if (command.GetSize() > kMaxStoredLogoCommandBytes)
        m_host.Log(QStringLiteral("[PrintLogo] ") + why);
    Fail(why);
    return false;
}

// ---- serial --------------------------------------------------------------------

bool CStoredLogoPrint::PrepareSerialPrinter(CsComAm& port)
{
    // The printer may still be at the speed a transfer left it at, so it is
    // asked at every detection speed before it is called silent.
    if (!FindPrinterSpeed(port)) {
        Fail(QStringLiteral("the printer does not answer on %1").arg(m_request.portName));
        return false;
    }
    if (m_request.wgjPrinter) {
        switch (StretchWgj33Timeouts(port, true)) {
        case Wgj33Timeouts::Stretched:
            return true;
        case Wgj33Timeouts::NotSettable:
            Fail(QStringLiteral("the time-outs of %1 cannot be set").arg(m_request.portName));
            return false;
        case Wgj33Timeouts::NotReady:
            Fail(QStringLiteral("the printer is not ready to take data"));
            return false;
        }
    }
    if (!DetectPrinterSpeed(port, m_request.printersToTest, m_request.window, m_request.autoBaudRateFlow)) {
        m_host.Log(QLatin1String(kBaudDetectionFailedLine));
        Fail(QStringLiteral("no printer of the list answered at any speed"));
        return false;
    }
    return true;
}

int CStoredLogoPrint::PrintOverSerial(CsComAm& port)
{
    if (!PrepareSerialPrinter(port))
        return 0;
    m_bDetectionPassed = true;
    if (IsFiscalModel(m_request.model))
        return PrintFiscalLogo(port);
    return m_request.flashPrinting ? PrintStoredLogoSerial(port) : PrintViaRamSerial(port);
}

int CStoredLogoPrint::PrintFiscalLogo(CsComAm& port)
{
    for (const QString& name : FiscalPrintCommandNames(m_request.slot, m_request.subLogoBits)) {
        CBufferUC command;
        if (!Fetch(name, command))
            return 0;
        if (!port.SendCommandToComm(command.GetpBuf(), static_cast<DWORD>(command.GetSize())))
            return Fail(QStringLiteral("the printer did not take %1").arg(name));
    }
    if (!port.NewSendCommandToCom(QStringLiteral("Ctotcut")))
        return Fail(QStringLiteral("the printer did not take the cut"));
    return 1;
}

// The slot's own print command ("CmdPrtLogo" and the slot).
template <class Port>
int CStoredLogoPrint::SendSlotPrintCommand(Port& port)
{
    const QString name = StoredLogoCommandName(m_request.slot);
    CBufferUC command;
    if (!Fetch(name, command))
        return 0;
    if (!port.SendCommandToComm(command.GetpBuf(), static_cast<DWORD>(command.GetSize())))
        return Fail(QStringLiteral("the printer did not take %1").arg(name));
    return 1;
}

int CStoredLogoPrint::PrintStoredLogoSerial(CsComAm& port)
{
    if (!SendSlotPrintCommand(port))
        return 0;
    const CStoredLogoFeeds feeds = SerialStoredLogoFeeds(m_request.model);
    if (!port.NLfOutput(feeds.feeds) || (feeds.extraFeeds > 0 && !port.NLfOutput(feeds.extraFeeds)))
        return Fail(QStringLiteral("the printer did not take the line feeds"));
    if (feeds.cut && !port.NewSendCommandToCom(QStringLiteral("Ctotcut")))
        return Fail(QStringLiteral("the printer did not take the cut"));
    if (feeds.feedsInsteadOfCut > 0 && !port.NLfOutput(feeds.feedsInsteadOfCut))
        return Fail(QStringLiteral("the printer did not take the line feeds"));
    return 1;
}

int CStoredLogoPrint::PrintViaRamSerial(CsComAm& port)
{
    return PrintViaRam(port);
}

// The slot copied into RAM ("CmdFlashRAM" with the slot as its last byte),
// a moment for the printer, then the RAM print.
template <class Port>
int CStoredLogoPrint::PrintViaRam(Port& port)
{
    CBufferUC command;
    if (!FetchFlashToRam(command))
        return 0;
    if (!port.SendCommandToComm(command.GetpBuf(), static_cast<DWORD>(command.GetSize())))
        return Fail(QStringLiteral("the printer did not take CmdFlashRAM"));
    m_bRamOverwritten = true;
    m_host.Sleep(kFlashToRamSettleMs);
    if (!PrintRamLogo(port))
        return Fail(QStringLiteral("the printer did not print its RAM"));
    return 1;
}

// Written is not printed: the driver may still hold what the printer has
// not taken, and closing the port would drop it. Done once the printer has it.
template <class Port>
int CStoredLogoPrint::AllTaken(Port& port)
{
    if (!port.WaitUntilTaken())
        return Fail(QStringLiteral("the printer did not take the print commands"));
    return 1;
}

// ---- parallel ------------------------------------------------------------------

int CStoredLogoPrint::PrintOverParallel(CQvPComAm& port)
{
    if (IsSelectLineWarningModel(m_request.model))
        m_host.Inform(LoadString(61533), LoadString(61446), MB_OK | MB_ICONEXCLAMATION);
    const int printed = m_request.flashPrinting ? PrintStoredLogoParallel(port) : PrintViaRamParallel(port);
    return printed ? AllTaken(port) : 0;
}

int CStoredLogoPrint::PrintStoredLogoParallel(CQvPComAm& port)
{
    if (!SendSlotPrintCommand(port))
        return 0;
    if (!port.NLfOutput(kLineFeedsAfterLogo))
        return Fail(QStringLiteral("the printer did not take the line feeds"));
    if (!port.NewSendCommandToCom(QStringLiteral("Ctotcut")))
        return Fail(QStringLiteral("the printer did not take the cut"));
    return 1;
}

int CStoredLogoPrint::PrintViaRamParallel(CQvPComAm& port)
{
    return PrintViaRam(port);
}

// ---- USB -------------------------------------------------------------------------

int CStoredLogoPrint::PrintOverUsb(CQvComAm& usb)
{
    if (!usb.IsPrinterOnline()) {
        m_host.Message(LoadString(61545), LoadString(1035), MB_OK | MB_ICONSTOP);
        return Fail(QStringLiteral("the printer is off line"));
    }
    if (usb.GetPrinterGSI() != m_request.expectedId) {
        m_host.Message(LoadString(61546), LoadString(1035), MB_OK | MB_ICONSTOP);
        return Fail(QStringLiteral("the printer on the port is not a %1").arg(m_request.model));
    }
    if (!IsUsbPrintModel(m_request.model))
        return 1; // these printers print no stored logo over USB
    return PrintStoredLogoUsb(usb) ? AllTaken(usb) : 0;
}

int CStoredLogoPrint::PrintStoredLogoUsb(CQvComAm& usb)
{
    if (!SendSlotPrintCommand(usb))
        return 0;
    if (!usb.NLfOutput(kLineFeedsAfterLogo))
        return Fail(QStringLiteral("the printer did not take the line feeds"));
    if (!IsUsbBitmapModel(m_request.model)) {
        CBufferUC cut;
        QString why;
        if (FetchPrinterCommand(m_request.printerCfg, QStringLiteral("Ctotcut"), cut, &why))
            usb.SendCommandToComm(cut.GetpBuf(), static_cast<DWORD>(cut.GetSize()));
    }
    return 1;
}
