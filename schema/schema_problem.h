#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace schema {

// The faults the schema test looks for, each in one relation (T's field refers to table U).
enum class SchemaProblemKind {
    kAbsentTable = 1, // U is not a table of the schema
    kReferencedWithoutKey = 2, // U has no key fields, so no record of it can be found
    kReferencedWithoutName = 3, // U has no name field, so there is nothing to show for a key
};

// The first fault the schema test found. The names are those of the schema: `table` is the
// key of T, `relatedTable` the related table as T's relation names it.
struct SchemaProblem
{
    SchemaProblemKind kind = SchemaProblemKind::kAbsentTable;
    std::string table;
    std::string relatedTable;

    friend bool operator==(const SchemaProblem&, const SchemaProblem&) = default;
};

// The English message forms. Each has two "%s", filled by FormatSchemaProblem in the order
// its message names the tables; a language's resource set may give other forms with the
// same two slots.
const char* SchemaProblemFormat(SchemaProblemKind kind);
inline constexpr const char* kNoSchemaProblemsText = "No errors found.";

// Fills the "%s" slots of `format` with the problem's names in the order of its kind's
// message ("%%" gives one '%'; anything else is copied as it is, so a form from a resource
// file can never make it read arguments that are not there).
std::string FormatSchemaProblem(const SchemaProblem& problem, std::string_view format);

// The English text of a test result: the problem's message, or "No errors found.".
std::string SchemaTestMessage(const std::optional<SchemaProblem>& result);

} // namespace schema
