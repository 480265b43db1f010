#include "schema/schema_table.h"

#include "platform/code_page.h"

#include <algorithm>
#include <utility>

namespace schema {

bool SameFieldName(const std::string& a, const std::string& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return platform::ToUpper1251(static_cast<unsigned char>(x))
            == platform::ToUpper1251(static_cast<unsigned char>(y));
    });
}

bool SchemaTable::HasKeyField(const std::string& field) const
{
    return std::any_of(keyFields.begin(), keyFields.end(),
        [&](const std::string& key) { return SameFieldName(key, field); });
}

bool SchemaTable::IsNameField(const std::string& field) const
{
    return !nameField.empty() && SameFieldName(nameField, field);
}

const SchemaRelation* SchemaTable::FindRelation(const std::string& field) const
{
    for (auto it = relations.rbegin(); it != relations.rend(); ++it) {
        if (SameFieldName(it->fieldName, field))
            return &*it;
    }
    return nullptr;
}

SchemaRelation* SchemaTable::FindRelation(const std::string& field)
{
    return const_cast<SchemaRelation*>(std::as_const(*this).FindRelation(field));
}

} // namespace schema
