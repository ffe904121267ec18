#pragma once
// The printer-connection role of the logo view: choosing the printer and the
// port, identifying the printer, opening and closing the three kinds of port
// for everyone who talks to the printer, and the enabling rules of the
// printer commands. It keeps its own state and command map and reaches its
// window only through the host operations at the end, which the view
// implements; the view hands it the commands the editing role does not take.
#include "components/CalcTimeout.h"
#include "platform/CommandRouter.h"
#include "platform/WinTypes.h"

#include <QString>

class CGlyphaneDoc;
class CLoadCfgPrnFile;
class CQvComAm;
class CQvPComAm;
class CsComAm;
class QWidget;

class CViewPrinterRole {
public:
    CViewPrinterRole();
    virtual ~CViewPrinterRole();
    CViewPrinterRole(const CViewPrinterRole&) = delete;
    CViewPrinterRole& operator=(const CViewPrinterRole&) = delete;

    CCommandMap& PrinterCommands() { return m_printerCommands; }

    // Connecting (Connect.cpp).
    void OnConnectPrinter();
    // The port choice; 1 when a port is set. Also the "Change Com. Port" command.
    int SelectPrinterPort();

    // Ports (PrinterPorts.cpp). Callable from the transfer worker too: they
    // report the port state only by posting WM_PORT_STATUS to the window.
    // Initialises the existing m_pSerialPrn on the document's port with cfg.
    int OpenSerialPort(CLoadCfgPrnFile* cfg);
    int CloseSerialPort();
    // Initialises the existing m_pLptPort with the document's configuration.
    int OpenParallelPort();
    int CloseParallelPort();
    // Creates m_pUsbPrn and binds it to the USB printer the operator picks.
    int OpenUsbPrinter();
    int CloseUsbPrinter();

    // Identification (Identification.cpp).
    // 1 when a printer answered on the serial port and the operator accepted
    // it; the model and its configuration file are then in the document.
    int AutodetectPrinter();
    // The printer's sub-model byte, or 1 without a one-byte answer. Needs an
    // open serial port.
    BYTE QuerySubModel();
    // The serial read time-out for the next calls, and back. Need m_pSerialPrn.
    int SetReadTimeout(UINT ms);
    int RestoreTimeouts();

    // Update handlers.
    void OnUpdateConnectPrinter(CCmdUI& cmdUI);
    void OnUpdateChangeComPort(CCmdUI& cmdUI);
    void OnUpdateProgramLogo(CCmdUI& cmdUI);
    void OnUpdateTestLogo(CCmdUI& cmdUI);
    void OnUpdatePrintLogo(CCmdUI& cmdUI);

    // Connection state, named as the rest of the program knows it.
    int m_bShowInitDialog = 1;
    int m_bPortSelected = 0;
    int m_bPrinterDetected = 0;
    int m_bRxhPrinter = 0;
    int m_bWgjPrinter = 0;
    CsComAm* m_pSerialPrn = nullptr;
    CQvPComAm* m_pLptPort = nullptr;
    CQvComAm* m_pUsbPrn = nullptr;
    QString m_strUsbPrinter;
    _CalcTimeout m_savedTimeouts;

protected:
    // What the printer code needs from its window.
    virtual CGlyphaneDoc* PrinterDocument() const = 0;
    // Parent of the dialogs, receiver of the posted port messages.
    virtual QWidget* PrinterWindow() = 0;
    // Re-creates the view's surfaces and layout after the logo changed size.
    virtual void PrinterInitialUpdate() = 0;
    // A transfer job is running (the commands that use a port wait for it).
    virtual bool PrinterTransferRunning() const = 0;
    virtual void PrinterClearLogoInRam() = 0;

    CCommandMap m_printerCommands;

private:
    void MapPrinterCommands();
    bool PortCommandsAllowed() const;

    // Connect.cpp
    bool ChooseSerialPrinter(QString& model, QString& cfgName);
    bool ChooseParallelPrinter(QString& model, QString& cfgName);
    bool ChooseUsbPrinter(QString& model, QString& cfgName);
    bool RunPrinterSelection(QString& model, QString& cfgName);
    bool LoadPrinterConfiguration(const QString& cfgName);
    void BindPrinter(const QString& model, const QString& cfgName);
    void FitLogoToPrinter(int logoWidth, int logoHeight, bool keepsOwnSize);

    // PrinterPorts.cpp
    void ShowInitHint(bool wgjPrinter);
    void PostPortStatus(LPARAM open);

    // Identification.cpp
    bool PrinterAnswersStatus();
    int RunDetection(const CLoadCfgPrnFile& list);
    void DiscardSerialPrinter();

    // The reply length the serial port's configuration gives "Csubmodel"
    // (-1 when it has none), taken when the port was opened.
    int m_nSubModelReplyLength = -1;
};
