#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace table {

// The user's choice of how dates are shown and typed. The numbers are what the settings
// file keeps. Tables always store dates as "YYYYMMDD", which is form 0.
enum class DateFormat {
    kYyyyMmDd = 0, // "YYYYMMDD"
    kMmDdYy = 1, // "MM/DD/YY"
    kMmDdYyyy = 2, // "MM/DD/YYYY"
    kDdMmYy = 3, // "DD.MM.YY"
    kDdMmYyyy = 4, // "DD.MM.YYYY"
};

inline constexpr DateFormat kDefaultDateFormat = DateFormat::kDdMmYyyy;

// The form kept under `value` in the settings, or nothing when the number names no form.
std::optional<DateFormat> DateFormatFromNumber(int value);

// A date as parsing found it. Parsing checks the month and keeps the day within 1..31
// without looking at the month's length, so 31 February is a CalendarDate.
struct CalendarDate
{
    int year = 0;
    int month = 0;
    int day = 0;

    friend bool operator==(const CalendarDate&, const CalendarDate&) = default;
};

// Reads a date typed or stored in `form`. The parts are taken at fixed positions of the
// form (so the separators are not looked at), each as the digits that follow leading
// blanks. The text must be at least 8 characters long; the day must be 1..31, the month
// 1..12, and the year above 1000 or below 100. A two-digit year is widened: below 70 to
// the 2000s, otherwise to the 1900s. On failure `date` is left as it was.
[[nodiscard]] bool ParseDate(std::string_view text, DateFormat form, CalendarDate* date);

// `date` printed in `form`; the short forms print the year modulo 100.
std::string FormatDate(const CalendarDate& date, DateFormat form);

// `date` in the stored form "YYYYMMDD".
std::string StoredDateText(const CalendarDate& date);

// Checks a date the user edited: trims blanks from both ends of `text` (in place, whatever
// the outcome), requires the separators of the form at positions 2 and 5 ('/' for the
// MM/DD forms, '.' for the DD.MM forms, none for form 0) and then a successful parse.
[[nodiscard]] bool ValidateEditedDate(std::string& text, DateFormat form);

// A stored "YYYYMMDD" date as shown in `form`; empty when it does not parse.
std::string StoredDateToDisplay(std::string_view stored, DateFormat form);

// A date shown in `form` back in the stored form; empty when it does not parse.
std::string DisplayDateToStored(std::string_view display, DateFormat form);

} // namespace table
