#include "platform/profile_file.h"

#include "platform/code_page.h"
#include "platform/whole_file.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <unordered_set>

namespace platform {
namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool SameName(std::string_view a, std::string_view b)
{
    a = Trim(a);
    b = Trim(b);
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (ToUpper1251(static_cast<unsigned char>(a[i]))
            != ToUpper1251(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

// The name of a "[name]" head line; nothing for any other line. Text after the ']' is
// ignored, so a head may carry a remark.
std::optional<std::string_view> SectionHead(std::string_view line)
{
    line = Trim(line);
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    const auto close = line.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return Trim(line.substr(1, close - 1));
}

// Splits a "key=value" line at its first '='. Comments, heads and lines without '=' are
// not entries.
bool SplitEntry(std::string_view line, std::string_view* key, std::string_view* value)
{
    line = Trim(line);
    if (line.empty() || line.front() == ';' || line.front() == '[')
        return false;
    const auto equals = line.find('=');
    if (equals == std::string_view::npos)
        return false;
    *key = Trim(line.substr(0, equals));
    *value = Trim(line.substr(equals + 1));
    return true;
}

std::string_view Unquote(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'')
        && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// A value as read: a lone CR inside the line (a file edited by hand) reads as the blank a
// write would make of it, so that whatever is read can be written back unchanged.
std::string ReadValue(std::string_view value)
{
    std::string text(Unquote(value));
    std::replace(text.begin(), text.end(), '\r', ' ');
    return text;
}

// The value as it goes into the file: on one line, and quoted where reading would
// otherwise lose something (see the class comment).
std::string EncodeValue(std::string_view value)
{
    std::string text(value);
    for (char& c : text) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    const bool needsQuotes = !text.empty()
        && (IsBlank(text.front()) || IsBlank(text.back()) || Unquote(text).size() != text.size());
    return needsQuotes ? '"' + text + '"' : text;
}

std::string EntryLine(std::string_view key, std::string_view value)
{
    std::string line(Trim(key));
    line += '=';
    line += EncodeValue(value);
    return line;
}

// The file as a list of lines without their line ends, and the sections found in it.
class ProfileText
{
public:
    explicit ProfileText(std::string_view text)
    {
        while (!text.empty()) {
            const auto newline = text.find('\n');
            std::string_view line = text.substr(0, newline);
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            m_lines.emplace_back(line);
            if (newline == std::string_view::npos)
                break;
            text.remove_prefix(newline + 1);
        }
    }

    std::string Text() const
    {
        std::string text;
        for (const std::string& line : m_lines) {
            text += line;
            text += "\r\n";
        }
        return text;
    }

    // A section: its head line and the end of its body (the next head, or the end).
    struct Range
    {
        std::size_t head = 0;
        std::size_t end = 0;
    };

    std::optional<Range> FindSection(std::string_view name, std::size_t from = 0) const
    {
        for (std::size_t i = from; i < m_lines.size(); ++i) {
            const auto head = SectionHead(m_lines[i]);
            if (head && SameName(*head, name))
                return Range { i, BodyEnd(i) };
        }
        return std::nullopt;
    }

    // The line of the first entry of `key` in the body of `range`, with the entry's value
    // and its name as the file spells it.
    std::optional<std::size_t> FindKey(Range range, std::string_view key,
        std::string_view* value = nullptr, std::string_view* spelling = nullptr) const
    {
        for (std::size_t i = range.head + 1; i < range.end; ++i) {
            std::string_view name, text;
            if (SplitEntry(m_lines[i], &name, &text) && SameName(name, key)) {
                if (value)
                    *value = text;
                if (spelling)
                    *spelling = name;
                return i;
            }
        }
        return std::nullopt;
    }

    // Where a line added to the section goes: after its last line that is not blank, so
    // the blank lines that part it from the next section stay where they are.
    std::size_t InsertionPoint(Range range) const
    {
        std::size_t at = range.end;
        while (at > range.head + 1 && Trim(m_lines[at - 1]).empty())
            --at;
        return at;
    }

    void AppendSection(std::string_view name, const std::vector<std::string>& body)
    {
        if (!m_lines.empty() && !Trim(m_lines.back()).empty())
            m_lines.emplace_back();
        m_lines.push_back('[' + std::string(Trim(name)) + ']');
        m_lines.insert(m_lines.end(), body.begin(), body.end());
    }

    std::vector<std::string>& Lines() { return m_lines; }

private:
    std::size_t BodyEnd(std::size_t head) const
    {
        std::size_t end = head + 1;
        while (end < m_lines.size() && !SectionHead(m_lines[end]))
            ++end;
        return end;
    }

    std::vector<std::string> m_lines;
};

// A name the reader would take for a comment or a section head, were it written at the start
// of a line: "[T]k=1" would hide a later real [T] section, ";k=1" would read as nothing.
bool StartsAsCommentOrHead(std::string_view name)
{
    const std::string_view trimmed = Trim(name);
    return !trimmed.empty() && (trimmed.front() == ';' || trimmed.front() == '[');
}

bool ValidSectionName(std::string_view name)
{
    return !Trim(name).empty() && name.find_first_of("]\r\n") == std::string_view::npos
        && !StartsAsCommentOrHead(name);
}

bool ValidKeyName(std::string_view key)
{
    return !Trim(key).empty() && key.find_first_of("=\r\n") == std::string_view::npos
        && !StartsAsCommentOrHead(key);
}

} // namespace

ProfileFile::ProfileFile(FileSystem& fs, std::string path)
    : m_fs(fs)
    , m_path(std::move(path))
{ }

std::string ProfileFile::GetString(
    std::string_view section, std::string_view key, std::string_view defaultValue) const
{
    std::string content;
    if (ReadWholeFile(m_fs, m_path, kMaxFileSize, &content) != WholeFileRead::kRead)
        return std::string(defaultValue);
    const ProfileText text(content);
    const auto range = text.FindSection(section);
    std::string_view value;
    if (!range || !text.FindKey(*range, key, &value))
        return std::string(defaultValue);
    return ReadValue(value);
}

std::vector<ProfileEntry> ProfileFile::ReadSection(std::string_view section) const
{
    std::vector<ProfileEntry> entries;
    std::string content;
    if (ReadWholeFile(m_fs, m_path, kMaxFileSize, &content) != WholeFileRead::kRead)
        return entries;
    ProfileText text(content);
    const auto range = text.FindSection(section);
    if (!range)
        return entries;
    std::unordered_set<std::string> seen; // the names in upper case, as they match
    for (std::size_t i = range->head + 1; i < range->end; ++i) {
        std::string_view name, value;
        if (!SplitEntry(text.Lines()[i], &name, &value))
            continue;
        std::string upper(name);
        ToUpper1251(upper);
        if (seen.insert(std::move(upper)).second)
            entries.push_back({ std::string(name), ReadValue(value) });
    }
    return entries;
}

int ProfileFile::GetInt(std::string_view section, std::string_view key, int defaultValue) const
{
    const std::string text = GetString(section, key, {});
    std::string_view rest = Trim(text);
    if (rest.empty())
        return defaultValue;
    bool negative = false;
    if (rest.front() == '+' || rest.front() == '-') {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    // Unsigned arithmetic wraps where a signed one would overflow.
    std::uint32_t number = 0;
    for (const char c : rest) {
        if (c < '0' || c > '9')
            break;
        number = number * 10u + static_cast<std::uint32_t>(c - '0');
    }
    if (negative)
        number = 0u - number;
    return static_cast<int>(number);
}

bool ProfileFile::WriteString(
    std::string_view section, std::string_view key, std::string_view value)
{
    // A name that would break the file's lines (a bookmark of an odd table name) is refused.
    if (!ValidSectionName(section) || !ValidKeyName(key))
        return false;
    std::string content;
    if (ReadWholeFile(m_fs, m_path, kMaxFileSize, &content) == WholeFileRead::kFailed)
        return false;
    ProfileText text(content);
    auto& lines = text.Lines();
    if (const auto range = text.FindSection(section)) {
        std::string_view spelling;
        if (const auto at = text.FindKey(*range, key, nullptr, &spelling)) {
            lines[*at] = EntryLine(spelling, value);
        } else {
            const auto insertAt = static_cast<std::ptrdiff_t>(text.InsertionPoint(*range));
            lines.insert(lines.begin() + insertAt, EntryLine(key, value));
        }
    } else {
        text.AppendSection(section, { EntryLine(key, value) });
    }
    return ReplaceWholeFile(m_fs, m_path, text.Text());
}

bool ProfileFile::WriteSection(std::string_view section, const std::vector<ProfileEntry>& entries)
{
    if (!ValidSectionName(section))
        return false;
    std::string content;
    if (ReadWholeFile(m_fs, m_path, kMaxFileSize, &content) == WholeFileRead::kFailed)
        return false;
    ProfileText text(content);
    std::vector<std::string> body;
    for (const ProfileEntry& entry : entries) {
        if (!ValidKeyName(entry.key))
            return false;
        body.push_back(EntryLine(entry.key, entry.value));
    }
    if (const auto range = text.FindSection(section)) {
        auto& lines = text.Lines();
        const auto first = lines.begin() + static_cast<std::ptrdiff_t>(range->head + 1);
        const auto last = lines.begin() + static_cast<std::ptrdiff_t>(text.InsertionPoint(*range));
        const auto at = lines.erase(first, last);
        lines.insert(at, body.begin(), body.end());
    } else {
        text.AppendSection(section, body);
    }
    return ReplaceWholeFile(m_fs, m_path, text.Text());
}

bool ProfileFile::DeleteKey(std::string_view section, std::string_view key)
{
    std::string content;
    const auto read = ReadWholeFile(m_fs, m_path, kMaxFileSize, &content);
    if (read != WholeFileRead::kRead)
        return read == WholeFileRead::kMissing;
    ProfileText text(content);
    const auto range = text.FindSection(section);
    if (!range)
        return true;
    auto& lines = text.Lines();
    bool removed = false;
    // Backwards, so the lines still to look at keep their places.
    for (std::size_t i = range->end; i > range->head + 1; --i) {
        std::string_view name, value;
        if (SplitEntry(lines[i - 1], &name, &value) && SameName(name, key)) {
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i - 1));
            removed = true;
        }
    }
    return !removed || ReplaceWholeFile(m_fs, m_path, text.Text());
}

bool ProfileFile::DeleteSection(std::string_view section)
{
    std::string content;
    const auto read = ReadWholeFile(m_fs, m_path, kMaxFileSize, &content);
    if (read != WholeFileRead::kRead)
        return read == WholeFileRead::kMissing;
    ProfileText text(content);
    auto& lines = text.Lines();
    bool removed = false;
    std::size_t from = 0;
    while (const auto range = text.FindSection(section, from)) {
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(range->head),
            lines.begin() + static_cast<std::ptrdiff_t>(range->end));
        from = range->head;
        removed = true;
    }
    return !removed || ReplaceWholeFile(m_fs, m_path, text.Text());
}

} // namespace platform
