// A settings file read, then written through: names and values taken from the input are
// written into it and must read back, and every other section must read as before. The
// same file is then read and written back as a bookmark file.
//
// Input: the file's bytes; after the part separator, lines "section", "key", "value" taken
// three at a time as writes.

#include "fuzz/fuzz_support.h"
#include "platform/profile_file.h"
#include "tablegrid/operations/bookmarks.h"

#include <algorithm>

namespace {

std::vector<std::string> Lines(std::string_view text)
{
    std::vector<std::string> lines;
    while (!text.empty() && lines.size() < 30) {
        const std::size_t end = text.find('\n');
        lines.emplace_back(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view {} : text.substr(end + 1);
    }
    return lines;
}

// The blanks the profile file trims from names and lines: space, tab and CR.
std::string Trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return std::string(text.substr(first, text.find_last_not_of(" \t\r") - first + 1));
}

// Section heads as the reader finds them (a trimmed line beginning with '[', the name up to
// the first ']', trimmed): the names a reader would ask for.
std::vector<std::string> SectionNames(std::string_view file)
{
    std::vector<std::string> names;
    for (const std::string& raw : Lines(file)) {
        const std::string line = Trimmed(raw);
        const std::size_t close = line.find(']');
        if (!line.empty() && line.front() == '[' && close != std::string::npos)
            names.push_back(Trimmed(std::string_view(line).substr(1, close - 1)));
    }
    return names;
}

std::string Blanked(std::string value)
{
    std::replace(value.begin(), value.end(), '\r', ' ');
    std::replace(value.begin(), value.end(), '\n', ' ');
    return value;
}

bool SameEntries(const std::vector<platform::ProfileEntry>& a, const std::vector<platform::ProfileEntry>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const auto& x, const auto& y) { return x.key == y.key && x.value == y.value; });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto [file, writes] = fuzzing::SplitParts(data, size);
    fuzzing::ClearScratch();
    const std::string& dir = fuzzing::ScratchDir();
    const std::string path = dir + "Lumetta.ini";
    fuzzing::WriteFile(path, file);
    fuzzing::WriteFile(dir + "Lumetta.cfg", file);
    platform::FileSystem& fs = platform::FileSystem::Default();
    platform::ProfileFile profile(fs, path);

    const std::vector<std::string> sections = SectionNames(file);
    for (const std::string& section : sections) {
        for (const platform::ProfileEntry& e : profile.ReadSection(section)) {
            fuzzing::Require(profile.GetString(section, e.key, "\x01") == e.value,
                             "a section's entry reads otherwise by its key");
            (void)profile.GetInt(section, e.key, 7);
        }
    }

    const std::vector<std::string> parts = Lines(writes);
    for (std::size_t i = 0; i + 2 < parts.size(); i += 3) {
        const std::string& section = parts[i];
        const std::string& key = parts[i + 1];
        const std::string& value = parts[i + 2];
        std::vector<std::vector<platform::ProfileEntry>> others;
        for (const std::string& s : sections)
            others.push_back(profile.ReadSection(s));
        if (!profile.WriteString(section, key, value))
            continue;
        fuzzing::Require(profile.GetString(section, key, "\x01") == Trimmed(Blanked(value))
                             || profile.GetString(section, key, "\x01") == Blanked(value),
                         "a written value reads back otherwise");
        const std::string written = Trimmed(section);
        for (std::size_t s = 0; s < sections.size(); ++s) {
            if (Trimmed(sections[s]).size() == written.size())
                continue; // may be the section written, in another letter case
            fuzzing::Require(SameEntries(profile.ReadSection(sections[s]), others[s]),
                             "a write changed another section");
        }
    }

    tablegrid::BookmarkFile bookmarks(fs, dir + "t.dbf");
    const tablegrid::BookmarkMap::Map loaded = bookmarks.Load();
    if (bookmarks.Save(loaded))
        fuzzing::Require(bookmarks.Load() == loaded, "bookmarks saved do not load back as they were");
    return 0;
}
