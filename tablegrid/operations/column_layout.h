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
    std::string name; // the field name
    char type = 'C';  // the field's type letter
    int width = 0;    // storage width
    int decimals = 0;
    bool visible = true;
    // Shows the name of the record it relates to through the directory's schema instead of
    // its own value; never edited.
    bool schemaDescribed = false;
    std::string title;     // the schema's description of the field; empty: the name
    std::string nameField; // of a schema-described column: the related table's name field

    // What the column is called in the grid's header and in the dialogs that name columns.
    const std::string& Title() const { return title.empty() ? name : title; }
};

using ColumnLayout = std::vector<LayoutColumn>;

// Every field of an open table, in table order, visible.
ColumnLayout LayoutFromTable(const table::CTable& table);

// The index into the layout of the n-th visible column; -1 when there is none.
int LayoutIndexOfGridColumn(const ColumnLayout& layout, int gridColumn);

} // namespace tablegrid
