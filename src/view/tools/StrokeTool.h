#pragma once
// The freehand tools (pen, brush, eraser): a stroke of the document's pen
// from press to release, drawn on the screen while the mouse moves and into
// the image at the release.
#include "view/tools/Tool.h"

class CStroke;

// The stroke under way, shared by the freehand tools.
struct CStrokeDraft {
    CStroke* stroke = nullptr;
    CPoint last;
};

class CStrokeTool : public CTool {
public:
    CStrokeTool(IToolHost& host, CStrokeDraft& draft, int code, const QString& paneName, UINT cursorId,
                int penWidth);

    void Choose() override;
    void Press(const CPoint& client) override;
    void Move(const CPoint& client) override;
    void Release(const CPoint& client) override;
    bool UsesPenSize() const override { return true; }
    UINT CursorId() const override { return m_cursorId; }

private:
    bool StrokeUnderWay() const;
    void BeginStroke(const CPoint& point);
    void ContinueStroke(const CPoint& point);
    void EndStroke(const CPoint& point);

    CStrokeDraft& m_draft;
    UINT m_cursorId;
    int m_penWidth;
};
