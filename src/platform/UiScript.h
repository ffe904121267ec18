#pragma once
// A test's stand-in for the operator. While a CUiScript exists it is the UI
// seam's responder: it records every prompt and answers each from its queue
// of scripted answers, in order. A prompt with no matching answer at the head
// of the queue never blocks: it gets the seam's default answer, is marked
// unexpected and counted, and the queue is left as it was.
#include "platform/UiSeam.h"

#include <QFont>
#include <QString>

#include <deque>
#include <functional>
#include <vector>

class QDialog;

class CUiScript : public CUiResponder {
public:
    using DialogDriver = std::function<int(QDialog*)>;

    CUiScript();           // installs itself
    ~CUiScript() override; // puts the previous responder back
    CUiScript(const CUiScript&) = delete;
    CUiScript& operator=(const CUiScript&) = delete;

    // Queue answers; each returns the script so they chain.
    CUiScript& AnswerMessage(int result);               // IDYES, IDOK, IDNO ...
    CUiScript& AnswerDialog(int result);                // press OK (IDOK) or Cancel
    CUiScript& AnswerDialog(DialogDriver drive);        // drive the shown dialog, return IDOK/IDCANCEL
    CUiScript& AnswerFile(const QString& path);         // open or save; empty = Cancel
    CUiScript& AnswerFont(const QFont& font);
    CUiScript& CancelFont();
    CUiScript& AnswerShell(int result);                 // the shell's result code

    const std::vector<CUiPrompt>& prompts() const { return m_prompts; }
    std::size_t count(UiPromptKind kind) const;
    // The last prompt of a kind; a default prompt when there was none.
    CUiPrompt last(UiPromptKind kind) const;
    int unexpected() const { return m_unexpected; }
    std::size_t pending() const { return m_answers.size(); }

    void Answer(CUiPrompt& prompt, QDialog* dialog) override;
    void Completed(const CUiPrompt& prompt) override;

private:
    enum class AnswerKind { Message, Dialog, File, Font, Shell };
    struct ScriptedAnswer {
        AnswerKind kind;
        int result = 0;
        DialogDriver drive;
        QString fileName;
        QFont font;
    };

    static AnswerKind AnswerKindFor(UiPromptKind kind);
    CUiScript& Queue(ScriptedAnswer answer);
    static void Apply(const ScriptedAnswer& answer, CUiPrompt& prompt, QDialog* dialog);

    std::deque<ScriptedAnswer> m_answers;
    std::vector<CUiPrompt> m_prompts;
    int m_unexpected = 0;
    CUiResponder* m_previous = nullptr;
};
