// The File menu's rules, and the view's side of the upgrade-file commands:
// the undo copy before a load and the choice of the file; the document does
// the rest.
#include "view/ViewFileCommands.h"

#include "components/SettingsStore.h"
#include "document/GlyphaneDoc.h"
#include "platform/UiSeam.h"
#include "resources/CommandIds.h"
#include "view/EditingSurfaces.h"
#include "view/EditingWindow.h"
#include "view/ViewMagnifier.h"
#include "view/tools/ToolHost.h"

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

void CViewFileCommands::MapCommands(CCommandMap& commands)
{
    auto& c = commands;
    // A coloured image must be converted before it can be saved, and the
    // magnified cells reach the image only when the magnifier is left.
    auto saveRule = [this](CCmdUI& ui) {
        ui.Enable(!m_host.Magnifier().IsMagnified() && m_host.Doc()->Binding().IsMonochrome());
    };
    c.MapUpdate(ID_FILE_SAVE, saveRule);
    c.MapUpdate(ID_FILE_SAVE_AS, saveRule);
    c.MapUpdate(ID_FILE_CLOSE, [this](CCmdUI& ui) { ui.Enable(!m_host.Magnifier().IsMagnified()); });
    c.MapCommand(ID_FILE_LOAD_PSW, [this] { OnTransferLogoPsw(1); });
    c.MapCommand(ID_FILE_SAVE_PSW, [this] { OnTransferLogoPsw(0); });
    auto pswRule = [this](CCmdUI& ui) { ui.Enable(m_host.Doc()->Psw().PswCommandsEnabled()); };
    c.MapUpdate(ID_FILE_LOAD_PSW, pswRule);
    c.MapUpdate(ID_FILE_SAVE_PSW, pswRule);
}

void CViewFileCommands::OnTransferLogoPsw(int direction)
{
    if (direction == 1)
        m_host.Surfaces().TakeUndoCopy(); // a load paints over the whole logo
    const QString path =
        GetOpenFileName(m_host.Window().EditingViewport(), QString(), UpgradeFileFolder(m_host.Doc()->GetPathName()),
                        QStringLiteral("Tessaro Printers Upgrade Files (*.psw)|*.psw|All Files (*.*)|*.*||"),
                        QStringLiteral(".psw"));
    if (path.isEmpty())
        return;
    CSettingsStore::SetValue(kSettingsGroup, kLastUpgradeFile, QFileInfo(path).absoluteFilePath());
    m_host.Doc()->Psw().TransferLogoPsw(path, direction);
}
