#include "shell/dialogs/schema_table_dialog.h"

#include "platform/file_system.h"
#include "platform/format_text.h"
#include "platform/prompt.h"
#include "platform/qt/ansi_string.h"
#include "platform/resource_source.h"
#include "resources/resource_ids.h"
#include "schema/schema_table.h"
#include "shell/dialogs/dialog_texts.h"
#include "shell/dialogs/field_list_view.h"
#include "table/table_database.h"
#include "table/table_structure.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace shell {
namespace {

using platform::qt::FromAnsi;
using platform::qt::ToAnsi;

} // namespace

CSchemaTableDialog::CSchemaTableDialog(
    table::TableDatabase& database, const std::string& key, QWidget* parent)
    : QDialog(parent)
    , m_table(*database.FindTable(key))
    , m_key(key)
{
    setObjectName(QStringLiteral("IDD_SCHEMA_TABLE"));
    BuildControls();
    m_read = ReadFields(database);
    if (!m_read) {
        (void)platform::AskUser(
            platform::FormatText(platform::LoadString(IDS_OPEN_TABLE_ERROR), { key }),
            platform::PromptButtons::kOk, platform::PromptIcon::kStop);
        m_description->setEnabled(false);
        m_list->setEnabled(false);
        return;
    }
    const DialogTexts texts(IDD_SCHEMA_TABLE);
    setWindowTitle(FromAnsi(platform::FormatText(platform::LoadString(IDS_SCHEMA_TABLE_CAPTION),
        { ToAnsi(texts.Caption()), key, m_table.description })));
    m_description->setText(FromAnsi(m_table.description));
    for (const table::FieldDef& field : m_fields) {
        auto* item = new QTreeWidgetItem(m_list);
        SetFieldListRow(item, field.name, field.type, field.length, field.decimals);
    }
    QStringList tables;
    for (const auto& [name, entry] : database.Tables())
        tables << FromAnsi(name);
    m_relatedTable->addItems(tables); // keys in byte order; upper-case names sort alike
    m_relatedTable->setCurrentIndex(-1);
    connect(m_list, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        SelectField(item ? m_list->indexOfTopLevelItem(item) : -1);
    });
}

void CSchemaTableDialog::BuildControls()
{
    const DialogTexts texts(IDD_SCHEMA_TABLE);
    setWindowTitle(texts.Caption());
    auto named = [](QWidget* widget, const char* name) {
        widget->setObjectName(QString::fromLatin1(name));
        return widget;
    };
    auto* descriptionLabel = new QLabel(texts.Control(IDC_SCHEMA_TABLE_DESCRIPTION_LABEL), this);
    named(descriptionLabel, "IDC_SCHEMA_TABLE_DESCRIPTION_LABEL");
    m_description = new QLineEdit(this);
    named(m_description, "IDC_SCHEMA_TABLE_DESCRIPTION");
    descriptionLabel->setBuddy(m_description);

    auto* listLabel = new QLabel(texts.Control(IDC_SCHEMA_FIELD_LIST_LABEL), this);
    named(listLabel, "IDC_SCHEMA_FIELD_LIST_LABEL");
    m_list = new QTreeWidget(this);
    named(m_list, "IDC_SCHEMA_FIELD_LIST");
    SetUpFieldList(m_list);
    const QFontMetrics metrics(m_list->font());
    const int widths[] = { metrics.horizontalAdvance(QStringLiteral("WWWWWWWWWWW")),
        std::max(metrics.horizontalAdvance(QStringLiteral("Character__")), FieldTypeColumnWidth(m_list)),
        metrics.horizontalAdvance(QStringLiteral("00000")),
        metrics.horizontalAdvance(QStringLiteral("00000")) };
    int listWidth = 0;
    for (int c = 0; c < 4; ++c) {
        m_list->setColumnWidth(c, widths[c]);
        listWidth += widths[c];
    }
    m_list->setMinimumWidth(listWidth + m_list->frameWidth() * 2 + 20);
    m_list->setMinimumHeight(metrics.height() * 12);

    m_group = new QGroupBox(texts.Control(IDC_SCHEMA_FIELD_GROUP), this);
    named(m_group, "IDC_SCHEMA_FIELD_GROUP");
    auto* fieldLabel = new QLabel(texts.Control(IDC_SCHEMA_FIELD_DESCRIPTION_LABEL), m_group);
    named(fieldLabel, "IDC_SCHEMA_FIELD_DESCRIPTION_LABEL");
    m_fieldDescription = new QLineEdit(m_group);
    named(m_fieldDescription, "IDC_SCHEMA_FIELD_DESCRIPTION");
    fieldLabel->setBuddy(m_fieldDescription);
    m_keyField = new QCheckBox(texts.Control(IDC_SCHEMA_KEY_FIELD), m_group);
    named(m_keyField, "IDC_SCHEMA_KEY_FIELD");
    m_nameField = new QCheckBox(texts.Control(IDC_SCHEMA_NAME_FIELD), m_group);
    named(m_nameField, "IDC_SCHEMA_NAME_FIELD");
    m_relation = new QCheckBox(texts.Control(IDC_SCHEMA_RELATION), m_group);
    named(m_relation, "IDC_SCHEMA_RELATION");
    m_relatedTable = new QComboBox(m_group);
    named(m_relatedTable, "IDC_SCHEMA_RELATED_TABLE");
    m_relatedTable->setEditable(false);
    m_relatedTable->setEnabled(false);
    m_relatedTable->setMinimumContentsLength(14);
    auto* groupLayout = new QVBoxLayout(m_group);
    groupLayout->addWidget(fieldLabel);
    groupLayout->addWidget(m_fieldDescription);
    groupLayout->addWidget(m_keyField);
    groupLayout->addWidget(m_nameField);
    groupLayout->addWidget(m_relation);
    groupLayout->addWidget(m_relatedTable);
    groupLayout->addStretch();
    m_group->setEnabled(false); // until a field is selected

    auto* close = new QPushButton(texts.Control(IDOK), this);
    named(close, "IDOK");
    close->setDefault(true);
    m_help = new QPushButton(texts.Control(ID_HELP), this);
    named(m_help, "ID_HELP");
    m_help->setAutoDefault(false);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(close);
    buttons->addWidget(m_help);
    buttons->addStretch();
    auto* grid = new QGridLayout(this);
    grid->addWidget(descriptionLabel, 0, 0, 1, 2);
    grid->addWidget(m_description, 1, 0, 1, 2);
    grid->addWidget(listLabel, 2, 0);
    grid->addWidget(m_list, 3, 0);
    grid->addWidget(m_group, 3, 1);
    grid->addLayout(buttons, 0, 2, 4, 1);
    grid->setColumnStretch(0, 1);

    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_help, &QPushButton::clicked, this, [this] {
        if (m_helpAction)
            m_helpAction();
    });
    connect(m_nameField, &QCheckBox::clicked, this, &CSchemaTableDialog::OnNameFieldClicked);
    connect(m_relation, &QCheckBox::clicked, this, &CSchemaTableDialog::OnRelationClicked);
}

bool CSchemaTableDialog::ReadFields(table::TableDatabase& database)
{
    platform::FileSystem& fs = database.FileSystem();
    const auto path = platform::FindEntryNoCase(fs, database.Directory(), m_key + ".DBF");
    if (!path)
        return false;
    std::unique_ptr<platform::File> file = fs.Open(*path, platform::OpenMode::kRead, nullptr);
    if (!file)
        return false;
    table::TableStructure structure;
    if (!table::ReadTableStructure(*file, *path, &structure).ok)
        return false;
    m_fields = std::move(structure.fields);
    return true;
}

std::string CSchemaTableDialog::CurrentFieldName() const
{
    return m_current >= 0 && m_current < static_cast<int>(m_fields.size())
        ? m_fields[static_cast<std::size_t>(m_current)].name
        : std::string();
}

void CSchemaTableDialog::SelectField(int index)
{
    StoreField();
    m_current = index;
    m_group->setEnabled(m_current >= 0);
    LoadField();
}

void CSchemaTableDialog::LoadField()
{
    const std::string field = CurrentFieldName();
    const schema::SchemaFieldState state
        = field.empty() ? schema::SchemaFieldState() : schema::LoadSchemaField(m_table, field);
    m_fieldDescription->setText(FromAnsi(state.description));
    m_nameField->setChecked(state.nameField);
    m_keyField->setChecked(state.keyField);
    m_relation->setChecked(state.relation);
    m_relatedTable->setEnabled(state.relation);
    m_relatedTable->setCurrentIndex(
        state.relation ? m_relatedTable->findText(FromAnsi(state.relatedTable)) : -1);
}

void CSchemaTableDialog::StoreField()
{
    const std::string field = CurrentFieldName();
    if (field.empty())
        return;
    schema::SchemaFieldState state;
    state.description = ToAnsi(m_fieldDescription->text());
    state.nameField = m_nameField->isChecked();
    state.keyField = m_keyField->isChecked();
    state.relation = m_relation->isChecked();
    if (m_relatedTable->currentIndex() >= 0)
        state.relatedTable = ToAnsi(m_relatedTable->currentText());
    schema::StoreSchemaField(m_table, field, state);
}

void CSchemaTableDialog::OnNameFieldClicked(bool checked)
{
    const std::string field = CurrentFieldName();
    if (field.empty())
        return;
    if (!checked) {
        if (m_table.IsNameField(field))
            m_table.nameField.clear();
        return;
    }
    if (m_table.nameField.empty() || m_table.IsNameField(field))
        return;
    const std::string question = platform::FormatText(
        platform::LoadString(IDS_CHANGE_NAME_FIELD), { m_table.nameField, field });
    if (platform::AskUser(
            question, platform::PromptButtons::kYesNo, platform::PromptIcon::kQuestion)
        == platform::IDYES)
        m_table.nameField = field;
    else
        m_nameField->setChecked(false);
}

void CSchemaTableDialog::OnRelationClicked(bool checked)
{
    m_relatedTable->setEnabled(checked);
    if (!checked)
        m_relatedTable->setCurrentIndex(-1);
}

void CSchemaTableDialog::done(int result)
{
    // Closing keeps what was typed: there is no Cancel. An unread table shows nothing, and
    // storing its empty controls would only wipe what the schema held.
    if (m_read) {
        StoreField();
        m_table.description = ToAnsi(m_description->text());
    }
    QDialog::done(result);
}

} // namespace shell
