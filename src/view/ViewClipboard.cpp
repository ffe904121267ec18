// The Edit menu: Cut, Copy, Paste, Paste Special and the one level of Undo,
// with the system clipboard holding plain images, so a block copied here
// pastes into any other program and back.
#include "view/ViewClipboard.h"

#include "dialogs/PastePositionDlg.h"
#include "document/GlyphaneDoc.h"
#include "platform/UiSeam.h"
#include "resources/CommandIds.h"
#include "resources/StringTable.h"
#include "view/EditingSurfaces.h"
#include "view/EditingWindow.h"
#include "view/ViewMagnifier.h"
#include "view/ViewSelection.h"
#include "view/tools/ToolCodes.h"
#include "view/tools/ToolHost.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <algorithm>

namespace {

constexpr UINT IDS_CAPTION_ERROR = 1035;
constexpr UINT IDS_CAPTION_APP = 61446;

bool PasteAllowedFor(int code)
{
    return code != tool::TextBoxOpen && code != tool::SelectionPresent && code != tool::Text;
}

// Lightness above the threshold is white, as the black-and-white conversion
// decides, without spreading any error.
QRgb ToBlackOrWhite(QRgb pixel)
{
    const int hi = std::max({qRed(pixel), qGreen(pixel), qBlue(pixel)});
    const int lo = std::min({qRed(pixel), qGreen(pixel), qBlue(pixel)});
    return (hi + lo) / 2 > 128 ? 0xFFFFFFFFu : 0xFF000000u;
}

} // namespace

void CViewClipboard::MapCommands(CCommandMap& commands)
{
    auto& c = commands;
    c.MapCommand(ID_EDIT_CUT, [this] { OnEditCut(); });
    c.MapCommand(ID_EDIT_COPY, [this] { OnEditCopy(); });
    c.MapCommand(ID_EDIT_PASTE, [this] { OnEditPaste(); });
    c.MapCommand(ID_EDIT_PASTE_SPECIAL, [this] { OnEditPasteSpecial(); });
    c.MapCommand(ID_EDIT_UNDO, [this] { OnEditUndo(); });
    c.MapCommand(ID_IMAGE_SELECT_ALL, [this] { m_host.Selection().SelectAll(); });

    auto selectionPresent = [this](CCmdUI& ui) { ui.Enable(m_host.CurrentTool() == tool::SelectionPresent); };
    c.MapUpdate(ID_EDIT_CUT, selectionPresent);
    c.MapUpdate(ID_EDIT_COPY, selectionPresent);
    auto pasteRule = [this](CCmdUI& ui) { ui.Enable(ClipboardHasBitmap() && PasteAllowedFor(m_host.CurrentTool())); };
    c.MapUpdate(ID_EDIT_PASTE, pasteRule);
    c.MapUpdate(ID_EDIT_PASTE_SPECIAL, pasteRule);
    c.MapUpdate(ID_EDIT_UNDO, [this](CCmdUI& ui) {
        ui.Enable(m_host.Surfaces().UndoCount() != 0 && !m_host.Magnifier().IsMagnified());
    });
    c.MapUpdate(ID_IMAGE_SELECT_ALL,
                [this](CCmdUI& ui) { ui.Enable(m_host.HasImage() && !m_host.Magnifier().IsMagnified()); });
}

bool CViewClipboard::ClipboardHasBitmap()
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    return data && data->hasImage();
}

QImage CViewClipboard::ClipboardBitmap()
{
    if (!ClipboardHasBitmap())
        return QImage();
    return QGuiApplication::clipboard()->image();
}

void CViewClipboard::EmptyClipboard()
{
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->clear();
}

void CViewClipboard::CopyRectToClipboard(const CSurface& surface, const CRect& rect)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    CRect r;
    if (!clipboard || !r.IntersectRect(rect, surface.Bounds()))
        return;
    clipboard->setImage(surface.image().copy(r.ToQRect()));
}

QImage CViewClipboard::PreparePastedImage(const QImage& picture) const
{
    QImage result = picture.convertToFormat(QImage::Format_RGB32);
    if (result.isNull() || !m_host.Doc()->Binding().IsMonochrome())
        return result;
    // A black-and-white logo stays black and white whatever was copied elsewhere.
    for (int y = 0; y < result.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x)
            row[x] = ToBlackOrWhite(row[x]);
    }
    return result;
}

bool CViewClipboard::RefuseForColouredLogo()
{
    if (m_host.Doc()->Binding().IsMonochrome())
        return false;
    MessageBox(m_host.Window().EditingWindow(), QStringLiteral("This Function isn't available for Coloured Logo!"),
               LoadString(IDS_CAPTION_ERROR), MB_OK | MB_ICONERROR);
    return true;
}

void CViewClipboard::OnEditCut()
{
    MoveSelectionToClipboard(true);
}

void CViewClipboard::OnEditCopy()
{
    MoveSelectionToClipboard(false);
}

void CViewClipboard::MoveSelectionToClipboard(bool cut)
{
    if (m_host.CurrentTool() != tool::SelectionPresent || RefuseForColouredLogo())
        return;
    m_host.Selection().MoveToClipboard(cut);
}

void CViewClipboard::OnEditPaste()
{
    const QImage picture = ClipboardBitmap();
    if (picture.isNull() || !m_host.HasImage())
        return;
    const int logoWidth = m_host.Doc()->Picture().GetLogoWidth();
    const int logoHeight = m_host.Doc()->Picture().GetLogoHeight();
    int w = picture.width();
    int h = picture.height();
    if (w > logoWidth || h > logoHeight) {
        const int answer = MessageBox(
            m_host.Window().EditingWindow(),
            QStringLiteral("The image into clipboard is greater than image into view. If you continue, a part of "
                           "image into clipboard will be cutted. Do you want to continue ?"),
            LoadString(IDS_CAPTION_APP), MB_YESNO | MB_ICONEXCLAMATION);
        if (answer != IDYES)
            return;
        w = std::min(w, logoWidth);
        h = std::min(h, logoHeight);
    }
    const CPoint s = m_host.Window().ScrollPosition();
    m_host.Selection().FloatPasted(CRect(s.x + 1, s.y + 1, s.x + 1 + w, s.y + 1 + h),
                                   PreparePastedImage(picture.copy(0, 0, w, h)));
}

void CViewClipboard::OnEditPasteSpecial()
{
    if (!m_host.HasImage())
        return;
    const int logoWidth = m_host.Doc()->Picture().GetLogoWidth();
    const int logoHeight = m_host.Doc()->Picture().GetLogoHeight();
    int x = logoWidth;
    int y = logoHeight;
    CPastePositionDlg dlg(m_host.Window().EditingWindow());
    dlg.SetLimits(&x, &y);
    if (dlg.DoModal() != IDOK)
        return;
    m_host.Doc()->SetModifiedFlag();
    const QImage picture = PreparePastedImage(ClipboardBitmap());
    CSurface block;
    if (!picture.isNull() && x >= 0 && y >= 0 && x < logoWidth && y < logoHeight && block.Attach(picture)) {
        const int w = std::min(block.Width(), logoWidth - x);
        const int h = std::min(block.Height(), logoHeight - y);
        m_host.Surfaces().Image().BitBlt(x, y, w, h, block, 0, 0, SRCCOPY);
    }
    m_host.SetTool(tool::None, QStringLiteral("None"));
    m_host.Doc()->UpdateAllViews();
}

void CViewClipboard::OnEditUndo()
{
    m_host.CommitPendingState();
    CEditingSurfaces& surfaces = m_host.Surfaces();
    if (!surfaces.Undo().IsNull() && m_host.HasImage())
        surfaces.Image().BitBlt(0, 0, m_host.Doc()->Picture().GetLogoWidth(), m_host.Doc()->Picture().GetLogoHeight(), surfaces.Undo(), 0,
                                0, SRCCOPY);
    m_host.Doc()->UpdateAllViews();
    surfaces.ResetUndoCount();
    m_host.Doc()->SetDrawMode(tool::None);
}
