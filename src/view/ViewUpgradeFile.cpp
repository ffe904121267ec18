// The view's side of the upgrade-file commands: the undo copy before a load
// and the choice of the file; the document does the rest.
#include "view/ViewEditing.h"

#include "document/GlyphaneDoc.h"
#include "platform/UiSeam.h"

void CViewEditing::OnTransferLogoPsw(int direction)
{
    if (direction == 1)
        TakeUndoCopy(); // a load paints over the whole logo
    const QString path = GetOpenFileName(EditingViewport(), QString(), QString(),
                                         QStringLiteral("Tessaro Printers Upgrade Files (*.psw)|*.psw|All Files (*.*)|*.*||"),
                                         QStringLiteral(".psw"));
    if (path.isEmpty())
        return;
    m_pDoc->TransferLogoPsw(path, direction);
}
