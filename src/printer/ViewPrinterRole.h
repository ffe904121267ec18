#pragma once
// The printer-connection role of the logo view: choosing the printer and the
// port, identifying the printer, opening and closing the three kinds of port
// for everyone who talks to the printer, and the enabling rules of the
// printer commands. It keeps its own state and command map and reaches its
// window and the printer link it shares with the transfer only through the
// host operations at the end, which the view implements; the view hands it
// the commands the editing role does not take.
#include "components/CalcTimeout.h"
#include "platform/CommandRouter.h"
#include "platform/WinTypes.h"

#include <QString>

class CGlyphaneDoc;
class CLoadCfgPrnFile;
class CPrinterLink;
class CProgramHost;
class QWidget;

struct CPortFinding;

class CViewPrinterRole {
public:
    CViewPrinterRole();
    virtual ~CViewPrinterRole();
    CViewPrinterRole(const CViewPrinterRole&) = delete;
    CViewPrinterRole& operator=(const CViewPrinterRole&) = delete;

    CCommandMap& PrinterCommands() { return m_printerCommands; }

    // Connecting (Connect.cpp).
    void OnConnectPrinter();
    // The port choice; 1 when a port is set, 2 when the operator went to
    // "Find Printers..." from it and connected there. Also the "Change Com.
    // Port" command.
    int SelectPrinterPort();

    // "Find Printers..." (FindPrinters.cpp): every port scanned at once; the
    // printer chosen is connected as Connect does (same questions, same
    // resize rules). 1 when connected.
    int OnFindPrinters();

    // Identification (Identification.cpp).
    // 1 when a printer answered on the serial port and the operator accepted
    // it; the model and its configuration file are then in the document.
    int AutodetectPrinter();
    // The printer's sub-model byte, or 1 without a one-byte answer. Needs an
    // open serial port.
    BYTE QuerySubModel();
    // The serial read time-out for the next calls, and back. Need the link's serial port.
    int SetReadTimeout(UINT ms);
    int RestoreTimeouts();

    // WM_PORT_STATUS: the port pane shows the serial settings while a serial
    // port is open (lParam 1), the document's port name otherwise. A running
    // transfer owns its port and hands its settings text in.
    void OnPortStatus(LPARAM open, const QString& transferSettings = QString());

    // Update handlers.
    void OnUpdateConnectPrinter(CCmdUI& cmdUI);
    void OnUpdateChangeComPort(CCmdUI& cmdUI);
    void OnUpdateProgramLogo(CCmdUI& cmdUI);
    void OnUpdateTestLogo(CCmdUI& cmdUI);
    void OnUpdatePrintLogo(CCmdUI& cmdUI);

protected:
    // What the printer code needs from its window.
    virtual CGlyphaneDoc* PrinterDocument() const = 0;
    // The program around the window (configurations, log, panes); may be null.
    virtual CProgramHost* PrinterHost() const = 0;
    // Parent of the dialogs, receiver of the posted port messages.
    virtual QWidget* PrinterWindow() = 0;
    // Re-creates the view's surfaces and layout after the logo changed size.
    virtual void PrinterInitialUpdate() = 0;
    // A transfer job is running (the commands that use a port wait for it).
    virtual bool PrinterTransferRunning() const = 0;
    // Connecting and choosing the port leave no drawing tool selected.
    virtual void PrinterDropTool() = 0;
    // The link to the printer, shared with the transfer.
    virtual CPrinterLink& Link() = 0;
    virtual const CPrinterLink& Link() const = 0;

    CCommandMap m_printerCommands;

private:
    void MapPrinterCommands();
    bool PortCommandsAllowed() const;

    // Connect.cpp
    // A line of the connection in the application log.
    void LogConnect(const QString& text) const;
    bool ChooseSerialPrinter(QString& model, QString& cfgName);
    bool ChooseParallelPrinter(QString& model, QString& cfgName);
    bool ChooseUsbPrinter(QString& model, QString& cfgName);
    bool RunPrinterSelection(QString& model, QString& cfgName);
    bool LoadPrinterConfiguration(const QString& cfgName);
    void BindPrinter(const QString& model, const QString& cfgName);
    void FitLogoToPrinter(int logoWidth, int logoHeight, bool keepsOwnSize);
    // FindPrinters.cpp
    int ConnectToFinding(const CPortFinding& finding);

    // Identification.cpp
    bool PrinterAnswersStatus();
    int RunDetection(const CLoadCfgPrnFile& list);
    void DiscardSerialPrinter();

    _CalcTimeout m_savedTimeouts;
};
