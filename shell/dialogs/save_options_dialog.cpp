#include "shell/dialogs/save_options_dialog.h"

#include "platform/format_text.h"
#include "platform/qt/ansi_string.h"
#include "platform/resource_source.h"
#include "resources/resource_ids.h"
#include "shell/dialogs/dialog_texts.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace shell {
namespace {

// A group of two choices, "all" and "only what is shown"; enabled only when something is
// not shown, and then set to what is shown.
QRadioButton* AddGroup(QWidget* parent, QVBoxLayout* layout, const DialogTexts& texts, int groupId,
    const char* groupName, int allId, const char* allName, int shownId, const char* shownName,
    bool allShown)
{
    auto* group = new QGroupBox(texts.Control(groupId), parent);
    group->setObjectName(QString::fromLatin1(groupName));
    auto* all = new QRadioButton(texts.Control(allId), group);
    all->setObjectName(QString::fromLatin1(allName));
    auto* shown = new QRadioButton(texts.Control(shownId), group);
    shown->setObjectName(QString::fromLatin1(shownName));
    auto* box = new QVBoxLayout(group);
    box->addWidget(all);
    box->addWidget(shown);
    (allShown ? all : shown)->setChecked(true);
    all->setEnabled(!allShown);
    shown->setEnabled(!allShown);
    layout->addWidget(group);
    return all;
}

} // namespace

CSaveOptionsDialog::CSaveOptionsDialog(
    const std::string& tableName, bool allColumnsShown, bool allRecordsShown, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("IDD_SAVE_OPTIONS"));
    const DialogTexts texts(IDD_SAVE_OPTIONS);
    setWindowTitle(texts.Caption());

    auto* message = new QLabel(this);
    message->setObjectName(QStringLiteral("IDC_SAVE_OPTIONS_TEXT"));
    message->setTextFormat(Qt::PlainText);
    message->setWordWrap(true);
    message->setText(platform::qt::FromAnsi(
        platform::FormatText(platform::LoadString(IDS_SAVE_OPTIONS_TEXT), { tableName })));

    auto* groups = new QVBoxLayout;
    m_allColumns = AddGroup(this, groups, texts, IDC_SAVE_COLUMNS_GROUP, "IDC_SAVE_COLUMNS_GROUP",
        IDC_ALL_COLUMNS, "IDC_ALL_COLUMNS", IDC_VISIBLE_COLUMNS, "IDC_VISIBLE_COLUMNS",
        allColumnsShown);
    m_allRecords = AddGroup(this, groups, texts, IDC_SAVE_RECORDS_GROUP, "IDC_SAVE_RECORDS_GROUP",
        IDC_ALL_RECORDS, "IDC_ALL_RECORDS", IDC_FILTERED_RECORDS, "IDC_FILTERED_RECORDS",
        allRecordsShown);

    QDialogButtonBox* buttons = AddOkCancel(this, texts);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* left = new QVBoxLayout;
    left->addWidget(message);
    left->addLayout(groups);
    left->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addWidget(buttons);
    message->setMinimumWidth(message->fontMetrics().averageCharWidth() * 50);
}

bool CSaveOptionsDialog::AllColumns() const
{
    return m_allColumns->isChecked();
}

bool CSaveOptionsDialog::AllRecords() const
{
    return m_allRecords->isChecked();
}

bool CSaveOptionsDialog::Ask(
    QWidget* parent, const std::string& tableName, bool* allColumns, bool* allRecords)
{
    CSaveOptionsDialog dialog(tableName, *allColumns, *allRecords, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    *allColumns = dialog.AllColumns();
    *allRecords = dialog.AllRecords();
    return true;
}

} // namespace shell
