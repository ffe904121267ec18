// CSurface flood fill. The region is found first, on the untouched image,
// and painted afterwards: a brush whose colours include the region's own
// colour (a white brush on white, most patterns) would otherwise make the
// fill re-enter pixels it has already painted.
#include "platform/Surface.h"

#include <algorithm>

namespace {

struct Seed {
    int x;
    int y;
};

// The pixels a fill may enter: those of the target colour (surface fill)
// or those that are not the border colour (border fill).
struct FillRule {
    std::uint32_t target;
    bool surface;
    bool Qualifies(std::uint32_t pixel) const { return ((pixel & 0x00FFFFFFu) == target) == surface; }
};

} // namespace

BOOL CSurface::FloodFill(int x, int y)
{
    const COLORREF seed = GetPixel(x, y);
    if (seed == CLR_INVALID)
        return FALSE;
    return ExtFloodFill(x, y, seed, FLOODFILLSURFACE);
}

BOOL CSurface::ExtFloodFill(int x, int y, COLORREF color, UINT fillType)
{
    if ((fillType != FLOODFILLSURFACE && fillType != FLOODFILLBORDER) || !EnsureFormat())
        return FALSE;
    if (x < 0 || y < 0 || x >= Width() || y >= Height())
        return FALSE;
    const FillRule rule{surface::ToPixel(color) & 0x00FFFFFFu, fillType == FLOODFILLSURFACE};
    if (!rule.Qualifies(Row(y)[x]))
        return FALSE;
    if (m_brush.kind == CBrush::Kind::Null)
        return TRUE;

    const int width = Width(), height = Height();
    std::vector<std::uint8_t> inRegion(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    auto marked = [&](int px, int py) -> std::uint8_t& {
        return inRegion[static_cast<size_t>(py) * static_cast<size_t>(width) + static_cast<size_t>(px)];
    };
    CRect touched(x, y, x + 1, y + 1);

    // Scanline fill: each seed grows into a horizontal run, and every run of
    // fillable pixels above and below it becomes one new seed. Every run
    // pushes at most its own width in seeds, so the stack stays below twice
    // the region's size.
    std::vector<Seed> stack{{x, y}};
    while (!stack.empty()) {
        const Seed s = stack.back();
        stack.pop_back();
        const std::uint32_t* row = Row(s.y);
        if (marked(s.x, s.y) || !rule.Qualifies(row[s.x]))
            continue;
        int left = s.x, right = s.x;
        while (left > 0 && !marked(left - 1, s.y) && rule.Qualifies(row[left - 1]))
            --left;
        while (right < width - 1 && !marked(right + 1, s.y) && rule.Qualifies(row[right + 1]))
            ++right;
        std::fill(&marked(left, s.y), &marked(right, s.y) + 1, std::uint8_t{1});
        touched.UnionRect(touched, CRect(left, s.y, right + 1, s.y + 1));

        for (const int ny : {s.y - 1, s.y + 1}) {
            if (ny < 0 || ny >= height)
                continue;
            const std::uint32_t* neighbour = Row(ny);
            bool inRun = false;
            for (int nx = left; nx <= right; ++nx) {
                const bool fillable = !marked(nx, ny) && rule.Qualifies(neighbour[nx]);
                if (fillable && !inRun)
                    stack.push_back({nx, ny});
                inRun = fillable;
            }
        }
    }

    for (int py = touched.top; py < touched.bottom; ++py) {
        std::uint32_t* row = Row(py);
        for (int px = touched.left; px < touched.right; ++px) {
            if (marked(px, py))
                row[px] = BrushPixel(px, py);
        }
    }
    return TRUE;
}
