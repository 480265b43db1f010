#include "tests/support/scripted_prompt.h"

#include <gtest/gtest.h>

namespace testing_support {

namespace {

bool CanAnswer(platform::PromptButtons buttons, int answer)
{
    using platform::PromptButtons;
    switch (buttons) {
    case PromptButtons::kOk:
        return answer == platform::IDOK;
    case PromptButtons::kOkCancel:
        return answer == platform::IDOK || answer == platform::IDCANCEL;
    case PromptButtons::kYesNo:
        return answer == platform::IDYES || answer == platform::IDNO;
    case PromptButtons::kYesNoCancel:
        break;
    }
    return answer == platform::IDYES || answer == platform::IDNO || answer == platform::IDCANCEL;
}

} // namespace

ScriptedPrompt::ScriptedPrompt(std::initializer_list<int> answers)
    : m_answers(answers)
    , m_previous(platform::SetCurrentPrompt(this))
{ }

ScriptedPrompt::~ScriptedPrompt()
{
    platform::SetCurrentPrompt(m_previous);
}

int ScriptedPrompt::Ask(
    const std::string& text, platform::PromptButtons buttons, platform::PromptIcon icon)
{
    m_questions.push_back({ text, buttons, icon });
    if (m_next == m_answers.size()) {
        ADD_FAILURE() << "unexpected prompt: " << text;
        return platform::DismissAnswer(buttons);
    }
    const int answer = m_answers[m_next++];
    if (!CanAnswer(buttons, answer)) {
        ADD_FAILURE() << "scripted answer " << answer << " is not one of the buttons of: " << text;
        return platform::DismissAnswer(buttons);
    }
    return answer;
}

void ScriptedPrompt::Answer(std::initializer_list<int> answers)
{
    m_answers.insert(m_answers.end(), answers);
}

const ScriptedPrompt::Question& ScriptedPrompt::Asked(std::size_t i) const
{
    static const Question none { {}, platform::PromptButtons::kOk, platform::PromptIcon::kNone };
    if (i >= m_questions.size()) {
        ADD_FAILURE() << "question " << i << " was not asked; there were " << m_questions.size();
        return none;
    }
    return m_questions[i];
}

std::vector<std::string> ScriptedPrompt::Texts() const
{
    std::vector<std::string> texts;
    for (const Question& question : m_questions)
        texts.push_back(question.text);
    return texts;
}

} // namespace testing_support
