#pragma once
// A scripted operator for tests: answers prompts from a queue of steps,
// records every prompt, and restores the previous responder when it goes.
#include "platform/UiSeam.h"

#include <QDialog>
#include <deque>
#include <functional>
#include <vector>

namespace testenv {

class ScriptedUi : public CUiResponder {
public:
    using Step = std::function<void(CUiPrompt& prompt, QDialog* dialog)>;

    ScriptedUi() { m_previous = SetUiResponder(this); }
    ~ScriptedUi() override { SetUiResponder(m_previous); }
    ScriptedUi(const ScriptedUi&) = delete;
    ScriptedUi& operator=(const ScriptedUi&) = delete;

    // Queues a step; unqueued prompts keep the seam's default answer.
    ScriptedUi& Then(Step step)
    {
        m_steps.push_back(std::move(step));
        return *this;
    }
    // Queues a plain answer (IDOK, IDYES, IDCANCEL ...).
    ScriptedUi& Answer(int result)
    {
        return Then([result](CUiPrompt& p, QDialog*) { p.result = result; });
    }

    void Answer(CUiPrompt& prompt, QDialog* dialog) override
    {
        if (m_steps.empty()) {
            prompt.unexpected = true;
            return;
        }
        Step step = std::move(m_steps.front());
        m_steps.pop_front();
        step(prompt, dialog);
    }
    void Completed(const CUiPrompt& prompt) override { m_prompts.push_back(prompt); }

    const std::vector<CUiPrompt>& Prompts() const { return m_prompts; }
    size_t Pending() const { return m_steps.size(); }

private:
    CUiResponder* m_previous = nullptr;
    std::deque<Step> m_steps;
    std::vector<CUiPrompt> m_prompts;
};

} // namespace testenv
