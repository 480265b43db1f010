#pragma once

#include "schema/schema_table.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace schema {

// The text of a schema file: one item per line, CR LF line ends, one block per table:
//
//     (empty line)
//     [Table : GOODS]
//     Description = Goods list          only when not empty
//     Key = ID,CODE                     only with key fields; no blanks around the commas
//     Name = DESCR                      only when not empty
//     Descr{CODE} = Article             every field description, empty ones included
//     Relation{GROUPS} = GROUPID        related table in the braces, own field after "="
//     (empty line)
//
// A value cannot span lines: a CR or LF inside a name or text is written as a blank, so one
// odd value never turns into lines of its own.
std::string SchemaFileText(const SchemaTableMap& tables);
// Whether every name reads back as it is: table names not empty, without line breaks or
// blanks at either end; names written in braces (field descriptions, related tables) the
// same and without '}'. A name that would not is refused rather than saved as another,
// which would change again on every load and save.
bool SchemaFileWritable(const SchemaTableMap& tables);

// Reads a schema file line by line, forgiving by design: whatever it does not understand it
// skips. A CR inside a line given ends a line there as well. Lines are trimmed of blanks; empty lines and those beginning with '*' or ';' are
// comments. "[Table : NAME]" starts a table (the name upper-cased; "[...]" heads of other
// kinds, or without ':', start nothing, and the lines after them are skipped). Other lines
// apply to the table being built, recognised by the beginning of the upper-cased line in the
// order DESCRIPTION, KEY, NAME, DESCR, RELATION, each taking what follows the first '='; for
// DESCR and RELATION the name runs to the first '}' and the value follows the first '='
// after it, so names may hold '='. Field descriptions and relations need a non-empty name in
// braces and a non-empty value.
class SchemaFileReader
{
public:
    // One line of the file without its line end (a CR left before it is trimmed anyway).
    void ReadLine(std::string_view line);
    // Ends the file; gives the named tables in the order their blocks ended. A name may come
    // more than once: a later block for the same table is meant to replace an earlier one.
    std::vector<std::pair<std::string, SchemaTable>> Finish();

private:
    void ReadOneLine(std::string_view line);
    void StartSection(std::string_view head);
    void ApplyLine(std::string_view line);
    void FinishTable();

    bool m_building = false; // a table head was read and its block has not ended
    std::string m_name;
    SchemaTable m_table;
    std::vector<std::pair<std::string, SchemaTable>> m_tables;
};

} // namespace schema
