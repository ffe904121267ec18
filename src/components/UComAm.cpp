#include "components/UComAm.h"

#include "components/PortNames.h"
#include "components/PrinterProtocol.h"

#include <linux/lp.h>
#include <vector>

namespace {
constexpr int kWriteRetries = 15;
}

BOOL CQvComAm::OpenPrinter(const QString& portName)
{
    m_strPortName = portName;
    const QString device = PortDevice(portName);
    return !device.isEmpty() && m_device.Open(device, true) ? TRUE : FALSE;
}

BYTE CQvComAm::GetPrinterGSI()
{
    int written = 0, got = 0;
    BYTE id = 0xFF;
    if (!m_device.Write(prnproto::kModelRequest.data(), 3, kWriteRetries, m_nWriteMs, &written)
        || !m_device.Read(&id, 1, m_nReadMs, &got))
        return 0xFF;
    return id;
}

DWORD CQvComAm::UsbWrite(const BYTE* bytes, DWORD length, DWORD* written)
{
    int done = 0;
    m_device.Write(bytes, static_cast<int>(length), kWriteRetries, m_nWriteMs, &done);
    if (written)
        *written = static_cast<DWORD>(done);
    return static_cast<DWORD>(done);
}

BOOL CQvComAm::SendCommandToComm(const BYTE* bytes, DWORD length)
{
    DWORD written = 0;
    return UsbWrite(bytes, length, &written) == length ? TRUE : FALSE;
}

BOOL CQvComAm::NLfOutput(int count)
{
    if (count < 1 || count > 255)
        return FALSE;
    const std::vector<BYTE> feeds(static_cast<size_t>(count), prnproto::kLineFeed);
    return SendCommandToComm(feeds.data(), static_cast<DWORD>(count));
}

BOOL CQvComAm::AnswersOnline()
{
    int written = 0, got = 0;
    BYTE answer = 0;
    if (!m_device.Write(prnproto::kStatusRequest.data(), static_cast<int>(prnproto::kStatusRequest.size()),
                        kWriteRetries, m_nWriteMs, &written)
        || !m_device.Read(&answer, 1, m_nReadMs, &got))
        return TRUE;
    return prnproto::IsStatusByte(answer) && !prnproto::IsOnlineStatus(answer) ? FALSE : TRUE;
}

BOOL CQvComAm::IsPrinterOnline()
{
    if (!m_device.IsOpen())
        return FALSE;
    BYTE status = 0;
    bool supported = false;
    if (!m_device.Status(&status, &supported))
        return supported ? FALSE : AnswersOnline();
    // LP_PERRORP and LP_PSELECD are active high; LP_POUTPA means paper out.
    return (status & LP_PSELECD) && (status & LP_PERRORP) && !(status & LP_POUTPA) ? TRUE : FALSE;
}
