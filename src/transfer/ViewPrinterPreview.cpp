// "Printer Preview": the logo as the printer will print it with the send
// options as they are now, built from the stream a transfer would send.
#include "transfer/ViewTransferRole.h"

#include "dialogs/PrinterPreviewDlg.h"
#include "document/GlyphaneDoc.h"
#include "platform/UiSeam.h"
#include "printer/PrinterLink.h"
#include "resources/CommandIds.h"
#include "resources/StringTable.h"
#include "transfer/FrameQuestion.h"
#include "transfer/PrinterPreview.h"
#include "transfer/SendOptions.h"

#include <QWidget>

namespace {

QString FrameName(rasterops::FrameKind kind)
{
    switch (kind) {
    case rasterops::FrameKind::Thin:
        return QStringLiteral("thin frame");
    case rasterops::FrameKind::Bold:
        return QStringLiteral("bold frame");
    case rasterops::FrameKind::Double:
        break;
    }
    return QStringLiteral("double frame");
}

} // namespace

QString PreviewDetails(const CTransferRequest& request)
{
    QStringList options;
    if (request.options.reverseImage)
        options << QStringLiteral("reverse image");
    if (request.options.reverseRow)
        options << QStringLiteral("reverse row");
    if (request.options.reverseColor)
        options << QStringLiteral("reverse color");
    if (request.options.frame)
        options << FrameName(*request.options.frame);
    return QStringLiteral("%1, %2 x %3 dots: %4")
        .arg(request.model)
        .arg(request.dotX)
        .arg(request.dotY)
        .arg(options.isEmpty() ? QStringLiteral("no send options") : options.join(QStringLiteral(", ")));
}

bool CViewTransferRole::CanPreview() const
{
    CGlyphaneDoc* doc = TransferDocument();
    return doc && doc->Picture().GetLogoBitmap() && doc->Binding().GetPrinterCfg()->IsLoaded() && doc->Binding().GetDotX() > 0
           && doc->Binding().GetDotY() > 0;
}

void CViewTransferRole::OnPrinterPreview()
{
    CGlyphaneDoc* doc = TransferDocument();
    QWidget* window = TransferWindow();
    if (!CanPreview())
        return;
    if (!doc->Binding().IsMonochrome()) {
        MessageBox(window, LoadString(61529), LoadString(1035), MB_OK | MB_ICONSTOP);
        return;
    }
    const int slot = std::max(1, Link().LogoNumber());
    const CTransferRequest request =
        MakeTransferRequest(TransferHost(), *doc, TransferKind::Test, slot, SendOptions().Choices(), CTransferFlags{});
    QString why;
    const QImage dots = PreviewDots(request, AskFrameMayCoverLogo(window), &why);
    if (dots.isNull()) {
        MessageBox(window, FormatResString(61553, {why}), LoadString(ID_PRINTER_PREVIEW), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    CPrinterPreviewDlg preview(window, PaperStrip(dots, request.dotX), PreviewDetails(request));
    preview.DoModal();
}
