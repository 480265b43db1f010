#pragma once

// The fast forms of a field's text (field_text.h), shared by the field texts and the export's
// line writer so that both inline them: checks that stored bytes are already in the form
// their value prints as, and the conversions that copy them out.

#include "platform/code_page.h"
#include "table/date_format.h"
#include "table/field_def.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tablegrid::field_text_fast {

using table::DateFormat;

// The most digits a double carries exactly through a decimal text and back.
inline constexpr std::size_t kExactDigits = 15;

inline bool IsDigit(std::uint8_t c)
{
    return c >= '0' && c <= '9';
}

inline bool IsAllBlank(const std::uint8_t* bytes, std::size_t width)
{
    return std::all_of(bytes, bytes + width, [](std::uint8_t c) { return c == ' '; });
}

// What a field's stored bytes can take of the fast forms: character text, a memo's block
// number, a number or a date to be checked, a one-byte logical; any other field (a date or
// logical of another width, a type without fast forms) only the value route.
enum class FastForm : std::uint8_t { kText, kMemo, kNumber, kDate, kLogical, kValueOnly };

inline FastForm FastFormOf(const table::FieldLayout& field)
{
    switch (field.def.type) {
    case 'C': return FastForm::kText;
    case 'N':
    case 'F': return FastForm::kNumber;
    case 'D': return field.width == 8 ? FastForm::kDate : FastForm::kValueOnly;
    case 'L': return field.width == 1 ? FastForm::kLogical : FastForm::kValueOnly;
    default: return field.def.IsMemoType() ? FastForm::kMemo : FastForm::kValueOnly;
    }
}

// Copies a field's `width` bytes with a few fixed-size moves (the last one overlapping the
// one before) rather than a call: fields are short.
inline void CopyField(char* out, const std::uint8_t* bytes, std::size_t width)
{
    if (width >= 16) {
        for (std::size_t i = 0; i + 16 < width; i += 16)
            std::memcpy(out + i, bytes + i, 16);
        std::memcpy(out + width - 16, bytes + width - 16, 16);
    } else if (width >= 8) {
        std::memcpy(out, bytes, 8);
        std::memcpy(out + width - 8, bytes + width - 8, 8);
    } else if (width >= 4) {
        std::memcpy(out, bytes, 4);
        std::memcpy(out + width - 4, bytes + width - 4, 4);
    } else {
        for (std::size_t i = 0; i < width; ++i)
            out[i] = static_cast<char>(bytes[i]);
    }
}

// Whether a number field holds exactly what its value prints as in the field's width:
// right-aligned, an optional minus, digits without leading zeros, the point in its place
// with all its decimals, and few enough digits for a double to carry them exactly.
// `readableBefore`: how many bytes before `bytes` may be read (the field's offset in its
// record), so that a short field can be looked at eight bytes at a time too.
inline bool IsCanonicalNumber(const std::uint8_t* bytes, std::size_t width, std::size_t decimals,
    std::size_t readableBefore = 0)
{
    // Read from the right, where the digits are: the decimals and the point, the integer
    // digits, a minus, and spaces for the rest, eight bytes at a time where there are eight.
    if (decimals > 0 && width < decimals + 2)
        return false;
    const std::size_t point = decimals > 0 ? width - decimals - 1 : width;
    if (decimals > 0) {
        if (bytes[point] != '.')
            return false;
        for (std::size_t i = point + 1; i < width; ++i) {
            if (!IsDigit(bytes[i]))
                return false;
        }
    }
    static_assert(std::endian::native == std::endian::little, "words are read low byte first");
    constexpr std::uint64_t kSpaces = 0x2020202020202020u;
    auto wordBefore = [&](std::size_t end) {
        std::uint64_t word;
        std::memcpy(&word, bytes + end - 8, 8);
        return word;
    };
    std::size_t start = point;
    while (start > 0) {
        if (start + readableBefore < 8) {
            while (start > 0 && IsDigit(bytes[start - 1]))
                --start;
            break;
        }
        // Each byte not a digit gets its top bit set (no byte carries into the next), and
        // the digits at the top are counted at once; bytes before the field may be digits
        // too, so the count stops at the field's start.
        const std::uint64_t a = wordBefore(start) ^ 0x3030303030303030u;
        const std::uint64_t notDigit
            = (((a & 0x7F7F7F7F7F7F7F7Fu) + 0x7676767676767676u) | a) & 0x8080808080808080u;
        const std::size_t digits
            = notDigit == 0 ? 8 : static_cast<std::size_t>(__builtin_clzll(notDigit)) / 8;
        if (digits < 8 || start <= 8) {
            start -= std::min(digits, start);
            break;
        }
        start -= 8;
    }
    const std::size_t integerDigits = point - start;
    if (integerDigits == 0 || integerDigits + decimals > kExactDigits
        || (integerDigits > 1 && bytes[start] == '0'))
        return false;
    if (start > 0 && bytes[start - 1] == '-')
        --start;
    // The rest is spaces: whole words, then the last word (its bytes before the field not
    // compared), or byte by byte.
    std::size_t i = 0;
    for (; i + 8 <= start; i += 8) {
        if (wordBefore(i + 8) != kSpaces)
            return false;
    }
    if (i == start)
        return true;
    if (start + readableBefore >= 8) {
        const std::uint64_t mask = ~std::uint64_t { 0 } << (8 * (8 - (start - i)));
        return ((wordBefore(start) ^ kSpaces) & mask) == 0;
    }
    for (; i < start; ++i) {
        if (bytes[i] != ' ')
            return false;
    }
    return true;
}

inline int TwoDigits(const std::uint8_t* p)
{
    return (p[0] - '0') * 10 + (p[1] - '0');
}

// A stored date of eight digits naming a date as the value reads it unchanged: a year past
// 1000 (earlier two-digit years are widened), a month 1-12 and a day 1-31.
inline bool IsCanonicalDate(const std::uint8_t* bytes, std::size_t width)
{
    if (width != 8)
        return false;
    // All eight digits at once, as the number check does.
    std::uint64_t word;
    std::memcpy(&word, bytes, 8);
    const std::uint64_t a = word ^ 0x3030303030303030u;
    if (((((a & 0x7F7F7F7F7F7F7F7Fu) + 0x7676767676767676u) | a) & 0x8080808080808080u) != 0)
        return false;
    const int year = TwoDigits(bytes) * 100 + TwoDigits(bytes + 2);
    const int month = TwoDigits(bytes + 4);
    const int day = TwoDigits(bytes + 6);
    return year > 1000 && month >= 1 && month <= 12 && day >= 1 && day <= 31;
}


// 866 to 1251 byte by byte through one table in this file, rather than a call per byte.
inline const std::array<char, 256>& OemToAnsiTable()
{
    static const std::array<char, 256> table = [] {
        std::array<char, 256> bytes {};
        for (int c = 0; c < 256; ++c)
            bytes[static_cast<std::size_t>(c)]
                = static_cast<char>(platform::OemToAnsiChar(static_cast<unsigned char>(c)));
        return bytes;
    }();
    return table;
}

// 866 text to 1251, sixteen bytes at a time where that can be done without the table: the
// bytes below 0x80 stay, and the letters move by a fixed step (0x80-0xAF to 0xC0-0xEF, 0xE0-0xEF
// to 0xF0-0xFF); sixteen bytes holding anything else (pseudographics, the letter yo) go through
// the table. A field of sixteen bytes or more ends with its sixteen last ones, overlapping the
// part before: those bytes are simply converted twice, alike. Shorter fields go through eight
// bytes at a time in the same way, or the table.
inline void PutOemAsAnsi(const std::uint8_t* bytes, std::uint32_t width, char* out)
{
    using Bytes16 = std::uint8_t __attribute__((vector_size(16)));
    const std::array<char, 256>& map = OemToAnsiTable();
    auto byTable = [&](std::uint32_t from, std::uint32_t to) {
        for (std::uint32_t j = from; j < to; ++j)
            out[j] = map[bytes[j]];
    };
    if (width >= 16) {
        for (std::uint32_t i = 0;; i += 16) {
            const std::uint32_t at = i + 16 <= width ? i : width - 16;
            Bytes16 v;
            std::memcpy(&v, bytes + at, 16);
            const Bytes16 high = v >= 0x80;
            const Bytes16 upper = (v - 0x80) <= 0x2F; // А-Я and а-п
            const Bytes16 lower = (v - 0xE0) <= 0x0F; // р-я
            const Bytes16 other = high & ~upper & ~lower;
            std::uint64_t halves[2];
            std::memcpy(halves, &other, 16);
            if ((halves[0] | halves[1]) == 0) {
                const Bytes16 converted = v + (upper & 0x40) + (lower & 0x10);
                std::memcpy(out + at, &converted, 16);
            } else {
                byTable(at, at + 16);
            }
            if (at + 16 >= width)
                return;
        }
    }
    if (width < 8) {
        byTable(0, width);
        return;
    }
    for (std::uint32_t i = 0;; i += 8) {
        const std::uint32_t at = i + 8 <= width ? i : width - 8;
        std::uint64_t word;
        std::memcpy(&word, bytes + at, 8);
        if ((word & 0x8080808080808080u) == 0)
            std::memcpy(out + at, &word, 8);
        else
            byTable(at, at + 8);
        if (at + 8 >= width)
            return;
    }
}

inline char* PutDate(const std::uint8_t* d, DateFormat form, char* out)
{
    auto put = [&out](const std::uint8_t* from, int n) {
        std::memcpy(out, from, static_cast<std::size_t>(n));
        out += n;
    };
    const char separator = form == DateFormat::kMmDdYy || form == DateFormat::kMmDdYyyy ? '/' : '.';
    switch (form) {
    case DateFormat::kYyyyMmDd:
        put(d, 8);
        break;
    case DateFormat::kMmDdYy:
    case DateFormat::kMmDdYyyy:
        put(d + 4, 2);
        *out++ = separator;
        put(d + 6, 2);
        *out++ = separator;
        form == DateFormat::kMmDdYy ? put(d + 2, 2) : put(d, 4);
        break;
    case DateFormat::kDdMmYy:
    case DateFormat::kDdMmYyyy:
        put(d + 6, 2);
        *out++ = separator;
        put(d + 4, 2);
        *out++ = separator;
        form == DateFormat::kDdMmYy ? put(d + 2, 2) : put(d, 4);
        break;
    }
    return out;
}

} // namespace tablegrid::field_text_fast
