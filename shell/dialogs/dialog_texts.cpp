#include "shell/dialogs/dialog_texts.h"

#include "platform/qt/ansi_string.h"
#include "resources/resource_ids.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

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

QDialogButtonBox* AddOkCancel(QDialog* dialog, const DialogTexts& texts)
{
    auto* buttons = new QDialogButtonBox(Qt::Vertical, dialog);
    QPushButton* ok = buttons->addButton(texts.Control(IDOK), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("IDOK"));
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(texts.Control(IDCANCEL), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("IDCANCEL"));
    return buttons;
}

} // namespace shell
