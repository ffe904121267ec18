#include "view/RectTracker.h"

#include <QPainter>

CRect CRectTracker::HandleRect(int handle) const
{
    CRect r = m_rect;
    r.NormalizeRect();
    const int h = kHandleSize;
    const int cx = (r.left + r.right) / 2 - h / 2;
    const int cy = (r.top + r.bottom) / 2 - h / 2;
    int x = r.left;
    int y = r.top;
    switch (handle) {
    case hitTopLeft: break;
    case hitTopRight: x = r.right - h; break;
    case hitBottomRight: x = r.right - h; y = r.bottom - h; break;
    case hitBottomLeft: y = r.bottom - h; break;
    case hitTop: x = cx; break;
    case hitRight: x = r.right - h; y = cy; break;
    case hitBottom: x = cx; y = r.bottom - h; break;
    case hitLeft: y = cy; break;
    default: return CRect();
    }
    return CRect(x, y, x + h, y + h);
}

int CRectTracker::HitTest(const CPoint& point) const
{
    CRect r = m_rect;
    r.NormalizeRect();
    if (r.IsRectEmpty())
        return hitNothing;
    if (m_nStyle & resizeInside) {
        for (int handle = hitTopLeft; handle <= hitLeft; ++handle)
            if (HandleRect(handle).PtInRect(point))
                return handle;
    }
    return r.PtInRect(point) ? hitMiddle : hitNothing;
}

bool CRectTracker::CursorFor(const CPoint& point, QCursor& cursor) const
{
    switch (HitTest(point)) {
    case hitTopLeft:
    case hitBottomRight: cursor = QCursor(Qt::SizeFDiagCursor); return true;
    case hitTopRight:
    case hitBottomLeft: cursor = QCursor(Qt::SizeBDiagCursor); return true;
    case hitTop:
    case hitBottom: cursor = QCursor(Qt::SizeVerCursor); return true;
    case hitLeft:
    case hitRight: cursor = QCursor(Qt::SizeHorCursor); return true;
    case hitMiddle: cursor = QCursor(Qt::SizeAllCursor); return true;
    default: return false;
    }
}

void CRectTracker::Draw(QPainter& painter, const CPoint& offset) const
{
    CRect r = m_rect;
    r.NormalizeRect();
    if (r.IsRectEmpty())
        return;
    r.OffsetRect(offset);
    painter.save();
    const Qt::PenStyle style = (m_nStyle & dottedLine) ? Qt::DotLine : Qt::SolidLine;
    painter.setPen(QPen(Qt::black, 1, style));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(r.left, r.top, r.Width() - 1, r.Height() - 1));
    if (m_nStyle & resizeInside) {
        for (int handle = hitTopLeft; handle <= hitLeft; ++handle) {
            CRect h = HandleRect(handle);
            h.OffsetRect(offset);
            painter.fillRect(h.ToQRect(), Qt::black);
        }
    }
    painter.restore();
}

void CRectTracker::BeginTrack(const CPoint& start, int hit, Finished done)
{
    m_bTracking = true;
    m_nHit = hit;
    m_ptStart = start;
    m_rectStart = m_rect;
    m_done = std::move(done);
    if (hit == hitNothing)
        m_rect = CRect(start, start);
}

void CRectTracker::TrackMove(const CPoint& point)
{
    if (!m_bTracking)
        return;
    const int dx = point.x - m_ptStart.x;
    const int dy = point.y - m_ptStart.y;
    CRect r = m_rectStart;
    switch (m_nHit) {
    case hitNothing: r = CRect(m_ptStart, point); break;
    case hitMiddle: r.OffsetRect(dx, dy); break;
    case hitTopLeft: r.left += dx; r.top += dy; break;
    case hitTopRight: r.right += dx; r.top += dy; break;
    case hitBottomRight: r.right += dx; r.bottom += dy; break;
    case hitBottomLeft: r.left += dx; r.bottom += dy; break;
    case hitTop: r.top += dy; break;
    case hitRight: r.right += dx; break;
    case hitBottom: r.bottom += dy; break;
    case hitLeft: r.left += dx; break;
    default: break;
    }
    m_rect = r;
}

void CRectTracker::TrackEnd(const CPoint& point)
{
    if (!m_bTracking)
        return;
    TrackMove(point);
    m_rect.NormalizeRect();
    Finish(true);
}

void CRectTracker::Cancel()
{
    if (!m_bTracking)
        return;
    m_rect = m_rectStart;
    Finish(false);
}

void CRectTracker::Finish(bool accepted)
{
    m_bTracking = false;
    // The callback may start a new tracking, so it is taken out first.
    Finished done = std::move(m_done);
    m_done = nullptr;
    if (done)
        done(accepted, m_rect);
}
