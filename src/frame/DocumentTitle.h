#pragma once
// The main window's title names the logo in front ("shop.bmp — Glyphane",
// with the modified mark while it has unsaved changes), or only the program,
// and follows that logo's renames and changes.
#include <QList>
#include <QObject>
#include <QPointer>

class CGlyphaneDoc;
class QWidget;

class CDocumentTitle : public QObject {
public:
    // window: the titled window, also the owner.
    explicit CDocumentTitle(QWidget* window);

    // The logo now in front, or null for none.
    void Follow(CGlyphaneDoc* doc);

private:
    void Update();

    QWidget* m_window;
    QPointer<CGlyphaneDoc> m_doc;
    QList<QMetaObject::Connection> m_connections;
};
