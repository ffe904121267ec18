// The whole-image commands of the Tools and Image Options menus (clear,
// refresh, invert, the flips, the black-and-white conversion, "Convert
// Picture") and the send options kept by the view (the three frames and the
// three reversals).
#include "view/ViewEditing.h"

#include "transfer/SendOptions.h"

#include "app/GlyphaneApp.h"
#include "document/GlyphaneDoc.h"
#include "picture/Picture.h"
#include "resources/CommandIds.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QWidget>

namespace {

// The wait cursor for as long as the pixel work runs on the UI thread; the
// normal cursor of the tool comes back with the next mouse move.
class CBusyCursor {
public:
    CBusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CBusyCursor() { QApplication::restoreOverrideCursor(); }
    CBusyCursor(const CBusyCursor&) = delete;
    CBusyCursor& operator=(const CBusyCursor&) = delete;
};

} // namespace

void CViewEditing::MapImageCommands()
{
    auto& c = m_commands;
    c.MapCommand(ID_IMAGE_CLEAR, [this] { OnClearAllPixels(); });
    c.MapCommand(ID_IMAGE_REFRESH, [this] { OnRefreshView(); });
    c.MapCommand(ID_IMAGE_INVERT, [this] { OnInvertAllPixels(); });
    c.MapCommand(ID_IMAGE_FLIP_HORIZONTAL, [this] { OnFlipHorizontal(); });
    c.MapCommand(ID_IMAGE_FLIP_VERTICAL, [this] { OnFlipVertical(); });
    c.MapCommand(ID_IMAGE_TO_BLACK_WHITE, [this] { OnToBlackWhite(); });
    c.MapCommand(ID_IMAGE_CONVERT_PICTURE, [this] { OnConvertPicture(); });

    auto editableImage = [this](CCmdUI& ui) { ui.Enable(HasImage() && !m_bMagnified); };
    for (const UINT id : {ID_IMAGE_CLEAR, ID_IMAGE_INVERT, ID_IMAGE_FLIP_HORIZONTAL, ID_IMAGE_FLIP_VERTICAL})
        c.MapUpdate(id, editableImage);
    c.MapUpdate(ID_IMAGE_REFRESH, [this](CCmdUI& ui) { ui.Enable(HasImage()); });
    c.MapUpdate(ID_IMAGE_TO_BLACK_WHITE, [this](CCmdUI& ui) { ui.Enable(!m_pDoc->Binding().IsMonochrome()); });
    // The open logo is only read: it stays as it is, magnified or not.
    c.MapUpdate(ID_IMAGE_CONVERT_PICTURE, [this](CCmdUI& ui) { ui.Enable(HasImage()); });
}

void CViewEditing::MapSendOptionCommands()
{
    const struct {
        UINT id;
        SendOption option;
    } options[] = {
        {ID_FRAME_THIN, SendOption::ThinFrame},       {ID_FRAME_BOLD, SendOption::BoldFrame},
        {ID_FRAME_DOUBLE, SendOption::DoubleFrame},   {ID_REVERSE_IMAGE, SendOption::ReverseImage},
        {ID_REVERSE_ROW, SendOption::ReverseRow},     {ID_REVERSE_COLOR, SendOption::ReverseColor},
    };
    for (const auto& entry : options) {
        m_commands.MapCommand(entry.id, [this, option = entry.option] { SendOptions().Toggle(option); });
        m_commands.MapUpdate(entry.id, [this, option = entry.option](CCmdUI& ui) {
            ui.Enable(true);
            ui.SetCheck(SendOptions().IsOn(option) ? 1 : 0);
        });
    }
}

bool CViewEditing::HasImage() const
{
    return m_pDoc->Picture().GetLogoBitmap() != nullptr && !m_dcImage.IsNull();
}

void CViewEditing::OnClearAllPixels()
{
    if (!HasImage())
        return;
    const QWidget* viewport = EditingViewport();
    const CRect client = viewport ? CRect::FromQRect(viewport->rect()) : CRect();
    // Only the client-sized block from the image origin is cleared, but the
    // undo copy holds the whole image so that Undo gives back all of it.
    TakeUndoCopy();
    ClearLogoInRam();
    m_pDoc->SetModifiedFlag();
    m_dcImage.FillSolidRect(CRect(0, 0, client.Width(), client.Height()), RGB(255, 255, 255));
    m_pDoc->UpdateAllViews();
}

void CViewEditing::OnRefreshView()
{
    m_pDoc->UpdateAllViews();
}

void CViewEditing::RunWholeImageOperation(void (CGlyphaneDoc::*operation)(DWORD, DWORD))
{
    if (!HasImage())
        return;
    // Committed with the tool it belongs to, then the tool is dropped; the
    // tool pane keeps its last name.
    CommitPendingState();
    m_pDoc->SetDrawMode(tool::None);
    TakeUndoCopy();
    CBusyCursor busy;
    (m_pDoc->*operation)(static_cast<DWORD>(m_pDoc->Picture().GetLogoWidth()), static_cast<DWORD>(m_pDoc->Picture().GetLogoHeight()));
    InvalidateAll();
}

void CViewEditing::OnInvertAllPixels()
{
    RunWholeImageOperation(&CGlyphaneDoc::InvertAllPixels);
}

void CViewEditing::OnFlipHorizontal()
{
    RunWholeImageOperation(&CGlyphaneDoc::FlipPixelsHorizontal);
}

void CViewEditing::OnFlipVertical()
{
    RunWholeImageOperation(&CGlyphaneDoc::FlipPixelsVertical);
}

void CViewEditing::OnToBlackWhite()
{
    if (!HasImage())
        return;
    TakeUndoCopy();
    CBusyCursor busy;
    m_pDoc->ConvertToBlackWhite(static_cast<DWORD>(m_pDoc->Picture().GetLogoWidth()),
                                static_cast<DWORD>(m_pDoc->Picture().GetLogoHeight()), static_cast<DWORD>(m_nBwThreshold));
    InvalidateAll();
}

void CViewEditing::OnConvertPicture()
{
    CGlyphaneApp* app = GetApp();
    if (!HasImage() || !app)
        return;
    CommitPendingState(); // a text or a pasted block still floating belongs to the picture
    // The new logo is named after this one and offered beside its file.
    const QString path = m_pDoc->GetPathName();
    const QFileInfo info(path);
    const QString suggested =
        path.isEmpty() ? QString() : info.absoluteDir().filePath(info.completeBaseName() + QStringLiteral(".bmp"));
    app->ConvertPictureToLogo(picture::CPicture::FromImage(*m_pDoc->Picture().GetLogoBitmap(), m_pDoc->GetTitle()), suggested);
}
