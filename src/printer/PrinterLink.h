#pragma once
// The logo window's link to its printer: the three port objects, the USB
// printer chosen, and what the connection and the transfer know about the
// printer and about what it holds. The connection role and the transfer role
// share one link, and both open and close their ports through it.
#include "platform/WinTypes.h"

#include <QByteArray>
#include <QString>
#include <memory>

class CGlyphaneDoc;
class CLoadCfgPrnFile;
class CQvComAm;
class CQvPComAm;
class CsComAm;
class QWidget;

class CPrinterLink {
public:
    // What opening a port needs from the window the link belongs to.
    class CHost {
    public:
        virtual ~CHost() = default;
        virtual CGlyphaneDoc* LinkDocument() const = 0;
        // Parent of the hint and printer dialogs, receiver of the posted port messages.
        virtual QWidget* LinkWindow() = 0;
    };

    explicit CPrinterLink(CHost& host);
    ~CPrinterLink();
    CPrinterLink(const CPrinterLink&) = delete;
    CPrinterLink& operator=(const CPrinterLink&) = delete;

    // The port objects; null while there is none.
    CsComAm* Serial() const { return m_serial.get(); }
    CQvPComAm* Parallel() const { return m_parallel.get(); }
    CQvComAm* Usb() const { return m_usb.get(); }
    // A fresh serial port object in place of any earlier one.
    CsComAm& MakeSerial();
    void DropSerial();
    // A fresh parallel port object for portName, with the component's write
    // retries and deadline in seconds.
    CQvPComAm& MakeParallel(const QString& portName, DWORD retries, DWORD timeoutSeconds);
    void DropParallel();
    // The USB printer the operator picked when it was opened.
    QString UsbPrinterName() const { return m_strUsbPrinter; }
    // A stored-logo print asks for the USB printer every time: it keeps no choice.
    void ForgetUsbPrinter() { m_strUsbPrinter.clear(); }

    // Opening and closing (PrinterLink.cpp). Callable from the transfer worker
    // too: the port state is reported only by posting WM_PORT_STATUS to the
    // window, and dialogs are shown on the UI thread.
    // Initialises the existing serial object on the document's port with cfg.
    int OpenSerialPort(CLoadCfgPrnFile* cfg);
    int CloseSerialPort();
    // Initialises the existing parallel object with the document's configuration.
    int OpenParallelPort();
    int CloseParallelPort();
    // Makes the USB object and binds it to the USB printer the operator picks.
    int OpenUsbPrinter();
    int CloseUsbPrinter();
    // The initialisation hint is shown before a port opens until the operator
    // ticks "do not show again".
    bool ShowsInitDialog() const { return m_bShowInitDialog != 0; }
    void SetShowInitDialog(bool show) { m_bShowInitDialog = show ? 1 : 0; }

    // A port was chosen for this logo ("Change Com. Port" is offered from then on).
    bool IsPortSelected() const { return m_bPortSelected; }
    void SetPortSelected(bool on) { m_bPortSelected = on; }

    // What is known of the printer.
    bool IsWgjPrinter() const { return m_bWgjPrinter; }
    void SetWgjPrinter(bool on) { m_bWgjPrinter = on; }
    bool IsRxhPrinter() const { return m_bRxhPrinter; }
    void SetRxhPrinter(bool on) { m_bRxhPrinter = on; }
    bool IsPrinterDetected() const { return m_bPrinterDetected; }
    void SetPrinterDetected(bool on) { m_bPrinterDetected = on; }

    // What the printer holds: the logo last sent is in its RAM (so a Program
    // may only move it to flash), it still owes a flash after a transfer, a
    // parallel printer keeps its RAM, the slot the logo went to.
    bool IsLogoInRam() const { return m_bLogoInRam; }
    // digest: what the RAM holds (RamCopyDigest); a Program copies RAM to
    // flash only while the logo as it is now gives the same.
    void SetLogoInRam(bool on, const QByteArray& digest = {})
    {
        m_bLogoInRam = on;
        m_ramDigest = on ? digest : QByteArray();
    }
    const QByteArray& RamDigest() const { return m_ramDigest; }
    // Anything that changes what would be sent makes the printer's copy stale.
    void ClearLogoInRam() { SetLogoInRam(false); }
    bool IsFlashAfterTx() const { return m_bFlashAfterTx; }
    void SetFlashAfterTx(bool on) { m_bFlashAfterTx = on; }
    bool LptKeepsRam() const { return m_bLptKeepsRam; }
    void SetLptKeepsRam(bool on) { m_bLptKeepsRam = on; }
    bool IsQnndMode() const { return m_bQnndMode; }
    void SetQnndMode(bool on) { m_bQnndMode = on; }
    int LogoNumber() const { return m_nLogoNumber; }
    void SetLogoNumber(int slot) { m_nLogoNumber = slot; }

    // The initialisation hint (the WGJ33 one or the generic one), unless the
    // operator asked not to see it again. Shown on the user-interface thread.
    void ShowInitHint(bool wgjPrinter);

private:
    void PostPortStatus(LPARAM open);

    CHost& m_host;
    std::unique_ptr<CsComAm> m_serial;
    std::unique_ptr<CQvPComAm> m_parallel;
    std::unique_ptr<CQvComAm> m_usb;
    QString m_strUsbPrinter;
    int m_bShowInitDialog = 1;
    bool m_bPortSelected = false;
    bool m_bWgjPrinter = false;
    bool m_bRxhPrinter = false;
    bool m_bPrinterDetected = false;
    bool m_bLogoInRam = false;
    QByteArray m_ramDigest;
    bool m_bFlashAfterTx = false;
    bool m_bLptKeepsRam = false;
    bool m_bQnndMode = false;
    int m_nLogoNumber = 0;
};
