#pragma once
// The tools of one logo window, one object per tool code, and what the
// freehand and the shape tools have under way. A code no tool has (none is
// set by this program) finds a tool that does nothing and keeps the cursor.
#include "view/tools/ShapeTool.h"
#include "view/tools/StrokeTool.h"

#include <memory>
#include <vector>

class CFillTool;
class CTool;
class IToolHost;

class CToolSet {
public:
    explicit CToolSet(IToolHost& host);
    ~CToolSet();
    CToolSet(const CToolSet&) = delete;
    CToolSet& operator=(const CToolSet&) = delete;

    CTool& For(int toolCode) const;
    CFillTool& Fill() { return *m_fill; }

    // The screen copy was dropped: a rubber band on it went with it.
    void ScreenDropped() { m_shape.last = CPoint(); }
    // The window goes: the stroke under way is the document's.
    void ForgetStroke() { m_stroke.stroke = nullptr; }

    const CStroke* CurrentStroke() const { return m_stroke.stroke; }
    CPoint ShapeStart() const { return m_shape.start; }
    bool IsShapePending() const { return m_shape.pending; }

private:
    CStrokeDraft m_stroke;
    CShapeDraft m_shape;
    std::vector<std::unique_ptr<CTool>> m_tools;
    CFillTool* m_fill = nullptr;
    std::unique_ptr<CTool> m_unknown;
};
