#pragma once

#include "tablegrid/operations/filter_node.h"

#include <string>
#include <utility>
#include <vector>

namespace table {
class CTable;
}

namespace cli {

// The Filter dialog's conditions from a command line: each --where 'FIELD OP [VALUE]' a
// condition on a field, --or a separator between two of them, --ignore-case making the
// conditions on character fields case-insensitive. OP is empty, not-empty, true, false, =,
// #, <, <=, >, >=, contains or not-contains; VALUE is what a user types into the dialog.
struct ConditionArguments
{
    // The --where and --or arguments in their order: ("--where", text) or ("--or", "").
    std::vector<std::pair<std::string, std::string>> entries;
    bool ignoreCase = false;
};

// Builds the condition list over the fields of `table`. A condition the dialog would not
// make (no such field, an operator the field's type is not offered, a value of the wrong
// form) or a list it would refuse gives false with the message to print (cp1251) in
// `error`.
bool BuildConditions(const ConditionArguments& arguments, const table::CTable& table,
    std::vector<tablegrid::FilterCondition>* conditions, std::string* error);

// The columns conditions name on the command line: every field by its name.
std::vector<tablegrid::FilterColumn> FieldColumns(const table::CTable& table);

} // namespace cli
