#pragma once
// A selection (or a pasted picture) present: a press on it moves or resizes
// it, a press beside it gives it up; the cursor shows the tracker's handles.
#include "view/tools/Tool.h"

class CSelectionTool final : public CTool {
public:
    explicit CSelectionTool(IToolHost& host);

    bool TakesUndoCopy() const override { return false; }
    void Press(const CPoint& client) override;
    bool CursorFor(const CPoint& client, QCursor& cursor) const override;
    void Paint(QPainter& painter) const override;
    void Scrolled(bool vertical) override;
    void Commit() override;
    UINT CursorId() const override;
};
