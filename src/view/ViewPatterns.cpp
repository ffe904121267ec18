// The fill tool's patterns and the fill click: a surface flood fill of the
// clicked colour with the opposite solid colour or an 8 x 8 pattern that is
// anchored at the image origin.
#include "view/ViewEditing.h"

#include "view/ViewHost.h"
#include "document/GlyphaneDoc.h"
#include "resources/CommandIds.h"
#include "resources/FillPatterns.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

} // namespace

void CViewEditing::MapPatternCommands()
{
    m_commands.MapCommandRange(ID_PATTERN_FIRST, ID_PATTERN_LAST, [this](UINT id) {
        OnPatternCommand(static_cast<int>(id - ID_PATTERN_FIRST) + 1);
    });
    m_commands.MapUpdateRange(ID_PATTERN_FIRST, ID_PATTERN_LAST, [this](CCmdUI& ui) {
        // The choice is kept while another tool is in use; it only shows and
        // changes with the fill tool.
        const bool fill = CurrentTool() == tool::Fill;
        ui.Enable(fill);
        if (fill)
            ui.SetCheck(m_nFillPattern == static_cast<int>(ui.m_nID - ID_PATTERN_FIRST) + 1 ? 1 : 0);
    });
}

void CViewEditing::OnPatternCommand(int number)
{
    m_nFillPattern = m_nFillPattern == number ? 0 : number;
    if (number == 1) {
        if (CViewHost* host = EditingHost())
            host->AppLog()->LogToFile("On Pattern 1");
    }
}

void CViewEditing::FillClick(const CPoint& point)
{
    if (!HasImage())
        return;
    m_pDoc->SetModifiedFlag();
    const COLORREF clicked = m_dcImage.GetPixel(point);
    if (clicked == CLR_INVALID)
        return;
    CBrush brush = m_dcImage.GetBrush();
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
    const CBrush previous = m_dcImage.SelectBrush(brush);
    m_dcImage.ExtFloodFill(point.x, point.y, clicked, FLOODFILLSURFACE);
    m_dcImage.SelectBrush(previous);
    m_pDoc->UpdateAllViews();
}
