#include "view/tools/PointerTool.h"

#include "view/ViewCursors.h"
#include "view/tools/ToolCodes.h"
#include "view/tools/ToolHost.h"

CPointerTool::CPointerTool(IToolHost& host)
    : CTool(host, tool::None, QStringLiteral("None"))
{
}

void CPointerTool::Choose()
{
    Host().CommitPendingState();
    Host().SetTool(Code(), PaneName());
}

UINT CPointerTool::CursorId() const
{
    return viewcursor::IDC_POINTER;
}
