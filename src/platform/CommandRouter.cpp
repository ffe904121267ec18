#include "platform/CommandRouter.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QTimer>
#include <QVariant>

namespace {
const char* const kCommandIdProperty = "glyphaneCommandId";
}

// --- CCmdUI ---------------------------------------------------------------------

CCmdUI::CCmdUI(UINT id, const QAction* current) : m_nID(id)
{
    if (current) {
        m_bEnabled = current->isEnabled();
        m_nCheck = current->isChecked() ? 1 : 0;
        m_strText = current->text();
    }
}

void CCmdUI::Enable(bool bOn)
{
    m_bEnabled = bOn;
    m_bEnableSet = true;
}

void CCmdUI::SetCheck(int nCheck)
{
    m_nCheck = nCheck;
    m_bRadio = false;
    m_bCheckSet = true;
}

void CCmdUI::SetRadio(bool bOn)
{
    m_nCheck = bOn ? 1 : 0;
    m_bRadio = true;
    m_bCheckSet = true;
}

void CCmdUI::SetText(const QString& text)
{
    m_strText = text;
    m_bTextSet = true;
}

void CCmdUI::ApplyTo(QAction* action) const
{
    if (!action)
        return;
    if (m_bEnableSet)
        action->setEnabled(m_bEnabled);
    if (m_bCheckSet) {
        action->setCheckable(true);
        action->setChecked(m_nCheck != 0);
    }
    if (m_bTextSet)
        action->setText(m_strText);
}

// --- CCmdTarget -----------------------------------------------------------------

CCmdTarget::~CCmdTarget() = default;

bool CCmdTarget::OnCommand(UINT)
{
    return false;
}

bool CCmdTarget::OnUpdateCommand(UINT, CCmdUI&)
{
    return false;
}

bool CCmdTarget::HasCommandHandler(UINT) const
{
    return false;
}

// --- CCommandMap ----------------------------------------------------------------

bool CCommandMap::OnCommand(UINT id)
{
    const CommandEntry* entry = FindCommand(id);
    if (!entry)
        return false;
    entry->handler(id);
    return true;
}

bool CCommandMap::OnUpdateCommand(UINT id, CCmdUI& cmdUI)
{
    const UpdateEntry* entry = FindUpdate(id);
    if (!entry)
        return false;
    entry->handler(cmdUI);
    return true;
}

bool CCommandMap::HasCommandHandler(UINT id) const
{
    return FindCommand(id) != nullptr;
}

void CCommandMap::MapCommand(UINT id, std::function<void()> handler)
{
    m_commands.push_back({id, id, [h = std::move(handler)](UINT) { h(); }});
}

void CCommandMap::MapCommandRange(UINT first, UINT last, std::function<void(UINT)> handler)
{
    m_commands.push_back({first, last, std::move(handler)});
}

void CCommandMap::MapUpdate(UINT id, std::function<void(CCmdUI&)> handler)
{
    m_updates.push_back({id, id, std::move(handler)});
}

void CCommandMap::MapUpdateRange(UINT first, UINT last, std::function<void(CCmdUI&)> handler)
{
    m_updates.push_back({first, last, std::move(handler)});
}

const CCommandMap::CommandEntry* CCommandMap::FindCommand(UINT id) const
{
    for (const CommandEntry& e : m_commands)
        if (id >= e.first && id <= e.last && e.handler)
            return &e;
    return nullptr;
}

const CCommandMap::UpdateEntry* CCommandMap::FindUpdate(UINT id) const
{
    for (const UpdateEntry& e : m_updates)
        if (id >= e.first && id <= e.last && e.handler)
            return &e;
    return nullptr;
}

// --- CCommandRouter -------------------------------------------------------------

CCommandRouter::CCommandRouter(QObject* parent) : QObject(parent) {}

CCommandRouter::~CCommandRouter() = default;

UINT CCommandRouter::CommandIdOf(const QAction* action)
{
    return action ? action->property(kCommandIdProperty).toUInt() : 0;
}

void CCommandRouter::SetCommandId(QAction* action, UINT id)
{
    if (action)
        action->setProperty(kCommandIdProperty, QVariant::fromValue(id));
}

QString CCommandRouter::MenuTextOf(const QString& menuText)
{
    const qsizetype tab = menuText.indexOf(u'\t');
    return tab < 0 ? menuText : menuText.left(tab);
}

QString CCommandRouter::ShortcutTextOf(const QString& menuText)
{
    const qsizetype tab = menuText.indexOf(u'\t');
    return tab < 0 ? QString() : menuText.mid(tab + 1).trimmed();
}

QAction* CCommandRouter::Action(UINT id) const
{
    return m_actions.value(id).data();
}

void CCommandRouter::RegisterAction(UINT id, QAction* action)
{
    if (!action)
        return;
    if (QAction* previous = Action(id); previous && previous != action)
        disconnect(previous, &QAction::triggered, this, nullptr);
    SetCommandId(action, id);
    m_actions.insert(id, action);
    disconnect(action, &QAction::triggered, this, nullptr);
    connect(action, &QAction::triggered, this, [this, id] { Dispatch(id); });
}

QAction* CCommandRouter::CreateAction(UINT id, const QString& menuText)
{
    auto* action = new QAction(MenuTextOf(menuText), this);
    const QString shortcut = ShortcutTextOf(menuText);
    if (!shortcut.isEmpty())
        action->setShortcut(QKeySequence(shortcut, QKeySequence::PortableText));
    RegisterAction(id, action);
    return action;
}

void CCommandRouter::SetRouteProvider(RouteProvider provider)
{
    m_route = std::move(provider);
}

std::vector<CCmdTarget*> CCommandRouter::Route() const
{
    std::vector<CCmdTarget*> route = m_route ? m_route() : std::vector<CCmdTarget*>{};
    std::erase(route, nullptr);
    return route;
}

CCmdUI CCommandRouter::QueryState(UINT id, const QAction* current) const
{
    return QueryStateAlong(id, Route(), current);
}

CCmdUI CCommandRouter::QueryStateAlong(UINT id, const std::vector<CCmdTarget*>& route, const QAction* current)
{
    CCmdUI cmdUI(id, current);
    // As the old framework: the first update handler along the route decides;
    // without one, a command is enabled exactly when someone would handle it.
    for (CCmdTarget* target : route)
        if (target->OnUpdateCommand(id, cmdUI))
            return cmdUI;
    bool handled = false;
    for (CCmdTarget* target : route)
        handled = handled || target->HasCommandHandler(id);
    cmdUI.Enable(handled);
    return cmdUI;
}

bool CCommandRouter::Dispatch(UINT id, const std::vector<CCmdTarget*>& route)
{
    std::vector<CCmdTarget*> targets = route;
    std::erase(targets, nullptr);
    bool handled = false;
    if (QueryStateAlong(id, targets, Action(id)).enabled()) {
        for (CCmdTarget* target : targets)
            if (target->OnCommand(id)) {
                handled = true;
                break;
            }
    }
    emit commandDispatched(id, handled);
    return handled;
}

void CCommandRouter::UpdateAction(QAction* action)
{
    const UINT id = CommandIdOf(action);
    if (id == 0 || action->isSeparator() || action->menu())
        return;
    QueryState(id, action).ApplyTo(action);
}

void CCommandRouter::UpdateActions(const QList<QAction*>& actions)
{
    for (QAction* action : actions)
        if (action)
            UpdateAction(action);
}

void CCommandRouter::UpdateAll()
{
    // Copied first: an update handler may register or delete actions.
    const QList<QPointer<QAction>> actions = m_actions.values();
    for (const QPointer<QAction>& action : actions)
        if (action)
            UpdateAction(action.data());
}

void CCommandRouter::WatchMenu(QMenu* menu)
{
    if (!menu)
        return;
    QPointer<QMenu> guarded(menu);
    connect(menu, &QMenu::aboutToShow, this, [this, guarded] {
        if (guarded)
            UpdateActions(guarded->actions());
    });
    for (QAction* action : menu->actions())
        if (action->menu())
            WatchMenu(action->menu());
}

void CCommandRouter::StartIdleUpdates(int intervalMs)
{
    if (!m_idleTimer) {
        m_idleTimer = new QTimer(this);
        connect(m_idleTimer, &QTimer::timeout, this, &CCommandRouter::UpdateAll);
    }
    m_idleTimer->start(std::max(1, intervalMs));
}

void CCommandRouter::StopIdleUpdates()
{
    if (m_idleTimer)
        m_idleTimer->stop();
}
