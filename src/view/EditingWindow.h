#pragma once
// What the editing role and the objects it is made of need from the logo
// window they draw in; the view implements it.
#include "platform/CommandRouter.h"
#include "platform/GdiRect.h"

#include <QSize>

#include <vector>

class CSendOptions;
class CViewHost;
class QWidget;

class IEditingWindow {
public:
    // The program around the window (log, router, panes); may be null.
    virtual CViewHost* EditingHost() const = 0;
    virtual QWidget* EditingViewport() const = 0;
    virtual QWidget* EditingWindow() = 0;
    virtual CPoint ScrollPosition() const = 0;
    virtual void SetScrollSizes(const QSize& total) = 0;
    // Resizes the logo window to show content exactly; with onlyShrinkWhenCrowded
    // it may not grow when the main window's client area is smaller than content.
    virtual void FitFrameTo(const QSize& content, bool onlyShrinkWhenCrowded) = 0;
    virtual void EnableFrameMaximize(bool enable) = 0;
    // The route of the window's own commands (its context menu's): the view,
    // then its document.
    virtual std::vector<CCmdTarget*> OwnCommandRoute() = 0;
    virtual bool HoldsMouseCapture() const = 0;
    virtual void SetMouseCapture(bool capture) = 0;
    // The send options the view owns; the editing role toggles them.
    virtual CSendOptions& SendOptions() = 0;
    virtual const CSendOptions& SendOptions() const = 0;
    // Every edit makes the printer's RAM copy of the logo stale.
    virtual void ClearLogoInRam() = 0;

    CPoint ClientToImage(const CPoint& client) const { return client + ScrollPosition(); }

protected:
    ~IEditingWindow() = default;
};
