#include "shell/dialogs/search_dialog.h"

#include "platform/format_text.h"
#include "platform/prompt.h"
#include "platform/qt/ansi_string.h"
#include "platform/resource_source.h"
#include "resources/resource_ids.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace shell {
namespace {

using platform::LoadString;
using platform::qt::FromAnsi;
using platform::qt::ToAnsi;

constexpr int kForward = 0;
constexpr int kBackward = 1;
constexpr int kEntireScope = 2;
constexpr int kTextFieldChars = 32;

// A text box with a list of earlier texts. It neither completes what is typed from the list
// (a prefix of an earlier text is looked for as typed) nor adds to the list by itself: the
// dialog decides what goes there.
QComboBox* MakeHistoryBox(QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    box->setCompleter(nullptr);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMinimumWidth(box->fontMetrics().averageCharWidth() * kTextFieldChars);
    return box;
}

// `text` at the top of `history` and of `box`'s list, unless it is there already; the text
// being typed stays as it is.
void AddToHistory(std::vector<std::string>& history, QComboBox* box, const std::string& text)
{
    if (text.empty() || std::find(history.begin(), history.end(), text) != history.end())
        return;
    history.insert(history.begin(), text);
    const QString typed = box->currentText();
    box->insertItem(0, FromAnsi(text));
    box->setEditText(typed);
}

// `box` lists `history` and shows `text`.
void FillFromHistory(
    QComboBox* box, const std::vector<std::string>& history, const std::string& text)
{
    box->clear();
    for (const std::string& item : history)
        box->addItem(FromAnsi(item));
    box->setEditText(FromAnsi(text));
}

} // namespace

CSearchDialog::CSearchDialog(SearchTarget& target, QWidget* parent)
    : QDialog(parent)
    , m_target(target)
{
    setObjectName(QStringLiteral("IDD_SEARCH"));
    // Texts are set at every opening (LoadTexts); here the controls only learn their ids.
    auto texted = [this](auto* control, int id, const char* name) {
        control->setObjectName(QString::fromLatin1(name));
        m_texts.emplace_back(control, id);
        return control;
    };
    auto label = [this, &texted](int id, const char* name) {
        return texted(new QLabel(this), id, name);
    };
    auto button = [this, &texted](int id, const char* name) {
        return texted(new QPushButton(this), id, name);
    };

    QLabel* tableLabel = label(IDC_SEARCH_TABLE_LABEL, "IDC_SEARCH_TABLE_LABEL");
    m_tableName = new QLabel(this);
    m_tableName->setObjectName(QStringLiteral("IDC_SEARCH_TABLE_NAME"));
    m_tableName->setTextFormat(Qt::PlainText);
    QLabel* findLabel = label(IDC_FIND_TEXT_LABEL, "IDC_FIND_TEXT_LABEL");
    m_find = MakeHistoryBox(this);
    m_find->setObjectName(QStringLiteral("IDC_FIND_TEXT"));
    findLabel->setBuddy(m_find);
    m_replaceLabel = label(IDC_REPLACE_LABEL, "IDC_REPLACE_LABEL");
    m_replace = MakeHistoryBox(this);
    m_replace->setObjectName(QStringLiteral("IDC_REPLACE_TEXT"));
    m_replaceLabel->setBuddy(m_replace);
    QLabel* columnLabel = label(IDC_SEARCH_COLUMN_LABEL, "IDC_SEARCH_COLUMN_LABEL");
    m_column = new QComboBox(this);
    m_column->setObjectName(QStringLiteral("IDC_SEARCH_COLUMN"));
    columnLabel->setBuddy(m_column);

    m_caseSensitive
        = texted(new QCheckBox(this), IDC_SEARCH_CASE_SENSITIVE, "IDC_SEARCH_CASE_SENSITIVE");
    m_wholeWord = texted(new QCheckBox(this), IDC_WHOLE_WORD, "IDC_WHOLE_WORD");

    auto* directionBox
        = texted(new QGroupBox(this), IDC_SEARCH_DIRECTION_GROUP, "IDC_SEARCH_DIRECTION_GROUP");
    auto* directionLayout = new QVBoxLayout(directionBox);
    m_direction = new QButtonGroup(this);
    const struct
    {
        int id;
        const char* name;
        int direction;
    } radios[] = {
        { IDC_SEARCH_FORWARD, "IDC_SEARCH_FORWARD", kForward },
        { IDC_SEARCH_BACKWARD, "IDC_SEARCH_BACKWARD", kBackward },
        { IDC_SEARCH_ENTIRE_SCOPE, "IDC_SEARCH_ENTIRE_SCOPE", kEntireScope },
    };
    for (const auto& radio : radios) {
        auto* made = texted(new QRadioButton(directionBox), radio.id, radio.name);
        m_direction->addButton(made, radio.direction);
        directionLayout->addWidget(made);
    }
    m_direction->button(kEntireScope)->setChecked(true);

    m_findNext = button(IDOK, "IDOK");
    m_findNext->setDefault(true);
    m_replaceButton = button(IDC_REPLACE, "IDC_REPLACE");
    m_replaceAll = button(IDC_REPLACE_ALL, "IDC_REPLACE_ALL");
    QPushButton* close = button(IDCANCEL, "IDCANCEL");

    auto* fields = new QGridLayout;
    fields->addWidget(tableLabel, 0, 0);
    fields->addWidget(m_tableName, 0, 1);
    fields->addWidget(findLabel, 1, 0);
    fields->addWidget(m_find, 1, 1);
    fields->addWidget(m_replaceLabel, 2, 0);
    fields->addWidget(m_replace, 2, 1);
    fields->addWidget(columnLabel, 3, 0);
    fields->addWidget(m_column, 3, 1);
    fields->setColumnStretch(1, 1);
    auto* checks = new QVBoxLayout;
    checks->addWidget(m_caseSensitive);
    checks->addWidget(m_wholeWord);
    checks->addStretch();
    auto* options = new QHBoxLayout;
    options->addLayout(checks, 1);
    options->addWidget(directionBox);
    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    left->addLayout(options);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_findNext);
    buttons->addWidget(m_replaceButton);
    buttons->addWidget(m_replaceAll);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);
    // The dialog takes the size of what it shows: smaller without the replace controls.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_find, &QComboBox::editTextChanged, this, &CSearchDialog::UpdateButtons);
    connect(m_replace, &QComboBox::editTextChanged, this, &CSearchDialog::UpdateButtons);
    connect(m_direction, &QButtonGroup::idClicked, this,
        [this](int direction) { m_lastClickedDirection = direction; });
    connect(m_findNext, &QPushButton::clicked, this, [this] {
        RememberTexts();
        FindNext();
    });
    connect(m_replaceButton, &QPushButton::clicked, this, &CSearchDialog::Replace);
    connect(m_replaceAll, &QPushButton::clicked, this, &CSearchDialog::ReplaceAll);
    connect(close, &QPushButton::clicked, this, &CSearchDialog::reject);

    LoadTexts();
    SetReplaceMode(false);
}

void CSearchDialog::Prepare(
    bool replaceMode, const std::string& tableName, const std::vector<std::string>& columnTitles)
{
    LoadTexts();
    m_tableName->setText(FromAnsi(tableName));
    AddToHistory(m_findHistory, m_find, m_findText);
    AddToHistory(m_replaceHistory, m_replace, m_replaceText);
    FillFromHistory(m_find, m_findHistory, m_findText);
    FillFromHistory(m_replace, m_replaceHistory, m_replaceText);

    m_columnTitles = columnTitles;
    m_column->clear();
    m_column->addItem(FromAnsi(LoadString(IDS_ALL_COLUMNS)));
    int chosen = 0;
    for (std::size_t i = 0; i < m_columnTitles.size(); ++i) {
        m_column->addItem(FromAnsi(m_columnTitles[i]));
        if (!m_columnTitle.empty() && m_columnTitles[i] == m_columnTitle && chosen == 0)
            chosen = static_cast<int>(i) + 1;
    }
    m_column->setCurrentIndex(chosen);

    m_lastFindText.clear();
    m_lastClickedDirection = -1;
    SetReplaceMode(replaceMode);
    m_find->setFocus();
}

// The text looked for last is selected, so typing replaces it.
void CSearchDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_find->lineEdit()->selectAll();
}

// From the resources in use now: the language may have changed since the last opening.
void CSearchDialog::LoadTexts()
{
    const std::optional<platform::DialogResource> dialog = platform::LoadDialog(IDD_SEARCH);
    m_caption = dialog ? FromAnsi(dialog->caption) : QString();
    for (const auto& [control, id] : m_texts) {
        const std::string* found = dialog ? dialog->ControlText(id) : nullptr;
        const QString text = found ? FromAnsi(*found) : QString();
        if (auto* label = qobject_cast<QLabel*>(control))
            label->setText(text);
        else if (auto* button = qobject_cast<QAbstractButton*>(control))
            button->setText(text);
        else if (auto* group = qobject_cast<QGroupBox*>(control))
            group->setTitle(text);
    }
}

void CSearchDialog::reject()
{
    RememberTexts();
    QDialog::reject();
}

void CSearchDialog::FindNext()
{
    const SearchRequest request = Request();
    if (request.findText.empty())
        return;
    const int chosen = m_direction->checkedId();
    // The first search of a text over the entire scope starts at the top; the same text
    // again goes on from the cell found, unless the user asked for the entire scope anew.
    const bool again = chosen == kEntireScope && request.findText == m_lastFindText
        && m_lastClickedDirection != kEntireScope;
    (void)m_target.Find(request, again ? kForward : chosen, true);
    m_lastFindText = request.findText;
}

void CSearchDialog::Replace()
{
    RememberTexts();
    if (!m_replaceMode) {
        SetReplaceMode(true);
        m_replace->setFocus();
        return;
    }
    if (FindText().empty() || ReplaceText().empty())
        return;
    (void)m_target.ReplaceInCurrentCell(FindText(), ReplaceText(), m_caseSensitive->isChecked());
    FindNext();
}

void CSearchDialog::ReplaceAll()
{
    RememberTexts();
    if (!m_replaceMode || FindText().empty() || ReplaceText().empty())
        return;
    const int count = m_target.ReplaceAll(Request(), ReplaceText());
    platform::AskUser(platform::FormatText(LoadString(IDS_SEARCH_COMPLETE), { count }),
        platform::PromptButtons::kOk, platform::PromptIcon::kInformation);
}

void CSearchDialog::SetReplaceMode(bool replaceMode)
{
    m_replaceMode = replaceMode;
    setWindowTitle(replaceMode ? FromAnsi(LoadString(IDS_REPLACE_CAPTION)) : m_caption);
    m_replaceButton->setText(
        FromAnsi(LoadString(replaceMode ? IDS_REPLACE_BUTTON : IDS_REPLACE_OPENS_REPLACE)));
    m_replaceLabel->setVisible(replaceMode);
    m_replace->setVisible(replaceMode);
    m_replaceAll->setVisible(replaceMode);
    UpdateButtons();
}

void CSearchDialog::UpdateButtons()
{
    const bool find = !m_find->currentText().isEmpty();
    const bool replace = !m_replace->currentText().isEmpty();
    m_findNext->setEnabled(find);
    m_replaceButton->setEnabled(!m_replaceMode || (find && replace));
    m_replaceAll->setEnabled(m_replaceMode && find && replace);
}

void CSearchDialog::RememberTexts()
{
    m_findText = FindText();
    m_replaceText = ReplaceText();
    m_columnTitle = Request().columnTitle;
    AddToHistory(m_findHistory, m_find, m_findText);
    AddToHistory(m_replaceHistory, m_replace, m_replaceText);
}

SearchRequest CSearchDialog::Request() const
{
    SearchRequest request;
    request.findText = FindText();
    const int column = m_column->currentIndex();
    if (column > 0 && column <= static_cast<int>(m_columnTitles.size()))
        request.columnTitle = m_columnTitles[static_cast<std::size_t>(column - 1)];
    request.caseSensitive = m_caseSensitive->isChecked();
    request.wholeWord = m_wholeWord->isChecked();
    return request;
}

std::string CSearchDialog::FindText() const
{
    return ToAnsi(m_find->currentText());
}

std::string CSearchDialog::ReplaceText() const
{
    return ToAnsi(m_replace->currentText());
}

} // namespace shell
