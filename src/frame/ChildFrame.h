#pragma once
// One logo window inside the main frame: fixed size, no minimise or maximise
// box; the view sizes it to the logo.
#include "platform/CommandRouter.h"

#include <QMdiSubWindow>
#include <QPointer>

class CFrameHost;
class CGlyphaneDoc;
class CGlyphaneView;

class CChildFrame : public QMdiSubWindow, public CCmdTarget {
    Q_OBJECT
public:
    // host: told when the window goes (may be null).
    CChildFrame(CGlyphaneDoc* doc, CFrameHost* host, QWidget* parent = nullptr);
    ~CChildFrame() override;

    void SetView(CGlyphaneView* view);
    CGlyphaneView* GetView() const;
    CGlyphaneDoc* GetDocument() const { return m_doc; }

    // Close (ID_FILE_CLOSE): closes the window after the save question.
    bool OnCommand(UINT id) override;
    bool OnUpdateCommand(UINT id, CCmdUI& cmdUI) override;
    bool HasCommandHandler(UINT id) const override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void UpdateCaption();

    CGlyphaneDoc* m_doc;            // owned: a document lives as long as its window
    CFrameHost* m_host;
    QPointer<CGlyphaneView> m_view;
};
