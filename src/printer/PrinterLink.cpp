// Opening and closing the serial, parallel and USB ports for every caller
// (connection, identification, transfer and printing of stored logos).
#include "printer/PrinterLink.h"

#include "components/Conversioni.h"
#include "components/dialogs/DialogSelPrn.h"
#include "components/dialogs/InitDeviceDlg.h"
#include "components/PComAm.h"
#include "components/SComAm.h"
#include "components/UComAm.h"
#include "document/GlyphaneDoc.h"
#include "platform/NativePath.h"
#include "platform/PostedMessage.h"
#include "platform/ThreadCall.h"
#include "platform/UiSeam.h"
#include "resources/StringTable.h"

#include <QCoreApplication>
#include <QThread>
#include <QWidget>
#include <chrono>
#include <functional>
#include <new>
#include <thread>

namespace {

// A port is given a moment after the last byte before it closes, so a printer
// still taking the tail of a command is not cut off.
constexpr auto kCloseDelay = std::chrono::milliseconds(200);

// Widgets may only be built on the UI thread; the transfer worker opens its
// ports through here as well, so what shows a dialog is carried over and
// waited for.
void RunOnUiThread(const std::function<void()>& work)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread()) {
        work();
        return;
    }
    CallOnThreadAndWait(app, work);
}

} // namespace

CPrinterLink::CPrinterLink(CHost& host)
    : m_host(host)
{
}

CPrinterLink::~CPrinterLink() = default;

CsComAm& CPrinterLink::MakeSerial()
{
    m_serial = std::make_unique<CsComAm>();
    return *m_serial;
}

void CPrinterLink::DropSerial()
{
    m_serial.reset();
}

CQvPComAm& CPrinterLink::MakeParallel(const QString& portName, DWORD retries, DWORD timeoutSeconds)
{
    m_parallel = std::make_unique<CQvPComAm>(portName, retries, timeoutSeconds);
    return *m_parallel;
}

void CPrinterLink::DropParallel()
{
    m_parallel.reset();
}

void CPrinterLink::PostPortStatus(LPARAM open)
{
    PostMessage(m_host.LinkWindow(), WM_PORT_STATUS, 0, open);
}

void CPrinterLink::ShowInitHint(bool wgjPrinter)
{
    RunOnUiThread([this, wgjPrinter] {
        if (wgjPrinter) {
            CDialogInitDevice hint(m_host.LinkWindow(), &m_bShowInitDialog);
            hint.DoModal();
        } else {
            CDialogInitGenericPrn hint(m_host.LinkWindow(), &m_bShowInitDialog);
            hint.DoModal();
        }
    });
}

int CPrinterLink::OpenSerialPort(CLoadCfgPrnFile* cfg)
{
    if (!m_serial)
        return 0;
    if (m_bShowInitDialog)
        ShowInitHint(m_bWgjPrinter);
    CGlyphaneDoc* doc = m_host.LinkDocument();
    const QString logPath = JoinProgramPath(doc->Environment().programFolder,
                                            CConversioni::CleanCharInCString(doc->GetTitle(), QLatin1Char('.'))
                                                + QStringLiteral(".log"));
    if (!m_serial->InitThisObject(m_host.LinkWindow(), doc->Binding().GetPortName(), 1, logPath, cfg)) {
        doc->Binding().SetPortName(LoadString(61454));
        PostPortStatus(0);
        return 0;
    }
    PostPortStatus(1);
    if (!m_serial->PubSetBaudRate(m_serial->m_dwBaudRate)) {
        CloseSerialPort();
        m_serial.reset();
        return 0;
    }
    return 1;
}

int CPrinterLink::CloseSerialPort()
{
    if (!m_serial)
        return 0;
    std::this_thread::sleep_for(kCloseDelay);
    if (!m_serial->DeInitializePort())
        return 0;
    PostPortStatus(0);
    return 1;
}

int CPrinterLink::OpenParallelPort()
{
    if (!m_parallel)
        return 0;
    if (m_bShowInitDialog)
        ShowInitHint(false);
    CGlyphaneDoc* doc = m_host.LinkDocument();
    if (!m_parallel->InitLptComPort(doc->Binding().GetPrinterCfg())) {
        doc->Binding().SetPortName(LoadString(61454));
        return 0;
    }
    return 1;
}

int CPrinterLink::CloseParallelPort()
{
    if (!m_parallel)
        return 0;
    std::this_thread::sleep_for(kCloseDelay);
    return m_parallel->CloseLptPort() ? 1 : 0;
}

int CPrinterLink::OpenUsbPrinter()
{
    if (m_bShowInitDialog)
        ShowInitHint(false);
    m_usb.reset(new (std::nothrow) CQvComAm());
    if (!m_usb) {
        MessageBox(m_host.LinkWindow(), LoadString(61544), LoadString(1035), MB_OK | MB_ICONSTOP);
        return 0;
    }
    int result = IDCANCEL;
    QString chosen;
    RunOnUiThread([&] {
        CDialogSelPrn dialog(m_host.LinkWindow(), CDialogSelPrn::kAskIdentification);
        dialog.m_pUsbPrn = m_usb.get();
        result = dialog.DoModal();
        chosen = dialog.Get_m_strPrnSelected();
    });
    if (result != IDOK) {
        m_usb.reset();
        return 0;
    }
    m_strUsbPrinter = chosen;
    return 1;
}

int CPrinterLink::CloseUsbPrinter()
{
    m_usb.reset();
    return 1;
}
