#pragma once
// Commands by numeric id (resources/CommandIds.h), routed the way the old
// framework did: every menu entry, toolbar and palette button is a QAction
// carrying its command id; a triggered action, an accelerator key and a
// context menu entry all go through Dispatch, to the first target of the route
// (view, document, child frame, main frame, application) that handles the id.
// Update handlers decide the actions' enabled, checked and text state before a
// menu opens and on an idle timer for the toolbars, and Dispatch refuses a
// command they disable.
#include "platform/WinTypes.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <vector>

class QAction;
class QMenu;
class QTimer;

// What an update handler sets for one command. Only what the handler sets
// reaches the action; the rest keeps its state.
class CCmdUI {
public:
    explicit CCmdUI(UINT id, const QAction* current = nullptr);

    UINT m_nID;

    void Enable(bool bOn = true);
    void SetCheck(int nCheck = 1); // 0 clear, 1 checked, 2 indeterminate (shown checked)
    void SetRadio(bool bOn = true);
    void SetText(const QString& text);

    bool enabled() const { return m_bEnabled; }
    int checked() const { return m_nCheck; }
    bool radio() const { return m_bRadio; }
    QString text() const { return m_strText; }
    bool enableSet() const { return m_bEnableSet; }
    bool checkSet() const { return m_bCheckSet; }
    bool textSet() const { return m_bTextSet; }

    void ApplyTo(QAction* action) const;

private:
    bool m_bEnabled = true;
    int m_nCheck = 0;
    bool m_bRadio = false;
    QString m_strText;
    bool m_bEnableSet = false;
    bool m_bCheckSet = false;
    bool m_bTextSet = false;
};

// Something on the route. A plain target handles nothing; a target either
// overrides the three virtuals or is a command map (below).
class CCmdTarget {
public:
    virtual ~CCmdTarget();

    // True when the id was handled.
    virtual bool OnCommand(UINT id);
    // True when the target has an update handler for id (it then set cmdUI).
    virtual bool OnUpdateCommand(UINT id, CCmdUI& cmdUI);
    // True when OnCommand would handle id; asked, without running anything, for
    // commands that have no update handler.
    virtual bool HasCommandHandler(UINT id) const;
};

// A target whose answers come from a table of handlers (the message-map
// style), filled by whoever owns it: a role of the view keeps one and maps its
// own commands into it, so the roles add commands without knowing each other.
// The handlers run only when the router dispatches, or when an owner on the
// route hands a command on.
class CCommandMap : public CCmdTarget {
public:
    void MapCommand(UINT id, std::function<void()> handler);
    void MapCommandRange(UINT first, UINT last, std::function<void(UINT)> handler);
    void MapUpdate(UINT id, std::function<void(CCmdUI&)> handler);
    void MapUpdateRange(UINT first, UINT last, std::function<void(CCmdUI&)> handler);

    bool OnCommand(UINT id) override;
    bool OnUpdateCommand(UINT id, CCmdUI& cmdUI) override;
    bool HasCommandHandler(UINT id) const override;

private:
    struct CommandEntry {
        UINT first;
        UINT last;
        std::function<void(UINT)> handler;
    };
    struct UpdateEntry {
        UINT first;
        UINT last;
        std::function<void(CCmdUI&)> handler;
    };
    const CommandEntry* FindCommand(UINT id) const;
    const UpdateEntry* FindUpdate(UINT id) const;

    // Searched in the order mapped; the first entry covering an id wins.
    std::vector<CommandEntry> m_commands;
    std::vector<UpdateEntry> m_updates;
};

class CCommandRouter : public QObject {
    Q_OBJECT
public:
    using RouteProvider = std::function<std::vector<CCmdTarget*>()>;

    explicit CCommandRouter(QObject* parent = nullptr);
    ~CCommandRouter() override;

    // The action of id, or null.
    QAction* Action(UINT id) const;
    // Binds action to id (its triggers dispatch id); replaces an earlier one.
    void RegisterAction(UINT id, QAction* action);
    // A new action owned by the router from a menu text "&Text\tCtrl+N": the
    // part before the tab is the text, the part after it the shortcut.
    QAction* CreateAction(UINT id, const QString& menuText);

    void SetRouteProvider(RouteProvider provider);
    std::vector<CCmdTarget*> Route() const;

    // The one way a command runs, whatever sent it: a menu entry, a toolbar or
    // palette button (their actions' triggers), an accelerator, either context
    // menu. The state the route gives id is asked first and a disabled command
    // is refused, as the old frame refused a stale accelerator; otherwise id
    // goes to the first target along the route that handles it. Emits
    // commandDispatched; true when a target handled it.
    bool Dispatch(UINT id, const std::vector<CCmdTarget*>& route);
    // Along the active window's route.
    bool Dispatch(UINT id) { return Dispatch(id, Route()); }
    // The state the route gives id now, without touching any action.
    CCmdUI QueryState(UINT id, const QAction* current = nullptr) const;
    // The same rule along a route of the caller's, for a menu that belongs to
    // one window rather than to the active one (the view's context menu).
    static CCmdUI QueryStateAlong(UINT id, const std::vector<CCmdTarget*>& route, const QAction* current = nullptr);
    bool IsEnabled(UINT id) const { return QueryState(id).enabled(); }

    void UpdateAll();
    void UpdateActions(const QList<QAction*>& actions);
    void UpdateAction(QAction* action);

    // Updates a menu's (and its submenus') actions each time it is about to open.
    void WatchMenu(QMenu* menu);
    // Runs UpdateAll every intervalMs while the event loop is idle-ish.
    void StartIdleUpdates(int intervalMs = 250);
    void StopIdleUpdates();

    static UINT CommandIdOf(const QAction* action); // 0 when none
    static void SetCommandId(QAction* action, UINT id);
    static QString MenuTextOf(const QString& menuText);
    static QString ShortcutTextOf(const QString& menuText);

signals:
    void commandDispatched(UINT id, bool handled);

private:
    QHash<UINT, QPointer<QAction>> m_actions;
    RouteProvider m_route;
    QTimer* m_idleTimer = nullptr;
};
