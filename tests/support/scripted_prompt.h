#pragma once

#include "platform/prompt.h"

#include <cstddef>
#include <initializer_list>
#include <string>
#include <vector>

namespace testing_support {

// A prompt that answers from a script and records what it was asked. It makes itself the
// current prompt while it lives and puts the previous one back when it goes, so a test
// declares one and runs the code under test:
//
//     ScriptedPrompt prompt { platform::IDYES };
//     ... code that asks ...
//     EXPECT_EQ(prompt.Asked(0).text, "Delete all records?");
//
// A prompt beyond the script, or a scripted answer its buttons cannot give, fails the test;
// the prompt then gives the dismiss answer, as a user closing the box would.
class ScriptedPrompt final : public platform::Prompt
{
public:
    struct Question
    {
        std::string text;
        platform::PromptButtons buttons;
        platform::PromptIcon icon;
    };

    ScriptedPrompt(std::initializer_list<int> answers = {});
    ~ScriptedPrompt() override;
    ScriptedPrompt(const ScriptedPrompt&) = delete;
    ScriptedPrompt& operator=(const ScriptedPrompt&) = delete;

    int Ask(const std::string& text, platform::PromptButtons buttons,
        platform::PromptIcon icon) override;

    // Adds answers to the end of the script.
    void Answer(std::initializer_list<int> answers);

    const std::vector<Question>& Questions() const { return m_questions; }
    // The i-th question; fails the test and gives an empty one when there were fewer.
    const Question& Asked(std::size_t i) const;
    // The texts of all questions in order, for comparing with an expected list.
    std::vector<std::string> Texts() const;
    // Scripted answers not used yet.
    std::size_t Unused() const { return m_answers.size() - m_next; }

private:
    std::vector<int> m_answers;
    std::size_t m_next = 0;
    std::vector<Question> m_questions;
    platform::Prompt* m_previous = nullptr;
};

} // namespace testing_support
