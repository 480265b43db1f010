#include "tablegrid/operations/bookmarks.h"

#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/profile_file.h"

#include <unordered_map>

namespace tablegrid {

namespace {

constexpr const char* kFileName = "Lumetta.cfg";
// Texts the profile functions could not return whole (their buffer of 4096 bytes).
constexpr std::size_t kLongestValue = 4093;

std::string Upper(std::string text)
{
    platform::ToUpper1251(text);
    return text;
}

// The decimal number at the start of `text` (blanks and a sign first), 0 when there is none
// or it is out of range.
int ReadNumber(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT32_MAX)
            return 0;
    }
    return static_cast<int>(negative ? -value : value);
}

} // namespace

void BookmarkMap::Set(const std::string& name, Bookmark bookmark)
{
    m_bookmarks[name] = std::move(bookmark);
    m_changed = true;
}

bool BookmarkMap::Delete(const std::string& name)
{
    if (m_bookmarks.erase(name) == 0)
        return false;
    m_changed = true;
    return true;
}

const Bookmark* BookmarkMap::Find(const std::string& name) const
{
    const auto found = m_bookmarks.find(name);
    return found == m_bookmarks.end() ? nullptr : &found->second;
}

void BookmarkMap::Replace(Map bookmarks, bool changed)
{
    m_bookmarks = std::move(bookmarks);
    m_changed = changed;
}

BookmarkFile::BookmarkFile(platform::FileSystem& fs, const std::string& tablePath)
    : m_fs(fs)
    , m_section(Upper(platform::BaseNameOf(tablePath)))
{
    const std::string directory = platform::DirectoryOf(tablePath);
    m_path = platform::FindEntryNoCase(fs, directory, kFileName).value_or(directory + kFileName);
}

// The section is read in one pass, and the count is believed only as far as entries exist,
// so a damaged count cannot make the reading long.
BookmarkMap::Map BookmarkFile::Load() const
{
    const platform::ProfileFile file(m_fs, m_path);
    std::unordered_map<std::string, std::string> values;
    for (platform::ProfileEntry& entry : file.ReadSection(m_section))
        values.emplace(Upper(entry.key), std::move(entry.value));
    auto value = [&](const std::string& key) -> std::string {
        const auto found = values.find(Upper(key));
        if (found == values.end() || found->second.size() > kLongestValue)
            return {};
        return found->second;
    };
    BookmarkMap::Map bookmarks;
    const int count = ReadNumber(value("BookmarkCount"));
    for (int i = 1; i <= count && static_cast<std::size_t>(i) <= values.size(); ++i) {
        const std::string n = std::to_string(i);
        std::string name = value("BookmarkName" + n);
        std::string field = value("BookmarkField" + n);
        const int record = ReadNumber(value("BookmarkRecord" + n));
        if (name.empty() || field.empty() || record == 0)
            continue;
        bookmarks[std::move(name)] = Bookmark { record, std::move(field) };
    }
    return bookmarks;
}

bool BookmarkFile::Save(const BookmarkMap::Map& bookmarks) const
{
    platform::ProfileFile file(m_fs, m_path);
    if (bookmarks.empty())
        return file.DeleteSection(m_section);
    std::vector<platform::ProfileEntry> entries;
    entries.push_back({ "BookmarkCount", std::to_string(bookmarks.size()) });
    int i = 0;
    for (const auto& [name, bookmark] : bookmarks) {
        const std::string n = std::to_string(++i);
        entries.push_back({ "BookmarkName" + n, name });
        entries.push_back({ "BookmarkField" + n, bookmark.fieldName });
        entries.push_back({ "BookmarkRecord" + n, std::to_string(bookmark.recordNumber) });
    }
    return file.WriteSection(m_section, entries);
}

} // namespace tablegrid
