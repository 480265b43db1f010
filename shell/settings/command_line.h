#pragma once

#include <optional>
#include <string>
#include <vector>

namespace shell {

// What the program was asked to do at start.
struct CommandLine
{
    std::vector<std::string> files; // tables to open, in command-line order, as given
    std::optional<std::string> classifierDirectory; // ends in '/'
};

// Reads the arguments that follow the program's name, in order. An argument beginning with
// '-' is a switch, every other one a file (a path beginning with '/' included); relative
// names are returned as given, for the open to make absolute. The classifier switch is
// "-k DIR" or "-kDIR": the directory, trimmed of blanks at both ends and given a trailing
// '/', is the classifier directory; the first such switch wins, and one with no directory
// after it is ignored. Other switches are ignored.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

} // namespace shell
