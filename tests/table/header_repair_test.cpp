#include "table/header_repair.h"

#include "platform/file_system.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using table::ReplaceOutcome;
using testing_support::ReadAllBytes;
using testing_support::WriteAllBytes;

class HeaderRepairTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WriteAllBytes(table, original);
        WriteAllBytes(repaired, fixed);
    }
    // Each file is whole at the path the result names.
    void ExpectWhereReported(const table::ReplaceResult& result)
    {
        EXPECT_EQ(ReadAllBytes(result.originalPath), original);
        EXPECT_EQ(ReadAllBytes(result.repairedPath), fixed);
    }

    testing_support::TempDir dir;
    std::string table = dir.File("t.dbf");
    std::string repaired = dir.File("fixedHDR.tmp");
    std::string backup = dir.File("t.old");
    const std::vector<std::uint8_t> original { 'o', 'r', 'i', 'g' };
    const std::vector<std::uint8_t> fixed { 'f', 'i', 'x' };
    platform::FileSystem& fs = platform::FileSystem::Default();
};

TEST_F(HeaderRepairTest, BackupPathReplacesTheExtension)
{
    EXPECT_EQ(table::BackupPathFor("/d/t.dbf"), "/d/t.old");
    EXPECT_EQ(table::BackupPathFor("/d/T.DBF"), "/d/T.old");
    EXPECT_EQ(table::BackupPathFor("/d/t.a.dbf"), "/d/t.a.old");
    EXPECT_EQ(table::BackupPathFor("/d.x/t"), "/d.x/t.old");
    EXPECT_EQ(table::BackupPathFor("/d/.dbf"), "/d/.dbf.old");
    EXPECT_EQ(table::BackupPathFor("t.dbf"), "t.old");
}

TEST_F(HeaderRepairTest, ReplacesTheTableOverAnOldBackup)
{
    WriteAllBytes(backup, { 'p', 'r', 'e', 'v' });
    const auto result = table::ReplaceWithRepaired(fs, table, repaired);
    EXPECT_EQ(result.outcome, ReplaceOutcome::kReplaced);
    EXPECT_EQ(result.backupPath, backup);
    EXPECT_EQ(result.originalPath, backup);
    EXPECT_EQ(result.repairedPath, table);
    ExpectWhereReported(result);
    EXPECT_FALSE(fs.Exists(repaired));
}

// A table reached through a link is repaired where the link leads, its backup beside it;
// the link stays and reads the repaired table, which keeps the table's permissions.
TEST_F(HeaderRepairTest, ATableNamedByALinkIsReplacedWhereTheLinkLeads)
{
    namespace stdfs = std::filesystem;
    const std::string link = dir.File("l.dbf");
    stdfs::create_symlink("t.dbf", link);
    testing_support::SetModeOf(table, 0640);
    const auto result = table::ReplaceWithRepaired(fs, link, repaired);
    EXPECT_EQ(result.outcome, ReplaceOutcome::kReplaced);
    EXPECT_EQ(result.backupPath, backup);
    EXPECT_EQ(result.repairedPath, link);
    ExpectWhereReported(result);
    EXPECT_TRUE(stdfs::is_symlink(link));
    EXPECT_EQ(ReadAllBytes(table), fixed);
    EXPECT_EQ(testing_support::ModeOf(table), 0640); // shared as it was
}

TEST_F(HeaderRepairTest, FailuresBeforeTheTableMovesLeaveEverythingInPlace)
{
    WriteAllBytes(backup, { 'p', 'r', 'e', 'v' });
    testing_support::FaultyFileSystem faulty;
    faulty.failRemoves = true;
    auto result = table::ReplaceWithRepaired(faulty, table, repaired);
    EXPECT_EQ(result.outcome, ReplaceOutcome::kOldBackupKept);
    EXPECT_EQ(result.originalPath, table);
    EXPECT_EQ(result.repairedPath, repaired);
    ExpectWhereReported(result);

    faulty.failRemoves = false;
    faulty.failRenameNumber = 1;
    result = table::ReplaceWithRepaired(faulty, table, repaired);
    EXPECT_EQ(result.outcome, ReplaceOutcome::kTableNotMoved);
    EXPECT_EQ(result.originalPath, table);
    ExpectWhereReported(result);
}

TEST_F(HeaderRepairTest, AFailedSecondRenameMovesTheOriginalBack)
{
    testing_support::FaultyFileSystem faulty;
    faulty.failRenameNumber = 2;
    const auto result = table::ReplaceWithRepaired(faulty, table, repaired);
    EXPECT_EQ(result.outcome, ReplaceOutcome::kRepairedNotMoved);
    EXPECT_EQ(result.originalPath, table);
    EXPECT_EQ(result.repairedPath, repaired);
    ExpectWhereReported(result);
    EXPECT_FALSE(fs.Exists(backup));

    // With hard links the backup is a second name of the table, which stays in place; when
    // the repaired copy cannot take its place the second name goes again.
    testing_support::FaultyFileSystem linking;
    linking.failLinks = false;
    linking.failRenames = true;
    const auto linked = table::ReplaceWithRepaired(linking, table, repaired);
    EXPECT_EQ(linked.outcome, ReplaceOutcome::kRepairedNotMoved);
    EXPECT_EQ(linked.originalPath, table);
    EXPECT_EQ(ReadAllBytes(table), original);
    EXPECT_FALSE(fs.Exists(backup));
}

// Without a way back by renaming, the table path must not stay empty: the next open of
// the table would fail with its only copy under the backup name.
TEST_F(HeaderRepairTest, WhenNoRenameBackWorksTheOriginalIsCopiedBackOrTheCallerLearnsWhere)
{
    testing_support::FaultyFileSystem failing;
    failing.failRenameFrom = 2; // the move back of the original fails too
    auto result = table::ReplaceWithRepaired(failing, table, repaired);
    EXPECT_EQ(result.outcome, ReplaceOutcome::kOriginalCopiedBack);
    EXPECT_EQ(result.originalPath, table);
    EXPECT_EQ(result.repairedPath, repaired);
    ExpectWhereReported(result);
    EXPECT_EQ(ReadAllBytes(backup), original);

    // No copy can be made: the original is at the backup path only.
    ASSERT_TRUE(fs.Remove(backup));
    testing_support::FaultyFileSystem noCopy;
    noCopy.failRenameFrom = 2;
    noCopy.failCreateContaining = "t.dbf";
    result = table::ReplaceWithRepaired(noCopy, table, repaired);
    EXPECT_EQ(result.outcome, ReplaceOutcome::kOriginalAtBackup);
    EXPECT_EQ(result.originalPath, backup);
    EXPECT_EQ(result.repairedPath, repaired);
    ExpectWhereReported(result);
    EXPECT_FALSE(fs.Exists(table));

    // A copy that breaks off half-way is not left at the table path.
    ASSERT_TRUE(fs.Rename(backup, table));
    testing_support::FaultyFileSystem full;
    full.failRenameFrom = 2;
    full.failWriteFrom = 1;
    result = table::ReplaceWithRepaired(full, table, repaired);
    EXPECT_EQ(result.outcome, ReplaceOutcome::kOriginalAtBackup);
    ExpectWhereReported(result);
    EXPECT_FALSE(fs.Exists(table));
}

// A table already named *.old is its own backup path: removing the "old backup" would
// delete the only copy of the original.
TEST_F(HeaderRepairTest, ClashingPathsMoveNothing)
{
    const std::string oldTable = dir.File("archive.old");
    WriteAllBytes(oldTable, original);
    auto result = table::ReplaceWithRepaired(fs, oldTable, repaired);
    EXPECT_EQ(result.outcome, ReplaceOutcome::kPathsClash);
    EXPECT_EQ(result.originalPath, oldTable);
    ExpectWhereReported(result);

    WriteAllBytes(backup, fixed);
    result = table::ReplaceWithRepaired(fs, table, backup);
    EXPECT_EQ(result.outcome, ReplaceOutcome::kPathsClash);
    ExpectWhereReported(result);
}

} // namespace
