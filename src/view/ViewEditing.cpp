#include "view/ViewEditing.h"

#include "dialogs/PixelSizeDlg.h"
#include "document/GlyphaneDoc.h"
#include "resources/CommandIds.h"
#include "view/ViewPanes.h"

CViewEditing::CViewEditing(CGlyphaneDoc* doc)
    : m_pDoc(doc)
{
    MapEditingCommands();
}

CViewEditing::~CViewEditing() = default;

void CViewEditing::MapEditingCommands()
{
    MapToolCommands();
    MapSizeCommands();
    MapMagnifierCommands();
    MapFileCommands();
    MapImageCommands();
    MapSendOptionCommands();
    MapPatternCommands();
    MapEditCommands();
}

void CViewEditing::MapToolCommands()
{
    auto& c = m_commands;
    c.MapCommand(ID_TOOL_POINTER, [this] { DropTool(); });
    c.MapCommand(ID_TOOL_PEN, [this] { OnToolCommand(tool::Pen, QStringLiteral("Pen"), 1, true); });
    c.MapCommand(ID_TOOL_BRUSH, [this] { OnToolCommand(tool::Brush, QStringLiteral("Brush"), 5, true); });
    c.MapCommand(ID_TOOL_ERASER, [this] { OnToolCommand(tool::Eraser, QStringLiteral("Eraser"), 10, true); });
    c.MapCommand(ID_TOOL_FILL, [this] { OnToolCommand(tool::Fill, QStringLiteral("Fill Area"), 0, true); });
    c.MapCommand(ID_TOOL_LINE, [this] { OnToolCommand(tool::Line, QStringLiteral("Line"), 0, true); });
    c.MapCommand(ID_TOOL_RECTANGLE,
                 [this] { OnToolCommand(tool::Rectangle, QStringLiteral("Rectangle"), 0, true); });
    c.MapCommand(ID_TOOL_ELLIPSE, [this] { OnToolCommand(tool::Ellipse, QStringLiteral("Ellipse"), 0, true); });
    c.MapCommand(ID_TOOL_SELECT_AREA,
                 [this] { OnSelectionToolCommand(tool::SelectArea, QStringLiteral("Selection")); });
    c.MapCommand(ID_TOOL_TEXT, [this] { OnSelectionToolCommand(tool::Text, QStringLiteral("Text")); });

    c.MapUpdate(ID_TOOL_POINTER, [this](CCmdUI& ui) { UpdateToolCheck(ui, tool::None, tool::None, false); });
    c.MapUpdate(ID_TOOL_PEN, [this](CCmdUI& ui) { UpdateToolCheck(ui, tool::Pen, tool::Pen, false); });
    const struct {
        UINT id;
        int first;
        int second;
    } rules[] = {
        {ID_TOOL_BRUSH, tool::Brush, tool::Brush},
        {ID_TOOL_ERASER, tool::Eraser, tool::Eraser},
        {ID_TOOL_SELECT_AREA, tool::SelectArea, tool::SelectionPresent},
        {ID_TOOL_TEXT, tool::TextBoxOpen, tool::Text},
        {ID_TOOL_FILL, tool::Fill, tool::Fill},
        {ID_TOOL_LINE, tool::Line, tool::Line},
        {ID_TOOL_RECTANGLE, tool::Rectangle, tool::Rectangle},
        {ID_TOOL_ELLIPSE, tool::Ellipse, tool::Ellipse},
    };
    for (const auto& rule : rules) {
        c.MapUpdate(rule.id, [this, rule](CCmdUI& ui) { UpdateToolCheck(ui, rule.first, rule.second, true); });
    }
}

void CViewEditing::MapSizeCommands()
{
    const struct {
        UINT id;
        int width;
    } sizes[] = {{ID_SIZE_2, 2}, {ID_SIZE_3, 3}, {ID_SIZE_5, 5}, {ID_SIZE_7, 7}};
    for (const auto& size : sizes)
        m_commands.MapCommand(size.id, [this, size] { m_pDoc->SetPenWidth(size.width); });
    m_commands.MapCommand(ID_SIZE_USER, [this] { OnUserPixelSize(); });
}

void CViewEditing::MapMagnifierCommands()
{
    auto& c = m_commands;
    c.MapCommand(ID_ZOOM_LARGE, [this] { OnZoomLarge(); });
    c.MapCommand(ID_ZOOM_CHOSEN, [this] { OnZoomChosen(); });
    c.MapCommand(ID_ZOOM_NORMAL, [this] { OnZoomNormal(); });
    c.MapCommand(ID_SHOW_GRID, [this] { OnShowGrid(); });
    c.MapUpdate(ID_ZOOM_LARGE, [this](CCmdUI& ui) { ui.Enable(!m_bMagnified); });
    c.MapUpdate(ID_ZOOM_CHOSEN, [this](CCmdUI& ui) { ui.Enable(!m_bMagnified); });
    c.MapUpdate(ID_ZOOM_NORMAL, [this](CCmdUI& ui) { ui.Enable(m_bMagnified); });
    c.MapUpdate(ID_SHOW_GRID, [this](CCmdUI& ui) { ui.Enable(m_bMagnified); });
}

void CViewEditing::MapFileCommands()
{
    auto& c = m_commands;
    // A coloured image must be converted before it can be saved, and the
    // magnified cells reach the image only when the magnifier is left.
    auto saveRule = [this](CCmdUI& ui) { ui.Enable(!m_bMagnified && m_pDoc->Binding().IsMonochrome()); };
    c.MapUpdate(ID_FILE_SAVE, saveRule);
    c.MapUpdate(ID_FILE_SAVE_AS, saveRule);
    c.MapUpdate(ID_FILE_CLOSE, [this](CCmdUI& ui) { ui.Enable(!m_bMagnified); });
    c.MapCommand(ID_FILE_LOAD_PSW, [this] { OnTransferLogoPsw(1); });
    c.MapCommand(ID_FILE_SAVE_PSW, [this] { OnTransferLogoPsw(0); });
    auto pswRule = [this](CCmdUI& ui) { ui.Enable(m_pDoc->Psw().PswCommandsEnabled()); };
    c.MapUpdate(ID_FILE_LOAD_PSW, pswRule);
    c.MapUpdate(ID_FILE_SAVE_PSW, pswRule);
    c.MapCommand(ID_FILE_PRINT, [this] { OnFilePrint(); });
    c.MapCommand(ID_FILE_PRINT_DIRECT, [this] { OnFilePrintDirect(); });
    c.MapCommand(ID_FILE_PRINT_PREVIEW, [this] { OnFilePrintPreview(); });
}

void CViewEditing::UpdateToolCheck(CCmdUI& cmdUI, int first, int second, bool disabledWhenMagnified) const
{
    if (disabledWhenMagnified && m_bMagnified) {
        cmdUI.Enable(false);
        return;
    }
    // Enabled in so many words: an action keeps whatever state it had otherwise.
    cmdUI.Enable(true);
    const int current = CurrentTool();
    cmdUI.SetCheck(current == first || current == second);
}

int CViewEditing::CurrentTool() const
{
    return m_pDoc->GetDrawMode();
}

void CViewEditing::SetTool(int toolCode, const QString& paneName)
{
    m_pDoc->SetDrawMode(toolCode);
    ShowToolPane(paneName);
}

void CViewEditing::DropTool()
{
    CommitPendingState();
    SetTool(tool::None, QStringLiteral("None"));
}

void CViewEditing::ShowToolPane(const QString& paneName)
{
    m_strToolPane = paneName;
    viewpanes::SetToolPane(paneName);
}

void CViewEditing::RefreshToolPane() const
{
    viewpanes::SetToolPane(m_strToolPane);
}

void CViewEditing::OnToolCommand(int toolCode, const QString& paneName, int penWidth, bool clearsLogoInRam)
{
    CommitPendingState();
    m_pDoc->SetDrawMode(toolCode);
    // The pen colour follows the tool, so the width is set after the tool.
    if (penWidth > 0)
        m_pDoc->SetPenWidth(penWidth);
    ShowToolPane(paneName);
    if (clearsLogoInRam)
        ClearLogoInRam();
}

void CViewEditing::OnSelectionToolCommand(int toolCode, const QString& paneName)
{
    CommitPendingState();
    m_pDoc->SetDrawMode(toolCode);
    m_trackerSel.m_nStyle |= CRectTracker::dottedLine;
    ShowToolPane(paneName);
    m_trackerSel.m_rect.SetRectEmpty();
}

void CViewEditing::CommitPendingState()
{
    switch (CurrentTool()) {
    case tool::SelectArea:
    case tool::SelectionPresent: {
        m_trackerSel.m_nStyle &= ~static_cast<UINT>(CRectTracker::dottedLine);
        // A pasted picture not yet put down goes with the selection.
        m_imgFloating = QImage();
        m_bShowFloating = false;
        m_bSelFromPaste = FALSE;
        if (m_bSelectAllShown) {
            InvalidateImageRect(m_trackerSel.m_rect);
            m_bSelectAllShown = FALSE;
        } else {
            CRect around = m_trackerSel.m_rect;
            around.InflateRect(1, 1);
            InvalidateImageRect(around);
        }
        break;
    }
    case tool::Line:
    case tool::Rectangle:
    case tool::Ellipse:
        m_ptShapeStart = m_ptShapeLast = CPoint();
        m_bShapePending = FALSE;
        m_pDoc->SetPenWidth(1);
        // The rubber band was on the screen only.
        InvalidateAll();
        break;
    default:
        if (m_pTextEdit)
            CommitTextBox(false);
        break;
    }
}

void CViewEditing::OnUserPixelSize()
{
    const int current = m_pDoc->GetPenWidth();
    CPixelSizeDlg dlg(EditingWindow(), static_cast<UINT>(current > 0 ? current : 1));
    int width = current;
    if (dlg.DoModal() == IDOK)
        width = static_cast<int>(dlg.GetValue());
    m_pDoc->SetPenWidth(width);
}

CRect CViewEditing::MagnifierCell(const CPoint& point) const
{
    const int f = m_nZoomFactor;
    const int x = f * (point.x / f);
    const int y = f * (point.y / f);
    return CRect(x, y, x + f, y + f);
}
