#include "platform/qt/qt_prompt.h"

#include "platform/qt/ansi_string.h"

#include <QApplication>
#include <QPushButton>

namespace platform::qt {

namespace {

QMessageBox::StandardButtons ButtonsOf(PromptButtons buttons)
{
    switch (buttons) {
    case PromptButtons::kOk:
        return QMessageBox::Ok;
    case PromptButtons::kOkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case PromptButtons::kYesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case PromptButtons::kYesNoCancel:
        break;
    }
    return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
}

QMessageBox::Icon IconOf(PromptIcon icon)
{
    switch (icon) {
    case PromptIcon::kNone:
        return QMessageBox::NoIcon;
    case PromptIcon::kStop:
        return QMessageBox::Critical;
    case PromptIcon::kQuestion:
        return QMessageBox::Question;
    case PromptIcon::kExclamation:
        return QMessageBox::Warning;
    case PromptIcon::kInformation:
        break;
    }
    return QMessageBox::Information;
}

QMessageBox::StandardButton StandardButtonOf(int answer)
{
    switch (answer) {
    case IDOK:
        return QMessageBox::Ok;
    case IDYES:
        return QMessageBox::Yes;
    case IDNO:
        return QMessageBox::No;
    default:
        return QMessageBox::Cancel;
    }
}

} // namespace

std::unique_ptr<QMessageBox> MakePromptBox(const std::string& caption, const std::string& text,
    PromptButtons buttons, PromptIcon icon, QWidget* parent)
{
    auto box = std::make_unique<QMessageBox>(parent);
    box->setWindowTitle(FromAnsi(caption));
    box->setTextFormat(Qt::PlainText);
    box->setText(FromAnsi(text));
    box->setIcon(IconOf(icon));
    box->setStandardButtons(ButtonsOf(buttons));
    const bool yesNo = buttons == PromptButtons::kYesNo || buttons == PromptButtons::kYesNoCancel;
    box->setDefaultButton(yesNo ? QMessageBox::Yes : QMessageBox::Ok);
    box->setEscapeButton(box->button(StandardButtonOf(DismissAnswer(buttons))));
    return box;
}

int PromptAnswer(QMessageBox::StandardButton button, PromptButtons buttons)
{
    switch (button) {
    case QMessageBox::Ok:
        return IDOK;
    case QMessageBox::Cancel:
        return IDCANCEL;
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    default:
        return DismissAnswer(buttons);
    }
}

int QtPrompt::Ask(const std::string& text, PromptButtons buttons, PromptIcon icon)
{
    const std::unique_ptr<QMessageBox> box
        = MakePromptBox(m_caption, text, buttons, icon, QApplication::activeWindow());
    // The box must not hide behind the window that asks, or the program looks frozen.
    box->show();
    box->raise();
    box->activateWindow();
    box->exec();
    return PromptAnswer(box->standardButton(box->clickedButton()), buttons);
}

} // namespace platform::qt
