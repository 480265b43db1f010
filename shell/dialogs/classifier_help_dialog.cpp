#include "shell/dialogs/classifier_help_dialog.h"

#include "resources/resource_ids.h"
#include "shell/dialogs/dialog_texts.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace shell {

CClassifierHelpDialog::CClassifierHelpDialog(bool showOnOpen, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("IDD_CLASSIFIER_HELP"));
    const DialogTexts texts(IDD_CLASSIFIER_HELP);
    setWindowTitle(texts.Caption());

    auto* icon = new QLabel(this);
    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation, nullptr, this)
                        .pixmap(iconSize, iconSize));
    auto* text = new QLabel(texts.Control(IDC_CLASSIFIER_HELP_TEXT), this);
    text->setObjectName(QStringLiteral("IDC_CLASSIFIER_HELP_TEXT"));
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    text->setMinimumWidth(460);

    m_showOnOpen = new QCheckBox(texts.Control(IDC_SHOW_CLASSIFIER_HELP), this);
    m_showOnOpen->setObjectName(QStringLiteral("IDC_SHOW_CLASSIFIER_HELP"));
    m_showOnOpen->setChecked(showOnOpen);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(texts.Control(IDOK), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("IDOK"));
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addWidget(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(6);
    layout->addWidget(m_showOnOpen);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool CClassifierHelpDialog::ShowOnOpen() const
{
    return m_showOnOpen->isChecked();
}

} // namespace shell
