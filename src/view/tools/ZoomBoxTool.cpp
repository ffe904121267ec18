#include "view/tools/ZoomBoxTool.h"

#include "view/ViewCursors.h"
#include "view/ViewMagnifier.h"
#include "view/tools/ToolCodes.h"
#include "view/tools/ToolHost.h"

CZoomBoxTool::CZoomBoxTool(IToolHost& host)
    : CTool(host, tool::ZoomBox, QStringLiteral("Zoom"))
{
}

void CZoomBoxTool::Press(const CPoint& client)
{
    CViewMagnifier& magnifier = Host().Magnifier();
    magnifier.MoveZoomBox(client);
    magnifier.GrabZoomBox();
}

void CZoomBoxTool::Move(const CPoint& client)
{
    Host().Magnifier().MoveZoomBox(client);
}

bool CZoomBoxTool::RightPress(const CPoint& /*client*/)
{
    // Taken away as Escape would.
    Host().Magnifier().CancelZoomBox();
    return true;
}

void CZoomBoxTool::PaintUnderFloating(QPainter& painter) const
{
    Host().Magnifier().DrawZoomBox(painter);
}

UINT CZoomBoxTool::CursorId() const
{
    return viewcursor::IDC_ZOOM;
}
