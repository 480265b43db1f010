#pragma once

#include "platform/file_system.h"

#include <atomic>
#include <memory>
#include <string>

namespace testing_support {

// The real file system with the program stopped dead, or a disk failing, at a chosen step.
// A step is every call that changes the file system: an open that may write, a write, a
// truncation, a sync, a rename, a removal, a link, a directory made or removed.
//
//   crashAt = N: the Nth step and every call after it (reads and queries too, through files
//     opened before) fail, as if the process had ended there; nothing the program does
//     afterwards reaches the disk.
//   failWriteAt = N: the write of step N fails with `writeError`; with ENOSPC every later
//     write fails too (a full disk stays full), with EIO only that one.
//
// A run with neither set counts the steps an operation takes (`steps`).
class CrashingFileSystem final : public platform::FileSystem
{
public:
    int crashAt = 0;
    int failWriteAt = 0;
    int writeError = 0;

    // Atomic: a file may be written from a writer's own thread while the program reads.
    std::atomic<int> steps = 0;
    std::atomic<bool> crashed = false;

    std::unique_ptr<platform::File> Open(const std::string& path, platform::OpenMode mode,
                                         int* error) override;
    bool Rename(const std::string& from, const std::string& to) override;
    bool Remove(const std::string& path) override;
    bool Link(const std::string& existing, const std::string& newPath) override;
    bool Exists(const std::string& path) override;
    bool IsDirectory(const std::string& path) override;
    bool CreateDirectories(const std::string& path) override;
    bool RemoveAll(const std::string& path) override;
    std::vector<std::string> List(const std::string& directory) override;

    // Counts a step; false when the program has stopped at it or before.
    bool Step();
    // Whether the write of the step just counted fails, and with which error.
    bool WriteFails(int* error) const;

private:
    static platform::FileSystem& Real() { return platform::FileSystem::Default(); }
};

} // namespace testing_support
