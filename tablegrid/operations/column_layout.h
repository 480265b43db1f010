#pragma once

#include <string>
#include <vector>

namespace table {
class CTable;
}

namespace tablegrid {

// One column of a table window: a field, how the grid shows it, and whether it is shown.
// The layout lives only in the window; reopening a table shows every field in table order.
struct LayoutColumn
{
    std::string name; // the field name, also the column title
    char type = 'C';  // the field's type letter
    int width = 0;    // storage width
    int decimals = 0;
    bool visible = true;
    bool schemaDescribed = false; // shown through the directory's schema, never edited
};

using ColumnLayout = std::vector<LayoutColumn>;

// Every field of an open table, in table order, visible.
ColumnLayout LayoutFromTable(const table::CTable& table);

// The index into the layout of the n-th visible column; -1 when there is none.
int LayoutIndexOfGridColumn(const ColumnLayout& layout, int gridColumn);

} // namespace tablegrid
