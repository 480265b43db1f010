#pragma once

#include "table/date_format.h"

#include <compare>
#include <string>
#include <string_view>

namespace table {

// The typed value of one field, as filters and searches compare it and as the grid and the
// text export show it. The type is 0 (no value), 'C', 'M', 'D', 'L' or 'N'; only the member
// of that type means anything. `text` holds C values and the stored block number of M
// values; `date` holds "YYYYMMDD" or is empty for a D field left blank. A float field (F)
// holds the same right-aligned decimal text as N and gives an N value; fields of other
// types (B, O, ...) give no value.
//
// Comparison is a partial order: values of different types, and values of no type, are
// never equal and never ordered, so every comparison between them is false. C, M and D
// values compare as unsigned bytes, a proper prefix being less ("AB" < "AB "); L values
// order false before true; N values compare as numbers.
struct FieldValue
{
    static constexpr std::string_view kEpochDate = "19700101";

    char type = 0;
    std::string text;
    double number = 0;
    std::string date { kEpochDate };
    bool logical = false;

    // Makes this the value of `text` read as a field of type letter `fieldType`, with dates
    // in `form`. Returns false when the text is no value of that type:
    //  - C, M: the text as it is, trailing blanks kept;
    //  - D: empty text is an empty date; otherwise a date in `form`, kept as "YYYYMMDD";
    //    a bad date leaves an empty date and type 0;
    //  - L: TRUE, .TRUE., .T., T, Y and FALSE, .FALSE., .F., F, N in any case; any other
    //    text (blank, "?") keeps type L with false and reports failure;
    //  - N, F: the decimal number at the start of the text after blanks; no number is 0,
    //    which is still success;
    //  - any other letter: type 0 and failure.
    [[nodiscard]] bool Assign(char fieldType, std::string_view text, DateFormat form);

    // The value as text: C and M cut to `width` when it is 0 or more; D in `form` (empty
    // when the date is empty or bad); L ".T." or ".F."; N with `decimals` decimals,
    // right-aligned in `width` when it is 1 or more and with no padding otherwise; a value
    // of no type is empty.
    std::string Text(int width, int decimals, DateFormat form) const;

    // What a grid cell of this value shows: L "true" or "false"; M "<Memo>" when the field
    // holds a block number, empty otherwise; anything else its Text with no width.
    std::string DisplayText(int decimals, DateFormat form) const;

    friend bool operator==(const FieldValue& a, const FieldValue& b);
    friend std::partial_ordering operator<=>(const FieldValue& a, const FieldValue& b);
};

} // namespace table
