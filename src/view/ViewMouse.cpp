// Mouse and key input of the editing role: the position pane, the selection
// tracker while it tracks, and the rest to the tool in use.
#include "view/ViewEditing.h"

#include "document/GlyphaneDoc.h"
#include "printer/ViewPanes.h"
#include "view/ViewHost.h"
#include "view/tools/Tool.h"

#include <QWidget>

void CViewEditing::OnLButtonDown(const CPoint& client)
{
    CTool& tool = ToolInUse();
    if (tool.TakesUndoCopy())
        m_surfaces.TakeUndoCopy();
    tool.Press(client);
}

void CViewEditing::OnLButtonDblClk(const CPoint& client)
{
    CTool& tool = ToolInUse();
    if (tool.TakesUndoCopy())
        m_surfaces.TakeUndoCopy();
    tool.DoubleClick(client);
}

void CViewEditing::OnMouseMove(const CPoint& client)
{
    if (m_pDoc->Picture().GetLogoBitmap()) {
        const QWidget* viewport = EditingViewport();
        CRect inner = viewport ? CRect::FromQRect(viewport->rect()) : CRect();
        inner.DeflateRect(2, 2);
        const CPoint shown = inner.PtInRect(client) ? ClientToImage(client) : CPoint(-1, -1);
        viewpanes::SetPositionPane(EditingHost(), shown.x, shown.y);
    }
    CRectTracker& tracker = m_selection.Tracker();
    if (tracker.IsTracking()) {
        tracker.TrackMove(ClientToImage(client));
        UpdateViewport();
        return;
    }
    ToolInUse().Move(client);
}

void CViewEditing::OnLButtonUp(const CPoint& client)
{
    CRectTracker& tracker = m_selection.Tracker();
    if (tracker.IsTracking()) {
        tracker.TrackEnd(ClientToImage(client));
        return;
    }
    ToolInUse().Release(client);
}

bool CViewEditing::OnChar(int ch)
{
    return ToolInUse().Key(ch);
}

bool CViewEditing::CursorForPoint(const CPoint& client, QCursor& cursor) const
{
    return ToolInUse().CursorFor(client, cursor);
}

void CViewEditing::OnScrollWithTracker(bool vertical)
{
    ToolInUse().Scrolled(vertical);
}
