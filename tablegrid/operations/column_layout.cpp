#include "tablegrid/operations/column_layout.h"

#include "table/table.h"

namespace tablegrid {

ColumnLayout LayoutFromTable(const table::CTable& table)
{
    ColumnLayout layout;
    layout.reserve(static_cast<std::size_t>(table.FieldCount()));
    for (int i = 0; i < table.FieldCount(); ++i) {
        LayoutColumn column;
        column.name = table.FieldName(i);
        column.type = table.FieldType(i);
        column.width = table.FieldLength(i);
        column.decimals = table.FieldDecimals(i);
        layout.push_back(std::move(column));
    }
    return layout;
}

int LayoutIndexOfGridColumn(const ColumnLayout& layout, int gridColumn)
{
    if (gridColumn < 0)
        return -1;
    int visible = 0;
    for (std::size_t i = 0; i < layout.size(); ++i) {
        if (!layout[i].visible)
            continue;
        if (visible++ == gridColumn)
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace tablegrid
