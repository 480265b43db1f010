#pragma once

#include "tools/cli/cli.h"

#include <map>
#include <utility>
#include <string>
#include <vector>

namespace cli {

// One command's parsed command line: its file and its options ("--filter" -> text).
struct Invocation
{
    std::string file;
    std::string text; // what follows the file, for commands that take a text
    std::map<std::string, std::string> options;
    // Every option in the order given, with its value ("" for a flag): the conditions of
    // --where and --or depend on their order.
    std::vector<std::pair<std::string, std::string>> ordered;
    platform::FileSystem& fs;
    Streams streams;
};

int Info(const Invocation& call);
int Check(const Invocation& call);
int Repair(const Invocation& call);
int Count(const Invocation& call);
int Pack(const Invocation& call);
// Marks (unmarks) every record passing --filter, as the table window's Delete All does.
int DeleteAll(const Invocation& call);
int UndeleteAll(const Invocation& call);
// Every cell that holds a text, as the table window's Find matches it.
int Find(const Invocation& call);
int DetectCodePage(const Invocation& call);
// The schema test of a database directory's "default.sch": prints its message, exits 0 only
// for "No errors found.".
int SchemaTest(const Invocation& call);
// The records passing the filters as delimited text (or CSV), and as a new table.
int Export(const Invocation& call);
int SaveAs(const Invocation& call);
// The code page chosen as the Select codepage dialog does with its write box ticked.
int SetCodePage(const Invocation& call);
// The region table of a classifier directory (the FILE is the directory), built from its
// KLADR table as the program builds it, replacing one that exists.
int MakeRegion(const Invocation& call);

} // namespace cli
