// Printing a logo on a desktop printer: a title line, then the logo at the
// size it has on the logo printer, one dot of 1/203 inch per logo pixel.
#include "view/ViewEditing.h"

#include "document/GlyphaneDoc.h"
#include "platform/UiSeam.h"

#include <QFont>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

void CViewEditing::OnFilePrint()
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dlg(&printer, EditingWindow());
    if (RunModal(&dlg) != IDOK)
        return;
    PrintLogo(printer);
}

void CViewEditing::OnFilePrintDirect()
{
    QPrinter printer(QPrinter::HighResolution);
    PrintLogo(printer);
}

void CViewEditing::OnFilePrintPreview()
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog dlg(&printer, EditingWindow());
    QObject::connect(&dlg, &QPrintPreviewDialog::paintRequested, &dlg,
                     [this](QPrinter* target) { PrintLogo(*target); });
    RunModal(&dlg);
}

void CViewEditing::PrintLogo(QPrinter& printer) const
{
    QPainter painter;
    // No printer to be had (none installed, no output file): nothing to print.
    if (!painter.begin(&printer))
        return;
    RenderPrintPage(painter, printer.pageLayout().paintRectPixels(printer.resolution()).translated(
                                 -printer.pageLayout().paintRectPixels(printer.resolution()).topLeft()),
                    printer.resolution());
    painter.end();
}

void CViewEditing::RenderPrintPage(QPainter& painter, const QRect& page, int deviceDpi) const
{
    if (deviceDpi <= 0 || page.isEmpty())
        return;
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(std::max(1, deviceDpi / 4));
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const QRect titleBox(page.left(), page.top(), page.width(), metrics.height());
    painter.setPen(Qt::black);
    painter.drawText(titleBox, Qt::AlignHCenter | Qt::AlignTop, m_pDoc->GetTitle());

    const QImage* bitmap = m_pDoc->GetLogoBitmap();
    if (!bitmap)
        return;
    const qint64 width = static_cast<qint64>(bitmap->width()) * deviceDpi / kPrinterDotsPerInch;
    const qint64 height = static_cast<qint64>(bitmap->height()) * deviceDpi / kPrinterDotsPerInch;
    const int gap = metrics.height() / 2;
    const QRect target(page.left() + std::max<qint64>(0, (page.width() - width) / 2),
                       titleBox.bottom() + 1 + gap, static_cast<int>(std::max<qint64>(1, width)),
                       static_cast<int>(std::max<qint64>(1, height)));
    // Each dot a sharp square: no smoothing between logo pixels.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(target, *bitmap);
}
