#include "shell/dialogs/select_language_dialog.h"

#include "platform/qt/ansi_string.h"
#include "resources/resource_ids.h"
#include "shell/dialogs/dialog_texts.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>

namespace shell {

namespace {

constexpr int kDateFormatNames[] = { IDS_DATE_FORMAT_YYYYMMDD, IDS_DATE_FORMAT_MMDDYY,
    IDS_DATE_FORMAT_MMDDYYYY, IDS_DATE_FORMAT_DDMMYY, IDS_DATE_FORMAT_DDMMYYYY };

} // namespace

CSelectLanguageDialog::CSelectLanguageDialog(const std::vector<std::string>& languages,
    const std::string& current, table::DateFormat currentFormat, QWidget* parent)
    : QDialog(parent)
    , m_current(current)
    , m_currentFormat(currentFormat)
{
    setObjectName(QStringLiteral("IDD_SELECT_LANGUAGE"));
    const DialogTexts texts(IDD_SELECT_LANGUAGE);
    setWindowTitle(texts.Caption());

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("IDC_LANGUAGE_LIST"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSortingEnabled(true);
    for (const std::string& name : languages)
        m_list->addItem(platform::qt::FromAnsi(name));
    // Sorted by text, so the current language is found by its name, not its place.
    const QList<QListWidgetItem*> found
        = m_list->findItems(platform::qt::FromAnsi(current), Qt::MatchExactly);
    if (!found.isEmpty())
        m_list->setCurrentItem(found.front());
    auto* listLabel = new QLabel(texts.Control(IDC_LANGUAGE_LIST_LABEL), this);
    listLabel->setObjectName(QStringLiteral("IDC_LANGUAGE_LIST_LABEL"));
    listLabel->setBuddy(m_list);

    m_dateFormat = new QComboBox(this);
    m_dateFormat->setObjectName(QStringLiteral("IDC_DATE_FORMAT"));
    for (const int id : kDateFormatNames)
        m_dateFormat->addItem(ResourceText(id));
    m_dateFormat->setCurrentIndex(static_cast<int>(currentFormat));
    auto* formatLabel = new QLabel(texts.Control(IDC_DATE_FORMAT_LABEL), this);
    formatLabel->setObjectName(QStringLiteral("IDC_DATE_FORMAT_LABEL"));
    formatLabel->setBuddy(m_dateFormat);

    QDialogButtonBox* buttons = AddOkCancel(this, texts);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* fields = new QGridLayout;
    fields->addWidget(listLabel, 0, 0, 1, 2);
    fields->addWidget(m_list, 1, 0, 1, 2);
    fields->addWidget(formatLabel, 2, 0);
    fields->addWidget(m_dateFormat, 2, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addWidget(buttons);
    m_list->setMinimumWidth(m_list->fontMetrics().horizontalAdvance(QStringLiteral("W")) * 16);
    m_list->setMaximumHeight(m_list->sizeHintForRow(0) * 6);
}

std::string CSelectLanguageDialog::ChosenLanguage() const
{
    const QListWidgetItem* item = m_list->currentItem();
    return item && item->isSelected() ? platform::qt::ToAnsi(item->text()) : m_current;
}

table::DateFormat CSelectLanguageDialog::ChosenDateFormat() const
{
    return table::DateFormatFromNumber(m_dateFormat->currentIndex()).value_or(m_currentFormat);
}

} // namespace shell
