#include "tablegrid/operations/text_export.h"

#include "platform/block_writer.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "table/table.h"
#include "tablegrid/operations/csv_line.h"
#include "tablegrid/operations/delimited_line.h"
#include "tablegrid/operations/field_text.h"
#include "tablegrid/operations/save_target.h"

#include <algorithm>
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
        AppendCsvHeader(layouts, separator, line);
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
    const CsvLine fastCsvLine(layouts, separator, oem);
    const CsvMemoText memoText = [&](std::size_t j, const std::uint8_t* record, std::string* text) {
        return table.ReadMemoText(shown[j], record, text);
    };

    std::uint64_t count = 0;
    std::string scratch;
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
            char* at = writer.Reserve(fastCsvLine.Room());
            if (!at) {
                failure = Result::kWriteFailed;
                return false;
            }
            if (char* end = fastCsvLine.Put(record, at)) {
                writer.End(end);
            } else {
                line.clear();
                if (!AppendCsvLineByValue(layouts, separator, oem, record, memoText, line)) {
                    failure = Result::kMemoUnreadable;
                    return false;
                }
                if (!writer.Append(line)) {
                    failure = Result::kWriteFailed;
                    return false;
                }
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
