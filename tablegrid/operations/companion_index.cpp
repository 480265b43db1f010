#include "tablegrid/operations/companion_index.h"

#include "platform/file_system.h"

namespace tablegrid {

std::optional<std::string> FindCompanionIndex(platform::FileSystem& fs, const std::string& tablePath)
{
    const std::string base = platform::BaseNameOf(tablePath);
    if (base.empty())
        return std::nullopt;
    return platform::FindEntryNoCase(fs, platform::DirectoryOf(tablePath), base + ".cdx");
}

} // namespace tablegrid
