#include "tools/cli/commands.h"

#include "platform/file_system.h"
#include "platform/format_text.h"
#include "platform/resource_source.h"
#include "platform/utf8.h"
#include "resources/resource_ids.h"
#include "table/code_page_id.h"
#include "table/date_format.h"
#include "table/dbf_file.h"
#include "table/header_repair.h"
#include "table/record_file.h"
#include "table/table.h"
#include "table/table_database.h"
#include "table/table_structure.h"
#include "tablegrid/operations/cell_match.h"
#include "tablegrid/operations/change_saver.h"
#include "tablegrid/operations/field_search.h"
#include "tablegrid/operations/record_commands.h"
#include "tools/cli/command_support.h"
#include "tools/cli/conditions.h"

#include <cstdio>
#include <istream>
#include <ostream>

namespace cli {

bool OpenTable(const Invocation& call, OpenedTable& opened, bool autodetect)
{
    if (!opened.database.SetDatabaseDirectory(platform::DirectoryOf(call.file))
        || !opened.table.Open(call.file, autodetect)) {
        call.streams.err << "lumetta-cli: " << call.file << ": cannot open the table: "
                         << table::DbfErrorText(opened.table.LastFileError()) << '\n';
        return false;
    }
    return true;
}

// The program's own texts are code page 1251; the terminal's are UTF-8.
std::string Text(int id)
{
    return platform::AnsiToUtf8(platform::LoadString(id));
}

std::string Text(int id, std::initializer_list<platform::FormatArg> args)
{
    return platform::AnsiToUtf8(platform::FormatText(platform::LoadString(id), args));
}

namespace {

std::string Format(const char* format, auto... values)
{
    char line[256];
    std::snprintf(line, sizeof line, format, values...);
    return line;
}

std::string TypeName(char type)
{
    switch (type) {
    case 'C': return platform::LoadString(IDS_TYPE_CHARACTER);
    case 'N': return platform::LoadString(IDS_TYPE_NUMERIC);
    case 'D': return platform::LoadString(IDS_TYPE_DATE);
    case 'L': return platform::LoadString(IDS_TYPE_LOGIC);
    case 'M': return platform::LoadString(IDS_TYPE_MEMO);
    default: return platform::LoadString(IDS_TYPE_UNKNOWN);
    }
}

std::string PadTo(std::string text, std::size_t width)
{
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    return text;
}

int CodePageNumber(table::CodePageId id)
{
    return static_cast<int>(id);
}

// "0", "1" or "2" into a filter setting.
bool ParseMode(const Invocation& call, const char* option, int* mode)
{
    const auto it = call.options.find(option);
    if (it == call.options.end())
        return true;
    if (it->second == "0" || it->second == "1" || it->second == "2") {
        *mode = it->second[0] - '0';
        return true;
    }
    call.streams.err << "lumetta-cli: " << option << " takes 0, 1 or 2\n";
    return false;
}

} // namespace

int Info(const Invocation& call)
{
    table::TableStructure structure;
    {
        auto file = call.fs.Open(call.file, platform::OpenMode::kRead, nullptr);
        if (!file || !table::ReadTableStructure(*file, call.file, &structure).ok) {
            call.streams.err << "lumetta-cli: " << call.file << ": not a table\n";
            return kExitFailed;
        }
    }
    OpenedTable opened(call.fs);
    if (!OpenTable(call, opened, true))
        return kExitFailed;
    const table::CTable& t = opened.table;
    std::ostream& out = call.streams.out;
    const int year = structure.year >= 100 ? 1900 + structure.year
        : structure.year < 70              ? 2000 + structure.year
                                           : 1900 + structure.year;
    out << Format("Version:        0x%02X\n", structure.version)
        << Format("Last update:    %04d-%02u-%02u\n", year, structure.month, structure.day)
        << Format("Records:        %u\n", t.RecordCount())
        << Format("Header length:  %d\n", t.HeaderLength())
        << Format("Record length:  %d\n", t.RecordLength())
        << Format("Fields:         %d\n", t.FieldCount());
    std::uint8_t codePageByte = 0;
    {
        auto file = call.fs.Open(call.file, platform::OpenMode::kRead, nullptr);
        std::size_t got = 0;
        if (file)
            (void)file->ReadAt(29, &codePageByte, 1, &got);
    }
    out << Format("Code-page byte: 0x%02X\n", codePageByte)
        << Format("Code page:      %d\n", CodePageNumber(t.CodePage()));
    out << Text(IDS_FIELD_LIST_HEADING) << '\n';
    for (int i = 0; i < t.FieldCount(); ++i) {
        std::string name = t.FieldName(i);
        table::TableToAnsi(name, t.CodePage(), true);
        out << Text(IDS_FIELD_LIST_LINE, { i + 1, PadTo(name, 11), PadTo(TypeName(t.FieldType(i)), 9),
                                           t.FieldLength(i), t.FieldDecimals(i) })
            << '\n';
    }
    return kExitOk;
}

int Check(const Invocation& call)
{
    const table::CDBFFile checker(call.fs, call.file);
    const auto result = checker.Result();
    call.streams.out << static_cast<int>(result) << ' ' << table::CheckResultText(result) << '\n';
    return result == table::CDBFFile::CheckResult::kAgrees ? kExitOk : kExitFailed;
}

int Repair(const Invocation& call)
{
    table::CDBFFile checker(call.fs, call.file);
    const auto result = checker.Result();
    std::ostream& out = call.streams.out;
    out << static_cast<int>(result) << ' ' << table::CheckResultText(result) << '\n';
    if (!table::CDBFFile::IsRecoverable(result)) {
        out << "Nothing to repair.\n";
        return result == table::CDBFFile::CheckResult::kAgrees ? kExitOk : kExitFailed;
    }
    if (!call.options.count("--yes")) {
        out << Text(IDS_HEADER_CORRUPTED, { platform::Utf8ToAnsi(call.file) }) << " [y/N] " << std::flush;
        std::string answer;
        std::getline(call.streams.in, answer);
        if (answer != "y" && answer != "Y" && answer != "yes") {
            out << "The table was not changed.\n";
            return kExitFailed;
        }
    }
    std::string repaired;
    if (!checker.Repair(table::RepairDirectoryFor(call.file), &repaired)) {
        call.streams.err << Text(IDS_HEADER_NOT_FIXED) << '\n';
        return kExitFailed;
    }
    checker.Close();
    const table::ReplaceResult replaced = table::ReplaceWithRepaired(call.fs, call.file, repaired);
    if (!replaced.Succeeded()) {
        call.streams.err << Text(IDS_HEADER_NOT_FIXED) << '\n'
                         << "The original table is at " << replaced.originalPath << '\n';
        if (!replaced.repairedPath.empty())
            call.streams.err << "The corrected copy is at " << replaced.repairedPath << '\n';
        return kExitFailed;
    }
    out << Text(IDS_HEADER_FIXED, { platform::Utf8ToAnsi(replaced.backupPath) }) << '\n';
    return kExitOk;
}

// The record filters of a command that visits records: --deleted and --blank, then the
// expression of --filter or of the --where conditions. Gives kExitOk, or the exit code after
// saying what is wrong.
int SetUpFilters(const Invocation& call, table::CTable& t)
{
    int deleted = 0;
    int blank = 0;
    if (!ParseMode(call, "--deleted", &deleted) || !ParseMode(call, "--blank", &blank))
        return kExitUsage;
    t.SetDeletedFilter(static_cast<table::CTable::DeletedFilter>(deleted));
    t.SetBlankFilter(static_cast<table::CTable::BlankFilter>(blank));
    ConditionArguments arguments;
    arguments.ignoreCase = call.options.count("--ignore-case") != 0;
    for (const auto& entry : call.ordered) {
        if (entry.first == "--where" || entry.first == "--or")
            arguments.entries.emplace_back(entry.first, platform::Utf8ToAnsi(entry.second));
    }
    const auto filter = call.options.find("--filter");
    if (filter != call.options.end() && !arguments.entries.empty()) {
        call.streams.err << "lumetta-cli: --filter and --where do not go together\n";
        return kExitUsage;
    }
    std::string expression;
    if (filter != call.options.end()) {
        expression = platform::Utf8ToAnsi(filter->second);
    } else if (!arguments.entries.empty()) {
        std::vector<tablegrid::FilterCondition> conditions;
        std::string error;
        if (!BuildConditions(arguments, t, &conditions, &error)) {
            call.streams.err << "lumetta-cli: " << platform::AnsiToUtf8(error) << '\n';
            return kExitUsage;
        }
        expression = tablegrid::BuildFilterExpression(tablegrid::BuildFilterTree(conditions),
            FieldColumns(t));
    }
    if (call.options.count("--show-expression"))
        call.streams.out << platform::AnsiToUtf8(expression) << '\n';
    if (!t.SetFilterExpression(expression, true)) {
        call.streams.err << Text(IDS_INVALID_FILTER) << '\n';
        return kExitUsage;
    }
    return kExitOk;
}

int Count(const Invocation& call)
{
    std::string codePage = "auto";
    if (const auto it = call.options.find("--codepage"); it != call.options.end())
        codePage = it->second;
    if (codePage != "auto" && codePage != "0" && codePage != "866" && codePage != "1251") {
        call.streams.err << "lumetta-cli: --codepage takes auto, 0, 866 or 1251\n";
        return kExitUsage;
    }

    OpenedTable opened(call.fs);
    if (!OpenTable(call, opened, codePage == "auto"))
        return kExitFailed;
    table::CTable& t = opened.table;
    if (codePage != "auto")
        (void)t.SetCodePage(static_cast<table::CodePageId>(std::stoi(codePage)), false);
    if (const int set = SetUpFilters(call, t); set != kExitOk)
        return set;
    // Counted where the records are read, as GoTop and GoNext would step through them.
    std::uint64_t passing = 0;
    auto count = [&](std::uint32_t, const std::uint8_t*) {
        ++passing;
        return true;
    };
    if (!t.ScanRecords(false, count)) {
        call.streams.err << "lumetta-cli: " << call.file << ": "
                         << table::DbfErrorText(t.LastFileError()) << '\n';
        return kExitFailed;
    }
    call.streams.out << passing << '\n';
    return kExitOk;
}

int Pack(const Invocation& call)
{
    OpenedTable opened(call.fs);
    if (!OpenTable(call, opened, false))
        return kExitFailed;
    table::CTable& t = opened.table;
    const std::uint32_t before = t.RecordCount();
    if (!t.Pack()) {
        call.streams.err << "lumetta-cli: " << call.file << ": cannot pack the table: ";
        if (t.MemoUnavailable())
            call.streams.err << Text(IDS_MEMO_FILE_MISSING, { platform::Utf8ToAnsi(t.MemoFilePath()) });
        else
            call.streams.err << table::DbfErrorText(t.LastFileError());
        call.streams.err << '\n';
        return kExitFailed;
    }
    call.streams.out << "Records before: " << before << '\n'
                     << "Records after:  " << t.RecordCount() << '\n';
    return kExitOk;
}

namespace {

// The rows of a terminal: the records passing the table's filter, in order, reached by
// stepping forward as the record commands walk them.
class TerminalRows final : public tablegrid::RecordCommandHost
{
public:
    explicit TerminalRows(table::CTable& table)
        : m_table(table)
    {
    }

    table::CTable* CommandTable() override { return &m_table; }
    int CommandRowCount() const override { return m_rows; }
    bool PositionOnRow(int row) override
    {
        if (row == m_row + 1 && (m_row == 0 ? m_table.GoTop() : m_table.GoNext(false))) {
            m_row = row;
            m_rows = std::max(m_rows, row);
            return true;
        }
        return row == m_row && m_row > 0;
    }
    bool AddPendingChange(tablegrid::PendingChange, bool) override { return false; }
    int Notify(int, const std::string&, const std::string&) override { return 1; }

private:
    table::CTable& m_table;
    int m_row = 0;
    int m_rows = 0;
};

} // namespace

int MarkAll(const Invocation& call, bool deleteAll)
{
    OpenedTable opened(call.fs);
    if (!OpenTable(call, opened, true))
        return kExitFailed;
    table::CTable& t = opened.table;
    if (const int set = SetUpFilters(call, t); set != kExitOk)
        return set;
    tablegrid::PendingChangeList changes;
    TerminalRows rows(t);
    tablegrid::RecordCommands(rows, changes).MarkAll(deleteAll);
    const std::size_t marked = changes.Size();
    // Saving reaches every record.
    (void)t.SetFilterExpression({}, false);
    t.SetDeletedFilter(table::CTable::DeletedFilter::kAll);
    t.SetBlankFilter(table::CTable::BlankFilter::kAll);
    const tablegrid::ChangeSaver::Result saved = tablegrid::ChangeSaver::Save(changes, t, true);
    if (!saved.allWritten) {
        call.streams.err << "lumetta-cli: " << call.file << ": " << Text(IDS_SAVE_DATA_ERROR)
                         << '\n';
        return kExitFailed;
    }
    call.streams.out << (deleteAll ? "Marked for deletion: " : "Unmarked: ") << marked << '\n';
    return kExitOk;
}

int DeleteAll(const Invocation& call)
{
    return MarkAll(call, true);
}

int UndeleteAll(const Invocation& call)
{
    return MarkAll(call, false);
}

int Find(const Invocation& call)
{
    int dateForm = static_cast<int>(table::kDefaultDateFormat);
    if (const auto it = call.options.find("--date-format"); it != call.options.end()) {
        const std::optional<table::DateFormat> form
            = it->second.size() == 1 ? table::DateFormatFromNumber(it->second[0] - '0') : std::nullopt;
        if (!form) {
            call.streams.err << "lumetta-cli: --date-format takes 0, 1, 2, 3 or 4\n";
            return kExitUsage;
        }
        dateForm = static_cast<int>(*form);
    }
    OpenedTable opened(call.fs);
    if (!OpenTable(call, opened, true))
        return kExitFailed;
    table::CTable& t = opened.table;
    std::vector<int> fields;
    if (const auto it = call.options.find("--column"); it != call.options.end()) {
        const int field = t.FieldIndex(platform::Utf8ToAnsi(it->second));
        if (field < 0) {
            call.streams.err << "lumetta-cli: no field " << it->second << " in the table\n";
            return kExitUsage;
        }
        fields.push_back(field);
    } else {
        for (int i = 0; i < t.FieldCount(); ++i)
            fields.push_back(i);
    }
    if (const int set = SetUpFilters(call, t); set != kExitOk)
        return set;

    const tablegrid::CellMatcher matcher(platform::Utf8ToAnsi(call.text),
        call.options.count("--case-sensitive") != 0, call.options.count("--whole-word") != 0);
    const auto form = static_cast<table::DateFormat>(dateForm);
    std::vector<tablegrid::FieldSearch> searches;
    for (const int field : fields)
        searches.emplace_back(t, field, t.FieldDecimals(field), form, matcher);
    std::uint64_t row = 0;
    bool found = false;
    std::string line;
    for (bool ok = t.GoTop(); ok; ok = t.GoNext(false)) {
        ++row;
        for (const tablegrid::FieldSearch& search : searches) {
            if (!search.Matches(t, matcher))
                continue;
            found = true;
            line = std::to_string(row) + '\t' + std::to_string(t.CurrentRecord()) + '\t'
                + t.FieldName(search.Field()) + '\t' + search.ShownText(t);
            call.streams.out << platform::AnsiToUtf8(line) << '\n';
        }
    }
    return found ? kExitOk : kExitFailed;
}

int DetectCodePage(const Invocation& call)
{
    table::RecordFile file(call.fs);
    if (!file.Open(call.file, table::RecordFile::Mode::kRead)) {
        call.streams.err << "lumetta-cli: " << call.file << ": cannot open the table: "
                         << table::DbfErrorText(file.LastError()) << '\n';
        return kExitFailed;
    }
    call.streams.out << CodePageNumber(table::DetectCodePage(*file.RawFile(), file.HeaderLength()))
                     << '\n';
    return kExitOk;
}

} // namespace cli
