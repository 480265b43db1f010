#pragma once

#include "table/code_page_id.h"
#include "table/expression_text.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tablegrid {

// The search's test of one cell. A cell matches when the text looked for occurs in the text
// the grid shows for it (with whole word: equals that text without the blanks around it),
// letter case folded by the program's 1251 case unless the search is case-sensitive.
//
// Besides the shown text (Matches), a character field can be tested on its stored bytes, in
// its own code page, without making the shown text (MatchesStored); and a kind of cell
// whose shown texts are made only of some characters (numbers, dates) can be ruled out at
// once when the text looked for holds others (CanMatchTextOf). Both give what Matches
// would give for the shown text.
class CellMatcher
{
public:
    // `findText` in code page 1251.
    CellMatcher(std::string findText, bool caseSensitive, bool wholeWord);

    // `shown` in code page 1251.
    bool Matches(std::string_view shown) const;
    // The stored bytes of a character field (blanks after the text included), in the
    // table's code page: the shown text is those bytes without the blanks after them, as
    // 1251 text.
    bool MatchesStored(const std::uint8_t* bytes, std::size_t length, table::CodePageId codePage) const;
    // False when no text made only of the characters of `alphabet` can match.
    bool CanMatchTextOf(std::string_view alphabet) const;

    const std::string& FindText() const { return m_find; }

private:
    const std::array<std::uint8_t, 256>& MapFor(table::CodePageId codePage) const;

    std::string m_find;   // as given
    std::string m_folded; // upper case unless case-sensitive
    bool m_caseSensitive;
    bool m_wholeWord;
    // Stored byte -> shown (folded) byte, for tables without a DOS code page and for 866.
    std::array<std::uint8_t, 256> m_ansiMap {};
    std::array<std::uint8_t, 256> m_oemMap {};
    // The folded text looked for in stored bytes through each map.
    table::MappedSearch m_ansiSearch;
    table::MappedSearch m_oemSearch;
};

} // namespace tablegrid
