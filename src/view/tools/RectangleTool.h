#pragma once
// The rectangle: its corners at the two clicks.
#include "view/tools/ShapeTool.h"

class CRectangleTool final : public CShapeTool {
public:
    CRectangleTool(IToolHost& host, CShapeDraft& draft);

protected:
    void Outline(CSurface& surface, const CPoint& from, const CPoint& to) const override;
};
