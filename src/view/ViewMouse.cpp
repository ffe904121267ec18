// Mouse and key input of the editing role: strokes of the pen, brush and
// eraser, the two-click shapes with their rubber bands, the magnifier pen,
// the zoom box, Esc and the cursor.
#include "view/ViewEditing.h"

#include "document/GlyphaneDoc.h"
#include "view/ViewCursors.h"
#include "view/ViewPanes.h"

#include <QWidget>

namespace {

bool IsStrokeTool(int code)
{
    return code == tool::Pen || code == tool::Brush || code == tool::Eraser;
}

bool IsShapeTool(int code)
{
    return code == tool::Line || code == tool::Rectangle || code == tool::Ellipse;
}

bool TakesUndoCopy(int code)
{
    return code != tool::None && code != tool::TextBoxOpen && code != tool::ZoomBox
        && code != tool::SelectionPresent;
}

bool BothAtLeastOne(const CPoint& p)
{
    return p.x >= 1 && p.y >= 1;
}

} // namespace

void CViewEditing::TakeUndoCopy()
{
    if (m_dcImage.IsNull())
        return;
    if (m_dcUndo.Attach(m_dcImage.image()))
        ++m_nUndoCount;
}

void CViewEditing::OnLButtonDown(const CPoint& client)
{
    const int code = CurrentTool();
    if (TakesUndoCopy(code))
        TakeUndoCopy();
    const CPoint point = ClientToImage(client);
    if (code == tool::Pen && m_bMagnified) {
        ToggleMagnifierCell(point);
    } else if (IsStrokeTool(code)) {
        BeginStroke(point);
    } else if (code == tool::ZoomBox) {
        MoveZoomBox(client);
        GrabZoomBox();
    } else if (IsShapeTool(code)) {
        ShapeClick(point);
    } else if (code == tool::SelectArea) {
        BeginAreaSelect(point);
    } else if (code == tool::SelectionPresent) {
        ClickWithSelection(point);
    } else if (code == tool::Text) {
        BeginTextBox(point);
    } else if (code == tool::TextBoxOpen) {
        ClickWithTextBox(point);
    } else if (code == tool::Fill) {
        FillClick(point);
    }
}

void CViewEditing::OnMouseMove(const CPoint& client)
{
    if (m_pDoc->Picture().GetLogoBitmap()) {
        const QWidget* viewport = EditingViewport();
        CRect inner = viewport ? CRect::FromQRect(viewport->rect()) : CRect();
        inner.DeflateRect(2, 2);
        const CPoint shown = inner.PtInRect(client) ? ClientToImage(client) : CPoint(-1, -1);
        viewpanes::SetPositionPane(shown.x, shown.y);
    }
    const int code = CurrentTool();
    const CPoint point = ClientToImage(client);
    if (m_trackerSel.IsTracking()) {
        m_trackerSel.TrackMove(point);
        if (QWidget* viewport = EditingViewport())
            viewport->update();
        return;
    }
    if (IsStrokeTool(code)) {
        if (HoldsMouseCapture() && m_pCurrentStroke)
            ContinueStroke(point);
    } else if (code == tool::ZoomBox) {
        MoveZoomBox(client);
    } else if (IsShapeTool(code) && BothAtLeastOne(m_ptShapeStart)) {
        DrawRubberBand(point);
    }
}

void CViewEditing::OnLButtonUp(const CPoint& client)
{
    if (m_trackerSel.IsTracking()) {
        m_trackerSel.TrackEnd(ClientToImage(client));
        return;
    }
    if (IsStrokeTool(CurrentTool()) && HoldsMouseCapture() && m_pCurrentStroke)
        EndStroke(ClientToImage(client));
}

bool CViewEditing::OnChar(int ch)
{
    if (ch != 27)
        return false;
    if (m_trackerSel.IsTracking())
        m_trackerSel.Cancel();
    SetTool(tool::None, QStringLiteral("None"));
    // What was drawn on the screen only goes with the tool.
    InvalidateAll();
    return true;
}

bool CViewEditing::CursorForPoint(const CPoint& client, QCursor& cursor) const
{
    const int code = CurrentTool();
    if (code == tool::SelectionPresent) {
        CRectTracker onScreen = m_trackerSel;
        onScreen.m_rect.OffsetRect(CPoint() - ScrollPosition());
        if (onScreen.CursorFor(client, cursor))
            return true;
    }
    const UINT id = viewcursor::CursorIdForTool(code);
    if (id == 0)
        return false;
    cursor = viewcursor::LoadCursor(id);
    return true;
}

void CViewEditing::BeginStroke(const CPoint& point)
{
    m_pDoc->SetModifiedFlag();
    m_pCurrentStroke = m_pDoc->AddStroke();
    m_pCurrentStroke->AddPoint(point);
    SetMouseCapture(true);
    m_ptStrokeLast = point;
}

void CViewEditing::ContinueStroke(const CPoint& point)
{
    m_pCurrentStroke->AddPoint(point);
    CSurface& screen = ScreenSurface();
    const CPen previous = screen.SelectPen(m_pDoc->GetPen().width, m_pDoc->GetPen().color);
    screen.MoveTo(m_ptStrokeLast);
    screen.LineTo(point);
    screen.SelectPen(previous);
    m_ptStrokeLast = point;
    if (QWidget* viewport = EditingViewport())
        viewport->update();
}

void CViewEditing::EndStroke(const CPoint& point)
{
    CStroke* stroke = m_pCurrentStroke;
    stroke->AddPoint(point);
    stroke->FinishStroke();
    stroke->DrawStroke(m_dcImage);
    OnUpdate(stroke);
    SetMouseCapture(false);
    // The stroke belongs to the document, which may delete it.
    m_pCurrentStroke = nullptr;
}

void CViewEditing::ShapeClick(const CPoint& point)
{
    if (!m_bShapePending) {
        m_pDoc->SetModifiedFlag();
        m_ptShapeStart = point;
        m_bShapePending = TRUE;
        return;
    }
    DrawShapeIntoImage(point);
    m_ptShapeStart = m_ptShapeLast = CPoint();
    m_bShapePending = FALSE;
    InvalidateAll();
    m_pDoc->UpdateAllViews();
}

void CViewEditing::DrawShapeIntoImage(const CPoint& end)
{
    const CPen previousPen = m_dcImage.SelectPen(m_pDoc->GetPenWidth(), RGB(0, 0, 0));
    if (CurrentTool() == tool::Line) {
        m_dcImage.MoveTo(m_ptShapeStart);
        m_dcImage.LineTo(end);
    } else {
        // Pen AND destination: the black outline lands, and the white brush
        // leaves the inside as it was.
        const CBrush previousBrush = m_dcImage.SelectSolidBrush(RGB(255, 255, 255));
        const int previousRop = m_dcImage.SetROP2(R2_MASKPEN);
        const CRect box(m_ptShapeStart, end);
        if (CurrentTool() == tool::Rectangle)
            m_dcImage.Rectangle(box);
        else
            m_dcImage.Ellipse(box);
        m_dcImage.SetROP2(previousRop);
        m_dcImage.SelectBrush(previousBrush);
    }
    m_dcImage.SelectPen(previousPen);
}

void CViewEditing::DrawRubberBand(const CPoint& end)
{
    CSurface& screen = ScreenSurface();
    const bool line = CurrentTool() == tool::Line;
    const CPen previousPen = screen.SelectPen(m_pDoc->GetPen().width, m_pDoc->GetPen().color);
    const CBrush previousBrush = screen.SelectSolidBrush(RGB(255, 255, 255));
    const int previousRop = screen.SetROP2(line ? R2_NOT : R2_NOTXORPEN);
    auto draw = [&](const CPoint& to) {
        if (line) {
            screen.MoveTo(m_ptShapeStart);
            screen.LineTo(to);
        } else if (CurrentTool() == tool::Rectangle) {
            screen.Rectangle(CRect(m_ptShapeStart, to));
        } else {
            screen.Ellipse(CRect(m_ptShapeStart, to));
        }
    };
    // Drawing the previous band again takes it away.
    if (BothAtLeastOne(m_ptShapeLast))
        draw(m_ptShapeLast);
    draw(end);
    screen.SetROP2(previousRop);
    screen.SelectBrush(previousBrush);
    screen.SelectPen(previousPen);
    m_ptShapeLast = end;
    if (QWidget* viewport = EditingViewport())
        viewport->update();
}
