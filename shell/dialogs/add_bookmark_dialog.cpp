#include "shell/dialogs/add_bookmark_dialog.h"

#include "platform/format_text.h"
#include "platform/qt/ansi_string.h"
#include "platform/resource_source.h"
#include "resources/resource_ids.h"
#include "shell/dialogs/dialog_texts.h"
#include "shell/dialogs/up_down_ctrl.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace shell {
namespace {

using platform::FormatText;
using platform::LoadString;
using platform::qt::FromAnsi;
using platform::qt::ToAnsi;

} // namespace

CAddBookmarkDialog::CAddBookmarkDialog(AddBookmarkSetup setup, QWidget* parent)
    : QDialog(parent)
    , m_setup(std::move(setup))
{
    setObjectName(QStringLiteral("IDD_ADD_BOOKMARK"));
    const DialogTexts texts(IDD_ADD_BOOKMARK);
    setWindowTitle(texts.Caption());

    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("IDC_BOOKMARK_NAME"));
    m_record = new QLineEdit(this);
    m_record->setObjectName(QStringLiteral("IDC_BOOKMARK_RECORD"));
    m_recordSpin = new CUpDownCtrl(this);
    m_recordSpin->setObjectName(QStringLiteral("IDC_BOOKMARK_RECORD_SPIN"));
    m_recordSpin->SetRange(1, m_setup.recordCount);
    // Any number can be typed: one out of range is explained on the message line.
    m_recordSpin->SetBuddy(m_record, false);
    m_field = new QComboBox(this);
    m_field->setObjectName(QStringLiteral("IDC_BOOKMARK_FIELD"));
    for (const std::string& field : m_setup.fieldNames)
        m_field->addItem(FromAnsi(field));
    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("IDC_BOOKMARK_MESSAGE"));
    m_message->setWordWrap(true);
    m_message->setTextFormat(Qt::PlainText);
    m_message->setMinimumHeight(m_message->fontMetrics().height() * 2);

    auto* form = new QGridLayout;
    auto addRow = [this, form, &texts](int row, int labelId, const char* labelName, QWidget* field,
                      QWidget* spin) {
        auto* label = new QLabel(texts.Control(labelId), this);
        label->setObjectName(QString::fromLatin1(labelName));
        label->setBuddy(field);
        form->addWidget(label, row, 0);
        if (spin) {
            auto* box = new QHBoxLayout;
            box->setSpacing(0);
            box->addWidget(field);
            box->addWidget(spin);
            form->addLayout(box, row, 1);
        } else {
            form->addWidget(field, row, 1);
        }
    };
    addRow(0, IDC_BOOKMARK_NAME_LABEL, "IDC_BOOKMARK_NAME_LABEL", m_name, nullptr);
    addRow(1, IDC_BOOKMARK_RECORD_LABEL, "IDC_BOOKMARK_RECORD_LABEL", m_record, m_recordSpin);
    addRow(2, IDC_BOOKMARK_FIELD_LABEL, "IDC_BOOKMARK_FIELD_LABEL", m_field, nullptr);
    form->setColumnStretch(1, 1);

    auto* buttons = new QDialogButtonBox(this);
    m_okText = texts.Control(IDOK);
    m_cancelText = texts.Control(IDCANCEL);
    m_ok = buttons->addButton(m_okText, QDialogButtonBox::AcceptRole);
    m_ok->setObjectName(QStringLiteral("IDOK"));
    m_ok->setDefault(true);
    m_cancel = buttons->addButton(m_cancelText, QDialogButtonBox::RejectRole);
    m_cancel->setObjectName(QStringLiteral("IDCANCEL"));
    m_cancel->setAutoDefault(false);
    connect(m_ok, &QPushButton::clicked, this, &CAddBookmarkDialog::OnOk);
    connect(m_cancel, &QPushButton::clicked, this, &CAddBookmarkDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_message);
    layout->addWidget(buttons);
    setMinimumWidth(440);

    const long long record = m_setup.record >= 1 && m_setup.record <= m_setup.recordCount
        ? m_setup.record
        : 1;
    m_record->setText(QString::number(record));
    if (m_setup.field >= 0 && m_setup.field < m_field->count())
        m_field->setCurrentIndex(m_setup.field);
    FollowRecordAndField();
    UpdateState();

    connect(m_name, &QLineEdit::textEdited, this, &CAddBookmarkDialog::OnNameEdited);
    auto followed = [this] {
        StopAsking();
        FollowRecordAndField();
        UpdateState();
    };
    connect(m_record, &QLineEdit::textChanged, this, followed);
    connect(m_field, &QComboBox::currentIndexChanged, this, followed);
}

int CAddBookmarkDialog::exec()
{
    if (m_setup.recordCount <= 0 || m_setup.fieldNames.empty()) {
        setResult(Rejected);
        return Rejected;
    }
    return QDialog::exec();
}

std::string CAddBookmarkDialog::Name() const
{
    return ToAnsi(m_name->text());
}

long long CAddBookmarkDialog::Record() const
{
    return NumberOfEdit(m_record);
}

std::string CAddBookmarkDialog::Field() const
{
    return ToAnsi(m_field->currentText());
}

void CAddBookmarkDialog::FollowRecordAndField()
{
    if (m_nameEdited)
        return;
    m_name->setText(FromAnsi(FormatText(
        "%s_%d_%s", { LoadString(IDS_BOOKMARK_NAME_PREFIX), Record(), Field() })));
}

void CAddBookmarkDialog::OnNameEdited()
{
    m_nameEdited = true;
    StopAsking();
    UpdateState();
}

void CAddBookmarkDialog::UpdateState()
{
    const long long record = Record();
    std::string message;
    bool acceptable = false;
    if (m_name->text().isEmpty()) {
        message = LoadString(IDS_BOOKMARK_NAME_EMPTY);
    } else if (record < 1 || record > m_setup.recordCount) {
        message = FormatText(LoadString(IDS_BOOKMARK_RECORD_RANGE), { 1, m_setup.recordCount });
    } else {
        message = LoadString(IDS_BOOKMARK_HINT);
        acceptable = true;
    }
    m_message->setText(FromAnsi(message));
    m_ok->setEnabled(acceptable);
}

void CAddBookmarkDialog::OnOk()
{
    if (!m_ok->isEnabled())
        return;
    if (!m_asking && m_setup.exists && m_setup.exists(Name())) {
        m_asking = true;
        m_message->setText(FromAnsi(LoadString(IDS_BOOKMARK_OVERWRITE)));
        m_ok->setText(FromAnsi(LoadString(IDS_YES_BUTTON)));
        m_cancel->setText(FromAnsi(LoadString(IDS_NO_BUTTON)));
        return;
    }
    accept();
}

void CAddBookmarkDialog::reject()
{
    // "No" to the overwrite question, by the button or Escape, goes back to editing.
    if (m_asking) {
        StopAsking();
        return;
    }
    QDialog::reject();
}

void CAddBookmarkDialog::StopAsking()
{
    if (!m_asking)
        return;
    m_asking = false;
    m_ok->setText(m_okText);
    m_cancel->setText(m_cancelText);
    UpdateState();
}

} // namespace shell
