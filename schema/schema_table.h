#pragma once

#include <map>
#include <string>
#include <vector>

namespace schema {

// A relation from a field of a schema table to another table of the same database: the
// field holds key values of the related table, so a record's field value finds one record
// of the related table through that table's key fields.
struct SchemaRelation
{
    std::string tableName; // the related table, as written (compared as an upper-case key)
    std::string fieldName; // the field of the owning table that holds the key values

    friend bool operator==(const SchemaRelation&, const SchemaRelation&) = default;
};

// What the schema says about one table of a database directory. A plain record: the schema
// that holds it (DatabaseSchema) keeps it under the table's upper-case key.
//
// Field names are kept as written. Matching a field against the key list, the name field
// and the relations ignores letter case (code page 1251, Cyrillic included); looking a
// field description up is an exact match on the map key.
struct SchemaTable
{
    std::string description;
    std::vector<std::string> keyFields; // in key order
    std::string nameField; // the field that names a record for people; may be empty
    std::map<std::string, std::string> fieldDescriptions; // field name -> description
    std::vector<SchemaRelation> relations; // in the order they were added

    // True when `field` is one of the key fields.
    bool HasKeyField(const std::string& field) const;
    // True when `field` is the (non-empty) name field.
    bool IsNameField(const std::string& field) const;
    // The relation whose field is `field`; when several name it, the last one, as the table
    // dialog shows it. nullptr when there is none. The pointer lives until `relations`
    // changes.
    const SchemaRelation* FindRelation(const std::string& field) const;
    SchemaRelation* FindRelation(const std::string& field);

    friend bool operator==(const SchemaTable&, const SchemaTable&) = default;
};

// The tables of a schema by their upper-case key (the table file's name without directory
// and extension). Iteration order is the keys' byte order; nothing depends on it.
using SchemaTableMap = std::map<std::string, SchemaTable>;

// Compares two field names without regard to letter case (code page 1251).
bool SameFieldName(const std::string& a, const std::string& b);

} // namespace schema
