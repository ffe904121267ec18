#include "document/GlyphaneDoc.h"

#include "components/PswFile.h"
#include "platform/NativePath.h"
#include "platform/UiSeam.h"
#include "resources/CommandIds.h"
#include "resources/StringTable.h"

#include <QFile>
#include <QFileInfo>

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;

} // namespace

CGlyphaneDoc::CGlyphaneDoc(const CDocEnvironment& env, QObject* parent)
    : QObject(parent)
    , m_env(env)
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
    m_env.messageOwner = nullptr;
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
    ShowMessage(QStringLiteral("The logo size %1 x %2 cannot be used: each side must be between 1 and %3 dots.")
                    .arg(width)
                    .arg(height)
                    .arg(kMaxLogoSide),
                61446, MB_OK | MB_ICONSTOP);
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

bool CGlyphaneDoc::OnNewDocument(const CPrinterChoice& choice)
{
    DeleteContents();
    SetModifiedFlag(false);
    if (choice.model.isEmpty() || !BindPrinter(choice).isEmpty())
        return false;
    m_nLogoWidth = m_nDotX;
    m_nLogoHeight = m_nDotY;
    if (!LogoSizeAcceptable(m_nLogoWidth, m_nLogoHeight))
        return false;
    if (!CreateWhiteBitmap(m_nLogoWidth, m_nLogoHeight))
        return false;
    if (!ReloadHeaderTemplate()) {
        m_bitmap = QImage();
        return false;
    }
    PatchHeaderForLogo();
    ResetDrawingState();
    return true;
}

bool CGlyphaneDoc::OnNewDocumentFromPicture(const CPrinterChoice& choice, const QImage& logo)
{
    if (!OnNewDocument(choice))
        return false;
    if (logo.size() != QSize(m_nLogoWidth, m_nLogoHeight)) {
        m_bitmap = QImage();
        return false;
    }
    m_bitmap = logo.convertToFormat(QImage::Format_RGB32);
    m_bMonochrome = 1;
    return true;
}

QString CGlyphaneDoc::BindPrinter(const CPrinterChoice& choice)
{
    const QString& folder = m_env.programFolder;
    if (!m_printerCfg.InitCCfgFl(nullptr, folder, choice.cfgFile)
        || !m_printerCfg.LoadPublicCfgFile(NativePath(folder + choice.cfgFile)))
        return QStringLiteral("the printer configuration %1 cannot be read").arg(choice.cfgFile);

    SetModelFlags(choice.model);
    DWORD dotX = 0, dotY = 0, gsi = 0;
    for (const auto& [key, value] : {std::pair{"DotX", &dotX}, std::pair{"DotY", &dotY}, std::pair{"GSImodel", &gsi}})
        if (!m_printerCfg.GetOptionPrintersToTest(QString::fromLatin1(key), value))
            return QStringLiteral("the printer configuration has no \"%1\"").arg(QLatin1String(key));
    m_nDotX = static_cast<int>(dotX);
    m_nDotY = static_cast<int>(dotY);
    m_ucGsiModel = static_cast<BYTE>(gsi & 0xFF);
    SetPrinterModel(choice.model);
    SetPrinterCfgFileName(choice.cfgFile);
    return QString();
}

bool CGlyphaneDoc::InitNewLogo()
{
    DeleteContents();
    SetModifiedFlag(false);
    m_nLogoWidth = 100;
    m_nLogoHeight = 100;
    if (!CreateWhiteBitmap(100, 100))
        return false;
    if (!ReloadHeaderTemplate())
        return false;
    PatchHeaderForLogo();
    ResetDrawingState();
    return true;
}

bool CGlyphaneDoc::ReloadHeaderTemplate()
{
    return LoadHeaderTemplate(m_env.HeaderTemplatePath());
}

int CGlyphaneDoc::ShowMessage(const QString& text, UINT captionId, UINT flags) const
{
    return MessageBox(WindowOf(m_env.messageOwner), text, LoadString(captionId), flags);
}

void CGlyphaneDoc::ReportError(UINT textId, UINT captionId, const QString& arg)
{
    ShowMessage(FormatResString(textId, {arg}), captionId, MB_OK | MB_ICONSTOP);
}

void CGlyphaneDoc::ReportError(UINT textId, UINT captionId, const QString& arg1, const QString& arg2)
{
    ShowMessage(FormatResString(textId, {arg1, arg2}), captionId, MB_OK | MB_ICONSTOP);
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
    m_strSuggestedFile.clear(); // a saved logo has a file of its own
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
    if (id == ID_SAVE_QZ_LOG) {
        OnSaveQzLogFile();
        return true;
    }
    return false;
}

bool CGlyphaneDoc::HasCommandHandler(UINT id) const
{
    return id == ID_FILE_SAVE || id == ID_FILE_SAVE_AS || id == ID_SAVE_QZ_LOG || CCmdTarget::HasCommandHandler(id);
}

bool CGlyphaneDoc::SaveModified()
{
    if (!m_bModified)
        return true;
    const QString name = m_strTitle.isEmpty() ? QStringLiteral("Glypha") : m_strTitle;
    const int answer = ShowMessage(QStringLiteral("Save changes to %1?").arg(name), 61446,
                                   MB_YESNOCANCEL | MB_ICONEXCLAMATION);
    if (answer == IDCANCEL)
        return false;
    if (answer == IDYES)
        return DoSave(m_strPathName);
    return true;
}

bool CGlyphaneDoc::OnUpdateCommand(UINT id, CCmdUI& cmdUI)
{
    if (id == ID_FILE_SAVE || id == ID_FILE_SAVE_AS || id == ID_SAVE_QZ_LOG) {
        cmdUI.Enable(GetLogoBitmap() != nullptr);
        return true;
    }
    return false;
}
