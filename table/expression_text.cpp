#include "table/expression_text.h"

#include "platform/code_page.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <utility>

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
    t.asciiCase = true;
    for (int i = 0; i < 0x80; ++i) {
        const bool small = i >= 'a' && i <= 'z';
        const bool capital = i >= 'A' && i <= 'Z';
        if (t.upper[i] != (small ? i - 32 : i) || t.lower[i] != (capital ? i + 32 : i))
            t.asciiCase = false;
    }
    return t;
}

constexpr std::uint64_t kHighBits = 0x8080808080808080u;
constexpr std::uint64_t kEachByte = 0x0101010101010101u;

std::uint64_t Load8(const char* at)
{
    std::uint64_t word;
    std::memcpy(&word, at, sizeof word);
    return word;
}

// 0x80 in each byte of `word` that is zero, 0 in every other byte. The sums stay within
// their bytes ((b & 0x7F) + 0x7F is at most 0xFE), so a byte's mark depends on it alone.
std::uint64_t ZeroBytes(std::uint64_t word)
{
    constexpr std::uint64_t kLowBits = ~kHighBits;
    return ~(((word & kLowBits) + kLowBits) | word | kLowBits);
}

// Of bytes marked as ZeroBytes marks them, the place in the text of the first one: word
// bytes are loaded in text order, so the first is the lowest byte on a little-endian machine
// and the highest on a big-endian one. REQUIRES: marks != 0.
std::size_t FirstMarkedByte(std::uint64_t marks)
{
    if constexpr (std::endian::native == std::endian::little)
        return static_cast<std::size_t>(std::countr_zero(marks)) / 8;
    else
        return static_cast<std::size_t>(std::countl_zero(marks)) / 8;
}

// The marks without the first one. REQUIRES: marks != 0.
std::uint64_t WithoutFirstMark(std::uint64_t marks)
{
    if constexpr (std::endian::native == std::endian::little)
        return marks & (marks - 1);
    else
        return marks & ~(std::uint64_t { 1 } << (63 - std::countl_zero(marks)));
}

// Eight bytes below 0x80 with the letters from `first` to `last` moved by 0x20 (to upper
// case for a..z, to lower case for A..Z). Each byte's sums stay below 0x100, so no carry
// crosses into its neighbour.
std::uint64_t FlipLetters(std::uint64_t word, unsigned char first, unsigned char last)
{
    const std::uint64_t fromFirst = word + kEachByte * (0x80u - first);
    const std::uint64_t pastLast = word + kEachByte * (0x80u - (last + 1u));
    const std::uint64_t letters = fromFirst & ~pastLast & kHighBits;
    return word ^ (letters >> 2);
}

} // namespace

void CaseMapped(std::string_view text, const LetterTables& letters, bool upper, std::string* out)
{
    const auto& map = upper ? letters.upper : letters.lower;
    const std::size_t n = text.size();
    out->resize(n);
    char* to = out->data();
    const char* from = text.data();
    if (!letters.asciiCase || n < 8) {
        for (std::size_t i = 0; i < n; ++i)
            to[i] = static_cast<char>(map[static_cast<unsigned char>(from[i])]);
        return;
    }
    // Eight bytes at a time; the last eight end at the text's end and may overlap the word
    // before, whose bytes are then mapped again from the text, alike.
    const unsigned char first = upper ? 'a' : 'A';
    const unsigned char last = upper ? 'z' : 'Z';
    for (std::size_t i = 0;; i += 8) {
        const std::size_t at = i + 8 <= n ? i : n - 8;
        const std::uint64_t word = Load8(from + at);
        if (word & kHighBits) {
            for (std::size_t k = at; k < at + 8; ++k)
                to[k] = static_cast<char>(map[static_cast<unsigned char>(from[k])]);
        } else {
            const std::uint64_t mapped = FlipLetters(word, first, last);
            std::memcpy(to + at, &mapped, sizeof mapped);
        }
        if (at + 8 == n)
            return;
    }
}

MappedSearch::MappedSearch(std::string needle, const std::array<unsigned char, 256>& map)
    : m_needle(std::move(needle))
    , m_map(map)
{
    if (m_needle.empty())
        return;
    const auto head = static_cast<unsigned char>(m_needle[0]);
    for (int b = 0; b < 256; ++b) {
        if (map[static_cast<std::size_t>(b)] != head)
            continue;
        if (m_startCount < 2)
            m_starts[m_startCount] = static_cast<unsigned char>(b);
        ++m_startCount;
    }
    if (m_startCount == 1)
        m_starts[1] = m_starts[0];
}

// The needle at `at`, its first byte already found to be one that maps to the needle's.
bool MappedSearch::MatchesAt(std::string_view text, std::size_t at) const
{
    for (std::size_t k = 1; k < m_needle.size(); ++k) {
        if (m_map[static_cast<unsigned char>(text[at + k])] != static_cast<unsigned char>(m_needle[k]))
            return false;
    }
    return true;
}

std::size_t MappedSearch::Find(std::string_view text) const
{
    const std::size_t m = m_needle.size();
    if (m == 0)
        return 0;
    if (m > text.size() || m_startCount == 0)
        return std::string_view::npos;
    const std::size_t starts = text.size() - m + 1; // the places the needle may start at
    std::size_t i = 0;
    if (m_startCount <= 2) {
        const std::uint64_t first = kEachByte * m_starts[0];
        const std::uint64_t second = kEachByte * m_starts[1];
        for (; i + 8 <= starts; i += 8) {
            const std::uint64_t word = Load8(text.data() + i);
            std::uint64_t found = ZeroBytes(word ^ first) | ZeroBytes(word ^ second);
            while (found != 0) {
                const std::size_t at = i + FirstMarkedByte(found);
                if (MatchesAt(text, at))
                    return at;
                found = WithoutFirstMark(found);
            }
        }
    }
    const auto head = static_cast<unsigned char>(m_needle[0]);
    for (; i < starts; ++i) {
        if (m_map[static_cast<unsigned char>(text[i])] == head && MatchesAt(text, i))
            return i;
    }
    return std::string_view::npos;
}

std::string_view TrimTrailingSpaces(std::string_view text)
{
    // Fields are padded with many blanks: eight at a time while they last.
    std::size_t n = text.size();
    while (n >= 8 && Load8(text.data() + n - 8) == kEachByte * ' ')
        n -= 8;
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

int CompareMapped(std::string_view text, const std::array<unsigned char, 256>& map,
                  std::string_view other)
{
    const std::size_t common = text.size() < other.size() ? text.size() : other.size();
    for (std::size_t i = 0; i < common; ++i) {
        const unsigned char a = map[static_cast<unsigned char>(text[i])];
        const auto b = static_cast<unsigned char>(other[i]);
        if (a != b)
            return a < b ? -1 : 1;
    }
    return text.size() < other.size() ? -1 : text.size() > other.size() ? 1 : 0;
}

const LetterTables& Letters(bool oem)
{
    static const LetterTables tables[2] = { BuildLetters(false), BuildLetters(true) };
    return tables[oem ? 1 : 0];
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
