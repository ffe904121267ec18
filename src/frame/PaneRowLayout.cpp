#include "frame/PaneRowLayout.h"

#include <QWidget>

#include <algorithm>

CPaneRowLayout::CPaneRowLayout(QWidget* parent)
    : QLayout(parent)
{
}

CPaneRowLayout::~CPaneRowLayout()
{
    while (QLayoutItem* item = takeAt(0))
        delete item;
}

void CPaneRowLayout::addItem(QLayoutItem* item)
{
    m_items.append(item);
}

QLayoutItem* CPaneRowLayout::itemAt(int index) const
{
    return index >= 0 && index < m_items.size() ? m_items.at(index) : nullptr;
}

QLayoutItem* CPaneRowLayout::takeAt(int index)
{
    return index >= 0 && index < m_items.size() ? m_items.takeAt(index) : nullptr;
}

QSize CPaneRowLayout::sizeHint() const
{
    // One row.
    int width = 0;
    int height = 0;
    int shown = 0;
    for (const QLayoutItem* item : m_items) {
        if (item->isEmpty())
            continue;
        const QSize hint = item->sizeHint();
        width += hint.width();
        height = std::max(height, hint.height());
        ++shown;
    }
    const QMargins m = contentsMargins();
    return QSize(width + std::max(0, shown - 1) * spacing() + m.left() + m.right(), height + m.top() + m.bottom());
}

QSize CPaneRowLayout::minimumSize() const
{
    // As narrow as the widest pane, one pane a row.
    QSize widest;
    for (const QLayoutItem* item : m_items)
        if (!item->isEmpty())
            widest = widest.expandedTo(item->sizeHint());
    const QMargins m = contentsMargins();
    return widest + QSize(m.left() + m.right(), m.top() + m.bottom());
}

int CPaneRowLayout::heightForWidth(int width) const
{
    return Arrange(QRect(0, 0, width, 0), false);
}

void CPaneRowLayout::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    Arrange(rect, true);
}

int CPaneRowLayout::Arrange(const QRect& rect, bool place) const
{
    const QRect area = rect.marginsRemoved(contentsMargins());
    const int gap = spacing();
    // Rows first, each as many panes as fit, in order.
    QList<QList<QLayoutItem*>> rows(1);
    int used = 0;
    for (QLayoutItem* item : m_items) {
        if (item->isEmpty())
            continue;
        const int w = item->sizeHint().width();
        const int needed = rows.last().isEmpty() ? w : used + gap + w;
        if (!rows.last().isEmpty() && needed > area.width()) {
            rows.append(QList<QLayoutItem*>());
            used = w;
        } else {
            used = needed;
        }
        rows.last().append(item);
    }
    // Each row against the right end, as the panes have always stood.
    int y = area.top();
    for (const QList<QLayoutItem*>& row : rows) {
        if (row.isEmpty())
            continue;
        int rowWidth = -gap;
        int rowHeight = 0;
        for (const QLayoutItem* item : row) {
            rowWidth += item->sizeHint().width() + gap;
            rowHeight = std::max(rowHeight, item->sizeHint().height());
        }
        int x = area.left() + std::max(0, area.width() - rowWidth);
        for (QLayoutItem* item : row) {
            const QSize hint = item->sizeHint();
            if (place)
                item->setGeometry(QRect(QPoint(x, y), QSize(hint.width(), rowHeight)));
            x += hint.width() + gap;
        }
        y += rowHeight + gap;
    }
    const QMargins m = contentsMargins();
    return y - gap - area.top() + m.top() + m.bottom();
}
