// The view's side of the upgrade-file commands: the undo copy before a load
// and the choice of the file; the document does the rest.
#include "view/ViewEditing.h"

#include "components/SettingsStore.h"
#include "document/GlyphaneDoc.h"
#include "platform/UiSeam.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The upgrade file chosen last, in this run or an earlier one.
const QString kSettingsGroup = QStringLiteral("Settings");
const QString kLastUpgradeFile = QStringLiteral("LastUpgradeFile");

// Where the file dialog opens: where the last upgrade file was, else where
// the logo lives, else the home folder. Never the program folder, where
// operators keep no upgrade files.
QString UpgradeFileFolder(const QString& logoPath)
{
    const QString last = CSettingsStore::Value(kSettingsGroup, kLastUpgradeFile).toString();
    for (const QString& file : {last, logoPath}) {
        if (file.isEmpty())
            continue;
        const QFileInfo info(file);
        if (info.absoluteDir().exists())
            return info.absolutePath();
    }
    return QDir::homePath();
}

} // namespace

void CViewEditing::OnTransferLogoPsw(int direction)
{
    if (direction == 1)
        TakeUndoCopy(); // a load paints over the whole logo
    const QString path = GetOpenFileName(EditingViewport(), QString(), UpgradeFileFolder(m_pDoc->GetPathName()),
                                         QStringLiteral("Tessaro Printers Upgrade Files (*.psw)|*.psw|All Files (*.*)|*.*||"),
                                         QStringLiteral(".psw"));
    if (path.isEmpty())
        return;
    CSettingsStore::SetValue(kSettingsGroup, kLastUpgradeFile, QFileInfo(path).absoluteFilePath());
    m_pDoc->Psw().TransferLogoPsw(path, direction);
}
