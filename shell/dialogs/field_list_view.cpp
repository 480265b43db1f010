#include "shell/dialogs/field_list_view.h"

#include "platform/qt/ansi_string.h"
#include "resources/resource_ids.h"
#include "shell/dialogs/dialog_texts.h"
#include "shell/dialogs/field_list_text.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QTreeWidget>

#include <algorithm>

namespace shell {

namespace {

constexpr Qt::Alignment kNumberAlignment = Qt::AlignRight | Qt::AlignVCenter;

} // namespace

void SetUpFieldList(QTreeWidget* list)
{
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSortingEnabled(false);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setColumnCount(4);
    list->setHeaderLabels({ ResourceText(IDS_COLUMN_HEADER), ResourceText(IDS_COLUMN_TYPE),
        ResourceText(IDS_COLUMN_LEN), ResourceText(IDS_COLUMN_DEC) });
    list->headerItem()->setTextAlignment(kFieldLength, kNumberAlignment);
    list->headerItem()->setTextAlignment(kFieldDecimals, kNumberAlignment);
    list->header()->setStretchLastSection(false);
    list->header()->setSectionsMovable(false);
}

int FieldTypeColumnWidth(const QTreeWidget* list)
{
    const QFontMetrics metrics(list->font());
    int widest = 0;
    for (const char type : { 'C', 'N', 'D', 'L', 'M', '?' })
        widest = std::max(widest, metrics.horizontalAdvance(platform::qt::FromAnsi(FieldTypeName(type))));
    // The cell's margins on both sides.
    return widest + metrics.averageCharWidth() * 2;
}

void SetFieldListRow(QTreeWidgetItem* item, const std::string& title, char type, int length,
    int decimals)
{
    item->setText(kFieldTitle, platform::qt::FromAnsi(title));
    item->setText(kFieldType, platform::qt::FromAnsi(FieldTypeName(type)));
    item->setText(kFieldLength, QString::number(length));
    item->setText(kFieldDecimals, QString::number(decimals));
    item->setTextAlignment(kFieldLength, kNumberAlignment);
    item->setTextAlignment(kFieldDecimals, kNumberAlignment);
}

} // namespace shell
