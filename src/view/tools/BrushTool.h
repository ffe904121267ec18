#pragma once
// The brush: a stroke five pixels wide to start with.
#include "view/ViewCursors.h"
#include "view/tools/StrokeTool.h"
#include "view/tools/ToolCodes.h"

class CBrushTool final : public CStrokeTool {
public:
    CBrushTool(IToolHost& host, CStrokeDraft& draft)
        : CStrokeTool(host, draft, tool::Brush, QStringLiteral("Brush"), viewcursor::IDC_BRUSH, 5)
    {
    }
};
