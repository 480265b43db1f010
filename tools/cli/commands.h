#pragma once

#include "tools/cli/cli.h"

#include <map>
#include <string>
#include <vector>

namespace cli {

// One command's parsed command line: its file and its options ("--filter" -> text).
struct Invocation
{
    std::string file;
    std::map<std::string, std::string> options;
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
int DetectCodePage(const Invocation& call);

} // namespace cli
