#include "view/tools/SelectAreaTool.h"

#include "view/ViewCursors.h"
#include "view/ViewSelection.h"
#include "view/tools/ToolCodes.h"
#include "view/tools/ToolHost.h"

CSelectAreaTool::CSelectAreaTool(IToolHost& host)
    : CTool(host, tool::SelectArea, QStringLiteral("Selection"))
{
}

void CSelectAreaTool::Choose()
{
    ChooseWithEmptySelection();
}

void CSelectAreaTool::Press(const CPoint& client)
{
    Host().Selection().BeginAreaSelect(ClientToImage(client));
}

void CSelectAreaTool::Paint(QPainter& painter) const
{
    Host().Selection().Draw(painter);
}

void CSelectAreaTool::Commit()
{
    Host().Selection().Commit();
}

UINT CSelectAreaTool::CursorId() const
{
    return viewcursor::IDC_CROSS;
}
