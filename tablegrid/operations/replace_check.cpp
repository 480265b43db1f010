#include "tablegrid/operations/replace_check.h"

#include "platform/code_page.h"
#include "table/field_codec.h"

#include <vector>

namespace tablegrid {

namespace {

std::string Trim(const std::string& text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool IsNumberText(const std::string& text, bool withDecimals)
{
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;
    bool digit = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        if (text[i] >= '0' && text[i] <= '9') {
            digit = true;
        } else if (text[i] == '.' && withDecimals && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digit;
}

} // namespace

std::optional<std::string> ReplaceFirst(const std::string& shown, const std::string& findText,
    const std::string& replaceText, bool caseSensitive)
{
    std::string haystack = shown;
    std::string needle = findText;
    if (!caseSensitive) {
        platform::ToUpper1251(haystack);
        platform::ToUpper1251(needle);
    }
    const auto at = haystack.find(needle);
    if (at == std::string::npos || needle.empty())
        return std::nullopt;
    std::string replaced = shown;
    replaced.replace(at, findText.size(), replaceText);
    return replaced;
}

bool IsValidReplacement(const table::FieldDef& field, table::DateFormat form,
    const std::string& findText, const std::string& replaceText, const std::string& newText)
{
    switch (field.type) {
    case 'D': {
        if (Trim(newText).empty())
            return true;
        table::CalendarDate date;
        return table::ParseDate(Trim(newText), form, &date)
            && table::FormatDate(date, form) == Trim(newText);
    }
    case 'L':
        return (findText == "true" || findText == "false")
            && (replaceText == "true" || replaceText == "false");
    case 'N':
    case 'F': {
        const std::string number = Trim(newText);
        if (number.empty())
            return true;
        if (!IsNumberText(number, field.decimals > 0))
            return false;
        // The field must hold it as it is.
        std::vector<std::uint8_t> bytes(field.StorageWidth(), ' ');
        return table::WriteFieldText(field, number, bytes.data());
    }
    case 'C':
        return newText.size() <= field.StorageWidth();
    default:
        return false;
    }
}

} // namespace tablegrid
