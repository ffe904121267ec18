// The flash-area protocol on the serial port: the printer answers every frame
// and names the address it wants next, so it drives the transfer; blocks may
// be repeated or skipped at its choice. The fixed-area family speaks the same
// frames with its information block elsewhere.
#include "transfer/SerialTransfer.h"

#include "components/PrinterProtocol.h"
#include "resources/StringTable.h"
#include "transfer/PortStream.h"
#include "transfer/TransferHost.h"

#include <algorithm>
#include <iterator>
#include <optional>

namespace {

constexpr const char* kAreaCaller = "CGlyphaneView::SendDataToHvczil()";
constexpr int kLineFeedsOwed = 6;
constexpr int kInfoAttempts = 3;
constexpr WORD kFlashInfoAddress = 0x8000;
constexpr WORD kFixedInfoAddress = 0x0480;
// The fourth checksum error in a row ends the transfer.
constexpr int kMaxConsecutiveChecksumErrors = 3;
// Identification answers of the printers that take each block as packets.
constexpr BYTE kPacketWriteIds[] = {0x60, 0x61};

QString AreaLine(const QString& text)
{
    return QStringLiteral("[%1] %2").arg(QLatin1String(kAreaCaller), text);
}

} // namespace

int CSerialTransfer::SendLogoToFlashArea()
{
    return SendLogoToArea(kFlashInfoAddress, true);
}

int CSerialTransfer::SendLogoToFixedArea()
{
    return SendLogoToArea(kFixedInfoAddress, false);
}

bool CSerialTransfer::FeedOwedLines()
{
    // A printer just identified has a half-printed test page to push out.
    if (!m_flags.printerDetected)
        return true;
    if (!m_port.NLfOutput(kLineFeedsOwed))
        return Fail(QStringLiteral("the printer did not take the line feeds"));
    m_flags.printerDetected = false;
    return true;
}

CBufferUC CSerialTransfer::BuildAreaRaster()
{
    m_raster = PrepareRequestRaster(m_request, [this] { return m_host.FrameMayCoverLogo(); });
    // These printers keep 1 = dot, whatever the model.
    return m_request.options.reverseColor ? m_raster : ~m_raster;
}

int CSerialTransfer::SendLogoToArea(WORD infoAddress, bool askVariant)
{
    PostSettings(true);
    if (!FeedOwedLines())
        return 0;
    const CBufferUC raster = BuildAreaRaster();
    QByteArray info;
    std::optional<areaproto::CArea> area;
    if (ReadInfoBlock(infoAddress, &info))
        area = areaproto::LogoAreaOf(info);
    if (!area) {
        m_host.Message(LoadString(61511), LoadString(1035), MB_OK | MB_ICONSTOP);
        return Fail(QStringLiteral("the printer did not describe its logo area"));
    }
    bool packets = false;
    if (askVariant) {
        BYTE id = 0;
        DWORD length = 1, written = 0;
        if (!m_port.SendCommandToComm(prnproto::kModelRequest.data(), 3, &id, &length, &written) || length != 1)
            return Fail(QStringLiteral("the printer did not give its identification"));
        packets = std::find(std::begin(kPacketWriteIds), std::end(kPacketWriteIds), id) != std::end(kPacketWriteIds);
    }
    // A transfer that failed or was stopped leaves the printer's RAM and area
    // holding no logo: "in RAM" would make the next Program copy nothing.
    if (!SendDataToHvczil(raster, {*area}, packets))
        return 0;
    // The success box only once the printer is known to hold the logo.
    if (m_request.verifyArea && IsProgram() && !VerifyArea(raster, *area))
        return 0;
    m_host.Inform(LoadString(61459), LoadString(61456), MB_OK | MB_ICONEXCLAMATION);
    m_flags.logoInRam = true;
    return 1;
}

bool CSerialTransfer::ReadInfoBlock(WORD address, QByteArray* info)
{
    const std::vector<BYTE> frame =
        areaproto::AddressFrame({address, static_cast<WORD>(address + prnproto::kAreaBlockData - 1)}, true);
    for (int attempt = 0; attempt < kInfoAttempts; ++attempt) {
        BYTE reply[prnproto::kAreaBlockSize] = {};
        DWORD length = prnproto::kAreaBlockSize, written = 0;
        // A failed exchange counts as a checksum error: the next attempt goes out.
        const bool answered = m_port.SendCommandToComm(frame.data(), static_cast<DWORD>(frame.size()), reply,
                                                       &length, &written);
        if (answered && length == prnproto::kAreaBlockSize && reply[0] == prnproto::kAreaAccepted) {
            *info = QByteArray(reinterpret_cast<const char*>(reply + 1), prnproto::kAreaBlockData);
            return true;
        }
        if (m_port.WasStopped())
            break;
    }
    return false;
}

bool CSerialTransfer::AreaExchange(const BYTE* bytes, int length, bool packets, BYTE reply[3])
{
    DWORD replyLength = 3, written = 0;
    const bool ok = packets ? m_port.SendCommandToCommPack(bytes, static_cast<DWORD>(length),
                                                           prnproto::kAreaBlockSize, reply, &replyLength, &written)
                            : m_port.SendCommandToComm(bytes, static_cast<DWORD>(length), reply, &replyLength,
                                                       &written);
    return ok && replyLength == 3;
}

int CSerialTransfer::EndArea(int text, int caption, const QString& reason)
{
    m_host.Message(LoadString(text), LoadString(caption), MB_OK | MB_ICONEXCLAMATION);
    m_host.ProgressEnd();
    Fail(reason);
    return 0;
}

int CSerialTransfer::SendDataToHvczil(const CBufferUC& raster, const std::vector<areaproto::CArea>& areas,
                                      bool packets)
{
    using areaproto::ReplyStatus;
    const int steps = areaproto::AreaSteps(areas);
    m_host.ProgressStart(steps, static_cast<qint64>(steps) * prnproto::kAreaBlockData, m_port.CurrentBaudRate());
    m_host.Log(QStringLiteral("--- [%1] Log file for send data operation is initialized ---").arg(QLatin1String(kAreaCaller)));
    m_host.Log(AreaLine(QStringLiteral("Begin send logo to printer")));

    const std::vector<BYTE> frame = areaproto::AddressFrame(areas.front(), false);
    BYTE reply[3] = {};
    if (!AreaExchange(frame.data(), static_cast<int>(frame.size()), false, reply))
        return EndArea(61512, 1035, QStringLiteral("the printer did not answer the area frame"));
    int errors = 0;
    areaproto::CBlockReply decoded = areaproto::ParseBlockReply(reply, errors);
    const areaproto::CArea& area = areas.front();
    // The printer drives the download, so it is bounded here: every block of
    // the area asked for once and refused as often as the protocol allows.
    const int blockBound = steps * (1 + kMaxConsecutiveChecksumErrors);
    int blocksSent = 0;
    int stepsShown = 0;
    while (decoded.status != ReplyStatus::Complete) {
        switch (decoded.status) {
        case ReplyStatus::SeriousError:
            return EndArea(61515, 61517, QStringLiteral("the printer reported a serious error"));
        case ReplyStatus::ChecksumError:
            if (errors > kMaxConsecutiveChecksumErrors)
                return EndArea(61513, 61514, QStringLiteral("the printer refused a block %1 times").arg(errors));
            break;
        case ReplyStatus::Unknown:
            // An answer this program does not know is no success.
            return EndArea(61516, 1035, QStringLiteral("the printer answered with status %1")
                                            .arg(decoded.statusByte, 2, 16, QLatin1Char('0')));
        case ReplyStatus::Accepted:
        case ReplyStatus::Complete:
            break;
        }
        // Only the end reply ends the download; a request outside the area
        // (address 0 among them) would write where no logo belongs.
        if (decoded.next < area.first || decoded.next > area.last)
            return EndArea(61516, 1035, QStringLiteral("the printer asked for address %1, outside its logo area")
                                            .arg(decoded.next, 4, 16, QLatin1Char('0')));
        if (blocksSent == blockBound)
            return EndArea(61516, 1035, QStringLiteral("the printer asked for more than %1 blocks").arg(blockBound));
        if (m_host.StopRequested()) {
            m_host.Log(AreaLine(QStringLiteral("Process send data stopped by user at address %1")
                                    .arg(decoded.next, 4, 16, QLatin1Char('0'))));
            m_host.ProgressEnd();
            return Fail(QStringLiteral("stopped"));
        }
        if (decoded.status == ReplyStatus::Accepted && stepsShown < steps) {
            m_host.ProgressStep(prnproto::kAreaBlockData, 1);
            ++stepsShown;
        }
        const std::vector<BYTE> block = areaproto::DataBlock(raster, area.first, decoded.next, BlankByte());
        if (!AreaExchange(block.data(), static_cast<int>(block.size()), packets, reply))
            return EndArea(61512, 1035, QStringLiteral("the printer did not answer a block"));
        ++blocksSent;
        decoded = areaproto::ParseBlockReply(reply, errors);
    }
    m_host.ProgressEnd();
    return 1;
}

int CSerialTransfer::VerifyArea(const CBufferUC& raster, const areaproto::CArea& area)
{
    const int steps = areaproto::AreaSteps({area});
    m_host.ProgressStart(steps, static_cast<qint64>(steps) * prnproto::kAreaBlockData, m_port.CurrentBaudRate());
    m_host.Log(AreaLine(QStringLiteral("Read back the logo area %1-%2")
                            .arg(area.first, 4, 16, QLatin1Char('0'))
                            .arg(area.last, 4, 16, QLatin1Char('0'))));
    for (unsigned address = area.first; address <= area.last; address += prnproto::kAreaBlockData) {
        if (m_host.StopRequested()) {
            m_host.ProgressEnd();
            return Fail(QStringLiteral("stopped"));
        }
        const std::vector<BYTE> frame = areaproto::AddressFrame(
            {static_cast<WORD>(address), static_cast<WORD>(address + prnproto::kAreaBlockData - 1)}, true);
        BYTE reply[prnproto::kAreaBlockSize] = {};
        DWORD length = prnproto::kAreaBlockSize, written = 0;
        if (!m_port.SendCommandToComm(frame.data(), static_cast<DWORD>(frame.size()), reply, &length, &written)
            || length != prnproto::kAreaBlockSize || reply[0] != prnproto::kAreaAccepted)
            return EndArea(61512, 1035, QStringLiteral("the printer did not give back its logo area at %1")
                                            .arg(address, 4, 16, QLatin1Char('0')));
        const std::vector<BYTE> sent = areaproto::DataBlock(raster, area.first, static_cast<WORD>(address), BlankByte());
        for (int i = 0; i < prnproto::kAreaBlockData && address + i <= area.last; ++i) {
            if (reply[1 + i] != sent[static_cast<size_t>(i)]) {
                const QString at = QStringLiteral("%1").arg(address + i, 4, 16, QLatin1Char('0'));
                m_host.ProgressEnd();
                m_host.Message(FormatResString(61550, QStringList{at}), LoadString(1035), MB_OK | MB_ICONSTOP);
                return Fail(QStringLiteral("the logo read back differs from the one sent from address %1").arg(at));
            }
        }
        m_host.ProgressStep(prnproto::kAreaBlockData, 1);
    }
    m_host.ProgressEnd();
    m_host.Log(AreaLine(QStringLiteral("The logo area read back equals the logo sent")));
    m_bVerified = true;
    return 1;
}
