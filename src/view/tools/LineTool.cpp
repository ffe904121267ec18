#include "view/tools/LineTool.h"

#include "view/tools/ToolCodes.h"

CLineTool::CLineTool(IToolHost& host, CShapeDraft& draft)
    : CShapeTool(host, draft, tool::Line, QStringLiteral("Line"))
{
}

void CLineTool::Outline(CSurface& surface, const CPoint& from, const CPoint& to) const
{
    surface.MoveTo(from);
    surface.LineTo(to);
}

void CLineTool::DrawFinal(CSurface& image, const CPoint& from, const CPoint& to) const
{
    Outline(image, from, to);
}

int CLineTool::RubberBandRop() const
{
    return R2_NOT;
}
