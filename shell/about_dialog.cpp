#include "shell/about_dialog.h"

#include "platform/format_text.h"
#include "platform/qt/ansi_string.h"
#include "platform/resource_source.h"
#include "resources/resource_ids.h"
#include "shell/command_icons.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace shell {
namespace {

using platform::qt::FromAnsi;

QLabel* AddLabel(QLayout* layout, QWidget* parent, const char* name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setWordWrap(true);
    layout->addWidget(label);
    return label;
}

} // namespace

QString CAboutDlg::ProgramVersion()
{
#ifdef LUMETTA_VERSION
    return QStringLiteral(LUMETTA_VERSION);
#else
    return {};
#endif
}

CAboutDlg::CAboutDlg(CommonControlsVersion controls, std::function<void()> openOtherProducts,
                     QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("IDD_ABOUT"));
    const std::optional<platform::DialogResource> dialog = platform::LoadDialog(kTemplate);
    auto text = [&dialog](int id) {
        const std::string* found = dialog ? dialog->ControlText(id) : nullptr;
        return found ? FromAnsi(*found) : QString();
    };
    setWindowTitle(dialog ? FromAnsi(dialog->caption) : QString());

    auto* icon = new QLabel(this);
    icon->setPixmap(ProgramIcon().pixmap(32, 32));
    auto* texts = new QVBoxLayout;
    AddLabel(texts, this, "IDC_ABOUT_PRODUCT", text(IDC_ABOUT_PRODUCT));
    auto* versionRow = new QHBoxLayout;
    AddLabel(versionRow, this, "IDC_ABOUT_VERSION_LABEL", text(IDC_ABOUT_VERSION_LABEL))
        ->setWordWrap(false);
    AddLabel(versionRow, this, "IDC_VERSION", ProgramVersion());
    versionRow->addStretch();
    texts->addLayout(versionRow);
    AddLabel(texts, this, "IDC_ABOUT_COPYRIGHT", text(IDC_ABOUT_COPYRIGHT));
    AddLabel(texts, this, "IDC_ABOUT_CONTACT", text(IDC_ABOUT_CONTACT));
    if (!HasNewBars(controls)) {
        AddLabel(texts, this, "IDC_ABOUT_BARS_NOTE",
            FromAnsi(platform::FormatText(platform::LoadString(IDS_OLD_COMMON_CONTROLS),
                { controls.major, controls.minor })));
    }

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(text(IDOK), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("IDOK"));
    ok->setDefault(true);
    QPushButton* other = buttons->addButton(text(IDC_OTHER_PRODUCTS), QDialogButtonBox::ActionRole);
    other->setObjectName(QStringLiteral("IDC_OTHER_PRODUCTS"));
    other->setEnabled(static_cast<bool>(openOtherProducts));
    connect(other, &QPushButton::clicked, this, [open = std::move(openOtherProducts)] {
        if (open)
            open();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(texts, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    setMinimumWidth(380);
}

} // namespace shell
