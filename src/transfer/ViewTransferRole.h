#pragma once
// The logo-transfer role of the logo view: "Program Logo" and "Test Logo",
// the transfer job and its worker, the progress dialog and the reset wait
// fed by the job's messages, the stop request, and the outcome of a job
// applied to the printer link and the document. It reaches its window, the
// document, the printer link and the send options only through the host
// operations at the end, which the view implements.
#include "platform/CommandRouter.h"
#include "platform/WinTypes.h"
#include "printer/PortScan.h"
#include "transfer/TransferRequest.h"

#include <QPointer>
#include <QString>

#include <memory>

class CDialogThreadStatus;
class CNextPrinterDlg;
class CGlyphaneDoc;
class CPrinterLink;
class CProgramHost;
class CSendOptions;
class CTransferJob;
class QTimer;
class QWidget;

// The printer and the send options of a request, in a line.
QString PreviewDetails(const CTransferRequest& request);

class CViewTransferRole {
public:
    CViewTransferRole();
    virtual ~CViewTransferRole();
    CViewTransferRole(const CViewTransferRole&) = delete;
    CViewTransferRole& operator=(const CViewTransferRole&) = delete;

    CCommandMap& TransferCommands() { return m_transferCommands; }

    // "Program Logo" (32789) and "Test Logo" (32790).
    void OnProgramLogo();
    void OnTestLogo();
    // "Print Logo" (32799): prints a logo stored in the printer
    // (ViewPrintLogo.cpp). Runs on the user-interface thread.
    void OnPrintLogo();
    // "Printer Preview": the dots the printer would print for a transfer with
    // the send options as they are now (ViewPrinterPreview.cpp).
    void OnPrinterPreview();
    // The logo is bound to a printer whose configuration is loaded.
    bool CanPreview() const;
    // Starts a job unless one runs (then 1 and nothing happens); 0 when it
    // could not start or ended before the worker (colour logo, no slot chosen).
    int StartThreadLogo();
    bool IsTransferRunning() const;
    // The printer's RAM holds exactly what a transfer of the logo as it is
    // now would send (to the slot last chosen): a Program only copies it to flash.
    bool RamHoldsTheLogo();
    // The setting "Verify After Programming" (on unless turned off): a
    // flash-area printer's logo area is read back after programming.
    static bool VerifiesAfterProgramming();
    static void SetVerifiesAfterProgramming(bool on);
    // The serial settings of the running job's port, empty when it has none open.
    QString TransferSerialSettings() const;

    // Stops a running job and waits for its worker; any question it was
    // waiting for is given up. Nothing to do while none runs.
    void OnKillThread();

    // "Program Next Printer" (ViewNextPrinter.cpp): after a "Program Logo"
    // that succeeded, the same logo into the same slot of each printer that
    // answers on the port next (the operator swaps them), without questions,
    // until the operator stops. A serial or USB port only: a parallel port
    // cannot tell that a printer is there.
    void OnProgramNextPrinter();
    bool CanProgramNextPrinter() const;
    bool IsProgrammingNextPrinters() const { return m_next != nullptr; }
    void StopNextPrinters();
    // The box of the run, while it lasts (for tests and the status).
    CNextPrinterDlg* NextPrinterBox() const;

    // The job's messages 3025 to 3029; the result a blocking sender gets.
    LPARAM OnTransferMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    // For tests and the status figures.
    bool IsProgramMode() const { return m_bProgramMode; }
    BYTE SubLogoBits() const { return m_nSubLogoBits; }
    CDialogThreadStatus* ProgressDialog() const;
    // The current or last job, until the next one starts; null before the first.
    const CTransferJob* LastJob() const { return m_job.get(); }

protected:
    // What the transfer needs from its window.
    virtual CGlyphaneDoc* TransferDocument() const = 0;
    // The program around the window (configurations, log, panes); may be null.
    virtual CProgramHost* TransferHost() const = 0;
    virtual QWidget* TransferWindow() = 0;
    virtual CPrinterLink& Link() = 0;
    virtual const CSendOptions& SendOptions() const = 0;
    // Test, Program and Print Logo leave no drawing tool selected.
    virtual void TransferDropTool() = 0;

    CCommandMap m_transferCommands;

private:
    void MapTransferCommands();
    bool PrepareOnUiThread();
    CTransferRequest TakeRequest();
    // The document's print data, refreshed before a full serial or parallel transfer.
    void RefreshPrintData();
    void ApplyOutcome(const CTransferOutcome& outcome);
    void OnStopSend();
    void OnProgressStart(int steps);
    void OnProgressEnd();
    void UpdateProgressDetails();
    void ShowResetWait(bool reset, int ms, std::function<void()> done);
    void LogJobError();
    // ViewNextPrinter.cpp
    struct CNextPrinters;
    void NextPrinterTick();
    void NextPrinterFound(const CPortFinding& finding);
    void NextPrinterJobEnded(const CTransferOutcome& outcome);
    void ShowNextPrinterState(const QString& state);
    // ViewPrintLogo.cpp
    bool ChoosePrintedLogo();
    void PrintLogoOverSerial(CStoredLogoRequest& request);
    void PrintLogoOverParallel(CStoredLogoRequest& request);
    void PrintLogoOverUsb(CStoredLogoRequest& request);

    std::unique_ptr<CTransferJob> m_job;
    bool m_bProgramMode = false;
    // The fiscal printers' sub-logos last chosen for "Print Logo": 255 = the
    // whole logo, else bit 0 = sub-logo 1 ... bit 3 = sub-logo 4.
    BYTE m_nSubLogoBits = 255;
    QPointer<CDialogThreadStatus> m_progress;
    QPointer<QTimer> m_progressTimer;
    // The USB printer chosen for the job being prepared.
    QString m_strUsbPrinter;
    // The slot of the last "Program Logo" that succeeded here; 0 before one.
    int m_nLastProgramSlot = 0;
    // A Program that asks nothing: the slot it goes to (the next printer's).
    int m_nPresetSlot = 0;
    std::unique_ptr<CNextPrinters> m_next;
};
