#pragma once
// One pen stroke: the points of a freehand line with its pen.
#include "platform/GdiRect.h"
#include "platform/WinTypes.h"

#include <QByteArray>
#include <vector>

class CSurface;

class CStroke {
public:
    static constexpr int kSchema = 2;

    CStroke() = default;
    CStroke(UINT penWidth, COLORREF color);

    void AddPoint(const CPoint& point) { m_pointArray.push_back(point); }
    const std::vector<CPoint>& Points() const { return m_pointArray; }
    UINT PenWidth() const { return m_nPenWidth; }
    COLORREF Color() const { return m_crColor; }
    const CRect& BoundingRect() const { return m_rectBounding; }

    // Draws the stroke as one polyline with a solid pen of its width and colour,
    // and a stroke whose points are all one point as a dot; the surface's
    // previous pen is restored afterwards.
    bool DrawStroke(CSurface& surface) const;

    // Smallest rectangle around the points, widened by twice the pen width on
    // the left and right and narrowed by twice the pen width at the top and
    // bottom (the stored files of strokes rely on this exact rule).
    void FinishStroke();

    // Archived form: rectangle (4 x int32), pen width (uint16), colour (uint32),
    // point count (uint16, or 0xFFFF then uint32) and the points (x, y int32),
    // all little-endian.
    QByteArray Serialize() const;
    static bool Deserialize(const QByteArray& bytes, CStroke& out);

private:
    UINT m_nPenWidth = 0;
    std::vector<CPoint> m_pointArray;
    CRect m_rectBounding;
    COLORREF m_crColor = 0;
};
