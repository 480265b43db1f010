#include "shell/dialogs/database_dialog.h"

#include "platform/file_system.h"
#include "platform/format_text.h"
#include "platform/prompt.h"
#include "platform/qt/ansi_string.h"
#include "platform/resource_source.h"
#include "resources/resource_ids.h"
#include "schema/schema_editing.h"
#include "schema/schema_problem.h"
#include "shell/dialogs/dialog_texts.h"
#include "shell/dialogs/schema_table_dialog.h"
#include "table/table_database.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace shell {
namespace {

using platform::qt::FromAnsi;
using platform::qt::ToAnsi;

enum Column { kTable = 0, kDescription = 1 };

} // namespace

std::string SchemaTestText(const table::TableDatabase& database)
{
    const std::optional<schema::SchemaProblem> problem = database.TestSchema();
    if (!problem)
        return platform::LoadString(IDS_SCHEMA_NO_ERRORS);
    int id = IDS_SCHEMA_ABSENT_TABLE;
    if (problem->kind == schema::SchemaProblemKind::kReferencedWithoutKey)
        id = IDS_SCHEMA_REFERENCED_WITHOUT_KEY;
    else if (problem->kind == schema::SchemaProblemKind::kReferencedWithoutName)
        id = IDS_SCHEMA_REFERENCED_WITHOUT_NAME;
    return schema::FormatSchemaProblem(*problem, platform::LoadString(id));
}

CDatabaseDialog::CDatabaseDialog(table::TableDatabase& database, QWidget* parent)
    : QDialog(parent)
    , m_database(database)
{
    setObjectName(QStringLiteral("IDD_DATABASE"));
    const DialogTexts texts(IDD_DATABASE);
    setWindowTitle(texts.Caption() + QLatin1Char(' ')
        + QString::fromUtf8(
            database.Directory().data(), static_cast<qsizetype>(database.Directory().size())));

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("IDC_SCHEMA_TABLE_LIST"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setSortingEnabled(false);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setColumnCount(2);
    m_list->setHeaderLabels(
        { ResourceText(IDS_DATABASE_TABLE_COLUMN), ResourceText(IDS_DATABASE_DESCRIPTION_COLUMN) });
    m_list->header()->setStretchLastSection(true);
    m_list->header()->setSectionsMovable(false);
    const QFontMetrics metrics(m_list->font());
    const int padding = metrics.averageCharWidth() * 2;
    const int tableWidth = metrics.horizontalAdvance(QStringLiteral("1SBCONST.DBF")) + padding;
    const int descriptionWidth
        = metrics.horizontalAdvance(QStringLiteral("A description of the table, long enough"))
        + padding;
    m_list->setColumnWidth(kTable, tableWidth);
    m_list->setColumnWidth(kDescription, descriptionWidth);
    m_list->setMinimumWidth(tableWidth + descriptionWidth + m_list->frameWidth() * 2 + 20);
    m_list->setMinimumHeight(metrics.height() * 14);

    auto button = [this, &texts](int id, const char* name) {
        auto* pushButton = new QPushButton(texts.Control(id), this);
        pushButton->setObjectName(QString::fromLatin1(name));
        pushButton->setAutoDefault(false);
        return pushButton;
    };
    QPushButton* close = button(IDOK, "IDOK");
    close->setDefault(true);
    QPushButton* add = button(IDC_SCHEMA_ADD, "IDC_SCHEMA_ADD");
    QPushButton* remove = button(IDC_SCHEMA_REMOVE, "IDC_SCHEMA_REMOVE");
    QPushButton* properties = button(IDC_SCHEMA_PROPERTIES, "IDC_SCHEMA_PROPERTIES");
    QPushButton* test = button(IDC_SCHEMA_TEST, "IDC_SCHEMA_TEST");
    QPushButton* help = button(ID_HELP, "ID_HELP");

    auto* side = new QVBoxLayout;
    side->addWidget(close);
    side->addSpacing(metrics.height());
    side->addWidget(add);
    side->addWidget(remove);
    side->addWidget(properties);
    side->addSpacing(metrics.height());
    side->addWidget(test);
    side->addStretch();
    side->addWidget(help);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(side);

    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(add, &QPushButton::clicked, this, &CDatabaseDialog::Add);
    connect(remove, &QPushButton::clicked, this, &CDatabaseDialog::Remove);
    connect(properties, &QPushButton::clicked, this, &CDatabaseDialog::Properties);
    connect(test, &QPushButton::clicked, this, &CDatabaseDialog::Test);
    connect(help, &QPushButton::clicked, this, [this] {
        if (m_helpAction)
            m_helpAction();
    });
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this] { Properties(); });
    Refill();
}

void CDatabaseDialog::Refill(const std::string& current)
{
    m_list->clear();
    for (const auto& [key, entry] : m_database.Tables()) {
        auto* item = new QTreeWidgetItem(m_list);
        item->setText(kTable, FromAnsi(key));
        item->setText(kDescription, FromAnsi(entry.description));
        if (key == current)
            m_list->setCurrentItem(item);
    }
}

std::string CDatabaseDialog::SelectedKey() const
{
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? std::string() : ToAnsi(selected.front()->text(kTable));
}

void CDatabaseDialog::Add()
{
    if (!m_chooser)
        return;
    for (const std::string& path : m_chooser(this)) {
        if (m_database.FileSystem().Exists(path))
            (void)schema::AddSchemaTableFile(m_database, path);
    }
    Refill(SelectedKey());
}

void CDatabaseDialog::Remove()
{
    const std::string key = SelectedKey();
    if (key.empty())
        return;
    const std::string question
        = platform::FormatText(platform::LoadString(IDS_REMOVE_SCHEMA_TABLE), { key });
    if (platform::AskUser(
            question, platform::PromptButtons::kYesNo, platform::PromptIcon::kQuestion)
        != platform::IDYES)
        return;
    (void)m_database.RemoveTable(key);
    Refill();
}

void CDatabaseDialog::Properties()
{
    const std::string key = SelectedKey();
    if (key.empty() || !m_database.FindTable(key))
        return;
    CSchemaTableDialog dialog(m_database, key, this);
    dialog.SetHelpAction(m_helpAction);
    dialog.exec();
    Refill(key); // the description may have changed
}

void CDatabaseDialog::Test()
{
    (void)platform::AskUser(
        SchemaTestText(m_database), platform::PromptButtons::kOk, platform::PromptIcon::kNone);
}

} // namespace shell
