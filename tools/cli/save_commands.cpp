// The Save As commands (a table as delimited text or CSV, or as a new table) and the code-page
// command.

#include "platform/file_system.h"
#include "platform/utf8.h"
#include "resources/resource_ids.h"
#include "table/date_format.h"
#include "tablegrid/operations/code_page_choice.h"
#include "tablegrid/operations/table_saver.h"
#include "tablegrid/operations/text_export.h"
#include "tools/cli/command_support.h"

#include <filesystem>
#include <ostream>

namespace cli {
namespace {

std::string AbsolutePath(const std::string& path)
{
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(path, ec);
    return ec ? path : absolute.lexically_normal().string();
}

bool EndsWithNoCase(const std::string& text, const std::string& tail)
{
    if (text.size() < tail.size())
        return false;
    for (std::size_t i = 0; i < tail.size(); ++i) {
        char c = text[text.size() - tail.size() + i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != tail[i])
            return false;
    }
    return true;
}

// The --fields list as field indexes, every field in table order without it.
bool ChosenFields(const Invocation& call, const table::CTable& t, std::vector<int>* fields)
{
    fields->clear();
    const auto it = call.options.find("--fields");
    if (it == call.options.end()) {
        for (int i = 0; i < t.FieldCount(); ++i)
            fields->push_back(i);
        return true;
    }
    const std::string list = platform::Utf8ToAnsi(it->second);
    for (std::size_t from = 0; from <= list.size();) {
        std::size_t comma = list.find(',', from);
        if (comma == std::string::npos)
            comma = list.size();
        const std::string name = list.substr(from, comma - from);
        const int field = t.FieldIndex(name);
        if (field < 0) {
            call.streams.err << "lumetta-cli: no field '" << platform::AnsiToUtf8(name) << "'\n";
            return false;
        }
        fields->push_back(field);
        from = comma + 1;
    }
    return true;
}

bool IsFiltered(const table::CTable& t)
{
    return !t.GetFilterExpression(false).empty()
        || t.GetDeletedFilter() != table::CTable::DeletedFilter::kAll
        || t.GetBlankFilter() != table::CTable::BlankFilter::kAll;
}

bool RefuseOwnFile(const Invocation& call, const table::CTable& t, const std::string& out)
{
    if (!tablegrid::TableSaver::WouldOverwriteSource(t, out))
        return false;
    call.streams.err << "lumetta-cli: " << out << " is the table itself or its memo file\n";
    return true;
}

// The table opened with the fields chosen and the filters set, ready to be saved at `out`
// (never the table itself); an exit code other than kExitOk after saying what is wrong.
int OpenForSaving(const Invocation& call, OpenedTable& opened, const std::string& out,
    std::vector<int>* fields)
{
    if (!OpenTable(call, opened, true))
        return kExitFailed;
    if (!ChosenFields(call, opened.table, fields))
        return kExitUsage;
    if (const int set = SetUpFilters(call, opened.table); set != kExitOk)
        return set;
    return RefuseOwnFile(call, opened.table, out) ? kExitUsage : kExitOk;
}

} // namespace

int Export(const Invocation& call)
{
    tablegrid::TextExport::Options options;
    const auto option = [&](const char* name, std::string* value) {
        if (const auto it = call.options.find(name); it != call.options.end())
            *value = platform::Utf8ToAnsi(it->second);
    };
    option("--left", &options.format.leftDelimiter);
    option("--right", &options.format.rightDelimiter);
    option("--separator", &options.format.separator);
    if (call.options.count("--csv")) {
        options.style = tablegrid::TextExport::Style::kCsv;
        if (call.options.count("--left") || call.options.count("--right")
            || call.options.count("--date-format")) {
            call.streams.err << "lumetta-cli: --csv writes its own quotes and dates\n";
            return kExitUsage;
        }
    }
    if (const auto it = call.options.find("--date-format"); it != call.options.end()) {
        const auto form = it->second.size() == 1 && it->second[0] >= '0' && it->second[0] <= '4'
            ? table::DateFormatFromNumber(it->second[0] - '0')
            : std::nullopt;
        if (!form) {
            call.streams.err << "lumetta-cli: --date-format takes 0, 1, 2, 3 or 4\n";
            return kExitUsage;
        }
        options.dateFormat = *form;
    }
    OpenedTable opened(call.fs);
    std::vector<int> fields;
    const std::string out = AbsolutePath(call.text);
    if (const int ready = OpenForSaving(call, opened, out, &fields); ready != kExitOk)
        return ready;
    table::CTable& t = opened.table;
    std::uint64_t lines = 0;
    using Result = tablegrid::TextExport::Result;
    switch (tablegrid::TextExport::Write(t, fields, options, out, call.fs, nullptr, &lines)) {
    case Result::kWritten:
        call.streams.out << lines << '\n';
        return kExitOk;
    case Result::kCreateFailed:
        call.streams.err << "lumetta-cli: " << call.text << ": cannot create the file\n";
        return kExitFailed;
    case Result::kMemoUnreadable:
        call.streams.err << "lumetta-cli: " << call.file << ": the memo texts cannot be read\n";
        return kExitFailed;
    case Result::kReadFailed:
        call.streams.err << "lumetta-cli: " << call.file << ": the records cannot be read\n";
        return kExitFailed;
    case Result::kWriteFailed:
        break;
    }
    call.streams.err << "lumetta-cli: " << call.text << ": " << Text(IDS_SAVE_DATA_ERROR) << '\n';
    return kExitFailed;
}

int SaveAs(const Invocation& call)
{
    const std::string out = AbsolutePath(call.text);
    if (!EndsWithNoCase(out, ".dbf")) {
        call.streams.err << "lumetta-cli: the new table's name must end in .dbf\n";
        return kExitUsage;
    }
    OpenedTable opened(call.fs);
    std::vector<int> fields;
    if (const int ready = OpenForSaving(call, opened, out, &fields); ready != kExitOk)
        return ready;
    table::CTable& t = opened.table;
    bool everyField = static_cast<int>(fields.size()) == t.FieldCount();
    for (std::size_t i = 0; everyField && i < fields.size(); ++i)
        everyField = fields[i] == static_cast<int>(i);
    const bool filtered = IsFiltered(t);

    tablegrid::TableSaver saver(call.fs);
    using Result = tablegrid::TableSaver::Result;
    const Result result = everyField && !filtered ? saver.Copy(t, out)
                                                  : saver.Subset(t, fields, !filtered, out);
    if (result == Result::kSaved && saver.Commit()) {
        table::CTable written(&opened.database);
        call.streams.out << (written.Open(out, false) ? written.RecordCount() : 0) << '\n';
        return kExitOk;
    }
    call.streams.err << "lumetta-cli: "
                     << Text(IDS_UNABLE_TO_SAVE_AS, { platform::Utf8ToAnsi(call.text) });
    if (result == Result::kMemoUnreadable)
        call.streams.err << ": the memo texts cannot be read";
    else if (result == Result::kCreateFailed)
        call.streams.err << ": the fields cannot make a new table";
    call.streams.err << '\n';
    return kExitFailed;
}

int SetCodePage(const Invocation& call)
{
    const std::string& choice = call.text;
    table::CodePageId chosen = table::CodePageId::kAutodetect;
    if (choice == "0" || choice == "866" || choice == "1251")
        chosen = static_cast<table::CodePageId>(std::stoi(choice));
    else if (choice != "auto") {
        call.streams.err << "lumetta-cli: set-codepage takes 0, 866, 1251 or auto\n";
        return kExitUsage;
    }
    OpenedTable opened(call.fs);
    if (!OpenTable(call, opened, false))
        return kExitFailed;
    const tablegrid::CodePageChoiceOutcome outcome
        = tablegrid::ApplyCodePageChoice(opened.table, chosen, true);
    if (outcome.detectionFailed)
        call.streams.err << "lumetta-cli: " << Text(IDS_CODEPAGE_DETECTION_FAILED) << '\n';
    if (outcome.writeFailed) {
        call.streams.err << "lumetta-cli: " << call.file << ": the code page cannot be written\n";
        return kExitFailed;
    }
    call.streams.out << static_cast<int>(outcome.codePage) << '\n';
    return outcome.detectionFailed ? kExitFailed : kExitOk;
}

} // namespace cli
