#include "frame/DocumentTitle.h"

#include "document/GlyphaneDoc.h"
#include "resources/MenuTables.h"
#include "resources/StringTable.h"

#include <QWidget>

CDocumentTitle::CDocumentTitle(QWidget* window)
    : QObject(window)
    , m_window(window)
{
}

void CDocumentTitle::Follow(CGlyphaneDoc* doc)
{
    for (const QMetaObject::Connection& c : m_connections)
        disconnect(c);
    m_connections.clear();
    m_doc = doc;
    if (doc) {
        m_connections << connect(doc, &CGlyphaneDoc::titleChanged, this, &CDocumentTitle::Update)
                      << connect(doc, &CGlyphaneDoc::modifiedChanged, this, &CDocumentTitle::Update);
    }
    Update();
}

void CDocumentTitle::Update()
{
    const QString program = LoadString(IDR_MAINFRAME);
    if (!m_doc) {
        m_window->setWindowFilePath(QString());
        m_window->setWindowTitle(program);
        m_window->setWindowModified(false);
        return;
    }
    // "[*]" is where the window system shows the modified mark.
    m_window->setWindowFilePath(m_doc->GetPathName());
    m_window->setWindowTitle(m_doc->GetTitle() + QStringLiteral("[*] \u2014 ") + program);
    m_window->setWindowModified(m_doc->IsModified());
}
