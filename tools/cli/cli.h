#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace platform {
class FileSystem;
}

namespace cli {

// Exit codes of the command-line tool.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1; // the command ran and failed (or found damage)
inline constexpr int kExitUsage = 2;  // bad command line, missing file, bad filter

// Where a command reads and writes; the tool passes the process's streams, tests strings.
struct Streams
{
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
};

// Runs the tool on its arguments (without the program name). Text arguments arrive in UTF-8
// and are taken as code page 1251 text the user typed; text printed is turned back to UTF-8.
int Run(const std::vector<std::string>& args, platform::FileSystem& fs, Streams streams);

} // namespace cli
