// The argument parsers: lumetta-cli's (cli::Run) over a scratch folder holding a small table,
// with arguments cut from the input at NUL bytes, and the program's own start-up parser.
// The tool reaches files only through a file system confined to the scratch folder, so
// whatever paths the input names, nothing outside it is touched.

#include "fuzz/fuzz_support.h"
#include "shell/settings/command_line.h"
#include "tools/cli/cli.h"

#include <cstring>
#include <filesystem>
#include <sstream>

namespace {

// C NAME 8, N SUM 6.1, D BORN, L OK; three records, the second marked for deletion.
std::string SmallTable()
{
    const char* const fields[][3] = { { "NAME", "C", "\x08" }, { "SUM", "N", "\x06" },
                                      { "BORN", "D", "\x08" }, { "OK", "L", "\x01" } };
    const char* const records[] = { " Ivanov    12.520240131T", "*Petrov   -0.5 19991231F",
                                    "                        " };
    std::string file(32, '\0');
    file[0] = '\x03';
    file[1] = 124;
    file[2] = 1;
    file[3] = 1;
    file[4] = 3;
    file[8] = static_cast<char>(32 * 5 + 1);
    file[10] = 24;
    for (const auto& f : fields) {
        std::string d(32, '\0');
        std::memcpy(d.data(), f[0], std::strlen(f[0]));
        d[11] = f[1][0];
        d[16] = f[2][0];
        d[17] = f[1][0] == 'N' ? 1 : 0;
        file += d;
    }
    file += '\x0D';
    for (const char* r : records)
        file += r;
    file += '\x1A';
    return file;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string table = SmallTable();
    fuzzing::ClearScratch();
    fuzzing::WriteFile(fuzzing::ScratchDir() + "t.dbf", table);

    std::vector<std::string> args;
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    while (!rest.empty() && args.size() < 24) {
        const std::size_t end = rest.find('\0');
        args.emplace_back(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view {} : rest.substr(end + 1);
    }

    const shell::CommandLine parsed = shell::ParseCommandLine(args);
    fuzzing::Require(parsed.files.size() <= args.size(), "more files than arguments");
    if (parsed.classifierDirectory)
        fuzzing::Require(!parsed.classifierDirectory->empty() && parsed.classifierDirectory->back() == '/',
                         "a classifier folder without its '/'");

    fuzzing::ScratchFileSystem fs;
    std::istringstream in("y\n");
    std::ostringstream out;
    std::ostringstream err;
    // Relative names are the scratch folder's; libFuzzer's own relative paths need the
    // working folder back afterwards.
    const std::filesystem::path home = std::filesystem::current_path();
    std::filesystem::current_path(fuzzing::ScratchDir());
    const int code = cli::Run(args, fs, { in, out, err });
    std::filesystem::current_path(home);
    fuzzing::Require(code == cli::kExitOk || code == cli::kExitFailed || code == cli::kExitUsage,
                     "an exit code the tool does not document");
    return 0;
}
