#include "frame/StatusPanes.h"

#include "frame/PaneRowLayout.h"
#include "resources/StringTable.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QStatusBar>

namespace {
// Room for the label's frame and a little air on each side of the text.
constexpr int kPanePadding = 12;
// Between two panes, as the bar spaces its own widgets.
constexpr int kPaneGap = 6;
constexpr UINT kReadyString = 57345;
} // namespace

CStatusPanes::CStatusPanes(QStatusBar* bar)
    : QObject(bar)
    , m_bar(bar)
{
    // The message pane stretches and is only covered, never removed, while a
    // command prompt shows.
    auto* message = new QLabel(LoadString(kReadyString), bar);
    message->setObjectName(QStringLiteral("pane0"));
    bar->addWidget(message, 1);
    m_panes.insert(ID_SEPARATOR, message);
    // The fixed panes share one permanent widget of the bar, which lays them
    // out in as many rows as the bar's width needs.
    m_row = new QWidget(bar);
    m_row->setObjectName(QStringLiteral("paneRow"));
    auto* rows = new CPaneRowLayout(m_row);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(kPaneGap);
    for (UINT id : PaneIds())
        if (id != ID_SEPARATOR)
            AddPane(id, LoadString(id));
    bar->addPermanentWidget(m_row);
    m_row->installEventFilter(this);
}

bool CStatusPanes::eventFilter(QObject* watched, QEvent* event)
{
    // The main window gives the bar the height of one row, whatever its
    // panes need at its width: the bar is told its height as a minimum.
    if (watched == m_row && event->type() == QEvent::Resize) {
        const int needed = m_bar->heightForWidth(m_bar->width());
        if (needed > 0 && needed != m_bar->minimumHeight())
            m_bar->setMinimumHeight(needed);
    }
    return QObject::eventFilter(watched, event);
}

QList<UINT> CStatusPanes::PaneIds()
{
    return {ID_SEPARATOR,  ID_PANE_PRINTER,    ID_PANE_PORT,     ID_PANE_POSITION, ID_PANE_SIZE,
            ID_PANE_TOOL,  ID_INDICATOR_CAPS,  ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
}

QLabel* CStatusPanes::AddPane(UINT id, const QString& text)
{
    auto* label = new QLabel(m_row);
    label->setObjectName(QStringLiteral("pane%1").arg(id));
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    m_panes.insert(id, label);
    // Text and width first: the bar then lays the pane out once, not twice.
    SetPaneText(id, text);
    m_row->layout()->addWidget(label);
    return label;
}

bool CStatusPanes::SetPaneText(UINT id, const QString& text)
{
    QLabel* label = m_panes.value(id);
    if (!label)
        return false;
    label->setText(text);
    if (id != ID_SEPARATOR) {
        // Measured in the font the pane paints with, on its own screen, so
        // the text is never cut.
        const int width = label->fontMetrics().horizontalAdvance(text) + kPanePadding;
        label->setFixedWidth(width);
    }
    label->repaint();
    return true;
}

void CStatusPanes::ShowIndicator(UINT id, bool on)
{
    // The width stays the one measured for the text at creation.
    if (QLabel* label = m_panes.value(id))
        label->setText(on ? LoadString(id) : QString());
}

QString CStatusPanes::PaneText(UINT id) const
{
    const QLabel* label = m_panes.value(id);
    return label ? label->text() : QString();
}

int CStatusPanes::PaneWidth(UINT id) const
{
    const QLabel* label = m_panes.value(id);
    return label ? label->width() : 0;
}

QLabel* CStatusPanes::Pane(UINT id) const
{
    return m_panes.value(id);
}

int CStatusPanes::CommandToIndex(UINT id) const
{
    return static_cast<int>(PaneIds().indexOf(id));
}
