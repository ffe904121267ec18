#pragma once
// What the logo view and its roles (printer, transfer) use of the running
// program. The application hands one to every view, as it hands every
// document its CDocEnvironment; the view passes it on to its roles and to the
// transfer requests it builds. Nothing below the frame reaches the
// application itself.
#include "components/LogFile.h"
#include "platform/WinTypes.h"

#include <QString>

class CCommandRouter;
class CLoadCfgFileApp;
class CLoadCfgPrnFile;
class QWidget;

class CProgramHost {
public:
    virtual ~CProgramHost() = default;

    // The application configuration (the printer list); null until it was read.
    virtual const CLoadCfgFileApp* AppCfg() const = 0;
    // Its "AutoBaudRateFlow" value as the port detection takes it; 0 without one.
    virtual BYTE AutoBaudRateFlow() const = 0;
    // The printers-to-test list read at start-up; null until it was read.
    virtual CLoadCfgPrnFile* StartupPrinterCfg() const = 0;
    // "Glyphane.log" in the program folder.
    virtual CLogFile* AppLog() = 0;
    virtual QString ProgramPath() const = 0;
    // Not 0 for a client's own build (the QZ commands).
    virtual DWORD ClientVariant() const = 0;
    // The router of the menus, or null.
    virtual CCommandRouter* Router() const = 0;

    // The main window's status panes; without a main window they do nothing.
    virtual void SetPositionPane(int x, int y) = 0;
    virtual void SetSizePane(int width, int height) = 0;
    virtual void SetToolPane(const QString& name) = 0;
    virtual void SetPrinterPane(const QString& text) = 0;
    virtual void SetPortPane(const QString& text) = 0;
    virtual void SetMessagePane(const QString& text) = 0;
    // No other logo window is in front of window (true without a main window).
    virtual bool IsFrontWindow(const QWidget* window) const = 0;
};
