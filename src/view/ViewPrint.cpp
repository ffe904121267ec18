// Printing a logo on a desktop printer: a title line, then the logo at the
// size it has on the logo printer, one dot of 1/203 inch per logo pixel.
#include "view/ViewPrint.h"

#include "document/GlyphaneDoc.h"
#include "platform/UiSeam.h"
#include "resources/CommandIds.h"
#include "view/EditingWindow.h"
#include "view/tools/ToolHost.h"
#include "view/DesktopPrinting.h"

#include <QFont>
#include <QPainter>

void CViewPrinting::MapCommands(CCommandMap& commands)
{
    auto& c = commands;
    c.MapCommand(ID_FILE_PRINT, [this] { OnFilePrint(); });
    c.MapCommand(ID_FILE_PRINT_DIRECT, [this] { OnFilePrintDirect(); });
    c.MapCommand(ID_FILE_PRINT_PREVIEW, [this] { OnFilePrintPreview(); });
}

void CViewPrinting::OnFilePrint()
{
    PrintOnDesktopPrinter(true);
}

void CViewPrinting::OnFilePrintDirect()
{
    PrintOnDesktopPrinter(false);
}

void CViewPrinting::OnFilePrintPreview()
{
    if (IDesktopPrinting* printing = DesktopPrintingOrSay(m_host.Window().EditingWindow()))
        printing->Preview(m_host.Window().EditingWindow(), RunModal, PrintPageRenderer());
}

void CViewPrinting::PrintOnDesktopPrinter(bool ask)
{
    if (IDesktopPrinting* printing = DesktopPrintingOrSay(m_host.Window().EditingWindow()))
        printing->Print(m_host.Window().EditingWindow(), RunModal, PrintPageRenderer(), ask);
}

PageRenderer CViewPrinting::PrintPageRenderer() const
{
    return [this](QPainter& painter, const QRect& page, int deviceDpi) { RenderPrintPage(painter, page, deviceDpi); };
}

void CViewPrinting::RenderPrintPage(QPainter& painter, const QRect& page, int deviceDpi) const
{
    if (deviceDpi <= 0 || page.isEmpty())
        return;
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(std::max(1, deviceDpi / 4));
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const QRect titleBox(page.left(), page.top(), page.width(), metrics.height());
    painter.setPen(Qt::black);
    painter.drawText(titleBox, Qt::AlignHCenter | Qt::AlignTop, m_host.Doc()->GetTitle());

    const QImage* bitmap = m_host.Doc()->Picture().GetLogoBitmap();
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
