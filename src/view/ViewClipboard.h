#pragma once
// The Edit menu of a logo window: Cut, Copy, Paste, Paste Special, "Select
// all pixel" and the one level of Undo, with the system clipboard holding
// plain images.
#include "platform/CommandRouter.h"
#include "platform/GdiRect.h"

#include <QImage>

class CSurface;
class IToolHost;

class CViewClipboard {
public:
    explicit CViewClipboard(IToolHost& host) : m_host(host) {}

    void MapCommands(CCommandMap& commands);
    void OnEditCut();
    void OnEditCopy();
    void OnEditPaste();
    void OnEditPasteSpecial();
    void OnEditUndo();

    // Whether the system clipboard offers a picture.
    static bool ClipboardHasBitmap();
    static void EmptyClipboard();
    // The part of rect inside the surface, to the clipboard.
    static void CopyRectToClipboard(const CSurface& surface, const CRect& rect);

private:
    static QImage ClipboardBitmap();
    bool RefuseForColouredLogo();
    void MoveSelectionToClipboard(bool cut);
    // A picture from elsewhere, in the surface format and, for a black-and-
    // white logo, reduced to black and white.
    QImage PreparePastedImage(const QImage& picture) const;

    IToolHost& m_host;
};
