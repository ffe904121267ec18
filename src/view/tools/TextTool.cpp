#include "view/tools/TextTool.h"

#include "view/ViewCursors.h"
#include "view/ViewSelection.h"
#include "view/ViewTextBox.h"
#include "view/tools/ToolCodes.h"
#include "view/tools/ToolHost.h"

CTextTool::CTextTool(IToolHost& host)
    : CTool(host, tool::Text, QStringLiteral("Text"))
{
}

void CTextTool::Choose()
{
    ChooseWithEmptySelection();
}

void CTextTool::Press(const CPoint& client)
{
    Host().Text().BeginTextBox(ClientToImage(client));
}

void CTextTool::Paint(QPainter& painter) const
{
    // The rubber band only; the open box has an outline of its own.
    const CViewSelection& selection = Host().Selection();
    if (selection.Tracker().IsTracking())
        selection.Draw(painter);
}

UINT CTextTool::CursorId() const
{
    return viewcursor::IDC_CROSS;
}
