// The whole-image commands of the Tools and Image Options menus (clear,
// refresh, invert, the flips, the black-and-white conversion, "Convert
// Picture") and the send options kept by the view (the three frames and the
// three reversals).
#include "view/ViewImageCommands.h"

#include "transfer/SendOptions.h"

#include "document/GlyphaneDoc.h"
#include "picture/Picture.h"
#include "resources/CommandIds.h"
#include "view/EditingSurfaces.h"
#include "view/EditingWindow.h"
#include "view/ViewHost.h"
#include "view/ViewMagnifier.h"
#include "view/tools/ToolCodes.h"
#include "view/tools/ToolHost.h"

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

void CViewImageCommands::MapCommands(CCommandMap& commands)
{
    auto& c = commands;
    c.MapCommand(ID_IMAGE_CLEAR, [this] { OnClearAllPixels(); });
    c.MapCommand(ID_IMAGE_REFRESH, [this] { OnRefreshView(); });
    c.MapCommand(ID_IMAGE_INVERT, [this] { OnInvertAllPixels(); });
    c.MapCommand(ID_IMAGE_FLIP_HORIZONTAL, [this] { OnFlipHorizontal(); });
    c.MapCommand(ID_IMAGE_FLIP_VERTICAL, [this] { OnFlipVertical(); });
    c.MapCommand(ID_IMAGE_TO_BLACK_WHITE, [this] { OnToBlackWhite(); });
    c.MapCommand(ID_IMAGE_CONVERT_PICTURE, [this] { OnConvertPicture(); });

    auto editableImage = [this](CCmdUI& ui) { ui.Enable(m_host.HasImage() && !m_host.Magnifier().IsMagnified()); };
    for (const UINT id : {ID_IMAGE_CLEAR, ID_IMAGE_INVERT, ID_IMAGE_FLIP_HORIZONTAL, ID_IMAGE_FLIP_VERTICAL})
        c.MapUpdate(id, editableImage);
    c.MapUpdate(ID_IMAGE_REFRESH, [this](CCmdUI& ui) { ui.Enable(m_host.HasImage()); });
    c.MapUpdate(ID_IMAGE_TO_BLACK_WHITE, [this](CCmdUI& ui) { ui.Enable(!m_host.Doc()->Binding().IsMonochrome()); });
    // The open logo is only read: it stays as it is, magnified or not.
    c.MapUpdate(ID_IMAGE_CONVERT_PICTURE, [this](CCmdUI& ui) { ui.Enable(m_host.HasImage()); });
    MapSendOptionCommands(c);
}

void CViewImageCommands::MapSendOptionCommands(CCommandMap& commands)
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
        commands.MapCommand(entry.id, [this, option = entry.option] { m_host.Window().SendOptions().Toggle(option); });
        commands.MapUpdate(entry.id, [this, option = entry.option](CCmdUI& ui) {
            ui.Enable(true);
            ui.SetCheck(m_host.Window().SendOptions().IsOn(option) ? 1 : 0);
        });
    }
}

void CViewImageCommands::OnClearAllPixels()
{
    if (!m_host.HasImage())
        return;
    const QWidget* viewport = m_host.Window().EditingViewport();
    const CRect client = viewport ? CRect::FromQRect(viewport->rect()) : CRect();
    // Only the client-sized block from the image origin is cleared, but the
    // undo copy holds the whole image so that Undo gives back all of it.
    m_host.Surfaces().TakeUndoCopy();
    m_host.Window().ClearLogoInRam();
    m_host.Doc()->SetModifiedFlag();
    m_host.Surfaces().Image().FillSolidRect(CRect(0, 0, client.Width(), client.Height()), RGB(255, 255, 255));
    m_host.Doc()->UpdateAllViews();
}

void CViewImageCommands::OnRefreshView()
{
    m_host.Doc()->UpdateAllViews();
}

void CViewImageCommands::RunWholeImageOperation(void (CGlyphaneDoc::*operation)(DWORD, DWORD))
{
    if (!m_host.HasImage())
        return;
    // Committed with the tool it belongs to, then the tool is dropped; the
    // tool pane keeps its last name.
    m_host.CommitPendingState();
    m_host.Doc()->SetDrawMode(tool::None);
    m_host.Surfaces().TakeUndoCopy();
    CBusyCursor busy;
    CGlyphaneDoc* doc = m_host.Doc();
    (doc->*operation)(static_cast<DWORD>(doc->Picture().GetLogoWidth()), static_cast<DWORD>(doc->Picture().GetLogoHeight()));
    m_host.InvalidateAll();
}

void CViewImageCommands::OnInvertAllPixels()
{
    RunWholeImageOperation(&CGlyphaneDoc::InvertAllPixels);
}

void CViewImageCommands::OnFlipHorizontal()
{
    RunWholeImageOperation(&CGlyphaneDoc::FlipPixelsHorizontal);
}

void CViewImageCommands::OnFlipVertical()
{
    RunWholeImageOperation(&CGlyphaneDoc::FlipPixelsVertical);
}

void CViewImageCommands::OnToBlackWhite()
{
    if (!m_host.HasImage())
        return;
    m_host.Surfaces().TakeUndoCopy();
    CBusyCursor busy;
    CGlyphaneDoc* doc = m_host.Doc();
    doc->ConvertToBlackWhite(static_cast<DWORD>(doc->Picture().GetLogoWidth()), static_cast<DWORD>(doc->Picture().GetLogoHeight()),
                             static_cast<DWORD>(m_nBwThreshold));
    m_host.InvalidateAll();
}

void CViewImageCommands::OnConvertPicture()
{
    CViewHost* host = m_host.Window().EditingHost();
    if (!m_host.HasImage() || !host)
        return;
    m_host.CommitPendingState(); // a text or a pasted block still floating belongs to the picture
    // The new logo is named after this one and offered beside its file.
    const QString path = m_host.Doc()->GetPathName();
    const QFileInfo info(path);
    const QString suggested =
        path.isEmpty() ? QString() : info.absoluteDir().filePath(info.completeBaseName() + QStringLiteral(".bmp"));
    const CGlyphaneDoc* doc = m_host.Doc();
    host->ConvertPictureToLogo(picture::CPicture::FromImage(*doc->Picture().GetLogoBitmap(), doc->GetTitle()), suggested);
}
