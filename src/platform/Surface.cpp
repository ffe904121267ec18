// CSurface: image ownership, pixel access, attributes and block copies.
// Lines and shapes are in SurfaceShapes.cpp, the flood fill in SurfaceFloodFill.cpp.
#include "platform/Surface.h"

#include <algorithm>
#include <cstring>

// ---- brushes and raster operations ----------------------------------------

CBrush CBrush::Solid(COLORREF c)
{
    CBrush b;
    b.kind = Kind::Solid;
    b.color = c;
    return b;
}

CBrush CBrush::Null()
{
    CBrush b;
    b.kind = Kind::Null;
    return b;
}

CBrush CBrush::Pattern(const std::array<BYTE, 8>& tileRows, COLORREF clear, COLORREF set)
{
    CBrush b;
    b.kind = Kind::Pattern;
    b.rows = tileRows;
    b.clearColor = clear;
    b.setColor = set;
    return b;
}

BOOL CBrush::PatternRowsFromImage(const QImage& tile, std::array<BYTE, 8>& rows)
{
    if (tile.isNull() || tile.width() < 8 || tile.height() < 8)
        return FALSE;
    std::array<BYTE, 8> result{};
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            if (qGray(tile.pixel(x, y)) >= 128)
                result[y] = static_cast<BYTE>(result[y] | (0x80 >> x));
        }
    }
    rows = result;
    return TRUE;
}

namespace surface {

bool IsSupportedBlitRop(DWORD rop)
{
    return rop == SRCCOPY || rop == SRCPAINT || rop == SRCAND || rop == SRCINVERT || rop == NOTSRCCOPY;
}

std::uint32_t ApplyBlitRop(DWORD rop, std::uint32_t src, std::uint32_t dst)
{
    std::uint32_t r = src;
    switch (rop) {
    case SRCPAINT:
        r = src | dst;
        break;
    case SRCAND:
        r = src & dst;
        break;
    case SRCINVERT:
        r = src ^ dst;
        break;
    case NOTSRCCOPY:
        r = ~src;
        break;
    default:
        break;
    }
    return 0xFF000000u | (r & 0x00FFFFFFu);
}

} // namespace surface

// ---- image ------------------------------------------------------------------

BOOL CSurface::Create(int width, int height, COLORREF fill)
{
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide)
        return FALSE;
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return FALSE;
    image.fill(surface::ToPixel(fill));
    m_ownImage = std::move(image);
    m_pExternal = nullptr;
    return TRUE;
}

BOOL CSurface::Attach(const QImage& image)
{
    if (image.isNull() || image.width() > kMaxSide || image.height() > kMaxSide)
        return FALSE;
    QImage converted = image.convertToFormat(QImage::Format_RGB32);
    if (converted.isNull())
        return FALSE;
    m_ownImage = std::move(converted);
    m_pExternal = nullptr;
    return TRUE;
}

BOOL CSurface::Attach(QImage* bitmap)
{
    if (!bitmap || bitmap->isNull() || bitmap->width() > kMaxSide || bitmap->height() > kMaxSide)
        return FALSE;
    if (bitmap->format() != QImage::Format_RGB32) {
        QImage converted = bitmap->convertToFormat(QImage::Format_RGB32);
        if (converted.isNull())
            return FALSE;
        *bitmap = std::move(converted);
    }
    m_pExternal = bitmap;
    m_ownImage = QImage();
    return TRUE;
}

void CSurface::Release()
{
    m_ownImage = QImage();
    m_pExternal = nullptr;
}

QImage* CSurface::Detach()
{
    QImage* attached = m_pExternal;
    Release();
    return attached;
}

bool CSurface::EnsureFormat()
{
    if (image().isNull())
        return false;
    if (image().format() != QImage::Format_RGB32)
        image() = image().convertToFormat(QImage::Format_RGB32);
    return !image().isNull();
}

COLORREF CSurface::GetPixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= Width() || y >= Height())
        return CLR_INVALID;
    if (image().format() != QImage::Format_RGB32)
        return surface::ToColorRef(image().pixel(x, y));
    return surface::ToColorRef(Row(y)[x]);
}

COLORREF CSurface::SetPixel(int x, int y, COLORREF color)
{
    if (x < 0 || y < 0 || x >= Width() || y >= Height() || !EnsureFormat())
        return CLR_INVALID;
    Row(y)[x] = surface::ToPixel(color);
    return color & 0x00FFFFFFu;
}

// ---- attributes -----------------------------------------------------------

CPen CSurface::SelectPen(int width, COLORREF color)
{
    return SelectPen(CPen{std::max(width, 1), color});
}

CPen CSurface::SelectPen(const CPen& pen)
{
    const CPen previous = m_pen;
    m_pen = CPen{std::clamp(pen.width, 1, kMaxPenWidth), pen.color};
    return previous;
}

CBrush CSurface::SelectBrush(const CBrush& brush)
{
    const CBrush previous = m_brush;
    m_brush = brush;
    return previous;
}

int CSurface::SetROP2(int mode)
{
    if (mode < R2_FIRST || mode > R2_LAST)
        return 0;
    const int previous = m_rop2;
    m_rop2 = mode;
    return previous;
}

std::uint32_t CSurface::BrushPixel(int x, int y) const
{
    if (m_brush.kind == CBrush::Kind::Pattern) {
        const bool set = (m_brush.rows[static_cast<size_t>(y & 7)] >> (7 - (x & 7))) & 1;
        return surface::ToPixel(set ? m_brush.setColor : m_brush.clearColor);
    }
    return surface::ToPixel(m_brush.color);
}

void CSurface::FillSolidRect(const CRect& rect, COLORREF color)
{
    CRect clipped;
    if (!EnsureFormat() || !clipped.IntersectRect(rect, Bounds()))
        return;
    const std::uint32_t pixel = surface::ToPixel(color);
    for (int y = clipped.top; y < clipped.bottom; ++y)
        std::fill(Row(y) + clipped.left, Row(y) + clipped.right, pixel);
}

// ---- block copies ---------------------------------------------------------

namespace {

// The half-open range [first, last) of offsets i in [0, extent) for which both
// dst + i lies in [0, dstSize) and src + i in [0, srcSize).
struct Span {
    long long first = 0;
    long long last = 0;
    bool empty() const { return last <= first; }
};

Span ClipSpan(long long dst, long long src, long long extent, long long dstSize, long long srcSize)
{
    Span s;
    s.first = std::max({0LL, -dst, -src});
    s.last = std::min({extent, dstSize - dst, srcSize - src});
    return s;
}

// The source image as RGB32; a copy when it is this surface's own image
// (overlapping copies then read the unmodified pixels) or in another format.
QImage SourcePixels(const QImage& src, const QImage& dst)
{
    if (&src == &dst || src.format() != QImage::Format_RGB32)
        return src.convertToFormat(QImage::Format_RGB32).copy();
    return src;
}

} // namespace

BOOL CSurface::BitBlt(int x, int y, int width, int height, const CSurface& src, int sx, int sy, DWORD rop)
{
    if (width < 0 || height < 0 || !surface::IsSupportedBlitRop(rop) || src.IsNull() || !EnsureFormat())
        return FALSE;
    const QImage source = SourcePixels(src.image(), image());
    const Span cols = ClipSpan(x, sx, width, Width(), source.width());
    const Span rows = ClipSpan(y, sy, height, Height(), source.height());
    if (cols.empty() || rows.empty())
        return TRUE;
    const auto count = static_cast<size_t>(cols.last - cols.first);
    for (long long j = rows.first; j < rows.last; ++j) {
        const auto* in = reinterpret_cast<const std::uint32_t*>(source.constScanLine(static_cast<int>(sy + j)))
            + (sx + cols.first);
        std::uint32_t* out = Row(static_cast<int>(y + j)) + (x + cols.first);
        if (rop == SRCCOPY) {
            std::memcpy(out, in, count * sizeof(std::uint32_t));
            continue;
        }
        for (size_t i = 0; i < count; ++i)
            out[i] = surface::ApplyBlitRop(rop, in[i], out[i]);
    }
    return TRUE;
}

BOOL CSurface::StretchBlt(int x, int y, int width, int height, const CSurface& src, int sx, int sy,
                          int srcWidth, int srcHeight, DWORD rop)
{
    if (width < 0 || height < 0 || srcWidth < 0 || srcHeight < 0 || !surface::IsSupportedBlitRop(rop)
        || src.IsNull() || !EnsureFormat())
        return FALSE;
    if (width == 0 || height == 0 || srcWidth == 0 || srcHeight == 0)
        return TRUE;
    const QImage source = SourcePixels(src.image(), image());
    // Destination offsets inside this image; the source side is checked per pixel.
    const long long colFirst = std::max(0LL, -static_cast<long long>(x));
    const long long colLast = std::min(static_cast<long long>(width), static_cast<long long>(Width()) - x);
    const long long rowFirst = std::max(0LL, -static_cast<long long>(y));
    const long long rowLast = std::min(static_cast<long long>(height), static_cast<long long>(Height()) - y);
    if (colLast <= colFirst || rowLast <= rowFirst)
        return TRUE;

    // Source column of every destination column, -1 where it falls outside.
    std::vector<int> sourceColumn(static_cast<size_t>(colLast - colFirst));
    bool everyColumnMapped = true;
    for (long long i = colFirst; i < colLast; ++i) {
        const long long s = sx + i * srcWidth / width;
        const bool inside = s >= 0 && s < source.width();
        sourceColumn[static_cast<size_t>(i - colFirst)] = inside ? static_cast<int>(s) : -1;
        everyColumnMapped = everyColumnMapped && inside;
    }

    long long previousSourceRow = -1;
    std::uint32_t* previousOut = nullptr;
    for (long long j = rowFirst; j < rowLast; ++j) {
        const long long s = sy + j * srcHeight / height;
        if (s < 0 || s >= source.height()) {
            previousOut = nullptr;
            continue;
        }
        std::uint32_t* out = Row(static_cast<int>(y + j)) + (x + colFirst);
        // Magnified rows repeat: copy the row just written instead of mapping it again.
        if (rop == SRCCOPY && everyColumnMapped && previousOut && s == previousSourceRow) {
            std::memcpy(out, previousOut, sourceColumn.size() * sizeof(std::uint32_t));
        } else {
            const auto* in = reinterpret_cast<const std::uint32_t*>(source.constScanLine(static_cast<int>(s)));
            for (size_t i = 0; i < sourceColumn.size(); ++i) {
                if (sourceColumn[i] >= 0)
                    out[i] = surface::ApplyBlitRop(rop, in[sourceColumn[i]], out[i]);
            }
        }
        previousSourceRow = s;
        previousOut = out;
    }
    return TRUE;
}
