#pragma once
// Fitting a window's rectangle into the area it must stay in (a screen's
// available area, the logo windows' room): no larger than the area, and moved
// the least distance that puts it wholly inside.
#include <QRect>

#include <algorithm>

inline QRect KeepRectInside(const QRect& rect, const QRect& area)
{
    if (!area.isValid())
        return rect;
    const QSize size = rect.size().boundedTo(area.size());
    const int left = std::clamp(rect.left(), area.left(), area.left() + area.width() - size.width());
    const int top = std::clamp(rect.top(), area.top(), area.top() + area.height() - size.height());
    return QRect(QPoint(left, top), size);
}
