#pragma once
// CSurface: the editor's drawing surface, a memory device context in the old
// platform's sense. It holds a QImage (Format_RGB32) and a current pen, brush,
// mix mode and pen position, and draws with the old platform's pixel rules:
// one-pixel lines omit their last pixel, rectangles exclude their right and
// bottom edges, colours are 0x00BBGGRR, reads outside the image give
// CLR_INVALID. Pixel work goes straight to image memory; QPainter's
// rasterisation differs from those rules, so it is not used for drawing.
//
// Coordinates beyond +-kMaxCoordinate are refused (the call fails and draws
// nothing), which keeps every loop bounded by the image size.
#include "platform/GdiRect.h"
#include "platform/SurfaceTypes.h"
#include "platform/WinTypes.h"

#include <QImage>
#include <cstdint>
#include <vector>

class CSurface {
public:
    static constexpr int kMaxSide = 32767;
    static constexpr int kMaxCoordinate = 1 << 24;
    // Wider than any image's diagonal, and as wide as a stroke file can say;
    // wider requests are narrowed so the pen's reach stays in int range.
    static constexpr int kMaxPenWidth = 0xFFFF;

    CSurface() = default;
    // Draws into the caller's image from the start, as Attach(QImage*); an
    // unusable image leaves the surface empty.
    explicit CSurface(QImage* target) { Attach(target); }

    // A new w x h image filled with `fill`; FALSE (nothing changed) for a
    // size outside 1..kMaxSide or when the memory cannot be had.
    BOOL Create(int width, int height, COLORREF fill = RGB(255, 255, 255));
    // Takes a copy of `image` converted to RGB32; FALSE for a null or
    // oversized image, which leaves the surface as it was.
    BOOL Attach(const QImage& image);
    // Draws from now on into the caller's image (as a bitmap selected into a
    // device context), converting it to RGB32 in place. The caller keeps it
    // alive until Release() or another Attach/Create. FALSE, nothing
    // changed, for a null pointer or a null or oversized image.
    BOOL Attach(QImage* bitmap);
    // Drops the image (an attached one is left to its owner); the attributes stay.
    void Release();
    // Whether the surface draws into an image it does not own.
    bool IsAttachedToExternal() const { return m_pExternal != nullptr; }
    bool IsAttached() const { return IsAttachedToExternal(); }
    // Stops drawing into the attached image and hands it back (null when the
    // surface owned its image, which is then dropped); the attributes stay.
    QImage* Detach();

    bool IsNull() const { return image().isNull(); }
    int Width() const { return image().width(); }
    int Height() const { return image().height(); }
    CRect Bounds() const { return CRect(0, 0, Width(), Height()); }
    const QImage& image() const { return m_pExternal ? *m_pExternal : m_ownImage; }
    // For callers that draw text or read blocks with Qt; they must keep the
    // format RGB32 (the drawing routines convert back if it was changed).
    QImage& image() { return m_pExternal ? *m_pExternal : m_ownImage; }

    COLORREF GetPixel(int x, int y) const;
    COLORREF GetPixel(const CPoint& p) const { return GetPixel(p.x, p.y); }
    // Returns the colour written, CLR_INVALID outside the image.
    COLORREF SetPixel(int x, int y, COLORREF color);
    COLORREF SetPixel(const CPoint& p, COLORREF color) { return SetPixel(p.x, p.y, color); }

    // Attribute selection returns the previous value, so callers can restore it.
    CPen SelectPen(int width, COLORREF color);
    CPen SelectPen(const CPen& pen);
    const CPen& GetPen() const { return m_pen; }
    CBrush SelectBrush(const CBrush& brush);
    CBrush SelectSolidBrush(COLORREF color) { return SelectBrush(CBrush::Solid(color)); }
    CBrush SelectPatternBrush(const std::array<BYTE, 8>& rows) { return SelectBrush(CBrush::Pattern(rows)); }
    CBrush SelectNullBrush() { return SelectBrush(CBrush::Null()); }
    const CBrush& GetBrush() const { return m_brush; }
    // Returns the previous mix mode, or 0 (nothing changed) for a value outside 1..16.
    int SetROP2(int mode);
    int GetROP2() const { return m_rop2; }

    // Lines with the current pen and mix mode.
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(const CPoint& p) { return MoveTo(p.x, p.y); }
    CPoint GetCurrentPosition() const { return m_position; }
    BOOL LineTo(int x, int y);
    BOOL LineTo(const CPoint& p) { return LineTo(p.x, p.y); }
    // Joined segments through at least two points; a wide pen touches every
    // pixel once, so an inverting mix mode does not cancel at the joins.
    BOOL Polyline(const std::vector<CPoint>& points);

    // Outline with the pen inside the box, interior with the brush, both with
    // the mix mode. The box is normalised first.
    BOOL Rectangle(const CRect& box);
    BOOL Rectangle(int l, int t, int r, int b) { return Rectangle(CRect(l, t, r, b)); }
    BOOL Ellipse(const CRect& box);
    BOOL Ellipse(int l, int t, int r, int b) { return Ellipse(CRect(l, t, r, b)); }
    // Plain colour fill, ignoring the mix mode; an empty rectangle fills nothing.
    void FillSolidRect(const CRect& rect, COLORREF color);

    // Block copies clipped to both images; destination pixels whose source
    // lies outside the source image stay unchanged. FALSE for an unknown
    // operation or a negative extent.
    BOOL BitBlt(int x, int y, int width, int height, const CSurface& src, int sx, int sy, DWORD rop);
    // Nearest-neighbour stretch of the source block onto the destination block.
    BOOL StretchBlt(int x, int y, int width, int height, const CSurface& src, int sx, int sy, int srcWidth,
                    int srcHeight, DWORD rop);

    // Fills with the current brush (ignoring the mix mode) the 4-connected
    // region of the pixel at (x, y): with FLOODFILLSURFACE the pixels of
    // exactly `color`, which must be the seed's colour; with FLOODFILLBORDER
    // the pixels that are not `color`. FALSE when the seed is outside the
    // image or does not qualify.
    BOOL ExtFloodFill(int x, int y, COLORREF color, UINT fillType);
    // Surface fill of the seed's own colour.
    BOOL FloodFill(int x, int y);

private:
    bool EnsureFormat();
    static bool CoordinateOk(int v) { return v >= -kMaxCoordinate && v <= kMaxCoordinate; }
    static bool PointOk(int x, int y) { return CoordinateOk(x) && CoordinateOk(y); }
    std::uint32_t* Row(int y) { return reinterpret_cast<std::uint32_t*>(image().scanLine(y)); }
    const std::uint32_t* Row(int y) const
    {
        return reinterpret_cast<const std::uint32_t*>(image().constScanLine(y));
    }
    // The brush colour at an image pixel (patterns are anchored at the origin).
    std::uint32_t BrushPixel(int x, int y) const;
    void PlotPen(int x, int y);
    void PlotBrush(int x, int y);
    void DrawThinSegment(int x0, int y0, int x1, int y1);
    void DrawWideSegments(const std::vector<CPoint>& points);

    QImage m_ownImage;
    QImage* m_pExternal = nullptr; // the attached image, drawn on instead of m_ownImage
    CPen m_pen;
    CBrush m_brush;
    int m_rop2 = R2_COPYPEN;
    CPoint m_position;
};
