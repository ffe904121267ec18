#pragma once
// A tool palette whose buttons are laid out in a chosen number of columns:
// after every n-th button the row wraps. The buttons show the shared command
// actions, so a palette button, its menu entry and its shortcut are one action.
#include "platform/WinTypes.h"

#include <QImage>
#include <QList>
#include <QToolBar>
#include <vector>

class QGridLayout;
class QToolButton;

class CColumnToolBar : public QToolBar {
    Q_OBJECT
public:
    CColumnToolBar(const QString& title, UINT controlId, QWidget* parent = nullptr);

    UINT ControlId() const { return m_nControlId; }

    // The buttons, in order; replaces any earlier ones.
    void SetButtons(const QList<QAction*>& actions);
    int ButtonCount() const { return static_cast<int>(m_buttons.size()); }
    QToolButton* Button(int index) const;

    // Lays the buttons out n to a row. A count below 1 (a hand-edited
    // profile) is taken as 1, so the wrap rule never divides by zero.
    void SetColumns(int n);
    int Columns() const { return m_nColumns; }
    // Whether the row wraps after button index (the wrap rule's result).
    bool WrapsAfter(int index) const;
    int RowCount() const;
    // Row and column the button at index was placed in.
    int RowOf(int index) const;
    int ColumnOf(int index) const;

    // The buttons' pictures: the commands' images, coloured or grey, and the
    // resource number of the old strip they stand for. Image() is the strip
    // (16 x 15 per button); each button shows its command's picture, drawn
    // at the screen's pixel ratio where that is above 1 (ToolImages.h).
    void LoadImage(UINT bitmapId, const std::vector<UINT>& commandIds, bool colour);
    UINT ImageId() const { return m_nImageId; }
    QImage Image() const { return m_image; }

    // Tooltips and the fly-by status text of the buttons.
    void SetToolTipsEnabled(bool on) { m_bToolTips = on; }
    bool ToolTipsEnabled() const { return m_bToolTips; }

    int m_nColumns = 2;

    // Keeps tooltips and fly-by texts from the buttons while tips are off.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Relayout();

    UINT m_nControlId;
    QWidget* m_grid = nullptr;
    QGridLayout* m_layout = nullptr;
    std::vector<QToolButton*> m_buttons;
    std::vector<bool> m_wrap;
    UINT m_nImageId = 0;
    std::vector<UINT> m_imageIds;
    bool m_bColourImage = true;
    QImage m_image;
    bool m_bToolTips = true;
};
