// "Connect to the Printer" and "Change Com. Port": binding the document to a
// printer model, its configuration and a port.
#include "printer/ViewPrinterRole.h"

#include "components/LoadCfgFileApp.h"
#include "components/LoadCfgPrnFile.h"
#include "components/LogFile.h"
#include "components/PortNames.h"
#include "components/dialogs/SelectComPortDlg.h"
#include "dialogs/ImagePositionDlg.h"
#include "dialogs/SelectPrinterDlg.h"
#include "document/GlyphaneDoc.h"
#include "platform/NativePath.h"
#include "platform/UiSeam.h"
#include "printer/ModelCatalogue.h"
#include "printer/PrinterLink.h"
#include "printer/ProgramHost.h"
#include "printer/ViewPanes.h"
#include "resources/StringTable.h"
#include "document/LogoResize.h"

namespace {

const QString kWgj33Model = QStringLiteral("WGJ33");
const QString kWgj33CfgFile = QStringLiteral("CfgFile\\WGJ33.cfg");
const QString kUsbOnlyPort = QStringLiteral("USB");

// The configuration file of the first printer-list entry named exactly model.
QString CfgFileOfListedModel(const CLoadCfgFileApp* list, const QString& model)
{
    if (!list)
        return QString();
    for (const CPrinterEntry& entry : list->Printers())
        if (entry.name == model)
            return entry.file;
    return QString();
}

// The printer's logo side: the image's own side where the printer keeps the
// document's size and the image is smaller, else the printer's.
int LogoSide(int imageSide, int printerSide, bool keepsOwnSize)
{
    return keepsOwnSize && imageSide >= 0 && imageSide < printerSide ? imageSide : printerSide;
}

} // namespace

void CViewPrinterRole::LogConnect(const QString& text) const
{
    if (CProgramHost* host = PrinterHost(); host && host->AppLog())
        host->AppLog()->LogToFile(QStringLiteral("[CGlyphaneView::OnConnectPrinter()] ") + text, 0);
}

int CViewPrinterRole::SelectPrinterPort()
{
    CGlyphaneDoc* doc = PrinterDocument();
    PrinterDropTool();
    QString port;
    if (IsUsbOnlyPortModel(doc->Binding().GetPrinterModel())) {
        port = kUsbOnlyPort;
    } else {
        const CLoadCfgPrnFile* cfg = doc->Binding().GetPrinterCfg();
        int parallel = 0, usb = 0;
        cfg->GetOptionPrintersToTest(QStringLiteral("ParallelInterface"), &parallel, 0);
        cfg->GetOptionPrintersToTest(QStringLiteral("USBInterface"), &usb, 0);
        CDiaologSelectComPort dialog(PrinterWindow(), doc->Binding().GetPortName(), parallel > 0 ? 1 : 0);
        if (usb == 1)
            dialog.m_bUsbEnabled = true;
        const int answer = dialog.DoModal();
        if (answer == CDiaologSelectComPort::kFindPrinters)
            return OnFindPrinters() == 1 ? 2 : 0;
        if (answer != IDOK)
            return 0;
        port = dialog.GetComPort();
    }
    doc->Binding().SetPortName(port);
    viewpanes::SetPortPane(PrinterHost(), port);
    Link().SetPortSelected(true);
    Link().ClearLogoInRam();
    return 1;
}

void CViewPrinterRole::OnConnectPrinter()
{
    CGlyphaneDoc* doc = PrinterDocument();
    PrinterDropTool();
    if (SelectPrinterPort() != 1)
        return; // cancelled, or connected by "Find Printers..."
    QString model = doc->Binding().GetPrinterModel();
    QString cfgName = doc->Binding().GetPrinterCfgFileName();
    bool chosen = false;
    switch (PortKindOf(doc->Binding().GetPortName())) {
    case PortKind::Serial:
        chosen = ChooseSerialPrinter(model, cfgName);
        break;
    case PortKind::Parallel:
        chosen = ChooseParallelPrinter(model, cfgName);
        break;
    case PortKind::Usb:
        chosen = ChooseUsbPrinter(model, cfgName);
        break;
    }
    if (chosen)
        BindPrinter(model, cfgName);
}

bool CViewPrinterRole::RunPrinterSelection(QString& model, QString& cfgName)
{
    CSelectPrinterDlg dialog(PrinterWindow(), PrinterHost()->AppCfg(), &model, &cfgName);
    return dialog.DoModal() == IDOK;
}

bool CViewPrinterRole::LoadPrinterConfiguration(const QString& cfgName)
{
    // The document keeps the name relative to the program folder, as the
    // printer list and detection give it, so it can be loaded again later.
    CLoadCfgPrnFile* cfg = PrinterDocument()->Binding().GetPrinterCfg();
    const QString folder = PrinterHost()->ProgramPath();
    if (!cfg->InitCCfgFl(nullptr, folder, cfgName) || !cfg->LoadPublicCfgFile(JoinProgramPath(folder, cfgName))) {
        LogConnect(QStringLiteral("configuration %1 cannot be loaded").arg(cfgName));
        return false;
    }
    return true;
}

bool CViewPrinterRole::ChooseSerialPrinter(QString& model, QString& cfgName)
{
    CGlyphaneDoc* doc = PrinterDocument();
    const bool sayWgj33 = doc->Binding().IsWgj33()
        && MessageBox(PrinterWindow(), QStringLiteral("Your printer is a Wgj33 ?"), LoadString(61446),
                      MB_YESNO | MB_ICONQUESTION)
            == IDYES;
    if (sayWgj33) {
        // The operator's answer wins over an earlier detection.
        model = kWgj33Model;
        cfgName = kWgj33CfgFile;
    } else if (AutodetectPrinter() == 1) {
        model = doc->Binding().GetPrinterModel();
        cfgName = doc->Binding().GetPrinterCfgFileName();
    } else {
        if (SelectPrinterPort() != 1 || !RunPrinterSelection(model, cfgName))
            return false;
        Link().SetPrinterDetected(false);
    }
    Link().SetRxhPrinter(IsMzvzvrxhModel(model));
    return LoadPrinterConfiguration(cfgName);
}

bool CViewPrinterRole::ChooseParallelPrinter(QString& model, QString& cfgName)
{
    for (;;) {
        if (!RunPrinterSelection(model, cfgName) || !LoadPrinterConfiguration(cfgName))
            return false;
        int parallel = 0;
        if (!PrinterDocument()->Binding().GetPrinterCfg()->GetOptionPrintersToTest(QStringLiteral("ParallelInterface"),
                                                                         &parallel, 1))
            return false;
        if (parallel > 0)
            break;
        PrinterDocument()->Messages().ReportError(61472, 61446, model);
    }
    Link().SetRxhPrinter(IsMzvzvrxhModel(model));
    return true;
}

bool CViewPrinterRole::ChooseUsbPrinter(QString& model, QString& cfgName)
{
    if (model == LoadString(61469)) {
        if (!RunPrinterSelection(model, cfgName))
            return false;
    } else {
        cfgName = CfgFileOfListedModel(PrinterHost()->AppCfg(), model);
    }
    if (cfgName.isEmpty()) {
        LogConnect(QStringLiteral("printer %1 is not in the printer list").arg(model));
        return false;
    }
    if (!LoadPrinterConfiguration(cfgName))
        return false;
    int usb = 0;
    if (!PrinterDocument()->Binding().GetPrinterCfg()->GetOptionPrintersToTest(QStringLiteral("USBInterface"), &usb, 1))
        return false;
    if (usb == 0) {
        PrinterDocument()->Messages().ReportError(61547, 61446, model);
        return false;
    }
    Link().SetRxhPrinter(IsMzvzvrxhModel(model));
    return true;
}

void CViewPrinterRole::BindPrinter(const QString& model, const QString& cfgName)
{
    CGlyphaneDoc* doc = PrinterDocument();
    viewpanes::SetPrinterPane(PrinterHost(), model);
    doc->Binding().SetPrinterCfgFileName(cfgName);
    doc->Binding().SetPrinterModel(model);

    // Values no printer has (a logo area larger than any document, more slots
    // than two digits can name) are refused like missing ones.
    const CLoadCfgPrnFile* cfg = doc->Binding().GetPrinterCfg();
    DWORD slotCount = 0, dotX = 0, dotY = 0, gsi = 0;
    int flash = 0;
    if (!cfg->GetOptionPrintersToTest(QStringLiteral("NLoghi"), &slotCount) || slotCount > DWORD(kMaxLogoSlots))
        return LogConnect(QStringLiteral("NLoghi missing or out of range"));
    doc->Binding().SetNumLogos(static_cast<int>(slotCount));
    const bool keepsOwnSize = IsUsbBitmapModel(model);
    if (!cfg->GetOptionPrintersToTest(QStringLiteral("DotX"), &dotX) || dotX < 1 || dotX > DWORD(kMaxLogoAreaDots))
        return LogConnect(QStringLiteral("DotX missing or out of range"));
    const int logoWidth = LogoSide(doc->Picture().GetLogoWidth(), static_cast<int>(dotX), keepsOwnSize);
    doc->Binding().SetDotX(logoWidth);
    if (!cfg->GetOptionPrintersToTest(QStringLiteral("DotY"), &dotY) || dotY < 1 || dotY > DWORD(kMaxLogoAreaDots))
        return LogConnect(QStringLiteral("DotY missing or out of range"));
    const int logoHeight = LogoSide(doc->Picture().GetLogoHeight(), static_cast<int>(dotY), keepsOwnSize);
    doc->Binding().SetDotY(logoHeight);
    if (!cfg->GetOptionPrintersToTest(QStringLiteral("PrnLogoFlash"), &flash, 1))
        return LogConnect(QStringLiteral("PrnLogoFlash missing"));
    doc->Binding().SetPrnLogoFlash(flash);
    if (!cfg->GetOptionPrintersToTest(QStringLiteral("GSImodel"), &gsi))
        return LogConnect(QStringLiteral("GSImodel missing"));
    doc->Binding().SetGsiModel(static_cast<BYTE>(gsi & 0xFF));
    FitLogoToPrinter(logoWidth, logoHeight, keepsOwnSize);
}

void CViewPrinterRole::FitLogoToPrinter(int logoWidth, int logoHeight, bool keepsOwnSize)
{
    if (keepsOwnSize)
        return;
    CGlyphaneDoc* doc = PrinterDocument();
    if (logoWidth == doc->Picture().GetLogoWidth() && logoHeight == doc->Picture().GetLogoHeight()) {
        doc->UpdateAllViews();
        return;
    }
    int placement = CImagePositionDlg::Center;
    CImagePositionDlg dialog(PrinterWindow());
    dialog.m_pResult = &placement;
    dialog.DoModal();
    ResizeLogo(*doc, logoWidth, logoHeight, placement + 1);
    PrinterInitialUpdate();
}
