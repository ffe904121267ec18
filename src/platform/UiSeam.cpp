#include "platform/UiSeam.h"

#include "platform/NativePath.h"
#include "platform/ThreadCall.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QMainWindow>
#include <QMessageBox>
#include <QMetaObject>
#include <QStringList>
#include <QThread>
#include <QUrl>

#include <atomic>
#include <cstdio>
#include <cxxabi.h>
#include <memory>
#include <typeinfo>

namespace {

std::atomic<CUiResponder*> g_responder{nullptr};

// Widgets belong to the UI thread: a call from another thread is carried there
// and the caller waits for the answer.
template <typename F>
auto CallOnUiThread(F&& f) -> decltype(f())
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread())
        return f();
    return CallOnThreadAndWait(app, std::forward<F>(f));
}

QString DemangledClassName(const QDialog* dlg)
{
    const char* mangled = typeid(*dlg).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> name(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                std::free);
    return QString::fromLatin1(status == 0 && name ? name.get() : mangled);
}

QMessageBox::StandardButtons ButtonsOf(UINT flags)
{
    switch (flags & MB_TYPEMASK) {
    case MB_OKCANCEL: return QMessageBox::Ok | QMessageBox::Cancel;
    case MB_ABORTRETRYIGNORE: return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case MB_YESNOCANCEL: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MB_YESNO: return QMessageBox::Yes | QMessageBox::No;
    case MB_RETRYCANCEL: return QMessageBox::Retry | QMessageBox::Cancel;
    default: return QMessageBox::Ok;
    }
}

QMessageBox::StandardButton SecondButtonOf(UINT flags)
{
    switch (flags & MB_TYPEMASK) {
    case MB_OKCANCEL:
    case MB_RETRYCANCEL: return QMessageBox::Cancel;
    case MB_ABORTRETRYIGNORE: return QMessageBox::Retry;
    case MB_YESNOCANCEL:
    case MB_YESNO: return QMessageBox::No;
    default: return QMessageBox::Ok;
    }
}

QMessageBox::Icon IconOf(UINT flags)
{
    switch (flags & MB_ICONMASK) {
    case MB_ICONSTOP: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONEXCLAMATION: return QMessageBox::Warning;
    case MB_ICONINFORMATION: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

int ResultOf(QMessageBox::StandardButton button, UINT flags)
{
    switch (button) {
    case QMessageBox::Ok: return IDOK;
    case QMessageBox::Cancel: return IDCANCEL;
    case QMessageBox::Yes: return IDYES;
    case QMessageBox::No: return IDNO;
    case QMessageBox::Abort: return IDABORT;
    case QMessageBox::Retry: return IDRETRY;
    case QMessageBox::Ignore: return IDIGNORE;
    default:
        // Closed without a button: the old box allowed that only where Cancel
        // (or a lone OK) existed, so that is what it meant.
        return (ButtonsOf(flags) & QMessageBox::Cancel) ? IDCANCEL : FirstChoiceOf(flags);
    }
}

int ShowRealMessageBox(QWidget* owner, const QString& text, const QString& caption, UINT flags)
{
    QMessageBox box(IconOf(flags), caption, text, ButtonsOf(flags), PromptOwner(owner));
    if (flags & MB_DEFBUTTON2)
        box.setDefaultButton(SecondButtonOf(flags));
    box.exec();
    return ResultOf(box.standardButton(box.clickedButton()), flags);
}

CUiPrompt Answered(CUiPrompt prompt, QDialog* dialog = nullptr)
{
    CUiResponder* responder = g_responder.load();
    responder->Answer(prompt, dialog);
    return prompt;
}

// Presses the button the responder chose, unless its own driving already closed
// the dialog; a dialog whose checks refuse OK is cancelled so nothing waits.
int FinishAnsweredDialog(QDialog* dlg, CUiPrompt& prompt, const bool& finished, const int& finishedCode)
{
    if (!finished) {
        if (prompt.result == IDOK)
            dlg->accept();
        else
            dlg->reject();
    }
    if (!finished) {
        prompt.refused = true;
        dlg->done(QDialog::Rejected);
        return IDCANCEL;
    }
    return finishedCode == QDialog::Accepted ? IDOK : IDCANCEL;
}

int RunAnsweredDialog(QDialog* dlg)
{
    CUiResponder* responder = g_responder.load();
    CUiPrompt prompt;
    prompt.kind = UiPromptKind::Dialog;
    prompt.dialogClass = DemangledClassName(dlg);
    prompt.caption = dlg->windowTitle();
    prompt.owner = dlg->parentWidget() ? dlg->parentWidget()->window() : nullptr;
    prompt.result = IDCANCEL;

    bool finished = false;
    int finishedCode = QDialog::Rejected;
    QObject watcher;
    QObject::connect(dlg, &QDialog::finished, &watcher, [&](int code) {
        finished = true;
        finishedCode = code;
    });
    if (responder->ShowsDialogs())
        dlg->show();
    responder->Answer(prompt, dlg);
    prompt.result = FinishAnsweredDialog(dlg, prompt, finished, finishedCode);
    responder->Completed(prompt);
    return prompt.result;
}

QString RunFileDialog(bool open, QWidget* owner, const QString& caption, const QString& dir,
                      const QString& filter, const QString& defaultExt)
{
    if (g_responder.load()) {
        CUiPrompt prompt;
        prompt.kind = open ? UiPromptKind::OpenFile : UiPromptKind::SaveFile;
        prompt.caption = caption;
        prompt.owner = PromptOwner(owner);
        prompt.directory = dir;
        prompt.filter = filter;
        prompt.defaultExt = defaultExt;
        prompt.result = IDCANCEL;
        prompt = Answered(prompt);
        if (!prompt.fileName.isEmpty()) {
            const bool existsAsGiven = open && QFileInfo::exists(prompt.fileName);
            if (!existsAsGiven)
                prompt.fileName = ApplyDefaultExtension(prompt.fileName, defaultExt);
        }
        prompt.result = prompt.fileName.isEmpty() ? IDCANCEL : IDOK;
        g_responder.load()->Completed(prompt);
        return prompt.fileName;
    }
    QFileDialog dialog(PromptOwner(owner), caption, NativePath(dir), ConvertFileFilter(filter));
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    QString suffix = defaultExt;
    if (suffix.startsWith(u'.'))
        suffix.remove(0, 1);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return ApplyDefaultExtension(dialog.selectedFiles().constFirst(), defaultExt);
}

struct ShellTarget {
    QUrl url;
    int precheck = 0; // 0: worth handing to the desktop; otherwise the error code
};

bool LooksLikeAddress(const QString& text)
{
    // "C:\..." parses with a one-letter scheme; real schemes are longer.
    const QUrl url(text);
    return url.isValid() && url.scheme().size() > 1 && url.scheme() != QLatin1String("file");
}

ShellTarget ResolveShellTarget(const QString& fileOrUrl, const QString& workingDir)
{
    ShellTarget target;
    const QString trimmed = fileOrUrl.trimmed();
    if (trimmed.isEmpty()) {
        target.precheck = SE_ERR_FNF;
        return target;
    }
    if (LooksLikeAddress(trimmed)) {
        target.url = QUrl(trimmed);
        return target;
    }
    QString path = trimmed.startsWith(QLatin1String("file:")) ? QUrl(trimmed).toLocalFile() : NativePath(trimmed);
    if (QFileInfo(path).isRelative() && !workingDir.isEmpty())
        path = QDir(NativePath(workingDir)).filePath(path);
    const QFileInfo info(path);
    if (!info.exists())
        target.precheck = info.absoluteDir().exists() ? SE_ERR_FNF : SE_ERR_PNF;
    else
        target.url = QUrl::fromLocalFile(info.absoluteFilePath());
    return target;
}

class CHeadlessResponder : public CUiResponder {
public:
    void Answer(CUiPrompt& prompt, QDialog*) override
    {
        switch (prompt.kind) {
        case UiPromptKind::MessageBox:
            prompt.result = FirstChoiceOf(prompt.flags);
            Print(Line(prompt.caption, prompt.text));
            break;
        case UiPromptKind::Dialog:
            prompt.result = IDOK;
            Print(QStringLiteral("%1 (%2): OK").arg(prompt.caption, prompt.dialogClass));
            break;
        case UiPromptKind::OpenFile:
        case UiPromptKind::SaveFile:
            Print(prompt.caption + QStringLiteral(": no file chosen"));
            break;
        case UiPromptKind::Font:
            prompt.result = 1;
            break;
        case UiPromptKind::Shell:
            Print(QStringLiteral("not opened: ") + prompt.text);
            break;
        }
    }
    bool ShowsDialogs() const override { return false; }

private:
    // "caption: text" on one line of its own; a box without a caption is its
    // text alone, and the blank lines some texts open with are left out.
    static QString Line(const QString& caption, const QString& text)
    {
        const QString body = text.trimmed();
        return caption.isEmpty() ? body : caption + QStringLiteral(": ") + body;
    }
    static void Print(const QString& line)
    {
        std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
        std::fflush(stderr);
    }
};

} // namespace

int FirstChoiceOf(UINT flags)
{
    switch (flags & MB_TYPEMASK) {
    case MB_ABORTRETRYIGNORE: return IDABORT;
    case MB_YESNOCANCEL:
    case MB_YESNO: return IDYES;
    case MB_RETRYCANCEL: return IDRETRY;
    default: return IDOK;
    }
}

QString ConvertFileFilter(const QString& windowsFilter)
{
    const QStringList parts = windowsFilter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        const QString patterns = parts[i + 1].trimmed();
        if (description.isEmpty() && patterns.isEmpty())
            break; // the "||" that ends the list
        QStringList qtPatterns = patterns.split(u';', Qt::SkipEmptyParts);
        for (QString& p : qtPatterns) {
            p = p.trimmed();
            if (p == QLatin1String("*.*"))
                p = QStringLiteral("*");
        }
        // Qt reads the patterns from the description's last parentheses, so the
        // old copy of them there is replaced by the converted list.
        const QString shown = QLatin1Char('(') + patterns + QLatin1Char(')');
        if (description.endsWith(shown))
            description.chop(shown.size());
        description = description.trimmed();
        filters << QStringLiteral("%1 (%2)").arg(description, qtPatterns.join(u' '));
    }
    return filters.join(QStringLiteral(";;"));
}

QString ApplyDefaultExtension(const QString& path, const QString& defaultExt)
{
    QString ext = defaultExt.trimmed();
    if (ext.startsWith(u'.'))
        ext.remove(0, 1);
    if (ext.isEmpty() || path.isEmpty() || path.endsWith(u'/'))
        return path;
    if (QFileInfo(path).fileName().contains(u'.'))
        return path;
    return path + QLatin1Char('.') + ext;
}

QWidget* WindowOf(QObject* owner)
{
    return qobject_cast<QWidget*>(owner);
}

QWidget* PromptOwner(QWidget* owner)
{
    // Programs without widgets (the command-line tool) have no window to give.
    if (owner || !qobject_cast<QApplication*>(QCoreApplication::instance()))
        return owner;
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (qobject_cast<QMainWindow*>(top) && !top->isHidden())
            return top;
    return nullptr;
}

int MessageBox(QWidget* owner, const QString& text, const QString& caption, UINT flags)
{
    return CallOnUiThread([&]() -> int {
        if (!g_responder.load())
            return ShowRealMessageBox(owner, text, caption, flags);
        CUiPrompt prompt;
        prompt.kind = UiPromptKind::MessageBox;
        prompt.text = text;
        prompt.caption = caption;
        prompt.owner = PromptOwner(owner);
        prompt.flags = flags;
        prompt.result = FirstChoiceOf(flags);
        prompt = Answered(prompt);
        g_responder.load()->Completed(prompt);
        return prompt.result;
    });
}

int RunModal(QDialog* dlg)
{
    if (!dlg)
        return IDCANCEL;
    return CallOnUiThread([&]() -> int {
        if (!dlg->parentWidget()) {
            if (QWidget* owner = PromptOwner(nullptr); owner && owner != dlg)
                dlg->setParent(owner, dlg->windowFlags() | Qt::Dialog);
        }
        if (g_responder.load())
            return RunAnsweredDialog(dlg);
        return dlg->exec() == QDialog::Accepted ? IDOK : IDCANCEL;
    });
}

QString GetOpenFileName(QWidget* owner, const QString& caption, const QString& dir, const QString& filter,
                        const QString& defaultExt)
{
    return CallOnUiThread([&] { return RunFileDialog(true, owner, caption, dir, filter, defaultExt); });
}

QString GetSaveFileName(QWidget* owner, const QString& caption, const QString& dir, const QString& filter,
                        const QString& defaultExt)
{
    return CallOnUiThread([&] { return RunFileDialog(false, owner, caption, dir, filter, defaultExt); });
}

bool GetFont(QWidget* owner, QFont& inOut)
{
    return CallOnUiThread([&]() -> bool {
        if (g_responder.load()) {
            CUiPrompt prompt;
            prompt.kind = UiPromptKind::Font;
            prompt.owner = PromptOwner(owner);
            prompt.font = inOut;
            prompt.result = 0;
            prompt = Answered(prompt);
            g_responder.load()->Completed(prompt);
            if (prompt.result)
                inOut = prompt.font;
            return prompt.result != 0;
        }
        bool ok = false;
        const QFont chosen = QFontDialog::getFont(&ok, inOut, PromptOwner(owner));
        if (ok)
            inOut = chosen;
        return ok;
    });
}

int ShellOpen(const QString& fileOrUrl, const QString& workingDir)
{
    return CallOnUiThread([&]() -> int {
        const ShellTarget target = ResolveShellTarget(fileOrUrl, workingDir);
        if (g_responder.load()) {
            CUiPrompt prompt;
            prompt.kind = UiPromptKind::Shell;
            prompt.text = fileOrUrl;
            prompt.directory = workingDir;
            prompt.result = target.precheck ? target.precheck : SHELL_OPEN_OK;
            prompt = Answered(prompt);
            g_responder.load()->Completed(prompt);
            return prompt.result;
        }
        if (target.precheck)
            return target.precheck;
        return QDesktopServices::openUrl(target.url) ? SHELL_OPEN_OK : SE_ERR_NOASSOC;
    });
}

CUiResponder* SetUiResponder(CUiResponder* responder)
{
    return g_responder.exchange(responder);
}

CUiResponder* CurrentUiResponder()
{
    return g_responder.load();
}

void InstallHeadlessUi()
{
    static CHeadlessResponder headless;
    SetUiResponder(&headless);
}
