#include "table/leading_number.h"

#include "table/blank_text.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <system_error>

namespace table {
namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

double LeadingNumber(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size() && IsBlank(s[i]))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    const std::size_t mantissaStart = i;
    // Decimal order of the first significant digit, for numbers out of a double's range.
    long order = 0;
    bool significant = false;
    // Up to 15 digits the mantissa is an exact integer and 10^decimals an exact double, so
    // one division rounds correctly: the same result as the general parse, much cheaper.
    // Filters read every record's numbers this way.
    std::uint64_t mantissa = 0;
    int digits = 0;
    int decimals = 0;
    for (; i < s.size() && IsDigit(s[i]); ++i, ++digits) {
        significant = significant || s[i] != '0';
        if (significant)
            ++order;
        if (digits < 15)
            mantissa = mantissa * 10 + static_cast<unsigned>(s[i] - '0');
    }
    if (i < s.size() && s[i] == '.') {
        for (++i; i < s.size() && IsDigit(s[i]); ++i, ++digits, ++decimals) {
            if (!significant && s[i] == '0')
                --order;
            significant = significant || s[i] != '0';
            if (digits < 15)
                mantissa = mantissa * 10 + static_cast<unsigned>(s[i] - '0');
        }
    }
    if (digits == 0)
        return 0;
    std::size_t end = i;
    long exponent = 0;
    bool hasExponent = false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        const bool negativeExponent = j < s.size() && s[j] == '-';
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        if (j < s.size() && IsDigit(s[j])) {
            for (; j < s.size() && IsDigit(s[j]); ++j)
                exponent = std::min(exponent * 10 + (s[j] - '0'), 100000L);
            end = j;
            hasExponent = true;
            if (negativeExponent)
                exponent = -exponent;
        }
    }
    double value = 0;
    if (!hasExponent && digits <= 15) {
        static constexpr double kPowers[] = { 1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9,
            1e10, 1e11, 1e12, 1e13, 1e14, 1e15 };
        value = static_cast<double>(mantissa) / kPowers[decimals];
    } else {
        const auto result = std::from_chars(
            s.data() + mantissaStart, s.data() + end, value, std::chars_format::general);
        if (result.ec == std::errc::result_out_of_range)
            value = order + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

} // namespace table
