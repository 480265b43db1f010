#include "shell/dialogs/filter_dialog.h"

#include "platform/prompt.h"
#include "platform/qt/ansi_string.h"
#include "platform/resource_source.h"
#include "resources/resource_ids.h"
#include "shell/dialogs/dialog_texts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>
#include <string>

namespace shell {
namespace {

using platform::LoadString;
using platform::qt::FromAnsi;
using platform::qt::ToAnsi;
using tablegrid::FilterCondition;
using tablegrid::FilterOp;

int OperatorLabelId(FilterOp op)
{
    switch (op) {
    case FilterOp::kEmpty: return IDS_FILTER_OP_EMPTY;
    case FilterOp::kNotEmpty: return IDS_FILTER_OP_NOT_EMPTY;
    case FilterOp::kTrue: return IDS_FILTER_OP_TRUE;
    case FilterOp::kFalse: return IDS_FILTER_OP_FALSE;
    case FilterOp::kEqual: return IDS_FILTER_OP_EQUAL;
    case FilterOp::kNotEqual: return IDS_FILTER_OP_NOT_EQUAL;
    case FilterOp::kLess: return IDS_FILTER_OP_LESS;
    case FilterOp::kLessOrEqual: return IDS_FILTER_OP_LESS_OR_EQUAL;
    case FilterOp::kGreater: return IDS_FILTER_OP_GREATER;
    case FilterOp::kGreaterOrEqual: return IDS_FILTER_OP_GREATER_OR_EQUAL;
    case FilterOp::kContains: return IDS_FILTER_OP_CONTAINS;
    case FilterOp::kNotContains: return IDS_FILTER_OP_NOT_CONTAINS;
    }
    return 0;
}

bool IsEmptinessOp(FilterOp op)
{
    return op == FilterOp::kEmpty || op == FilterOp::kNotEmpty;
}

// Character columns, memos and the other types are offered the full list, and only their
// comparisons can ignore case.
bool TakesCase(char type)
{
    const std::vector<FilterOp> ops = tablegrid::FilterOpsFor(type);
    return std::find(ops.begin(), ops.end(), FilterOp::kContains) != ops.end();
}

std::string CaseSuffix(const FilterCondition& c)
{
    return c.caseSensitive ? std::string() : " (" + LoadString(IDS_FILTER_CASE_INSENSITIVE) + ")";
}

// A condition's line as "Add" writes it.
std::string AddedLineText(const FilterCondition& c)
{
    std::string text = c.column + " " + LoadString(OperatorLabelId(c.op));
    if (IsEmptinessOp(c.op))
        return text;
    switch (c.fieldType) {
    case 'C':
        return text + " '" + c.value + "'" + CaseSuffix(c);
    case 'D':
        return text + " {" + c.value + "}";
    default:
        return text + " " + c.value;
    }
}

// A condition's line as the list shows the window's filter when the dialog opens. Its
// label comes from the character columns' list, which has no "true" or "false": a logical
// condition names its value instead.
std::string RebuiltLineText(const FilterCondition& c)
{
    const std::vector<FilterOp> full = tablegrid::FilterOpsFor('C');
    const bool listed = std::find(full.begin(), full.end(), c.op) != full.end();
    const std::string label = listed ? LoadString(OperatorLabelId(c.op)) : std::string();
    std::string text;
    switch (c.fieldType) {
    case 'C':
        text = IsEmptinessOp(c.op) ? c.value : "'" + c.value + "'" + CaseSuffix(c);
        break;
    case 'D':
        text = "{" + c.value + "}";
        break;
    case 'L':
        text = LoadString(c.op == FilterOp::kTrue ? IDS_FILTER_OP_TRUE : IDS_FILTER_OP_FALSE);
        break;
    default:
        text = " " + c.value;
        break;
    }
    return c.column + " " + label + " " + text;
}

QRadioButton* AddRadio(QButtonGroup* group, QGroupBox* box, const DialogTexts& texts, int id,
    const char* name, int mode)
{
    auto* radio = new QRadioButton(texts.Control(id), box);
    radio->setObjectName(QString::fromLatin1(name));
    group->addButton(radio, mode);
    box->layout()->addWidget(radio);
    return radio;
}

} // namespace

CFilterDialog::CFilterDialog(std::vector<tablegrid::FilterColumn> columns, int deletionMode,
    int emptinessMode, std::vector<FilterCondition> entries, QWidget* parent)
    : QDialog(parent)
    , m_columns(std::move(columns))
{
    setObjectName(QStringLiteral("IDD_FILTER"));
    BuildControls();
    m_deletion->button(std::clamp(deletionMode, 0, 2))->setChecked(true);
    m_emptiness->button(std::clamp(emptinessMode, 0, 2))->setChecked(true);

    {
        const QSignalBlocker blocker(m_column);
        for (const tablegrid::FilterColumn& column : m_columns)
            m_column->addItem(FromAnsi(column.title));
        m_column->setCurrentIndex(-1);
    }
    for (const FilterCondition& entry : entries) {
        const std::string text
            = entry.isOrSeparator ? LoadString(IDS_FILTER_OR_SEPARATOR) : RebuiltLineText(entry);
        InsertEntry(static_cast<int>(m_entries.size()), entry, FromAnsi(text));
    }
    m_caseSensitive->setChecked(true);
    OnColumnChosen(-1);
    UpdateListButtons();
    m_editing = false;
}

void CFilterDialog::BuildControls()
{
    const DialogTexts texts(IDD_FILTER);
    setWindowTitle(texts.Caption());
    auto named = [](QWidget* widget, const char* name) {
        widget->setObjectName(QString::fromLatin1(name));
        return widget;
    };

    auto* deletionBox = new QGroupBox(texts.Control(IDC_DELETED_GROUP), this);
    named(deletionBox, "IDC_DELETED_GROUP");
    deletionBox->setLayout(new QVBoxLayout);
    m_deletion = new QButtonGroup(this);
    AddRadio(m_deletion, deletionBox, texts, IDC_DELETED_ALL, "IDC_DELETED_ALL", 0);
    AddRadio(m_deletion, deletionBox, texts, IDC_DELETED_EXCLUDE, "IDC_DELETED_EXCLUDE", 1);
    AddRadio(m_deletion, deletionBox, texts, IDC_DELETED_ONLY, "IDC_DELETED_ONLY", 2);
    auto* emptinessBox = new QGroupBox(texts.Control(IDC_EMPTY_GROUP), this);
    named(emptinessBox, "IDC_EMPTY_GROUP");
    emptinessBox->setLayout(new QVBoxLayout);
    m_emptiness = new QButtonGroup(this);
    AddRadio(m_emptiness, emptinessBox, texts, IDC_EMPTY_ALL, "IDC_EMPTY_ALL", 0);
    AddRadio(m_emptiness, emptinessBox, texts, IDC_EMPTY_EXCLUDE, "IDC_EMPTY_EXCLUDE", 1);
    AddRadio(m_emptiness, emptinessBox, texts, IDC_EMPTY_ONLY, "IDC_EMPTY_ONLY", 2);

    auto label = [this, &texts, &named](int id, const char* name, QWidget* buddy) {
        auto* text = new QLabel(texts.Control(id), this);
        named(text, name);
        text->setBuddy(buddy);
        return text;
    };
    m_column = new QComboBox(this);
    named(m_column, "IDC_FILTER_COLUMN");
    m_column->setMinimumContentsLength(16);
    m_operator = new QComboBox(this);
    named(m_operator, "IDC_FILTER_OPERATOR");
    m_operator->setMinimumContentsLength(20);
    m_caseSensitive = new QCheckBox(texts.Control(IDC_FILTER_CASE_SENSITIVE), this);
    named(m_caseSensitive, "IDC_FILTER_CASE_SENSITIVE");
    m_value = new QLineEdit(this);
    named(m_value, "IDC_FILTER_VALUE");
    // The case box and the value box come and go with the column and the operator; the
    // others keep their places meanwhile.
    for (QWidget* comesAndGoes : { static_cast<QWidget*>(m_caseSensitive), static_cast<QWidget*>(m_value) }) {
        QSizePolicy policy = comesAndGoes->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        comesAndGoes->setSizePolicy(policy);
    }
    auto button = [this, &texts, &named](int id, const char* name) {
        auto* pushButton = new QPushButton(texts.Control(id), this);
        named(pushButton, name);
        pushButton->setAutoDefault(false);
        return pushButton;
    };
    m_add = button(IDC_FILTER_ADD, "IDC_FILTER_ADD");
    m_delete = button(IDC_FILTER_DELETE, "IDC_FILTER_DELETE");
    m_up = button(IDC_FILTER_UP, "IDC_FILTER_UP");
    m_down = button(IDC_FILTER_DOWN, "IDC_FILTER_DOWN");
    m_or = button(IDC_FILTER_OR, "IDC_FILTER_OR");
    m_list = new QListWidget(this);
    named(m_list, "IDC_CONDITION_LIST");
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setMinimumHeight(140);

    auto* condition = new QGridLayout;
    condition->addWidget(label(IDC_FILTER_COLUMN_LABEL, "IDC_FILTER_COLUMN_LABEL", m_column), 0, 0);
    condition->addWidget(m_column, 1, 0);
    condition->addWidget(
        label(IDC_FILTER_OPERATOR_LABEL, "IDC_FILTER_OPERATOR_LABEL", m_operator), 0, 1);
    condition->addWidget(m_operator, 1, 1);
    condition->addWidget(m_caseSensitive, 1, 2);
    condition->addWidget(label(IDC_FILTER_VALUE_LABEL, "IDC_FILTER_VALUE_LABEL", m_value), 2, 0);
    condition->addWidget(m_value, 3, 0, 1, 3);
    condition->addWidget(m_add, 3, 3);
    condition->setColumnStretch(0, 1);
    condition->setColumnStretch(1, 1);

    auto* listButtons = new QVBoxLayout;
    listButtons->addWidget(m_delete);
    listButtons->addWidget(m_up);
    listButtons->addWidget(m_down);
    listButtons->addWidget(m_or);
    listButtons->addStretch();
    auto* listRow = new QHBoxLayout;
    listRow->addWidget(m_list, 1);
    listRow->addLayout(listButtons);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(texts.Control(IDOK), QDialogButtonBox::AcceptRole);
    named(ok, "IDOK");
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(texts.Control(IDCANCEL), QDialogButtonBox::RejectRole);
    named(cancel, "IDCANCEL");
    cancel->setAutoDefault(false);

    auto* options = new QHBoxLayout;
    options->addWidget(deletionBox);
    options->addWidget(emptinessBox);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(options);
    layout->addLayout(condition);
    layout->addWidget(label(IDC_CONDITION_LIST_LABEL, "IDC_CONDITION_LIST_LABEL", m_list));
    layout->addLayout(listRow, 1);
    layout->addWidget(buttons);
    setMinimumWidth(560);

    connect(m_column, &QComboBox::currentIndexChanged, this, &CFilterDialog::OnColumnChosen);
    connect(m_operator, &QComboBox::currentIndexChanged, this, &CFilterDialog::OnOperatorChosen);
    connect(m_value, &QLineEdit::textChanged, this, &CFilterDialog::OnValueChanged);
    connect(m_add, &QPushButton::clicked, this, [this] {
        // A column is chosen but no operator yet: the operators are offered.
        if (m_column->currentIndex() >= 0 && m_operator->currentIndex() < 0) {
            m_operator->setFocus();
            m_operator->showPopup();
            return;
        }
        (void)AddCondition();
    });
    connect(m_delete, &QPushButton::clicked, this, &CFilterDialog::OnDelete);
    connect(m_up, &QPushButton::clicked, this, [this] { MoveSelected(-1); });
    connect(m_down, &QPushButton::clicked, this, [this] { MoveSelected(1); });
    connect(m_or, &QPushButton::clicked, this, &CFilterDialog::OnOr);
    connect(m_list, &QListWidget::itemSelectionChanged, this, &CFilterDialog::UpdateListButtons);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &CFilterDialog::OnEntryDoubleClicked);
    connect(ok, &QPushButton::clicked, this, &CFilterDialog::OnOk);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

int CFilterDialog::DeletionMode() const
{
    return std::max(m_deletion->checkedId(), 0);
}

int CFilterDialog::EmptinessMode() const
{
    return std::max(m_emptiness->checkedId(), 0);
}

char CFilterDialog::ChosenType() const
{
    const int index = m_column->currentIndex();
    return index >= 0 && index < static_cast<int>(m_columns.size())
        ? m_columns[static_cast<std::size_t>(index)].type
        : 0;
}

void CFilterDialog::OnColumnChosen(int index)
{
    m_editing = true;
    const bool chosen = index >= 0;
    {
        const QSignalBlocker blocker(m_operator);
        m_operator->clear();
        if (chosen) {
            for (const FilterOp op : tablegrid::FilterOpsFor(ChosenType()))
                m_operator->addItem(FromAnsi(LoadString(OperatorLabelId(op))), static_cast<int>(op));
        }
        m_operator->setCurrentIndex(-1);
    }
    const bool withCase = chosen && TakesCase(ChosenType());
    m_caseSensitive->setVisible(withCase);
    m_caseSensitive->setEnabled(withCase);
    // A logical column is compared with true or false only; for the others the value box
    // waits for the operator, which may want no value either.
    const bool logical = chosen && ChosenType() == 'L';
    if (logical)
        m_value->clear();
    m_value->setVisible(!logical);
    m_value->setEnabled(!logical);
    m_operator->setEnabled(chosen);
    m_add->setEnabled(chosen);
}

void CFilterDialog::OnOperatorChosen(int index)
{
    m_editing = true;
    if (index < 0)
        return;
    const auto op = static_cast<FilterOp>(m_operator->itemData(index).toInt());
    const bool withValue = !tablegrid::FilterOpTakesNoValue(op);
    if (!withValue)
        m_value->clear();
    m_value->setVisible(withValue);
    m_value->setEnabled(withValue);
    m_add->setEnabled(true);
}

void CFilterDialog::OnValueChanged()
{
    m_add->setEnabled(!m_value->text().isEmpty() && m_operator->currentIndex() >= 0);
}

bool CFilterDialog::AddCondition()
{
    const int column = m_column->currentIndex();
    const int opIndex = m_operator->currentIndex();
    if (column < 0 || opIndex < 0 || column >= static_cast<int>(m_columns.size())) {
        (column < 0 ? m_column : m_operator)->setFocus();
        return false;
    }
    FilterCondition condition;
    condition.column = m_columns[static_cast<std::size_t>(column)].title;
    condition.op = static_cast<FilterOp>(m_operator->itemData(opIndex).toInt());
    condition.caseSensitive = m_caseSensitive->isChecked();
    condition.fieldType = ChosenType();
    if (!tablegrid::FilterOpTakesNoValue(condition.op))
        condition.value = ToAnsi(m_value->text());
    if (!tablegrid::IsValidFilterValue(condition.fieldType, condition.op, condition.value)) {
        platform::AskUser(LoadString(IDS_INVALID_FORMAT), platform::PromptButtons::kOk,
            platform::PromptIcon::kStop);
        return false;
    }
    const int index = static_cast<int>(m_entries.size());
    InsertEntry(index, condition, FromAnsi(AddedLineText(condition)));
    SelectEntry(index);
    m_editing = false;
    m_add->setEnabled(false);
    return true;
}

void CFilterDialog::InsertEntry(int index, const FilterCondition& entry, const QString& text)
{
    m_entries.insert(m_entries.begin() + index, entry);
    m_list->insertItem(index, text);
}

void CFilterDialog::RemoveEntry(int index)
{
    m_entries.erase(m_entries.begin() + index);
    delete m_list->takeItem(index);
}

int CFilterDialog::SelectedEntry() const
{
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : m_list->row(selected.front());
}

void CFilterDialog::SelectEntry(int index)
{
    if (index >= 0 && index < m_list->count()) {
        m_list->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
    } else {
        m_list->clearSelection();
    }
    UpdateListButtons();
}

void CFilterDialog::UpdateListButtons()
{
    const int selected = SelectedEntry();
    const int count = static_cast<int>(m_entries.size());
    m_delete->setEnabled(selected >= 0);
    m_up->setEnabled(selected > 0);
    m_down->setEnabled(selected >= 0 && selected + 1 < count);
    // An OR line goes after a condition; with nothing chosen, after the last entry.
    m_or->setEnabled(selected >= 0 ? !m_entries[static_cast<std::size_t>(selected)].isOrSeparator
                                   : count > 0);
}

void CFilterDialog::OnDelete()
{
    const int selected = SelectedEntry();
    if (selected < 0)
        return;
    RemoveEntry(selected);
    SelectEntry(selected);
}

void CFilterDialog::MoveSelected(int by)
{
    const int selected = SelectedEntry();
    const int other = selected + by;
    if (selected < 0 || other < 0 || other >= static_cast<int>(m_entries.size()))
        return;
    std::swap(m_entries[static_cast<std::size_t>(selected)], m_entries[static_cast<std::size_t>(other)]);
    QListWidgetItem* item = m_list->takeItem(selected);
    m_list->insertItem(other, item);
    SelectEntry(other);
}

void CFilterDialog::OnOr()
{
    const int selected = SelectedEntry();
    const int at = selected >= 0 ? selected + 1 : static_cast<int>(m_entries.size());
    FilterCondition separator;
    separator.isOrSeparator = true;
    InsertEntry(at, separator, FromAnsi(LoadString(IDS_FILTER_OR_SEPARATOR)));
    UpdateListButtons();
    // One OR line after a condition is enough.
    m_or->setEnabled(false);
}

void CFilterDialog::OnEntryDoubleClicked(QListWidgetItem* item)
{
    const int index = m_list->row(item);
    if (index < 0 || m_entries[static_cast<std::size_t>(index)].isOrSeparator)
        return;
    const FilterCondition condition = m_entries[static_cast<std::size_t>(index)];
    const auto column = std::find_if(m_columns.begin(), m_columns.end(),
        [&condition](const tablegrid::FilterColumn& c) { return c.title == condition.column; });
    m_column->setCurrentIndex(column == m_columns.end() ? -1 : static_cast<int>(column - m_columns.begin()));
    m_operator->setCurrentIndex(m_operator->findData(static_cast<int>(condition.op)));
    m_caseSensitive->setChecked(condition.caseSensitive);
    if (m_value->isEnabled())
        m_value->setText(FromAnsi(condition.value));
    RemoveEntry(index);
    m_list->clearSelection();
    UpdateListButtons();
    // Taken back to be changed: OK offers it to the list again.
    m_editing = true;
}

void CFilterDialog::OnOk()
{
    // Enter typed in the value box means the condition is done, not the dialog.
    if (focusWidget() == m_value) {
        if (m_add->isEnabled())
            (void)AddCondition();
        return;
    }
    const int bad = tablegrid::FindBadSeparator(m_entries);
    if (bad >= 0) {
        SelectEntry(bad);
        platform::AskUser(LoadString(IDS_INVALID_FILTER), platform::PromptButtons::kOk,
            platform::PromptIcon::kStop);
        return;
    }
    if (m_editing
        && platform::AskUser(LoadString(IDS_ADD_LAST_CONDITION), platform::PromptButtons::kYesNo,
               platform::PromptIcon::kQuestion)
            == platform::IDYES
        && !AddCondition())
        return;
    accept();
}

} // namespace shell
