#include "transfer/TransferRequest.h"

#include "components/Conversioni.h"
#include "document/GlyphaneDoc.h"
#include "platform/NativePath.h"
#include "printer/ProgramHost.h"
#include "transfer/TransferModels.h"

namespace {

std::vector<BYTE> PrintersToTest(const CProgramHost* host)
{
    std::vector<BYTE> ids;
    const CLoadCfgPrnFile* list = host ? host->StartupPrinterCfg() : nullptr;
    if (!list)
        return ids;
    for (int i = 0; i < list->GetPrintersToTestCount(); ++i) {
        DWORD value = 0;
        list->GetOptionPrintersToTest(i, nullptr, nullptr, &value, nullptr);
        ids.push_back(static_cast<BYTE>(value & 0xFF));
    }
    return ids;
}

} // namespace

CTransferRequest MakeTransferRequest(CProgramHost* host, CGlyphaneDoc& doc, TransferKind kind, int slot,
                                     const CSendChoices& options, const CTransferFlags& flags)
{
    CTransferRequest request;
    request.kind = kind;
    request.slot = slot > 0 ? slot : 1;
    // A deep copy: the operator may go on editing while the worker sends.
    if (const QImage* bitmap = doc.Picture().GetLogoBitmap())
        request.logo = bitmap->copy();
    request.logoWidth = doc.Picture().GetLogoWidth();
    request.logoHeight = doc.Picture().GetLogoHeight();
    request.dotX = doc.Binding().GetDotX();
    request.dotY = doc.Binding().GetDotY();
    if (SendsBitmapStream(doc.Binding().GetPrinterModel()) || UsbStreamIsBitmap(doc.Binding().GetPrinterModel())) {
        // Building the header reloads the template into the document, so only
        // the models that send it have it built.
        CBufferUC header;
        doc.BmpFile().BuildBitmapHeader(header);
        request.bitmapHeader = QByteArray(reinterpret_cast<const char*>(header.GetpBuf()), header.GetSize());
    }
    request.options = options;
    request.model = doc.Binding().GetPrinterModel();
    request.portName = doc.Binding().GetPortName();
    request.expectedId = doc.Binding().GetGsiModel();
    request.printerCfg = *doc.Binding().GetPrinterCfg();
    request.printersToTest = PrintersToTest(host);
    if (host)
        request.autoBaudRateFlow = host->AutoBaudRateFlow();
    request.serialLogPath = JoinProgramPath(doc.Environment().programFolder,
                                            CConversioni::CleanCharInCString(doc.GetTitle(), QLatin1Char('.'))
                                                + QStringLiteral(".log"));
    request.usbPrinter = doc.Binding().GetPortName();
    request.usbDumpPath = JoinProgramPath(doc.Environment().programFolder, QStringLiteral("glyphane.bin"));
    request.flags = flags;
    request.appLog = host ? host->AppLog() : nullptr;
    return request;
}

CStoredLogoRequest MakeStoredLogoRequest(const CProgramHost* host, CGlyphaneDoc& doc, int slot, BYTE subLogoBits,
                                         bool wgjPrinter, QObject* window)
{
    CStoredLogoRequest request;
    request.model = doc.Binding().GetPrinterModel();
    request.portName = doc.Binding().GetPortName();
    request.slot = slot;
    request.subLogoBits = subLogoBits;
    request.flashPrinting = doc.Binding().GetPrnLogoFlash() != 0;
    request.expectedId = doc.Binding().GetGsiModel();
    request.printerCfg = *doc.Binding().GetPrinterCfg();
    request.printersToTest = PrintersToTest(host);
    if (host)
        request.autoBaudRateFlow = host->AutoBaudRateFlow();
    request.wgjPrinter = wgjPrinter;
    request.window = window;
    return request;
}
