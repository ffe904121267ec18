#include "transfer/ViewTransferRole.h"

#include "components/PortNames.h"
#include "components/LogFile.h"
#include "components/SettingsStore.h"
#include "components/dialogs/DialogSelPrn.h"
#include "components/dialogs/MessageDlg.h"
#include "dialogs/ChooseLogoDlg.h"
#include "document/GlyphaneDoc.h"
#include "platform/UiSeam.h"
#include "printer/ModelCatalogue.h"
#include "printer/PrintData.h"
#include "printer/PrinterLink.h"
#include "printer/ProgramHost.h"
#include "resources/CommandIds.h"
#include "resources/StringTable.h"
#include "transfer/LogoStream.h"
#include "transfer/NextPrinters.h"
#include "transfer/PortStream.h"
#include "transfer/SendOptions.h"
#include "transfer/TransferJob.h"
#include "transfer/TransferModels.h"

#include <QGuiApplication>
#include <algorithm>
#include <QTimer>
#include <QWidget>

namespace {

// The progress figures are refreshed this often while the dialog is up.
constexpr int kProgressRefreshMs = 250;

bool IsSerialPort(const QString& port)
{
    return port.contains(QLatin1String("COM"));
}

bool IsParallelPort(const QString& port)
{
    return !IsSerialPort(port) && port.contains(QLatin1String("LPT"));
}

QString ProgressFigures(const CTransferJob::CProgress& p)
{
    QString text = QStringLiteral("%1 of %2 bytes").arg(p.sentBytes).arg(p.totalBytes);
    if (p.baud != 0)
        text += QStringLiteral(" at %1 baud").arg(p.baud);
    const qint64 left = p.totalBytes - p.sentBytes;
    qint64 leftMs = -1;
    if (p.sentBytes > 0 && p.elapsedMs > 0)
        leftMs = p.elapsedMs * left / p.sentBytes;
    else if (p.baud != 0)
        leftMs = left * 10 * 1000 / p.baud;
    if (leftMs >= 0)
        text += QStringLiteral(", %1 s left").arg((leftMs + 999) / 1000);
    return text;
}

} // namespace

CViewTransferRole::CViewTransferRole()
{
    MapTransferCommands();
}

CViewTransferRole::~CViewTransferRole()
{
    // The run's probe refers to it: waited for (within the scan's deadlines).
    m_next.reset();
}

void CViewTransferRole::MapTransferCommands()
{
    m_transferCommands.MapCommand(ID_PROGRAM_LOGO, [this] { OnProgramLogo(); });
    m_transferCommands.MapCommand(ID_TEST_LOGO, [this] { OnTestLogo(); });
    m_transferCommands.MapCommand(ID_PRINT_LOGO, [this] { OnPrintLogo(); });
    m_transferCommands.MapCommand(ID_PRINTER_PREVIEW, [this] { OnPrinterPreview(); });
    m_transferCommands.MapUpdate(ID_PRINTER_PREVIEW, [this](CCmdUI& ui) { ui.Enable(CanPreview()); });
    m_transferCommands.MapCommand(ID_PROGRAM_NEXT_PRINTER, [this] { OnProgramNextPrinter(); });
    m_transferCommands.MapUpdate(ID_PROGRAM_NEXT_PRINTER, [this](CCmdUI& ui) {
        ui.Enable(CanProgramNextPrinter());
        ui.SetCheck(IsProgrammingNextPrinters() ? 1 : 0);
    });
    m_transferCommands.MapCommand(ID_VERIFY_AFTER_PROGRAMMING,
                                  [] { SetVerifiesAfterProgramming(!VerifiesAfterProgramming()); });
    m_transferCommands.MapUpdate(ID_VERIFY_AFTER_PROGRAMMING, [](CCmdUI& ui) {
        ui.Enable(true);
        ui.SetCheck(VerifiesAfterProgramming() ? 1 : 0);
    });
}

void CViewTransferRole::OnProgramLogo()
{
    TransferDropTool();
    m_bProgramMode = true;
    StartThreadLogo();
}

void CViewTransferRole::OnTestLogo()
{
    TransferDropTool();
    m_bProgramMode = false;
    StartThreadLogo();
}

bool CViewTransferRole::IsTransferRunning() const
{
    return m_job && m_job->IsRunning();
}

QString CViewTransferRole::TransferSerialSettings() const
{
    return m_job ? m_job->SerialSettings() : QString();
}

CDialogThreadStatus* CViewTransferRole::ProgressDialog() const
{
    return m_progress;
}

void CViewTransferRole::LogJobError()
{
    if (CProgramHost* host = TransferHost())
        host->AppLog()->LogToFile(
            QStringLiteral("CGlyphaneView::ThreadLogo() Error detected during TestOrProgRamLogo() phase..."), 0);
}

int CViewTransferRole::StartThreadLogo()
{
    if (IsTransferRunning())
        return 1;
    // The questions before any byte is sent are asked here, on the
    // user-interface thread, so the worker never waits for them.
    m_strUsbPrinter.clear();
    if (!PrepareOnUiThread()) {
        LogJobError();
        return 0;
    }
    CTransferRequest request = TakeRequest();
    if (!request.flags.logoInRam)
        RefreshPrintData();
    m_job.reset(); // the previous job's worker has ended; release it
    QWidget* window = TransferWindow();
    m_job = std::make_unique<CTransferJob>(window, window, [this](bool reset, int ms, std::function<void()> done) {
        ShowResetWait(reset, ms, std::move(done));
    });
    // The printers of a run say how they did in its box, not one box each.
    m_job->SetQuiet(m_next != nullptr);
    m_job->Start(std::move(request), [this](const CTransferOutcome& outcome) { ApplyOutcome(outcome); });
    return 1;
}

bool CViewTransferRole::PrepareOnUiThread()
{
    CGlyphaneDoc* doc = TransferDocument();
    QWidget* window = TransferWindow();
    if (!doc->Binding().IsMonochrome()) {
        MessageBox(window, LoadString(61529), LoadString(1035), MB_OK | MB_ICONSTOP);
        return false;
    }
    CPrinterLink& link = Link();
    if (m_bProgramMode && m_nPresetSlot > 0) {
        // The next printer of a run: no question, the port is the logo's own.
        link.SetLogoNumber(m_nPresetSlot);
        return true;
    }
    if (m_bProgramMode) {
        CChooseLogoDlg choose(window, doc->Binding().GetNumLogos());
        if (choose.DoModal() != IDOK || choose.m_nLogo < 1)
            return false;
        link.SetLogoNumber(choose.m_nLogo);
    }
    const QString port = doc->Binding().GetPortName();
    if (IsSerialPort(port) || IsParallelPort(port)) {
        // Shown before the port opens, as opening it would.
        if (link.ShowsInitDialog())
            link.ShowInitHint(IsSerialPort(port) && (link.IsWgjPrinter() || IsWgj33Model(doc->Binding().GetPrinterModel())));
    } else {
        // USB: the operator picks the printer the job goes to.
        if (link.ShowsInitDialog())
            link.ShowInitHint(false);
        CDialogSelPrn choice(window, CDialogSelPrn::kAskIdentification);
        if (choice.DoModal() != IDOK)
            return false;
        m_strUsbPrinter = choice.Get_m_strPrnSelected();
    }
    return true;
}

bool CViewTransferRole::VerifiesAfterProgramming()
{
    return CSettingsStore::Value(QStringLiteral("Transfer"), QStringLiteral("VerifyAfterProgramming"), true).toBool();
}

void CViewTransferRole::SetVerifiesAfterProgramming(bool on)
{
    CSettingsStore::SetValue(QStringLiteral("Transfer"), QStringLiteral("VerifyAfterProgramming"), on);
}

void CViewTransferRole::RefreshPrintData()
{
    CGlyphaneDoc* doc = TransferDocument();
    if (PortKindOf(doc->Binding().GetPortName()) == PortKind::Usb)
        return;
    if (UsesUsbPrintData(doc->Binding().GetPrinterModel()))
        BuildUsbPrintData(*doc);
    else
        BuildPlainPrintData(*doc);
}

bool CViewTransferRole::RamHoldsTheLogo()
{
    return TakeRequest().flags.logoInRam;
}

CTransferRequest CViewTransferRole::TakeRequest()
{
    const CPrinterLink& link = Link();
    CTransferFlags flags;
    flags.logoInRam = link.IsLogoInRam();
    flags.ramDigest = link.RamDigest();
    flags.printerDetected = link.IsPrinterDetected();
    flags.flashAfterTx = link.IsFlashAfterTx();
    flags.wgjPrinter = link.IsWgjPrinter();
    flags.rxhPrinter = link.IsRxhPrinter();
    flags.lptKeepsRam = link.LptKeepsRam();
    flags.qnndMode = link.IsQnndMode();
    CTransferRequest request = MakeTransferRequest(TransferHost(), *TransferDocument(),
                                                   m_bProgramMode ? TransferKind::Program : TransferKind::Test,
                                                   link.LogoNumber(), SendOptions().Choices(), flags);
    if (!m_strUsbPrinter.isEmpty())
        request.usbPrinter = m_strUsbPrinter;
    request.verifyArea = VerifiesAfterProgramming();
    // The printer's RAM copy serves only while it is exactly what a full
    // transfer would send now: Invert, the flips, Undo and a paste leave the
    // flag set but change the logo.
    if (request.flags.logoInRam)
        request.flags.logoInRam =
            !request.flags.ramDigest.isEmpty() && CurrentRamCopyDigest(request) == request.flags.ramDigest;
    return request;
}

void CViewTransferRole::ApplyOutcome(const CTransferOutcome& outcome)
{
    CPrinterLink& link = Link();
    link.SetLogoInRam(outcome.flags.logoInRam, outcome.flags.ramDigest);
    link.SetPrinterDetected(outcome.flags.printerDetected);
    link.SetFlashAfterTx(outcome.flags.flashAfterTx);
    link.SetWgjPrinter(outcome.flags.wgjPrinter);
    link.SetRxhPrinter(outcome.flags.rxhPrinter);
    link.SetLptKeepsRam(outcome.flags.lptKeepsRam);
    link.SetQnndMode(outcome.flags.qnndMode);
    CGlyphaneDoc* doc = TransferDocument();
    if (outcome.printRaster.GetSize() > 0)
        doc->Raster().SetPrintRaster(outcome.printRaster);
    if (outcome.portLost)
        doc->Binding().SetPortName(LoadString(61454));
    const bool succeeded = outcome.result == 1 && outcome.failure.isEmpty();
    if (m_bProgramMode && succeeded)
        m_nLastProgramSlot = link.LogoNumber();
    if (m_next) {
        NextPrinterJobEnded(outcome);
        return;
    }
    // Most failures have a box of their own; one that has none (a printer
    // silent from the start, a line that broke mid-stream) must not end the
    // command without a word.
    if (outcome.result != 1 && !outcome.told && !outcome.failure.isEmpty())
        MessageBox(TransferWindow(), FormatResString(61548, QStringList{outcome.failure}), LoadString(1035),
                   MB_OK | MB_ICONSTOP);
}

void CViewTransferRole::OnKillThread()
{
    m_next.reset(); // a run of next printers ends with its window
    if (!m_job)
        return;
    m_job->Kill();
    OnProgressEnd();
    m_job.reset();
    if (CProgramHost* host = TransferHost())
        host->AppLog()->LogToFile(QStringLiteral("CGlyphaneView::OnKillThread() thread killed !!!!"), 0);
}

// ---- the job's messages --------------------------------------------------------

LPARAM CViewTransferRole::OnTransferMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PROGRESS_START:
        OnProgressStart(static_cast<int>(lParam));
        break;
    case WM_PROGRESS_END:
        OnProgressEnd();
        break;
    case WM_PROGRESS_STEP:
        // wParam: the steps one message carries (0 is one, as the message was first meant).
        if (m_progress) {
            for (WPARAM i = 0; i < std::max<WPARAM>(1, wParam); ++i)
                m_progress->StepIt();
            UpdateProgressDetails();
        }
        break;
    case WM_STOP_SEND:
        OnStopSend();
        break;
    case WM_WAIT_RESET:
        ShowResetWait(wParam == 1, static_cast<int>(lParam), {});
        break;
    default:
        break;
    }
    return 0;
}

void CViewTransferRole::OnProgressStart(int steps)
{
    if (!m_progress) {
        m_progress = new CDialogThreadStatus(TransferWindow(), LoadString(61465), LoadString(61456), WM_STOP_SEND);
        m_progress->setAttribute(Qt::WA_DeleteOnClose, false);
        m_progress->Create();
        m_progressTimer = new QTimer(m_progress);
        QObject::connect(m_progressTimer, &QTimer::timeout, m_progress, [this] { UpdateProgressDetails(); });
        m_progressTimer->start(kProgressRefreshMs);
    }
    m_progress->InitPcThread(0, steps, 1, 0);
    UpdateProgressDetails();
}

void CViewTransferRole::OnProgressEnd()
{
    delete m_progress.data(); // its timer goes with it
}

void CViewTransferRole::UpdateProgressDetails()
{
    if (m_progress && m_job)
        m_progress->SetDetails(ProgressFigures(m_job->Progress()));
}

void CViewTransferRole::OnStopSend()
{
    if (!IsTransferRunning())
        return;
    m_job->RequestStop();
    MessageBox(TransferWindow(), LoadString(61464), LoadString(61456), MB_OK | MB_ICONEXCLAMATION);
}

void CViewTransferRole::ShowResetWait(bool reset, int ms, std::function<void()> done)
{
    const QString text = reset ? LoadString(61510) : QStringLiteral("Please wait...");
    auto* box = new CDialogMessage(TransferWindow(), text, LoadString(61508));
    box->Create();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    // The cursor comes back however the box goes, also with its window.
    QObject::connect(box, &QObject::destroyed, [] { QGuiApplication::restoreOverrideCursor(); });
    QTimer::singleShot(ms, box, [box, done = std::move(done)] {
        delete box;
        if (done)
            done();
    });
}
