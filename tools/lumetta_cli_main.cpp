#include "platform/file_system.h"
#include "resources/table_resources.h"
#include "tools/cli/cli.h"

#include <iostream>

int main(int argc, char* argv[])
{
    resources::InstallEnglishResources();
    const std::vector<std::string> args(argv + 1, argv + argc);
    return cli::Run(args, platform::FileSystem::Default(), { std::cin, std::cout, std::cerr });
}
