#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace grid {

// The date forms the grid edits in, by index: 0 "YYYYMMDD", 1 "MM/DD/YY", 2 "MM/DD/YYYY",
// 3 "DD.MM.YY", 4 "DD.MM.YYYY" (the default). Any other index is read as form 4.
inline constexpr int kDefaultDateFormat = 4;

struct GridDate
{
    int year = 0;
    int month = 0;
    int day = 0;
};

// Reads a date in form `format`: each part is taken at its fixed position (separators are
// not looked at) as the digits after leading blanks; the text must be at least 8 characters,
// the day 1..31 (not checked against the month), the month 1..12, the year above 1000 or
// below 100, a two-digit year meaning 2000-2069 below 70 and 1970-1999 from 70.
std::optional<GridDate> ParseGridDate(std::string_view text, int format);

// `date` in form `format`; the short forms print the year modulo 100.
std::string FormatGridDate(const GridDate& date, int format);

// The display format of the date editor for `format`, empty for an unknown index.
const char* DateEditFormat(int format);

} // namespace grid
