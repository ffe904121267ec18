#pragma once
// A text box open: typing goes to the box, a press outside it stamps it
// into the image, and the box follows the scrolling.
#include "view/tools/Tool.h"

class CTextBoxTool final : public CTool {
public:
    explicit CTextBoxTool(IToolHost& host);

    bool TakesUndoCopy() const override { return false; }
    void Press(const CPoint& client) override;
    void Scrolled(bool vertical) override;
    UINT CursorId() const override;
};
