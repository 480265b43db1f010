#include "platform/prompt.h"

#include <utility>

namespace platform {

namespace {

class SilentPrompt final : public Prompt
{
public:
    int Ask(const std::string&, PromptButtons buttons, PromptIcon) override
    {
        return DismissAnswer(buttons);
    }
};

Prompt*& SetPrompt()
{
    static Prompt* prompt = nullptr;
    return prompt;
}

} // namespace

int DismissAnswer(PromptButtons buttons)
{
    switch (buttons) {
    case PromptButtons::kOk:
        return IDOK;
    case PromptButtons::kYesNo:
        return IDNO;
    case PromptButtons::kOkCancel:
    case PromptButtons::kYesNoCancel:
        break;
    }
    return IDCANCEL;
}

Prompt& CurrentPrompt()
{
    static SilentPrompt silent;
    Prompt* prompt = SetPrompt();
    return prompt != nullptr ? *prompt : silent;
}

Prompt* SetCurrentPrompt(Prompt* prompt)
{
    return std::exchange(SetPrompt(), prompt);
}

int AskUser(const std::string& text, PromptButtons buttons, PromptIcon icon)
{
    return CurrentPrompt().Ask(text, buttons, icon);
}

} // namespace platform
