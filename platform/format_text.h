#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace platform {

// One value for a slot of a resource text: a text or an integer.
class FormatArg
{
public:
    FormatArg(std::string_view text)
        : m_text(text)
        , m_isText(true)
    { }
    FormatArg(const char* text)
        : FormatArg(std::string_view(text))
    { }
    FormatArg(const std::string& text)
        : FormatArg(std::string_view(text))
    { }
    FormatArg(long long number)
        : m_number(number)
    { }
    FormatArg(int number)
        : m_number(number)
    { }
    FormatArg(unsigned number)
        : m_number(number)
    { }
    FormatArg(long number)
        : m_number(number)
    { }
    FormatArg(unsigned long number)
        : m_number(static_cast<long long>(number))
    { }

    bool IsText() const { return m_isText; }
    std::string_view Text() const { return m_text; }
    long long Number() const { return m_number; }

private:
    std::string_view m_text;
    long long m_number = 0;
    bool m_isText = false;
};

// Fills the slots of a resource text with `args` in order, as the platform's formatted
// printing does for the slots resource texts use: %s, %d, %i and %u, with the flag '-'
// (left-align) or '0' (zero-pad numbers) and a width ("%3d", "%11s"); "%%" gives '%'.
// A text may come from a language file, so it is never trusted: a slot whose argument is
// missing and any other conversion are copied as written, and a slot takes any argument
// (a number in a %s slot is written in decimal, a text in a %d slot as it is), so a faulty
// translation shows a wrong text at worst. Arguments that texts refer to must outlive the
// call. Numbers are written with no grouping, whatever the locale.
std::string FormatText(std::string_view format, std::initializer_list<FormatArg> args);

} // namespace platform
