// "Find Printers...": every port scanned at once, and the printer chosen
// connected as "Connect to the Printer" would connect it.
#include "printer/ViewPrinterRole.h"

#include "dialogs/FindPrintersDlg.h"
#include "document/GlyphaneDoc.h"
#include "platform/WinTypes.h"
#include "printer/ModelCatalogue.h"
#include "printer/PortScan.h"
#include "printer/PrinterLink.h"
#include "printer/ViewPanes.h"

int CViewPrinterRole::OnFindPrinters()
{
    PrinterDropTool();
    const CScanCatalogue catalogue = ProgramScanCatalogue(PrinterHost());
    CFindPrintersDlg dialog(PrinterWindow(), [&catalogue] { return ScanPorts(PortsToScan(), catalogue); });
    if (dialog.DoModal() != IDOK || !dialog.Chosen())
        return 0;
    return ConnectToFinding(*dialog.Chosen());
}

int CViewPrinterRole::ConnectToFinding(const CPortFinding& finding)
{
    CGlyphaneDoc* doc = PrinterDocument();
    doc->Binding().SetPortName(finding.port);
    viewpanes::SetPortPane(PrinterHost(), finding.port);
    Link().SetPortSelected(true);
    Link().ClearLogoInRam();
    QString model = finding.model;
    QString cfgName = finding.cfgFile;
    // A USB printer must take a logo over USB, as Connect checks.
    const bool loaded =
        finding.kind == PortKind::Usb ? ChooseUsbPrinter(model, cfgName) : LoadPrinterConfiguration(cfgName);
    if (!loaded)
        return 0;
    Link().SetRxhPrinter(IsMzvzvrxhModel(model));
    // Found by its identification, as detection finds it: the feed it owes follows.
    Link().SetPrinterDetected(finding.kind == PortKind::Serial);
    BindPrinter(model, cfgName);
    return 1;
}
