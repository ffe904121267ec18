// Pictures into logos: a picture file opened from anywhere (File > Open, the
// command line, a drop, the recent-file list) and "Convert Picture" of an
// open logo both end in the conversion dialog and a new logo window.
#include "app/GlyphaneApp.h"

#include "dialogs/ConvertPictureDlg.h"
#include "document/GlyphaneDoc.h"
#include "frame/MainFrame.h"
#include "picture/Picture.h"
#include "platform/UiSeam.h"
#include "resources/StringTable.h"

#include <QDir>
#include <QFileInfo>

namespace {

void SayRefused(QWidget* owner, const QString& message)
{
    MessageBox(owner, message, LoadString(61446), MB_OK | MB_ICONSTOP);
}

// The picture drawn for the starting settings; when they cannot be had (a
// size remembered from another picture), within the area; false and why when
// the picture cannot be drawn at all.
bool DrawFirst(picture::CPictureConversion& conversion, QSize area, CPictureDialogSettings& start, QString* why)
{
    start.picture.page = std::clamp(start.picture.page, 1, conversion.Picture().PageCount());
    if (conversion.FitTo(area, start.picture.fit, start.picture.placement, start.picture.page, why))
        return true;
    start.picture.fit = picture::Fit::Within;
    return conversion.FitTo(area, start.picture.fit, start.picture.placement, start.picture.page, why);
}

} // namespace

std::optional<QSize> CGlyphaneApp::LogoAreaOf(const CPrinterChoice& printer, QString* why)
{
    CGlyphaneDoc scratch(DocEnvironment());
    const QString failure = scratch.Binding().BindPrinter(printer);
    if (!failure.isEmpty()) {
        *why = failure;
        return std::nullopt;
    }
    return QSize(scratch.Binding().GetDotX(), scratch.Binding().GetDotY());
}

CGlyphaneDoc* CGlyphaneApp::OpenPictureFile(const QString& path, bool* cancelled)
{
    QString message;
    const std::optional<picture::CPicture> picture = picture::OpenPicture(path, &message);
    if (!picture) {
        SayRefused(m_pMainFrame, message);
        return nullptr;
    }
    // "shop.png" is saved as "shop.bmp" beside it, unless the operator says otherwise.
    const QFileInfo info(path);
    const QString suggested = info.absoluteDir().filePath(info.completeBaseName() + QStringLiteral(".bmp"));
    CGlyphaneDoc* doc = ConvertPictureToLogo(*picture, suggested, cancelled);
    if (doc && m_pMainFrame)
        m_pMainFrame->AddToRecentFileList(path);
    return doc;
}

CGlyphaneDoc* CGlyphaneApp::ConvertPictureToLogo(const picture::CPicture& picture, const QString& suggestedFile,
                                                 bool* cancelled)
{
    if (cancelled)
        *cancelled = false;
    if (!m_pAppCfg || !m_pMainFrame)
        return nullptr;
    CPictureDialogSettings start = CPictureDialogSettings::Remembered();
    // The remembered printer, else the first one offered.
    const int first = CConvertPictureDlg::kFirstOfferedPrinter;
    int entry = first;
    for (int i = first; i < m_pAppCfg->GetPrinterCount(); ++i)
        if (m_pAppCfg->GetPrinterName(i) == start.model)
            entry = i;
    if (entry >= m_pAppCfg->GetPrinterCount()) {
        SayRefused(m_pMainFrame, QStringLiteral("No printer is offered for a new logo."));
        return nullptr;
    }
    start.model = m_pAppCfg->GetPrinterName(entry);
    QString why;
    const std::optional<QSize> area = LogoAreaOf({start.model, m_pAppCfg->GetPrinterCfgFile(entry)}, &why);
    picture::CPictureConversion conversion(picture);
    if (!area || !DrawFirst(conversion, *area, start, &why)) {
        SayRefused(m_pMainFrame, picture::PictureFailure(picture.Source(), why));
        return nullptr;
    }

    CConvertPictureDlg dialog(m_pMainFrame, conversion, m_pAppCfg, start,
                              [this](const CPrinterChoice& printer, QString* reason) { return LogoAreaOf(printer, reason); });
    if (dialog.DoModal() != IDOK) {
        if (cancelled)
            *cancelled = true;
        return nullptr;
    }
    dialog.Settings().Remember();
    auto* doc = new CGlyphaneDoc(DocEnvironment());
    if (!doc->OnNewDocumentFromPicture(dialog.Printer(), dialog.Logo())) {
        delete doc;
        return nullptr;
    }
    // An ordinary logo, not yet saved, named after the picture.
    if (!suggestedFile.isEmpty()) {
        doc->SetTitle(QFileInfo(suggestedFile).fileName());
        doc->SetSuggestedFile(suggestedFile);
    }
    doc->SetModifiedFlag(true);
    return OpenNewWindowFor(doc);
}
