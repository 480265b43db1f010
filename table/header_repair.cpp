#include "table/header_repair.h"

#include "platform/file_system.h"

#include <cstdint>
#include <vector>

namespace table {
namespace {

constexpr std::size_t kCopyChunk = 64 * 1024;

// Writes a whole copy of `from` at `to`, which must not exist. A copy that cannot be
// finished is removed, so `to` never holds part of a table.
bool CopyWhole(platform::FileSystem& fs, const std::string& from, const std::string& to)
{
    const std::unique_ptr<platform::File> source
        = fs.Open(from, platform::OpenMode::kRead, nullptr);
    if (!source)
        return false;
    std::unique_ptr<platform::File> target = fs.Open(to, platform::OpenMode::kCreate, nullptr);
    if (!target)
        return false;
    std::vector<std::uint8_t> buffer(kCopyChunk);
    std::uint64_t offset = 0;
    bool copied = true;
    for (;;) {
        std::size_t got = 0;
        if (!source->ReadAt(offset, buffer.data(), buffer.size(), &got)) {
            copied = false;
            break;
        }
        if (got == 0)
            break;
        if (!target->WriteAt(offset, buffer.data(), got)) {
            copied = false;
            break;
        }
        offset += got;
    }
    copied = copied && target->Sync();
    target.reset();
    if (!copied)
        (void)fs.Remove(to);
    return copied;
}

} // namespace

std::string BackupPathFor(const std::string& tablePath)
{
    const std::string directory = platform::DirectoryOf(tablePath);
    std::string name = platform::FileNameOf(tablePath);
    // A leading dot starts a hidden name, not an extension.
    const auto dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return directory + name + ".old";
}

std::string RepairDirectoryFor(const std::string& tablePath)
{
    return platform::DirectoryOf(platform::FollowLinks(tablePath));
}

ReplaceResult ReplaceWithRepaired(
    platform::FileSystem& fs, const std::string& tablePath, const std::string& repairedPath)
{
    // A table reached through a link is replaced where the link leads, so the link stays
    // and names the repaired table; the results name the table by the caller's path.
    const std::string placed = platform::FollowLinks(tablePath);
    ReplaceResult result;
    result.backupPath = BackupPathFor(placed);
    result.originalPath = tablePath;
    result.repairedPath = repairedPath;

    // Removing the old backup would then delete the table or the repaired copy.
    if (result.backupPath == placed || repairedPath == placed
        || repairedPath == result.backupPath) {
        result.outcome = ReplaceOutcome::kPathsClash;
        return result;
    }
    platform::KeepAccessOf(placed, repairedPath); // the repaired table is shared as it was
    if (fs.Exists(result.backupPath) && !fs.Remove(result.backupPath)) {
        result.outcome = ReplaceOutcome::kOldBackupKept;
        return result;
    }
    // Where the file system allows, the backup is a second name of the table, and the
    // repaired copy then replaces the table in one rename: the table's path holds the old or
    // the repaired table at every moment, even if the program is stopped in between.
    if (fs.Link(placed, result.backupPath)) {
        if (fs.Rename(repairedPath, placed)) {
            result.originalPath = result.backupPath;
            result.repairedPath = tablePath;
            result.outcome = ReplaceOutcome::kReplaced;
        } else {
            (void)fs.Remove(result.backupPath);
            result.outcome = ReplaceOutcome::kRepairedNotMoved;
        }
        return result;
    }
    if (!fs.Rename(placed, result.backupPath)) {
        result.outcome = ReplaceOutcome::kTableNotMoved;
        return result;
    }
    result.originalPath = result.backupPath;
    // The table path is free now; a rename takes it without deleting anything first.
    if (fs.Rename(repairedPath, placed)) {
        result.repairedPath = tablePath;
        result.outcome = ReplaceOutcome::kReplaced;
        return result;
    }
    if (fs.Rename(result.backupPath, placed)) {
        result.originalPath = tablePath;
        result.outcome = ReplaceOutcome::kRepairedNotMoved;
        return result;
    }
    // Left like this, the table would be missing from its path and an open of it would
    // fail; a copy puts it back without touching the original at the backup path.
    if (CopyWhole(fs, result.backupPath, placed)) {
        result.originalPath = tablePath;
        result.outcome = ReplaceOutcome::kOriginalCopiedBack;
        return result;
    }
    result.outcome = ReplaceOutcome::kOriginalAtBackup;
    return result;
}

} // namespace table
