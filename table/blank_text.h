#pragma once

#include <string_view>

namespace table {

// Blanks as the value conversions skip and trim them: space, tab, line feed, vertical tab,
// form feed and carriage return. Fixed here rather than asked of the C library, whose
// answer depends on the locale.
inline constexpr bool IsBlank(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// `text` without blanks at either end.
inline constexpr std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// `text` without spaces at either end: the padding of a stored field, other blanks kept.
inline constexpr std::string_view TrimSpaces(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

} // namespace table
