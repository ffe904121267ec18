#include "frame/RecentFileMenu.h"

#include "components/SettingsStore.h"
#include "frame/FrameHost.h"
#include "platform/CommandRouter.h"
#include "resources/CommandIds.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>

static_assert(ID_FILE_MRU_LAST - ID_FILE_MRU_FILE1 + 1 == CRecentFileMenu::kCount);

namespace {

// The list's place in the profile: "File1" (the latest) to "File4".
const QString kRecentGroup = QStringLiteral("Recent File List");

QString RecentKey(int index)
{
    return QStringLiteral("File%1").arg(index + 1);
}

} // namespace

CRecentFileMenu::CRecentFileMenu(QObject* parent, CCommandRouter* router)
{
    for (int i = 0; i < kCount; ++i) {
        auto* action = new QAction(QStringLiteral("Recent File"), parent);
        router->RegisterAction(ID_FILE_MRU_FILE1 + static_cast<UINT>(i), action);
        m_actions[static_cast<size_t>(i)] = action;
    }
    Read();
    ShowInActions();
}

void CRecentFileMenu::ShowInActions()
{
    for (int i = 0; i < kCount; ++i) {
        QAction* action = m_actions[static_cast<size_t>(i)];
        if (!action)
            continue;
        if (i < m_files.size()) {
            const QString path = m_files.at(i);
            action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
            action->setStatusTip(QDir::toNativeSeparators(path));
            action->setData(path);
            action->setVisible(true);
            action->setEnabled(true);
        } else {
            action->setText(QStringLiteral("Recent File"));
            action->setStatusTip(QString());
            action->setData(QVariant());
            action->setVisible(i == 0 && m_files.isEmpty());
            action->setEnabled(false);
        }
    }
}

void CRecentFileMenu::Read()
{
    m_files.clear();
    for (int i = 0; i < kCount; ++i) {
        const QString path = CSettingsStore::Value(kRecentGroup, RecentKey(i)).toString();
        if (!path.isEmpty() && QFileInfo(path).isFile() && !m_files.contains(path))
            m_files.append(path);
    }
}

void CRecentFileMenu::Write() const
{
    for (int i = 0; i < kCount; ++i)
        CSettingsStore::SetValue(kRecentGroup, RecentKey(i), i < m_files.size() ? m_files.at(i) : QString());
}

void CRecentFileMenu::Open(int index, CFrameHost* host)
{
    if (index < 0 || index >= m_files.size())
        return;
    const QString path = m_files.at(index);
    bool cancelled = false;
    if (host && !host->OpenDocumentFile(path, &cancelled) && !cancelled) {
        // A file that no longer opens leaves the list, as the old list did.
        m_files.removeAll(path);
        ShowInActions();
        Write();
    }
}

void CRecentFileMenu::Add(const QString& path)
{
    const QString full = QFileInfo(path).absoluteFilePath();
    m_files.removeAll(full);
    m_files.prepend(full);
    while (m_files.size() > kCount)
        m_files.removeLast();
    ShowInActions();
    Write();
}
