#include "table/date_format.h"

#include "table/blank_text.h"

#include <charconv>

namespace table {

namespace {

// Where the parts of a date stand in the text of one form.
struct Part
{
    std::size_t pos;
    std::size_t length;
};
struct Layout
{
    Part year;
    Part month;
    Part day;
    char separator; // at positions 2 and 5 of an edited text; 0 for none
};

const Layout* LayoutOf(DateFormat form)
{
    static constexpr Layout kLayouts[] = {
        { { 0, 4 }, { 4, 2 }, { 6, 2 }, 0 }, // YYYYMMDD
        { { 6, 2 }, { 0, 2 }, { 3, 2 }, '/' }, // MM/DD/YY
        { { 6, 4 }, { 0, 2 }, { 3, 2 }, '/' }, // MM/DD/YYYY
        { { 6, 2 }, { 3, 2 }, { 0, 2 }, '.' }, // DD.MM.YY
        { { 6, 4 }, { 3, 2 }, { 0, 2 }, '.' }, // DD.MM.YYYY
    };
    const int index = static_cast<int>(form);
    return index >= 0 && index < 5 ? &kLayouts[index] : nullptr;
}

// The part's digits after its leading blanks; a non-digit ends them, and a part with no
// digits (all blank, or cut off by the end of the text) is 0. A part has at most four
// characters, so the value cannot overflow.
int PartValue(std::string_view text, Part part)
{
    if (part.pos >= text.size())
        return 0;
    std::string_view s = text.substr(part.pos, part.length);
    std::size_t i = 0;
    while (i < s.size() && IsBlank(s[i]))
        ++i;
    int value = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
        value = value * 10 + (s[i] - '0');
    return value;
}

// Appends `value` with at least `width` digits, zero-padded in front and never cut.
void AppendNumber(std::string& out, int value, int width)
{
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value < 0 ? 0 : value);
    const int length = static_cast<int>(result.ptr - digits);
    if (length < width)
        out.append(static_cast<std::size_t>(width - length), '0');
    out.append(digits, result.ptr);
}

} // namespace

std::optional<DateFormat> DateFormatFromNumber(int value)
{
    if (value < 0 || value > 4)
        return std::nullopt;
    return static_cast<DateFormat>(value);
}

bool ParseDate(std::string_view text, DateFormat form, CalendarDate* date)
{
    const Layout* layout = LayoutOf(form);
    if (!layout || text.size() < 8)
        return false;
    int year = PartValue(text, layout->year);
    const int month = PartValue(text, layout->month);
    const int day = PartValue(text, layout->day);
    if (day < 1 || day > 31 || month < 1 || month > 12 || !(year > 1000 || year < 100))
        return false;
    if (year < 100)
        year += year < 70 ? 2000 : 1900;
    *date = CalendarDate { year, month, day };
    return true;
}

std::string FormatDate(const CalendarDate& date, DateFormat form)
{
    std::string out;
    out.reserve(10);
    switch (form) {
    case DateFormat::kYyyyMmDd:
        AppendNumber(out, date.year, 4);
        AppendNumber(out, date.month, 2);
        AppendNumber(out, date.day, 2);
        break;
    case DateFormat::kMmDdYy:
    case DateFormat::kMmDdYyyy:
        AppendNumber(out, date.month, 2);
        out += '/';
        AppendNumber(out, date.day, 2);
        out += '/';
        if (form == DateFormat::kMmDdYy)
            AppendNumber(out, date.year % 100, 2);
        else
            AppendNumber(out, date.year, 4);
        break;
    case DateFormat::kDdMmYy:
    case DateFormat::kDdMmYyyy:
        AppendNumber(out, date.day, 2);
        out += '.';
        AppendNumber(out, date.month, 2);
        out += '.';
        if (form == DateFormat::kDdMmYy)
            AppendNumber(out, date.year % 100, 2);
        else
            AppendNumber(out, date.year, 4);
        break;
    }
    return out;
}

std::string StoredDateText(const CalendarDate& date)
{
    return FormatDate(date, DateFormat::kYyyyMmDd);
}

bool ValidateEditedDate(std::string& text, DateFormat form)
{
    const std::string_view trimmed = TrimBlanks(text);
    text = std::string(trimmed);
    const Layout* layout = LayoutOf(form);
    if (!layout)
        return false;
    if (layout->separator != 0
        && (text.size() < 6 || text[2] != layout->separator || text[5] != layout->separator))
        return false;
    CalendarDate date;
    return ParseDate(text, form, &date);
}

std::string StoredDateToDisplay(std::string_view stored, DateFormat form)
{
    CalendarDate date;
    return ParseDate(stored, DateFormat::kYyyyMmDd, &date) ? FormatDate(date, form) : std::string();
}

std::string DisplayDateToStored(std::string_view display, DateFormat form)
{
    CalendarDate date;
    return ParseDate(display, form, &date) ? StoredDateText(date) : std::string();
}

} // namespace table
