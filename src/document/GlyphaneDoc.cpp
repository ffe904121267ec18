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
    , m_binding(env.programFolder)
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

bool CGlyphaneDoc::OnNewDocument(const CPrinterChoice& choice)
{
    DeleteContents();
    SetModifiedFlag(false);
    if (choice.model.isEmpty() || !m_binding.BindPrinter(choice).isEmpty())
        return false;
    m_nLogoWidth = m_binding.GetDotX();
    m_nLogoHeight = m_binding.GetDotY();
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
    m_binding.SetMonochrome(1);
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
