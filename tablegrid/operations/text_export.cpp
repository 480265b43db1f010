#include "tablegrid/operations/text_export.h"

#include "platform/block_writer.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/utf8.h"
#include "table/blank_text.h"
#include "table/table.h"
#include "tablegrid/operations/delimited_line.h"
#include "tablegrid/operations/field_text.h"
#include "tablegrid/operations/save_target.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <string_view>

namespace tablegrid {

namespace {

// The longest text the value route gives a field: a number printed in full (a double's
// 309 integer digits, a sign, the point and up to 255 decimals), or the field itself.
std::size_t LongestText(const table::FieldLayout& field)
{
    return std::max<std::size_t>(field.width, 600);
}

// Delimiters and separators are mostly one character: those are stored, not copied.
char* Put(char* at, const std::string& text)
{
    if (text.size() == 1) {
        *at = text[0];
        return at + 1;
    }
    std::memcpy(at, text.data(), text.size());
    return at + text.size();
}

// 1251 bytes to UTF-8 through a table of each byte's encoding.
class Utf8Table
{
public:
    Utf8Table()
    {
        for (int c = 0; c < 256; ++c) {
            const char byte = static_cast<char>(c);
            m_codes[static_cast<std::size_t>(c)] = platform::AnsiToUtf8(std::string_view(&byte, 1));
        }
    }

    void Append(std::string_view ansi, std::string& out) const
    {
        for (const char c : ansi) {
            if (static_cast<unsigned char>(c) < 0x80)
                out += c;
            else
                out += m_codes[static_cast<unsigned char>(c)];
        }
    }

private:
    std::array<std::string, 256> m_codes;
};

const Utf8Table& Utf8()
{
    static const Utf8Table table;
    return table;
}

void AppendCsvField(std::string_view ansi, std::string_view separator, std::string& out)
{
    const bool quote = ansi.find_first_of("\"\r\n") != std::string_view::npos
        || (!separator.empty() && ansi.find(separator) != std::string_view::npos);
    if (!quote) {
        Utf8().Append(ansi, out);
        return;
    }
    out += '"';
    for (std::size_t from = 0;;) {
        const std::size_t at = ansi.find('"', from);
        Utf8().Append(ansi.substr(from, at == std::string_view::npos ? ansi.npos : at - from), out);
        if (at == std::string_view::npos)
            break;
        out += "\"\"";
        from = at + 1;
    }
    out += '"';
}

std::string_view Trimmed(const std::string& text, std::size_t from)
{
    return table::TrimBlanks(std::string_view(text).substr(from));
}

// One CSV value of field `i` of the table's current record, as 1251 text; false when the
// memo text cannot be read.
bool CsvValue(table::CTable& table, const std::uint8_t* record, int i, bool oem,
    std::string& scratch, std::string* value)
{
    const table::FieldLayout& field = table.Fields()[static_cast<std::size_t>(i)];
    const std::uint8_t* bytes = record + field.offset;
    value->clear();
    if (field.def.IsMemoType()) {
        if (!table.ReadMemoText(i, record, value))
            return false;
        if (oem)
            platform::OemToAnsi(*value);
        return true;
    }
    scratch.clear();
    const bool blank = std::all_of(bytes, bytes + field.width, [](std::uint8_t c) { return c == ' '; });
    switch (field.def.type) {
    case 'C':
        if (AppendFieldText(field, bytes, table::DateFormat::kYyyyMmDd, oem, scratch))
            value->assign(Trimmed(scratch, 0));
        return true;
    case 'N':
    case 'F':
        if (!blank && AppendFieldText(field, bytes, table::DateFormat::kYyyyMmDd, oem, scratch))
            value->assign(Trimmed(scratch, 0));
        return true;
    case 'D':
        if (!blank && AppendFieldText(field, bytes, table::DateFormat::kYyyyMmDd, oem, scratch)
            && scratch.size() == 8) {
            value->assign(scratch, 0, 4).append(1, '-').append(scratch, 4, 2).append(1, '-').append(
                scratch, 6, 2);
        }
        return true;
    case 'L': {
        // Only a stored yes or no is a value; a blank or '?' logical has none.
        table::FieldValue logical;
        const std::string_view stored(reinterpret_cast<const char*>(bytes), field.width);
        if (logical.Assign('L', table::TrimBlanks(stored), table::DateFormat::kYyyyMmDd))
            value->assign(1, logical.logical ? 'T' : 'F');
        return true;
    }
    default:
        return true;
    }
}

} // namespace

TextExport::Result TextExport::Write(table::CTable& table, const std::vector<int>& fields,
    const Options& options, const std::string& path, platform::FileSystem& fs,
    const Progress& progress, std::uint64_t* lines)
{
    if (lines)
        *lines = 0;
    SaveTarget target(fs);
    if (!table.IsOpen() || !target.Claim({ path }))
        return Result::kCreateFailed;
    std::unique_ptr<platform::File> file
        = fs.Open(target.TemporaryPath(0), platform::OpenMode::kReadWrite, nullptr);
    if (!file)
        return Result::kCreateFailed;

    std::vector<int> shown;
    std::vector<const table::FieldLayout*> layouts;
    for (const int i : fields) {
        if (i >= 0 && i < table.FieldCount()) {
            shown.push_back(i);
            layouts.push_back(&table.Fields()[static_cast<std::size_t>(i)]);
        }
    }
    const bool oem = table::IsOemCodePage(table.CodePage());
    const bool csv = options.style == Style::kCsv;
    const TextExportFormat& format = options.format;
    const std::string separator = csv && format.separator.empty() ? std::string(",") : format.separator;
    platform::BlockWriter writer(*file);
    std::string line;
    if (csv) {
        bool first = true;
        for (const table::FieldLayout* field : layouts) {
            if (!first)
                Utf8().Append(separator, line);
            first = false;
            AppendCsvField(field->def.name, separator, line);
        }
        line += "\r\n";
        if (!writer.Append(line))
            return Result::kWriteFailed;
    }
    std::size_t longestLine = 2;
    for (const table::FieldLayout* field : layouts) {
        longestLine += separator.size() + format.leftDelimiter.size() + format.rightDelimiter.size()
            + LongestText(*field);
    }

    const DelimitedLine fastLine(layouts, format, options.dateFormat, oem);
    longestLine = std::max(longestLine, fastLine.Room());

    std::uint64_t count = 0;
    std::string scratch;
    std::string value;
    Result failure = Result::kWritten;
    // A line with a field the single pass cannot make, made field by field.
    auto putByField = [&](const std::uint8_t* record, char* at) {
        bool first = true;
        for (const table::FieldLayout* field : layouts) {
            char* const mark = at;
            if (!first)
                at = Put(at, separator);
            at = Put(at, format.leftDelimiter);
            char* end = PutFieldTextFast(*field, record + field->offset, options.dateFormat, oem, at);
            if (!end) {
                scratch.clear();
                if (!AppendFieldTextByValue(*field, record + field->offset, options.dateFormat,
                        oem, scratch)) {
                    at = mark; // a value that cannot be read is left out
                    continue;
                }
                end = Put(at, scratch);
            }
            at = Put(end, format.rightDelimiter);
            first = false;
        }
        *at++ = '\r';
        *at++ = '\n';
        return at;
    };
    auto visit = [&](std::uint32_t, const std::uint8_t* record) {
        if (csv) {
            bool first = true;
            line.clear();
            for (const int i : shown) {
                if (!CsvValue(table, record, i, oem, scratch, &value)) {
                    failure = Result::kMemoUnreadable;
                    return false;
                }
                if (!first)
                    Utf8().Append(separator, line);
                first = false;
                AppendCsvField(value, separator, line);
            }
            line += "\r\n";
            if (!writer.Append(line)) {
                failure = Result::kWriteFailed;
                return false;
            }
        } else {
            char* at = writer.Reserve(longestLine);
            if (!at) {
                failure = Result::kWriteFailed;
                return false;
            }
            char* end = fastLine.Put(record, at);
            writer.End(end ? end : putByField(record, at));
        }
        ++count;
        if (progress && count % kProgressLines == 0)
            progress(count);
        return true;
    };
    if (!table.ScanRecords(false, visit))
        return Result::kReadFailed;
    if (failure != Result::kWritten)
        return failure;
    if (!writer.Flush() || !file->Sync())
        return Result::kWriteFailed;
    file.reset();
    if (!target.Commit())
        return Result::kWriteFailed;
    if (lines)
        *lines = count;
    return Result::kWritten;
}

} // namespace tablegrid
