#pragma once
// The one door to everything that waits for the operator: message boxes,
// modal dialogs, file and font dialogs and the shell. Going through here lets
// a test script (UiScript.h) or the command-line tool's headless answers stand
// in for the operator, and lets the transfer worker ask from its own thread:
// a call from any thread but the UI thread is carried to the UI thread and
// waits there for the answer (the UI thread must be running its event loop).
#include "platform/WinTypes.h"

#include <QFont>
#include <QString>

#include <cstddef>

class QDialog;
class QObject;
class QWidget;

// Shell "open" results, with the meaning the old shell gave them: above 32 is
// success, the small numbers are the error codes the help command reports.
constexpr int SHELL_OPEN_OK = 42;
constexpr int SE_ERR_FNF = 2;
constexpr int SE_ERR_PNF = 3;
constexpr int SE_ERR_NOASSOC = 31;

// Every prompt belongs to a window: the owner given, or where none is given
// (or it is no window), the dialog open now, else the active window, else the
// program's main window. A box of no window would have no program icon and an
// entry of its own in the desktop's task bar.
QWidget* PromptOwner(QWidget* owner);

// Shows text under caption with the buttons and icon of flags (MB_OK ...
// MB_RETRYCANCEL, MB_ICON*, MB_DEFBUTTON2); returns IDOK, IDCANCEL, IDYES, IDNO,
// IDRETRY, IDABORT or IDIGNORE.
int MessageBox(QWidget* owner, const QString& text, const QString& caption, UINT flags);
// The window an owner object is, for callers that hold their owner as a plain
// QObject (the document layer knows no widgets); null when it is none.
QWidget* WindowOf(QObject* owner);

// Runs dlg modally: IDOK when it was accepted, IDCANCEL otherwise (also for
// null). A dialog made without a parent is given PromptOwner's window.
int RunModal(QDialog* dlg);

// File dialogs; filter in the old form "BMP files (*.bmp)|*.bmp|All Files (*.*)|*.*||",
// dir an initial folder or file (stored backslashes allowed), defaultExt with or
// without its dot, added to a chosen name that has no extension. An empty result
// means cancelled.
QString GetOpenFileName(QWidget* owner, const QString& caption, const QString& dir,
                        const QString& filter, const QString& defaultExt);
QString GetSaveFileName(QWidget* owner, const QString& caption, const QString& dir,
                        const QString& filter, const QString& defaultExt);

// The font dialog, starting from inOut; true and inOut changed on OK.
bool GetFont(QWidget* owner, QFont& inOut);

// Opens a file (relative names against workingDir, backslashes allowed) or an
// address with the desktop's default program; SHELL_OPEN_OK, or SE_ERR_FNF /
// SE_ERR_PNF when the local file or its folder is missing, SE_ERR_NOASSOC when
// no program took it.
int ShellOpen(const QString& fileOrUrl, const QString& workingDir);

// The old filter form turned into Qt's: "BMP files (*.bmp);;All Files (*)"
// ("*.*" meant every file).
QString ConvertFileFilter(const QString& windowsFilter);
// The name with ".ext" appended when its file name has no extension.
QString ApplyDefaultExtension(const QString& path, const QString& defaultExt);
// The first button of the flags' button set (IDOK for MB_OK and MB_OKCANCEL, ...).
int FirstChoiceOf(UINT flags);

// --- answering instead of the operator ---------------------------------------

enum class UiPromptKind { MessageBox, Dialog, OpenFile, SaveFile, Font, Shell };

// One prompt as the seam saw it, with the answer given.
struct CUiPrompt {
    UiPromptKind kind = UiPromptKind::MessageBox;
    QString text;        // message text; for the shell the file or address
    QString caption;     // message or file dialog caption; a dialog's window title
    QWidget* owner = nullptr; // the window it belongs to (PromptOwner)
    UINT flags = 0;      // message box flags
    QString dialogClass; // the dialog's class name
    QString directory;   // file dialog folder; shell working folder
    QString filter;      // file dialog filter as the caller gave it
    QString defaultExt;
    int result = 0;      // ID* code; 1/0 for the font dialog; shell result
    QString fileName;    // file dialog answer, empty = cancelled
    QFont font;          // font dialog answer
    bool unexpected = false; // nobody had scripted an answer for it
    bool refused = false;    // a scripted OK that the dialog's own checks refused
    std::size_t sequence = 0; // for the responder's own bookkeeping

    UINT buttons() const { return flags & MB_TYPEMASK; }
    UINT icon() const { return flags & MB_ICONMASK; }
};

// Stands in for the operator. The seam fills each prompt with its default
// answer (first choice of a message box, Cancel for dialogs, file and font
// dialogs, the real shell's verdict without launching anything) and calls
// Answer on the UI thread; Completed follows with the final result.
class CUiResponder {
public:
    virtual ~CUiResponder() = default;
    // For dialogs the dialog is shown (when ShowsDialogs) and Answer may drive
    // its widgets; prompt.result IDOK then presses OK, anything else Cancel.
    virtual void Answer(CUiPrompt& prompt, QDialog* dialog) = 0;
    virtual void Completed(const CUiPrompt& /*prompt*/) {}
    virtual bool ShowsDialogs() const { return true; }
};

// Installs a responder (null: the real widgets again); returns the previous one.
// The caller keeps ownership.
CUiResponder* SetUiResponder(CUiResponder* responder);
CUiResponder* CurrentUiResponder();

// For the command-line tool: from now on every prompt is answered with its
// first choice (Yes/OK; file dialogs cancelled, the shell not started) and its
// text is written to stderr.
void InstallHeadlessUi();
