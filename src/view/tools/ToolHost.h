#pragma once
// What a tool reaches through the editing role: the document, the surfaces,
// the selection, the magnifier, the text box and the window; and the few
// steps of the role itself (the tool in use, redraws).
#include "platform/GdiRect.h"

#include <QString>

class CEditingSurfaces;
class CGlyphaneDoc;
class CStroke;
class CToolSet;
class CViewMagnifier;
class CViewSelection;
class CViewTextBox;
class IEditingWindow;

class IToolHost {
public:
    virtual CGlyphaneDoc* Doc() const = 0;
    virtual CEditingSurfaces& Surfaces() = 0;
    virtual CViewSelection& Selection() = 0;
    virtual CViewMagnifier& Magnifier() = 0;
    virtual CViewTextBox& Text() = 0;
    virtual CToolSet& Tools() = 0;
    virtual IEditingWindow& Window() = 0;

    // The tool code kept in the document's drawing mode.
    virtual int CurrentTool() const = 0;
    // Sets the code and shows the name in the tool pane.
    virtual void SetTool(int toolCode, const QString& paneName) = 0;
    virtual void ShowToolPane(const QString& paneName) = 0;
    // Puts down what the current tool has pending (a selection, a text box, a
    // shape's first click).
    virtual void CommitPendingState() = 0;
    // Whether there is a logo bound to the image surface.
    virtual bool HasImage() const = 0;

    // Redraw requests: everything, a rectangle in image coordinates, a
    // stroke's area.
    virtual void InvalidateAll() = 0;
    virtual void InvalidateImageRect(const CRect& rect) = 0;
    virtual void OnUpdate(const CStroke* stroke, const CRect* rect = nullptr) = 0;
    // Repaints the viewport (what was drawn on the screen surface).
    virtual void UpdateViewport() = 0;

protected:
    ~IToolHost() = default;
};
