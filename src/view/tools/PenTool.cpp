#include "view/tools/PenTool.h"

#include "view/ViewCursors.h"
#include "view/ViewMagnifier.h"
#include "view/tools/ToolCodes.h"
#include "view/tools/ToolHost.h"

CPenTool::CPenTool(IToolHost& host, CStrokeDraft& draft)
    : CStrokeTool(host, draft, tool::Pen, QStringLiteral("Pen"), viewcursor::IDC_PEN, 1)
{
}

void CPenTool::Press(const CPoint& client)
{
    CViewMagnifier& magnifier = Host().Magnifier();
    if (magnifier.IsMagnified())
        magnifier.ToggleCell(ClientToImage(client));
    else
        CStrokeTool::Press(client);
}
