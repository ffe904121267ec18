#pragma once
// The main window: menus, the multi-document area and the command routing
// from the active logo window outwards.
#include "platform/CommandRouter.h"
#include "platform/WinTypes.h"

#include <QMainWindow>
#include <QStringList>

class QMdiArea;
class QMdiSubWindow;
class QMenu;
class CChildFrame;
class CCommandRouter;

class CMainFrame : public QMainWindow, public CCmdTarget {
    Q_OBJECT
public:
    static constexpr int kRecentFileCount = 4;

    explicit CMainFrame(CCommandRouter* router, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Builds the window for the given menu resource (128: no logo open).
    bool LoadFrame(UINT resourceId);
    void ShowFrame();

    void AddChildFrame(CChildFrame* child);
    CChildFrame* ActiveChildFrame() const;
    QList<CChildFrame*> ChildFrames() const;
    void CloseAllDocumentsWithoutAsking();

    void AddToRecentFileList(const QString& path);
    QStringList RecentFiles() const { return m_recentFiles; }

    QMdiArea* MdiArea() const { return m_mdiArea; }
    CCommandRouter* Router() const { return m_router; }

    bool OnCommand(UINT id) override;
    bool OnUpdateCommand(UINT id, CCmdUI& cmdUI) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenu128();
    QAction* AddCommand(QMenu* menu, UINT id, const QString& text);
    void RebuildRecentFileMenu();
    std::vector<CCmdTarget*> CommandRoute() const;

    CCommandRouter* m_router;
    QMdiArea* m_mdiArea = nullptr;
    QMenu* m_recentMenu = nullptr;
    QStringList m_recentFiles;
};
