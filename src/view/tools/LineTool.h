#pragma once
// The line: from the first click to the second.
#include "view/tools/ShapeTool.h"

class CLineTool final : public CShapeTool {
public:
    CLineTool(IToolHost& host, CShapeDraft& draft);

protected:
    void Outline(CSurface& surface, const CPoint& from, const CPoint& to) const override;
    // A line has no inside: only the pen is drawn.
    void DrawFinal(CSurface& image, const CPoint& from, const CPoint& to) const override;
    int RubberBandRop() const override;
};
