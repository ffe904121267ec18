#pragma once
// The layout of the status bar's fixed panes: each pane keeps its own width,
// so its whole text shows, and they stand side by side at the right end of
// the bar. Where the bar is too narrow for all of them in one row (a
// maximised window on a small screen, or at a display scale of 2), the panes
// that do not fit go on to a next row rather than under each other (the
// layout has a height for each width; CStatusPanes makes the bar that tall).
#include <QLayout>
#include <QList>

class CPaneRowLayout : public QLayout {
public:
    explicit CPaneRowLayout(QWidget* parent = nullptr);
    ~CPaneRowLayout() override;

    void addItem(QLayoutItem* item) override;
    int count() const override { return static_cast<int>(m_items.size()); }
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;

    QSize sizeHint() const override;
    QSize minimumSize() const override;
    Qt::Orientations expandingDirections() const override { return {}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    void setGeometry(const QRect& rect) override;

private:
    // Lays the items out in rows within rect (placing them when place is
    // true); the height used.
    int Arrange(const QRect& rect, bool place) const;

    QList<QLayoutItem*> m_items;
};
