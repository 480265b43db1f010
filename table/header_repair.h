#pragma once

#include <string>

namespace platform {
class FileSystem;
}

namespace table {

// How putting a repaired copy in place of its table ended. Whatever happened, the original
// table is whole at one of two paths and ReplaceResult says which.
enum class ReplaceOutcome {
    kReplaced, // the repaired copy is at the table path, the original at the backup path
    kPathsClash, // table, backup and repaired copy do not have three different paths
    kOldBackupKept, // a file already at the backup path could not be removed
    kTableNotMoved, // the table could not be renamed to the backup path
    kRepairedNotMoved, // the repaired copy could not take the table's place; the original
                       // was renamed back to the table path
    kOriginalCopiedBack, // as kRepairedNotMoved, but the original could not be renamed back:
                         // a copy of it was written at the table path, and it stays at the
                         // backup path too
    kOriginalAtBackup, // as kOriginalCopiedBack, but copying failed as well: the table path
                       // is empty and the original is only at the backup path
};

struct ReplaceResult
{
    ReplaceOutcome outcome = ReplaceOutcome::kPathsClash;
    std::string backupPath;
    std::string originalPath; // where the original table is now
    std::string repairedPath; // where the repaired copy is now

    bool Succeeded() const { return outcome == ReplaceOutcome::kReplaced; }
};

// The backup name of a table: its path with the extension of the file name replaced by
// "old" ("/d/t.dbf" -> "/d/t.old"), or ".old" appended when the name has no extension.
std::string BackupPathFor(const std::string& tablePath);

// Where a repaired copy of the table is to be written (CDBFFile::Repair): beside the table
// itself, so that ReplaceWithRepaired renames it within one directory also when `tablePath`
// is a link to the table.
std::string RepairDirectoryFor(const std::string& tablePath);

// Puts the repaired copy of a table in its place and keeps the original under the backup
// name: any file at the backup path is removed, the table is renamed to the backup path,
// and the repaired copy is renamed to the table path. Each step is a rename, so the
// original is never deleted or overwritten; a failed step stops the rest. When the last
// one fails the original goes back to the table path: by a rename, or when even that fails
// by a copy written there (removed again when it cannot be finished). The repaired copy is
// never removed here; keeping or dropping it is the caller's choice. Nothing is moved when
// the backup path is the table path (a table named *.old) or either one is the repaired
// copy's path. A table path that is a link is followed: the file it names is replaced, the
// backup is made beside that file, and the link stays.
// REQUIRES: the files are closed by the caller's checker or table (not needed on this
// system, but the table must not be written to while it moves).
ReplaceResult ReplaceWithRepaired(
    platform::FileSystem& fs, const std::string& tablePath, const std::string& repairedPath);

} // namespace table
