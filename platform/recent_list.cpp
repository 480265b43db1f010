#include "platform/recent_list.h"

#include "platform/profile_file.h"

#include <algorithm>
#include <cassert>

namespace platform {
namespace {

std::string EntryKey(std::size_t index)
{
    return "File" + std::to_string(index + 1);
}

} // namespace

void RecentList::Add(const std::string& path)
{
    if (path.empty())
        return;
    // Paths are compared exactly: the names of this system's files differ by letter case,
    // so "/data/Goods.dbf" and "/data/GOODS.DBF" can be two tables, and both belong in
    // the list.
    const auto found = std::find(m_entries.begin(), m_entries.end(), path);
    if (found != m_entries.end())
        m_entries.erase(found);
    m_entries.insert(m_entries.begin(), path);
    if (m_entries.size() > kMaxEntries)
        m_entries.resize(kMaxEntries);
}

void RecentList::Remove(std::size_t index)
{
    assert(index < m_entries.size());
    m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(index));
}

void RecentList::Read(const ProfileFile& file)
{
    m_entries.clear();
    for (std::size_t i = 0; i < kMaxEntries; ++i) {
        const std::string path = file.GetString(kSection, EntryKey(i), {});
        if (!path.empty() && std::find(m_entries.begin(), m_entries.end(), path) == m_entries.end())
            m_entries.push_back(path);
    }
}

bool RecentList::Write(ProfileFile& file) const
{
    std::vector<ProfileEntry> entries;
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        entries.push_back({ EntryKey(i), m_entries[i] });
    return file.WriteSection(kSection, entries);
}

std::string RecentList::MenuText(std::size_t index) const
{
    assert(index < m_entries.size());
    const std::size_t number = index + 1;
    std::string text = number < 10 ? "&" + std::to_string(number) + " "
        : number == 10             ? std::string("1&0 ")
                                   : std::to_string(number) + " ";
    for (const char c : AbbreviatePath(m_entries[index], kMenuTextLength)) {
        if (c == '&')
            text += '&';
        text += c;
    }
    return text;
}

std::string AbbreviatePath(std::string_view path, std::size_t maxLength)
{
    if (path.size() <= maxLength)
        return std::string(path);
    if (path.size() > 1 && path.back() == '/') {
        if (maxLength == 0)
            return std::string(path);
        return AbbreviatePath(path.substr(0, path.size() - 1), maxLength - 1) + '/';
    }

    // The separators before the name; `slashes.back()` is the one just before it.
    std::vector<std::size_t> slashes;
    for (std::size_t at = path.find('/'); at != std::string_view::npos; at = path.find('/', at + 1))
        slashes.push_back(at);
    const std::string_view name = path.substr(slashes.empty() ? 0 : slashes.back() + 1);
    if (slashes.size() < 2)
        return std::string(name); // no directory to drop

    // A head of `kept` directories ends at slashes[kept]; a tail starting at slashes[from]
    // with from > kept drops at least the directory between them. The longer head is
    // preferred, then the longer tail.
    const std::size_t last = slashes.size() - 1;
    for (std::size_t kept = std::min<std::size_t>(2, last - 1) + 1; kept-- > 0;) {
        for (std::size_t from = kept + 1; from <= last; ++from) {
            const std::size_t headLength = slashes[kept];
            const std::size_t tailLength = path.size() - slashes[from];
            if (headLength + 4 + tailLength <= maxLength) {
                return std::string(path.substr(0, headLength)) + "/..."
                    + std::string(path.substr(slashes[from]));
            }
        }
    }
    return std::string(name);
}

} // namespace platform
