#include "view/tools/SelectionTool.h"

#include "view/EditingWindow.h"
#include "view/ViewCursors.h"
#include "view/ViewSelection.h"
#include "view/ViewTextBox.h"
#include "view/tools/ToolCodes.h"
#include "view/tools/ToolHost.h"

CSelectionTool::CSelectionTool(IToolHost& host)
    : CTool(host, tool::SelectionPresent, QStringLiteral("Selection"))
{
}

void CSelectionTool::Press(const CPoint& client)
{
    Host().Selection().ClickWithSelection(ClientToImage(client));
}

bool CSelectionTool::CursorFor(const CPoint& client, QCursor& cursor) const
{
    CRectTracker onScreen = Host().Selection().Tracker();
    onScreen.m_rect.OffsetRect(CPoint() - Host().Window().ScrollPosition());
    if (onScreen.CursorFor(client, cursor))
        return true;
    return CTool::CursorFor(client, cursor);
}

void CSelectionTool::Paint(QPainter& painter) const
{
    Host().Selection().Draw(painter);
}

void CSelectionTool::Scrolled(bool vertical)
{
    Host().Text().FollowScroll(vertical, false);
}

void CSelectionTool::Commit()
{
    Host().Selection().Commit();
}

UINT CSelectionTool::CursorId() const
{
    // Beside the selection; its move and resize cursors come from the tracker.
    return viewcursor::IDC_POINTER;
}
