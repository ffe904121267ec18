#pragma once
// Pointer mode: no tool. A press does nothing and takes no undo copy.
#include "view/tools/Tool.h"

class CPointerTool final : public CTool {
public:
    explicit CPointerTool(IToolHost& host);

    // The pending state committed, no tool, and the pane says so.
    void Choose() override;
    bool TakesUndoCopy() const override { return false; }
    UINT CursorId() const override;
};
