#include "components/PComAm.h"

#include "components/PortNames.h"
#include "components/PrinterProtocol.h"

#include <QLoggingCategory>
#include <algorithm>
#include <vector>

Q_LOGGING_CATEGORY(lcParallel, "glyphane.parallel")

CQvPComAm::CQvPComAm(const QString& portName, DWORD retries, DWORD timeoutSeconds)
    : m_strPortName(portName), m_nRetries(static_cast<int>(std::min<DWORD>(retries, 1000))),
      m_nTimeoutMs(static_cast<int>(std::min<DWORD>(timeoutSeconds, 600) * 1000))
{
}

CQvPComAm::~CQvPComAm()
{
    CloseLptPort();
}

BOOL CQvPComAm::InitLptComPort(const CLoadCfgPrnFile* cfg)
{
    m_cfg = cfg ? *cfg : CLoadCfgPrnFile();
    const QString device = PortDevice(m_strPortName);
    if (device.isEmpty()) {
        qCWarning(lcParallel) << "no device for port" << m_strPortName;
        return FALSE;
    }
    if (!m_device.Open(device, false)) {
        qCWarning(lcParallel).noquote() << m_device.LastErrorText();
        return FALSE;
    }
    return TRUE;
}

BOOL CQvPComAm::SendCommandToComm(const BYTE* bytes, DWORD length)
{
    if (!bytes || length == 0)
        return FALSE;
    int written = 0;
    if (!m_device.Write(bytes, static_cast<int>(length), m_nRetries, m_nTimeoutMs, &written)) {
        qCWarning(lcParallel).noquote() << m_strPortName << m_device.LastErrorText();
        return FALSE;
    }
    return TRUE;
}

BOOL CQvPComAm::SendPacketToComm(const BYTE* bytes, DWORD length)
{
    return SendCommandToComm(bytes, length);
}

BOOL CQvPComAm::SendPacketToCommSize(const BYTE* bytes, DWORD length, DWORD packetSize)
{
    if (!bytes || length == 0 || packetSize == 0)
        return FALSE;
    for (DWORD offset = 0; offset < length; offset += packetSize)
        if (!SendCommandToComm(bytes + offset, std::min(packetSize, length - offset)))
            return FALSE;
    return TRUE;
}

BOOL CQvPComAm::NewSendCommandToCom(const QString& command)
{
    CBufferUC bytes;
    if (!m_cfg.GetCommandPrinters(command, bytes) || bytes.GetSize() == 0)
        return FALSE;
    return SendCommandToComm(bytes.GetpBuf(), static_cast<DWORD>(bytes.GetSize()));
}

BOOL CQvPComAm::NLfOutput(int count)
{
    if (count < 1 || count > 255)
        return FALSE;
    const std::vector<BYTE> feeds(static_cast<size_t>(count), prnproto::kLineFeed);
    return SendCommandToComm(feeds.data(), static_cast<DWORD>(count));
}

BOOL CQvPComAm::CloseLptPort()
{
    m_device.Close();
    return TRUE;
}

BOOL CQvPComAm::GetLptStatus(BYTE* status)
{
    bool supported = false;
    return status && m_device.Status(status, &supported) ? TRUE : FALSE;
}
