// The main frame's menus: both menu bars from the menu resources, one action
// per command id shared by menus, toolbar and palettes, the recent-file list
// and the switch between the two menu bars.
#include "frame/MainFrame.h"

#include "frame/FrameHost.h"
#include "frame/RecentFileMenu.h"
#include "resources/AcceleratorTable.h"
#include "resources/CommandIds.h"
#include "resources/MenuTables.h"
#include "resources/StringTable.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {

// What a tooltip or status prompt shows of a menu text: no mnemonic marks,
// no shortcut part, no trailing dots or blanks.
QString PromptOf(const QString& menuText)
{
    const QString shown = CCommandRouter::MenuTextOf(menuText);
    QString text;
    text.reserve(shown.size());
    // A lone "&" marks the mnemonic and goes; of "&&" (a shown "&") one stays.
    // A plain scan: a regular expression here was compiled for every one of
    // the hundred commands while the window was being built.
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const bool doubled = i + 1 < shown.size() && shown[i + 1] == u'&';
        if (shown[i] != u'&' || doubled)
            text += shown[i];
    }
    while (text.endsWith(u'.') || text.endsWith(u' '))
        text.chop(1);
    return text;
}

// The status-bar prompt of a command: its own string (the text before a
// "\n", as in the bar toggles' "Toggle Draw ToolBar"), else its menu text.
QString StatusPrompt(UINT id, const QString& menuText)
{
    const QString own = LoadString(id).section(u'\n', 0, 0);
    return own.isEmpty() ? PromptOf(menuText) : own;
}

} // namespace

QAction* CMainFrame::CommandAction(UINT id, const QString& menuText)
{
    if (QAction* existing = m_router->Action(id))
        return existing;
    // The text keeps its "\t" part, which the menu shows as the shortcut
    // column; the key itself works through the accelerator table only.
    auto* action = new QAction(menuText, this);
    action->setToolTip(PromptOf(menuText));
    action->setStatusTip(StatusPrompt(id, menuText));
    m_router->RegisterAction(id, action);
    return action;
}

void CMainFrame::BuildMenus()
{
    m_recentFiles = std::make_unique<CRecentFileMenu>(this, m_router);
    // Every command has its action from the start (keys, bars and update
    // handlers use them); the logo windows' menu bar itself is built when the
    // first logo window opens.
    CreateMenuActions(MenuResource(IDR_MAINFRAME));
    CreateMenuActions(MenuResource(IDR_GLYPHATYPE));
    CreateAcceleratorOnlyActions();
    ShowMenu(IDR_MAINFRAME);
}

void CMainFrame::CreateMenuActions(const std::vector<CMenuPopupDef>& popups)
{
    for (const CMenuPopupDef& popup : popups)
        for (const CMenuItemDef& item : popup.items) {
            if (item.kind == MenuItemKind::Command)
                CommandAction(item.id, item.text);
            else if (item.kind == MenuItemKind::WebLink)
                CommandAction(item.id, m_host ? m_host->WebAddress() : QString());
        }
}

QList<QMenu*> CMainFrame::MenuPopups(UINT menuId)
{
    auto built = m_menus.find(menuId);
    if (built == m_menus.end())
        built = m_menus.insert(menuId, BuildMenuBar(MenuResource(menuId)));
    return *built;
}

QList<QMenu*> CMainFrame::BuildMenuBar(const std::vector<CMenuPopupDef>& popups)
{
    QList<QMenu*> menus;
    for (const CMenuPopupDef& popup : popups) {
        // Owned by the frame, not the menu bar, so switching bars keeps them.
        auto* menu = new QMenu(popup.title, this);
        for (const CMenuItemDef& item : popup.items) {
            switch (item.kind) {
            case MenuItemKind::Separator:
                menu->addSeparator();
                break;
            case MenuItemKind::RecentFiles:
                for (QAction* recent : m_recentFiles->Actions())
                    menu->addAction(recent);
                break;
            case MenuItemKind::WebLink:
                menu->addAction(CommandAction(item.id, m_host ? m_host->WebAddress() : QString()));
                break;
            case MenuItemKind::Command:
                menu->addAction(CommandAction(item.id, item.text));
                break;
            }
        }
        m_router->WatchMenu(menu);
        menus.append(menu);
    }
    return menus;
}

void CMainFrame::CreateAcceleratorOnlyActions()
{
    // Commands reached by key only (Print, next and previous pane, the menu
    // bar, the dead Alt+W) still get their one action, for the toolbar, the
    // update state and the list of keys in Help.
    static const QHash<UINT, QString> texts = {
        {ID_FILE_PRINT, QStringLiteral("&Print...\tCtrl+P")},
        {ID_NEXT_PANE, QStringLiteral("Next Pane\tF6")},
        {ID_PREV_PANE, QStringLiteral("Previous Pane\tShift+F6")},
        {ID_OPEN_MENU_BAR, QStringLiteral("Open the Menu Bar\tF10")},
        {ID_UNHANDLED_ALT_W, QStringLiteral("Nothing (no command)")},
    };
    for (UINT id : AcceleratorCommandIds())
        if (!m_router->Action(id))
            CommandAction(id, texts.value(id, QString::number(id)));
}

void CMainFrame::AddToRecentFileList(const QString& path)
{
    if (m_recentFiles)
        m_recentFiles->Add(path);
}

QStringList CMainFrame::RecentFiles() const
{
    return m_recentFiles ? m_recentFiles->Files() : QStringList();
}

void CMainFrame::ShowMenu(UINT menuId)
{
    if (menuId == m_nCurrentMenu || (menuId != IDR_MAINFRAME && menuId != IDR_GLYPHATYPE))
        return;
    menuBar()->clear();
    for (QMenu* menu : MenuPopups(menuId))
        menuBar()->addMenu(menu);
    m_nCurrentMenu = menuId;
}

void CMainFrame::OpenMenuBar()
{
    const QList<QAction*> titles = menuBar()->actions();
    if (!titles.isEmpty())
        menuBar()->setActiveAction(titles.first());
}

QList<CShortcutsDlg::Row> CMainFrame::KeyboardShortcuts() const
{
    QList<CShortcutsDlg::Row> rows;
    for (const CAccelEntry& entry : AcceleratorTable()) {
        const QAction* action = m_router->Action(entry.commandId);
        rows.append({entry.key.toString(QKeySequence::NativeText), action ? action->toolTip() : QString()});
    }
    return rows;
}

void CMainFrame::UpdateMenuForWindows()
{
    ShowMenu(ChildFrames().isEmpty() ? IDR_MAINFRAME : IDR_GLYPHATYPE);
    m_router->UpdateAll();
}
