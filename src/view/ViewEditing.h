#pragma once
// The editing role of the logo view: the drawing surfaces, the magnifier,
// the selection and the text box, and the tools that the mouse, the keys,
// the cursor and the painting go to (tools/). The commands belong to the
// objects the role is made of, each mapping its own into the role's map. It
// reaches the window only through IEditingWindow, which the view implements;
// the printer and transfer roles sit beside it in the view without touching it.
#include "document/Stroke.h"
#include "platform/CommandRouter.h"
#include "platform/GdiRect.h"
#include "platform/Surface.h"
#include "view/EditingSurfaces.h"
#include "view/EditingWindow.h"
#include "view/ViewClipboard.h"
#include "view/ViewFileCommands.h"
#include "view/ViewImageCommands.h"
#include "view/ViewMagnifier.h"
#include "view/ViewPrint.h"
#include "view/ViewSelection.h"
#include "view/ViewTextBox.h"
#include "view/tools/ToolCodes.h"
#include "view/tools/ToolCommands.h"
#include "view/tools/ToolHost.h"
#include "view/tools/ToolSet.h"

#include <QCursor>
#include <QString>

class CGlyphaneDoc;
class CTool;
class QMenu;
class QPainter;
class QRect;
class QWidget;

class CViewEditing : public IToolHost, public IEditingWindow {
public:
    explicit CViewEditing(CGlyphaneDoc* doc);
    virtual ~CViewEditing();
    CViewEditing(const CViewEditing&) = delete;
    CViewEditing& operator=(const CViewEditing&) = delete;

    CCommandMap& EditingCommands() { return m_commands; }
    CSurface& ImageSurface() { return m_surfaces.Image(); }

    // Painting (ViewPaint.cpp): the exposed rectangle in viewport coordinates.
    void OnDraw(QPainter& painter, const QRect& exposed);
    // Redraw requests: a stroke's area, a rectangle in image coordinates
    // (null: everything).
    void OnUpdate(const CStroke* stroke, const CRect* rect = nullptr) override;
    void InvalidateAll() override;
    void InvalidateImageRect(const CRect& rect) override;
    void UpdateViewport() override;
    void CreateSurfaces();
    void ReleaseSurfaces();

    // Window life.
    void EditingInitialUpdate();
    void EditingSetFocus();
    void EditingDestroy();

    // Mouse and keys (ViewMouse.cpp), in viewport (client) coordinates, to
    // the tool in use.
    void OnLButtonDown(const CPoint& client);
    void OnLButtonDblClk(const CPoint& client);
    void OnMouseMove(const CPoint& client);
    void OnLButtonUp(const CPoint& client);
    void OnRButtonDown(const CPoint& client);
    // Esc; true when the character was the view's.
    bool OnChar(int ch);
    // The cursor for the current tool at the client point; false keeps it.
    bool CursorForPoint(const CPoint& client, QCursor& cursor) const;
    // Keeps what the tool shows over the image in its place after a scroll.
    void OnScrollWithTracker(bool vertical);
    // The context menu of the current tool. Its entries' states come from the
    // router's enabling rule and their commands go through the router's
    // Dispatch, both along the window's own route.
    QMenu* BuildContextMenu(QWidget* parent);

    // The tool in use.
    int CurrentTool() const override;
    void CommitPendingState() override;
    void SetTool(int toolCode, const QString& paneName) override;
    // Pointer mode: the pending state committed, no tool, and the pane says so.
    void DropTool();
    // The tool pane shows this window's tool; the name is kept so that the
    // pane can show it again when the window becomes the active one.
    void ShowToolPane(const QString& paneName) override;
    void RefreshToolPane() const;

    // The parts of the role.
    CGlyphaneDoc* Doc() const override { return m_pDoc; }
    CEditingSurfaces& Surfaces() override { return m_surfaces; }
    CViewSelection& Selection() override { return m_selection; }
    CViewMagnifier& Magnifier() override { return m_magnifier; }
    CViewTextBox& Text() override { return m_text; }
    CToolSet& Tools() override { return m_tools; }
    IEditingWindow& Window() override { return *this; }
    CViewPrinting& Printing() { return m_printing; }
    bool HasImage() const override;

private:
    CTool& ToolInUse() const;
    void MapEditingCommands();
    void PaintImage(QPainter& painter, const QRect& exposed) const;
    void RefreshSizePane();

    CGlyphaneDoc* m_pDoc;
    CCommandMap m_commands;
    QString m_strToolPane = QStringLiteral("None");
    CEditingSurfaces m_surfaces;
    CViewMagnifier m_magnifier{*this};
    CViewSelection m_selection{*this};
    CViewTextBox m_text{*this};
    CViewClipboard m_clipboard{*this};
    CViewImageCommands m_imageCommands{*this};
    CViewFileCommands m_fileCommands{*this};
    CViewPrinting m_printing{*this};
    CToolCommands m_toolCommands{*this};
    // Last: the tools reach the parts above.
    CToolSet m_tools{*this};
};
