#include "shell/dialogs/bookmarks_dialog.h"

#include "platform/code_page.h"
#include "platform/qt/ansi_string.h"
#include "platform/resource_source.h"
#include "resources/resource_ids.h"
#include "shell/dialogs/dialog_texts.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace shell {
namespace {

using platform::LoadString;
using platform::qt::FromAnsi;

constexpr int kNameWidth = 160;
constexpr int kRecordWidth = 60;
constexpr int kFieldWidth = 90;

bool BytesBefore(const std::string& a, const std::string& b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
        [](char x, char y) { return static_cast<unsigned char>(x) < static_cast<unsigned char>(y); });
}

// Names in the order a reader expects: letter case aside (Cyrillic included), then byte
// for byte, so that names differing only in case keep a fixed order.
bool NameBefore(const BookmarkLine& a, const BookmarkLine& b)
{
    std::string upperA = a.name;
    std::string upperB = b.name;
    platform::ToUpper1251(upperA);
    platform::ToUpper1251(upperB);
    if (upperA != upperB)
        return BytesBefore(upperA, upperB);
    return BytesBefore(a.name, b.name);
}

QByteArray NameBytes(const std::string& name)
{
    return QByteArray(name.data(), static_cast<qsizetype>(name.size()));
}

} // namespace

CBookmarksDialog::CBookmarksDialog(BookmarkWindows& windows, QWidget* parent)
    : QDialog(parent)
    , m_windows(windows)
{
    setObjectName(QStringLiteral("IDD_BOOKMARKS"));
    const DialogTexts texts(IDD_BOOKMARKS);
    setWindowTitle(texts.Caption());

    m_table = new QComboBox(this);
    m_table->setObjectName(QStringLiteral("IDC_BOOKMARK_TABLE"));
    m_table->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_table->setMinimumContentsLength(24);
    auto* tableLabel = new QLabel(texts.Control(IDC_BOOKMARK_TABLE_LABEL), this);
    tableLabel->setObjectName(QStringLiteral("IDC_BOOKMARK_TABLE_LABEL"));
    tableLabel->setBuddy(m_table);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("IDC_BOOKMARK_LIST"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setColumnCount(3);
    m_list->setHeaderLabels({ FromAnsi(LoadString(IDS_BOOKMARK_NAME_COLUMN)),
        FromAnsi(LoadString(IDS_BOOKMARK_RECORD_COLUMN)),
        FromAnsi(LoadString(IDS_BOOKMARK_FIELD_COLUMN)) });
    m_list->headerItem()->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    m_list->header()->setStretchLastSection(false);
    m_list->setColumnWidth(0, kNameWidth);
    m_list->setColumnWidth(1, kRecordWidth);
    m_list->setColumnWidth(2, kFieldWidth);
    m_list->setMinimumWidth(kNameWidth + kRecordWidth + kFieldWidth + 24);

    auto button = [this, &texts](int id, const char* name) {
        auto* pushButton = new QPushButton(texts.Control(id), this);
        pushButton->setObjectName(QString::fromLatin1(name));
        pushButton->setAutoDefault(false);
        return pushButton;
    };
    m_go = button(IDC_BOOKMARK_GO, "IDC_BOOKMARK_GO");
    m_go->setDefault(true);
    m_add = button(IDC_BOOKMARK_ADD, "IDC_BOOKMARK_ADD");
    m_delete = button(IDC_BOOKMARK_DELETE, "IDC_BOOKMARK_DELETE");
    QPushButton* close = button(IDCANCEL, "IDCANCEL");

    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("IDC_BOOKMARK_MESSAGE"));
    m_message->setTextFormat(Qt::PlainText);

    auto* top = new QHBoxLayout;
    top->addWidget(tableLabel);
    top->addWidget(m_table, 1);
    auto* side = new QVBoxLayout;
    side->addWidget(m_go);
    side->addWidget(m_add);
    side->addWidget(m_delete);
    side->addStretch();
    side->addWidget(close);
    auto* middle = new QHBoxLayout;
    middle->addWidget(m_list, 1);
    middle->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(middle, 1);
    layout->addWidget(m_message);

    for (int i = 0; i < m_windows.Count(); ++i)
        m_table->addItem(m_windows.Title(i));
    if (m_table->count() > 0)
        m_table->setCurrentIndex(0);
    Refill();

    connect(m_table, &QComboBox::currentIndexChanged, this, &CBookmarksDialog::Refill);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &CBookmarksDialog::UpdateButtons);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        m_list->setCurrentItem(item);
        OnGo();
    });
    connect(m_go, &QPushButton::clicked, this, &CBookmarksDialog::OnGo);
    connect(m_add, &QPushButton::clicked, this, &CBookmarksDialog::OnAdd);
    connect(m_delete, &QPushButton::clicked, this, &CBookmarksDialog::OnDelete);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

int CBookmarksDialog::ChosenWindow() const
{
    return m_table->currentIndex();
}

void CBookmarksDialog::Refill()
{
    m_list->clear();
    m_message->clear();
    const int window = ChosenWindow();
    std::vector<BookmarkLine> lines;
    if (window >= 0)
        lines = m_windows.Bookmarks(window);
    std::sort(lines.begin(), lines.end(), NameBefore);
    for (const BookmarkLine& line : lines) {
        auto* item = new QTreeWidgetItem(m_list);
        item->setText(0, FromAnsi(line.name));
        item->setData(0, Qt::UserRole, NameBytes(line.name));
        item->setText(1, QString::number(line.record));
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        item->setText(2, FromAnsi(line.field));
    }
    UpdateButtons();
}

std::string CBookmarksDialog::SelectedName() const
{
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty())
        return {};
    const QByteArray name = selected.front()->data(0, Qt::UserRole).toByteArray();
    return std::string(name.constData(), static_cast<std::size_t>(name.size()));
}

void CBookmarksDialog::UpdateButtons()
{
    const bool chosen = !m_list->selectedItems().isEmpty();
    m_go->setEnabled(chosen);
    m_delete->setEnabled(chosen);
    m_add->setEnabled(ChosenWindow() >= 0);
}

void CBookmarksDialog::OnGo()
{
    const int window = ChosenWindow();
    if (window < 0 || m_list->selectedItems().isEmpty())
        return;
    switch (m_windows.GoTo(window, SelectedName())) {
    case 0:
        accept();
        return;
    case 1:
        m_message->setText(FromAnsi(LoadString(IDS_NO_SUCH_BOOKMARK)));
        return;
    case 2:
        m_message->setText(FromAnsi(LoadString(IDS_NO_SUCH_RECORD)));
        return;
    default:
        m_message->setText(FromAnsi(LoadString(IDS_NO_SUCH_FIELD)));
        return;
    }
}

void CBookmarksDialog::OnAdd()
{
    const int window = ChosenWindow();
    if (window >= 0 && m_windows.Add(window, this))
        Refill();
}

void CBookmarksDialog::OnDelete()
{
    const int window = ChosenWindow();
    if (window < 0 || m_list->selectedItems().isEmpty())
        return;
    m_windows.Delete(window, SelectedName());
    Refill();
}

} // namespace shell
