#include "tools/cli/cli.h"

#include "platform/file_system.h"
#include "tools/cli/commands.h"

#include <filesystem>
#include <ostream>

namespace cli {
namespace {

// The record filters of the commands that visit records, as the Filter dialog sets them.
constexpr const char* kConditionsHelp
    = "CONDITIONS:\n"
      "  --where 'FIELD OP [VALUE]'  a condition, as the Filter dialog makes it; repeatable,\n"
      "             conditions in a row must all hold. OP: empty, not-empty, true, false,\n"
      "             =, #, <, <=, >, >=, contains, not-contains. VALUE as typed in the dialog\n"
      "             (dates as DD.MM.YYYY or DD.MM.YY).\n"
      "  --or       between two conditions: either group of conditions may hold\n"
      "  --ignore-case  conditions on character fields ignore letter case\n"
      "  --filter EXPR  an expression instead of --where conditions\n"
      "  --deleted  0 all records, 1 only unmarked, 2 only marked for deletion\n"
      "  --blank    0 all records, 1 only non-blank, 2 only blank\n"
      "  --show-expression  print the filter expression on a line of its own first\n";

struct CommandSpec
{
    const char* name;
    int (*run)(const Invocation&);
    std::vector<std::string> valueOptions; // options followed by a value
    std::vector<std::string> flags;        // options standing alone
    std::string help;
    bool takesText = false;                // a TEXT after the FILE
    const char* textName = "TEXT";         // what the usage calls it
    bool takesDirectory = false;           // the FILE is a directory
};

constexpr const char* kFilterValueOptions[] = { "--filter", "--where", "--deleted", "--blank" };

std::vector<std::string> WithFilterOptions(std::vector<std::string> options)
{
    options.insert(options.end(), std::begin(kFilterValueOptions), std::end(kFilterValueOptions));
    return options;
}

const std::vector<CommandSpec>& Commands()
{
    static const std::vector<CommandSpec> commands = {
        { "info", Info, {}, {},
          "lumetta-cli info FILE\n"
          "  Prints the header values of a table and one line per field.\n" },
        { "check", Check, {}, {},
          "lumetta-cli check FILE\n"
          "  Checks the header against the file; exits 0 only when they agree.\n" },
        { "repair", Repair, {}, { "--yes" },
          "lumetta-cli repair FILE [--yes]\n"
          "  Checks the header and, when counts or lengths disagree with the file, writes a\n"
          "  corrected table in its place, keeping the original with the extension .old.\n"
          "  Asks first unless --yes is given.\n" },
        { "count", Count, { "--filter", "--where", "--deleted", "--blank", "--codepage" },
          { "--or", "--ignore-case", "--show-expression" },
          "lumetta-cli count FILE [CONDITIONS] [--codepage auto|0|866|1251]\n"
          "  Prints how many records pass the filters.\n"
          "  --codepage the code page of the table's text (default: from the file, else guessed)\n"
              + std::string(kConditionsHelp) },
        { "pack", Pack, {}, {},
          "lumetta-cli pack FILE\n"
          "  Removes the records marked for deletion; prints the record counts before and after.\n" },
        { "delete-all", DeleteAll, { "--filter", "--where", "--deleted", "--blank" },
          { "--or", "--ignore-case", "--show-expression" },
          "lumetta-cli delete-all FILE [CONDITIONS]\n"
          "  Marks for deletion every record (passing the filter), and prints how many were\n"
          "  marked that were not before.\n" + std::string(kConditionsHelp) },
        { "undelete-all", UndeleteAll, { "--filter", "--where", "--deleted", "--blank" },
          { "--or", "--ignore-case", "--show-expression" },
          "lumetta-cli undelete-all FILE [CONDITIONS]\n"
          "  Takes the deletion mark off every record (passing the filter), and prints how many\n"
          "  were marked.\n" + std::string(kConditionsHelp) },
        { "find", Find, { "--column", "--date-format", "--filter", "--where", "--deleted", "--blank" },
          { "--case-sensitive", "--whole-word", "--or", "--ignore-case", "--show-expression" },
          "lumetta-cli find FILE TEXT [--column NAME] [--case-sensitive] [--whole-word]\n"
          "                 [--date-format 0..4] [CONDITIONS]\n"
          "  Prints every cell of the records passing the filters whose text, as a table window\n"
          "  shows it, holds TEXT: row, record number, field name and the cell text, separated\n"
          "  by tabs, in row order. Exits 0 when a cell matched, 1 when none did.\n"
          "  --column        only that field\n"
          "  --case-sensitive  letter case counts (otherwise it does not)\n"
          "  --whole-word    the cell's text without the blanks around it must be TEXT\n"
          "  --date-format   how dates show: 0 YYYYMMDD, 1 MM/DD/YY, 2 MM/DD/YYYY, 3 DD.MM.YY,\n"
          "                  4 DD.MM.YYYY (the default)\n"
              + std::string(kConditionsHelp),
          true },
        { "detect-codepage", DetectCodePage, {}, {},
          "lumetta-cli detect-codepage FILE\n"
          "  Guesses the code page of the table's text from its records: 0, 866 or 1251.\n" },
        { "schema-test", SchemaTest, {}, {},
          "lumetta-cli schema-test DIR\n"
          "  Tests the database schema of the directory DIR (its default.sch) as the Database\n"
          "  dialog's Test does, and prints the first fault found or \"No errors found.\".\n"
          "  Exits 0 when there is none, 1 when there is one.\n",
          false, "TEXT", true },
        { "export", Export,
          WithFilterOptions({ "--left", "--right", "--separator", "--date-format", "--fields" }),
          { "--csv", "--or", "--ignore-case", "--show-expression" },
          "lumetta-cli export FILE OUT [--left TEXT] [--right TEXT] [--separator TEXT]\n"
          "                   [--date-format 0..4] [--fields NAME,...] [--csv] [CONDITIONS]\n"
          "  Writes the records passing the filters to OUT as the table window's Save As Text\n"
          "  does: one line per record, each field between the delimiters, the fields parted\n"
          "  by the separator, values as the table holds them (text in code page 1251, logicals\n"
          "  T or F); a value that cannot be read is left out. Prints the number of lines.\n"
          "  --left, --right  the delimiters around every field (default: \")\n"
          "  --separator      between the fields (default: ,)\n"
          "  --date-format    0 YYYYMMDD, 1 MM/DD/YY, 2 MM/DD/YYYY, 3 DD.MM.YY, 4 DD.MM.YYYY (default)\n"
          "  --fields         the fields to write, in this order (default: all, in table order)\n"
          "  --csv            CSV as spreadsheets read it instead: a header line of field names,\n"
          "                   values trimmed, quoted only when they hold the separator, a quote\n"
          "                   or a line break, dates as YYYY-MM-DD, text in UTF-8, memo fields as\n"
          "                   their texts\n"
              + std::string(kConditionsHelp),
          true, "OUT" },
        { "save-as", SaveAs, WithFilterOptions({ "--fields" }),
          { "--or", "--ignore-case", "--show-expression" },
          "lumetta-cli save-as FILE OUT.dbf [--fields NAME,...] [CONDITIONS]\n"
          "  Saves the table as a new table OUT.dbf, as the table window's Save As does: a copy\n"
          "  of the file (and its memo file) when every field and record is kept, else a new\n"
          "  table of the fields given holding the records passing the filters, renumbered\n"
          "  from 1, with their deletion marks and memo texts. An existing OUT is replaced\n"
          "  only once the new table is complete. Prints the new table's record count.\n"
          "  --fields  the fields to keep, in this order (default: all)\n"
              + std::string(kConditionsHelp),
          true, "OUT.dbf" },
        { "set-codepage", SetCodePage, {}, {},
          "lumetta-cli set-codepage FILE 0|866|1251|auto\n"
          "  Sets the code page the table's text is read in and writes it into the file, as the\n"
          "  table window's Codepage command does with \"Write codepage information into file\"\n"
          "  ticked: nothing is written when the code page stays the same; auto guesses it from\n"
          "  the records (a failed guess leaves none and exits 1). Prints the code page the table\n"
          "  has afterwards.\n",
          true, "a code page" },
        { "make-region", MakeRegion, {}, {},
          "lumetta-cli make-region DIR\n"
          "  Builds the region table Region.dbf of the address classifier in DIR from its KLADR\n"
          "  table (Kladr.dbf), as the program does when the classifiers are first opened: the\n"
          "  KLADR records of regions (a CODE of two region digits and zeros), deleted ones\n"
          "  included, in file order. A Region.dbf there is replaced once the new one is\n"
          "  complete; KLADR is only read. Prints the records visited and kept.\n",
          false, "TEXT", true },
    };
    return commands;
}

void PrintUsage(std::ostream& out)
{
    out << "Usage: lumetta-cli COMMAND FILE [OPTIONS]\n"
           "Commands:\n";
    for (const CommandSpec& command : Commands())
        out << "  " << command.name << '\n';
    out << "lumetta-cli COMMAND --help describes a command.\n";
}

bool Contains(const std::vector<std::string>& list, const std::string& item)
{
    for (const std::string& entry : list) {
        if (entry == item)
            return true;
    }
    return false;
}

} // namespace

int Run(const std::vector<std::string>& args, platform::FileSystem& fs, Streams streams)
{
    if (args.empty()) {
        PrintUsage(streams.err);
        return kExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h") {
        PrintUsage(streams.out);
        return kExitOk;
    }
    const CommandSpec* spec = nullptr;
    for (const CommandSpec& command : Commands()) {
        if (args[0] == command.name)
            spec = &command;
    }
    if (!spec) {
        streams.err << "lumetta-cli: unknown command '" << args[0] << "'\n";
        return kExitUsage;
    }

    Invocation call { {}, {}, {}, {}, fs, streams };
    bool hasText = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            streams.out << spec->help;
            return kExitOk;
        }
        if (Contains(spec->valueOptions, arg)) {
            if (i + 1 >= args.size()) {
                streams.err << "lumetta-cli: option " << arg << " needs a value\n";
                return kExitUsage;
            }
            call.options[arg] = args[++i];
            call.ordered.emplace_back(arg, args[i]);
        } else if (Contains(spec->flags, arg)) {
            call.options[arg] = "1";
            call.ordered.emplace_back(arg, std::string());
        } else if (arg.size() > 1 && arg[0] == '-') {
            streams.err << "lumetta-cli: unknown option '" << arg << "' for " << spec->name << '\n';
            return kExitUsage;
        } else if (call.file.empty()) {
            call.file = arg;
        } else if (spec->takesText && !hasText) {
            call.text = arg;
            hasText = true;
        } else {
            streams.err << "lumetta-cli: more than one file given\n";
            return kExitUsage;
        }
    }
    if (call.file.empty()) {
        streams.err << "lumetta-cli: " << spec->name << " needs a "
                    << (spec->takesDirectory ? "DIR" : "FILE") << '\n';
        return kExitUsage;
    }
    if (spec->takesText && !hasText) {
        streams.err << "lumetta-cli: " << spec->name << " needs " << spec->textName
                    << " after the FILE\n";
        return kExitUsage;
    }
    const bool found = spec->takesDirectory ? fs.IsDirectory(call.file)
                                            : fs.Exists(call.file) && !fs.IsDirectory(call.file);
    if (!found) {
        streams.err << "lumetta-cli: " << call.file
                    << (spec->takesDirectory ? ": no such directory\n" : ": no such file\n");
        return kExitUsage;
    }
    // The table object works with absolute paths, as the program does.
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(call.file, ec);
    if (!ec)
        call.file = absolute.lexically_normal().string();
    return spec->run(call);
}

} // namespace cli
