#include "frame/ChildFrame.h"

#include "document/GlyphaneDoc.h"
#include "view/GlyphaneView.h"

CChildFrame::CChildFrame(CGlyphaneDoc* doc, QWidget* parent)
    : QMdiSubWindow(parent)
    , m_doc(doc)
{
    // No sizing border, no minimise or maximise box: the logo fixes the size.
    setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    connect(m_doc, &CGlyphaneDoc::titleChanged, this, &CChildFrame::UpdateCaption);
    connect(m_doc, &CGlyphaneDoc::modifiedChanged, this, &CChildFrame::UpdateCaption);
    UpdateCaption();
}

CChildFrame::~CChildFrame()
{
    // The view reads its document while it goes, so it goes first.
    delete widget();
    delete m_doc;
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
