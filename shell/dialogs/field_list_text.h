#pragma once

#include <string>

namespace shell {

// The name of a field type as the program's lists show it: Character, Numeric, Date, Logic,
// Memo, and "???" for any other letter. cp1251, from the resource set.
std::string FieldTypeName(char type);

// One line of the Table properties field list: the field's number (from 1), its name and
// type name, each blank-padded to its column (11 and 9 characters, so they read left-aligned
// under the heading), its length and its decimals, in the resource set's line form.
std::string FieldListLine(int number, const std::string& name, char type, int length, int decimals);

} // namespace shell
