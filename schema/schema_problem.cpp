#include "schema/schema_problem.h"

#include <array>

namespace schema {

const char* SchemaProblemFormat(SchemaProblemKind kind)
{
    switch (kind) {
    case SchemaProblemKind::kAbsentTable:
        return "Table %s has references to an absent table %s.";
    case SchemaProblemKind::kReferencedWithoutKey:
        return "Table %s is referenced by %s, but has no key fields.";
    case SchemaProblemKind::kReferencedWithoutName:
        return "Table %s references table %s, which has no \"name\" field.";
    }
    return "";
}

std::string FormatSchemaProblem(const SchemaProblem& problem, std::string_view format)
{
    // The message about a table without keys speaks of the related table first.
    const bool relatedFirst = problem.kind == SchemaProblemKind::kReferencedWithoutKey;
    const std::array<const std::string*, 2> names = relatedFirst
        ? std::array { &problem.relatedTable, &problem.table }
        : std::array { &problem.table, &problem.relatedTable };

    std::string text;
    std::size_t next = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            if (format[i + 1] == 's') {
                if (next < names.size())
                    text += *names[next++];
                ++i;
                continue;
            }
            if (format[i + 1] == '%') {
                text += '%';
                ++i;
                continue;
            }
        }
        text += format[i];
    }
    return text;
}

std::string SchemaTestMessage(const std::optional<SchemaProblem>& result)
{
    if (!result)
        return kNoSchemaProblemsText;
    return FormatSchemaProblem(*result, SchemaProblemFormat(result->kind));
}

} // namespace schema
