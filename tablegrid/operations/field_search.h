#pragma once

#include "table/date_format.h"
#include "tablegrid/operations/cell_match.h"

#include <cstdint>
#include <string>

namespace table {
class CTable;
}

namespace tablegrid {

// How one field of a table is searched, worked out once a search: a character field on its
// stored bytes, a one-byte logical and a memo by what they can show (true / false, <Memo>
// or nothing), a number or a date by its shown text only when the text looked for could be
// in it, other fields by their shown text.
class FieldSearch
{
public:
    FieldSearch(const table::CTable& table, int field, int decimals, table::DateFormat form,
        const CellMatcher& matcher);

    // Whether the field of the record the table is on matches.
    bool Matches(const table::CTable& table, const CellMatcher& matcher) const;
    // The text the field shows for the record the table is on (code page 1251): the value
    // in its display form with the decimals and date form given, blanks after it removed.
    std::string ShownText(const table::CTable& table) const;

    int Field() const { return m_field; }

private:
    enum class Kind { kStored, kLogical, kMemo, kShown, kNever };

    Kind m_kind = Kind::kNever;
    int m_field = -1;
    int m_decimals = 0;
    table::DateFormat m_form;
    std::uint32_t m_offset = 0;
    std::uint32_t m_width = 0;
    bool m_matchesTrue = false;
    bool m_matchesFalse = false;
    bool m_matchesMemo = false;
    bool m_matchesEmpty = false;
};

} // namespace tablegrid
