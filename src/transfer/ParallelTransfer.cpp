#include "transfer/ParallelTransfer.h"

#include "components/PrinterProtocol.h"
#include "printer/ModelCatalogue.h"
#include "resources/StringTable.h"
#include "transfer/BlockSender.h"
#include "transfer/PortStream.h"
#include "transfer/RamPrint.h"
#include "transfer/TransferHost.h"
#include "transfer/TransferModels.h"

namespace {

constexpr int kPortCloseDelayMs = 200;
// The printer takes the area frame before the first block.
constexpr int kAreaFrameSettleMs = 1000;
// The parallel component writes each 129-byte block in packets of this size.
constexpr DWORD kAreaPacketSize = 20;
constexpr WORD kParallelAreaFirst = 0xC000;
constexpr WORD kParallelAreaLast = 0xCFFF;
constexpr const char* kLptCaller = "CGlyphaneView::SendDataToLptPort()";
constexpr const char* kAreaCaller = "CGlyphaneView::SendDataToHvczil()";

QString Line(const char* caller, const QString& text)
{
    return QStringLiteral("[%1] %2").arg(QLatin1String(caller), text);
}

} // namespace

CParallelTransfer::CParallelTransfer(const CTransferRequest& request, CTransferHost& host, CQvPComAm& port)
    : m_request(request)
    , m_host(host)
    , m_port(port)
    , m_flags(request.flags)
{
}

bool CParallelTransfer::Fail(const QString& reason)
{
    if (m_strFailure.isEmpty())
        m_strFailure = reason;
    return false;
}

bool CParallelTransfer::OpenParallelPort()
{
    if (m_port.InitLptComPort(&m_request.printerCfg))
        return true;
    m_bPortLost = true;
    return Fail(QStringLiteral("%1 cannot be opened: %2").arg(m_request.portName, m_port.LastErrorText()));
}

void CParallelTransfer::CloseParallelPort()
{
    m_host.Sleep(kPortCloseDelayMs);
    m_port.CloseLptPort();
}

CBufferUC CParallelTransfer::BuildRaster()
{
    m_raster = PrepareRequestRaster(m_request, [this] { return m_host.FrameMayCoverLogo(); });
    return m_request.options.reverseColor ? m_raster : ~m_raster;
}

// ---- the procedure -----------------------------------------------------------

int CParallelTransfer::SendLogoToLpt()
{
    if (KeepsRamOverParallel(Model()))
        m_flags.lptKeepsRam = true;
    if (IsQnndModel(Model()))
        m_flags.qnndMode = false;
    if (!OpenParallelPort()) {
        CloseParallelPort();
        return 0;
    }
    if (TakesParallelArea(Model())) {
        const int result = SendLogoToLptArea();
        CloseParallelPort();
        return result;
    }
    if (!SendDataToLptPort() || !AllTaken()) {
        CloseParallelPort();
        return 0;
    }
    if (IsProgram() ? !SendRamToFlash() : !PrintRamLogo()) {
        Fail(IsProgram() ? QStringLiteral("the printer did not store the logo in slot %1").arg(m_request.slot)
                         : QStringLiteral("the printer did not print the logo"));
        CloseParallelPort();
        return 0;
    }
    if (!AllTaken()) {
        CloseParallelPort();
        return 0;
    }
    if (m_flags.lptKeepsRam || m_flags.qnndMode)
        m_flags.logoInRam = true;
    CloseParallelPort();
    return 1;
}

bool CParallelTransfer::AllTaken()
{
    // Written is not printed: the driver may still hold what the printer
    // has not taken, and a printer gone meanwhile never will.
    if (m_port.WaitUntilTaken())
        return true;
    m_host.Message(LoadString(61457), LoadString(1035), MB_OK | MB_ICONSTOP);
    return Fail(QStringLiteral("the printer did not take the whole logo: %1").arg(m_port.LastErrorText()));
}

int CParallelTransfer::SendFromRam()
{
    if (!OpenParallelPort()) {
        CloseParallelPort();
        return 0;
    }
    const int result = IsProgram() ? SendRamToFlash() : PrintRamLogo();
    m_port.CloseLptPort();
    if (!result)
        Fail(QStringLiteral("the printer did not take the command"));
    return result;
}

// ---- the flash-area model ----------------------------------------------------------

int CParallelTransfer::SendLogoToLptArea()
{
    m_host.PortStatus(true, QString());
    m_flags.printerDetected = false;
    const CBufferUC raster = BuildRaster();
    const int result = SendDataToHvczil(raster, {{kParallelAreaFirst, kParallelAreaLast}});
    m_flags.flashAfterTx = false;
    m_flags.logoInRam = false;
    return result;
}

int CParallelTransfer::SendDataToHvczil(const CBufferUC& raster, const std::vector<areaproto::CArea>& areas)
{
    const int steps = areaproto::AreaSteps(areas);
    m_host.ProgressStart(steps, static_cast<qint64>(steps) * prnproto::kAreaBlockData, 0);
    m_host.Log(QStringLiteral("--- [%1] Log file for send data operation is initialized ---").arg(QLatin1String(kAreaCaller)));
    m_host.Log(Line(kAreaCaller, QStringLiteral("Begin send logo to printer")));
    const auto sendError = [this] {
        m_host.Message(LoadString(61512), LoadString(1035), MB_OK | MB_ICONEXCLAMATION);
        m_host.ProgressEnd();
        Fail(QStringLiteral("the printer did not take the logo area"));
        return 0;
    };
    const areaproto::CArea& area = areas.front();
    const std::vector<BYTE> frame = areaproto::AddressFrame(area, false);
    if (!m_port.SendCommandToComm(frame.data(), static_cast<DWORD>(frame.size())))
        return sendError();
    if (!m_host.Sleep(kAreaFrameSettleMs)) {
        m_host.ProgressEnd();
        return Fail(QStringLiteral("stopped"));
    }
    // No answers come back: the blocks go out in address order. White is 0x00
    // on the wire unless Reverse Color sends the raster as it is.
    const BYTE blank = m_request.options.reverseColor ? 0xFF : 0x00;
    for (unsigned offset = area.first; offset < area.last; offset += prnproto::kAreaBlockData) {
        if (m_host.StopRequested()) {
            m_host.Log(Line(kAreaCaller, QStringLiteral("Process send data stopped by user at address %1")
                                             .arg(offset, 4, 16, QLatin1Char('0'))));
            m_host.ProgressEnd();
            return Fail(QStringLiteral("stopped"));
        }
        const std::vector<BYTE> block = areaproto::DataBlock(raster, area.first, static_cast<WORD>(offset), blank);
        if (!m_port.SendPacketToCommSize(block.data(), static_cast<DWORD>(block.size()), kAreaPacketSize))
            return sendError();
        m_host.ProgressStep(prnproto::kAreaBlockData, 1);
    }
    // Success only once the printer has the last block, not the driver.
    if (!m_port.WaitUntilTaken())
        return sendError();
    m_host.ProgressEnd();
    m_host.Inform(LoadString(61459), LoadString(61456), MB_OK | MB_ICONEXCLAMATION);
    return 1;
}

// ---- the stream in blocks ----------------------------------------------------------

int CParallelTransfer::SendDataToLptPort()
{
    m_host.PortStatus(true, QString());
    const bool blockModel = IsParallelBlockModel(Model());
    m_raster = PrepareRequestRaster(m_request, [this] { return m_host.FrameMayCoverLogo(); });
    CStreamParts parts;
    CPortStream built;
    QString why;
    if (!MakeStreamParts(m_request, m_raster, &parts, &why) || !BuildPortStream(m_request, parts, &built, &why))
        return Fail(why);
    CBufferUC stream = built.bytes;
    const int length = stream.GetSize();
    const int blocks = ParallelBlockCount(length, blockModel);
    CBlockPlan plan;
    plan.blockSize = blockModel ? kParallelBlockSize : 1;
    plan.fullBlocks = blocks;
    plan.steps = blocks;
    // The last 22-byte block reaches past the stream: zero bytes fill it.
    stream += CBufferUC(blocks * plan.blockSize - length, 0);

    CBlockSending sending;
    sending.caller = QLatin1String(kLptCaller);
    sending.namesBlockCount = true;
    sending.writeBlock = [this](const BYTE* bytes, int count) {
        return m_port.SendPacketToComm(bytes, static_cast<DWORD>(count)) != FALSE;
    };
    sending.onSendError = [this] { m_host.Message(LoadString(61457), LoadString(1035), MB_OK | MB_ICONSTOP); };
    switch (SendBlocks(stream, plan, m_host, sending)) {
    case BlockResult::Sent:
        break;
    case BlockResult::Stopped:
        return Fail(QStringLiteral("stopped"));
    case BlockResult::Failed:
        return Fail(QStringLiteral("the printer stopped taking the logo: %1").arg(m_port.LastErrorText()));
    }
    m_host.Log(Line(kLptCaller, QStringLiteral("Stop Send Data Thread")));
    // The view answers as to the stop button: the reminder to restart the printer.
    m_host.PostStopSend();
    m_host.Log(Line(kLptCaller, QStringLiteral("Delete Send Data Thread")));
    m_flags.flashAfterTx = false;
    return 1;
}

// ---- the after-steps -------------------------------------------------------------

int CParallelTransfer::PrintRamLogo()
{
    return ::PrintRamLogo(m_port);
}

int CParallelTransfer::SendRamToFlash()
{
    return ::SendRamToFlash(m_port, m_request, m_host, m_flags, ParallelResetWaitMs(Model()));
}
