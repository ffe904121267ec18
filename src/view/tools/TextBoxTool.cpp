#include "view/tools/TextBoxTool.h"

#include "view/ViewCursors.h"
#include "view/ViewTextBox.h"
#include "view/tools/ToolCodes.h"
#include "view/tools/ToolHost.h"

CTextBoxTool::CTextBoxTool(IToolHost& host)
    : CTool(host, tool::TextBoxOpen, QStringLiteral("Text"))
{
}

void CTextBoxTool::Press(const CPoint& client)
{
    Host().Text().ClickWithTextBox(ClientToImage(client));
}

void CTextBoxTool::Scrolled(bool vertical)
{
    Host().Text().FollowScroll(vertical, true);
}

UINT CTextBoxTool::CursorId() const
{
    return viewcursor::IDC_POINTER;
}
