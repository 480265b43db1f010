#include "shell/dialogs/select_code_page_dialog.h"

#include "platform/format_text.h"
#include "platform/qt/ansi_string.h"
#include "platform/resource_source.h"
#include "resources/resource_ids.h"
#include "shell/dialogs/dialog_texts.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace shell {
namespace {

using table::CodePageId;

struct CodePageChoice
{
    CodePageId id;
    int nameId;
};

constexpr CodePageChoice kChoices[] = {
    { CodePageId::kNone, IDS_CODEPAGE_NONE },
    { CodePageId::kAutodetect, IDS_CODEPAGE_AUTODETECT },
    { CodePageId::k866, IDS_CODEPAGE_866 },
    { CodePageId::k1251, IDS_CODEPAGE_1251 },
};

QString NameOf(const CodePageChoice& choice)
{
    return ResourceText(choice.nameId);
}

} // namespace

CSelectCodePageDialog::CSelectCodePageDialog(CodePageId current, QWidget* parent)
    : QDialog(parent)
    , m_current(current)
{
    setObjectName(QStringLiteral("IDD_SELECT_CODEPAGE"));
    const DialogTexts texts(IDD_SELECT_CODEPAGE);
    setWindowTitle(texts.Caption());

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("IDC_CODEPAGE_LIST"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSortingEnabled(true);
    auto* listLabel = new QLabel(texts.Control(IDC_CODEPAGE_LIST_LABEL), this);
    listLabel->setObjectName(QStringLiteral("IDC_CODEPAGE_LIST_LABEL"));
    listLabel->setBuddy(m_list);
    auto* currentLabel = new QLabel(this);
    currentLabel->setObjectName(QStringLiteral("IDC_CURRENT_CODEPAGE"));
    currentLabel->setTextFormat(Qt::PlainText);
    m_write = new QCheckBox(texts.Control(IDC_WRITE_CODEPAGE), this);
    m_write->setObjectName(QStringLiteral("IDC_WRITE_CODEPAGE"));

    // The list sorts its entries by their texts, which a language may order differently,
    // so the current entry is found by its text, never by its place.
    QString currentName;
    for (const CodePageChoice& choice : kChoices) {
        m_list->addItem(NameOf(choice));
        if (choice.id == current)
            currentName = NameOf(choice);
    }
    const QList<QListWidgetItem*> found = m_list->findItems(currentName, Qt::MatchExactly);
    if (!currentName.isEmpty() && !found.isEmpty())
        m_list->setCurrentItem(found.front());
    currentLabel->setText(platform::qt::FromAnsi(platform::FormatText(
        platform::LoadString(IDS_CURRENT_CODEPAGE), { platform::qt::ToAnsi(currentName) })));

    QDialogButtonBox* buttons = AddOkCancel(this, texts);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* left = new QVBoxLayout;
    left->addWidget(currentLabel);
    left->addWidget(listLabel);
    left->addWidget(m_list, 1);
    left->addWidget(m_write);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addWidget(buttons);
    m_list->setMinimumWidth(m_list->fontMetrics().horizontalAdvance(QStringLiteral("W")) * 20);
    m_list->setMaximumHeight(m_list->sizeHintForRow(0) * 6);
}

CodePageId CSelectCodePageDialog::ChosenCodePage() const
{
    const QListWidgetItem* item = m_list->currentItem();
    if (!item || !item->isSelected())
        return m_current;
    for (const CodePageChoice& choice : kChoices) {
        if (NameOf(choice) == item->text())
            return choice.id;
    }
    return m_current;
}

bool CSelectCodePageDialog::WriteIntoFile() const
{
    return m_write->isChecked();
}

} // namespace shell
