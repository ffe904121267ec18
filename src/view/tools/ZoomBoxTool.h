#pragma once
// The zoom box of the magnifier: it follows the mouse, a press grabs what
// it covers into the magnified cells, the right button takes it away.
#include "view/tools/Tool.h"

class CZoomBoxTool final : public CTool {
public:
    explicit CZoomBoxTool(IToolHost& host);

    bool TakesUndoCopy() const override { return false; }
    void Press(const CPoint& client) override;
    void Move(const CPoint& client) override;
    bool RightPress(const CPoint& /*client*/) override;
    void PaintUnderFloating(QPainter& painter) const override;
    UINT CursorId() const override;
};
