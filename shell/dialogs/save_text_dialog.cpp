#include "shell/dialogs/save_text_dialog.h"

#include "platform/format_text.h"
#include "platform/prompt.h"
#include "platform/qt/ansi_string.h"
#include "platform/resource_source.h"
#include "resources/resource_ids.h"
#include "shell/dialogs/dialog_texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <iterator>

namespace shell {
namespace {

using platform::qt::FromAnsi;
using platform::qt::ToAnsi;

struct NamedSeparator
{
    int nameId;
    char separator;
};

constexpr NamedSeparator kSeparators[] = {
    { IDS_SEPARATOR_COMMA, ',' },
    { IDS_SEPARATOR_SEMICOLON, ';' },
    { IDS_SEPARATOR_TAB, '\t' },
    { IDS_SEPARATOR_SPACE, ' ' },
};
constexpr int kSampleFields = 4;

// The named entry of a separator; -1 for any other text.
int NamedIndexOf(const std::string& separator)
{
    if (separator.size() != 1)
        return -1;
    for (int i = 0; i < static_cast<int>(std::size(kSeparators)); ++i) {
        if (kSeparators[i].separator == separator[0])
            return i;
    }
    return -1;
}

QLabel* Label(QWidget* parent, const DialogTexts& texts, int id, const char* name)
{
    auto* label = new QLabel(texts.Control(id), parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QLineEdit* Edit(QWidget* parent, const char* name, const std::string& text)
{
    auto* edit = new QLineEdit(FromAnsi(text), parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

} // namespace

CSaveTextDialog::CSaveTextDialog(
    const std::string& path, const tablegrid::TextExportFormat& format, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("IDD_SAVE_TEXT"));
    const DialogTexts texts(IDD_SAVE_TEXT);
    setWindowTitle(texts.Caption());

    QLabel* intro = Label(this, texts, IDC_SAVE_TEXT_INTRO, "IDC_SAVE_TEXT_INTRO");
    auto* pathText = new QLabel(this);
    pathText->setObjectName(QStringLiteral("IDC_SAVE_TEXT_PATH"));
    pathText->setTextFormat(Qt::PlainText);
    pathText->setText(FromAnsi(path));
    pathText->setWordWrap(true);

    m_left = Edit(this, "IDC_LEFT_DELIMITER", format.leftDelimiter);
    m_right = Edit(this, "IDC_RIGHT_DELIMITER", format.rightDelimiter);
    m_separators = new QComboBox(this);
    m_separators->setObjectName(QStringLiteral("IDC_SEPARATOR"));
    for (const NamedSeparator& named : kSeparators)
        m_separators->addItem(ResourceText(named.nameId));
    m_other = new QCheckBox(texts.Control(IDC_OTHER_SEPARATOR_CHECK), this);
    m_other->setObjectName(QStringLiteral("IDC_OTHER_SEPARATOR_CHECK"));
    m_otherText = Edit(this, "IDC_OTHER_SEPARATOR", {});

    const int named = NamedIndexOf(format.separator);
    m_separators->setCurrentIndex(named < 0 ? 0 : named);
    m_other->setChecked(named < 0);
    if (named < 0)
        m_otherText->setText(FromAnsi(format.separator));

    auto* fields = new QGridLayout;
    auto addRow
        = [this, &texts, fields](int row, int labelId, const char* labelName, QWidget* field) {
              QLabel* label = Label(this, texts, labelId, labelName);
              label->setBuddy(field);
              fields->addWidget(label, row, 0);
              fields->addWidget(field, row, 1);
          };
    addRow(0, IDC_LEFT_DELIMITER_LABEL, "IDC_LEFT_DELIMITER_LABEL", m_left);
    addRow(1, IDC_RIGHT_DELIMITER_LABEL, "IDC_RIGHT_DELIMITER_LABEL", m_right);
    addRow(2, IDC_SEPARATOR_LABEL, "IDC_SEPARATOR_LABEL", m_separators);
    fields->addWidget(m_other, 3, 0);
    fields->addWidget(m_otherText, 3, 1);

    auto* sampleGroup = new QGroupBox(texts.Control(IDC_SAMPLE_LABEL), this);
    sampleGroup->setObjectName(QStringLiteral("IDC_SAMPLE_LABEL"));
    m_sample = new QLabel(sampleGroup);
    m_sample->setObjectName(QStringLiteral("IDC_SAMPLE"));
    m_sample->setTextFormat(Qt::PlainText);
    auto* sampleBox = new QVBoxLayout(sampleGroup);
    sampleBox->addWidget(m_sample);

    QDialogButtonBox* buttons = AddOkCancel(this, texts);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSaveTextDialog::OnOk);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* left = new QVBoxLayout;
    left->addWidget(intro);
    left->addWidget(pathText);
    left->addLayout(fields);
    left->addWidget(sampleGroup);
    left->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addWidget(buttons);
    setMinimumWidth(fontMetrics().averageCharWidth() * 60);

    for (QLineEdit* edit : { m_left, m_right, m_otherText })
        connect(edit, &QLineEdit::textChanged, this, &CSaveTextDialog::UpdateControls);
    connect(m_separators, &QComboBox::currentIndexChanged, this, &CSaveTextDialog::UpdateControls);
    connect(m_other, &QCheckBox::toggled, this, &CSaveTextDialog::UpdateControls);
    UpdateControls();
}

tablegrid::TextExportFormat CSaveTextDialog::Format() const
{
    tablegrid::TextExportFormat format;
    format.leftDelimiter = ToAnsi(m_left->text());
    format.rightDelimiter = ToAnsi(m_right->text());
    const int index = m_separators->currentIndex();
    if (m_other->isChecked())
        format.separator = ToAnsi(m_otherText->text());
    else if (index >= 0)
        format.separator = std::string(1, kSeparators[index].separator);
    else
        format.separator.clear();
    return format;
}

// The sample line and which of the two ways to name the separator is in use.
void CSaveTextDialog::UpdateControls()
{
    const bool other = m_other->isChecked();
    m_separators->setEnabled(!other);
    m_otherText->setEnabled(other);
    const tablegrid::TextExportFormat format = Format();
    const std::string fieldForm = platform::LoadString(IDS_SAMPLE_FIELD);
    std::string sample;
    for (int i = 1; i <= kSampleFields; ++i) {
        if (i > 1)
            sample += format.separator;
        sample += format.leftDelimiter;
        sample += platform::FormatText(fieldForm, { i });
        sample += format.rightDelimiter;
    }
    m_sample->setText(FromAnsi(sample));
}

void CSaveTextDialog::OnOk()
{
    const tablegrid::TextExportFormat format = Format();
    const bool someEmpty
        = format.leftDelimiter.empty() || format.rightDelimiter.empty() || format.separator.empty();
    if (someEmpty
        && platform::AskUser(platform::LoadString(IDS_EMPTY_PARAMETERS),
               platform::PromptButtons::kYesNo, platform::PromptIcon::kQuestion)
            != platform::IDYES)
        return;
    accept();
}

bool CSaveTextDialog::Ask(
    QWidget* parent, const std::string& path, tablegrid::TextExportFormat* format)
{
    CSaveTextDialog dialog(path, *format, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    *format = dialog.Format();
    return true;
}

} // namespace shell
