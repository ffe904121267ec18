// The fill tool's patterns and the fill click: a surface flood fill of the
// clicked colour with the opposite solid colour or an 8 x 8 pattern that is
// anchored at the image origin.
#include "view/tools/FillTool.h"

#include "document/GlyphaneDoc.h"
#include "resources/CommandIds.h"
#include "resources/FillPatterns.h"
#include "view/EditingSurfaces.h"
#include "view/EditingWindow.h"
#include "view/ViewCursors.h"
#include "view/ViewHost.h"
#include "view/tools/ToolCodes.h"
#include "view/tools/ToolHost.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

} // namespace

void CFillTool::MapCommands(CCommandMap& commands)
{
    commands.MapCommandRange(ID_PATTERN_FIRST, ID_PATTERN_LAST, [this](UINT id) {
        OnPatternCommand(static_cast<int>(id - ID_PATTERN_FIRST) + 1);
    });
    commands.MapUpdateRange(ID_PATTERN_FIRST, ID_PATTERN_LAST, [this](CCmdUI& ui) {
        // The choice is kept while another tool is in use; it only shows and
        // changes with the fill tool.
        const bool fill = Host().CurrentTool() == tool::Fill;
        ui.Enable(fill);
        if (fill)
            ui.SetCheck(m_nFillPattern == static_cast<int>(ui.m_nID - ID_PATTERN_FIRST) + 1 ? 1 : 0);
    });
}

CFillTool::CFillTool(IToolHost& host)
    : CTool(host, tool::Fill, QStringLiteral("Fill Area"))
{
}

UINT CFillTool::CursorId() const
{
    return viewcursor::IDC_FILL;
}

void CFillTool::Press(const CPoint& client)
{
    FillClick(ClientToImage(client));
}

void CFillTool::OnPatternCommand(int number)
{
    m_nFillPattern = m_nFillPattern == number ? 0 : number;
    if (number == 1) {
        if (CViewHost* host = Host().Window().EditingHost())
            host->AppLog()->LogToFile("On Pattern 1");
    }
}

void CFillTool::FillClick(const CPoint& point)
{
    if (!Host().HasImage())
        return;
    CSurface& image = Host().Surfaces().Image();
    Host().Doc()->SetModifiedFlag();
    const COLORREF clicked = image.GetPixel(point);
    if (clicked == CLR_INVALID)
        return;
    CBrush brush = image.GetBrush();
    if (m_nFillPattern == 0) {
        if (clicked == kWhite)
            brush = CBrush::Solid(kBlack);
        else if (clicked == kBlack)
            brush = CBrush::Solid(kWhite);
    } else if (const CFillPattern* pattern = FillPatternByNumber(m_nFillPattern)) {
        // The brush is made from the pattern's bitmap: its dark pixels are the
        // brush's black, its light ones white.
        std::array<BYTE, 8> rows{};
        if (CBrush::PatternRowsFromImage(FillPatternBitmap(*pattern), rows))
            brush = CBrush::Pattern(rows);
    }
    const CBrush previous = image.SelectBrush(brush);
    image.ExtFloodFill(point.x, point.y, clicked, FLOODFILLSURFACE);
    image.SelectBrush(previous);
    Host().Doc()->UpdateAllViews();
}
