#pragma once

#include "schema/database_schema.h"
#include "schema/schema_table.h"

#include <string>

namespace schema {

// What the Table dialog of the schema editor shows for one field of a table, and how its
// controls go back into the table's schema entry. The dialog loads a field when it is
// selected and stores it when another field is selected or the dialog closes.
struct SchemaFieldState
{
    std::string description;
    bool keyField = false;
    bool nameField = false;
    bool relation = false;
    std::string relatedTable; // the table chosen for the relation; empty for none
};

// The field's state in `table`: its description (exact name), whether it is the name field
// or a key field, and its relation (the last one of the field) with the related table.
SchemaFieldState LoadSchemaField(const SchemaTable& table, const std::string& field);

// Stores `state` for `field`: the description (kept even when empty), the name field when
// ticked (never cleared here: unticking clears it at once, see the dialog), the key list,
// and the relation: removed when unticked, pointed at the chosen table when ticked, made
// when ticked with a table chosen and there is none yet.
void StoreSchemaField(SchemaTable& table, const std::string& field, const SchemaFieldState& state);

// The schema key of a table file: its file name without directory and extension, upper-cased.
std::string SchemaTableKey(const std::string& path);

// Adds the table file `path` to the schema as an empty table under its key. Nothing happens
// to a file outside the schema's directory (compared without regard to letter case), one
// whose key the schema already has, or one whose key the schema file could not hold (blanks
// at either end, a line break or '}'), which would keep the whole schema from being saved.
enum class AddTableOutcome { kAdded, kOutsideDirectory, kAlreadyThere, kUnwritableName };
AddTableOutcome AddSchemaTableFile(DatabaseSchema& schema, const std::string& path);

} // namespace schema
