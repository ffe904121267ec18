// The main frame's menus: both menu bars from the menu resources, one action
// per command id shared by menus, toolbar and palettes, the recent-file list
// and the switch between the two menu bars.
#include "frame/MainFrame.h"

#include "app/GlyphaneApp.h"
#include "components/SettingsStore.h"
#include "resources/AcceleratorTable.h"
#include "resources/CommandIds.h"
#include "resources/MenuTables.h"
#include "resources/StringTable.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
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

// The recent-file list's place in the profile: "File1" (the latest) to "File4".
const QString kRecentGroup = QStringLiteral("Recent File List");

QString RecentKey(int index)
{
    return QStringLiteral("File%1").arg(index + 1);
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
    CreateRecentFileActions();
    ReadRecentFileList();
    // Every command has its action from the start (keys, bars and update
    // handlers use them); the logo windows' menu bar itself is built when the
    // first logo window opens.
    CreateMenuActions(MenuResource(IDR_MAINFRAME));
    CreateMenuActions(MenuResource(IDR_GLYPHATYPE));
    CreateAcceleratorOnlyActions();
    RebuildRecentFileMenu();
    ShowMenu(IDR_MAINFRAME);
}

void CMainFrame::CreateMenuActions(const std::vector<CMenuPopupDef>& popups)
{
    for (const CMenuPopupDef& popup : popups)
        for (const CMenuItemDef& item : popup.items) {
            if (item.kind == MenuItemKind::Command)
                CommandAction(item.id, item.text);
            else if (item.kind == MenuItemKind::WebLink)
                CommandAction(item.id, CGlyphaneApp::WebAddress());
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
                for (QAction* recent : m_recentActions)
                    menu->addAction(recent);
                break;
            case MenuItemKind::WebLink:
                menu->addAction(CommandAction(item.id, CGlyphaneApp::WebAddress()));
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

void CMainFrame::CreateRecentFileActions()
{
    for (int i = 0; i < kRecentFileCount; ++i) {
        auto* action = new QAction(QStringLiteral("Recent File"), this);
        m_router->RegisterAction(ID_FILE_MRU_FILE1 + static_cast<UINT>(i), action);
        m_recentActions[static_cast<size_t>(i)] = action;
    }
}

void CMainFrame::RebuildRecentFileMenu()
{
    // While the list is empty its first entry stands in, greyed, as "Recent File".
    for (int i = 0; i < kRecentFileCount; ++i) {
        QAction* action = m_recentActions[static_cast<size_t>(i)];
        if (!action)
            continue;
        if (i < m_recentFiles.size()) {
            const QString path = m_recentFiles.at(i);
            action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
            action->setStatusTip(QDir::toNativeSeparators(path));
            action->setData(path);
            action->setVisible(true);
            action->setEnabled(true);
        } else {
            action->setText(QStringLiteral("Recent File"));
            action->setStatusTip(QString());
            action->setData(QVariant());
            action->setVisible(i == 0 && m_recentFiles.isEmpty());
            action->setEnabled(false);
        }
    }
}

void CMainFrame::ReadRecentFileList()
{
    // A file that has gone since the last run is left out (and out of the
    // profile at the next change), so the menu offers only files that exist.
    m_recentFiles.clear();
    for (int i = 0; i < kRecentFileCount; ++i) {
        const QString path = CSettingsStore::Value(kRecentGroup, RecentKey(i)).toString();
        if (!path.isEmpty() && QFileInfo(path).isFile() && !m_recentFiles.contains(path))
            m_recentFiles.append(path);
    }
}

void CMainFrame::WriteRecentFileList() const
{
    for (int i = 0; i < kRecentFileCount; ++i)
        CSettingsStore::SetValue(kRecentGroup, RecentKey(i), i < m_recentFiles.size() ? m_recentFiles.at(i) : QString());
}

void CMainFrame::OpenRecentFile(int index)
{
    if (index < 0 || index >= m_recentFiles.size())
        return;
    const QString path = m_recentFiles.at(index);
    bool cancelled = false;
    if (CGlyphaneApp* app = GetApp(); app && !app->OpenDocumentFile(path, &cancelled) && !cancelled) {
        // A file that no longer opens leaves the list, as the old list did.
        m_recentFiles.removeAll(path);
        RebuildRecentFileMenu();
        WriteRecentFileList();
    }
}

void CMainFrame::AddToRecentFileList(const QString& path)
{
    const QString full = QFileInfo(path).absoluteFilePath();
    m_recentFiles.removeAll(full);
    m_recentFiles.prepend(full);
    while (m_recentFiles.size() > kRecentFileCount)
        m_recentFiles.removeLast();
    RebuildRecentFileMenu();
    WriteRecentFileList();
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
