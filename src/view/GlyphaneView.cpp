#include "view/GlyphaneView.h"

#include "document/GlyphaneDoc.h"

#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>

CGlyphaneView::CGlyphaneView(CGlyphaneDoc* doc, QWidget* parent)
    : QAbstractScrollArea(parent)
    , CViewEditing(doc)
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
    OnKillThread();
    EditingDestroy();
}

void CGlyphaneView::OnInitialUpdate()
{
    EditingInitialUpdate();
}

std::vector<CRoleCommands*> CGlyphaneView::RoleCommandMaps() const
{
    auto* self = const_cast<CGlyphaneView*>(this);
    return {&self->EditingCommands(), &self->PrinterCommands(), &self->TransferCommands()};
}

bool CGlyphaneView::OnCommand(UINT id)
{
    for (CRoleCommands* map : RoleCommandMaps())
        if (map->OnCommand(id))
            return true;
    return false;
}

bool CGlyphaneView::OnUpdateCommand(UINT id, CCmdUI& cmdUI)
{
    for (CRoleCommands* map : RoleCommandMaps())
        if (map->OnUpdateCommand(id, cmdUI))
            return true;
    return false;
}

bool CGlyphaneView::HasCommandHandler(UINT id) const
{
    for (CRoleCommands* map : RoleCommandMaps())
        if (map->HasCommandHandler(id))
            return true;
    return false;
}

void CGlyphaneView::SendViewCommand(UINT id)
{
    // The view first, then its document, as the menu route would.
    if (!OnCommand(id))
        Doc()->OnCommand(id);
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
    QSize shown = viewport()->size();
    if (horizontalScrollBar()->isVisible())
        shown.rheight() += horizontalScrollBar()->height();
    if (verticalScrollBar()->isVisible())
        shown.rwidth() += verticalScrollBar()->width();
    const QSize chrome = frame->size() - shown;
    QSize wanted = content + chrome;
    if (onlyShrinkWhenCrowded) {
        if (QMdiArea* area = frame->mdiArea()) {
            const QSize room = area->viewport()->size();
            if (room.width() < content.width() || room.height() < content.height())
                wanted = wanted.boundedTo(frame->size().expandedTo(room));
        }
    }
    frame->resize(wanted);
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

void CGlyphaneView::scrollContentsBy(int, int)
{
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
    EditingSetFocus();
}
