// The serial component: opening, line settings, time-outs, raw exchanges and
// the transfer log. The printer requests themselves are in SComAmProtocol.cpp.
#include "components/SComAm.h"

#include "components/LogFile.h"
#include "components/PortNames.h"
#include "platform/PostedMessage.h"

#include <QElapsedTimer>
#include <QLoggingCategory>
#include <algorithm>

Q_LOGGING_CATEGORY(lcSerial, "glyphane.serial")

namespace {

// Hex dumps are cut into lines of this many bytes so a 2 KB block stays readable.
constexpr int kLogBytesPerLine = 32;
constexpr DWORD kDefaultBaud = 9600;

QString HexOf(const BYTE* bytes, int count)
{
    QString text;
    text.reserve(count * 3);
    for (int i = 0; i < count; ++i) {
        if (i)
            text += QLatin1Char(' ');
        text += QStringLiteral("%1").arg(bytes[i], 2, 16, QLatin1Char('0')).toUpper();
    }
    return text;
}

} // namespace

CsComAm::CsComAm() = default;

CsComAm::~CsComAm()
{
    DeInitializePort();
}

BOOL CsComAm::InitThisObject(QObject* window, const QString& portName, int exclusive,
                             const QString& logPath, const CLoadCfgPrnFile* cfg)
{
    DeInitializePort();
    m_pWindow = window;
    m_strPortName = portName;
    if (!logPath.isEmpty()) {
        auto log = std::make_unique<CLogFile>();
        if (log->CreateLogFile(nullptr, logPath))
            m_pLog = std::move(log);
        else
            qCWarning(lcSerial) << "transfer log cannot be written:" << logPath;
    }
    m_cfg = cfg ? *cfg : CLoadCfgPrnFile();
    DWORD baud = kDefaultBaud;
    if (!m_cfg.GetOptionPrintersToTest(QStringLiteral("BaudRate"), &baud))
        baud = kDefaultBaud;
    m_dwBaudRate = baud;

    const QString device = PortDevice(portName);
    if (device.isEmpty())
        return Failed(QStringLiteral("[CsComAm::InitThisObject] no device for port %1").arg(portName));
    if (!m_port.Open(device, baud, exclusive != 0))
        return Failed(QStringLiteral("[CsComAm::InitThisObject] %1: %2").arg(portName, m_port.LastErrorText()));
    LogLine(QStringLiteral("OPEN %1").arg(Get_m_strSerConfig()));
    return TRUE;
}

QString CsComAm::Get_m_strSerConfig() const
{
    if (!m_port.IsOpen())
        return QStringLiteral("%1 (closed)").arg(m_strPortName);
    return QStringLiteral("%1 %2 %3,N,8,1").arg(m_strPortName, m_port.Device()).arg(m_port.BaudRate());
}

BOOL CsComAm::PubSetBaudRate(DWORD baud)
{
    if (!SetPortSpeed(baud))
        return FALSE;
    NotifyWindow(m_pWindow, WM_PORT_STATUS, 0);
    return TRUE;
}

BOOL CsComAm::DeInitializePort()
{
    if (!m_port.IsOpen())
        return TRUE;
    LogLine(QStringLiteral("CLOSE %1").arg(m_strPortName));
    m_port.Close();
    return TRUE;
}

void CsComAm::SetStopEvents(const CManualResetEvent* stop, const CManualResetEvent* kill)
{
    m_port.SetStopEvents(stop, kill);
}

BOOL CsComAm::GetCurrentTimeoutSystem(_CalcTimeout* timeouts) const
{
    if (!timeouts)
        return FALSE;
    *timeouts = m_timeouts;
    return TRUE;
}

BOOL CsComAm::SetNewTimeoutSystem(_CalcTimeout timeouts)
{
    m_timeouts = timeouts;
    return TRUE;
}

BOOL CsComAm::PurgePort()
{
    // Both directions start empty, but what is still queued for the printer
    // (the line feeds owed after a detection) is the printer's: it leaves the
    // line first, and only what the printer sent is thrown away.
    if (!m_port.Drain(static_cast<int>(m_timeouts.WriteTotalTimeoutConstant)))
        return Failed(QStringLiteral("[CsComAm::PurgePort] %1").arg(m_port.LastErrorText()));
    if (!m_port.Purge())
        return Failed(QStringLiteral("[CsComAm::PurgePort] %1").arg(m_port.LastErrorText()));
    LogLine(QStringLiteral("PURGE"));
    return TRUE;
}

bool CsComAm::SetPortSpeed(DWORD baud)
{
    if (!m_port.SetBaudRate(baud))
        return Failed(QStringLiteral("[CsComAm::SetBaudRate] %1").arg(m_port.LastErrorText()));
    LogLine(QStringLiteral("SPEED %1").arg(baud));
    return true;
}

bool CsComAm::WriteBytes(const BYTE* bytes, int count)
{
    const int deadline = calctimeout::WriteDeadlineMs(m_timeouts, static_cast<DWORD>(count));
    int written = 0;
    const bool ok = m_port.Write(bytes, count, deadline, &written);
    LogBytes("TX", bytes, written);
    if (!ok)
        return Failed(QStringLiteral("[CsComAm::Write] %1").arg(m_port.LastErrorText()));
    return true;
}

bool CsComAm::ReadBytes(BYTE* buffer, int count, int* got)
{
    // An answer cannot come before the bytes ahead of its request have
    // crossed the line, however early the driver says they left.
    const int deadline = calctimeout::ReadDeadlineMs(m_timeouts, static_cast<DWORD>(count))
                         + m_port.AnswerAllowanceMs();
    const bool ok = m_port.Read(buffer, count, deadline,
                                static_cast<int>(m_timeouts.ReadIntervalTimeout), got);
    LogBytes("RX", buffer, *got);
    if (!ok)
        return Failed(QStringLiteral("[CsComAm::Read] %1").arg(m_port.LastErrorText()));
    return true;
}

bool CsComAm::PrepareForAnswer()
{
    // Output is never discarded here: it is the end of the previous block,
    // still on its way to the printer. The drain is bounded by the line time
    // of what is queued plus the write constant.
    if (!m_port.Drain(static_cast<int>(m_timeouts.WriteTotalTimeoutConstant)))
        return Failed(QStringLiteral("[CsComAm::Drain] %1").arg(m_port.LastErrorText()));
    // A late answer to an earlier request must not be taken for this one's.
    if (!m_port.DiscardInput())
        return Failed(QStringLiteral("[CsComAm::DiscardInput] %1").arg(m_port.LastErrorText()));
    return true;
}

bool CsComAm::Exchange(const BYTE* bytes, int count, BYTE* reply, int replyCount, int* got)
{
    *got = 0;
    if (!PrepareForAnswer())
        return false;
    if (!WriteBytes(bytes, count))
        return false;
    return ReadBytes(reply, replyCount, got);
}

BOOL CsComAm::SendCommandToComm(const BYTE* bytes, DWORD length)
{
    if (!bytes || length == 0)
        return Failed(QStringLiteral("[CsComAm::SendCommandToComm] nothing to send"));
    return WriteBytes(bytes, static_cast<int>(length)) ? TRUE : FALSE;
}

BOOL CsComAm::SendCommandToComm(const BYTE* bytes, DWORD length, BYTE* reply, DWORD* replyLength,
                                DWORD* written)
{
    return SendCommandToCommPack(bytes, length, length, reply, replyLength, written);
}

BOOL CsComAm::SendCommandToCommPack(const BYTE* bytes, DWORD length, DWORD packetSize, BYTE* reply,
                                    DWORD* replyLength, DWORD* written)
{
    if (written)
        *written = 0;
    if (!bytes || length == 0 || !replyLength || (*replyLength > 0 && !reply) || packetSize == 0) {
        if (replyLength)
            *replyLength = 0;
        return Failed(QStringLiteral("[CsComAm::SendCommandToCommPack] bad arguments"));
    }
    const int wanted = static_cast<int>(*replyLength);
    *replyLength = 0;
    if (wanted > 0 && !PrepareForAnswer())
        return FALSE;
    for (DWORD offset = 0; offset < length; offset += packetSize) {
        const DWORD part = std::min(packetSize, length - offset);
        if (!WriteBytes(bytes + offset, static_cast<int>(part)))
            return FALSE;
        if (written)
            *written = offset + part;
    }
    int got = 0;
    const bool ok = ReadBytes(reply, wanted, &got);
    *replyLength = static_cast<DWORD>(got);
    return ok ? TRUE : FALSE;
}

BOOL CsComAm::WaitTimeoutReadNBytes(BYTE* buffer, DWORD* count, DWORD* elapsedMs, DWORD* missing)
{
    if (!count || (*count > 0 && !buffer))
        return Failed(QStringLiteral("[CsComAm::WaitTimeoutReadNBytes] bad arguments"));
    const int wanted = static_cast<int>(*count);
    QElapsedTimer timer;
    timer.start();
    int got = 0;
    const bool ok = ReadBytes(buffer, wanted, &got);
    *count = static_cast<DWORD>(got);
    if (elapsedMs)
        *elapsedMs = static_cast<DWORD>(timer.elapsed());
    if (missing)
        *missing = static_cast<DWORD>(wanted - got);
    return ok ? TRUE : FALSE;
}

BOOL CsComAm::NewSendCommandToCom(const QString& command)
{
    CBufferUC bytes;
    if (!m_cfg.GetCommandPrinters(command, bytes) || bytes.GetSize() == 0)
        return Failed(QStringLiteral("[CsComAm::NewSendCommandToCom] no command %1").arg(command));
    return WriteBytes(bytes.GetpBuf(), bytes.GetSize()) ? TRUE : FALSE;
}

BOOL CsComAm::NewSendCommandToCom(const QString& command, BYTE* reply, DWORD* replyLength)
{
    if (!replyLength)
        return FALSE;
    CBufferUC bytes;
    int length = 0, configuredReply = 0;
    if (!m_cfg.GetNumBytePrintersComando(command, &length, &configuredReply)
        || !m_cfg.GetCommandPrinters(command, bytes) || bytes.GetSize() == 0) {
        *replyLength = 0;
        return Failed(QStringLiteral("[CsComAm::NewSendCommandToCom] no command %1").arg(command));
    }
    // The caller's length wins: it is the size of its buffer, and a printer
    // answering with more or fewer bytes than configured must show as such.
    const DWORD wanted = *replyLength > 0 ? *replyLength : static_cast<DWORD>(std::max(configuredReply, 0));
    *replyLength = wanted;
    return SendCommandToComm(bytes.GetpBuf(), static_cast<DWORD>(bytes.GetSize()), reply,
                             replyLength, nullptr);
}

void CsComAm::NotifyWindow(QObject* window, UINT message, WPARAM wParam)
{
    if (window)
        PostMessage(window, message, wParam, 1);
}

void CsComAm::LogBytes(const char* direction, const BYTE* bytes, int count)
{
    if (!m_pLog || count <= 0)
        return;
    for (int offset = 0; offset < count; offset += kLogBytesPerLine) {
        const int n = std::min(kLogBytesPerLine, count - offset);
        m_pLog->LogToFile(QStringLiteral("%1 %2").arg(QLatin1String(direction), HexOf(bytes + offset, n)), 0);
    }
}

void CsComAm::LogLine(const QString& text)
{
    if (m_pLog)
        m_pLog->LogToFile(text, 0);
}

bool CsComAm::Failed(const QString& what)
{
    m_strLastError = what;
    qCDebug(lcSerial).noquote() << what;
    LogLine(QStringLiteral("ERROR ") + what);
    return false;
}
