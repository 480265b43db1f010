#include "table/expression_functions.h"

#include "platform/clock.h"
#include "table/expression_text.h"
#include "table/leading_number.h"

#include <algorithm>
#include <charconv>
#include <cmath>

// What each function computes, once the arguments are evaluated and of the right types.
namespace table {

namespace {

constexpr std::string_view kDayNames[]
    = { "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday" };
constexpr std::string_view kMonthNames[] = { "January", "February", "March", "April", "May", "June",
    "July", "August", "September", "October", "November", "December" };

// The most decimals STR prints; more would only show the binary noise of a double.
constexpr long long kMaxStrDecimals = 18;

// A count or position from a number: truncated toward zero and held within
// -1 .. kMaxTextLength + 1, which keeps every later size computation in range.
long long Count(double value)
{
    const double limit = static_cast<double>(kMaxTextLength) + 1;
    if (value < -1)
        return -1;
    if (value > limit)
        return static_cast<long long>(limit);
    return static_cast<long long>(std::trunc(value));
}

bool Finite(double value, ExprValue* out)
{
    out->number = value;
    return std::isfinite(value);
}

void WriteDigits(int value, int width, char* at)
{
    for (int i = width - 1; i >= 0; --i, value /= 10)
        at[i] = static_cast<char>('0' + value % 10);
}

} // namespace

bool FunctionNode::CallNumber(const ExprValue* args, ExprValue* out)
{
    const double x = args[0].number;
    switch (m_info.id) {
    case FunctionId::kLen:
        out->number = static_cast<double>(TrimTrailingSpaces(args[0].text).size());
        return true;
    case FunctionId::kAt: {
        const std::string_view needle = args[0].text;
        const std::string_view haystack = args[1].text;
        std::size_t position = 0;
        if (haystack.size() >= needle.size()) {
            const std::size_t found = haystack.find(needle);
            position = found == std::string_view::npos ? 0 : found + 1;
        }
        out->number = static_cast<double>(position);
        return true;
    }
    case FunctionId::kAbs:
        return Finite(std::fabs(x), out);
    case FunctionId::kAsc:
        out->number = args[0].text.empty() ? 0 : static_cast<unsigned char>(args[0].text[0]);
        return true;
    case FunctionId::kExp:
        return Finite(std::exp(x), out);
    case FunctionId::kInt:
        return Finite(std::trunc(x), out);
    case FunctionId::kLog:
        return Finite(std::log(x), out);
    case FunctionId::kSqrt:
        return Finite(std::sqrt(x), out);
    case FunctionId::kVal:
        return Finite(LeadingNumber(args[0].text), out);
    case FunctionId::kMax:
        out->number = std::max(x, args[1].number);
        return true;
    case FunctionId::kMin:
        out->number = std::min(x, args[1].number);
        return true;
    default:
        return false;
    }
}

// DAY, DOW, MONTH and YEAR of a "YYYYMMDD" text; a blank or bad date gives 0.
bool FunctionNode::CallDate(const ExprValue* args, ExprValue* out)
{
    DateParts date;
    if (!ParseDate8(args[0].text, &date)) {
        out->number = 0;
        return true;
    }
    switch (m_info.id) {
    case FunctionId::kDay:
        out->number = date.day;
        break;
    case FunctionId::kDow:
        out->number = DayOfWeek(date);
        break;
    case FunctionId::kMonth:
        out->number = date.month;
        break;
    default:
        out->number = date.year;
        break;
    }
    return true;
}

bool FunctionNode::CallText(const EvalContext& context, const ExprValue* args, ExprValue* out)
{
    const std::string_view text = args[0].text;
    switch (m_info.id) {
    case FunctionId::kIsAlpha:
    case FunctionId::kIsLower:
    case FunctionId::kIsUpper: {
        const LetterTables& letters = Letters(context.oem);
        const auto& test = m_info.id == FunctionId::kIsAlpha ? letters.isAlpha
            : m_info.id == FunctionId::kIsLower              ? letters.isLower
                                                             : letters.isUpper;
        out->logical = !text.empty() && test[static_cast<unsigned char>(text[0])];
        return true;
    }
    case FunctionId::kDtoc:
        out->text = text;
        return true;
    case FunctionId::kStr:
        return Str(args, out);
    case FunctionId::kTrim:
    case FunctionId::kRtrim:
        out->text = TrimTrailingSpaces(text);
        return true;
    case FunctionId::kLtrim:
        out->text = TrimLeadingSpaces(text);
        return true;
    case FunctionId::kLeft:
    case FunctionId::kRight: {
        const long long n = Count(args[1].number);
        const std::size_t take = n <= 0 ? 0 : std::min<std::size_t>(n, text.size());
        out->text = m_info.id == FunctionId::kLeft ? text.substr(0, take)
                                                   : text.substr(text.size() - take);
        return true;
    }
    case FunctionId::kSubstr: {
        const long long start = Count(args[1].number);
        if (start < 1)
            return false;
        if (static_cast<std::size_t>(start) > text.size()) {
            out->text = text.substr(text.size());
            return true;
        }
        std::string_view rest = text.substr(static_cast<std::size_t>(start) - 1);
        if (m_arguments.size() == 3) {
            const long long n = Count(args[2].number);
            rest = rest.substr(0, n <= 0 ? 0 : static_cast<std::size_t>(n));
        }
        out->text = rest;
        return true;
    }
    case FunctionId::kMax:
    case FunctionId::kMin: {
        const int order = CompareBytes(text, args[1].text);
        const bool takeLeft = m_info.id == FunctionId::kMax ? order >= 0 : order <= 0;
        out->text = takeLeft ? text : args[1].text;
        return true;
    }
    case FunctionId::kCdow:
    case FunctionId::kCmonth: {
        DateParts date;
        if (!ParseDate8(text, &date))
            out->text = {};
        else if (m_info.id == FunctionId::kCdow)
            out->text = kDayNames[DayOfWeek(date) - 1];
        else
            out->text = kMonthNames[date.month - 1];
        return true;
    }
    case FunctionId::kChr: {
        const double code = std::trunc(args[0].number);
        if (code < 0 || code > 255)
            return false;
        m_scratch.assign(1, static_cast<char>(static_cast<unsigned char>(code)));
        out->text = m_scratch;
        return true;
    }
    case FunctionId::kDate: {
        const platform::CalendarDate today = platform::Today();
        m_scratch.assign(8, '0');
        WriteDigits(today.year, 4, m_scratch.data());
        WriteDigits(today.month, 2, m_scratch.data() + 4);
        WriteDigits(today.day, 2, m_scratch.data() + 6);
        out->text = m_scratch;
        return true;
    }
    case FunctionId::kReplicate:
        return Repeat(text, args[1].number, out);
    case FunctionId::kSpace:
        return Repeat(" ", args[0].number, out);
    default:
        return false;
    }
}

// `unit` written `count` times; a count of zero or less gives the empty text, a result
// beyond kMaxTextLength fails.
bool FunctionNode::Repeat(std::string_view unit, double count, ExprValue* out)
{
    const long long n = Count(count);
    m_scratch.clear();
    if (n > 0 && !unit.empty()) {
        if (unit.size() * static_cast<std::size_t>(n) > kMaxTextLength)
            return false;
        for (long long i = 0; i < n; ++i)
            m_scratch.append(unit);
    }
    out->text = m_scratch;
    return true;
}

// STR(x [, width [, decimals]]): a text (a numeric field as stored) is left-aligned and
// padded to the width; a number is printed with the decimals and right-aligned. Either is
// all asterisks when it does not fit. The width defaults to 10 and must lie in
// 1..kMaxTextLength.
//
// A text longer than the width first loses leading blanks, as many as it must and has: a
// numeric field wider than 10 stores its value right-aligned behind blanks, and cutting
// the whole text to asterisks would give every record of such a field the same index key.
bool FunctionNode::Str(const ExprValue* args, ExprValue* out)
{
    long long width = static_cast<long long>(kStrDefaultWidth);
    if (m_arguments.size() >= 2) {
        width = Count(args[1].number);
        if (width < 1 || width > static_cast<long long>(kMaxTextLength))
            return false;
    }
    const auto w = static_cast<std::size_t>(width);

    std::string_view shown;
    char digits[400]; // 309 integer digits of the largest double, the point and the decimals
    if (args[0].type == 'C') {
        shown = args[0].text;
        while (shown.size() > w && shown.front() == ' ')
            shown.remove_prefix(1);
    } else {
        long long decimals = m_arguments.size() == 3 ? Count(args[2].number) : 0;
        decimals = std::clamp(decimals, 0LL, kMaxStrDecimals);
        const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, args[0].number,
            std::chars_format::fixed, static_cast<int>(decimals));
        if (ec != std::errc())
            return false;
        shown = std::string_view(digits, static_cast<std::size_t>(end - digits));
        // A value that rounds to zero prints without a sign.
        if (shown.front() == '-' && shown.find_first_not_of("-0.") == std::string_view::npos)
            shown.remove_prefix(1);
    }

    if (shown.size() > w) {
        m_scratch.assign(w, '*');
    } else if (args[0].type == 'C') {
        m_scratch.assign(shown);
        m_scratch.resize(w, ' ');
    } else {
        m_scratch.assign(w - shown.size(), ' ');
        m_scratch.append(shown);
    }
    out->text = m_scratch;
    return true;
}

} // namespace table
