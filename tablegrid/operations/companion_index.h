#pragma once

#include <optional>
#include <string>

namespace platform {
class FileSystem;
}

namespace tablegrid {

// The index file another program keeps beside a table (the table's name with the extension
// "cdx", in any letter case). Saving changes makes it stale, so the window offers to delete
// it. Gives the index file's path, or nothing when there is none.
std::optional<std::string> FindCompanionIndex(platform::FileSystem& fs, const std::string& tablePath);

} // namespace tablegrid
