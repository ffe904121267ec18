#pragma once
// The printer-connection role of the logo view: choosing the printer and the
// port, identifying the printer, printing the logos stored in it. It keeps
// its own state and command map; the view hands it the commands the editing
// role does not take.
#include "view/RoleCommands.h"

class CViewPrinterRole {
public:
    CViewPrinterRole() = default;
    virtual ~CViewPrinterRole() = default;
    CViewPrinterRole(const CViewPrinterRole&) = delete;
    CViewPrinterRole& operator=(const CViewPrinterRole&) = delete;

    CRoleCommands& PrinterCommands() { return m_printerCommands; }

protected:
    CRoleCommands m_printerCommands;
};
