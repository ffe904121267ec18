#pragma once
// The File menu's recent-file list: four entries, latest first, kept in the
// profile and written whenever it changes. A file that has gone since the
// last run is left out, and one that no longer opens leaves the list.
#include <QStringList>

#include <array>

class CCommandRouter;
class CFrameHost;
class QAction;
class QObject;

class CRecentFileMenu {
public:
    static constexpr int kCount = 4;

    // Creates the four entries' actions (owned by parent, routed by their
    // command ids) and reads the list from the profile.
    CRecentFileMenu(QObject* parent, CCommandRouter* router);

    void Add(const QString& path);
    // Entry index chosen: opened through host.
    void Open(int index, CFrameHost* host);
    QStringList Files() const { return m_files; }
    // The actions in the menu's order; while the list is empty the first
    // stands in, greyed, as "Recent File".
    const std::array<QAction*, kCount>& Actions() const { return m_actions; }

private:
    void Read();
    void Write() const;
    void ShowInActions();

    std::array<QAction*, kCount> m_actions{};
    QStringList m_files;
};
