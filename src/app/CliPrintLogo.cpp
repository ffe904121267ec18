#include "app/CliPrintLogo.h"

#include "app/GlyphaneApp.h"
#include "components/LogFile.h"
#include "components/PComAm.h"
#include "components/PortNames.h"
#include "components/SComAm.h"
#include "components/UComAm.h"
#include "platform/AtomicFile.h"
#include "transfer/FrameQuestion.h"
#include "transfer/PrinterPreview.h"
#include "transfer/StoredLogoPrint.h"

#include <QBuffer>

#include <chrono>
#include <thread>

namespace cli {

namespace {

// The parallel component's write retries and deadline in seconds, as the editor gives them.
constexpr DWORD kParallelRetries = 15;
constexpr DWORD kParallelTimeoutSeconds = 30;

class CCliStoredLogoHost : public CStoredLogoHost {
public:
    explicit CCliStoredLogoHost(QTextStream& err)
        : m_err(err)
    {
    }
    void Log(const QString& line) override
    {
        if (GetApp() && GetApp()->GetAppLog())
            GetApp()->GetAppLog()->LogToFile(line, 0);
    }
    void Sleep(int ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
    int Message(const QString& text, const QString&, UINT) override
    {
        m_err << text << "\n";
        m_err.flush();
        return IDOK;
    }
    void Inform(const QString& text, const QString& caption, UINT flags) override { Message(text, caption, flags); }

private:
    QTextStream& m_err;
};

int PrintOverSerial(CStoredLogoPrint& print, const CStoredLogoRequest& request, QString* reason)
{
    CsComAm serial;
    if (!serial.InitThisObject(nullptr, request.portName, 1, QString(), &request.printerCfg)) {
        *reason = QStringLiteral("%1 cannot be opened: %2").arg(request.portName, serial.LastErrorText());
        return 0;
    }
    int result = 0;
    if (serial.PubSetBaudRate(serial.m_dwBaudRate))
        result = print.PrintOverSerial(serial);
    else
        *reason = QStringLiteral("%1 cannot be set to %2 baud").arg(request.portName).arg(serial.m_dwBaudRate);
    serial.DeInitializePort();
    return result;
}

int PrintOverParallel(CStoredLogoPrint& print, const CStoredLogoRequest& request, QString* reason)
{
    CQvPComAm lpt(request.portName, kParallelRetries, kParallelTimeoutSeconds);
    if (!lpt.InitLptComPort(&request.printerCfg)) {
        *reason = QStringLiteral("%1 cannot be opened: %2").arg(request.portName, lpt.LastErrorText());
        return 0;
    }
    const int result = print.PrintOverParallel(lpt);
    lpt.CloseLptPort();
    return result;
}

int PrintOverUsb(CStoredLogoPrint& print, const CStoredLogoRequest& request, QString* reason)
{
    CQvComAm usb;
    if (!usb.OpenPrinter(request.portName)) {
        *reason = QStringLiteral("%1 cannot be opened: %2").arg(request.portName, usb.LastErrorText());
        return 0;
    }
    const int result = print.PrintOverUsb(usb);
    usb.ClosePrinter();
    return result;
}

} // namespace

bool PrintStoredLogo(const CStoredLogoRequest& request, QTextStream& err, QString* reason)
{
    CCliStoredLogoHost host(err);
    CStoredLogoPrint print(request, host);
    int result = 0;
    switch (PortKindOf(request.portName)) {
    case PortKind::Serial:
        result = PrintOverSerial(print, request, reason);
        break;
    case PortKind::Parallel:
        result = PrintOverParallel(print, request, reason);
        break;
    case PortKind::Usb:
        result = PrintOverUsb(print, request, reason);
        break;
    }
    if (result == 1)
        return true;
    if (reason->isEmpty())
        *reason = print.Failure().isEmpty() ? QStringLiteral("the printer did not print the logo") : print.Failure();
    return false;
}

bool WritePreview(const CTransferRequest& request, const QString& path, QString* reason)
{
    const QImage dots = PreviewDots(request, AskFrameMayCoverLogo(nullptr), reason);
    if (dots.isNull())
        return false;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!PaperStrip(dots, request.dotX).save(&buffer, "PNG")) {
        *reason = QStringLiteral("the preview cannot be encoded as PNG");
        return false;
    }
    QString error;
    if (!WriteFileAtomically(path, {png}, &error)) {
        *reason = QStringLiteral("%1: cannot be written (%2)").arg(path, error);
        return false;
    }
    return true;
}

} // namespace cli
