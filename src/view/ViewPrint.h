#pragma once
// Printing a logo on a desktop printer (File > Print, Print Preview, the
// direct print): a title line, then the logo at the size it has on the logo
// printer.
#include "platform/CommandRouter.h"
#include "view/DesktopPrinting.h"

class IToolHost;
class QPainter;
class QRect;

class CViewPrinting {
public:
    // The logo printers' dot pitch (8 dots per millimetre).
    static constexpr int kPrinterDotsPerInch = 203;

    explicit CViewPrinting(IToolHost& host) : m_host(host) {}

    void MapCommands(CCommandMap& commands);
    void OnFilePrint();
    void OnFilePrintDirect();
    void OnFilePrintPreview();
    // The printed page: a title line and the logo at the logo printer's
    // physical size, on any device of the given resolution.
    void RenderPrintPage(QPainter& painter, const QRect& page, int deviceDpi) const;

private:
    // The page on the chosen (ask) or default printer.
    void PrintOnDesktopPrinter(bool ask);
    PageRenderer PrintPageRenderer() const;

    IToolHost& m_host;
};
