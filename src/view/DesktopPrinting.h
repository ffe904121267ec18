#pragma once
// Printing on a desktop printer (File > Print, Print Preview, Print Setup).
// Qt's printing library lives in a module of its own, glyphane-print, loaded
// the first time the operator prints: linked into the editor it cost every
// start a few percent, for a command most sessions never use.
#include <QString>

#include <functional>

class QDialog;
class QPainter;
class QRect;
class QWidget;

// Draws one page: the painter is open on the printer, page is the printable
// area in device pixels with its top-left at (0, 0), deviceDpi the
// printer's resolution.
using PageRenderer = std::function<void(QPainter& painter, const QRect& page, int deviceDpi)>;
// Runs a dialog modally through the program's UI seam; IDOK when accepted.
using ModalRunner = std::function<int(QDialog* dialog)>;

class IDesktopPrinting {
public:
    virtual ~IDesktopPrinting() = default;
    // The printer and page choice, on its own.
    virtual void PrintSetup(QWidget* owner, const ModalRunner& runModal) = 0;
    // One page on the printer: chosen in the print dialog first when ask,
    // otherwise the default printer.
    virtual void Print(QWidget* owner, const ModalRunner& runModal, const PageRenderer& render, bool ask) = 0;
    // The page in Qt's print preview, printable from there.
    virtual void Preview(QWidget* owner, const ModalRunner& runModal, const PageRenderer& render) = 0;
};

// The module's printing, loaded on the first call from beside the program or
// from the installed library folder. Null when it cannot be loaded, with why
// the reason.
IDesktopPrinting* DesktopPrinting(QString* why);

// The same, or null after a message box (owner's) that says printing is
// not available and why.
IDesktopPrinting* DesktopPrintingOrSay(QWidget* owner);

// The entry point the module exports.
extern "C" IDesktopPrinting* GlyphaneDesktopPrinting();
