#include "table/field_codec.h"

#include "table/blank_text.h"
#include "table/date_format.h"

#include <algorithm>

namespace table {

namespace {

bool IsNumericChar(char c)
{
    return c == ' ' || c == '+' || c == '-' || c == '.' || (c >= '0' && c <= '9');
}

// Copies at most `width` bytes of `text` to the start of the field and pads with spaces.
void PutLeftAligned(std::string_view text, std::size_t width, std::uint8_t* bytes)
{
    const std::size_t n = std::min(text.size(), width);
    std::copy_n(text.begin(), n, bytes);
    std::fill_n(bytes + n, width - n, ' ');
}

// Checks the whole text before the first byte is touched, so a refused text leaves the
// field as it was.
bool PutNumber(std::string_view text, std::size_t width, std::size_t decimals, std::uint8_t* bytes)
{
    if (text.size() > width || !std::all_of(text.begin(), text.end(), IsNumericChar))
        return false;
    const std::size_t dot = text.find('.');
    const std::size_t integerLength = dot == std::string_view::npos ? text.size() : dot;
    if (decimals == 0) {
        // The fraction, if any, is dropped; what stands before the point goes to the right.
        std::fill_n(bytes, width - integerLength, ' ');
        std::copy_n(text.begin(), integerLength, bytes + width - integerLength);
        return true;
    }
    // The field's point has `decimals` places after it; what stands before the text's point
    // must end just before it. A field without room for the point takes nothing, and an
    // integer part that does not fit would spill out of the field.
    if (width < decimals + 1)
        return false;
    const std::size_t point = width - decimals - 1;
    if (integerLength > point)
        return false;
    const std::string_view fraction
        = dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1);
    std::fill_n(bytes, point - integerLength, ' ');
    std::copy_n(text.begin(), integerLength, bytes + point - integerLength);
    bytes[point] = '.';
    // Surplus fraction digits are dropped, not rounded: the field keeps what was typed.
    for (std::size_t k = 0; k < decimals; ++k)
        bytes[point + 1 + k] = static_cast<std::uint8_t>(k < fraction.size() ? fraction[k] : '0');
    return true;
}

bool IsLogicalStart(char c)
{
    return std::string_view("?FNTYfnty").find(c) != std::string_view::npos;
}

} // namespace

FieldValue ReadFieldValue(const FieldDef& field, const std::uint8_t* fieldBytes)
{
    const std::string_view stored(reinterpret_cast<const char*>(fieldBytes), field.StorageWidth());
    FieldValue value;
    // A stored text that is no value of its type still gives the value Assign leaves for
    // it (type 0 for a bad date, false for a '?' logical), which is what callers compare
    // and show.
    static_cast<void>(value.Assign(field.type, stored, DateFormat::kYyyyMmDd));
    return value;
}

bool WriteFieldText(const FieldDef& field, std::string_view text, std::uint8_t* fieldBytes)
{
    const std::size_t width = field.StorageWidth();
    switch (field.type) {
    case 'N':
    case 'F':
        return PutNumber(text, width, field.decimals, fieldBytes);
    case 'C':
        PutLeftAligned(text, width, fieldBytes);
        return true;
    case 'D': {
        // A blank text clears the date. Any other text must name a date, which is stored
        // in its one canonical form, so "2001 1 1" does not reach the file as typed.
        if (TrimBlanks(text).empty()) {
            PutLeftAligned({}, width, fieldBytes);
            return true;
        }
        CalendarDate date;
        if (!ParseDate(text, DateFormat::kYyyyMmDd, &date))
            return false;
        PutLeftAligned(StoredDateText(date), width, fieldBytes);
        return true;
    }
    case 'L':
        if (text.empty() || !IsLogicalStart(text.front()))
            return false;
        PutLeftAligned(text, width, fieldBytes);
        return true;
    default:
        return false;
    }
}

} // namespace table
