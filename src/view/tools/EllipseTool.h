#pragma once
// The ellipse: the ellipse inside the rectangle of the two clicks.
#include "view/tools/ShapeTool.h"

class CEllipseTool final : public CShapeTool {
public:
    CEllipseTool(IToolHost& host, CShapeDraft& draft);

protected:
    void Outline(CSurface& surface, const CPoint& from, const CPoint& to) const override;
};
