#include "printer/ViewPrinterRole.h"

#include "components/SComAm.h"
#include "printer/PrinterLink.h"
#include "document/GlyphaneDoc.h"
#include "printer/ModelCatalogue.h"
#include "printer/ProgramHost.h"
#include "printer/ViewPanes.h"
#include "resources/CommandIds.h"
#include "resources/StringTable.h"

namespace {

bool IsClientVariant(const CProgramHost* host)
{
    return host && host->ClientVariant() != 0;
}

} // namespace

CViewPrinterRole::CViewPrinterRole()
{
    MapPrinterCommands();
}

CViewPrinterRole::~CViewPrinterRole() = default;

void CViewPrinterRole::MapPrinterCommands()
{
    m_printerCommands.MapCommand(ID_CONNECT_PRINTER, [this] { OnConnectPrinter(); });
    m_printerCommands.MapCommand(ID_CHANGE_COM_PORT, [this] { SelectPrinterPort(); });
    m_printerCommands.MapCommand(ID_FIND_PRINTERS, [this] { OnFindPrinters(); });
    m_printerCommands.MapUpdate(ID_FIND_PRINTERS, [this](CCmdUI& ui) { OnUpdateConnectPrinter(ui); });
    m_printerCommands.MapUpdate(ID_CONNECT_PRINTER, [this](CCmdUI& ui) { OnUpdateConnectPrinter(ui); });
    m_printerCommands.MapUpdate(ID_CHANGE_COM_PORT, [this](CCmdUI& ui) { OnUpdateChangeComPort(ui); });
    m_printerCommands.MapUpdate(ID_PROGRAM_LOGO, [this](CCmdUI& ui) { OnUpdateProgramLogo(ui); });
    m_printerCommands.MapUpdate(ID_TEST_LOGO, [this](CCmdUI& ui) { OnUpdateTestLogo(ui); });
    m_printerCommands.MapUpdate(ID_PRINT_LOGO, [this](CCmdUI& ui) { OnUpdatePrintLogo(ui); });
}

void CViewPrinterRole::OnPortStatus(LPARAM open, const QString& transferSettings)
{
    // A job goes on reporting while its window is behind another or closing;
    // the pane is the front window's.
    if (!viewpanes::IsFrontWindow(PrinterHost(), PrinterWindow()))
        return;
    const CsComAm* serial = Link().Serial();
    QString settings = transferSettings;
    if (settings.isEmpty() && serial)
        settings = serial->Get_m_strSerConfig();
    viewpanes::SetPortPane(PrinterHost(),
                           open == 1 && !settings.isEmpty() ? settings : PrinterDocument()->Binding().GetPortName());
}

bool CViewPrinterRole::PortCommandsAllowed() const
{
    const CGlyphaneDoc* doc = PrinterDocument();
    const bool portUsable = doc && doc->Binding().GetPortName() != LoadString(61454);
    return !IsClientVariant(PrinterHost()) && portUsable && !PrinterTransferRunning();
}

void CViewPrinterRole::OnUpdateConnectPrinter(CCmdUI& cmdUI)
{
    const CGlyphaneDoc* doc = PrinterDocument();
    // Not while a transfer holds the port: connecting would open it a second time.
    cmdUI.Enable(!IsClientVariant(PrinterHost()) && doc && doc->Picture().GetLogoBitmap() != nullptr
                 && !PrinterTransferRunning());
}

void CViewPrinterRole::OnUpdateChangeComPort(CCmdUI& cmdUI)
{
    cmdUI.Enable(!IsClientVariant(PrinterHost()) && Link().IsPortSelected() && !PrinterTransferRunning());
}

void CViewPrinterRole::OnUpdateProgramLogo(CCmdUI& cmdUI)
{
    cmdUI.Enable(PortCommandsAllowed());
}

void CViewPrinterRole::OnUpdateTestLogo(CCmdUI& cmdUI)
{
    const CGlyphaneDoc* doc = PrinterDocument();
    const QString model = doc ? doc->Binding().GetPrinterModel() : QString();
    cmdUI.Enable(!Link().IsRxhPrinter() && !IsFiscalModel(model) && !IsNoTestModel(model) && PortCommandsAllowed());
}

void CViewPrinterRole::OnUpdatePrintLogo(CCmdUI& cmdUI)
{
    cmdUI.Enable(!Link().IsRxhPrinter() && PortCommandsAllowed());
}
