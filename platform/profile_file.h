#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

class FileSystem;

// One "key=value" line of a section.
struct ProfileEntry
{
    std::string key;
    std::string value;
};

// A settings file in the INI layout the program has always used ("[Section]" heads, then
// "key=value" lines), read and written with the rules of the profile functions its files
// were first made with, so existing files behave as they did:
//
// - Section and key names match without regard to letter case (1251 case, so Cyrillic names
//   match too) and without the blanks around them. Values lose the blanks around them and
//   then one pair of matching quotes ('"' or '\'') enclosing them.
// - The first section of a name is the one read and written; within it, the first entry of
//   a key. Later duplicates are kept in the file but not seen.
// - Lines beginning with ';' are comments; lines of no known form are kept and ignored.
// - Every call reads the file afresh, and every write rewrites it at once: nothing is cached,
//   so two objects on one path never disagree. Setting many keys of one section is one
//   WriteSection rather than many WriteString calls.
// - A write keeps every other line as it was (order, comments, unknown lines) and writes all
//   line ends as CR LF. The file is created by the first write; its directory must exist. A
//   write replaces the file through a temporary file and one rename (platform/whole_file.h),
//   so a failed write leaves the old file whole.
// - A missing file reads as empty. A file that is there but cannot be read (or is over
//   kMaxFileSize) also reads as empty, and every write to it fails instead of replacing
//   what could not be read.
//
// Values cannot hold line breaks: a CR or LF in a written value becomes a blank, and a lone
// CR inside a line of the file reads as one. A value with blanks at either end, or enclosed
// in a matching pair of quotes, is written inside double quotes, so it reads back as it was
// written.
//
// The file system is not owned and must outlive the object.
class ProfileFile
{
public:
    static constexpr std::size_t kMaxFileSize = 16 * 1024 * 1024;

    ProfileFile(FileSystem& fs, std::string path);

    const std::string& Path() const { return m_path; }

    // The value of `key` in `section`; `defaultValue` when the file, the section or the key
    // is missing. A key present with an empty value gives the empty text.
    std::string GetString(
        std::string_view section, std::string_view key, std::string_view defaultValue) const;
    // The value read as a decimal integer: blanks, an optional sign, then the digits up to
    // the first other character ("42abc" is 42, "abc" is 0, "0x10" is 0); digits beyond the
    // range of 32 bits wrap around. `defaultValue` when the key is missing or its value is
    // empty.
    int GetInt(std::string_view section, std::string_view key, int defaultValue) const;
    // Every entry of the first section of that name, in file order, each key with the value
    // GetString would give for it (the first entry of a repeated key wins, the later ones
    // are left out); empty when the file or the section is missing. One read of the file
    // for a whole section.
    std::vector<ProfileEntry> ReadSection(std::string_view section) const;

    // Sets `key` in `section` to `value`. An existing entry is changed in place and keeps its
    // name's spelling; a new key goes after the section's last line that is not blank; a new
    // section goes at the end of the file.
    // Names empty, with line breaks, with '=' in `key` or ']' in `section`, or beginning with
    // ';' or '[' (they would read back as a comment or a section head) are refused (false).
    [[nodiscard]] bool WriteString(
        std::string_view section, std::string_view key, std::string_view value);
    // Replaces everything in `section` with `entries`, in their order; an empty list leaves
    // the section empty (its head stays). Creates the section when missing.
    [[nodiscard]] bool WriteSection(
        std::string_view section, const std::vector<ProfileEntry>& entries);
    // Removes every entry of `key` from the section, so no duplicate comes to light after.
    // True also when there was nothing to remove (and then nothing is written).
    [[nodiscard]] bool DeleteKey(std::string_view section, std::string_view key);
    // Removes every section of that name with all its lines. True also when there was none.
    [[nodiscard]] bool DeleteSection(std::string_view section);

private:
    FileSystem& m_fs;
    std::string m_path;
};

} // namespace platform
