#pragma once

#include <string>

class QTreeWidget;
class QTreeWidgetItem;

namespace shell {

// The report list of a table's fields that the Columns dialog and the schema's Table dialog
// show: title, type name, length and decimals, the two numbers right-aligned, one row
// selected at a time. The dialogs give the column widths.
enum FieldListColumn { kFieldTitle = 0, kFieldType = 1, kFieldLength = 2, kFieldDecimals = 3 };

void SetUpFieldList(QTreeWidget* list);
// How wide the type column must be for the longest type name in the current language.
int FieldTypeColumnWidth(const QTreeWidget* list);
// Fills a row; `title` is cp1251.
void SetFieldListRow(QTreeWidgetItem* item, const std::string& title, char type, int length,
    int decimals);

} // namespace shell
