#include "view/ViewCursors.h"

#include <QHash>
#include <functional>
#include <QPainter>
#include <QPixmap>

namespace viewcursor {
namespace {

constexpr int kSide = 32;

// Each picture is drawn black with a white outline so it stays visible on
// both colours of a logo.
void DrawOutlined(QPainter& p, const std::function<void(QPainter&)>& shape)
{
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    shape(p);
    p.setPen(QPen(Qt::black, 1));
    shape(p);
}

void DrawPen(QPainter& p)
{
    // A pencil whose tip is the bottom-left corner.
    p.drawLine(1, 30, 4, 21);
    p.drawLine(1, 30, 10, 27);
    p.drawLine(4, 21, 22, 3);
    p.drawLine(10, 27, 28, 9);
    p.drawLine(22, 3, 28, 9);
}

void DrawBrush(QPainter& p)
{
    p.drawEllipse(QRect(11, 11, 10, 10));
    p.drawPoint(16, 16);
}

void DrawEraser(QPainter& p)
{
    p.drawRect(QRect(10, 10, 12, 12));
}

void DrawZoom(QPainter& p)
{
    // A magnifying glass: the lens centre is the active point.
    p.drawEllipse(QRect(4, 4, 16, 16));
    p.drawLine(18, 18, 29, 29);
    p.drawLine(10, 12, 14, 12);
    p.drawLine(12, 10, 12, 14);
}

void DrawFill(QPainter& p)
{
    // A tipped bucket pouring from its lower-left lip.
    p.drawPolygon(QPolygon({QPoint(8, 12), QPoint(18, 2), QPoint(29, 13), QPoint(19, 23)}));
    p.drawLine(8, 12, 3, 24);
    p.drawLine(3, 24, 3, 29);
}

void DrawCross(QPainter& p)
{
    p.drawLine(16, 2, 16, 12);
    p.drawLine(16, 20, 16, 30);
    p.drawLine(2, 16, 12, 16);
    p.drawLine(20, 16, 30, 16);
    p.drawPoint(16, 16);
}

QCursor Build(UINT resourceId)
{
    std::function<void(QPainter&)> shape;
    switch (resourceId) {
    case IDC_PEN: shape = DrawPen; break;
    case IDC_BRUSH: shape = DrawBrush; break;
    case IDC_ERASER: shape = DrawEraser; break;
    case IDC_ZOOM: shape = DrawZoom; break;
    case IDC_FILL: shape = DrawFill; break;
    case IDC_CROSS: shape = DrawCross; break;
    default: return QCursor(Qt::ArrowCursor);
    }
    QPixmap pixmap(kSide, kSide);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    DrawOutlined(painter, shape);
    painter.end();
    const QPoint hot = HotSpotOf(resourceId);
    return QCursor(pixmap, hot.x(), hot.y());
}

} // namespace

QPoint HotSpotOf(UINT resourceId)
{
    switch (resourceId) {
    case IDC_PEN: return QPoint(1, 30);
    case IDC_ZOOM: return QPoint(12, 12);
    case IDC_FILL: return QPoint(3, 29);
    case IDC_BRUSH:
    case IDC_ERASER:
    case IDC_CROSS: return QPoint(16, 16);
    default: return QPoint(0, 0);
    }
}

QCursor LoadCursor(UINT resourceId)
{
    static QHash<UINT, QCursor> cache;
    auto it = cache.find(resourceId);
    if (it == cache.end())
        it = cache.insert(resourceId, Build(resourceId));
    return *it;
}

} // namespace viewcursor
