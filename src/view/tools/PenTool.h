#pragma once
// The pen: a one-pixel stroke, or in the magnifier a click that turns a cell
// black or white.
#include "view/tools/StrokeTool.h"

class CPenTool final : public CStrokeTool {
public:
    CPenTool(IToolHost& host, CStrokeDraft& draft);

    void Press(const CPoint& client) override;
    // The pen has its one width; the sizes are not offered with it.
    bool UsesPenSize() const override { return false; }
};
