#pragma once
// Applies the accelerator table to the main frame's window. The keys are
// taken before Qt's own shortcut handling, so an accelerator wins over a menu
// title's Alt mnemonic (Alt+F is Select Font, not the File menu) and no key is
// ever ambiguous; a key sends its command through the router, which refuses
// commands that are disabled just now, as the old frame did.
#include "platform/WinTypes.h"

#include <QObject>
#include <QPointer>

class QKeyEvent;
class QWidget;
class CCommandRouter;

class CAcceleratorFilter : public QObject {
    Q_OBJECT
public:
    // Watches every key event of window (installed on the application).
    CAcceleratorFilter(QWidget* window, CCommandRouter* router);
    ~CAcceleratorFilter() override;

    // The command a key event maps to, 0 for none.
    static UINT CommandOf(const QKeyEvent* event);

signals:
    // A table key was pressed; sent is what the router made of it.
    void acceleratorPressed(UINT commandId, bool handled);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool IsInWindow(QObject* watched) const;

    QPointer<QWidget> m_window;
    CCommandRouter* m_router;
};
