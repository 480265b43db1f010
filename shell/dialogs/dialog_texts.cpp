#include "shell/dialogs/dialog_texts.h"

#include "platform/qt/ansi_string.h"

namespace shell {

using platform::qt::FromAnsi;

DialogTexts::DialogTexts(int dialogId)
    : m_dialog(platform::LoadDialog(dialogId))
{
}

QString DialogTexts::Caption() const
{
    return m_dialog ? FromAnsi(m_dialog->caption) : QString();
}

QString DialogTexts::Control(int controlId) const
{
    const std::string* text = m_dialog ? m_dialog->ControlText(controlId) : nullptr;
    return text ? FromAnsi(*text) : QString();
}

QString ResourceText(int id)
{
    return FromAnsi(platform::LoadString(id));
}

} // namespace shell
