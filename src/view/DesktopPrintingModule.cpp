// The glyphane-print module: Qt's print dialogs and printer behind
// IDesktopPrinting. Built as a module of its own and loaded on first use.
#include "view/DesktopPrinting.h"

#include "platform/WinTypes.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace {

void PrintPage(QPrinter& printer, const PageRenderer& render)
{
    QPainter painter;
    // No printer to be had (none installed, no output file): nothing to print.
    if (!painter.begin(&printer))
        return;
    const QRect paintRect = printer.pageLayout().paintRectPixels(printer.resolution());
    render(painter, paintRect.translated(-paintRect.topLeft()), printer.resolution());
    painter.end();
}

class CDesktopPrinting : public IDesktopPrinting {
public:
    void PrintSetup(QWidget* owner, const ModalRunner& runModal) override
    {
        QPrinter printer;
        QPrintDialog dialog(&printer, owner);
        runModal(&dialog);
    }

    void Print(QWidget* owner, const ModalRunner& runModal, const PageRenderer& render, bool ask) override
    {
        QPrinter printer(QPrinter::HighResolution);
        if (ask) {
            QPrintDialog dialog(&printer, owner);
            if (runModal(&dialog) != IDOK)
                return;
        }
        PrintPage(printer, render);
    }

    void Preview(QWidget* owner, const ModalRunner& runModal, const PageRenderer& render) override
    {
        QPrinter printer(QPrinter::HighResolution);
        QPrintPreviewDialog dialog(&printer, owner);
        QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                         [&render](QPrinter* target) { PrintPage(*target, render); });
        runModal(&dialog);
    }
};

} // namespace

extern "C" Q_DECL_EXPORT IDesktopPrinting* GlyphaneDesktopPrinting()
{
    static CDesktopPrinting printing;
    return &printing;
}
