#pragma once
// The main window: the two menu bars, the accelerator table, the standard
// toolbar and banner, the five column palettes, the status bar panes, the
// multi-document area and the command routing from the active logo window
// outwards. Its palette settings and placement live in the profile.
#include "dialogs/ShortcutsDlg.h"
#include "platform/CommandRouter.h"
#include "platform/WinTypes.h"

#include <QHash>
#include <QMainWindow>
#include <QStringList>
#include <memory>

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class CAcceleratorFilter;
class CChildFrame;
class CGlyphaneDoc;
class CColumnToolBar;
class CCommandRouter;
class CDocumentTitle;
class CFrameHost;
class CRecentFileMenu;
class CStatusPanes;
struct CMenuPopupDef;

class CMainFrame : public QMainWindow, public CCmdTarget {
    Q_OBJECT
public:
    // host: the application's commands, files and link (may be null).
    CMainFrame(CCommandRouter* router, CFrameHost* host, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Builds the window for the given menu resource (128: no logo open):
    // menus, bars, palettes, status bar, the profile's settings and placement.
    bool LoadFrame(UINT resourceId);
    // Shows the window as the stored placement says (maximised by default).
    void ShowFrame();

    void AddChildFrame(CChildFrame* child);
    CChildFrame* ActiveChildFrame() const;
    // Brings the window of an open document forward (restored and active).
    void ActivateDocumentWindow(const CGlyphaneDoc* doc);
    QList<CChildFrame*> ChildFrames() const;
    void CloseAllDocumentsWithoutAsking();

    void AddToRecentFileList(const QString& path);
    QStringList RecentFiles() const;

    QMdiArea* MdiArea() const { return m_mdiArea; }
    CCommandRouter* Router() const { return m_router; }

    // Status panes the view keeps up to date.
    void SetPositionPane(int x, int y);
    void SetSizePane(int w, int h);
    void SetToolPane(const QString& name);
    void SetPrinterPane(const QString& text);
    void SetPortPane(const QString& text);
    // The message pane, at the left of the status bar.
    void SetMessagePane(const QString& text);
    QString PaneText(UINT id) const;
    int PaneWidth(UINT id) const;

    // The CAP, NUM and SCRL panes follow the lock keys, read from the
    // keyboard lights in this folder (the kernel's LED class unless changed).
    void SetKeyLightFolder(const QString& folder);
    void UpdateKeyIndicators();

    // The menu bar shown now: 128 without a logo window, 129 with one.
    UINT CurrentMenuId() const { return m_nCurrentMenu; }
    // The popups of menu bar menuId (IDR_MAINFRAME or IDR_GLYPHATYPE), built on first use.
    QList<QMenu*> MenuPopups(UINT menuId);
    // The palette of a control id (its View command, ID_VIEW_DRAW_TOOLS...), or null.
    CColumnToolBar* Palette(UINT controlId) const;
    QToolBar* StandardBar() const { return m_standardBar; }
    QToolBar* BannerBar() const { return m_bannerBar; }
    // Every key of the accelerator table, in its order, with the command it
    // sends as the menus name it: what Help lists.
    QList<CShortcutsDlg::Row> KeyboardShortcuts() const;

    bool OnCommand(UINT id) override;
    bool OnUpdateCommand(UINT id, CCmdUI& cmdUI) override;

    // The bars' own menu (a right click on a bar): Qt's entries, one per bar,
    // but a bar that a View command shows and hides gets that command, sent
    // through the router like the View menu's entry.
    QMenu* createPopupMenu() override;

    // Palette settings read from the profile at creation.
    BOOL m_bDrawToolColor = TRUE;
    BOOL m_bDrawToolTips = TRUE;
    BOOL m_bGenericToolColor = TRUE;
    BOOL m_bGenericToolTips = TRUE;
    BOOL m_bImageOptionsColor = TRUE;
    BOOL m_bImageOptionsTips = TRUE;
    BOOL m_bFramesColor = TRUE;
    BOOL m_bFramesTips = TRUE;
    BOOL m_bPatternColor = TRUE;
    BOOL m_bPatternTips = TRUE;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    // Menus and accelerators (MainFrameMenus.cpp).
    void BuildMenus();
    void CreateMenuActions(const std::vector<CMenuPopupDef>& popups);
    QList<QMenu*> BuildMenuBar(const std::vector<CMenuPopupDef>& popups);
    QAction* CommandAction(UINT id, const QString& menuText);
    void CreateAcceleratorOnlyActions();
    void ShowMenu(UINT menuId);
    void UpdateMenuForWindows();
    // F10: the first menu opens, and the arrow keys go on from there.
    void OpenMenuBar();

    // Bars, palettes and the profile (MainFrameBars.cpp).
    bool CreateStandardBar();
    // The desktop theme's icons in place of the drawn ones on the standard
    // bar, where the theme has them.
    void ApplyThemeIcons();
    bool CreateBannerBar();
    bool CreatePalettes();
    void DockPalettes();
    void ReadPaletteSettings();
    void ApplyColumnSettings();
    void RestorePlacement();
    // Every logo window inside the multi-document area's room.
    void KeepLogoWindowsInside();
    void WriteProfile();
    bool SaveModifiedDocuments();

    void SetPane(UINT id, const QString& text);
    std::vector<CCmdTarget*> CommandRoute() const;

    CCommandRouter* m_router;
    CFrameHost* m_host;
    QMdiArea* m_mdiArea = nullptr;
    CStatusPanes* m_statusPanes = nullptr;
    CAcceleratorFilter* m_accelerators = nullptr;
    QToolBar* m_standardBar = nullptr;
    QToolBar* m_bannerBar = nullptr;
    CColumnToolBar* m_drawBar = nullptr;
    CColumnToolBar* m_actionsBar = nullptr;
    CColumnToolBar* m_imageBar = nullptr;
    CColumnToolBar* m_framesBar = nullptr;
    CColumnToolBar* m_patternBar = nullptr;
    QHash<UINT, QList<QMenu*>> m_menus;
    UINT m_nCurrentMenu = 0;
    std::unique_ptr<CRecentFileMenu> m_recentFiles;
    bool m_bPlacementRestored = false;
    bool m_bRestoreMaximized = true;
    QRect m_restoredGeometry;
    int m_screenshotTimer = 0;
    int m_keyIndicatorTimer = 0;
    QString m_strKeyLightFolder;
    CDocumentTitle* m_title; // names the logo in front
};
