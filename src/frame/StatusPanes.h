#pragma once
// The status bar's nine panes: the message pane ("Ready" and the command
// prompts), printer, port, position, size, tool and the three key indicators.
// Each pane but the first is found by its id; a pane is always made wide
// enough for its whole text, and where the bar is too narrow for all of them
// in one row they take two (PaneRowLayout.h).
#include "platform/WinTypes.h"
#include "resources/CommandIds.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

class QLabel;
class QStatusBar;
class QWidget;

class CStatusPanes : public QObject {
    Q_OBJECT
public:
    explicit CStatusPanes(QStatusBar* bar);

    // The pane ids in order, the message pane (ID_SEPARATOR) first.
    static QList<UINT> PaneIds();

    // Sets a pane's text and widens or narrows it to fit; false for an unknown id.
    bool SetPaneText(UINT id, const QString& text);
    QString PaneText(UINT id) const;
    // A key indicator (CAP, NUM, SCRL) shows its text only while the key's
    // state is on; otherwise the pane stays in its place, blank.
    void ShowIndicator(UINT id, bool on);
    int PaneWidth(UINT id) const;
    QLabel* Pane(UINT id) const;
    // Index of a pane by id (0 the message pane), -1 when none.
    int CommandToIndex(UINT id) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* AddPane(UINT id, const QString& text);

    QStatusBar* m_bar;
    QWidget* m_row = nullptr; // holds every pane but the message pane
    QHash<UINT, QLabel*> m_panes; // the message pane is keyed ID_SEPARATOR
};
