#pragma once
// The editing role of the logo view: the drawing surfaces, painting, the
// magnifier and its grid, the drawing tools and their commands, the status
// panes. It owns its members and reaches the window only through the few
// host operations declared at the end, which the view implements; the
// printer and transfer roles sit beside it in the view without touching it.
#include "document/Stroke.h"
#include "platform/CommandRouter.h"
#include "platform/GdiRect.h"
#include "platform/Surface.h"
#include "view/DesktopPrinting.h"
#include "view/RectTracker.h"
#include "view/ViewHost.h"

#include <QCursor>
#include <QFont>
#include <QImage>
#include <QPointer>
#include <QSize>
#include <QTextEdit>

#include <memory>

class CGlyphaneDoc;
class CSendOptions;
class QMenu;
class QPainter;
class QRect;
class QWidget;

// Tool codes, as the editing role keeps them in the document's drawing mode.
namespace tool {
constexpr int None = 0;
constexpr int Pen = 10;
constexpr int Brush = 20;
constexpr int Eraser = 30;
constexpr int TextBoxOpen = 40;
constexpr int ZoomBox = 50;
constexpr int SelectArea = 60;
constexpr int SelectionPresent = 70;
constexpr int Text = 80;
constexpr int Fill = 90;
constexpr int Line = 100;
constexpr int Rectangle = 110;
constexpr int Ellipse = 120;
} // namespace tool

class CViewEditing {
public:
    static constexpr int kMagnifiedArea = 360; // side of the magnified square, screen pixels
    static constexpr COLORREF kBackground = RGB(0xA0, 0xA0, 0xA0);

    explicit CViewEditing(CGlyphaneDoc* doc);
    virtual ~CViewEditing();
    CViewEditing(const CViewEditing&) = delete;
    CViewEditing& operator=(const CViewEditing&) = delete;

    CCommandMap& EditingCommands() { return m_commands; }

    CSurface& ImageSurface() { return m_dcImage; }
    const CSurface& UndoSurface() const { return m_dcUndo; }
    const CSurface& MagnifierSurface() const { return m_dcMagnifier; }

    // Painting (ViewPaint.cpp): the exposed rectangle in viewport coordinates.
    void OnDraw(QPainter& painter, const QRect& exposed);
    // Redraw requests: a stroke's area, a rectangle in image coordinates
    // (null: everything).
    void OnUpdate(const CStroke* stroke, const CRect* rect = nullptr);
    void InvalidateAll();
    void InvalidateImageRect(const CRect& rect);
    void CreateSurfaces();
    void ReleaseSurfaces();

    // Window life.
    void EditingInitialUpdate();
    void EditingSetFocus();
    void EditingDestroy();

    // Mouse and keys (ViewMouse.cpp), in viewport (client) coordinates.
    void OnLButtonDown(const CPoint& client);
    void OnMouseMove(const CPoint& client);
    void OnLButtonUp(const CPoint& client);
    void OnRButtonDown(const CPoint& client);
    // Esc; true when the character was the view's.
    bool OnChar(int ch);
    // The cursor for the current tool at the client point; false keeps it.
    bool CursorForPoint(const CPoint& client, QCursor& cursor) const;
    // The context menu of the current tool. Its entries' states come from the
    // router's enabling rule and their commands go through the router's
    // Dispatch, both along the window's own route.
    QMenu* BuildContextMenu(QWidget* parent);

    // Tool state (ViewTools.cpp).
    int CurrentTool() const;
    void CommitPendingState();
    void SetTool(int toolCode, const QString& paneName);
    // Pointer mode: the pending state committed, no tool, and the pane says so.
    void DropTool();
    // The tool pane shows this window's tool; the name is kept so that the
    // pane can show it again when the window becomes the active one.
    void ShowToolPane(const QString& paneName);
    void RefreshToolPane() const;

    // Magnifier (ViewMagnifier.cpp).
    void OnZoomLarge();
    void OnZoomChosen();
    void OnZoomNormal();
    void OnShowGrid();
    bool IsMagnified() const { return m_bMagnified; }
    CRect MagnifierCell(const CPoint& point) const;

    // Whole-image commands and send options (ViewImageCommands.cpp).
    void OnClearAllPixels();
    void OnRefreshView();
    void OnInvertAllPixels();
    void OnFlipHorizontal();
    void OnFlipVertical();
    void OnToBlackWhite();
    void OnConvertPicture();

    // Fill patterns and the fill click (ViewPatterns.cpp).
    void OnPatternCommand(int number);
    void FillClick(const CPoint& point);

    // Selection, clipboard and undo (ViewSelection.cpp, ViewClipboard.cpp).
    void OnSelectAllPixels();
    void OnEditCut();
    void OnEditCopy();
    void OnEditPaste();
    void OnEditPasteSpecial();
    void OnEditUndo();
    // Whether the system clipboard offers a picture.
    static bool ClipboardHasBitmap();

    // Text tool (ViewText.cpp).
    void OnSelectFont();
    // The font a new text box's description starts from: "Times New Roman",
    // or the closest serif font installed when it is missing.
    static QFont InitialTextFont();
    // Keeps the open box over its place in the image after a scroll.
    void OnScrollWithTracker(bool vertical);

    // Printing (ViewPrint.cpp).
    void OnFilePrint();
    // "Load Logo from *.psw" (direction 1) and "Save Logo on *.psw" (0).
    void OnTransferLogoPsw(int direction);
    void OnFilePrintDirect();
    void OnFilePrintPreview();
    // The printed page: a title line and the logo at the logo printer's
    // physical size, on any device of the given resolution.
    void RenderPrintPage(QPainter& painter, const QRect& page, int deviceDpi) const;
    // The logo printers' dot pitch (8 dots per millimetre).
    static constexpr int kPrinterDotsPerInch = 203;

protected:
    // What the editing code needs from its window.
    // The program around the window (log, router, panes); may be null.
    virtual CViewHost* EditingHost() const = 0;
    virtual QWidget* EditingViewport() const = 0;
    virtual QWidget* EditingWindow() = 0;
    virtual CPoint ScrollPosition() const = 0;
    virtual void SetScrollSizes(const QSize& total) = 0;
    // Resizes the logo window to show content exactly; with onlyShrinkWhenCrowded
    // it may not grow when the main window's client area is smaller than content.
    virtual void FitFrameTo(const QSize& content, bool onlyShrinkWhenCrowded) = 0;
    virtual void EnableFrameMaximize(bool enable) = 0;
    // The route of the window's own commands (its context menu's): the view,
    // then its document.
    virtual std::vector<CCmdTarget*> OwnCommandRoute() = 0;
    virtual bool HoldsMouseCapture() const = 0;
    virtual void SetMouseCapture(bool capture) = 0;
    // The send options the view owns; the editing role toggles them.
    virtual CSendOptions& SendOptions() = 0;
    virtual const CSendOptions& SendOptions() const = 0;
    // Every edit makes the printer's RAM copy of the logo stale.
    virtual void ClearLogoInRam() = 0;

    CGlyphaneDoc* Doc() const { return m_pDoc; }
    CPoint ClientToImage(const CPoint& client) const { return client + ScrollPosition(); }

public:
    // Read-outs of the editing state, for the status panes and the tests.
    const CStroke* CurrentStroke() const { return m_pCurrentStroke; }
    CPoint ShapeStart() const { return m_ptShapeStart; }
    bool IsShapePending() const { return m_bShapePending; }
    QTextEdit* TextBox() const { return m_pTextEdit; }
    // The description new text boxes start from, and the open box's font.
    const QFont& TextFont() const { return m_lfText; }
    const QFont* TextBoxFont() const { return m_pTextFont.get(); }
    bool SurfacesReady() const { return m_bSurfacesReady; }
    int FillPattern() const { return m_nFillPattern; }
    int UndoCount() const { return m_nUndoCount; }
    bool IsSelectAllShown() const { return m_bSelectAllShown; }
    CRect SelectionRect() const { return m_trackerSel.m_rect; }
    CPoint ZoomSource() const { return m_ptZoomSource; }
    int ZoomFactor() const { return m_nZoomFactor; }
    int ZoomSide() const { return m_nZoomSide; }
    int ZoomBoxWidth() const { return m_nZoomBoxWidth; }
    bool ShowsGrid() const { return m_bShowGrid; }
    // Until the first scroll of each direction a text box is not moved with it.
    bool AwaitsFirstHScroll() const { return m_bFirstHScroll; }
    bool AwaitsFirstVScroll() const { return m_bFirstVScroll; }

    // Set only the state the enabling and cursor rules read (the tests of
    // those rules); the magnifier, undo and selection themselves are entered
    // through their commands.
    void SetMagnifiedFlag(bool on) { m_bMagnified = on; }
    void SetUndoCount(int count) { m_nUndoCount = count; }
    void SetSelectionRect(const CRect& rect) { m_trackerSel.m_rect = rect; }

private:
    // Printing (ViewPrint.cpp): the page on the chosen (ask) or default printer.
    void PrintOnDesktopPrinter(bool ask);
    PageRenderer PrintPageRenderer() const;

    // Editing state.
    CStroke* m_pCurrentStroke = nullptr;
    CPoint m_ptStrokeLast;
    CRectTracker m_trackerSel{CRect(), CRectTracker::dottedLine};
    CRectTracker m_trackerZoom;
    CSurface m_dcImage;
    CSurface m_dcUndo;
    CSurface m_dcMagnifier;
    CPoint m_ptShapeStart;
    CPoint m_ptShapeLast;
    BOOL m_bShapePending = FALSE;
    QPointer<QTextEdit> m_pTextEdit;
    QPointer<QWidget> m_pTextOutline;
    QFont m_lfText = InitialTextFont();
    std::unique_ptr<QFont> m_pTextFont;
    BOOL m_bSurfacesReady = FALSE;
    BOOL m_bSelFromPaste = FALSE;
    int m_nFillPattern = 0;
    int m_nUndoCount = 0;
    BOOL m_bSelectAllShown = FALSE;
    BOOL m_bMagnified = FALSE;
    QString m_strToolPane = QStringLiteral("None");
    int m_nZoomBoxWidth = 90;
    int m_nZoomBoxHeight = 90;
    int m_nZoomFactor = 4;
    int m_nZoomSide = 90;
    CPoint m_ptZoomSource;
    CPoint m_ptZoomScroll;
    BOOL m_bShowGrid = TRUE;
    COLORREF m_crGrid = 0xB0B0B0;
    BOOL m_bFirstVScroll = TRUE;
    BOOL m_bFirstHScroll = TRUE;
    int m_nBwThreshold = 128;

    void MapEditingCommands();
    void MapToolCommands();
    void MapSizeCommands();
    void MapMagnifierCommands();
    void MapFileCommands();
    void MapImageCommands();
    void MapSendOptionCommands();
    void MapPatternCommands();
    void MapEditCommands();
    void OnToolCommand(int toolCode, const QString& paneName, int penWidth, bool clearsLogoInRam);
    void OnSelectionToolCommand(int toolCode, const QString& paneName);
    void OnUserPixelSize();
    void UpdateToolCheck(CCmdUI& cmdUI, int first, int second, bool disabledWhenMagnified) const;

    // ViewPaint.cpp
    void PaintImage(QPainter& painter, const QRect& exposed) const;
    void PaintMagnifier(QPainter& painter) const;
    void DrawGrid(QPainter& painter) const;
    CSurface& ScreenSurface();
    void RefreshSizePane();

    // ViewMagnifier.cpp
    void StartZoomBox(int factor, int side);
    void MoveZoomBox(const CPoint& client);
    // Takes the zoom box away without grabbing anything.
    void CancelZoomBox();
    void GrabZoomBox();
    void EnterMagnifier();
    void LeaveMagnifier();
    void ToggleMagnifierCell(const CPoint& client);

    // ViewImageCommands.cpp
    bool HasImage() const;
    void RunWholeImageOperation(void (CGlyphaneDoc::*operation)(DWORD, DWORD));

    // ViewSelection.cpp
    void BeginAreaSelect(const CPoint& point);
    void EndAreaSelect(bool accepted, const CRect& rect);
    void ClickWithSelection(const CPoint& point);
    void EndSelectionMove(const CRect& rect);
    void AbandonSelection();
    void ClearSelectionSource();
    void DrawFloatingImage(QPainter& painter) const;

    // ViewClipboard.cpp
    bool RefuseForColouredLogo();
    void CopyRectToClipboard(const CRect& rect);
    // Cut and Copy: the selection (or a pasted picture not yet put down) to the clipboard.
    void MoveSelectionToClipboard(bool cut);
    static void EmptyClipboard();
    static QImage ClipboardBitmap();
    // A picture from elsewhere, in the surface format and, for a black-and-
    // white logo, reduced to black and white.
    QImage PreparePastedImage(const QImage& picture) const;

    // ViewText.cpp
    void BeginTextBox(const CPoint& point);
    void OpenTextBox(bool accepted, const CRect& rect);
    void ClickWithTextBox(const CPoint& point);
    void CommitTextBox(bool byClick);
    void StampTextBox();
    QImage RenderTextBox() const;
    void PlaceTextBoxWidget();

    // ViewMouse.cpp
    void TakeUndoCopy();
    void BeginStroke(const CPoint& point);
    void ContinueStroke(const CPoint& point);
    void EndStroke(const CPoint& point);
    void ShapeClick(const CPoint& point);
    void DrawShapeIntoImage(const CPoint& end);
    void DrawRubberBand(const CPoint& end);

    CGlyphaneDoc* m_pDoc;
    CCommandMap m_commands;
    // What the screen shows while a stroke or a rubber band is drawn on it
    // but not (yet) in the image; dropped by any redraw, as a repaint from
    // the image would erase it.
    CSurface m_dcScreen;
    bool m_bScreenDirty = false;
    // The block a selection move or a paste carries: shown over the image at
    // the selection's top-left until it is put down.
    QImage m_imgFloating;
    bool m_bShowFloating = false;
};
