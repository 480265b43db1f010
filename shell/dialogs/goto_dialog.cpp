#include "shell/dialogs/goto_dialog.h"

#include "resources/resource_ids.h"
#include "shell/dialogs/dialog_texts.h"
#include "shell/dialogs/up_down_ctrl.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace shell {
namespace {

// A remembered number put back into the range the window has now: its filter may show
// fewer rows than when the number was typed.
QString NumberInRange(long long number, long long count)
{
    if (count <= 0 || number <= 0)
        return {};
    return QString::number(std::min(number, count));
}

} // namespace

CGoToDialog::CGoToDialog(const GoToChoice& choice, long long rowCount, long long recordCount,
    QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("IDD_GOTO"));
    const DialogTexts texts(IDD_GOTO);
    setWindowTitle(texts.Caption());

    m_kinds = new QButtonGroup(this);
    auto addKind = [this, &texts](int id, const char* name, int kind) {
        auto* radio = new QRadioButton(texts.Control(id), this);
        radio->setObjectName(QString::fromLatin1(name));
        m_kinds->addButton(radio, kind);
        return radio;
    };
    QRadioButton* top = addKind(IDC_GOTO_TOP, "IDC_GOTO_TOP", GoToChoice::kTop);
    QRadioButton* bottom = addKind(IDC_GOTO_BOTTOM, "IDC_GOTO_BOTTOM", GoToChoice::kBottom);
    QRadioButton* row = addKind(IDC_GOTO_ROW, "IDC_GOTO_ROW", GoToChoice::kRow);
    QRadioButton* record = addKind(IDC_GOTO_RECORD, "IDC_GOTO_RECORD", GoToChoice::kRecord);

    auto addNumber = [this](const char* editName, const char* spinName, long long count,
                         long long number, CUpDownCtrl** spin) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(editName));
        *spin = new CUpDownCtrl(this);
        (*spin)->setObjectName(QString::fromLatin1(spinName));
        (*spin)->SetRange(1, std::max(count, 1LL));
        (*spin)->SetBuddy(edit, true);
        edit->setText(NumberInRange(number, count));
        return edit;
    };
    m_row = addNumber("IDC_GOTO_ROW_NUMBER", "IDC_GOTO_ROW_SPIN", rowCount, choice.row, &m_rowSpin);
    m_record = addNumber("IDC_GOTO_RECORD_NUMBER", "IDC_GOTO_RECORD_SPIN", recordCount,
        choice.record, &m_recordSpin);

    auto* grid = new QGridLayout;
    grid->addWidget(top, 0, 0);
    grid->addWidget(bottom, 1, 0);
    grid->addWidget(row, 2, 0);
    grid->addWidget(record, 3, 0);
    auto numberBox = [](QLineEdit* edit, CUpDownCtrl* spin) {
        auto* box = new QHBoxLayout;
        box->setSpacing(0);
        box->addWidget(edit);
        box->addWidget(spin);
        return box;
    };
    grid->addLayout(numberBox(m_row, m_rowSpin), 2, 1);
    grid->addLayout(numberBox(m_record, m_recordSpin), 3, 1);
    grid->setColumnMinimumWidth(1, 120);

    QDialogButtonBox* buttons = AddOkCancel(this, texts);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addWidget(buttons);

    connect(m_kinds, &QButtonGroup::idClicked, this, &CGoToDialog::OnKindChosen);
    const int kind = std::clamp(choice.kind, 0, 3);
    m_kinds->button(kind)->setChecked(true);
    OnKindChosen(kind);
}

void CGoToDialog::OnKindChosen(int kind)
{
    const bool rowKind = kind == GoToChoice::kRow;
    const bool recordKind = kind == GoToChoice::kRecord;
    m_row->setEnabled(rowKind);
    m_rowSpin->setEnabled(rowKind);
    m_record->setEnabled(recordKind);
    m_recordSpin->setEnabled(recordKind);
    if (rowKind || recordKind) {
        QLineEdit* edit = rowKind ? m_row : m_record;
        edit->setFocus();
        edit->selectAll();
    }
}

GoToChoice CGoToDialog::Choice() const
{
    return { m_kinds->checkedId(), NumberOfEdit(m_row), NumberOfEdit(m_record) };
}

long long CGoToDialog::Number() const
{
    switch (m_kinds->checkedId()) {
    case GoToChoice::kRow:
        return NumberOfEdit(m_row);
    case GoToChoice::kRecord:
        return NumberOfEdit(m_record);
    default:
        return 0;
    }
}

} // namespace shell
