#include "table/field_value.h"

#include "table/blank_text.h"
#include "table/leading_number.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace table {

namespace {

// The logical words, matched without regard to case.
bool ReadLogical(std::string_view text, bool* logical)
{
    static constexpr std::string_view kTrue[] = { "TRUE", ".TRUE.", ".T.", "T", "Y" };
    static constexpr std::string_view kFalse[] = { "FALSE", ".FALSE.", ".F.", "F", "N" };
    const auto matches = [text](std::string_view word) {
        return std::equal(text.begin(), text.end(), word.begin(), word.end(), [](char a, char b) {
            return (a >= 'a' && a <= 'z' ? static_cast<char>(a - 'a' + 'A') : a) == b;
        });
    };
    if (std::any_of(std::begin(kTrue), std::end(kTrue), matches)) {
        *logical = true;
        return true;
    }
    if (std::any_of(std::begin(kFalse), std::end(kFalse), matches)) {
        *logical = false;
        return true;
    }
    return false;
}

// `number` with `decimals` decimals and '.' as the point, padded in front to `width`
// characters when width is 1 or more. Without a width the number takes just the room it
// needs: it is never padded, so a tiny fraction like 0.001 shows as "0", not "0 ".
std::string NumberText(double number, int width, int decimals)
{
    const int precision = std::max(decimals, 0);
    // Fixed notation of the largest double: a sign, 309 digits and the point.
    constexpr int kIntegerRoom = 312;
    constexpr int kStackPrecision = 256; // a descriptor's decimal count is one byte
    std::array<char, kIntegerRoom + kStackPrecision> onStack;
    std::string onHeap;
    char* first = onStack.data();
    char* last = first + onStack.size();
    if (precision > kStackPrecision) {
        onHeap.resize(static_cast<std::size_t>(kIntegerRoom) + precision);
        first = onHeap.data();
        last = first + onHeap.size();
    }
    const auto result = std::to_chars(first, last, number, std::chars_format::fixed, precision);
    if (result.ec != std::errc())
        return {};
    const std::size_t length = static_cast<std::size_t>(result.ptr - first);
    const std::size_t padding
        = width > 0 && static_cast<std::size_t>(width) > length ? width - length : 0;
    std::string out;
    out.reserve(padding + length);
    out.append(padding, ' ');
    out.append(first, length);
    return out;
}

} // namespace

bool FieldValue::Assign(char fieldType, std::string_view in, DateFormat form)
{
    // Reset without giving up the strings' storage, so a value reused across records does
    // not allocate again.
    text.clear();
    number = 0;
    date.assign(kEpochDate);
    logical = false;
    switch (fieldType) {
    case 0:
        type = 0;
        return true;
    case 'C':
    case 'M':
        type = fieldType;
        text.assign(in);
        return true;
    case 'D': {
        type = 'D';
        if (in.empty()) {
            date.clear();
            return true;
        }
        CalendarDate parsed;
        if (ParseDate(in, form, &parsed)) {
            date = StoredDateText(parsed);
            return true;
        }
        date.clear();
        type = 0;
        return false;
    }
    case 'L':
        type = 'L';
        return ReadLogical(in, &logical);
    case 'N':
    case 'F':
        type = 'N';
        number = LeadingNumber(in);
        return true;
    default:
        type = 0;
        return false;
    }
}

std::string FieldValue::Text(int width, int decimals, DateFormat form) const
{
    switch (type) {
    case 'C':
    case 'M':
        return width >= 0 ? text.substr(0, static_cast<std::size_t>(width)) : text;
    case 'D':
        return StoredDateToDisplay(date, form);
    case 'L':
        return logical ? ".T." : ".F.";
    case 'N':
        return NumberText(number, width, decimals);
    default:
        return {};
    }
}

std::string FieldValue::DisplayText(int decimals, DateFormat form) const
{
    switch (type) {
    case 'L':
        return logical ? "true" : "false";
    case 'M':
        return TrimBlanks(text).empty() ? std::string() : std::string("<Memo>");
    default:
        return Text(-1, decimals, form);
    }
}

bool operator==(const FieldValue& a, const FieldValue& b)
{
    return (a <=> b) == 0;
}

std::partial_ordering operator<=>(const FieldValue& a, const FieldValue& b)
{
    if (a.type != b.type)
        return std::partial_ordering::unordered;
    // std::string_view compares through char_traits<char>, which orders bytes as unsigned
    // char, so Cyrillic bytes sort after ASCII; a proper prefix is less.
    switch (a.type) {
    case 'C':
    case 'M':
        return std::string_view(a.text) <=> std::string_view(b.text);
    case 'D':
        return std::string_view(a.date) <=> std::string_view(b.date);
    case 'L':
        return a.logical <=> b.logical;
    case 'N':
        return a.number <=> b.number;
    default:
        return std::partial_ordering::unordered;
    }
}

} // namespace table
