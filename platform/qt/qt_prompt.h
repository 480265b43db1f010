#pragma once

#include "platform/prompt.h"

#include <QMessageBox>

#include <memory>
#include <string>

class QWidget;

namespace platform::qt {

// The message box a prompt shows, not yet shown: `caption` as its title, `text` as plain
// text (a table value such as "<b>" is shown as typed, never as markup), the buttons with
// the first as the default, Escape giving DismissAnswer's answer, and the icon. Both texts
// are cp1251.
std::unique_ptr<QMessageBox> MakePromptBox(const std::string& caption, const std::string& text,
    PromptButtons buttons, PromptIcon icon, QWidget* parent);

// The answer a box gives for the button it was closed with (IDOK, IDCANCEL, IDYES, IDNO).
int PromptAnswer(QMessageBox::StandardButton button, PromptButtons buttons);

// The program's prompt on the desktop: a modal message box over the active window, brought
// to the front, titled with the application title given at construction (the title the
// program started with, whatever language is chosen later).
class QtPrompt final : public Prompt
{
public:
    explicit QtPrompt(std::string caption)
        : m_caption(std::move(caption))
    { }

    int Ask(const std::string& text, PromptButtons buttons, PromptIcon icon) override;

private:
    std::string m_caption;
};

} // namespace platform::qt
