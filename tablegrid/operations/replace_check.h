#pragma once

#include "table/date_format.h"
#include "table/field_def.h"

#include <optional>
#include <string>

namespace tablegrid {

// The cell text Replace makes: `shown` with the first occurrence of `findText` (letter case
// folded unless case-sensitive) replaced by `replaceText`. Nothing when it does not occur.
// Texts in code page 1251.
std::optional<std::string> ReplaceFirst(const std::string& shown, const std::string& findText,
    const std::string& replaceText, bool caseSensitive);

// Whether a replaced text may stand in `field` as a pending edit the file will take:
// - a date: empty, or a date in the grid's date form `form`;
// - a logical: only between the words true and false (the find and replace texts each one
//   of them);
// - a number: empty, or (blanks around it aside) an integer for a field without decimals,
//   a number for one with them, that the field can hold;
// - a character field: no longer than the field, so nothing typed is cut off at saving.
bool IsValidReplacement(const table::FieldDef& field, table::DateFormat form,
    const std::string& findText, const std::string& replaceText, const std::string& newText);

} // namespace tablegrid
