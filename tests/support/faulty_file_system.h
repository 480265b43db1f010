#pragma once

#include "platform/file_system.h"

#include <string>
#include <vector>

namespace testing_support {

// The real file system with failures on demand: the Nth write (counted over all files opened
// through it, from 1) and every later one fails with a full disk; renames, removals, and
// opens (all, or only those that create) of paths containing a given text fail. Used to
// prove that failed saves, packs and repairs leave the user's files as they were.
class FaultyFileSystem final : public platform::FileSystem
{
public:
    int failWriteFrom = 0; // 0: writes never fail
    int failReadFrom = 0;  // 0: reads never fail
    bool failRenames = false;
    int failRenameNumber = 0; // fail only the Nth rename (from 1); 0: see failRenames
    int failRenameFrom = 0;   // fail the Nth rename and every later one; 0: never
    bool failRemoves = false;
    // Hard links fail by default, as on a file system without them, so the tests see the
    // moving-aside that replacements fall back to; false gives the real file system's links.
    bool failLinks = true;
    std::string failOpenContaining; // empty: opens never fail
    std::string failCreateContaining; // as failOpenContaining, for opens that create a file

    int writes = 0;
    int reads = 0;
    int renames = 0;
    // Every rename asked for, failed or not, as "from-name -> to-name" (file names only).
    std::vector<std::string> renameLog;

    std::unique_ptr<platform::File> Open(const std::string& path, platform::OpenMode mode,
                                         int* error) override;
    bool Rename(const std::string& from, const std::string& to) override;
    bool Remove(const std::string& path) override;
    bool Link(const std::string& existing, const std::string& newPath) override
    {
        return !failLinks && Real().Link(existing, newPath);
    }
    bool Exists(const std::string& path) override { return Real().Exists(path); }
    bool IsDirectory(const std::string& path) override { return Real().IsDirectory(path); }
    bool CreateDirectories(const std::string& path) override
    {
        return Real().CreateDirectories(path);
    }
    bool RemoveAll(const std::string& path) override { return Real().RemoveAll(path); }
    std::vector<std::string> List(const std::string& directory) override
    {
        return Real().List(directory);
    }

private:
    static platform::FileSystem& Real() { return platform::FileSystem::Default(); }
};

} // namespace testing_support
