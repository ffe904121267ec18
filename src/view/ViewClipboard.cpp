// The Edit menu: Cut, Copy, Paste, Paste Special and the one level of Undo,
// with the system clipboard holding plain images, so a block copied here
// pastes into any other program and back.
#include "view/ViewEditing.h"

#include "dialogs/PastePositionDlg.h"
#include "document/GlyphaneDoc.h"
#include "platform/UiSeam.h"
#include "resources/CommandIds.h"
#include "resources/StringTable.h"

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

void CViewEditing::MapEditCommands()
{
    auto& c = m_commands;
    c.MapCommand(ID_EDIT_CUT, [this] { OnEditCut(); });
    c.MapCommand(ID_EDIT_COPY, [this] { OnEditCopy(); });
    c.MapCommand(ID_EDIT_PASTE, [this] { OnEditPaste(); });
    c.MapCommand(ID_EDIT_PASTE_SPECIAL, [this] { OnEditPasteSpecial(); });
    c.MapCommand(ID_EDIT_UNDO, [this] { OnEditUndo(); });
    c.MapCommand(ID_IMAGE_SELECT_ALL, [this] { OnSelectAllPixels(); });
    c.MapCommand(ID_TEXT_FONT, [this] { OnSelectFont(); });

    auto selectionPresent = [this](CCmdUI& ui) { ui.Enable(CurrentTool() == tool::SelectionPresent); };
    c.MapUpdate(ID_EDIT_CUT, selectionPresent);
    c.MapUpdate(ID_EDIT_COPY, selectionPresent);
    auto pasteRule = [this](CCmdUI& ui) { ui.Enable(ClipboardHasBitmap() && PasteAllowedFor(CurrentTool())); };
    c.MapUpdate(ID_EDIT_PASTE, pasteRule);
    c.MapUpdate(ID_EDIT_PASTE_SPECIAL, pasteRule);
    c.MapUpdate(ID_EDIT_UNDO, [this](CCmdUI& ui) { ui.Enable(m_nUndoCount != 0 && !m_bMagnified); });
    c.MapUpdate(ID_IMAGE_SELECT_ALL, [this](CCmdUI& ui) { ui.Enable(HasImage() && !m_bMagnified); });
}

bool CViewEditing::ClipboardHasBitmap()
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    return data && data->hasImage();
}

QImage CViewEditing::ClipboardBitmap()
{
    if (!ClipboardHasBitmap())
        return QImage();
    return QGuiApplication::clipboard()->image();
}

void CViewEditing::EmptyClipboard()
{
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->clear();
}

void CViewEditing::CopyRectToClipboard(const CRect& rect)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    CRect r;
    if (!clipboard || !r.IntersectRect(rect, m_dcImage.Bounds()))
        return;
    clipboard->setImage(m_dcImage.image().copy(r.ToQRect()));
}

QImage CViewEditing::PreparePastedImage(const QImage& picture) const
{
    QImage result = picture.convertToFormat(QImage::Format_RGB32);
    if (result.isNull() || !m_pDoc->Binding().IsMonochrome())
        return result;
    // A black-and-white logo stays black and white whatever was copied elsewhere.
    for (int y = 0; y < result.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x)
            row[x] = ToBlackOrWhite(row[x]);
    }
    return result;
}

bool CViewEditing::RefuseForColouredLogo()
{
    if (m_pDoc->Binding().IsMonochrome())
        return false;
    MessageBox(EditingWindow(), QStringLiteral("This Function isn't available for Coloured Logo!"),
               LoadString(IDS_CAPTION_ERROR), MB_OK | MB_ICONERROR);
    return true;
}

void CViewEditing::OnEditCut()
{
    MoveSelectionToClipboard(true);
}

void CViewEditing::OnEditCopy()
{
    MoveSelectionToClipboard(false);
}

void CViewEditing::MoveSelectionToClipboard(bool cut)
{
    if (CurrentTool() != tool::SelectionPresent || RefuseForColouredLogo())
        return;
    m_trackerSel.m_nStyle &= ~static_cast<UINT>(CRectTracker::dottedLine);
    if (m_bSelFromPaste) {
        // The picture never reached the image: cutting it only takes it back.
        if (QClipboard* clipboard = QGuiApplication::clipboard())
            clipboard->setImage(m_imgFloating);
    } else {
        CopyRectToClipboard(m_trackerSel.m_rect);
        if (cut)
            m_dcImage.FillSolidRect(m_trackerSel.m_rect, RGB(255, 255, 255));
    }
    m_imgFloating = QImage();
    m_bShowFloating = false;
    m_bSelFromPaste = FALSE;
    m_bSelectAllShown = FALSE;
    m_pDoc->UpdateAllViews();
    if (cut)
        m_pDoc->SetModifiedFlag();
    SetTool(tool::None, QStringLiteral("None"));
}

void CViewEditing::OnEditPaste()
{
    const QImage picture = ClipboardBitmap();
    if (picture.isNull() || !HasImage())
        return;
    const int logoWidth = m_pDoc->Picture().GetLogoWidth();
    const int logoHeight = m_pDoc->Picture().GetLogoHeight();
    int w = picture.width();
    int h = picture.height();
    if (w > logoWidth || h > logoHeight) {
        const int answer = MessageBox(
            EditingWindow(),
            QStringLiteral("The image into clipboard is greater than image into view. If you continue, a part of "
                           "image into clipboard will be cutted. Do you want to continue ?"),
            LoadString(IDS_CAPTION_APP), MB_YESNO | MB_ICONEXCLAMATION);
        if (answer != IDYES)
            return;
        w = std::min(w, logoWidth);
        h = std::min(h, logoHeight);
    }
    const CPoint s = ScrollPosition();
    m_trackerSel.m_rect = CRect(s.x + 1, s.y + 1, s.x + 1 + w, s.y + 1 + h);
    m_imgFloating = PreparePastedImage(picture.copy(0, 0, w, h));
    m_bShowFloating = true;
    m_trackerSel.m_nStyle |= CRectTracker::dottedLine;
    m_bSelFromPaste = TRUE;
    m_bSelectAllShown = FALSE;
    m_pDoc->SetDrawMode(tool::SelectionPresent);
    InvalidateAll();
}

void CViewEditing::OnEditPasteSpecial()
{
    if (!HasImage())
        return;
    const int logoWidth = m_pDoc->Picture().GetLogoWidth();
    const int logoHeight = m_pDoc->Picture().GetLogoHeight();
    int x = logoWidth;
    int y = logoHeight;
    CPastePositionDlg dlg(EditingWindow());
    dlg.SetLimits(&x, &y);
    if (dlg.DoModal() != IDOK)
        return;
    m_pDoc->SetModifiedFlag();
    const QImage picture = PreparePastedImage(ClipboardBitmap());
    CSurface block;
    if (!picture.isNull() && x >= 0 && y >= 0 && x < logoWidth && y < logoHeight && block.Attach(picture)) {
        const int w = std::min(block.Width(), logoWidth - x);
        const int h = std::min(block.Height(), logoHeight - y);
        m_dcImage.BitBlt(x, y, w, h, block, 0, 0, SRCCOPY);
    }
    SetTool(tool::None, QStringLiteral("None"));
    m_pDoc->UpdateAllViews();
}

void CViewEditing::OnEditUndo()
{
    CommitPendingState();
    if (!m_dcUndo.IsNull() && HasImage())
        m_dcImage.BitBlt(0, 0, m_pDoc->Picture().GetLogoWidth(), m_pDoc->Picture().GetLogoHeight(), m_dcUndo, 0, 0, SRCCOPY);
    m_pDoc->UpdateAllViews();
    m_nUndoCount = 0;
    m_pDoc->SetDrawMode(tool::None);
}
