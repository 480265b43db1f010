#include "shell/dialogs/delete_index_dialog.h"

#include "platform/format_text.h"
#include "platform/qt/ansi_string.h"
#include "platform/resource_source.h"
#include "resources/resource_ids.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace shell {

using platform::qt::FromAnsi;

CDeleteIndexDialog::CDeleteIndexDialog(const std::string& tablePath, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("IDD_DELETE_INDEX"));
    const std::optional<platform::DialogResource> dialog = platform::LoadDialog(IDD_DELETE_INDEX);
    auto text = [&dialog](int id) {
        const std::string* found = dialog ? dialog->ControlText(id) : nullptr;
        return found ? FromAnsi(*found) : QString();
    };
    setWindowTitle(dialog ? FromAnsi(dialog->caption) : QString());

    auto* icon = new QLabel(this);
    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion, nullptr, this)
                        .pixmap(iconSize, iconSize));
    // Plain text: a path is shown as it is, never read as markup.
    auto* question = new QLabel(this);
    question->setObjectName(QStringLiteral("IDC_DELETE_INDEX_TEXT"));
    question->setTextFormat(Qt::PlainText);
    question->setWordWrap(true);
    question->setText(FromAnsi(
        platform::FormatText(platform::LoadString(IDS_DELETE_INDEX_QUESTION), { tablePath })));

    // Yes, All, No in this order on every desktop (a button box would reorder them).
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto addButton = [this, buttons, &text](int id, const char* name) {
        auto* button = new QPushButton(text(id), this);
        button->setObjectName(QString::fromLatin1(name));
        buttons->addWidget(button);
        return button;
    };
    QPushButton* yes = addButton(IDOK, "IDOK");
    yes->setDefault(true);
    QPushButton* all = addButton(IDC_DELETE_INDEX_ALL, "IDC_DELETE_INDEX_ALL");
    QPushButton* no = addButton(IDCANCEL, "IDCANCEL");
    connect(yes, &QPushButton::clicked, this, &QDialog::accept);
    connect(all, &QPushButton::clicked, this, [this] {
        m_all = true;
        accept();
    });
    connect(no, &QPushButton::clicked, this, &QDialog::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addWidget(question, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    setMinimumWidth(420);
}

} // namespace shell
