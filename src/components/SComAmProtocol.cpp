// The serial component's own printer requests: status, identification, baud
// detection and switching, releases and line feeds (docs/printer-protocol.md).
#include "components/SComAm.h"

#include "components/PrinterProtocol.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <algorithm>
#include <sys/ioctl.h>
#include <vector>

namespace {

// How long a printer may take to start listening at a new speed.
constexpr int kSwitchSettleMs = 20;
constexpr int kCtsPollMs = 10;

} // namespace

bool CsComAm::QueryStatusByte(BYTE* status)
{
    int got = 0;
    if (!Exchange(prnproto::kStatusRequest.data(), static_cast<int>(prnproto::kStatusRequest.size()),
                  status, 1, &got))
        return false;
    if (!prnproto::IsStatusByte(*status))
        return Failed(QStringLiteral("[CsComAm::GetStatusPrinter] not a status answer: %1")
                          .arg(*status, 2, 16, QLatin1Char('0')));
    return true;
}

BOOL CsComAm::GetStatusPrinter(int)
{
    BYTE status = 0;
    return QueryStatusByte(&status) ? TRUE : FALSE;
}

BOOL CsComAm::IsPrinterOn(int)
{
    BYTE status = 0;
    return QueryStatusByte(&status) && prnproto::IsOnlineStatus(status) ? TRUE : FALSE;
}

DWORD CsComAm::GetCtsStatusPrinter(DWORD* status, int waitForCts)
{
    DWORD dummy = 0;
    DWORD& word = status ? *status : dummy;
    word = 0;
    QElapsedTimer timer;
    timer.start();
    const int deadline = waitForCts ? calctimeout::ReadDeadlineMs(m_timeouts, 0) : 0;
    for (;;) {
        int bits = 0;
        bool supported = false;
        if (!m_port.ModemLines(&bits, &supported)) {
            Failed(QStringLiteral("[CsComAm::GetCtsStatusPrinter] %1").arg(m_port.LastErrorText()));
            word = 0xFFFFFFFF;
            return 1;
        }
        // A line without modem lines (a pseudo-terminal) has nothing that could
        // hold the printer back: it counts as ready.
        if (!supported || (bits & TIOCM_CTS))
            return 0;
        word = static_cast<DWORD>(bits);
        if (timer.elapsed() >= deadline)
            return 1;
        if (!m_port.Sleep(kCtsPollMs)) {
            Failed(QStringLiteral("[CsComAm::GetCtsStatusPrinter] %1").arg(m_port.LastErrorText()));
            return 1;
        }
    }
}

namespace {

bool MatchIdentification(BYTE reply, const BYTE* ids, int count, int* index)
{
    for (int i = 0; i < count; ++i) {
        if (ids[i] == reply) {
            *index = i;
            return true;
        }
    }
    return false;
}

} // namespace

bool CsComAm::TryDetectionSpeed(DWORD baud, const BYTE* ids, int count, int* index)
{
    if (!SetPortSpeed(baud))
        return false;
    BYTE reply = 0;
    int got = 0;
    if (!Exchange(prnproto::kModelRequest.data(), static_cast<int>(prnproto::kModelRequest.size()),
                  &reply, 1, &got))
        return false;
    if (MatchIdentification(reply, ids, count, index))
        return true;
    // A late answer to the request before (the wake-up status, on a busy
    // line or machine) can come ahead of this one's: one more read.
    BYTE next = 0;
    if (ReadBytes(&next, 1, &got) && got == 1 && MatchIdentification(next, ids, count, index))
        return true;
    Failed(QStringLiteral("[CsComAm::Autodetect] %1 baud: unknown identification %2")
               .arg(baud)
               .arg(reply, 2, 16, QLatin1Char('0')));
    return false;
}

BOOL CsComAm::PubAutodetectBaudRate(BYTE expected, QObject* window, int reserved, int notify,
                                    UINT message)
{
    int index = -1;
    return PubAutodetectBaudRateLightType(&expected, 1, &index, window, reserved, notify, 0, message);
}

BOOL CsComAm::PubAutodetectBaudRateLightType(const BYTE* ids, BYTE count, int* index,
                                             QObject* window, int, int notify, BYTE flow,
                                             UINT message)
{
    if (!ids || count == 0 || !index || !m_port.IsOpen())
        return Failed(QStringLiteral("[CsComAm::Autodetect] no port or no printers to listen for"));
    std::vector<DWORD> order(prnproto::kDetectionOrder.begin(), prnproto::kDetectionOrder.end());
    if (flow)
        std::reverse(order.begin(), order.end());
    if (const auto preferred = std::find(order.begin(), order.end(), m_preferredBaud); preferred != order.end())
        std::rotate(order.begin(), preferred, preferred + 1);
    const DWORD startBaud = m_port.BaudRate();
    for (const DWORD baud : order) {
        if (TryDetectionSpeed(baud, ids, count, index)) {
            LogLine(QStringLiteral("DETECTED entry %1 at %2 baud").arg(*index).arg(baud));
            if (notify)
                NotifyWindow(window, message, 0);
            return TRUE;
        }
        if (!m_port.IsOpen() || m_port.LastError() == SerialError::Disconnected || WasStopped())
            break;
        if (notify)
            NotifyWindow(window, message, 0);
    }
    // Nobody answered: leave the line as the caller had it.
    if (m_port.IsOpen() && m_port.LastError() != SerialError::Disconnected)
        SetPortSpeed(startBaud);
    if (WasStopped())
        return Failed(QStringLiteral("[CsComAm::Autodetect] stopped"));
    return Failed(QStringLiteral("[CsComAm::Autodetect] no printer answered"));
}

DWORD CsComAm::BaudOfComConfig(const QString& config)
{
    // C<speed>XX<parity>P<bits>bt: speed in full or in its four-digit short form
    // ("0384" = 38400, "1152" = 115200); only no parity and 8 bits can be switched.
    static const QRegularExpression form(QStringLiteral("^C(\\d{4,6})XXnoP8bt$"));
    const auto match = form.match(config);
    if (!match.hasMatch())
        return 0;
    const QString digits = match.captured(1);
    static const struct {
        const char* text;
        DWORD baud;
    } kSpeeds[] = {{"9600", 9600},   {"19200", 19200}, {"38400", 38400}, {"57600", 57600},
                   {"115200", 115200}, {"0096", 9600}, {"0192", 19200},  {"0384", 38400},
                   {"0576", 57600},  {"1152", 115200}};
    for (const auto& s : kSpeeds)
        if (digits == QLatin1String(s.text))
            return s.baud;
    return 0;
}

bool CsComAm::SwitchSpeed(DWORD baud)
{
    const auto code = prnproto::BaudCode(baud);
    if (!code)
        return Failed(QStringLiteral("[CsComAm::SetAutomaticComPort] no switch code for %1").arg(baud));
    BYTE command[4] = {prnproto::kBaudSwitchPrefix[0], prnproto::kBaudSwitchPrefix[1],
                       prnproto::kBaudSwitchPrefix[2], *code};
    BYTE ack = 0;
    int got = 0;
    if (!Exchange(command, 4, &ack, 1, &got))
        return false;
    if (ack != prnproto::kAck)
        return Failed(QStringLiteral("[CsComAm::SetAutomaticComPort] switch to %1 refused").arg(baud));
    // The printer answered, so it has our bytes; the drain only makes sure
    // the speed does not change under a byte still in the port's shifter.
    if (!m_port.Drain(static_cast<int>(m_timeouts.WriteTotalTimeoutConstant)))
        return Failed(QStringLiteral("[CsComAm::SetAutomaticComPort] %1").arg(m_port.LastErrorText()));
    if (!SetPortSpeed(baud))
        return false;
    if (!m_port.Sleep(kSwitchSettleMs))
        return Failed(QStringLiteral("[CsComAm::SetAutomaticComPort] %1").arg(m_port.LastErrorText()));
    // The printer must be heard at the new speed before the switch counts.
    BYTE status = 0;
    return QueryStatusByte(&status);
}

BOOL CsComAm::SetAutomaticComPort(const QString& config)
{
    if (!SwitchToComConfig(config))
        return FALSE;
    NotifyWindow(m_pWindow, WM_PORT_STATUS, 0);
    return TRUE;
}

BOOL CsComAm::SetAutomaticComPort(const QString& config, WORD code, QObject* window, int,
                                  int notify, UINT message)
{
    if (!SwitchToComConfig(config))
        return FALSE;
    if (notify)
        NotifyWindow(window, message, code);
    return TRUE;
}

bool CsComAm::SwitchToComConfig(const QString& config)
{
    const DWORD baud = BaudOfComConfig(config);
    if (baud == 0)
        return Failed(QStringLiteral("[CsComAm::SetAutomaticComPort] unknown settings %1").arg(config));
    if (!m_port.IsOpen())
        return Failed(QStringLiteral("[CsComAm::SetAutomaticComPort] port not open"));
    return SwitchSpeed(baud);
}

BOOL CsComAm::NLfOutput(int count)
{
    if (count < 1 || count > 255)
        return Failed(QStringLiteral("[CsComAm::NLfOutput] bad line count %1").arg(count));
    const std::vector<BYTE> feeds(static_cast<size_t>(count), prnproto::kLineFeed);
    return WriteBytes(feeds.data(), count) ? TRUE : FALSE;
}

BOOL CsComAm::GetModelToThePrinter(BYTE* id)
{
    if (!id)
        return FALSE;
    BYTE reply = 0;
    int got = 0;
    if (!Exchange(prnproto::kModelRequest.data(), static_cast<int>(prnproto::kModelRequest.size()),
                  &reply, 1, &got))
        return FALSE;
    *id = reply;
    return TRUE;
}

QString CsComAm::QueryReleaseText(BYTE which)
{
    const BYTE request[3] = {prnproto::kGs, prnproto::kGsI, which};
    if (!PrepareForAnswer())
        return {};
    if (!WriteBytes(request, 3))
        return {};
    QByteArray text;
    for (;;) {
        BYTE c = 0;
        int got = 0;
        if (!ReadBytes(&c, 1, &got))
            return {};
        if (c == 0)
            break;
        if (text.size() >= prnproto::kMaxReleaseLength) {
            Failed(QStringLiteral("[CsComAm::Release] answer too long"));
            return {};
        }
        text.append(static_cast<char>(c));
    }
    return QString::fromLatin1(text);
}

QString CsComAm::GetReleaseFirmwareWgj33()
{
    return QueryReleaseText(prnproto::kIdFirmwareRelease);
}

QString CsComAm::GetReleaseSwStampante()
{
    return QueryReleaseText(prnproto::kIdSoftwareRelease);
}
