#pragma once
// Printing a logo stored in the printer ("Print Logo"): on an open port, the
// printer's own print command for the chosen slot (or the chosen sub-logos
// of a fiscal printer), the paper feed and the cut; printers that print only
// from RAM first load the slot into RAM. Nothing of the document's image is
// sent. Runs on the user-interface thread; every call is bounded by the
// component's time-outs. Opening and closing the port is the caller's.
#include "transfer/TransferRequest.h"

#include <QString>

class CBufferUC;
class CQvComAm;
class CQvPComAm;
class CsComAm;

// What printing a stored logo needs from whoever runs it.
class CStoredLogoHost {
public:
    virtual ~CStoredLogoHost() = default;
    // One line in the application log.
    virtual void Log(const QString& line) = 0;
    // A plain pause.
    virtual void Sleep(int ms) = 0;
    // A message box over the window that names why the print fails (the
    // command line prints it).
    virtual int Message(const QString& text, const QString& caption, UINT flags) = 0;
    // A box that names no failure (a warning before the print).
    virtual void Inform(const QString& text, const QString& caption, UINT flags) = 0;
};

class CStoredLogoPrint {
public:
    CStoredLogoPrint(const CStoredLogoRequest& request, CStoredLogoHost& host);

    // Serial: the WGJ33's time-outs and readiness, or the printer's speed by
    // baud detection; then the fiscal, flash or RAM print. 1 when the printer
    // took every command.
    int PrintOverSerial(CsComAm& port);
    int PrintFiscalLogo(CsComAm& port);
    int PrintStoredLogoSerial(CsComAm& port);
    int PrintViaRamSerial(CsComAm& port);

    // Parallel: the "Select Line" warning for the models that need it, then
    // the flash or RAM print.
    int PrintOverParallel(CQvPComAm& port);
    int PrintStoredLogoParallel(CQvPComAm& port);
    int PrintViaRamParallel(CQvPComAm& port);

    // USB: the printer must be on line and be the model the logo is bound
    // to; only the USB print models print a stored logo.
    int PrintOverUsb(CQvComAm& usb);
    int PrintStoredLogoUsb(CQvComAm& usb);

    // The detection ran: the feed owed after an identification is no longer owed.
    bool PrinterDetectionPassed() const { return m_bDetectionPassed; }
    // The printer's RAM now holds the stored logo, not the document's.
    bool RamOverwritten() const { return m_bRamOverwritten; }
    // Why the print ended, in a few words; empty when it did not fail.
    const QString& Failure() const { return m_strFailure; }

private:
    // Logs a command refused for its length, records why; false.
    bool Refused(const CBufferUC& command, const QString& why);
    template <class Port>
    int PrintViaRam(Port& port);
    template <class Port>
    int SendSlotPrintCommand(Port& port);
    template <class Port>
    int AllTaken(Port& port);
    bool Fetch(const QString& name, CBufferUC& out);
    bool FetchFlashToRam(CBufferUC& out);
    bool PrepareSerialPrinter(CsComAm& port);
    // Records why the print fails (the first reason wins); returns 0.
    int Fail(const QString& reason);

    const CStoredLogoRequest& m_request;
    CStoredLogoHost& m_host;
    bool m_bDetectionPassed = false;
    bool m_bRamOverwritten = false;
    QString m_strFailure;
};
