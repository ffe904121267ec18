#pragma once
// The logo window's view: shows the document's bitmap one screen pixel per
// logo dot and owns the drawing surface bound to it.
#include "platform/CommandRouter.h"
#include "platform/Surface.h"

#include <QAbstractScrollArea>
#include <memory>

class CGlyphaneDoc;

class CGlyphaneView : public QAbstractScrollArea, public CCmdTarget {
    Q_OBJECT
public:
    explicit CGlyphaneView(CGlyphaneDoc* doc, QWidget* parent = nullptr);
    ~CGlyphaneView() override;

    CGlyphaneDoc* GetDocument() const { return m_pDoc; }
    CSurface& ImageSurface() { return m_dcImage; }

    // Binds the surface to the document's bitmap and registers it and the
    // owner window with the document; sizes the logo window.
    virtual void OnInitialUpdate();

    bool OnCommand(UINT id) override;
    bool OnUpdateCommand(UINT id, CCmdUI& cmdUI) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void UpdateScrollBars();

    CGlyphaneDoc* m_pDoc;
    CSurface m_dcImage;
};
