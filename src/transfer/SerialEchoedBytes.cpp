// The echoed-byte protocol on the serial port: after the start frame every
// raster byte goes out alone and the printer acknowledges it before the next.
#include "transfer/SerialTransfer.h"

#include "components/PrinterProtocol.h"
#include "resources/StringTable.h"
#include "transfer/TransferHost.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace {

constexpr const char* kEchoCaller = "CGlyphaneView::SendDataToHvczil()";
// A progress step per this many acknowledged bytes.
constexpr int kEchoStepBytes = 1024;
// Printers answering these identification bytes want zero bytes after the raster.
constexpr BYTE kTrailingZeroIds[] = {0x16, 0x86};

} // namespace

int CSerialTransfer::SendBytesToSerial()
{
    PostSettings(true);
    if (!FeedOwedLines())
        return 0;
    // The protocol starts from an empty line in both directions.
    if (!m_port.PurgePort())
        m_host.Log(QStringLiteral("[%1] %2").arg(QLatin1String(kEchoCaller), m_port.LastErrorText()));
    const CBufferUC raster = BuildAreaRaster();
    // Only an acknowledged logo is in the printer: a refused or stopped one
    // must not take the RAM shortcut next time.
    if (!SendEchoedBytes(raster))
        return 0;
    m_flags.logoInRam = true;
    return 1;
}

CSerialTransfer::EchoResult CSerialTransfer::SendEchoedByte(BYTE byte)
{
    BYTE ack = 0;
    DWORD length = 1, written = 0;
    if (!m_port.SendCommandToComm(&byte, 1, &ack, &length, &written) || length != 1)
        return EchoResult::Failed;
    return ack == prnproto::kAck ? EchoResult::Acked : EchoResult::Refused;
}

int CSerialTransfer::SendEchoedBytes(const CBufferUC& raster)
{
    BYTE id = 0;
    DWORD length = 1, written = 0;
    if (!m_port.SendCommandToComm(prnproto::kModelRequest.data(), 3, &id, &length, &written) || length != 1)
        return Fail(QStringLiteral("the printer did not give its identification"));
    const bool trailing =
        std::find(std::begin(kTrailingZeroIds), std::end(kTrailingZeroIds), id) != std::end(kTrailingZeroIds);
    std::vector<BYTE> bytes(raster.GetpBuf(), raster.GetpBuf() + raster.GetSize());
    if (trailing)
        bytes.insert(bytes.end(), prnproto::kEchoTrailingZeros, 0x00);

    const int total = static_cast<int>(bytes.size());
    m_host.ProgressStart(std::max(1, total / kEchoStepBytes), total, m_port.CurrentBaudRate());
    const auto refused = [this] {
        m_host.Message(LoadString(61513), LoadString(61514), MB_OK | MB_ICONEXCLAMATION);
        m_host.ProgressEnd();
        Fail(QStringLiteral("the printer did not acknowledge the logo"));
        return 0;
    };
    const auto failed = [this](const QString& reason) {
        m_host.ProgressEnd();
        Fail(reason);
        return 0;
    };
    BYTE ack = 0;
    length = 1;
    if (!m_port.SendCommandToComm(prnproto::kEchoStart.data(), 3, &ack, &length, &written) || length != 1)
        return failed(QStringLiteral("the printer did not answer the start of the logo"));
    if (ack != prnproto::kAck)
        return refused();
    int acknowledged = 0;
    for (int i = 0; i < total; ++i) {
        if (m_host.StopRequested()) {
            m_host.Log(QStringLiteral("[%1] Process send data stopped by user at byte %2").arg(QLatin1String(kEchoCaller)).arg(i));
            return failed(QStringLiteral("stopped"));
        }
        switch (SendEchoedByte(bytes[static_cast<size_t>(i)])) {
        case EchoResult::Failed:
            return failed(QStringLiteral("the printer stopped acknowledging at byte %1").arg(i));
        case EchoResult::Refused:
            return refused();
        case EchoResult::Acked:
            break;
        }
        if (++acknowledged == kEchoStepBytes) {
            m_host.ProgressStep(kEchoStepBytes, 1);
            acknowledged = 0;
        }
    }
    m_host.ProgressEnd();
    m_flags.flashAfterTx = true;
    return SendRamToFlash();
}
