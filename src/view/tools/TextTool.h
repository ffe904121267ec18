#pragma once
// The text tool: a rubber band that opens a text box where it ends.
#include "view/tools/Tool.h"

class CTextTool final : public CTool {
public:
    explicit CTextTool(IToolHost& host);

    void Choose() override;
    void Press(const CPoint& client) override;
    void Paint(QPainter& painter) const override;
    UINT CursorId() const override;
};
