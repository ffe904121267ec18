// "Print Logo": the slot (and for fiscal printers the sub-logos) chosen by
// the operator, the document's port opened through the printer link, the
// stored logo printed, the port closed and its object dropped. The command
// runs on the user-interface thread under the wait cursor; every device call
// is bounded by the component's time-outs.
#include "transfer/ViewTransferRole.h"

#include "components/LogFile.h"
#include "components/PComAm.h"
#include "components/PortNames.h"
#include "components/SComAm.h"
#include "components/UComAm.h"
#include "dialogs/ChooseLogoDlg.h"
#include "dialogs/SubLogosDlg.h"
#include "document/GlyphaneDoc.h"
#include "platform/UiSeam.h"
#include "printer/ModelCatalogue.h"
#include "printer/PrinterLink.h"
#include "printer/ProgramHost.h"
#include "resources/StringTable.h"
#include "transfer/StoredLogoPrint.h"

#include <QGuiApplication>
#include <QWidget>

#include <chrono>
#include <thread>

namespace {

// The parallel component's write retries and deadline in seconds.
constexpr DWORD kParallelRetries = 15;
constexpr DWORD kParallelTimeoutSeconds = 30;

// The print's log lines, pauses and boxes, on the user-interface thread.
class CViewStoredLogoHost : public CStoredLogoHost {
public:
    CViewStoredLogoHost(QWidget* window, CProgramHost* program)
        : m_window(window)
        , m_program(program)
    {
    }
    void Log(const QString& line) override
    {
        if (m_program)
            m_program->AppLog()->LogToFile(line, 0);
    }
    // A print that failed says why in the log, and in a box unless one
    // already told the operator.
    void ReportFailure(const CStoredLogoPrint& print)
    {
        if (print.Failure().isEmpty())
            return;
        Log(QStringLiteral("[PrintLogo] the print failed: %1").arg(print.Failure()));
        if (m_boxesShown == 0)
            Message(FormatResString(61549, QStringList{print.Failure()}), LoadString(1035), MB_OK | MB_ICONSTOP);
    }
    void Sleep(int ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
    int Message(const QString& text, const QString& caption, UINT flags) override
    {
        ++m_boxesShown;
        return Show(text, caption, flags);
    }
    void Inform(const QString& text, const QString& caption, UINT flags) override { Show(text, caption, flags); }

private:
    int Show(const QString& text, const QString& caption, UINT flags)
    {
        // The box is answered with the ordinary cursor.
        QGuiApplication::restoreOverrideCursor();
        const int answer = MessageBox(m_window, text, caption, flags);
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        return answer;
    }

    QWidget* m_window;
    CProgramHost* m_program;
    int m_boxesShown = 0;
};

// The wait cursor for as long as the printer is talked to, however that ends.
class CWaitCursor {
public:
    CWaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CWaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

} // namespace

void CViewTransferRole::OnPrintLogo()
{
    CGlyphaneDoc* doc = TransferDocument();
    TransferDropTool();
    // The command is disabled while a job runs; a queued key press may still come.
    if (IsTransferRunning() || !ChoosePrintedLogo())
        return;
    CStoredLogoRequest request = MakeStoredLogoRequest(TransferHost(), *doc, Link().LogoNumber(), m_nSubLogoBits,
                                                       Link().IsWgjPrinter(), TransferWindow());
    switch (PortKindOf(request.portName)) {
    case PortKind::Serial:
        PrintLogoOverSerial(request);
        break;
    case PortKind::Parallel:
        PrintLogoOverParallel(request);
        break;
    case PortKind::Usb:
        PrintLogoOverUsb(request);
        break;
    }
}

bool CViewTransferRole::ChoosePrintedLogo()
{
    CGlyphaneDoc* doc = TransferDocument();
    QWidget* window = TransferWindow();
    CChooseLogoDlg choose(window, doc->Binding().GetNumLogos());
    if (choose.DoModal() != IDOK || choose.m_nLogo < 1)
        return false;
    Link().SetLogoNumber(choose.m_nLogo);
    if (IsFiscalModel(doc->Binding().GetPrinterModel())) {
        CSubLogosDlg subLogos(window);
        if (subLogos.DoModal() != IDOK)
            return false;
        m_nSubLogoBits = static_cast<BYTE>(subLogos.m_nMask);
    }
    return true;
}

void CViewTransferRole::PrintLogoOverSerial(CStoredLogoRequest& request)
{
    CPrinterLink& link = Link();
    if (IsWgj33Model(request.model))
        link.SetWgjPrinter(true);
    if (IsMzvzvrxhModel(request.model))
        link.SetRxhPrinter(true);
    request.wgjPrinter = link.IsWgjPrinter();
    link.MakeSerial();
    // Opening may show the initialisation hint, so the wait cursor comes after it.
    if (!link.OpenSerialPort(TransferDocument()->Binding().GetPrinterCfg())) {
        link.CloseSerialPort();
        link.DropSerial();
        return;
    }
    {
        CWaitCursor wait;
        CViewStoredLogoHost host(TransferWindow(), TransferHost());
        CStoredLogoPrint print(request, host);
        print.PrintOverSerial(*link.Serial());
        host.ReportFailure(print);
        if (print.PrinterDetectionPassed())
            link.SetPrinterDetected(false);
        if (print.RamOverwritten())
            link.SetLogoInRam(false);
        link.CloseSerialPort();
    }
    link.DropSerial();
}

void CViewTransferRole::PrintLogoOverParallel(CStoredLogoRequest& request)
{
    CPrinterLink& link = Link();
    link.MakeParallel(request.portName, kParallelRetries, kParallelTimeoutSeconds);
    if (!link.OpenParallelPort()) {
        link.CloseParallelPort();
        link.DropParallel();
        return;
    }
    {
        CViewStoredLogoHost host(TransferWindow(), TransferHost());
        CStoredLogoPrint print(request, host);
        CWaitCursor wait;
        print.PrintOverParallel(*link.Parallel());
        host.ReportFailure(print);
        if (print.RamOverwritten())
            link.SetLogoInRam(false);
        link.CloseParallelPort();
    }
    link.DropParallel();
}

void CViewTransferRole::PrintLogoOverUsb(CStoredLogoRequest& request)
{
    CPrinterLink& link = Link();
    if (!link.OpenUsbPrinter()) {
        link.CloseUsbPrinter();
        return;
    }
    {
        CViewStoredLogoHost host(TransferWindow(), TransferHost());
        CStoredLogoPrint print(request, host);
        CWaitCursor wait;
        print.PrintOverUsb(*link.Usb());
        host.ReportFailure(print);
    }
    link.CloseUsbPrinter();
    link.ForgetUsbPrinter();
}
