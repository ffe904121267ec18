#pragma once
// The eraser: a white stroke ten pixels wide to start with (the document's
// pen turns white with the tool).
#include "view/ViewCursors.h"
#include "view/tools/StrokeTool.h"
#include "view/tools/ToolCodes.h"

class CEraserTool final : public CStrokeTool {
public:
    CEraserTool(IToolHost& host, CStrokeDraft& draft)
        : CStrokeTool(host, draft, tool::Eraser, QStringLiteral("Eraser"), viewcursor::IDC_ERASER, 10)
    {
    }
};
