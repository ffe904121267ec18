#include "transfer/SerialTransfer.h"

#include "components/Conversioni.h"
#include "printer/ModelCatalogue.h"
#include "resources/StringTable.h"
#include "transfer/BlockSender.h"
#include "transfer/PortStream.h"
#include "transfer/RamPrint.h"
#include "transfer/SerialSteps.h"
#include "transfer/TransferHost.h"
#include "transfer/TransferModels.h"

namespace {

constexpr int kPortCloseDelayMs = 200;
constexpr int kGsiSettleMs = 100;
constexpr int kXnz11SettleMs = 1000;
constexpr const char* kBlockCaller = "CGlyphaneView::SendDataToGeneric()";

} // namespace

CSerialTransfer::CSerialTransfer(const CTransferRequest& request, CTransferHost& host, CCsGenericPrn& port,
                                 QObject* window)
    : m_request(request)
    , m_host(host)
    , m_port(port)
    , m_window(window)
    , m_flags(request.flags)
{
}

bool CSerialTransfer::Fail(const QString& reason)
{
    if (m_strFailure.isEmpty())
        m_strFailure = reason;
    return false;
}

// ---- the port ----------------------------------------------------------------

void CSerialTransfer::PostSettings(bool open)
{
    m_host.PortStatus(open, open ? m_port.Get_m_strSerConfig() : QString());
}

bool CSerialTransfer::OpenSerialPort()
{
    if (!m_port.InitThisObject(m_window, m_request.portName, 1, m_request.serialLogPath, &m_request.printerCfg)) {
        m_bPortLost = true;
        PostSettings(false);
        return Fail(QStringLiteral("%1 cannot be opened: %2").arg(m_request.portName, m_port.LastErrorText()));
    }
    PostSettings(true);
    if (!m_port.PubSetBaudRate(m_port.m_dwBaudRate)) {
        CloseSerialPort();
        return Fail(QStringLiteral("%1 cannot be set to %2 baud").arg(m_request.portName).arg(m_port.m_dwBaudRate));
    }
    return true;
}

void CSerialTransfer::CloseSerialPort()
{
    m_host.Sleep(kPortCloseDelayMs);
    if (m_port.DeInitializePort())
        PostSettings(false);
}

bool CSerialTransfer::FindPrinterSpeed()
{
    // A printer keeps the speed the last transfer switched it to, so one that
    // is not detected by identification (the WGJ33) is looked for at every
    // detection speed before it is called silent; where a scan has just heard
    // it, at that speed first.
    const DWORD opened = m_port.CurrentBaudRate();
    if (m_request.foundBaud != 0 && m_request.foundBaud != opened && !m_port.PubSetBaudRate(m_request.foundBaud))
        return Fail(QStringLiteral("%1 cannot be set to %2 baud").arg(m_request.portName).arg(m_request.foundBaud));
    if (!::FindPrinterSpeed(m_port, [this] { return m_host.StopRequested(); }))
        return Fail(QStringLiteral("the printer does not answer on %1").arg(m_request.portName));
    if (m_port.CurrentBaudRate() != opened)
        PostSettings(true);
    return true;
}

bool CSerialTransfer::StretchWgj33Timeouts()
{
    switch (::StretchWgj33Timeouts(m_port, false)) {
    case Wgj33Timeouts::Stretched:
        return true;
    case Wgj33Timeouts::NotReady:
        return Fail(QStringLiteral("the printer is not ready to take data"));
    case Wgj33Timeouts::NotSettable:
        break;
    }
    return false;
}

bool CSerialTransfer::DetectSpeed()
{
    if (!DetectPrinterSpeed(m_port, m_request.printersToTest, m_window, m_request.autoBaudRateFlow)) {
        m_host.Log(QLatin1String(kBaudDetectionFailedLine));
        return Fail(QStringLiteral("no printer of the list answered at any speed"));
    }
    return true;
}

// ---- the procedure -----------------------------------------------------------

int CSerialTransfer::SendLogoToSerial()
{
    if (!OpenSerialPort()) {
        CloseSerialPort();
        return 0;
    }
    if (m_flags.wgjPrinter && (!FindPrinterSpeed() || !StretchWgj33Timeouts())) {
        CloseSerialPort();
        return 0;
    }
    if (!m_port.GetStatusPrinter(0)) {
        Fail(QStringLiteral("the printer does not answer on %1").arg(m_request.portName));
        CloseSerialPort();
        return 0;
    }
    if (!m_flags.wgjPrinter && !DetectSpeed()) {
        CloseSerialPort();
        return 0;
    }
    // MQQM5 has no protocol of its own: it takes the generic stream.
    int result = -1;
    switch (SerialProtocolOf(Model())) {
    case SerialProtocol::FlashArea:
        result = SendLogoToFlashArea();
        break;
    case SerialProtocol::EchoedBytes:
        result = SendBytesToSerial();
        break;
    case SerialProtocol::FixedArea:
        result = SendLogoToFixedArea();
        break;
    case SerialProtocol::Generic:
    case SerialProtocol::None:
        break;
    }
    if (result >= 0) {
        CloseSerialPort();
        return result;
    }
    if (!SendDataToSerial()) {
        RestoreOwedSpeed();
        CloseSerialPort();
        return 0;
    }
    // A failed after-step closes the port as every other failure does, so the
    // port pane and the next job find it closed.
    if (IsProgram() && !StoresLogoWithTransferCommand(Model())) {
        if (m_flags.rxhPrinter) {
            const int stored = SendRamToFlashRxh();
            RestoreOwedSpeed();
            if (!stored) {
                Fail(QStringLiteral("the printer did not store the logo in slot %1").arg(m_request.slot));
                CloseSerialPort();
                return 0;
            }
        } else if (!SendRamToFlash()) {
            Fail(QStringLiteral("the printer did not store the logo in slot %1").arg(m_request.slot));
            CloseSerialPort();
            return 0;
        }
    } else if (!IsProgram() && !PrintRamLogo()) {
        Fail(QStringLiteral("the printer did not print the logo"));
        m_bSpeedRestoreOwed = false;
        RestoreComBaudRate();
        CloseSerialPort();
        return 0;
    }
    RestoreOwedSpeed();
    CloseSerialPort();
    return 1;
}

void CSerialTransfer::RestoreOwedSpeed()
{
    if (!m_bSpeedRestoreOwed)
        return;
    m_bSpeedRestoreOwed = false;
    RestoreComBaudRate();
}

int CSerialTransfer::SendFromRam()
{
    if (!m_host.Sleep(1500))
        return 0;
    if (!OpenSerialPort()) {
        CloseSerialPort();
        return 0;
    }
    // Every printer must answer its status before its RAM is used; it may
    // still run at the speed the previous transfer switched it to.
    if (!FindPrinterSpeed()
        || (m_flags.wgjPrinter && (!StretchWgj33Timeouts() || !m_port.GetStatusPrinter(0)))) {
        // The first reason found wins; this one covers the status request.
        Fail(QStringLiteral("the printer does not answer on %1").arg(m_request.portName));
        CloseSerialPort();
        return 0;
    }
    if (!m_flags.wgjPrinter && !m_port.PubAutodetectBaudRate(m_request.expectedId, m_window, 0, 1, WM_PORT_STATUS)) {
        m_host.Log(QLatin1String(kBaudDetectionFailedLine));
        Fail(QStringLiteral("the printer does not answer at any speed"));
        CloseSerialPort();
        return 0;
    }
    const int result = IsProgram() ? SendRamToFlash() : PrintRamLogo();
    if (!result)
        Fail(IsProgram() ? QStringLiteral("the printer did not store the logo in slot %1").arg(m_request.slot)
                         : QStringLiteral("the printer did not print the logo"));
    CloseSerialPort();
    return result;
}

int CSerialTransfer::SendDataToSerial()
{
    if (!ChooseTransferSpeed())
        return 0;
    if (WaitsBeforeLogoCommandModel(Model()))
        m_host.Sleep(kXnz11SettleMs);
    if (!SendGenericStream())
        return 0;
    ApplyGenericBookkeeping();
    return 1;
}

// ---- phase 1: the transfer speed ---------------------------------------------

bool CSerialTransfer::SwitchSpeed(const QString& config)
{
    if (m_port.SetAutomaticComPort(config))
        return true;
    m_host.Log(QStringLiteral("Set com port baud rate NOT passed"));
    return Fail(QStringLiteral("the printer did not switch to %1 baud").arg(CsComAm::BaudOfComConfig(config)));
}

bool CSerialTransfer::SwitchSpeedNotifying(const QString& config, WORD code)
{
    if (m_port.SetAutomaticComPort(config, code, m_window, 0, 1, WM_PORT_STATUS))
        return true;
    m_host.Log(QStringLiteral("Set com port baud rate NOT passed"));
    return Fail(QStringLiteral("the printer did not switch to %1 baud").arg(CsComAm::BaudOfComConfig(config)));
}

bool CSerialTransfer::ChooseTransferSpeed()
{
    const QString& model = Model();
    if (ChecksSoftwareReleaseModel(model) && m_port.GetReleaseSwStampante().toLatin1() < QByteArray("0.40")) {
        m_host.Message(QStringLiteral("Incompatible Firmware Release, upgrade required "), QStringLiteral("error"),
                       MB_OK | MB_ICONERROR);
        return Fail(QStringLiteral("the printer's firmware release is older than 0.40"));
    }
    if (IsHighSpeedKeepRamModel(model)) {
        if (!SwitchSpeed(QStringLiteral("C1152XXnoP8bt")))
            return false;
        m_flags.lptKeepsRam = true;
    } else if (IsHighSpeedGsiCheckModel(model)) {
        if (!SwitchSpeed(QStringLiteral("C1152XXnoP8bt")))
            return false;
        m_host.Sleep(kGsiSettleMs);
        BYTE id = 0xFF;
        if (!m_port.GetModelToThePrinter(&id)) {
            m_host.Log(QStringLiteral("Unable to get Printer GSI"));
            return Fail(QStringLiteral("the printer did not give its identification"));
        }
        if (id != m_request.expectedId)
            return Fail(QStringLiteral("the printer is not a %1 (identification %2)").arg(Model()).arg(id));
        m_flags.rxhPrinter = false;
    } else if (IsKeepDetectedKeepRamModel(model)) {
        m_flags.lptKeepsRam = true;
    } else if (IsFiscalModel(model)) {
        const int baud = m_host.ChooseBaudRate();
        if (baud == 38400) {
            if (!SwitchSpeedNotifying(QStringLiteral("C38400XXnoP8bt"), 646))
                return false;
        } else if (baud == 19200) {
            if (!SwitchSpeedNotifying(QStringLiteral("C19200XXnoP8bt"), 645))
                return false;
        } else if (baud == 9600) {
            if (!SwitchSpeedNotifying(QStringLiteral("C9600XXnoP8bt"), 644))
                return false;
        } else {
            return Fail(QStringLiteral("no baud rate was chosen"));
        }
    } else if (KeepsDetectedRateModel(model)) {
        m_host.Log(QStringLiteral("Impossible to change baud rate for this printer"));
    } else if (IsWgj33Model(model)) {
        const QString release = m_port.GetReleaseFirmwareWgj33();
        if (!CConversioni::IsRelease(release)) {
            m_host.Message(LoadString(61506), LoadString(1035), MB_OK | MB_ICONSTOP);
            CloseSerialPort();
            return Fail(QStringLiteral("the printer gave no valid firmware release"));
        }
        if (CConversioni::CtringToInt(CConversioni::CleanCharInCString(release, QLatin1Char('.'))) > 179
            && !SwitchSpeed(QStringLiteral("C0384XXnoP8bt")))
            return false;
    } else if (IsMzvzvrxhModel(model)) {
        m_flags.rxhPrinter = true;
        if (!SwitchSpeedNotifying(QStringLiteral("C38400XXnoP8bt"), 646))
            return false;
        m_bSpeedRestoreOwed = true;
    } else {
        if (!SwitchSpeed(QStringLiteral("C0384XXnoP8bt")))
            return false;
        if (IsQnndModel(model))
            m_flags.qnndMode = true;
    }
    PostSettings(true);
    return FeedAndCutOwed();
}

bool CSerialTransfer::FeedAndCutOwed()
{
    // A printer just identified has a half-printed test page to push out.
    if (!m_flags.printerDetected || IsFiscalModel(Model()))
        return true;
    if (!SkipsFeedAfterDetectionModel(Model())) {
        if (!m_port.NLfOutput(kLineFeedsAfterLogo))
            return Fail(QStringLiteral("the printer did not take the line feeds"));
        if (!IsUsbBitmapModel(Model()) && !m_port.NewSendCommandToCom(QStringLiteral("Ctotcut")))
            return Fail(QStringLiteral("the printer did not take the cut"));
    }
    m_flags.printerDetected = false;
    return true;
}

// ---- phases 2 to 4: the stream -------------------------------------------------

bool CSerialTransfer::WriteBlock(const BYTE* bytes, int length)
{
    if (!m_port.IsPrinterOn(0)) {
        m_host.Log(QStringLiteral("[CGlyphaneView::CommandToSendLogo] Printer is OFF"));
        return false;
    }
    return m_port.SendCommandToComm(bytes, static_cast<DWORD>(length));
}

bool CSerialTransfer::SendGenericStream()
{
    m_raster = PrepareRequestRaster(m_request, [this] { return m_host.FrameMayCoverLogo(); });
    CStreamParts parts;
    CPortStream stream;
    QString why;
    if (!MakeStreamParts(m_request, m_raster, &parts, &why) || !BuildPortStream(m_request, parts, &stream, &why))
        return Fail(why);

    CBlockSending sending;
    sending.caller = QLatin1String(kBlockCaller);
    sending.writeBlock = [this](const BYTE* bytes, int length) { return WriteBlock(bytes, length); };
    sending.onSendError = [this] { m_host.Message(LoadString(61457), LoadString(1035), MB_OK | MB_ICONSTOP); };
    sending.baud = m_port.CurrentBaudRate();
    const CBlockPlan plan = PlanBlocks(stream.length, SerialBlockSize(Model()), stream.tailBytes);
    switch (SendBlocks(stream.bytes, plan, m_host, sending)) {
    case BlockResult::Sent:
        return true;
    case BlockResult::Stopped:
        return Fail(QStringLiteral("stopped"));
    case BlockResult::Failed:
        break;
    }
    return Fail(QStringLiteral("the printer stopped taking the logo"));
}

void CSerialTransfer::ApplyGenericBookkeeping()
{
    const CAfterGenericTransfer after = AfterGenericTransfer(Model());
    if (after.flashAfterTx)
        m_flags.flashAfterTx = *after.flashAfterTx;
    if (after.logoInRam)
        m_flags.logoInRam = *after.logoInRam;
    if (after.showSuccessBox)
        m_host.Inform(LoadString(61459), LoadString(61456), MB_OK | MB_ICONEXCLAMATION);
}

// ---- the after-steps -------------------------------------------------------------

int CSerialTransfer::PrintRamLogo()
{
    return ::PrintRamLogo(m_port);
}

int CSerialTransfer::SendRamToFlash()
{
    return ::SendRamToFlash(m_port, m_request, m_host, m_flags, RamToFlashWaitMs(Model()));
}

int CSerialTransfer::SendRamToFlashRxh()
{
    _CalcTimeout timeouts;
    if (!m_port.GetCurrentTimeoutSystem(&timeouts)) {
        m_host.Message(LoadString(61530), LoadString(1035), MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    timeouts.Value(3) = 10000;
    timeouts.Value(4) = 1;
    if (!m_port.SetNewTimeoutSystem(timeouts)) {
        m_host.Message(LoadString(61531), LoadString(1035), MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    if (!m_flags.flashAfterTx) {
        CBufferUC command;
        if (!m_request.printerCfg.GetCommandPrinters(QStringLiteral("CmdRAMFlash"), command) || command.GetSize() < 3)
            return 0;
        command.SetByte(static_cast<BYTE>(m_request.slot), command.GetSize() - 1);
        BYTE reply = 0;
        DWORD replyLength = 1, written = 0;
        const bool answered = m_port.SendCommandToComm(command.GetpBuf(), 3, &reply, &replyLength, &written);
        if (!answered || replyLength != 1 || reply != 0xAA) {
            m_host.Message(LoadString(61532), LoadString(61456), MB_OK | MB_ICONEXCLAMATION);
            return 0;
        }
        m_host.Inform(LoadString(61459), LoadString(61456), MB_OK | MB_ICONEXCLAMATION);
    }
    m_flags.logoInRam = false;
    return 1;
}

int CSerialTransfer::RestoreComBaudRate()
{
    return SwitchSpeedNotifying(QStringLiteral("C9600XXnoP8bt"), 388) ? 1 : 0;
}
