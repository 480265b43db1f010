#pragma once

#include "table/date_format.h"
#include "tablegrid/operations/text_export_format.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform {
class FileSystem;
}

namespace table {
class CTable;
}

namespace tablegrid {

// Writes the records a table passes (its deletion, blank and expression filters, in the
// order it steps through them) as delimited text, one line per record ending in CR LF.
//
// Delimited (the program's own export): for every field given, in order, the separator
// before all but the first, then the left delimiter, the field's text form (see
// field_text.h) and the right delimiter; a field whose value cannot be read is left out
// with its delimiters; text in code page 1251; no header line.
//
// CSV (for spreadsheets and data tools): a header line of the field names, then each value
// trimmed, dates as YYYY-MM-DD, logicals T or F, memo fields as their memo texts, empty for
// what has no value; a field is quoted only when it holds the separator, a quote, CR or
// LF, its quotes doubled; text in UTF-8.
//
// The file is written under a temporary name and renamed onto `path` when complete, so a
// failure leaves an existing file as it was and no partial output behind.
class TextExport
{
public:
    enum class Style { kDelimited, kCsv };
    enum class Result { kWritten, kCreateFailed, kReadFailed, kWriteFailed, kMemoUnreadable };

    struct Options
    {
        TextExportFormat format;
        table::DateFormat dateFormat = table::kDefaultDateFormat;
        Style style = Style::kDelimited;
    };

    // Told the number of lines written after every `kProgressLines` of them.
    using Progress = std::function<void(std::uint64_t lines)>;
    static constexpr std::uint64_t kProgressLines = 100;

    // `fields`: indexes into the table's fields. The table is left on no record.
    static Result Write(table::CTable& table, const std::vector<int>& fields,
        const Options& options, const std::string& path, platform::FileSystem& fs,
        const Progress& progress = nullptr, std::uint64_t* lines = nullptr);
};

} // namespace tablegrid
