#include "view/tools/ShapeTool.h"

#include "document/GlyphaneDoc.h"
#include "view/EditingSurfaces.h"
#include "view/ViewCursors.h"
#include "view/tools/ToolHost.h"

namespace {

bool BothAtLeastOne(const CPoint& p)
{
    return p.x >= 1 && p.y >= 1;
}

} // namespace

CShapeTool::CShapeTool(IToolHost& host, CShapeDraft& draft, int code, const QString& paneName)
    : CTool(host, code, paneName)
    , m_draft(draft)
{
}

UINT CShapeTool::CursorId() const
{
    return viewcursor::IDC_CROSS;
}

void CShapeTool::Press(const CPoint& client)
{
    ShapeClick(ClientToImage(client));
}

void CShapeTool::Move(const CPoint& client)
{
    if (BothAtLeastOne(m_draft.start))
        DrawRubberBand(ClientToImage(client));
}

void CShapeTool::Commit()
{
    m_draft.start = m_draft.last = CPoint();
    m_draft.pending = false;
    Host().Doc()->SetPenWidth(1);
    // The rubber band was on the screen only.
    Host().InvalidateAll();
}

void CShapeTool::ShapeClick(const CPoint& point)
{
    if (!m_draft.pending) {
        Host().Doc()->SetModifiedFlag();
        m_draft.start = point;
        m_draft.pending = true;
        return;
    }
    DrawShapeIntoImage(point);
    m_draft.start = m_draft.last = CPoint();
    m_draft.pending = false;
    Host().InvalidateAll();
    Host().Doc()->UpdateAllViews();
}

void CShapeTool::DrawShapeIntoImage(const CPoint& end)
{
    CSurface& image = Host().Surfaces().Image();
    const CPen previousPen = image.SelectPen(Host().Doc()->GetPenWidth(), RGB(0, 0, 0));
    DrawFinal(image, m_draft.start, end);
    image.SelectPen(previousPen);
}

void CShapeTool::DrawFinal(CSurface& image, const CPoint& from, const CPoint& to) const
{
    // Pen AND destination: the black outline lands, and the white brush
    // leaves the inside as it was.
    const CBrush previousBrush = image.SelectSolidBrush(RGB(255, 255, 255));
    const int previousRop = image.SetROP2(R2_MASKPEN);
    Outline(image, from, to);
    image.SetROP2(previousRop);
    image.SelectBrush(previousBrush);
}

int CShapeTool::RubberBandRop() const
{
    return R2_NOTXORPEN;
}

void CShapeTool::DrawRubberBand(const CPoint& end)
{
    CGlyphaneDoc* doc = Host().Doc();
    CSurface& screen = Host().Surfaces().Screen();
    const CPen previousPen = screen.SelectPen(doc->GetPen().width, doc->GetPen().color);
    const CBrush previousBrush = screen.SelectSolidBrush(RGB(255, 255, 255));
    const int previousRop = screen.SetROP2(RubberBandRop());
    // Drawing the previous band again takes it away.
    if (BothAtLeastOne(m_draft.last))
        Outline(screen, m_draft.start, m_draft.last);
    Outline(screen, m_draft.start, end);
    screen.SetROP2(previousRop);
    screen.SelectBrush(previousBrush);
    screen.SelectPen(previousPen);
    m_draft.last = end;
    Host().UpdateViewport();
}
