#include "table/header_repair.h"

#include "platform/file_system.h"

namespace table {

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

ReplaceResult ReplaceWithRepaired(
    platform::FileSystem& fs, const std::string& tablePath, const std::string& repairedPath)
{
    ReplaceResult result;
    result.backupPath = BackupPathFor(tablePath);
    result.originalPath = tablePath;
    result.repairedPath = repairedPath;

    // Removing the old backup would then delete the table or the repaired copy.
    if (result.backupPath == tablePath || repairedPath == tablePath
        || repairedPath == result.backupPath) {
        result.outcome = ReplaceOutcome::kPathsClash;
        return result;
    }
    if (fs.Exists(result.backupPath) && !fs.Remove(result.backupPath)) {
        result.outcome = ReplaceOutcome::kOldBackupKept;
        return result;
    }
    if (!fs.Rename(tablePath, result.backupPath)) {
        result.outcome = ReplaceOutcome::kTableNotMoved;
        return result;
    }
    result.originalPath = result.backupPath;
    // The table path is free now; a rename takes it without deleting anything first.
    if (fs.Rename(repairedPath, tablePath)) {
        result.repairedPath = tablePath;
        result.outcome = ReplaceOutcome::kReplaced;
        return result;
    }
    if (fs.Rename(result.backupPath, tablePath)) {
        result.originalPath = tablePath;
        result.outcome = ReplaceOutcome::kRepairedNotMoved;
        return result;
    }
    result.outcome = ReplaceOutcome::kOriginalAtBackup;
    return result;
}

} // namespace table
