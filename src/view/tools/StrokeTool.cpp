#include "view/tools/StrokeTool.h"

#include "document/GlyphaneDoc.h"
#include "view/EditingSurfaces.h"
#include "view/EditingWindow.h"
#include "view/tools/ToolHost.h"

CStrokeTool::CStrokeTool(IToolHost& host, CStrokeDraft& draft, int code, const QString& paneName, UINT cursorId,
                         int penWidth)
    : CTool(host, code, paneName)
    , m_draft(draft)
    , m_cursorId(cursorId)
    , m_penWidth(penWidth)
{
}

void CStrokeTool::Choose()
{
    ChooseDrawing(m_penWidth);
}

void CStrokeTool::Press(const CPoint& client)
{
    BeginStroke(ClientToImage(client));
}

void CStrokeTool::Move(const CPoint& client)
{
    if (StrokeUnderWay())
        ContinueStroke(ClientToImage(client));
}

void CStrokeTool::Release(const CPoint& client)
{
    if (StrokeUnderWay())
        EndStroke(ClientToImage(client));
}

bool CStrokeTool::StrokeUnderWay() const
{
    return Host().Window().HoldsMouseCapture() && m_draft.stroke;
}

void CStrokeTool::BeginStroke(const CPoint& point)
{
    CGlyphaneDoc* doc = Host().Doc();
    doc->SetModifiedFlag();
    m_draft.stroke = doc->AddStroke();
    m_draft.stroke->AddPoint(point);
    Host().Window().SetMouseCapture(true);
    m_draft.last = point;
}

void CStrokeTool::ContinueStroke(const CPoint& point)
{
    CGlyphaneDoc* doc = Host().Doc();
    m_draft.stroke->AddPoint(point);
    CSurface& screen = Host().Surfaces().Screen();
    const CPen previous = screen.SelectPen(doc->GetPen().width, doc->GetPen().color);
    screen.MoveTo(m_draft.last);
    screen.LineTo(point);
    screen.SelectPen(previous);
    m_draft.last = point;
    Host().UpdateViewport();
}

void CStrokeTool::EndStroke(const CPoint& point)
{
    CStroke* stroke = m_draft.stroke;
    stroke->AddPoint(point);
    stroke->FinishStroke();
    stroke->DrawStroke(Host().Surfaces().Image());
    Host().OnUpdate(stroke);
    Host().Window().SetMouseCapture(false);
    // The stroke belongs to the document, which may delete it.
    m_draft.stroke = nullptr;
}
