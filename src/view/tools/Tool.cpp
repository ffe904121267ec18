#include "view/tools/Tool.h"

#include "document/GlyphaneDoc.h"
#include "view/EditingWindow.h"
#include "view/ViewCursors.h"
#include "view/ViewSelection.h"
#include "view/ViewTextBox.h"
#include "view/tools/ToolCodes.h"
#include "view/tools/ToolHost.h"

#include <QCursor>

void CTool::Choose()
{
    ChooseDrawing(0);
}

void CTool::ChooseDrawing(int penWidth)
{
    m_host.CommitPendingState();
    m_host.Doc()->SetDrawMode(m_code);
    // The pen colour follows the tool, so the width is set after the tool.
    if (penWidth > 0)
        m_host.Doc()->SetPenWidth(penWidth);
    m_host.ShowToolPane(m_paneName);
    m_host.Window().ClearLogoInRam();
}

void CTool::ChooseWithEmptySelection()
{
    m_host.CommitPendingState();
    m_host.Doc()->SetDrawMode(m_code);
    m_host.ShowToolPane(m_paneName);
    m_host.Selection().StartEmpty();
}

bool CTool::Key(int ch)
{
    if (ch != 27)
        return false;
    Cancel();
    return true;
}

bool CTool::CursorFor(const CPoint& /*client*/, QCursor& cursor) const
{
    const UINT id = CursorId();
    if (id == 0)
        return false;
    cursor = viewcursor::LoadCursor(id);
    return true;
}

void CTool::Commit()
{
    // A text box left open when the tool changed is stamped as it is.
    m_host.Text().CommitTextBox(false);
}

void CTool::Cancel()
{
    CRectTracker& tracker = m_host.Selection().Tracker();
    if (tracker.IsTracking())
        tracker.Cancel();
    m_host.SetTool(tool::None, QStringLiteral("None"));
    // What was drawn on the screen only goes with the tool.
    m_host.InvalidateAll();
}

CPoint CTool::ClientToImage(const CPoint& client) const
{
    return m_host.Window().ClientToImage(client);
}
