#pragma once

#include <map>
#include <string>

namespace platform {
class FileSystem;
}

namespace tablegrid {

// A named place in a table: a record and a field.
struct Bookmark
{
    int recordNumber = 0;
    std::string fieldName;

    friend bool operator==(const Bookmark&, const Bookmark&) = default;
};

// The bookmarks of one table window by name (names compared exactly, cp1251), and whether
// they changed since they were read, so that a file is written only for a table whose
// bookmarks the user changed.
class BookmarkMap
{
public:
    using Map = std::map<std::string, Bookmark>;

    void Set(const std::string& name, Bookmark bookmark);
    bool Delete(const std::string& name); // false when there is none of that name
    const Bookmark* Find(const std::string& name) const;
    const Map& All() const { return m_bookmarks; }
    bool Empty() const { return m_bookmarks.empty(); }
    bool Changed() const { return m_changed; }
    // As read from a file (not a change), or as kept across a reopening (`changed` as it
    // was).
    void Replace(Map bookmarks, bool changed = false);
    void MarkSaved() { m_changed = false; }

private:
    Map m_bookmarks;
    bool m_changed = false;
};

// The bookmark file of the tables of a directory: "Lumetta.cfg" there (an existing file of
// that name in any letter case is the one used), one section per table named by the table's
// file name without extension in upper case, keys BookmarkCount, then BookmarkName%i,
// BookmarkField%i and BookmarkRecord%i for i = 1..count.
class BookmarkFile
{
public:
    BookmarkFile(platform::FileSystem& fs, const std::string& tablePath);

    const std::string& Path() const { return m_path; }
    const std::string& Section() const { return m_section; }

    // What the file holds for the table: entries with a name, a field and a record number
    // other than 0 (a repeated name replaces the earlier one). A damaged file gives what can
    // be read of it; a missing one nothing.
    BookmarkMap::Map Load() const;
    // Writes the table's section anew; with no bookmarks left the section is removed.
    [[nodiscard]] bool Save(const BookmarkMap::Map& bookmarks) const;

private:
    platform::FileSystem& m_fs;
    std::string m_path;
    std::string m_section;
};

} // namespace tablegrid
