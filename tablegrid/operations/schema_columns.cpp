#include "tablegrid/operations/schema_columns.h"

#include "schema/schema_table.h"
#include "table/db_engine_exception.h"
#include "table/table.h"
#include "table/table_database.h"

namespace tablegrid {
namespace {

constexpr const char* kKeyIndexName = "PRIMARY";

// Relates `table` to the related table of `relation`; `*nameField` becomes the related
// table's name field when the file has it, else empty. False when the relation cannot be
// built.
bool Relate(table::CTable& table, const schema::SchemaRelation& relation, std::string* nameField)
{
    table::TableDatabase& database = *table.Database();
    const schema::SchemaTable* related = database.FindTable(relation.tableName);
    if (!related || related->keyFields.empty() || table.FieldIndex(relation.fieldName) < 0)
        return false;
    table::CTable* target = database.OpenTable(relation.tableName);
    if (!target)
        return false;
    bool built = false;
    try {
        built = target->CreateIndexOnFields(kKeyIndexName, related->keyFields, false)
            && target->SetKeyIndex(kKeyIndexName)
            && table.AddRelation(relation.tableName, relation.fieldName);
    } catch (const table::CDBEngineException&) {
        built = false; // a key too long for an index
    }
    // The relation holds a reference of its own; this one was for building the index.
    database.ReleaseTable(relation.tableName);
    if (!built)
        return false;
    nameField->clear();
    if (!related->nameField.empty() && target->FieldIndex(related->nameField) >= 0)
        *nameField = related->nameField;
    return true;
}

} // namespace

void ApplyTableSchema(const schema::SchemaTable& entry, table::CTable& table, ColumnLayout* layout)
{
    for (LayoutColumn& column : *layout) {
        const auto description = entry.fieldDescriptions.find(column.name);
        column.title
            = description != entry.fieldDescriptions.end() ? description->second : std::string();
        column.schemaDescribed = false;
        column.nameField.clear();
    }
    if (!table.Database() || !table.Database()->IsValid())
        return;
    for (const schema::SchemaRelation& relation : entry.relations) {
        std::string nameField;
        if (!Relate(table, relation, &nameField) || nameField.empty())
            continue;
        for (LayoutColumn& column : *layout) {
            if (schema::SameFieldName(column.name, relation.fieldName)) {
                column.schemaDescribed = true;
                column.nameField = nameField;
            }
        }
    }
}

RelatedName ResolveRelatedName(const table::CTable& table, const LayoutColumn& column)
{
    RelatedName found;
    if (!column.schemaDescribed)
        return found;
    // The last relation of the field, as the schema's own lookups take it.
    for (const auto& relation : table.Relations()) {
        if (!relation->target || !schema::SameFieldName(relation->keyField, column.name))
            continue;
        const int field = relation->target->FieldIndex(column.nameField);
        if (field < 0)
            continue;
        found.target = relation->target;
        found.nameField = field;
        found.nameWidth = relation->target->FieldLength(field);
    }
    return found;
}

std::string RelatedNameText(const RelatedName& related, table::DateFormat form)
{
    if (!related.target || !related.target->HasCurrentRecord())
        return {};
    const table::FieldValue value = related.target->GetValue(related.nameField, true);
    std::string text = value.DisplayText(related.target->FieldDecimals(related.nameField), form);
    const std::size_t end = text.find_last_not_of(' ');
    text.erase(end == std::string::npos ? 0 : end + 1);
    return text;
}

} // namespace tablegrid
