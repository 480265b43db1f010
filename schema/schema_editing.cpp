#include "schema/schema_editing.h"

#include "platform/code_page.h"
#include "platform/file_system.h"

#include <algorithm>
#include <filesystem>

namespace schema {
namespace {

// A directory as a comparable text: made plain ("a/./b/" is "a/b/"), with a trailing '/'
// and upper-cased.
std::string DirectoryKey(const std::string& directory)
{
    std::string plain = std::filesystem::path(directory).lexically_normal().generic_string();
    if (plain.empty() || plain.back() != '/')
        plain += '/';
    platform::ToUpper1251(plain);
    return plain;
}

} // namespace

SchemaFieldState LoadSchemaField(const SchemaTable& table, const std::string& field)
{
    SchemaFieldState state;
    if (const auto it = table.fieldDescriptions.find(field); it != table.fieldDescriptions.end())
        state.description = it->second;
    state.nameField = table.IsNameField(field);
    state.keyField = table.HasKeyField(field);
    if (const SchemaRelation* relation = table.FindRelation(field)) {
        state.relation = true;
        state.relatedTable = relation->tableName;
    }
    return state;
}

void StoreSchemaField(SchemaTable& table, const std::string& field, const SchemaFieldState& state)
{
    table.fieldDescriptions[field] = state.description;
    if (state.nameField)
        table.nameField = field;
    const bool inKey = table.HasKeyField(field);
    if (state.keyField && !inKey)
        table.keyFields.push_back(field);
    else if (!state.keyField && inKey)
        std::erase_if(
            table.keyFields, [&](const std::string& key) { return SameFieldName(key, field); });

    if (SchemaRelation* relation = table.FindRelation(field)) {
        if (!state.relation)
            std::erase_if(table.relations,
                [&](const SchemaRelation& r) { return SameFieldName(r.fieldName, field); });
        else if (!state.relatedTable.empty())
            relation->tableName = state.relatedTable;
    } else if (state.relation && !state.relatedTable.empty()) {
        table.relations.push_back({ state.relatedTable, field });
    }
}

std::string SchemaTableKey(const std::string& path)
{
    std::string key = platform::BaseNameOf(path);
    platform::ToUpper1251(key);
    return key;
}

AddTableOutcome AddSchemaTableFile(DatabaseSchema& schema, const std::string& path)
{
    if (DirectoryKey(platform::DirectoryOf(path)) != DirectoryKey(schema.Directory()))
        return AddTableOutcome::kOutsideDirectory;
    const std::string key = SchemaTableKey(path);
    if (key.empty() || key.front() == ' ' || key.back() == ' '
        || key.find_first_of("\r\n}") != std::string::npos)
        return AddTableOutcome::kUnwritableName;
    if (schema.FindTable(key))
        return AddTableOutcome::kAlreadyThere;
    schema.AddTable(key);
    return AddTableOutcome::kAdded;
}

} // namespace schema
