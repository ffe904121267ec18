#include "transfer/UsbTransfer.h"

#include "resources/StringTable.h"
#include "transfer/BlockPlan.h"
#include "transfer/BlockSender.h"
#include "transfer/PortStream.h"
#include "transfer/TransferHost.h"
#include "transfer/TransferModels.h"

namespace {

constexpr const char* kUsbCaller = "CGlyphaneView::SendDataToGeneric()";

} // namespace

CUsbTransfer::CUsbTransfer(const CTransferRequest& request, CTransferHost& host, CQvComAm& port)
    : m_request(request)
    , m_host(host)
    , m_port(port)
{
}

bool CUsbTransfer::Fail(const QString& reason)
{
    if (m_strFailure.isEmpty())
        m_strFailure = reason;
    return false;
}

int CUsbTransfer::Send()
{
    const QString& printer = m_request.usbPrinter;
    if (printer.isEmpty() || !m_port.OpenPrinter(printer)) {
        // A printer that cannot be reached is off line, as far as the operator can tell.
        m_host.Message(LoadString(61545), LoadString(1035), MB_OK | MB_ICONSTOP);
        return Fail(QStringLiteral("%1 cannot be opened: %2").arg(printer, m_port.LastErrorText()));
    }
    if (!m_port.IsPrinterOnline()) {
        m_host.Message(LoadString(61545), LoadString(1035), MB_OK | MB_ICONSTOP);
        m_port.ClosePrinter();
        return Fail(QStringLiteral("the printer on %1 is off line").arg(printer));
    }
    const BYTE id = m_port.GetPrinterGSI();
    if (id != m_request.expectedId) {
        m_host.Message(LoadString(61546), LoadString(1035), MB_OK | MB_ICONSTOP);
        m_port.ClosePrinter();
        return Fail(QStringLiteral("the printer on %1 is no %2 (identification %3)").arg(printer, Model()).arg(id));
    }
    // Nothing sent is no success: the operator is told why.
    const int result = IsUsbTransferModel(Model()) ? SendDataToGeneric()
                                                   : Fail(QStringLiteral("this printer takes no logo over USB"));
    m_port.ClosePrinter();
    return result;
}

bool CUsbTransfer::BuildStream(CBufferUC* stream)
{
    m_raster = PrepareRequestRaster(m_request, [this] { return m_host.FrameMayCoverLogo(); });
    CStreamParts parts;
    CPortStream built;
    QString why;
    if (!MakeStreamParts(m_request, m_raster, &parts, &why) || !BuildPortStream(m_request, parts, &built, &why))
        return Fail(why);
    *stream = built.bytes;
    return true;
}

void CUsbTransfer::WriteDump(const CBufferUC& stream)
{
    // A copy for the service people; the transfer goes on without it.
    if (!m_request.usbDumpPath.isEmpty() && !stream.FileFlusOut(m_request.usbDumpPath))
        m_host.Log(QStringLiteral("[%1] %2 could not be written").arg(QLatin1String(kUsbCaller), m_request.usbDumpPath));
}

int CUsbTransfer::SendDataToGeneric()
{
    CBufferUC stream;
    if (!BuildStream(&stream))
        return 0;
    const CBlockPlan plan = PlanBlocks(stream.GetSize(), UsbBlockSize(Model()), 0);
    CBlockSending sending;
    sending.caller = QLatin1String(kUsbCaller);
    sending.writeBlock = [this](const BYTE* bytes, int length) {
        return m_port.SendCommandToComm(bytes, static_cast<DWORD>(length)) != FALSE;
    };
    sending.onSendError = [this] { m_host.Message(LoadString(61457), LoadString(1035), MB_OK | MB_ICONSTOP); };
    sending.beforeFirstBlock = [this, &stream] { WriteDump(stream); };
    switch (SendBlocks(stream, plan, m_host, sending)) {
    case BlockResult::Sent:
        break;
    case BlockResult::Stopped:
        return Fail(QStringLiteral("stopped"));
    case BlockResult::Failed:
        return Fail(QStringLiteral("the printer stopped taking the logo: %1").arg(m_port.LastErrorText()));
    }
    // Written is not printed: success once the printer has taken the stream.
    if (!m_port.WaitUntilTaken()) {
        m_host.Message(LoadString(61457), LoadString(1035), MB_OK | MB_ICONSTOP);
        return Fail(QStringLiteral("the printer did not take the whole logo: %1").arg(m_port.LastErrorText()));
    }
    m_host.Inform(LoadString(61459), LoadString(61456), MB_OK | MB_ICONEXCLAMATION);
    return 1;
}
