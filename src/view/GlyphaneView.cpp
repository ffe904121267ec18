#include "view/GlyphaneView.h"

#include "components/SComAm.h"
#include "document/GlyphaneDoc.h"
#include "platform/KeepInside.h"
#include "view/ViewHost.h"

#include <QKeyEvent>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>

CGlyphaneView::CGlyphaneView(CGlyphaneDoc* doc, CViewHost* host, QWidget* parent)
    : QAbstractScrollArea(parent)
    , CViewEditing(doc)
    , m_host(host)
{
    setObjectName(QStringLiteral("CGlyphaneView"));
    // A plain one-pixel border, no sizing frame.
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(true);
    connect(doc, &CGlyphaneDoc::updateAllViews, this, [this](int) { OnUpdate(nullptr, nullptr); });
}

CGlyphaneView::~CGlyphaneView()
{
    // A job killed with its window never delivers its "port closed" (the
    // message goes with the window): without this the port pane would go on
    // showing the settings of a port that is no longer open.
    const bool portShown = !TransferSerialSettings().isEmpty();
    OnKillThread();
    if (portShown)
        OnPortStatus(0, QString());
    EditingDestroy();
}

CProgramHost* CGlyphaneView::PrinterHost() const
{
    return m_host;
}

CProgramHost* CGlyphaneView::TransferHost() const
{
    return m_host;
}

bool CGlyphaneView::event(QEvent* event)
{
    if (DeliverPostedMessage(this, event))
        return true;
    return QAbstractScrollArea::event(event);
}

LPARAM CGlyphaneView::OnPostedMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_PORT_STATUS) {
        OnPortStatus(lParam, TransferSerialSettings());
        return 0;
    }
    return OnTransferMessage(msg, wParam, lParam);
}

void CGlyphaneView::OnInitialUpdate()
{
    EditingInitialUpdate();
}

std::vector<CCommandMap*> CGlyphaneView::RoleCommandMaps() const
{
    auto* self = const_cast<CGlyphaneView*>(this);
    return {&self->EditingCommands(), &self->PrinterCommands(), &self->TransferCommands()};
}

bool CGlyphaneView::OnCommand(UINT id)
{
    for (CCommandMap* map : RoleCommandMaps())
        if (map->OnCommand(id))
            return true;
    return false;
}

bool CGlyphaneView::OnUpdateCommand(UINT id, CCmdUI& cmdUI)
{
    for (CCommandMap* map : RoleCommandMaps())
        if (map->OnUpdateCommand(id, cmdUI))
            return true;
    return false;
}

bool CGlyphaneView::HasCommandHandler(UINT id) const
{
    for (CCommandMap* map : RoleCommandMaps())
        if (map->HasCommandHandler(id))
            return true;
    return false;
}

std::vector<CCmdTarget*> CGlyphaneView::OwnCommandRoute()
{
    return {this, Doc()};
}

QWidget* CGlyphaneView::EditingViewport() const
{
    return viewport();
}

CPoint CGlyphaneView::ScrollPosition() const
{
    return CPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

void CGlyphaneView::SetScrollSizes(const QSize& total)
{
    m_sizeTotal = total;
    UpdateScrollBars();
}

void CGlyphaneView::UpdateScrollBars()
{
    // Content that fits once the scroll bars go makes them go.
    const QSize full = maximumViewportSize();
    const bool fits = m_sizeTotal.width() <= full.width() && m_sizeTotal.height() <= full.height();
    const QSize area = fits ? full : viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, m_sizeTotal.width() - area.width()));
    verticalScrollBar()->setRange(0, std::max(0, m_sizeTotal.height() - area.height()));
    horizontalScrollBar()->setPageStep(std::max(1, area.width()));
    verticalScrollBar()->setPageStep(std::max(1, area.height()));
    horizontalScrollBar()->setSingleStep(std::max(1, area.width() / 10));
    verticalScrollBar()->setSingleStep(std::max(1, area.height() / 10));
}

void CGlyphaneView::FitFrameTo(const QSize& content, bool onlyShrinkWhenCrowded)
{
    auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (!frame)
        return;
    if (!isVisible()) {
        // A window opened before the main frame is shown has no layout yet;
        // it is fitted once it appears (showEvent).
        m_pendingFit = {content, onlyShrinkWhenCrowded};
        return;
    }
    m_pendingFit.reset();
    QSize wanted = content + FrameChrome(frame);
    if (onlyShrinkWhenCrowded) {
        if (QMdiArea* area = frame->mdiArea()) {
            const QSize room = area->viewport()->size();
            if (room.width() < content.width() || room.height() < content.height())
                wanted = wanted.boundedTo(frame->size().expandedTo(room));
        }
    }
    QMdiArea* area = frame->mdiArea();
    if (!area || area->viewport()->size().isEmpty()) {
        frame->setFixedSize(wanted);
        return;
    }
    // Never larger than the room the main window gives, and wholly inside it,
    // whatever the logo and the display scale: the view scrolls the rest.
    const QRect room(QPoint(0, 0), area->viewport()->size());
    wanted = wanted.boundedTo(room.size());
    // The logo window has no sizing border: its size is the logo's (the view
    // scrolls what does not fit), and only a new fit changes it.
    frame->setFixedSize(wanted);
    frame->move(KeepRectInside(QRect(frame->pos(), wanted), room).topLeft());
}

QSize CGlyphaneView::FrameChrome(const QMdiSubWindow* frame) const
{
    // The view's own border, and the logo window's border and title bar, from
    // their margins rather than from sizes that depend on a finished layout.
    const QSize ownBorder = size() - maximumViewportSize();
    const QMargins margins = frame->contentsMargins();
    QSize chrome = ownBorder + QSize(margins.left() + margins.right(), margins.top() + margins.bottom());
    if (const QLayout* layout = frame->layout()) {
        const QMargins inner = layout->contentsMargins();
        chrome += QSize(inner.left() + inner.right(), inner.top() + inner.bottom());
    }
    return chrome;
}

void CGlyphaneView::showEvent(QShowEvent* event)
{
    QAbstractScrollArea::showEvent(event);
    if (!m_pendingFit)
        return;
    // After the frame's own show handling has set its margins.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (const auto fit = m_pendingFit)
                FitFrameTo(fit->first, fit->second);
        },
        Qt::QueuedConnection);
}

void CGlyphaneView::EnableFrameMaximize(bool enable)
{
    auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (!frame || !frame->systemMenu())
        return;
    for (QAction* action : frame->systemMenu()->actions())
        if (action->text().remove(QLatin1Char('&')).startsWith(QStringLiteral("Maximize")))
            action->setEnabled(enable);
}

void CGlyphaneView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    OnDraw(painter, event->rect());
}

void CGlyphaneView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void CGlyphaneView::scrollContentsBy(int dx, int dy)
{
    if (dx != 0)
        OnScrollWithTracker(false);
    if (dy != 0)
        OnScrollWithTracker(true);
    InvalidateAll();
}

void CGlyphaneView::UpdateCursor(const CPoint& client)
{
    QCursor cursor;
    if (CursorForPoint(client, cursor))
        viewport()->setCursor(cursor);
}

void CGlyphaneView::mousePressEvent(QMouseEvent* event)
{
    const CPoint client = CPoint::FromQPoint(event->position().toPoint());
    if (event->button() == Qt::LeftButton) {
        OnLButtonDown(client);
    } else if (event->button() == Qt::RightButton) {
        OnRButtonDown(client);
    }
    UpdateCursor(client);
    QAbstractScrollArea::mousePressEvent(event);
}

void CGlyphaneView::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Qt reports a press soon after another as a double click; no tool has a
    // double-click meaning, so it is the press it is (a pen toggling a cell
    // back, a click on the next cell).
    if (event->button() != Qt::LeftButton) {
        mousePressEvent(event);
        return;
    }
    const CPoint client = CPoint::FromQPoint(event->position().toPoint());
    OnLButtonDblClk(client);
    UpdateCursor(client);
    QAbstractScrollArea::mouseDoubleClickEvent(event);
}

void CGlyphaneView::mouseMoveEvent(QMouseEvent* event)
{
    const CPoint client = CPoint::FromQPoint(event->position().toPoint());
    UpdateCursor(client);
    OnMouseMove(client);
    QAbstractScrollArea::mouseMoveEvent(event);
}

void CGlyphaneView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        OnLButtonUp(CPoint::FromQPoint(event->position().toPoint()));
    QAbstractScrollArea::mouseReleaseEvent(event);
}

void CGlyphaneView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        OnChar(27);
    QAbstractScrollArea::keyPressEvent(event);
}

void CGlyphaneView::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    RefreshPanes();
}

void CGlyphaneView::RefreshPanes()
{
    EditingSetFocus();
    RefreshToolPane();
    // The port pane follows the port status rule: the serial settings while
    // this window's serial port is open, the document's port name otherwise.
    const CsComAm* serial = Link().Serial();
    OnPortStatus(serial && serial->IsOpen() ? 1 : 0, TransferSerialSettings());
}
