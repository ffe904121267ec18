#pragma once
// The area tool: a rubber band that becomes the selection.
#include "view/tools/Tool.h"

class CSelectAreaTool final : public CTool {
public:
    explicit CSelectAreaTool(IToolHost& host);

    void Choose() override;
    void Press(const CPoint& client) override;
    void Paint(QPainter& painter) const override;
    void Commit() override;
    UINT CursorId() const override;
};
