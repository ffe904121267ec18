#include "document/GlyphaneDoc.h"

#include "platform/UiSeam.h"
#include "resources/CommandIds.h"
#include "resources/StringTable.h"

#include <QFileInfo>

CGlyphaneDoc::CGlyphaneDoc(const CDocEnvironment& env, QObject* parent)
    : QObject(parent)
    , m_env(env)
    , m_messages(m_env)
    , m_binding(env.programFolder)
    , m_bmpFile(m_env, m_messages, m_picture)
    , m_raster(m_picture, m_binding)
    , m_psw(m_env, m_messages, m_picture, m_binding, m_bmpFile, [this] { ResetAfterLoad(); },
             [this] { UpdateAllViews(); })
    , m_qzLog(m_env, m_messages, m_picture, m_raster)
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
    m_binding.SetPortName(LoadString(61454));
}

void CGlyphaneDoc::ResetAfterLoad()
{
    ResetDrawingState();
    m_binding.SetPrinterModel(LoadString(61469));
}

void CGlyphaneDoc::DeleteContents()
{
    m_strokes.clear();
}

bool CGlyphaneDoc::LogoSizeAcceptable(int width, int height)
{
    if (width > 0 && height > 0 && width <= kMaxLogoSide && height <= kMaxLogoSide)
        return true;
    m_messages.ShowMessage(
        QStringLiteral("The logo size %1 x %2 cannot be used: each side must be between 1 and %3 dots.")
            .arg(width)
            .arg(height)
            .arg(kMaxLogoSide),
        61446, MB_OK | MB_ICONSTOP);
    return false;
}

bool CGlyphaneDoc::OnNewDocument(const CPrinterChoice& choice)
{
    DeleteContents();
    SetModifiedFlag(false);
    if (choice.model.isEmpty() || !m_binding.BindPrinter(choice).isEmpty())
        return false;
    m_picture.SetLogoSize(m_binding.GetDotX(), m_binding.GetDotY());
    if (!LogoSizeAcceptable(m_picture.GetLogoWidth(), m_picture.GetLogoHeight()))
        return false;
    if (!m_picture.CreateWhiteBitmap(m_picture.GetLogoWidth(), m_picture.GetLogoHeight()))
        return false;
    if (!m_bmpFile.ReloadHeaderTemplate()) {
        m_picture.DropLogoBitmap();
        return false;
    }
    m_bmpFile.PatchHeaderForLogo();
    ResetDrawingState();
    return true;
}

bool CGlyphaneDoc::OnNewDocumentFromPicture(const CPrinterChoice& choice, const QImage& logo)
{
    if (!OnNewDocument(choice))
        return false;
    if (logo.size() != QSize(m_picture.GetLogoWidth(), m_picture.GetLogoHeight())) {
        m_picture.DropLogoBitmap();
        return false;
    }
    m_picture.AttachLogoBitmap(logo);
    m_binding.SetMonochrome(1);
    return true;
}

bool CGlyphaneDoc::InitNewLogo()
{
    DeleteContents();
    SetModifiedFlag(false);
    m_picture.SetLogoSize(100, 100);
    if (!m_picture.CreateWhiteBitmap(100, 100))
        return false;
    if (!m_bmpFile.ReloadHeaderTemplate())
        return false;
    m_bmpFile.PatchHeaderForLogo();
    ResetDrawingState();
    return true;
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
        m_qzLog.OnSaveQzLogFile();
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
    const int answer = m_messages.ShowMessage(QStringLiteral("Save changes to %1?").arg(name), 61446,
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
        cmdUI.Enable(m_picture.GetLogoBitmap() != nullptr);
        return true;
    }
    return false;
}

void CGlyphaneDoc::InvertAllPixels(DWORD width, DWORD height)
{
    if (m_picture.InvertAllPixels(width, height))
        UpdateAllViews();
}

void CGlyphaneDoc::FlipPixelsHorizontal(DWORD width, DWORD height)
{
    if (m_picture.FlipPixelsHorizontal(width, height))
        UpdateAllViews();
}

void CGlyphaneDoc::FlipPixelsVertical(DWORD width, DWORD height)
{
    if (m_picture.FlipPixelsVertical(width, height))
        UpdateAllViews();
}

void CGlyphaneDoc::ConvertToBlackWhite(DWORD width, DWORD height, DWORD threshold, dither::Method method)
{
    if (!m_picture.ConvertToBlackWhite(width, height, threshold, method))
        return;
    m_bmpFile.ReloadHeaderTemplate();
    m_bmpFile.PatchHeaderForLogo();
    m_binding.SetMonochrome(1);
    UpdateAllViews();
}
