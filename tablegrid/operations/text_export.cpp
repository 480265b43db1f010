#include "tablegrid/operations/text_export.h"

#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/utf8.h"
#include "table/blank_text.h"
#include "table/table.h"
#include "tablegrid/operations/field_text.h"
#include "tablegrid/operations/save_target.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string_view>

namespace tablegrid {

namespace {

constexpr std::size_t kBufferBytes = 4 * 1024 * 1024;

// Collects the lines and writes them a large block at a time.
class BlockWriter
{
public:
    explicit BlockWriter(platform::File& file)
        : m_file(file)
    {
        m_buffer.reserve(kBufferBytes + 64 * 1024);
    }

    std::string& Buffer() { return m_buffer; }

    [[nodiscard]] bool FlushIfFull() { return m_buffer.size() < kBufferBytes || Flush(); }

    [[nodiscard]] bool Flush()
    {
        if (m_buffer.empty())
            return true;
        if (!m_file.WriteAt(m_at, m_buffer.data(), m_buffer.size()))
            return false;
        m_at += m_buffer.size();
        m_buffer.clear();
        return true;
    }

private:
    platform::File& m_file;
    std::string m_buffer;
    std::uint64_t m_at = 0;
};

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
bool CsvValue(table::CTable& table, int i, bool oem, std::string& scratch, std::string* value)
{
    const table::FieldLayout& field = table.Fields()[static_cast<std::size_t>(i)];
    const std::uint8_t* bytes = table.RecordBuffer() + field.offset;
    value->clear();
    if (field.def.IsMemoType()) {
        if (!table.ReadMemoText(i, value))
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
    BlockWriter writer(*file);
    std::string& out = writer.Buffer();

    if (csv) {
        bool first = true;
        for (const table::FieldLayout* field : layouts) {
            if (!first)
                Utf8().Append(separator, out);
            first = false;
            AppendCsvField(field->def.name, separator, out);
        }
        out += "\r\n";
    }

    std::uint64_t count = 0;
    std::string scratch;
    std::string value;
    for (bool more = table.GoTop(); more; more = table.GoNext(false)) {
        const std::uint8_t* record = table.RecordBuffer();
        bool first = true;
        if (csv) {
            for (const int i : shown) {
                if (!CsvValue(table, i, oem, scratch, &value))
                    return Result::kMemoUnreadable;
                if (!first)
                    Utf8().Append(separator, out);
                first = false;
                AppendCsvField(value, separator, out);
            }
        } else {
            for (const table::FieldLayout* field : layouts) {
                const std::size_t mark = out.size();
                if (!first)
                    out += separator;
                out += format.leftDelimiter;
                if (AppendFieldText(*field, record + field->offset, options.dateFormat, oem, out)) {
                    out += format.rightDelimiter;
                    first = false;
                } else {
                    out.resize(mark);
                }
            }
        }
        out += "\r\n";
        ++count;
        if (!writer.FlushIfFull())
            return Result::kWriteFailed;
        if (progress && count % kProgressLines == 0)
            progress(count);
    }
    table.ClearCurrent();
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
