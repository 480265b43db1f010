// lumetta-make-samples [--records N] DIRECTORY
// Writes the sample tables into DIRECTORY; N sets the record count of the large one.

#include "platform/file_system.h"
#include "tools/samples/sample_tables.h"

#include <charconv>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char* argv[])
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    samples::SampleOptions options;
    std::string directory;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--records" && i + 1 < args.size()) {
            const std::string& n = args[++i];
            const auto [end, ec]
                = std::from_chars(n.data(), n.data() + n.size(), options.largeRecordCount);
            if (ec != std::errc() || end != n.data() + n.size()) {
                std::cerr << "lumetta-make-samples: not a record count: " << n << '\n';
                return 2;
            }
        } else if (directory.empty() && !args[i].starts_with('-')) {
            directory = args[i];
        } else {
            directory.clear();
            break;
        }
    }
    if (directory.empty()) {
        std::cerr << "usage: lumetta-make-samples [--records N] DIRECTORY\n";
        return 2;
    }
    std::string error;
    if (!samples::WriteSampleTables(platform::FileSystem::Default(), directory, options, &error)) {
        std::cerr << "lumetta-make-samples: " << error << '\n';
        return 1;
    }
    return 0;
}
