#pragma once
// What the main frame and its logo windows use of the application that made
// them: the application's own commands at the end of every route, opening a
// file (a drop, a recent file), the web address of the link command and the
// news that a logo window went.
#include "platform/CommandRouter.h"

#include <QString>

class CFrameHost {
public:
    virtual ~CFrameHost() = default;

    // The last target of every command route.
    virtual CCmdTarget* ProgramCommands() = 0;
    // Opens a logo or a picture file as File > Open does; false when nothing
    // was opened, and then *cancelled (may be null) tells an operator's Cancel.
    virtual bool OpenDocumentFile(const QString& path, bool* cancelled) = 0;
    // The fixed address the web link command opens; its menu entry shows it.
    virtual QString WebAddress() const = 0;
    // A logo window went: the "Settings" word starts again from 0.
    virtual void LogoWindowClosed() = 0;
};
