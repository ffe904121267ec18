#pragma once
// The drawing surfaces of a logo window: the image (bound to the document's
// bitmap), the one-level undo copy, and the screen copy a stroke or a rubber
// band is drawn on before (or instead of) the image.
#include "platform/Surface.h"

class CGlyphaneDoc;

class CEditingSurfaces {
public:
    CSurface& Image() { return m_dcImage; }
    const CSurface& Image() const { return m_dcImage; }
    const CSurface& Undo() const { return m_dcUndo; }

    // What the screen shows: the screen copy while something is drawn on it only.
    const CSurface& Shown() const { return m_bScreenDirty ? m_dcScreen : m_dcImage; }
    // The screen copy, taken from the image the first time after a redraw.
    CSurface& Screen();
    // Drops the screen copy (a repaint from the image erases it); true when
    // there was one.
    bool DropScreen();
    bool ScreenDirty() const { return m_bScreenDirty; }

    // Binds the image to the document's bitmap and the document's drawing to
    // the image.
    void Bind(CGlyphaneDoc& doc);
    void Release(CGlyphaneDoc& doc);
    bool Ready() const { return m_bSurfacesReady; }

    void TakeUndoCopy();
    // A fresh start: nothing to undo.
    void ForgetUndo();
    int UndoCount() const { return m_nUndoCount; }
    void ResetUndoCount() { m_nUndoCount = 0; }
    // Sets only the count the enabling rule of Undo reads (its tests).
    void SetUndoCount(int count) { m_nUndoCount = count; }

private:
    CSurface m_dcImage;
    CSurface m_dcUndo;
    // What the screen shows while a stroke or a rubber band is drawn on it
    // but not (yet) in the image; dropped by any redraw, as a repaint from
    // the image would erase it.
    CSurface m_dcScreen;
    bool m_bScreenDirty = false;
    bool m_bSurfacesReady = false;
    int m_nUndoCount = 0;
};
