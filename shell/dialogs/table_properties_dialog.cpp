#include "shell/dialogs/table_properties_dialog.h"

#include "platform/file_system.h"
#include "platform/format_text.h"
#include "platform/prompt.h"
#include "platform/qt/ansi_string.h"
#include "platform/resource_source.h"
#include "platform/utf8.h"
#include "resources/resource_ids.h"
#include "shell/dialogs/dialog_texts.h"
#include "shell/dialogs/field_list_text.h"
#include "table/table.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace shell {
namespace {

using platform::qt::FromAnsi;

constexpr int kListFontPoints = 9;
constexpr int kListLineCharacters = 44;
constexpr int kListLines = 10;

} // namespace

CTablePropertiesDialog::CTablePropertiesDialog(
    const TableFileStatus& status, const table::CTable& table, QWidget* parent)
    : QDialog(parent)
    , m_listFont(QStringLiteral("Courier New"), kListFontPoints)
{
    setObjectName(QStringLiteral("IDD_TABLE_PROPERTIES"));
    const DialogTexts texts(IDD_TABLE_PROPERTIES);
    setWindowTitle(texts.Caption());
    // Where Courier New is not installed, another fixed-pitch face keeps the columns.
    m_listFont.setStyleHint(QFont::TypeWriter);
    m_listFont.setFixedPitch(true);

    auto* values = new QGridLayout;
    auto addValue = [this, &texts, values](int labelId, const char* labelName,
                        const char* valueName, const QString& text) {
        auto* label = new QLabel(texts.Control(labelId), this);
        label->setObjectName(QString::fromLatin1(labelName));
        auto* value = new QLabel(text, this);
        value->setObjectName(QString::fromLatin1(valueName));
        value->setTextFormat(Qt::PlainText);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        const int row = values->rowCount();
        values->addWidget(label, row, 0);
        values->addWidget(value, row, 1);
    };
    auto number = [](long long n) { return QString::number(n); };
    addValue(IDC_PROPERTIES_FILE_LABEL, "IDC_PROPERTIES_FILE_LABEL", "IDC_PROPERTIES_FILE",
        status.fullName);
    addValue(IDC_PROPERTIES_SIZE_LABEL, "IDC_PROPERTIES_SIZE_LABEL", "IDC_PROPERTIES_SIZE",
        FromAnsi(platform::FormatText(
            platform::LoadString(IDS_FILE_SIZE_BYTES), { static_cast<long long>(status.size) })));
    addValue(IDC_PROPERTIES_CREATED_LABEL, "IDC_PROPERTIES_CREATED_LABEL", "IDC_PROPERTIES_CREATED",
        TimeText(status.created));
    addValue(IDC_PROPERTIES_MODIFIED_LABEL, "IDC_PROPERTIES_MODIFIED_LABEL",
        "IDC_PROPERTIES_MODIFIED", TimeText(status.modified));
    addValue(IDC_PROPERTIES_RECORDS_LABEL, "IDC_PROPERTIES_RECORDS_LABEL", "IDC_PROPERTIES_RECORDS",
        number(table.RecordCount()));
    addValue(IDC_PROPERTIES_HEADER_SIZE_LABEL, "IDC_PROPERTIES_HEADER_SIZE_LABEL",
        "IDC_PROPERTIES_HEADER_SIZE", number(table.HeaderLength()));
    addValue(IDC_PROPERTIES_RECORD_SIZE_LABEL, "IDC_PROPERTIES_RECORD_SIZE_LABEL",
        "IDC_PROPERTIES_RECORD_SIZE", number(table.RecordLength()));
    addValue(IDC_PROPERTIES_FIELDS_LABEL, "IDC_PROPERTIES_FIELDS_LABEL", "IDC_PROPERTIES_FIELDS",
        number(table.FieldCount()));
    values->setColumnStretch(1, 1);

    auto* heading = new QLabel(FromAnsi(platform::LoadString(IDS_FIELD_LIST_HEADING)), this);
    heading->setObjectName(QStringLiteral("IDC_PROPERTIES_FIELD_HEADING"));
    heading->setTextFormat(Qt::PlainText);
    heading->setFont(m_listFont);
    auto* list = new QListWidget(this);
    list->setObjectName(QStringLiteral("IDC_PROPERTIES_FIELD_LIST"));
    list->setFont(m_listFont);
    for (int i = 0; i < table.FieldCount(); ++i) {
        list->addItem(FromAnsi(FieldListLine(i + 1, table.FieldName(i), table.FieldType(i),
            table.FieldLength(i), table.FieldDecimals(i))));
    }
    const QFontMetrics metrics(m_listFont);
    list->setMinimumSize(metrics.horizontalAdvance(QLatin1Char('W')) * kListLineCharacters,
        metrics.height() * kListLines);
    // The heading stands over the list's text, past the list's frame.
    heading->setContentsMargins(list->frameWidth() + 2, 0, 0, 0);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close = buttons->addButton(texts.Control(IDOK), QDialogButtonBox::AcceptRole);
    close->setObjectName(QStringLiteral("IDOK"));
    close->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(values);
    layout->addSpacing(metrics.height() / 2);
    layout->addWidget(heading);
    layout->addWidget(list, 1);
    layout->addWidget(buttons);
}

QString CTablePropertiesDialog::TimeText(const QDateTime& time)
{
    return time.isValid() ? QLocale::system().toString(time, QLocale::ShortFormat) : QString();
}

bool CTablePropertiesDialog::ReadStatus(
    platform::FileSystem& fs, const std::string& path, TableFileStatus* status, int* error)
{
    *error = 0;
    std::unique_ptr<platform::File> file = fs.Open(path, platform::OpenMode::kRead, error);
    if (!file)
        return false;
    if (!file->Size(&status->size)) {
        *error = file->LastError();
        return false;
    }
    const QFileInfo info(QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size())));
    status->fullName = info.absoluteFilePath();
    status->modified = info.lastModified();
    status->created = info.birthTime().isValid() ? info.birthTime() : info.metadataChangeTime();
    return true;
}

void CTablePropertiesDialog::Show(
    QWidget* parent, platform::FileSystem& fs, const std::string& path, const table::CTable& table)
{
    TableFileStatus status;
    int error = 0;
    if (!ReadStatus(fs, path, &status, &error)) {
        (void)platform::AskUser(
            platform::Utf8ToAnsi(path) + ": " + platform::SystemErrorText(error),
            platform::PromptButtons::kOk, platform::PromptIcon::kExclamation);
        return;
    }
    CTablePropertiesDialog dialog(status, table, parent);
    dialog.exec();
}

} // namespace shell
