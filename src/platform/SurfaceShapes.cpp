// CSurface lines, rectangles and ellipses, rasterised by hand so that the
// pixels match the old platform's rules (see Surface.h) and every pixel is
// touched once, which inverting mix modes rely on.
#include "platform/Surface.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Wide pens are discs swept along the path. Geometry is in doubled units so
// that it stays integral: an odd-width pen is centred on pixel centres, an
// even-width pen on pixel corners (otherwise a 2-pixel pen would be 1 or 3
// pixels wide). A pixel belongs to the stroke when its centre lies within
// half the pen width of the segment.
struct WidePen {
    long long diameter; // doubled radius
    long long centreOffset; // 0 for odd widths, 1 for even widths

    long long Centre(int v) const { return 2LL * v + centreOffset; }

    bool Covers(long long px, long long py, long long ax, long long ay, long long bx, long long by) const
    {
        const long long r2 = diameter * diameter;
        const long long dx = bx - ax, dy = by - ay;
        const long long qx = px - ax, qy = py - ay;
        const long long len2 = dx * dx + dy * dy;
        const long long along = qx * dx + qy * dy;
        if (len2 == 0 || along <= 0)
            return qx * qx + qy * qy <= r2;
        if (along >= len2) {
            const long long ex = px - bx, ey = py - by;
            return ex * ex + ey * ey <= r2;
        }
        // Exact in double for the image sizes this program uses; far beyond
        // them the comparison only rounds at the very edge of the stroke.
        const double cross = static_cast<double>(qx * dy - qy * dx);
        return cross * cross <= static_cast<double>(r2) * static_cast<double>(len2);
    }
};

// u, v: doubled offsets of a pixel centre from the centre of a box of
// doubled semi-axes a, b (its width and height).
bool InsideEllipse(long long u, long long v, long long a, long long b)
{
    if (a <= 0 || b <= 0)
        return false;
    constexpr long long kExactLimit = 1LL << 15;
    if (a <= kExactLimit && b <= kExactLimit && std::llabs(u) <= kExactLimit + 2
        && std::llabs(v) <= kExactLimit + 2)
        return u * u * b * b + v * v * a * a <= a * a * b * b;
    const long double fu = static_cast<long double>(u) / a, fv = static_cast<long double>(v) / b;
    return fu * fu + fv * fv <= 1.0L;
}

} // namespace

void CSurface::PlotPen(int x, int y)
{
    if (x < 0 || y < 0 || x >= Width() || y >= Height())
        return;
    std::uint32_t& pixel = Row(y)[x];
    pixel = surface::ApplyRop2(m_rop2, surface::ToPixel(m_pen.color), pixel);
}

void CSurface::PlotBrush(int x, int y)
{
    if (m_brush.kind == CBrush::Kind::Null || x < 0 || y < 0 || x >= Width() || y >= Height())
        return;
    std::uint32_t& pixel = Row(y)[x];
    pixel = surface::ApplyRop2(m_rop2, BrushPixel(x, y), pixel);
}

// Bresenham from (x0, y0) towards (x1, y1), leaving out the end pixel. The
// minor coordinate of step k is computed directly (rounded half away from
// the start), so only the steps that fall inside the image are visited.
void CSurface::DrawThinSegment(int x0, int y0, int x1, int y1)
{
    const long long dx = std::llabs(static_cast<long long>(x1) - x0);
    const long long dy = std::llabs(static_cast<long long>(y1) - y0);
    if (dx == 0 && dy == 0)
        return;
    const bool xMajor = dx >= dy;
    const long long major = xMajor ? dx : dy;
    const long long minor = xMajor ? dy : dx;
    const long long majorStart = xMajor ? x0 : y0;
    const long long minorStart = xMajor ? y0 : x0;
    const int majorStep = (xMajor ? x1 >= x0 : y1 >= y0) ? 1 : -1;
    const int minorStep = (xMajor ? y1 >= y0 : x1 >= x0) ? 1 : -1;
    const long long limit = xMajor ? Width() : Height();

    long long kFirst = 0, kLast = major - 1;
    if (majorStep > 0) {
        kFirst = std::max(kFirst, -majorStart);
        kLast = std::min(kLast, limit - 1 - majorStart);
    } else {
        kFirst = std::max(kFirst, majorStart - (limit - 1));
        kLast = std::min(kLast, majorStart);
    }
    for (long long k = kFirst; k <= kLast; ++k) {
        const long long m = majorStart + majorStep * k;
        const long long n = minorStart + minorStep * ((2 * k * minor + major) / (2 * major));
        if (xMajor)
            PlotPen(static_cast<int>(m), static_cast<int>(n));
        else
            PlotPen(static_cast<int>(n), static_cast<int>(m));
    }
}

void CSurface::DrawWideSegments(const std::vector<CPoint>& points)
{
    const int w = m_pen.width;
    CRect reach(points.front().x, points.front().y, points.front().x, points.front().y);
    for (const CPoint& p : points) {
        reach.left = std::min(reach.left, p.x);
        reach.top = std::min(reach.top, p.y);
        reach.right = std::max(reach.right, p.x);
        reach.bottom = std::max(reach.bottom, p.y);
    }
    reach.InflateRect(w + 1, w + 1);
    CRect area;
    if (!area.IntersectRect(reach, Bounds()))
        return;

    // Mark first, then paint, so pixels shared by neighbouring segments are painted once.
    const WidePen pen{w, (w % 2 == 0) ? 1 : 0};
    std::vector<std::uint8_t> covered(static_cast<size_t>(area.Width()) * static_cast<size_t>(area.Height()), 0);
    const size_t segments = points.size() == 1 ? 1 : points.size() - 1;
    for (size_t s = 0; s < segments; ++s) {
        const CPoint a = points[s];
        const CPoint b = points.size() == 1 ? a : points[s + 1];
        CRect segmentReach(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y));
        segmentReach.InflateRect(w + 1, w + 1);
        CRect segmentArea;
        if (!segmentArea.IntersectRect(segmentReach, area))
            continue;
        for (int y = segmentArea.top; y < segmentArea.bottom; ++y) {
            std::uint8_t* maskRow = covered.data() + static_cast<size_t>(y - area.top) * area.Width();
            for (int x = segmentArea.left; x < segmentArea.right; ++x) {
                if (pen.Covers(pen.Centre(x), pen.Centre(y), 2LL * a.x, 2LL * a.y, 2LL * b.x, 2LL * b.y))
                    maskRow[x - area.left] = 1;
            }
        }
    }
    for (int y = area.top; y < area.bottom; ++y) {
        const std::uint8_t* maskRow = covered.data() + static_cast<size_t>(y - area.top) * area.Width();
        for (int x = area.left; x < area.right; ++x) {
            if (maskRow[x - area.left])
                PlotPen(x, y);
        }
    }
}

CPoint CSurface::MoveTo(int x, int y)
{
    const CPoint previous = m_position;
    m_position = CPoint(x, y);
    return previous;
}

BOOL CSurface::LineTo(int x, int y)
{
    if (!PointOk(x, y) || !PointOk(m_position.x, m_position.y) || !EnsureFormat())
        return FALSE;
    const CPoint from = m_position;
    m_position = CPoint(x, y);
    if (m_pen.width <= 1)
        DrawThinSegment(from.x, from.y, x, y);
    else
        DrawWideSegments({from, CPoint(x, y)});
    return TRUE;
}

BOOL CSurface::Polyline(const std::vector<CPoint>& points)
{
    if (points.size() < 2 || !EnsureFormat())
        return FALSE;
    for (const CPoint& p : points) {
        if (!PointOk(p.x, p.y))
            return FALSE;
    }
    if (m_pen.width > 1) {
        DrawWideSegments(points);
        return TRUE;
    }
    for (size_t i = 0; i + 1 < points.size(); ++i)
        DrawThinSegment(points[i].x, points[i].y, points[i + 1].x, points[i + 1].y);
    return TRUE;
}

BOOL CSurface::Rectangle(const CRect& rect)
{
    CRect box = rect;
    box.NormalizeRect();
    if (!PointOk(box.left, box.top) || !PointOk(box.right, box.bottom) || !EnsureFormat())
        return FALSE;
    CRect area;
    if (!area.IntersectRect(box, Bounds()))
        return TRUE;
    const int w = m_pen.width;
    for (int y = area.top; y < area.bottom; ++y) {
        const bool edgeRow = y < box.top + w || y >= box.bottom - w;
        for (int x = area.left; x < area.right; ++x) {
            if (edgeRow || x < box.left + w || x >= box.right - w)
                PlotPen(x, y);
            else
                PlotBrush(x, y);
        }
    }
    return TRUE;
}

// The ellipse inscribed in the box: a pixel is inside when its centre is.
// The outline is the part of it not inside the ellipse shrunk by the pen
// width, plus every inside pixel with a 4-neighbour outside, which keeps a
// one-pixel outline closed where the two curves run close.
BOOL CSurface::Ellipse(const CRect& rect)
{
    CRect box = rect;
    box.NormalizeRect();
    if (!PointOk(box.left, box.top) || !PointOk(box.right, box.bottom) || !EnsureFormat())
        return FALSE;
    CRect area;
    if (!area.IntersectRect(box, Bounds()))
        return TRUE;
    const long long a = box.Width(), b = box.Height();
    const long long innerA = a - 2LL * m_pen.width, innerB = b - 2LL * m_pen.width;
    const long long cx = static_cast<long long>(box.left) + box.right;
    const long long cy = static_cast<long long>(box.top) + box.bottom;
    for (int y = area.top; y < area.bottom; ++y) {
        const long long v = 2LL * y + 1 - cy;
        for (int x = area.left; x < area.right; ++x) {
            const long long u = 2LL * x + 1 - cx;
            if (!InsideEllipse(u, v, a, b))
                continue;
            const bool onEdge = !InsideEllipse(u - 2, v, a, b) || !InsideEllipse(u + 2, v, a, b)
                || !InsideEllipse(u, v - 2, a, b) || !InsideEllipse(u, v + 2, a, b);
            if (onEdge || !InsideEllipse(u, v, innerA, innerB))
                PlotPen(x, y);
            else
                PlotBrush(x, y);
        }
    }
    return TRUE;
}
