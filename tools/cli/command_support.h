#pragma once

#include "platform/format_text.h"
#include "table/table.h"
#include "table/table_database.h"
#include "tools/cli/commands.h"

#include <initializer_list>
#include <string>

namespace cli {

// The table, opened through the database of its directory as a table window opens it.
struct OpenedTable
{
    explicit OpenedTable(platform::FileSystem& fs)
        : database(fs)
        , table(&database)
    {
    }
    table::TableDatabase database;
    table::CTable table;
};

// Opens the call's table; says why on the error stream when it cannot.
bool OpenTable(const Invocation& call, OpenedTable& opened, bool autodetect);

// The record filters of the call's --where, --or, --filter, --deleted and --blank options
// set on the table; an exit code other than kExitOk after saying what is wrong.
int SetUpFilters(const Invocation& call, table::CTable& t);

// A text of the resource set in the terminal's UTF-8.
std::string Text(int id);
std::string Text(int id, std::initializer_list<platform::FormatArg> args);

} // namespace cli
