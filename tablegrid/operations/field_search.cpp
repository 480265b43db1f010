#include "tablegrid/operations/field_search.h"

#include "table/field_value.h"
#include "table/table.h"

namespace tablegrid {

namespace {

// The characters a number or a date can show.
constexpr const char* kNumberCharacters = "0123456789.-+eEinfaINFA";
constexpr const char* kDateCharacters = "0123456789./";

} // namespace

FieldSearch::FieldSearch(const table::CTable& table, int field, int decimals,
    table::DateFormat form, const CellMatcher& matcher)
    : m_field(field)
    , m_decimals(decimals)
    , m_form(form)
{
    if (field < 0 || field >= table.FieldCount())
        return;
    const table::FieldLayout& layout = table.Fields()[static_cast<std::size_t>(field)];
    m_offset = layout.offset;
    m_width = layout.width;
    m_matchesEmpty = matcher.Matches("");
    switch (layout.def.type) {
    case 'C':
        m_kind = Kind::kStored;
        break;
    case 'L':
        // A one-byte logical is true for T or Y; a wider one is read as its value is.
        m_kind = m_width == 1 ? Kind::kLogical : Kind::kShown;
        m_matchesTrue = matcher.Matches("true");
        m_matchesFalse = matcher.Matches("false");
        break;
    case 'M':
        m_kind = Kind::kMemo;
        m_matchesMemo = matcher.Matches("<Memo>");
        break;
    case 'N':
    case 'F':
        m_kind = matcher.CanMatchTextOf(kNumberCharacters) || m_matchesEmpty ? Kind::kShown
                                                                             : Kind::kNever;
        break;
    case 'D':
        m_kind = matcher.CanMatchTextOf(kDateCharacters) || m_matchesEmpty ? Kind::kShown
                                                                           : Kind::kNever;
        break;
    default:
        m_kind = Kind::kShown;
        break;
    }
}

std::string FieldSearch::ShownText(const table::CTable& table) const
{
    std::string text = table.GetValue(m_field, true).DisplayText(m_decimals, m_form);
    const auto end = text.find_last_not_of(' ');
    text.erase(end == std::string::npos ? 0 : end + 1);
    return text;
}

bool FieldSearch::Matches(const table::CTable& table, const CellMatcher& matcher) const
{
    const std::uint8_t* bytes = table.RecordBuffer() + m_offset;
    switch (m_kind) {
    case Kind::kStored:
        return matcher.MatchesStored(bytes, m_width, table.CodePage());
    case Kind::kLogical: {
        const std::uint8_t c = bytes[0];
        const bool truth = c == 'T' || c == 't' || c == 'Y' || c == 'y';
        return truth ? m_matchesTrue : m_matchesFalse;
    }
    case Kind::kMemo: {
        bool blank = true;
        for (std::uint32_t i = 0; i < m_width && blank; ++i)
            blank = bytes[i] == ' ' || bytes[i] == 0;
        return blank ? m_matchesEmpty : m_matchesMemo;
    }
    case Kind::kShown:
        return matcher.Matches(ShownText(table));
    case Kind::kNever:
        return false;
    }
    return false;
}

} // namespace tablegrid
