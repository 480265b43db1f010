#pragma once

#include "table/date_format.h"
#include "tablegrid/operations/column_layout.h"

#include <string>

namespace schema {
struct SchemaTable;
}
namespace table {
class CTable;
}

namespace tablegrid {

// What the schema of a table's directory makes of the table's columns while it is browsed:
// a described field takes its description as the column's title, and a field related to
// another table of the directory shows the name of the related record instead of its key.
//
// For each relation of the schema entry the related table is opened through the
// directory's shared tables, gets an index "PRIMARY" over its key fields as its key index,
// and the table is related to it (CTable::AddRelation), so every move of the table
// positions the related table. A relation that cannot be built that way (a field or table
// that is gone, a table that cannot be opened, no usable key fields) is left out, and its
// column shows its own value; so does one whose related table has no name field the file
// holds.
//
// REQUIRES: the table is open and belongs to a database; `layout` is its layout.
void ApplyTableSchema(const schema::SchemaTable& entry, table::CTable& table, ColumnLayout* layout);

// Where a schema-described column finds the name it shows: the related table, positioned
// by the relation, and its name field. Empty (no target) when the table has no relation
// for the column.
struct RelatedName
{
    const table::CTable* target = nullptr;
    int nameField = -1;
    int nameWidth = 0; // the name field's storage width
};
RelatedName ResolveRelatedName(const table::CTable& table, const LayoutColumn& column);

// The related record's name as the grid shows it (code page 1251, trailing blanks
// removed, a date name in `form`); empty when the relation found no record.
std::string RelatedNameText(const RelatedName& related, table::DateFormat form);

} // namespace tablegrid
