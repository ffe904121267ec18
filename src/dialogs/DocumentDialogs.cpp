#include "dialogs/DocumentDialogs.h"

#include "dialogs/QzHeaderDlg.h"
#include "dialogs/SelectLogoDlg.h"
#include "platform/UiSeam.h"

void InstallDocumentDialogs(CDocEnvironment& env)
{
    env.selectLogo = [](QObject* owner, const QStringList& lines) {
        CSelectLogoDlg dlg(WindowOf(owner), &lines);
        return dlg.DoModal() == IDOK ? dlg.m_nSelected : -1;
    };
    env.askQzHeader = [](QObject* owner, unsigned* release, unsigned* version) {
        CQzHeaderDlg dlg(WindowOf(owner));
        if (dlg.DoModal() != IDOK)
            return false;
        *release = dlg.m_nRelease;
        *version = dlg.m_nVersion;
        return true;
    };
}
