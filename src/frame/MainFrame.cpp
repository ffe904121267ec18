#include "frame/MainFrame.h"

#include "app/GlyphaneApp.h"
#include "document/GlyphaneDoc.h"
#include "frame/ChildFrame.h"
#include "view/GlyphaneView.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenuBar>
#include <QStatusBar>

namespace {

constexpr UINT ID_VIEW_TOOLBAR = 59392;
constexpr UINT ID_VIEW_STATUS_BAR = 59393;

} // namespace

CMainFrame::CMainFrame(CCommandRouter* router, QWidget* parent)
    : QMainWindow(parent)
    , m_router(router)
{
    setObjectName(QStringLiteral("CMainFrame"));
    setAttribute(Qt::WA_DeleteOnClose, false);
}

CMainFrame::~CMainFrame()
{
    CloseAllDocumentsWithoutAsking();
}

bool CMainFrame::LoadFrame(UINT resourceId)
{
    if (resourceId != 128 || !m_router)
        return false;
    setWindowTitle(QStringLiteral("Glyphane"));
    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdiArea);
    m_router->SetRouteProvider([this] { return CommandRoute(); });
    BuildMenu128();
    statusBar()->showMessage(QStringLiteral("Ready"));
    resize(1024, 720);
    return true;
}

void CMainFrame::ShowFrame()
{
    showMaximized();
}

QAction* CMainFrame::AddCommand(QMenu* menu, UINT id, const QString& text)
{
    QAction* action = m_router->CreateAction(id, text);
    menu->addAction(action);
    return action;
}

void CMainFrame::BuildMenu128()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    AddCommand(file, 57600, QStringLiteral("&New\tCtrl+N"));
    AddCommand(file, 57601, QStringLiteral("&Open...\tCtrl+O"));
    file->addSeparator();
    m_recentMenu = file->addMenu(QStringLiteral("Recent File"));
    RebuildRecentFileMenu();
    file->addSeparator();
    AddCommand(file, 57665, QStringLiteral("E&xit"));
    m_router->WatchMenu(file);

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    AddCommand(view, ID_VIEW_TOOLBAR, QStringLiteral("&Toolbar"))->setCheckable(true);
    AddCommand(view, ID_VIEW_STATUS_BAR, QStringLiteral("&Status Bar"))->setCheckable(true);
    m_router->WatchMenu(view);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&?"));
    AddCommand(help, 32784, QStringLiteral("&Html Help"));
    help->addSeparator();
    AddCommand(help, 57664, QStringLiteral("&About Glyphane..."));
    help->addSeparator();
    AddCommand(help, 32819, CGlyphaneApp::WebAddress());
    m_router->WatchMenu(help);
}

void CMainFrame::RebuildRecentFileMenu()
{
    if (!m_recentMenu)
        return;
    m_recentMenu->clear();
    if (m_recentFiles.isEmpty()) {
        QAction* none = m_recentMenu->addAction(QStringLiteral("Recent File"));
        none->setEnabled(false);
        return;
    }
    for (int i = 0; i < m_recentFiles.size(); ++i) {
        const QString path = m_recentFiles.at(i);
        QAction* a = m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
        a->setData(path);
        connect(a, &QAction::triggered, this, [path] {
            if (CGlyphaneApp* app = GetApp())
                app->OpenDocumentFile(path);
        });
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
}

void CMainFrame::AddChildFrame(CChildFrame* child)
{
    m_mdiArea->addSubWindow(child);
    child->show();
    m_mdiArea->setActiveSubWindow(child);
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
    if (CGlyphaneApp* app = GetApp())
        route.push_back(app);
    return route;
}

bool CMainFrame::OnCommand(UINT id)
{
    switch (id) {
    case ID_VIEW_STATUS_BAR:
        statusBar()->setVisible(!statusBar()->isVisible());
        return true;
    case ID_VIEW_TOOLBAR:
        return true;
    default:
        return false;
    }
}

bool CMainFrame::OnUpdateCommand(UINT id, CCmdUI& cmdUI)
{
    switch (id) {
    case ID_VIEW_STATUS_BAR:
        cmdUI.Enable(true);
        cmdUI.SetCheck(statusBar()->isVisible() ? 1 : 0);
        return true;
    case ID_VIEW_TOOLBAR:
        cmdUI.Enable(true);
        cmdUI.SetCheck(1);
        return true;
    default:
        return false;
    }
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    QMainWindow::closeEvent(event);
}
