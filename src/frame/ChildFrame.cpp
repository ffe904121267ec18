#include "frame/ChildFrame.h"

#include "dialogs/ProgramIcon.h"
#include "document/GlyphaneDoc.h"
#include "frame/FrameHost.h"
#include "frame/ToolImages.h"
#include "resources/CommandIds.h"
#include "view/GlyphaneView.h"

#include <QCloseEvent>

CChildFrame::CChildFrame(CGlyphaneDoc* doc, CFrameHost* host, QWidget* parent)
    : QMdiSubWindow(parent)
    , m_doc(doc)
    , m_host(host)
{
    // No sizing border, no minimise or maximise box: the logo fixes the size.
    setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    // The program's icon, not the toolkit's own in the title bar.
    setWindowIcon(ProgramIcon());
    connect(m_doc, &CGlyphaneDoc::titleChanged, this, &CChildFrame::UpdateCaption);
    connect(m_doc, &CGlyphaneDoc::modifiedChanged, this, &CChildFrame::UpdateCaption);
    UpdateCaption();
}

CChildFrame::~CChildFrame()
{
    // The refused start-up document never gets a window, so every window
    // that goes resets the "Settings" word.
    if (m_host)
        m_host->LogoWindowClosed();
    // The view reads its document while it goes, so it goes first.
    delete widget();
    delete m_doc;
}

bool CChildFrame::OnCommand(UINT id)
{
    if (id != ID_FILE_CLOSE)
        return false;
    close();
    return true;
}

bool CChildFrame::OnUpdateCommand(UINT id, CCmdUI& cmdUI)
{
    if (id != ID_FILE_CLOSE)
        return false;
    cmdUI.Enable(true);
    return true;
}

bool CChildFrame::HasCommandHandler(UINT id) const
{
    return id == ID_FILE_CLOSE || CCmdTarget::HasCommandHandler(id);
}

void CChildFrame::closeEvent(QCloseEvent* event)
{
    if (!m_doc->SaveModified()) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}

CGlyphaneView* CChildFrame::GetView() const
{
    return m_view.data();
}

void CChildFrame::SetView(CGlyphaneView* view)
{
    m_view = view;
    setWidget(view);
}

void CChildFrame::UpdateCaption()
{
    QString title = m_doc->GetTitle();
    if (title.isEmpty())
        title = QStringLiteral("Glypha");
    setWindowTitle(title + QStringLiteral("[*]"));
    setWindowModified(m_doc->IsModified());
}
