#include "view/tools/ToolCommands.h"

#include "dialogs/PixelSizeDlg.h"
#include "document/GlyphaneDoc.h"
#include "resources/CommandIds.h"
#include "view/EditingWindow.h"
#include "view/ViewMagnifier.h"
#include "view/tools/Tool.h"
#include "view/tools/ToolCodes.h"
#include "view/tools/ToolHost.h"
#include "view/tools/ToolSet.h"

void CToolCommands::MapCommands(CCommandMap& commands)
{
    MapToolCommands(commands);
    MapSizeCommands(commands);
}

void CToolCommands::MapToolCommands(CCommandMap& commands)
{
    auto& c = commands;
    // The command, the tool it chooses, and the codes its check shows: the
    // area and text tools stay checked while what they made is present.
    const struct {
        UINT id;
        int code;
        int alsoChecked;
        bool disabledWhenMagnified;
    } tools[] = {
        {ID_TOOL_POINTER, tool::None, tool::None, false},
        {ID_TOOL_PEN, tool::Pen, tool::Pen, false},
        {ID_TOOL_BRUSH, tool::Brush, tool::Brush, true},
        {ID_TOOL_ERASER, tool::Eraser, tool::Eraser, true},
        {ID_TOOL_FILL, tool::Fill, tool::Fill, true},
        {ID_TOOL_LINE, tool::Line, tool::Line, true},
        {ID_TOOL_RECTANGLE, tool::Rectangle, tool::Rectangle, true},
        {ID_TOOL_ELLIPSE, tool::Ellipse, tool::Ellipse, true},
        {ID_TOOL_SELECT_AREA, tool::SelectArea, tool::SelectionPresent, true},
        {ID_TOOL_TEXT, tool::Text, tool::TextBoxOpen, true},
    };
    for (const auto& entry : tools) {
        c.MapCommand(entry.id, [this, code = entry.code] { ChooseTool(code); });
        c.MapUpdate(entry.id, [this, entry](CCmdUI& ui) {
            UpdateToolCheck(ui, entry.code, entry.alsoChecked, entry.disabledWhenMagnified);
        });
    }
}

void CToolCommands::MapSizeCommands(CCommandMap& commands)
{
    auto& c = commands;
    const struct {
        UINT id;
        int width;
    } sizes[] = {{ID_SIZE_2, 2}, {ID_SIZE_3, 3}, {ID_SIZE_5, 5}, {ID_SIZE_7, 7}};
    for (const auto& size : sizes)
        c.MapCommand(size.id, [this, size] { m_host.Doc()->SetPenWidth(size.width); });
    c.MapCommand(ID_SIZE_USER, [this] { OnUserPixelSize(); });
}

void CToolCommands::ChooseTool(int toolCode)
{
    m_host.Tools().For(toolCode).Choose();
}

void CToolCommands::UpdateToolCheck(CCmdUI& cmdUI, int first, int second, bool disabledWhenMagnified) const
{
    if (disabledWhenMagnified && m_host.Magnifier().IsMagnified()) {
        cmdUI.Enable(false);
        return;
    }
    // Enabled in so many words: an action keeps whatever state it had otherwise.
    cmdUI.Enable(true);
    const int current = m_host.CurrentTool();
    cmdUI.SetCheck(current == first || current == second);
}

void CToolCommands::OnUserPixelSize()
{
    const int current = m_host.Doc()->GetPenWidth();
    CPixelSizeDlg dlg(m_host.Window().EditingWindow(), static_cast<UINT>(current > 0 ? current : 1));
    int width = current;
    if (dlg.DoModal() == IDOK)
        width = static_cast<int>(dlg.GetValue());
    m_host.Doc()->SetPenWidth(width);
}
