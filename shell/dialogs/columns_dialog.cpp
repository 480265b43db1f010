#include "shell/dialogs/columns_dialog.h"

#include "platform/qt/ansi_string.h"
#include "resources/resource_ids.h"
#include "shell/dialogs/dialog_texts.h"
#include "shell/dialogs/field_list_view.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace shell {
namespace {


constexpr int kImageSize = 13;
// Each column is as wide as a sample text: titles are upper-case field names, types are
// words, lengths and decimals numbers.
constexpr int kSampleLengths[] = { 12, 12, 7, 7 };
constexpr char kSampleLetters[] = { 'W', 'x', '0', '0' };

// A check box as the list shows a column's state: ticked when the column is shown, empty
// when hidden. Drawn here, in the palette's text colour on a clear ground.
QIcon VisibilityImage(bool shown, const QColor& ink)
{
    QPixmap pixmap(kImageSize, kImageSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QPen(ink, 1));
    painter.drawRect(1, 1, kImageSize - 3, kImageSize - 3);
    if (shown) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const QPointF tick[] = { { 3.5, 6.5 }, { 5.5, 9.0 }, { 9.5, 3.5 } };
        painter.drawPolyline(tick, 3);
    }
    painter.end();
    return QIcon(pixmap);
}

} // namespace

CColumnsDialog::CColumnsDialog(const tablegrid::ColumnLayout& layout, QWidget* parent)
    : QDialog(parent)
    , m_layout(layout)
{
    setObjectName(QStringLiteral("IDD_COLUMNS"));
    const DialogTexts texts(IDD_COLUMNS);
    setWindowTitle(texts.Caption());

    const QColor ink = palette().color(QPalette::Text);
    m_shown = VisibilityImage(true, ink);
    m_hidden = VisibilityImage(false, ink);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("IDC_COLUMN_LIST"));
    SetUpFieldList(m_list);
    m_list->setIconSize(QSize(kImageSize, kImageSize));
    const QFontMetrics metrics(m_list->font());
    int listWidth = 0;
    for (int c = 0; c < 4; ++c) {
        int width
            = metrics.horizontalAdvance(QString(kSampleLengths[c], QLatin1Char(kSampleLetters[c])));
        if (c == kFieldTitle)
            width += kImageSize + metrics.averageCharWidth() * 2;
        if (c == kFieldType)
            width = std::max(width, FieldTypeColumnWidth(m_list));
        m_list->setColumnWidth(c, width);
        listWidth += width;
    }
    m_list->setMinimumWidth(listWidth + m_list->frameWidth() * 2 + 20);
    m_list->setMinimumHeight(metrics.height() * 14);
    m_list->installEventFilter(this);

    auto button = [this, &texts](int id, const char* name) {
        auto* pushButton = new QPushButton(texts.Control(id), this);
        pushButton->setObjectName(QString::fromLatin1(name));
        pushButton->setAutoDefault(false);
        return pushButton;
    };
    QPushButton* ok = button(IDOK, "IDOK");
    ok->setDefault(true);
    QPushButton* cancel = button(IDCANCEL, "IDCANCEL");
    QPushButton* up = button(IDC_COLUMN_UP, "IDC_COLUMN_UP");
    QPushButton* down = button(IDC_COLUMN_DOWN, "IDC_COLUMN_DOWN");
    m_show = button(IDC_COLUMN_SHOW, "IDC_COLUMN_SHOW");
    m_hide = button(IDC_COLUMN_HIDE, "IDC_COLUMN_HIDE");
    m_showAll = button(IDC_COLUMN_SHOW_ALL, "IDC_COLUMN_SHOW_ALL");
    m_table = button(IDC_COLUMN_TABLE, "IDC_COLUMN_TABLE");
    m_help = button(ID_HELP, "ID_HELP");
    m_table->setEnabled(false);
    m_help->setEnabled(false);

    auto* side = new QVBoxLayout;
    side->addWidget(ok);
    side->addWidget(cancel);
    side->addSpacing(metrics.height());
    side->addWidget(up);
    side->addWidget(down);
    side->addSpacing(metrics.height());
    side->addWidget(m_show);
    side->addWidget(m_hide);
    side->addWidget(m_showAll);
    side->addStretch();
    side->addWidget(m_table);
    side->addWidget(m_help);
    auto* layoutBox = new QHBoxLayout(this);
    layoutBox->addWidget(m_list, 1);
    layoutBox->addLayout(side);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(up, &QPushButton::clicked, this, [this] { Move(-1); });
    connect(down, &QPushButton::clicked, this, [this] { Move(1); });
    connect(m_show, &QPushButton::clicked, this, [this] { SetCurrentVisible(true); });
    connect(m_hide, &QPushButton::clicked, this, [this] { SetCurrentVisible(false); });
    connect(m_showAll, &QPushButton::clicked, this, &CColumnsDialog::ShowAll);
    connect(m_table, &QPushButton::clicked, this, [this] {
        if (m_tableAction)
            m_tableAction(this);
    });
    connect(m_help, &QPushButton::clicked, this, [this] {
        if (m_helpAction)
            m_helpAction();
    });
    connect(m_list, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item)
            m_current = m_list->indexOfTopLevelItem(item);
        UpdateButtons();
    });
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        m_list->setCurrentItem(item);
        Toggle();
    });
    Refill();
}

void CColumnsDialog::SetTableAction(std::function<void(QWidget*)> action)
{
    m_tableAction = std::move(action);
    m_table->setEnabled(static_cast<bool>(m_tableAction));
}

void CColumnsDialog::SetHelpAction(std::function<void()> action)
{
    m_helpAction = std::move(action);
    m_help->setEnabled(static_cast<bool>(m_helpAction));
}

bool CColumnsDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
        Toggle();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// The list shows the layout as it is now, the current column selected and focused.
void CColumnsDialog::Refill()
{
    m_list->clear();
    for (const tablegrid::LayoutColumn& column : m_layout) {
        auto* item = new QTreeWidgetItem(m_list);
        SetFieldListRow(item, column.Title(), column.type, column.width, column.decimals);
        item->setIcon(kFieldTitle, column.visible ? m_shown : m_hidden);
    }
    const int count = static_cast<int>(m_layout.size());
    m_current = count == 0 ? 0 : std::clamp(m_current, 0, count - 1);
    if (QTreeWidgetItem* item = m_list->topLevelItem(m_current)) {
        m_list->setCurrentItem(item);
        item->setSelected(true);
        m_list->scrollToItem(item);
    }
    m_list->setFocus();
    UpdateButtons();
}

void CColumnsDialog::Toggle()
{
    if (m_current < static_cast<int>(m_layout.size()))
        SetCurrentVisible(!m_layout[static_cast<std::size_t>(m_current)].visible);
}

void CColumnsDialog::SetCurrentVisible(bool visible)
{
    QTreeWidgetItem* item = m_list->topLevelItem(m_current);
    if (!item)
        return;
    m_layout[static_cast<std::size_t>(m_current)].visible = visible;
    item->setIcon(kFieldTitle, visible ? m_shown : m_hidden);
    UpdateButtons();
}

void CColumnsDialog::ShowAll()
{
    for (std::size_t i = 0; i < m_layout.size(); ++i) {
        m_layout[i].visible = true;
        m_list->topLevelItem(static_cast<int>(i))->setIcon(kFieldTitle, m_shown);
    }
    UpdateButtons();
}

void CColumnsDialog::Move(int step)
{
    const int to = m_current + step;
    if (to < 0 || to >= static_cast<int>(m_layout.size()))
        return;
    std::swap(
        m_layout[static_cast<std::size_t>(m_current)], m_layout[static_cast<std::size_t>(to)]);
    m_current = to;
    Refill();
}

void CColumnsDialog::UpdateButtons()
{
    const int count = static_cast<int>(m_layout.size());
    const bool any = m_current < count;
    const bool shown = any && m_layout[static_cast<std::size_t>(m_current)].visible;
    m_show->setEnabled(any && !shown);
    m_hide->setEnabled(shown);
    m_showAll->setEnabled(std::any_of(m_layout.begin(), m_layout.end(),
        [](const tablegrid::LayoutColumn& column) { return !column.visible; }));
}

} // namespace shell
