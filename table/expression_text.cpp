#include "table/expression_text.h"

#include "platform/code_page.h"

#include <cstring>

namespace table {

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

LetterTables BuildLetters(bool oem)
{
    LetterTables t {};
    for (int i = 0; i < 256; ++i) {
        const auto c = static_cast<unsigned char>(i);
        const unsigned char ansi = oem ? platform::OemToAnsiChar(c) : c;
        t.isAlpha[i] = platform::IsAlpha1251(ansi);
        t.isUpper[i] = platform::IsUpper1251(ansi);
        t.isLower[i] = platform::IsLower1251(ansi);
        t.upper[i] = platform::ToUpper1251(ansi);
        t.lower[i] = platform::ToLower1251(ansi);
        if (oem) {
            // Back to 866 only when the partner letter exists there; otherwise keep the byte.
            for (auto* mapped : { &t.upper[i], &t.lower[i] }) {
                if (*mapped == ansi) {
                    *mapped = c;
                    continue;
                }
                const unsigned char back = platform::AnsiToOemChar(*mapped);
                *mapped = platform::OemToAnsiChar(back) == *mapped ? back : c;
            }
        }
    }
    return t;
}

} // namespace

std::string_view TrimTrailingSpaces(std::string_view text)
{
    std::size_t n = text.size();
    while (n > 0 && text[n - 1] == ' ')
        --n;
    return text.substr(0, n);
}

std::string_view TrimLeadingSpaces(std::string_view text)
{
    std::size_t n = 0;
    while (n < text.size() && text[n] == ' ')
        ++n;
    return text.substr(n);
}

int CompareBytes(std::string_view a, std::string_view b)
{
    const std::size_t common = a.size() < b.size() ? a.size() : b.size();
    if (common > 0) {
        const int c = std::memcmp(a.data(), b.data(), common);
        if (c != 0)
            return c;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

const LetterTables& Letters(bool oem)
{
    static const LetterTables ansiTables = BuildLetters(false);
    static const LetterTables oemTables = BuildLetters(true);
    return oem ? oemTables : ansiTables;
}

bool ParseDate8(std::string_view text, DateParts* date)
{
    if (text.size() < 8)
        return false;
    int parts[3] = { 0, 0, 0 };
    const int widths[3] = { 4, 2, 2 };
    std::size_t pos = 0;
    for (int p = 0; p < 3; ++p) {
        for (int k = 0; k < widths[p]; ++k, ++pos) {
            if (!IsDigit(text[pos]))
                return false;
            parts[p] = parts[p] * 10 + (text[pos] - '0');
        }
    }
    if (parts[1] < 1 || parts[1] > 12 || parts[2] < 1 || parts[2] > 31)
        return false;
    date->year = parts[0];
    date->month = parts[1];
    date->day = parts[2];
    return true;
}

int DayOfWeek(const DateParts& date)
{
    // Days since 1970-01-01 in the proleptic Gregorian calendar, counted from March so that
    // the leap day ends the year; a day past the month's end simply runs into the next.
    const int y = date.year - (date.month <= 2 ? 1 : 0);
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yearOfEra = y - era * 400;
    const int shiftedMonth = date.month > 2 ? date.month - 3 : date.month + 9;
    const int dayOfYear = (153 * shiftedMonth + 2) / 5 + date.day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    const long days = static_cast<long>(era) * 146097 + dayOfEra - 719468;
    // 1970-01-01 was a Thursday, the fifth day counting from Sunday.
    const long weekday = ((days + 4) % 7 + 7) % 7;
    return static_cast<int>(weekday) + 1;
}

} // namespace table
