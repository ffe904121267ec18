#include "frame/MainFrame.h"

#include "dialogs/ProgramIcon.h"
#include "document/GlyphaneDoc.h"
#include "frame/AcceleratorFilter.h"
#include "frame/ChildFrame.h"
#include "frame/ColumnToolBar.h"
#include "frame/DocumentTitle.h"
#include "frame/FrameHost.h"
#include "frame/RecentFileMenu.h"
#include "frame/StatusPanes.h"
#include "frame/ToolImages.h"
#include "frame/WindowPlacement.h"
#include "platform/KeepInside.h"
#include "platform/KeyLocks.h"
#include "resources/CommandIds.h"
#include "resources/MenuTables.h"
#include "resources/StringTable.h"
#include "view/GlyphaneView.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMdiArea>
#include <QMimeData>
#include <QStatusBar>
#include <QTimer>
#include <QTimerEvent>
#include <QToolBar>
#include <QUrl>

namespace {

constexpr UINT kPaletteIds[] = {ID_VIEW_DRAW_TOOLS, ID_VIEW_GENERIC_TOOLS, ID_VIEW_IMAGE_TOOLS, ID_VIEW_FRAME_TOOLS,
                                ID_VIEW_PATTERN_TOOLS};

constexpr int kKeyIndicatorInterval = 300; // ms

constexpr UINT kPositionPrefix = 1032;
constexpr UINT kToolPrefix = 1033;
constexpr UINT kSizePrefix = 1034;

bool IsPaletteId(UINT id)
{
    return std::find(std::begin(kPaletteIds), std::end(kPaletteIds), id) != std::end(kPaletteIds);
}

} // namespace

CMainFrame::CMainFrame(CCommandRouter* router, CFrameHost* host, QWidget* parent)
    : QMainWindow(parent)
    , m_router(router)
    , m_host(host)
    , m_title(new CDocumentTitle(this))
{
    setObjectName(QStringLiteral("CMainFrame"));
    setAttribute(Qt::WA_DeleteOnClose, false);
}

CMainFrame::~CMainFrame()
{
    CloseAllDocumentsWithoutAsking();
    if (m_router) {
        // The router outlives the frame; its route must not reach a dead one.
        m_router->StopIdleUpdates();
        m_router->SetRouteProvider({});
    }
}

bool CMainFrame::LoadFrame(UINT resourceId)
{
    if (resourceId != IDR_MAINFRAME || !m_router)
        return false;
    setWindowTitle(LoadString(IDR_MAINFRAME));
    setWindowIcon(ProgramIcon());
    resize(1024, 720);
    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdiArea);
    m_router->SetRouteProvider([this] { return CommandRoute(); });

    RestorePlacement();
    ReadPaletteSettings();
    BuildMenus();
    if (!CreateStandardBar() || !CreateBannerBar())
        return false;
    m_statusPanes = new CStatusPanes(statusBar());
    m_strKeyLightFolder = DefaultLedFolder();
    UpdateKeyIndicators();
    // The lock keys have no event of their own: their panes are looked at
    // a few times a second, as the idle update looked at them.
    m_keyIndicatorTimer = startTimer(kKeyIndicatorInterval);
    if (!CreatePalettes())
        return false;
    DockPalettes();
    ApplyColumnSettings();

    m_accelerators = new CAcceleratorFilter(this, m_router);
    m_mdiArea->viewport()->installEventFilter(this);
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
        UpdateMenuForWindows();
        auto* child = qobject_cast<CChildFrame*>(window);
        // The panes follow the active logo window even before its view has the focus.
        if (child && child->GetView())
            child->GetView()->RefreshPanes();
        // A window that goes leaves no logo in front until the next is activated.
        if (child || ChildFrames().isEmpty())
            m_title->Follow(child ? child->GetDocument() : nullptr);
    });
    setAcceptDrops(true);
    m_router->UpdateAll();
    m_router->StartIdleUpdates();
    return true;
}

void CMainFrame::ShowFrame()
{
    if (m_bPlacementRestored && !m_bRestoreMaximized) {
        setGeometry(m_restoredGeometry);
        show();
        // Shown, the window's decoration is known: the whole window, title
        // bar and borders too, stays inside the available area.
        const QRect outer = frameGeometry();
        const QRect inner = geometry();
        const QMargins decoration(inner.left() - outer.left(), inner.top() - outer.top(),
                                  outer.right() - inner.right(), outer.bottom() - inner.bottom());
        const QRect area = ScreenAreaUnder(inner).marginsRemoved(decoration);
        if (const QRect kept = KeepRectInside(inner, area); kept != inner)
            setGeometry(kept);
    } else {
        showMaximized();
    }
    // Looking icons up in the desktop theme loads the icon and image plugins
    // and reads the theme's index, a fifth of the time it takes to build the
    // window: the drawn icons show first, the theme's follow.
    QTimer::singleShot(0, this, &CMainFrame::ApplyThemeIcons);
    // For documentation screenshots: grab the window once it has settled, then quit.
    if (!qEnvironmentVariableIsEmpty("GLYPHANE_SCREENSHOT") && m_screenshotTimer == 0)
        m_screenshotTimer = startTimer(1000);
}

void CMainFrame::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_keyIndicatorTimer) {
        UpdateKeyIndicators();
        return;
    }
    if (event->timerId() != m_screenshotTimer) {
        QMainWindow::timerEvent(event);
        return;
    }
    killTimer(m_screenshotTimer);
    grab().save(qEnvironmentVariable("GLYPHANE_SCREENSHOT"));
    QCoreApplication::quit();
}

void CMainFrame::AddChildFrame(CChildFrame* child)
{
    m_mdiArea->addSubWindow(child);
    connect(child, &QObject::destroyed, this, [this] {
        // Still half in the area while it goes: look again once it is gone.
        QMetaObject::invokeMethod(
            this,
            [this] {
                UpdateMenuForWindows();
                CChildFrame* front = ActiveChildFrame();
                m_title->Follow(front ? front->GetDocument() : nullptr);
            },
            Qt::QueuedConnection);
    });
    child->show();
    m_mdiArea->setActiveSubWindow(child);
    UpdateMenuForWindows();
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (m_mdiArea && watched == m_mdiArea->viewport() && event->type() == QEvent::Resize)
        KeepLogoWindowsInside();
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::KeepLogoWindowsInside()
{
    // Smaller and moved as needed, never larger: a logo window keeps the size
    // its logo gave it while the room allows.
    const QRect room(QPoint(0, 0), m_mdiArea->viewport()->size());
    if (room.isEmpty())
        return;
    for (CChildFrame* child : ChildFrames()) {
        if (child->isMaximized() || child->isMinimized())
            continue;
        const QRect kept = KeepRectInside(child->geometry(), room);
        if (kept.size() != child->size())
            child->setFixedSize(kept.size());
        if (kept.topLeft() != child->pos())
            child->move(kept.topLeft());
    }
}

CChildFrame* CMainFrame::ActiveChildFrame() const
{
    if (!m_mdiArea)
        return nullptr;
    QMdiSubWindow* w = m_mdiArea->activeSubWindow();
    if (!w) {
        // Without a focused window (tests, offscreen) the last one opened is current.
        const auto list = m_mdiArea->subWindowList(QMdiArea::ActivationHistoryOrder);
        w = list.isEmpty() ? nullptr : list.last();
    }
    return qobject_cast<CChildFrame*>(w);
}

void CMainFrame::ActivateDocumentWindow(const CGlyphaneDoc* doc)
{
    for (CChildFrame* child : ChildFrames()) {
        if (child->GetDocument() != doc)
            continue;
        if (child->isMinimized())
            child->showNormal();
        m_mdiArea->setActiveSubWindow(child);
        child->raise();
        // The window list's last entry is the current window where no window has the focus.
        if (CGlyphaneView* view = child->GetView())
            view->setFocus();
        return;
    }
}

QList<CChildFrame*> CMainFrame::ChildFrames() const
{
    QList<CChildFrame*> frames;
    if (!m_mdiArea)
        return frames;
    for (QMdiSubWindow* w : m_mdiArea->subWindowList())
        if (auto* c = qobject_cast<CChildFrame*>(w))
            frames.append(c);
    return frames;
}

void CMainFrame::CloseAllDocumentsWithoutAsking()
{
    if (!m_mdiArea)
        return;
    for (QMdiSubWindow* w : m_mdiArea->subWindowList()) {
        m_mdiArea->removeSubWindow(w);
        delete w;
    }
    UpdateMenuForWindows();
}

std::vector<CCmdTarget*> CMainFrame::CommandRoute() const
{
    std::vector<CCmdTarget*> route;
    if (CChildFrame* child = ActiveChildFrame()) {
        if (CGlyphaneView* view = child->GetView())
            route.push_back(view);
        if (CGlyphaneDoc* doc = child->GetDocument())
            route.push_back(doc);
        route.push_back(child);
    }
    route.push_back(const_cast<CMainFrame*>(this));
    if (m_host)
        route.push_back(m_host->ProgramCommands());
    return route;
}

bool CMainFrame::OnCommand(UINT id)
{
    if (IsPaletteId(id)) {
        if (CColumnToolBar* bar = Palette(id))
            bar->setVisible(bar->isHidden());
        return true;
    }
    if (id >= ID_FILE_MRU_FILE1 && id <= ID_FILE_MRU_LAST) {
        if (m_recentFiles)
            m_recentFiles->Open(static_cast<int>(id - ID_FILE_MRU_FILE1), m_host);
        return true;
    }
    switch (id) {
    case ID_VIEW_STATUS_BAR:
        statusBar()->setVisible(statusBar()->isHidden());
        return true;
    case ID_VIEW_TOOLBAR:
        if (m_standardBar)
            m_standardBar->setVisible(m_standardBar->isHidden());
        return true;
    case ID_WINDOW_CASCADE:
        m_mdiArea->cascadeSubWindows();
        return true;
    case ID_WINDOW_TILE_HORZ:
        m_mdiArea->tileSubWindows();
        return true;
    case ID_OPEN_MENU_BAR:
        OpenMenuBar();
        return true;
    case ID_HELP_SHORTCUTS: {
        CShortcutsDlg dlg(KeyboardShortcuts(), this);
        dlg.DoModal();
        return true;
    }
    default:
        return false;
    }
}

bool CMainFrame::OnUpdateCommand(UINT id, CCmdUI& cmdUI)
{
    // Visibility is asked as "not hidden", so the marks are right before the
    // window is first shown too.
    if (IsPaletteId(id)) {
        const CColumnToolBar* bar = Palette(id);
        cmdUI.Enable(bar != nullptr);
        cmdUI.SetCheck(bar && !bar->isHidden() ? 1 : 0);
        return true;
    }
    if (id >= ID_FILE_MRU_FILE1 && id <= ID_FILE_MRU_LAST) {
        cmdUI.Enable(m_recentFiles && static_cast<int>(id - ID_FILE_MRU_FILE1) < m_recentFiles->Files().size());
        return true;
    }
    switch (id) {
    case ID_VIEW_STATUS_BAR:
        cmdUI.Enable(true);
        cmdUI.SetCheck(statusBar()->isHidden() ? 0 : 1);
        return true;
    case ID_VIEW_TOOLBAR:
        cmdUI.Enable(m_standardBar != nullptr);
        cmdUI.SetCheck(m_standardBar && !m_standardBar->isHidden() ? 1 : 0);
        return true;
    case ID_WINDOW_CASCADE:
    case ID_WINDOW_TILE_HORZ:
    case ID_OPEN_MENU_BAR:
    case ID_HELP_SHORTCUTS:
        cmdUI.Enable(true);
        return true;
    default:
        return false;
    }
}

// --- status panes -----------------------------------------------------------------

void CMainFrame::SetPane(UINT id, const QString& text)
{
    if (m_statusPanes)
        m_statusPanes->SetPaneText(id, text);
}

void CMainFrame::SetPositionPane(int x, int y)
{
    SetPane(ID_PANE_POSITION,
            LoadString(kPositionPrefix) + FormatPrintf(QStringLiteral("X:%.3d, Y:%.3d"), {x + 1, y + 1}));
}

void CMainFrame::SetSizePane(int w, int h)
{
    SetPane(ID_PANE_SIZE, LoadString(kSizePrefix) + FormatPrintf(QStringLiteral("X:%.2d, Y:%.2d"), {w, h}));
}

void CMainFrame::SetToolPane(const QString& name)
{
    SetPane(ID_PANE_TOOL, LoadString(kToolPrefix) + name);
}

void CMainFrame::SetPrinterPane(const QString& text)
{
    SetPane(ID_PANE_PRINTER, text);
}

void CMainFrame::SetPortPane(const QString& text)
{
    SetPane(ID_PANE_PORT, text);
}

void CMainFrame::SetMessagePane(const QString& text)
{
    SetPane(ID_SEPARATOR, text);
}

QString CMainFrame::PaneText(UINT id) const
{
    return m_statusPanes ? m_statusPanes->PaneText(id) : QString();
}

int CMainFrame::PaneWidth(UINT id) const
{
    return m_statusPanes ? m_statusPanes->PaneWidth(id) : 0;
}

void CMainFrame::SetKeyLightFolder(const QString& folder)
{
    m_strKeyLightFolder = folder;
    UpdateKeyIndicators();
}

void CMainFrame::UpdateKeyIndicators()
{
    if (!m_statusPanes)
        return;
    // A state that cannot be read leaves its pane blank rather than claim it.
    const std::pair<UINT, LockKey> indicators[] = {
        {ID_INDICATOR_CAPS, LockKey::Caps}, {ID_INDICATOR_NUM, LockKey::Num}, {ID_INDICATOR_SCRL, LockKey::Scroll}};
    for (const auto& [id, key] : indicators)
        m_statusPanes->ShowIndicator(id, ReadLockKeyState(key, m_strKeyLightFolder).value_or(false));
}

// --- closing and dropped files -----------------------------------------------------

void CMainFrame::closeEvent(QCloseEvent* event)
{
    // The profile is written first, as it always was, even when the operator
    // then cancels the close at a save question.
    WriteProfile();
    if (!SaveModifiedDocuments()) {
        event->ignore();
        return;
    }
    CloseAllDocumentsWithoutAsking();
    QMainWindow::closeEvent(event);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    const QMimeData* data = event->mimeData();
    if (data && data->hasUrls()) {
        for (const QUrl& url : data->urls())
            if (url.isLocalFile()) {
                event->acceptProposedAction();
                return;
            }
    }
    QMainWindow::dragEnterEvent(event);
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    const QMimeData* data = event->mimeData();
    if (!data || !m_host) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    activateWindow();
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            m_host->OpenDocumentFile(url.toLocalFile(), nullptr);
}
