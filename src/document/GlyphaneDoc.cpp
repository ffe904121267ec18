#include "document/GlyphaneDoc.h"

#include "app/GlyphaneApp.h"
#include "dialogs/SelectPrinterDlg.h"
#include "platform/NativePath.h"
#include "platform/UiSeam.h"
#include "resources/CommandIds.h"
#include "resources/StringTable.h"

#include <QFile>
#include <QFileInfo>

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;

} // namespace

CGlyphaneDoc::CGlyphaneDoc(QObject* parent)
    : QObject(parent)
{
}

CGlyphaneDoc::~CGlyphaneDoc()
{
    DeleteContents();
}

void CGlyphaneDoc::SetPenWidth(int width)
{
    m_nPenWidth = width;
    m_crPenColor = (m_nDrawMode == kEraserTool) ? 0xFFFFFF : 0x000000;
    m_pen = CDocPen{width, m_crPenColor};
}

CStroke* CGlyphaneDoc::AddStroke()
{
    m_strokes.push_back(std::make_unique<CStroke>(static_cast<UINT>(m_nPenWidth), m_crPenColor));
    SetModifiedFlag(true);
    return m_strokes.back().get();
}

void CGlyphaneDoc::ResetDrawingState()
{
    m_nDrawMode = 0;
    m_crPenColor = 0;
    m_hOwner = nullptr;
    SetPenWidth(1);
    m_strPortName = LoadString(61454);
}

void CGlyphaneDoc::ResetAfterLoad()
{
    ResetDrawingState();
    m_strPrinterModel = LoadString(61469);
}

void CGlyphaneDoc::DeleteContents()
{
    m_strokes.clear();
}

void CGlyphaneDoc::SetLogoSize(int width, int height)
{
    m_nLogoWidth = width;
    m_nLogoHeight = height;
}

void CGlyphaneDoc::AttachLogoBitmap(const QImage& image)
{
    m_bitmap = image.convertToFormat(QImage::Format_RGB32);
}

void CGlyphaneDoc::ReplaceLogoBitmap(const QImage& description)
{
    // A fresh bitmap of the same size; its pixels are the caller's to fill.
    m_bitmap = QImage(description.size(), QImage::Format_RGB32);
    m_bitmap.fill(kWhite);
}

bool CGlyphaneDoc::LogoSizeAcceptable(int width, int height)
{
    if (width > 0 && height > 0 && width <= kMaxLogoSide && height <= kMaxLogoSide)
        return true;
    MessageBox(m_hOwner,
                       QStringLiteral("The logo size %1 x %2 cannot be used: each side must be between 1 and %3 dots.")
                           .arg(width)
                           .arg(height)
                           .arg(kMaxLogoSide),
                       LoadString(61446), MB_OK | MB_ICONSTOP);
    return false;
}

bool CGlyphaneDoc::CreateWhiteBitmap(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return false;
    image.fill(kWhite);
    m_bitmap = image;
    return true;
}

void CGlyphaneDoc::SetModelFlags(const QString& model)
{
    m_bHvczilMedel = model.compare(QStringLiteral("HVCZIL_MEDEL"), Qt::CaseInsensitive) == 0;
    m_bWgj33 = model.compare(QStringLiteral("WGJ33"), Qt::CaseInsensitive) == 0;
    m_bMzvzvrxh = model.compare(QStringLiteral("MZVZVRXH"), Qt::CaseInsensitive) == 0;
}

bool CGlyphaneDoc::OnNewDocument()
{
    CGlyphaneApp* app = GetApp();
    if (app && app->TakeFirstNewDocumentFlag()) {
        m_bStartupPlaceholder = 1;
        return false;
    }
    DeleteContents();
    SetModifiedFlag(false);
    if (!SelectPrinterForLogo(app ? app->GetMainFrameWidget() : nullptr))
        return false;
    if (!LogoSizeAcceptable(m_nLogoWidth, m_nLogoHeight))
        return false;
    if (!CreateWhiteBitmap(m_nLogoWidth, m_nLogoHeight))
        return false;
    const QString programPath = app ? app->GetProgramPath() : QString();
    const QString templateName = app ? app->GetHeaderTemplateName() : QString();
    if (!LoadHeaderTemplate(programPath + templateName)) {
        m_bitmap = QImage();
        return false;
    }
    PatchHeaderForLogo();
    ResetDrawingState();
    return true;
}

bool CGlyphaneDoc::SelectPrinterForLogo(QWidget* owner)
{
    QString model = m_strPrinterModel;
    QString cfgFile = m_strPrinterCfgFile;
    CGlyphaneApp* app = GetApp();
    if (!app || !app->GetAppCfg())
        return false;

    CSelectPrinterDlg dlg(owner, app->GetAppCfg(), &model, &cfgFile);
    if (dlg.DoModal() != IDOK || model.isEmpty())
        return false;

    const QString programPath = app->GetProgramPath();
    if (!m_printerCfg.InitCCfgFl(nullptr, programPath, cfgFile))
        return false;
    if (!m_printerCfg.LoadPublicCfgFile(NativePath(programPath + cfgFile)))
        return false;

    SetModelFlags(model);

    DWORD dotX = 0, dotY = 0, gsi = 0;
    if (!m_printerCfg.GetOptionPrintersToTest(QStringLiteral("DotX"), &dotX))
        return false;
    m_nDotX = static_cast<int>(dotX);
    if (!m_printerCfg.GetOptionPrintersToTest(QStringLiteral("DotY"), &dotY))
        return false;
    m_nDotY = static_cast<int>(dotY);
    if (!m_printerCfg.GetOptionPrintersToTest(QStringLiteral("GSImodel"), &gsi))
        return false;
    m_ucGsiModel = static_cast<BYTE>(gsi & 0xFF);

    m_nLogoWidth = m_nDotX;
    m_nLogoHeight = m_nDotY;
    SetPrinterModel(model);
    SetPrinterCfgFileName(cfgFile);
    return true;
}

bool CGlyphaneDoc::InitNewLogo()
{
    DeleteContents();
    SetModifiedFlag(false);
    m_nLogoWidth = 100;
    m_nLogoHeight = 100;
    if (!CreateWhiteBitmap(100, 100))
        return false;
    CGlyphaneApp* app = GetApp();
    const QString programPath = app ? app->GetProgramPath() : QString();
    const QString templateName = app ? app->GetHeaderTemplateName() : QString();
    if (!LoadHeaderTemplate(programPath + templateName))
        return false;
    PatchHeaderForLogo();
    ResetDrawingState();
    return true;
}

void CGlyphaneDoc::ReportError(UINT textId, UINT captionId, const QString& arg)
{
    MessageBox(m_hOwner, FormatResString(textId, {arg}), LoadString(captionId), MB_OK | MB_ICONSTOP);
}

void CGlyphaneDoc::ReportError(UINT textId, UINT captionId, const QString& arg1, const QString& arg2)
{
    MessageBox(m_hOwner, FormatResString(textId, {arg1, arg2}), LoadString(captionId),
                       MB_OK | MB_ICONSTOP);
}

void CGlyphaneDoc::SetModifiedFlag(bool modified)
{
    if (m_bModified == modified)
        return;
    m_bModified = modified;
    emit modifiedChanged(modified);
}

void CGlyphaneDoc::SetPathName(const QString& path)
{
    m_strPathName = path;
    SetTitle(QFileInfo(path).fileName());
}

void CGlyphaneDoc::SetTitle(const QString& title)
{
    m_strTitle = title;
    emit titleChanged(title);
}

bool CGlyphaneDoc::OnCommand(UINT id)
{
    if (id == ID_FILE_SAVE) {
        DoSave(m_strPathName); // a logo never saved asks for a name
        return true;
    }
    if (id == ID_FILE_SAVE_AS) {
        DoSave(QString());
        return true;
    }
    return false;
}

bool CGlyphaneDoc::HasCommandHandler(UINT id) const
{
    return id == ID_FILE_SAVE || id == ID_FILE_SAVE_AS || CCmdTarget::HasCommandHandler(id);
}

bool CGlyphaneDoc::SaveModified()
{
    if (!m_bModified)
        return true;
    const QString name = m_strTitle.isEmpty() ? QStringLiteral("Glypha") : m_strTitle;
    const int answer = MessageBox(m_hOwner, QStringLiteral("Save changes to %1?").arg(name), LoadString(61446),
                                  MB_YESNOCANCEL | MB_ICONEXCLAMATION);
    if (answer == IDCANCEL)
        return false;
    if (answer == IDYES)
        return DoSave(m_strPathName);
    return true;
}

bool CGlyphaneDoc::OnUpdateCommand(UINT id, CCmdUI& cmdUI)
{
    if (id == ID_FILE_SAVE || id == ID_FILE_SAVE_AS) {
        cmdUI.Enable(GetLogoBitmap() != nullptr);
        return true;
    }
    return false;
}
