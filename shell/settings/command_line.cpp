#include "shell/settings/command_line.h"

#include <string_view>

namespace shell {
namespace {

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

} // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments)
{
    CommandLine line;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument.empty() || argument.front() != '-') {
            if (!argument.empty())
                line.files.push_back(argument);
            continue;
        }
        if (argument.compare(0, 2, "-k") != 0)
            continue;
        // "-k DIR" takes the next argument as the directory, so it is not opened as a file.
        std::string_view directory = std::string_view(argument).substr(2);
        if (argument.size() == 2 && i + 1 < arguments.size())
            directory = arguments[++i];
        directory = TrimBlanks(directory);
        if (directory.empty() || line.classifierDirectory)
            continue;
        line.classifierDirectory = std::string(directory);
        if (directory.back() != '/')
            *line.classifierDirectory += '/';
    }
    return line;
}

} // namespace shell
