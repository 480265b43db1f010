#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

// Byte-level helpers of the expression evaluator: blanks, byte-wise order, letter case with
// and without the DOS code page, and "YYYYMMDD" dates. Numbers in stored text are read by
// table/leading_number.h, as field values read them.
namespace table {

std::string_view TrimTrailingSpaces(std::string_view text);
std::string_view TrimLeadingSpaces(std::string_view text);

// Byte-wise order of unsigned bytes; the first differing byte decides and a proper prefix
// is less. Negative, zero or positive.
int CompareBytes(std::string_view a, std::string_view b);

// Case and letter tables, one set for 1251 text and one for 866 text. The 866 set looks at
// each byte as its 1251 counterpart and maps back only letters whose case partner has an
// 866 byte, so bytes without a counterpart (box drawing and the like) are left untouched.
struct LetterTables
{
    std::array<unsigned char, 256> upper;
    std::array<unsigned char, 256> lower;
    std::array<bool, 256> isAlpha;
    std::array<bool, 256> isUpper;
    std::array<bool, 256> isLower;
    // Whether upper and lower treat the bytes below 0x80 as ASCII does (only a-z and A-Z
    // change), which lets CaseMapped convert eight such bytes at once.
    bool asciiCase;
};

// CompareBytes(mapped, other) where mapped is `text` with each byte replaced by its entry in
// `map`, without making the mapped text: the first differing byte decides, early.
int CompareMapped(std::string_view text, const std::array<unsigned char, 256>& map,
                  std::string_view other);

// `text` in upper case (letters.upper of each byte), or in lower case, written to `out`.
void CaseMapped(std::string_view text, const LetterTables& letters, bool upper, std::string* out);

// Built once on first use. `oem` selects the 866 set.
const LetterTables& Letters(bool oem);

// A text looked for in other texts as they read through a case table (letters.upper or
// letters.lower): Find(text) is where the needle first occurs in the text mapped byte by
// byte, as AT(needle, UPPER(text)) finds it, without making the mapped text. The bytes
// that map to the needle's first byte are worked out once, and eight bytes of a text are
// passed over at once when none of them is such a byte.
class MappedSearch
{
public:
    MappedSearch(std::string needle, const std::array<unsigned char, 256>& map);

    // The offset of the first occurrence; 0 for an empty needle; npos when there is none
    // (a text shorter than the needle included).
    std::size_t Find(std::string_view text) const;

private:
    bool MatchesAt(std::string_view text, std::size_t at) const;

    std::string m_needle;
    std::array<unsigned char, 256> m_map;
    unsigned char m_starts[2] = { 0, 0 }; // the bytes mapping to the needle's first
    int m_startCount = 0;                 // how many bytes do
};

struct DateParts
{
    int year = 0;
    int month = 0;
    int day = 0;
};

// Reads "YYYYMMDD" from the first eight bytes of `text`: all digits, month 1..12 and day
// 1..31 (a day past the month's end is taken as it stands, as stored dates are checked
// no further). False for blanks and anything else.
bool ParseDate8(std::string_view text, DateParts* date);

// Day of the week, 1 = Sunday .. 7 = Saturday, of a date read by ParseDate8.
int DayOfWeek(const DateParts& date);

} // namespace table
