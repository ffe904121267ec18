#include "frame/ColumnToolBar.h"

#include "frame/ToolImages.h"

#include <QAction>
#include <QEvent>
#include <QGridLayout>
#include <QToolButton>

#include <algorithm>

namespace {
constexpr int kBorder = 5; // each of the four borders, as the palettes always had
}

CColumnToolBar::CColumnToolBar(const QString& title, UINT controlId, QWidget* parent)
    : QToolBar(title, parent)
    , m_nControlId(controlId)
{
    setObjectName(QString::number(controlId));
    setContentsMargins(kBorder, kBorder, kBorder, kBorder);
    setIconSize(QSize(kToolImageWidth, kToolImageHeight));
    setAllowedAreas(Qt::AllToolBarAreas);
    m_grid = new QWidget(this);
    m_layout = new QGridLayout(m_grid);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    addWidget(m_grid);
}

void CColumnToolBar::SetButtons(const QList<QAction*>& actions)
{
    for (QToolButton* button : m_buttons)
        delete button;
    m_buttons.clear();
    for (QAction* action : actions) {
        auto* button = new QToolButton(m_grid);
        button->setDefaultAction(action);
        button->setAutoRaise(true);
        button->setIconSize(iconSize());
        button->installEventFilter(this);
        m_buttons.push_back(button);
    }
    if (!m_image.isNull())
        LoadImage(m_nImageId, m_imageIds, m_bColourImage);
    SetColumns(m_nColumns);
}

QToolButton* CColumnToolBar::Button(int index) const
{
    if (index < 0 || index >= ButtonCount())
        return nullptr;
    return m_buttons[static_cast<size_t>(index)];
}

void CColumnToolBar::SetColumns(int n)
{
    m_nColumns = n < 1 ? 1 : n;
    m_wrap.assign(m_buttons.size(), false);
    for (size_t i = 0; i < m_wrap.size(); ++i)
        m_wrap[i] = (static_cast<int>(i) + 1) % m_nColumns == 0;
    Relayout();
}

bool CColumnToolBar::WrapsAfter(int index) const
{
    return index >= 0 && index < static_cast<int>(m_wrap.size()) && m_wrap[static_cast<size_t>(index)];
}

void CColumnToolBar::Relayout()
{
    for (QToolButton* button : m_buttons)
        m_layout->removeWidget(button);
    int row = 0;
    int column = 0;
    for (size_t i = 0; i < m_buttons.size(); ++i) {
        m_layout->addWidget(m_buttons[i], row, column);
        if (m_wrap[i]) {
            ++row;
            column = 0;
        } else {
            ++column;
        }
    }
    m_grid->adjustSize();
    adjustSize();
    update();
}

int CColumnToolBar::RowCount() const
{
    int rows = 0;
    for (int i = 0; i < ButtonCount(); ++i)
        rows = std::max(rows, RowOf(i) + 1);
    return rows;
}

int CColumnToolBar::RowOf(int index) const
{
    int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
    const int item = m_layout->indexOf(Button(index));
    if (item < 0)
        return -1;
    m_layout->getItemPosition(item, &row, &column, &rowSpan, &columnSpan);
    return row;
}

int CColumnToolBar::ColumnOf(int index) const
{
    int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
    const int item = m_layout->indexOf(Button(index));
    if (item < 0)
        return -1;
    m_layout->getItemPosition(item, &row, &column, &rowSpan, &columnSpan);
    return column;
}

void CColumnToolBar::LoadImage(UINT bitmapId, const std::vector<UINT>& commandIds, bool colour)
{
    m_nImageId = bitmapId;
    m_imageIds = commandIds;
    m_bColourImage = colour;
    m_image = ToolStrip(commandIds, colour);
    const int count = std::min(ButtonCount(), static_cast<int>(commandIds.size()));
    for (int i = 0; i < count; ++i)
        if (QAction* action = Button(i)->defaultAction())
            action->setIcon(ToolButtonIcon(commandIds[static_cast<size_t>(i)], colour));
}

bool CColumnToolBar::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_bToolTips && (event->type() == QEvent::ToolTip || event->type() == QEvent::StatusTip))
        return true;
    return QToolBar::eventFilter(watched, event);
}
