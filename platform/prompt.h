#pragma once

#include <string>

namespace platform {

// A prompt's answers. Their numbers are those of the classic message-box answers, which
// callers compare with and hand on (a table operation returns the answer it got).
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

enum class PromptButtons { kOk, kOkCancel, kYesNo, kYesNoCancel };

// kNone is a plain box: the schema test shows its result so.
enum class PromptIcon { kNone, kStop, kQuestion, kExclamation, kInformation };

// A message the user must answer: the stand-in for the platform's message boxes. The
// program shows every box through the current prompt, so the windows show real boxes and
// tests put in one that answers from a script.
class Prompt
{
public:
    virtual ~Prompt() = default;

    // Shows `text` (cp1251) with the buttons and icon and gives the answer: IDOK or
    // IDCANCEL, IDYES or IDNO, matching the buttons.
    virtual int Ask(const std::string& text, PromptButtons buttons, PromptIcon icon) = 0;
};

// The answer a box gives when the user just dismisses it: Cancel where there is one,
// otherwise No, otherwise OK. Never the answer that changes something.
int DismissAnswer(PromptButtons buttons);

// The prompt everything asks. Until one is set, a prompt that shows nothing and gives
// DismissAnswer answers, so code without a user (tools, tests that set none) never agrees
// to anything.
Prompt& CurrentPrompt();

// Makes `prompt` current and gives back the previous one (nullptr for the silent default);
// nullptr restores the silent default. The caller keeps `prompt` alive while it is current.
Prompt* SetCurrentPrompt(Prompt* prompt);

// Shorthand for CurrentPrompt().Ask(...).
int AskUser(const std::string& text, PromptButtons buttons, PromptIcon icon);

} // namespace platform
