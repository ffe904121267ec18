// "Program Next Printer": on a production line the operator swaps printers
// on one port; each new printer that answers gets the logo of the last
// "Program Logo" in the same slot, without questions, until the operator
// stops. The port is watched by a scan of that one port, off the
// user-interface thread; a printer is programmed only once it has answered
// after the previous one went away.
#include "transfer/ViewTransferRole.h"

#include "components/PortNames.h"
#include "document/GlyphaneDoc.h"
#include "printer/PrinterLink.h"
#include "resources/StringTable.h"
#include "transfer/NextPrinters.h"
#include "transfer/TransferJob.h"
#include "printer/ViewPanes.h"

#include <chrono>

namespace {

// How often the port is asked whether a printer is there.
constexpr int kWatchMs = 500;

} // namespace

bool CViewTransferRole::CanProgramNextPrinter() const
{
    const CGlyphaneDoc* doc = TransferDocument();
    if (!doc || m_nLastProgramSlot < 1 || (IsTransferRunning() && !m_next))
        return false;
    const QString port = doc->Binding().GetPortName();
    return port != LoadString(61454) && PortKindOf(port) != PortKind::Parallel;
}

CNextPrinterDlg* CViewTransferRole::NextPrinterBox() const
{
    return m_next ? m_next->box.get() : nullptr;
}

void CViewTransferRole::OnProgramNextPrinter()
{
    if (m_next) {
        StopNextPrinters(); // the command is checked while a run lasts: choosing it again stops it
        return;
    }
    if (!CanProgramNextPrinter())
        return;
    CGlyphaneDoc* doc = TransferDocument();
    m_next = std::make_unique<CNextPrinters>();
    m_next->port = doc->Binding().GetPortName();
    m_next->model = doc->Binding().GetPrinterModel();
    m_next->slot = m_nLastProgramSlot;
    // The printer programmed last is still there: it has to go first.
    m_next->state = CNextPrinters::State::WaitForSwap;
    m_next->catalogue = ProgramScanCatalogue(TransferHost());
    m_next->box = std::make_unique<CNextPrinterDlg>(TransferWindow());
    QObject::connect(m_next->box.get(), &CNextPrinterDlg::Stopped, m_next->box.get(),
                     [this] { QTimer::singleShot(0, m_next->box.get(), [this] { StopNextPrinters(); }); });
    m_next->box->show();
    m_next->timer = std::make_unique<QTimer>();
    QObject::connect(m_next->timer.get(), &QTimer::timeout, m_next->timer.get(), [this] { NextPrinterTick(); });
    m_next->timer->start(kWatchMs);
    ShowNextPrinterState(QStringLiteral("Take the printer away, then connect the next one to %1.").arg(m_next->port));
}

void CViewTransferRole::StopNextPrinters()
{
    if (!m_next)
        return;
    if (IsTransferRunning())
        m_job->RequestStop();
    m_next->timer.reset();
    if (m_next->probe.valid())
        m_next->probe.wait(); // bounded by the scan's deadlines
    const int done = m_next->done, failed = m_next->failed;
    m_next.reset();
    viewpanes::SetMessagePane(TransferHost(),
        QStringLiteral("Program Next Printer stopped: %1 done, %2 failed").arg(done).arg(failed));
}

void CViewTransferRole::ShowNextPrinterState(const QString& state)
{
    m_next->box->SetState(state);
    m_next->box->SetCounts(m_next->done, m_next->failed, m_next->lastFailure);
    viewpanes::SetMessagePane(TransferHost(), QStringLiteral("Program Next Printer: %1 done, %2 failed. %3")
                                  .arg(m_next->done)
                                  .arg(m_next->failed)
                                  .arg(state));
}

void CViewTransferRole::NextPrinterTick()
{
    if (!m_next || m_next->state == CNextPrinters::State::Programming)
        return;
    if (!m_next->probe.valid()) {
        m_next->probe = std::async(std::launch::async, [port = m_next->port, &catalogue = m_next->catalogue] {
            return ScanPorts({port}, catalogue).front();
        });
        return;
    }
    if (m_next->probe.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        return;
    const CPortFinding finding = m_next->probe.get();
    NextPrinterFound(finding);
}

void CViewTransferRole::NextPrinterFound(const CPortFinding& finding)
{
    const bool there = finding.state == ScanState::Found;
    if (m_next->state == CNextPrinters::State::WaitForSwap) {
        if (!there) {
            m_next->state = CNextPrinters::State::WaitForPrinter;
            ShowNextPrinterState(QStringLiteral("Waiting for the next printer on %1...").arg(m_next->port));
        }
        return;
    }
    if (!there)
        return;
    if (finding.model != m_next->model) {
        ShowNextPrinterState(QStringLiteral("A %1 answers on %2, not a %3: connect a %3.")
                                 .arg(finding.model, m_next->port, m_next->model));
        return;
    }
    m_next->state = CNextPrinters::State::Programming;
    ShowNextPrinterState(QStringLiteral("Programming the %1 on %2 into slot %3...")
                             .arg(finding.model, m_next->port)
                             .arg(m_next->slot));
    m_bProgramMode = true;
    m_nPresetSlot = m_next->slot;
    TransferDropTool();
    const int started = StartThreadLogo();
    m_nPresetSlot = 0;
    if (!started) {
        ++m_next->failed;
        m_next->lastFailure = QStringLiteral("the job could not start");
        m_next->state = CNextPrinters::State::WaitForSwap;
    }
}

void CViewTransferRole::NextPrinterJobEnded(const CTransferOutcome& outcome)
{
    if (outcome.result == 1 && outcome.failure.isEmpty()) {
        ++m_next->done;
    } else {
        ++m_next->failed;
        m_next->lastFailure = outcome.failure.isEmpty() ? QStringLiteral("the printer did not take the logo")
                                                        : outcome.failure;
    }
    m_next->state = CNextPrinters::State::WaitForSwap;
    ShowNextPrinterState(QStringLiteral("Take the printer away, then connect the next one to %1.").arg(m_next->port));
}
