#include "view/tools/EllipseTool.h"

#include "view/tools/ToolCodes.h"

CEllipseTool::CEllipseTool(IToolHost& host, CShapeDraft& draft)
    : CShapeTool(host, draft, tool::Ellipse, QStringLiteral("Ellipse"))
{
}

void CEllipseTool::Outline(CSurface& surface, const CPoint& from, const CPoint& to) const
{
    surface.Ellipse(CRect(from, to));
}
