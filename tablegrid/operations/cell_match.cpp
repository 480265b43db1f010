#include "tablegrid/operations/cell_match.h"

#include "platform/code_page.h"

namespace tablegrid {

namespace {

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

} // namespace

CellMatcher::CellMatcher(std::string findText, bool caseSensitive, bool wholeWord)
    : m_find(std::move(findText))
    , m_folded(m_find)
    , m_caseSensitive(caseSensitive)
    , m_wholeWord(wholeWord)
{
    if (!caseSensitive)
        platform::ToUpper1251(m_folded);
    for (int b = 0; b < 256; ++b) {
        auto ansi = static_cast<unsigned char>(b);
        auto oem = platform::OemToAnsiChar(ansi);
        if (!caseSensitive) {
            ansi = platform::ToUpper1251(ansi);
            oem = platform::ToUpper1251(oem);
        }
        m_ansiMap[static_cast<std::size_t>(b)] = ansi;
        m_oemMap[static_cast<std::size_t>(b)] = oem;
    }
}

bool CellMatcher::Matches(std::string_view shown) const
{
    std::string folded(shown);
    if (!m_caseSensitive)
        platform::ToUpper1251(folded);
    if (m_wholeWord)
        return TrimBlanks(folded) == m_folded;
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
    while (length > 0 && bytes[length - 1] == ' ')
        --length;
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
    const std::uint8_t head = needle[0];
    for (std::size_t i = 0; i + m <= length; ++i) {
        if (map[bytes[i]] != head)
            continue;
        std::size_t k = 1;
        while (k < m && map[bytes[i + k]] == needle[k])
            ++k;
        if (k == m)
            return true;
    }
    return false;
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
