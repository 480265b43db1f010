#include "tablegrid/operations/cell_match.h"

#include "platform/code_page.h"
#include "table/blank_text.h"

namespace tablegrid {

namespace {

std::string Folded(std::string text, bool caseSensitive)
{
    if (!caseSensitive)
        platform::ToUpper1251(text);
    return text;
}

// Stored byte -> shown byte, folded unless case-sensitive: bytes as they are for tables
// without a DOS code page, 866 bytes turned into 1251 ones for the others.
std::array<std::uint8_t, 256> ShownBytes(bool oem, bool caseSensitive)
{
    std::array<std::uint8_t, 256> map {};
    for (int b = 0; b < 256; ++b) {
        auto shown = static_cast<unsigned char>(b);
        if (oem)
            shown = platform::OemToAnsiChar(shown);
        if (!caseSensitive)
            shown = platform::ToUpper1251(shown);
        map[static_cast<std::size_t>(b)] = shown;
    }
    return map;
}

} // namespace

CellMatcher::CellMatcher(std::string findText, bool caseSensitive, bool wholeWord)
    : m_find(std::move(findText))
    , m_folded(Folded(m_find, caseSensitive))
    , m_caseSensitive(caseSensitive)
    , m_wholeWord(wholeWord)
    , m_ansiMap(ShownBytes(false, caseSensitive))
    , m_oemMap(ShownBytes(true, caseSensitive))
    , m_ansiSearch(m_folded, m_ansiMap)
    , m_oemSearch(m_folded, m_oemMap)
{
}

bool CellMatcher::Matches(std::string_view shown) const
{
    std::string folded(shown);
    if (!m_caseSensitive)
        platform::ToUpper1251(folded);
    if (m_wholeWord)
        return table::TrimSpaces(folded) == m_folded;
    return folded.find(m_folded) != std::string::npos;
}

const std::array<std::uint8_t, 256>& CellMatcher::MapFor(table::CodePageId codePage) const
{
    return table::IsOemCodePage(codePage) ? m_oemMap : m_ansiMap;
}

bool CellMatcher::MatchesStored(const std::uint8_t* bytes, std::size_t length,
    table::CodePageId codePage) const
{
    // The shown text ends at the last byte that is not a blank.
    length = table::TrimTrailingSpaces(
        std::string_view(reinterpret_cast<const char*>(bytes), length)).size();
    const auto& map = MapFor(codePage);
    const auto* needle = reinterpret_cast<const std::uint8_t*>(m_folded.data());
    const std::size_t m = m_folded.size();
    if (m_wholeWord) {
        std::size_t first = 0;
        while (first < length && bytes[first] == ' ')
            ++first;
        if (length - first != m)
            return false;
        for (std::size_t k = 0; k < m; ++k) {
            if (map[bytes[first + k]] != needle[k])
                return false;
        }
        return true;
    }
    if (m == 0)
        return true;
    if (m > length)
        return false;
    // The same bytes shown as stored: the library's search.
    if (m_caseSensitive && !table::IsOemCodePage(codePage)) {
        const std::string_view haystack(reinterpret_cast<const char*>(bytes), length);
        return haystack.find(m_folded) != std::string_view::npos;
    }
    const table::MappedSearch& search = table::IsOemCodePage(codePage) ? m_oemSearch : m_ansiSearch;
    return search.Find(std::string_view(reinterpret_cast<const char*>(bytes), length))
        != std::string_view::npos;
}

bool CellMatcher::CanMatchTextOf(std::string_view alphabet) const
{
    std::string folded(alphabet);
    if (!m_caseSensitive)
        platform::ToUpper1251(folded);
    for (const char c : m_folded) {
        if (folded.find(c) == std::string::npos)
            return false;
    }
    return true;
}

} // namespace tablegrid
