#pragma once
// The fill tool: a click floods the clicked colour with the opposite solid
// colour or with the chosen 8 x 8 pattern, and the pattern commands.
#include "platform/CommandRouter.h"
#include "view/tools/Tool.h"

class CFillTool final : public CTool {
public:
    explicit CFillTool(IToolHost& host);

    void MapCommands(CCommandMap& commands);
    // The pattern command of the given number: chosen, or given up when it
    // is the chosen one.
    void OnPatternCommand(int number);
    // 0: the solid opposite colour.
    int FillPattern() const { return m_nFillPattern; }

    void Press(const CPoint& client) override;
    UINT CursorId() const override;

private:
    void FillClick(const CPoint& point);

    int m_nFillPattern = 0;
};
