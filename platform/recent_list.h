#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class ProfileFile;

// The list of recently opened tables and classifier directories (a directory entry ends in
// '/'), most recent first, at most kMaxEntries long, kept in the settings file under
// "Recent File List" as File1 (the most recent) to File16. Entries are never empty and
// never repeat.
class RecentList
{
public:
    static constexpr std::size_t kMaxEntries = 16;
    static constexpr std::size_t kMenuTextLength = 30;
    static constexpr std::string_view kSection = "Recent File List";

    // Puts `path` first; an entry already listed moves to the front rather than repeating,
    // and the oldest entry drops out when the list is full. An empty path is ignored.
    void Add(const std::string& path);
    // REQUIRES: index < Size().
    void Remove(std::size_t index);

    std::size_t Size() const { return m_entries.size(); }
    const std::string& At(std::size_t index) const { return m_entries.at(index); }
    const std::vector<std::string>& Entries() const { return m_entries; }

    // Replaces the list with File1..File16 of the settings file. Missing or empty keys are
    // skipped and repeats dropped, so a hand-edited file with gaps still shows every entry.
    void Read(const ProfileFile& file);
    // Replaces the section with the list, File1 first; an empty list leaves it empty.
    [[nodiscard]] bool Write(ProfileFile& file) const;

    // The File menu's text of entry `index`: its number as the mnemonic ("&1 " .. "&9 ",
    // "1&0 ", then "11 " .. "16 " without one) and the path shortened by AbbreviatePath to
    // kMenuTextLength, with each '&' doubled so it shows as itself.
    // REQUIRES: index < Size().
    std::string MenuText(std::size_t index) const;

private:
    std::vector<std::string> m_entries;
};

// A path shortened for a menu to at most `maxLength` characters (bytes of the program's
// text) by putting "..." in place of directories in its middle:
//
// - a path that fits is shown whole;
// - otherwise the result is a head, "/...", and a tail. The tail is the file name with as
//   many of the directories just before it as fit. The head is the path's first two
//   directories ("/home/u"), or only the first, or only the root, the longest of these that
//   still leaves room for "/..." and the name, and always leaving at least one directory to
//   drop: "/home/u/projects/stock/2023/december/goods.dbf" -> "/home/u/.../december/goods.dbf";
// - when not even "/.../" and the name fit, the file name alone is shown, however long: it
//   is never cut, since it is what tells the entries apart.
//
// A directory entry (ending in '/') is shortened as the same path without the '/', which is
// then put back, so its own name plays the part of the file name.
std::string AbbreviatePath(std::string_view path, std::size_t maxLength);

} // namespace platform
