#pragma once

#include <string>
#include <utility>
#include <vector>

namespace platform {
class FileSystem;
}

namespace tablegrid {

// The files a save writes, first under temporary names beside where they go, then put in
// place together: a table with its memo file, or a text file. Until Commit the files at the
// final paths are untouched; a Commit that fails part-way puts back what it had moved, and
// whatever the save leaves unfinished (a failure, an early return) is removed when the
// target is destroyed. Only files this object created are ever removed.
//
// The temporary names share one stem (".lumetta-save", ".lumetta-save1", ...) followed by
// each final file's extension, so a table and its memo file stay companions while written.
class SaveTarget
{
public:
    explicit SaveTarget(platform::FileSystem& fs);
    ~SaveTarget();
    SaveTarget(const SaveTarget&) = delete;
    SaveTarget& operator=(const SaveTarget&) = delete;

    // Claims temporary names in the directory of the first path, one for each final path,
    // by creating them empty. `finalPaths` share that directory. False when the directory
    // takes no new file, or when a final path is a device, a pipe or a socket.
    [[nodiscard]] bool Claim(const std::vector<std::string>& finalPaths);
    // The temporary path of the i-th final path.
    const std::string& TemporaryPath(std::size_t i) const { return m_files[i].first; }
    // Renames every temporary file onto its final path, the last one last: files the earlier
    // renames would replace are first moved aside, and put back should a later step fail.
    [[nodiscard]] bool Commit();
    // Removes the temporary files now.
    void Discard();

private:
    platform::FileSystem& m_fs;
    std::vector<std::pair<std::string, std::string>> m_files; // temporary, final
    bool m_committed = false;
};

} // namespace tablegrid
