// Opening and closing the serial, parallel and USB ports for every caller
// (connection, identification, transfer and printing of stored logos).
#include "printer/ViewPrinterRole.h"

#include "app/GlyphaneApp.h"
#include "components/Conversioni.h"
#include "components/DialogSelPrn.h"
#include "components/InitDeviceDlg.h"
#include "components/PComAm.h"
#include "components/SComAm.h"
#include "components/UComAm.h"
#include "document/GlyphaneDoc.h"
#include "platform/NativePath.h"
#include "platform/PostedMessage.h"
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
    QMetaObject::invokeMethod(app, work, Qt::BlockingQueuedConnection);
}

} // namespace

void CViewPrinterRole::PostPortStatus(LPARAM open)
{
    PostMessage(PrinterWindow(), WM_PORT_STATUS, 0, open);
}

void CViewPrinterRole::ShowInitHint(bool wgjPrinter)
{
    RunOnUiThread([this, wgjPrinter] {
        if (wgjPrinter) {
            CDialogInitDevice hint(PrinterWindow(), &m_bShowInitDialog);
            hint.DoModal();
        } else {
            CDialogInitGenericPrn hint(PrinterWindow(), &m_bShowInitDialog);
            hint.DoModal();
        }
    });
}

int CViewPrinterRole::OpenSerialPort(CLoadCfgPrnFile* cfg)
{
    if (!m_pSerialPrn)
        return 0;
    if (m_bShowInitDialog)
        ShowInitHint(m_bWgjPrinter != 0);
    CGlyphaneDoc* doc = PrinterDocument();
    const QString logPath = JoinProgramPath(GetApp()->GetProgramPath(),
                                            CConversioni::CleanCharInCString(doc->GetTitle(), QLatin1Char('.'))
                                                + QStringLiteral(".log"));
    int length = 0, reply = 0;
    m_nSubModelReplyLength =
        cfg && cfg->GetNumBytePrintersComando(QStringLiteral("Csubmodel"), &length, &reply) ? reply : -1;
    if (!m_pSerialPrn->InitThisObject(PrinterWindow(), doc->GetPortName(), 1, logPath, cfg)) {
        doc->SetPortName(LoadString(61454));
        PostPortStatus(0);
        return 0;
    }
    PostPortStatus(1);
    if (!m_pSerialPrn->PubSetBaudRate(m_pSerialPrn->m_dwBaudRate)) {
        CloseSerialPort();
        delete m_pSerialPrn;
        m_pSerialPrn = nullptr;
        return 0;
    }
    return 1;
}

int CViewPrinterRole::CloseSerialPort()
{
    if (!m_pSerialPrn)
        return 0;
    std::this_thread::sleep_for(kCloseDelay);
    if (!m_pSerialPrn->DeInitializePort())
        return 0;
    PostPortStatus(0);
    return 1;
}

int CViewPrinterRole::OpenParallelPort()
{
    if (!m_pLptPort)
        return 0;
    if (m_bShowInitDialog)
        ShowInitHint(false);
    CGlyphaneDoc* doc = PrinterDocument();
    if (!m_pLptPort->InitLptComPort(doc->GetPrinterCfg())) {
        doc->SetPortName(LoadString(61454));
        return 0;
    }
    return 1;
}

int CViewPrinterRole::CloseParallelPort()
{
    if (!m_pLptPort)
        return 0;
    std::this_thread::sleep_for(kCloseDelay);
    return m_pLptPort->CloseLptPort() ? 1 : 0;
}

int CViewPrinterRole::OpenUsbPrinter()
{
    if (m_bShowInitDialog)
        ShowInitHint(false);
    delete m_pUsbPrn;
    m_pUsbPrn = new (std::nothrow) CQvComAm();
    if (!m_pUsbPrn) {
        MessageBox(PrinterWindow(), LoadString(61544), LoadString(1035), MB_OK | MB_ICONSTOP);
        return 0;
    }
    int result = IDCANCEL;
    QString chosen;
    RunOnUiThread([&] {
        CDialogSelPrn dialog(PrinterWindow(), CDialogSelPrn::kAskIdentification);
        dialog.m_pUsbPrn = m_pUsbPrn;
        result = dialog.DoModal();
        chosen = dialog.Get_m_strPrnSelected();
    });
    if (result != IDOK) {
        delete m_pUsbPrn;
        m_pUsbPrn = nullptr;
        return 0;
    }
    m_strUsbPrinter = chosen;
    return 1;
}

int CViewPrinterRole::CloseUsbPrinter()
{
    delete m_pUsbPrn;
    m_pUsbPrn = nullptr;
    return 1;
}
