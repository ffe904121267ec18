#include "platform/UiScript.h"

#include <QDialog>

CUiScript::CUiScript() : m_previous(SetUiResponder(this)) {}

CUiScript::~CUiScript()
{
    SetUiResponder(m_previous);
}

CUiScript& CUiScript::Queue(ScriptedAnswer answer)
{
    m_answers.push_back(std::move(answer));
    return *this;
}

CUiScript& CUiScript::AnswerMessage(int result)
{
    return Queue({AnswerKind::Message, result, {}, {}, {}});
}

CUiScript& CUiScript::AnswerDialog(int result)
{
    return Queue({AnswerKind::Dialog, result, {}, {}, {}});
}

CUiScript& CUiScript::AnswerDialog(DialogDriver drive)
{
    return Queue({AnswerKind::Dialog, IDCANCEL, std::move(drive), {}, {}});
}

CUiScript& CUiScript::AnswerFile(const QString& path)
{
    return Queue({AnswerKind::File, 0, {}, path, {}});
}

CUiScript& CUiScript::AnswerFont(const QFont& font)
{
    return Queue({AnswerKind::Font, 1, {}, {}, font});
}

CUiScript& CUiScript::CancelFont()
{
    return Queue({AnswerKind::Font, 0, {}, {}, {}});
}

CUiScript& CUiScript::AnswerShell(int result)
{
    return Queue({AnswerKind::Shell, result, {}, {}, {}});
}

std::size_t CUiScript::count(UiPromptKind kind) const
{
    std::size_t n = 0;
    for (const CUiPrompt& p : m_prompts)
        n += p.kind == kind ? 1 : 0;
    return n;
}

CUiPrompt CUiScript::last(UiPromptKind kind) const
{
    for (auto it = m_prompts.rbegin(); it != m_prompts.rend(); ++it)
        if (it->kind == kind)
            return *it;
    return CUiPrompt{};
}

CUiScript::AnswerKind CUiScript::AnswerKindFor(UiPromptKind kind)
{
    switch (kind) {
    case UiPromptKind::MessageBox: return AnswerKind::Message;
    case UiPromptKind::Dialog: return AnswerKind::Dialog;
    case UiPromptKind::OpenFile:
    case UiPromptKind::SaveFile: return AnswerKind::File;
    case UiPromptKind::Font: return AnswerKind::Font;
    case UiPromptKind::Shell: return AnswerKind::Shell;
    }
    return AnswerKind::Message;
}

void CUiScript::Apply(const ScriptedAnswer& answer, CUiPrompt& prompt, QDialog* dialog)
{
    switch (answer.kind) {
    case AnswerKind::Dialog:
        prompt.result = answer.drive ? answer.drive(dialog) : answer.result;
        break;
    case AnswerKind::File:
        prompt.fileName = answer.fileName;
        break;
    case AnswerKind::Font:
        prompt.result = answer.result;
        if (answer.result)
            prompt.font = answer.font;
        break;
    case AnswerKind::Message:
    case AnswerKind::Shell:
        prompt.result = answer.result;
        break;
    }
}

void CUiScript::Answer(CUiPrompt& prompt, QDialog* dialog)
{
    // Recorded before a dialog is driven, so prompts it raises itself (a
    // validation box) come after it in the record.
    prompt.sequence = m_prompts.size();
    const bool expected = !m_answers.empty() && m_answers.front().kind == AnswerKindFor(prompt.kind);
    prompt.unexpected = !expected;
    m_prompts.push_back(prompt);
    if (!expected) {
        ++m_unexpected;
        return;
    }
    const ScriptedAnswer answer = std::move(m_answers.front());
    m_answers.pop_front();
    Apply(answer, prompt, dialog);
}

void CUiScript::Completed(const CUiPrompt& prompt)
{
    if (prompt.sequence < m_prompts.size())
        m_prompts[prompt.sequence] = prompt;
}
