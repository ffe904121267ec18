#pragma once
// The logo window's view: a scrolling area over one document, made of its
// roles (editing, printer connection, logo transfer). The view is the command
// target on the route, the window the roles draw in and the receiver of the
// transfer's posted messages; each role owns its own state, and the state
// more than one role needs (the printer link, the send options) is the view's.
#include "platform/CommandRouter.h"
#include "platform/PostedMessage.h"
#include "platform/Surface.h"
#include "printer/PrinterLink.h"
#include "printer/ViewPrinterRole.h"
#include "transfer/SendOptions.h"
#include "transfer/ViewTransferRole.h"
#include "view/ViewEditing.h"

#include <QAbstractScrollArea>

#include <optional>
#include <utility>

class CGlyphaneDoc;
class CViewHost;
class QMdiSubWindow;

class CGlyphaneView : public QAbstractScrollArea,
                      public CCmdTarget,
                      public CMessageTarget,
                      public CPrinterLink::CHost,
                      public CViewEditing,
                      public CViewPrinterRole,
                      public CViewTransferRole {
    Q_OBJECT
public:
    // host: the program around the view, handed on to its roles (may be null).
    CGlyphaneView(CGlyphaneDoc* doc, CViewHost* host, QWidget* parent = nullptr);
    ~CGlyphaneView() override;

    CGlyphaneDoc* GetDocument() const { return Doc(); }
    using CViewEditing::ImageSurface;

    // Binds the surfaces to the document's bitmap, registers the view with
    // the document, shows the size and fits the logo window to the logo.
    virtual void OnInitialUpdate();

    // Shows this window's printer, port, size and tool in the status panes;
    // on focus and whenever the window becomes the active logo window.
    void RefreshPanes();

    // Each role's command map in turn: editing, printer, transfer.
    bool OnCommand(UINT id) override;
    bool OnUpdateCommand(UINT id, CCmdUI& cmdUI) override;
    bool HasCommandHandler(UINT id) const override;

    // The scroll extent (the image, or the magnified square).
    QSize ScrollSizes() const { return m_sizeTotal; }

    // The link to the printer and the send options, shared by the roles.
    CPrinterLink& Link() override { return m_link; }
    const CPrinterLink& Link() const override { return m_link; }
    CSendOptions& SendOptions() override { return m_sendOptions; }
    const CSendOptions& SendOptions() const override { return m_sendOptions; }

    // The messages 3024 to 3029, posted by the port operations and the transfer worker.
    LPARAM OnPostedMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void showEvent(QShowEvent* event) override;

    // The editing role's window.
    CViewHost* EditingHost() const override { return m_host; }
    QWidget* EditingViewport() const override;
    QWidget* EditingWindow() override { return this; }
    CPoint ScrollPosition() const override;
    void SetScrollSizes(const QSize& total) override;
    void FitFrameTo(const QSize& content, bool onlyShrinkWhenCrowded) override;
    void EnableFrameMaximize(bool enable) override;
    std::vector<CCmdTarget*> OwnCommandRoute() override;
    bool HoldsMouseCapture() const override { return m_bCapture; }
    void SetMouseCapture(bool capture) override { m_bCapture = capture; }
    void ClearLogoInRam() override { m_link.ClearLogoInRam(); }

    // The printer role's window.
    CGlyphaneDoc* PrinterDocument() const override { return Doc(); }
    CProgramHost* PrinterHost() const override;
    QWidget* PrinterWindow() override { return this; }
    void PrinterInitialUpdate() override { OnInitialUpdate(); }
    bool PrinterTransferRunning() const override { return IsTransferRunning(); }
    void PrinterDropTool() override { DropTool(); }

    // The transfer role's window.
    CGlyphaneDoc* TransferDocument() const override { return Doc(); }
    CProgramHost* TransferHost() const override;
    QWidget* TransferWindow() override { return this; }
    void TransferDropTool() override { DropTool(); }

    // The printer link's window.
    CGlyphaneDoc* LinkDocument() const override { return Doc(); }
    QWidget* LinkWindow() override { return this; }

private:
    std::vector<CCommandMap*> RoleCommandMaps() const;
    void UpdateScrollBars();
    void UpdateCursor(const CPoint& client);
    QSize FrameChrome(const QMdiSubWindow* frame) const;

    CViewHost* m_host;
    CPrinterLink m_link{*this};
    CSendOptions m_sendOptions{m_link};
    QSize m_sizeTotal;
    bool m_bCapture = false;
    // A fit asked for before the window was shown: content, only-shrink.
    std::optional<std::pair<QSize, bool>> m_pendingFit;
};
