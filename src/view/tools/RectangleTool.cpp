#include "view/tools/RectangleTool.h"

#include "view/tools/ToolCodes.h"

CRectangleTool::CRectangleTool(IToolHost& host, CShapeDraft& draft)
    : CShapeTool(host, draft, tool::Rectangle, QStringLiteral("Rectangle"))
{
}

void CRectangleTool::Outline(CSurface& surface, const CPoint& from, const CPoint& to) const
{
    surface.Rectangle(CRect(from, to));
}
