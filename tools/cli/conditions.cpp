#include "tools/cli/conditions.h"

#include "platform/resource_source.h"
#include "resources/resource_ids.h"
#include "table/table.h"

#include <algorithm>

namespace cli {

namespace {

using tablegrid::FilterOp;

struct OpName
{
    const char* name;
    FilterOp op;
};

constexpr OpName kOps[] = {
    { "empty", FilterOp::kEmpty }, { "not-empty", FilterOp::kNotEmpty },
    { "true", FilterOp::kTrue }, { "false", FilterOp::kFalse },
    { "=", FilterOp::kEqual }, { "#", FilterOp::kNotEqual },
    { "<", FilterOp::kLess }, { "<=", FilterOp::kLessOrEqual },
    { ">", FilterOp::kGreater }, { ">=", FilterOp::kGreaterOrEqual },
    { "contains", FilterOp::kContains }, { "not-contains", FilterOp::kNotContains },
};

// The next blank-separated word of `text` from `at`, which moves past it and one blank.
std::string NextWord(const std::string& text, std::size_t* at)
{
    while (*at < text.size() && text[*at] == ' ')
        ++*at;
    const std::size_t end = std::min(text.find(' ', *at), text.size());
    std::string word = text.substr(*at, end - *at);
    *at = std::min(end + 1, text.size());
    return word;
}

} // namespace

std::vector<tablegrid::FilterColumn> FieldColumns(const table::CTable& table)
{
    std::vector<tablegrid::FilterColumn> columns;
    for (int i = 0; i < table.FieldCount(); ++i)
        columns.push_back({ table.FieldName(i), table.FieldName(i), table.FieldType(i),
            table.FieldLength(i) });
    return columns;
}

bool BuildConditions(const ConditionArguments& arguments, const table::CTable& table,
    std::vector<tablegrid::FilterCondition>* conditions, std::string* error)
{
    conditions->clear();
    const std::vector<tablegrid::FilterColumn> columns = FieldColumns(table);
    for (const auto& [option, text] : arguments.entries) {
        tablegrid::FilterCondition condition;
        if (option == "--or") {
            condition.isOrSeparator = true;
            conditions->push_back(condition);
            continue;
        }
        std::size_t at = 0;
        const std::string field = NextWord(text, &at);
        const std::string opName = NextWord(text, &at);
        const std::string value = text.substr(at);
        const int column = tablegrid::FindFilterColumn(columns, field);
        if (column < 0) {
            *error = "no field " + field + " in the table (--where '" + text + "')";
            return false;
        }
        const char type = columns[static_cast<std::size_t>(column)].type;
        const auto named = std::find_if(std::begin(kOps), std::end(kOps),
            [&](const OpName& op) { return opName == op.name; });
        const std::vector<FilterOp> offered = tablegrid::FilterOpsFor(type);
        if (named == std::end(kOps)
            || std::find(offered.begin(), offered.end(), named->op) == offered.end()) {
            *error = "the operator '" + opName + "' is not offered for the field " + field
                + " (--where '" + text + "')";
            return false;
        }
        if (!tablegrid::IsValidFilterValue(type, named->op, value)) {
            *error = platform::LoadString(IDS_INVALID_FORMAT) + ": --where '" + text + "'";
            return false;
        }
        condition.column = field;
        condition.op = named->op;
        condition.caseSensitive = !arguments.ignoreCase;
        condition.value = tablegrid::FilterOpTakesNoValue(named->op) ? std::string() : value;
        condition.fieldType = type;
        conditions->push_back(std::move(condition));
    }
    if (tablegrid::FindBadSeparator(*conditions) >= 0) {
        *error = platform::LoadString(IDS_INVALID_FILTER);
        return false;
    }
    return true;
}

} // namespace cli
