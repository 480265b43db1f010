#include "tablegrid/operations/record_commands.h"

#include "tests/tablegrid/record_test_host.h"

#include <gtest/gtest.h>

namespace tablegrid {
namespace {

using Kind = PendingChange::Kind;

class RecordCommandsTest : public test::RecordTableTest
{
protected:
    RecordCommands Commands() { return RecordCommands(*host, changes); }
};

TEST_F(RecordCommandsTest, DeletingThenUndeletingARecordLeavesNothingPending)
{
    OpenTable(6);
    RecordCommands commands = Commands();
    EXPECT_FALSE(commands.ShowsDeleted(0));
    ASSERT_TRUE(commands.DeleteRecord(0));
    EXPECT_EQ(changes.MarkOf(1), PendingMark::kDeletePending);
    EXPECT_TRUE(commands.ShowsDeleted(0));
    ASSERT_TRUE(commands.UndeleteRecord(0));
    EXPECT_TRUE(changes.Empty());

    // Record 3 is deleted in the file: Toggle unmarks it, and again takes that back.
    EXPECT_TRUE(commands.ShowsDeleted(2));
    ASSERT_TRUE(commands.ToggleDelete(2));
    EXPECT_EQ(changes.MarkOf(3), PendingMark::kUndeletePending);
    EXPECT_FALSE(commands.ShowsDeleted(2));
    ASSERT_TRUE(commands.ToggleDelete(2));
    EXPECT_TRUE(changes.Empty());

    // No such row; no table open.
    EXPECT_FALSE(commands.DeleteRecord(6));
    EXPECT_FALSE(commands.DeleteRecord(-1));
    table.Close();
    EXPECT_FALSE(commands.DeleteRecord(0));
    EXPECT_TRUE(changes.Empty());
}

TEST_F(RecordCommandsTest, SingleMarksAskAtTheLimit)
{
    OpenTable(6);
    host->limit = 1;
    RecordCommands commands = Commands();
    ASSERT_TRUE(commands.DeleteRecord(0));
    EXPECT_FALSE(commands.DeleteRecord(1)); // the question answered Cancel
    EXPECT_EQ(host->limitQuestions, 1);
    EXPECT_EQ(changes.Size(), 1u);
    // Taking a pending mark back adds nothing, so it never asks.
    ASSERT_TRUE(commands.UndeleteRecord(0));
    EXPECT_EQ(host->limitQuestions, 1);
}

// Delete All marks what the file does not have marked, takes pending unmarks back, and is
// not held by the change limit.
TEST_F(RecordCommandsTest, DeleteAllChangesOnlyWhatDiffers)
{
    OpenTable(9);
    host->limit = 2;
    RecordCommands commands = Commands();
    ASSERT_TRUE(commands.UndeleteRecord(2)); // record 3, deleted in the file
    commands.MarkAll(true);
    EXPECT_EQ(host->limitQuestions, 0);
    for (int record = 1; record <= 9; ++record) {
        const PendingMark expected
            = record % 3 == 0 ? PendingMark::kNone : PendingMark::kDeletePending;
        EXPECT_EQ(changes.MarkOf(record), expected) << record;
    }
    EXPECT_EQ(changes.Size(), 6u);
    commands.MarkAll(true); // again: nothing more
    EXPECT_EQ(changes.Size(), 6u);

    // Undelete All takes the pending marks back and unmarks the file's.
    commands.MarkAll(false);
    for (int record = 1; record <= 9; ++record) {
        const PendingMark expected
            = record % 3 == 0 ? PendingMark::kUndeletePending : PendingMark::kNone;
        EXPECT_EQ(changes.MarkOf(record), expected) << record;
    }
    // One undo step each.
    ASSERT_TRUE(changes.Undo());
    EXPECT_EQ(changes.MarkOf(1), PendingMark::kDeletePending);
    EXPECT_EQ(changes.MarkOf(3), PendingMark::kNone);
}

TEST_F(RecordCommandsTest, DeleteAllThroughAFilterMarksOnlyTheShownRows)
{
    OpenTable(10);
    host->shown = { 2, 4, 5, 8 };
    Commands().MarkAll(true);
    EXPECT_EQ(changes.Size(), 4u);
    EXPECT_EQ(changes.MarkOf(4), PendingMark::kDeletePending);
    EXPECT_EQ(changes.MarkOf(1), PendingMark::kNone);
    EXPECT_EQ(changes.MarkOf(7), PendingMark::kNone);
}

// Progress: every row below 50, every tenth below 500, then every hundredth, with the row
// index and the row count.
TEST_F(RecordCommandsTest, DeleteAllReportsThinnedProgress)
{
    OpenTable(1000, false);
    Commands().MarkAll(true);
    std::vector<std::string> expected;
    for (int i = 0; i < 1000; ++i) {
        if (i < 50 || (i < 500 && (i + 1) % 10 == 1) || (i >= 500 && (i + 1) % 100 == 1))
            expected.push_back("4:" + std::to_string(i) + ":1000");
    }
    EXPECT_EQ(host->notes, expected);
    EXPECT_EQ(host->notes[50], "4:50:1000");
    EXPECT_EQ(host->notes.back(), "4:900:1000");
    host->notes.clear();
    Commands().MarkAll(false);
    EXPECT_EQ(host->notes.front(), "5:0:1000");
}

TEST_F(RecordCommandsTest, AppendsNumberTheirRecordsAfterTheTable)
{
    OpenTable(5);
    RecordCommands commands = Commands();
    EXPECT_EQ(commands.AppendRecord(false, -1), 5);
    EXPECT_EQ(commands.AppendRecord(false, -1), 6);
    ASSERT_TRUE(changes.FindAppend(5).has_value());
    EXPECT_EQ(changes.FindAppend(5)->recordNumber, 6);
    EXPECT_EQ(changes.FindAppend(6)->recordNumber, 7);
    EXPECT_FALSE(commands.ShowsDeleted(6)); // an appended row is not deleted
    // A mark on an appended row is kept for its record.
    ASSERT_TRUE(commands.DeleteRecord(6));
    EXPECT_EQ(changes.MarkOf(7), PendingMark::kDeletePending);
}

// A copy takes every field but the memo, as the table keeps it: dates as YYYYMMDD, numbers
// with their decimals, logicals "true" / "false"; a pending edit of the source counts.
TEST_F(RecordCommandsTest, AppendCopyTakesEveryFieldButTheMemo)
{
    OpenTable(5);
    PendingChange edit;
    edit.kind = Kind::kEditCell;
    edit.recordNumber = 2;
    edit.fieldName = "NAME";
    edit.newText = "Edited";
    changes.Append(edit);
    const int row = Commands().AppendRecord(true, 1);
    ASSERT_EQ(row, 5);
    auto text = [&](const char* field) {
        const auto copied = changes.FindNewestEdit(6, field);
        return copied ? copied->newText : std::string("<none>");
    };
    EXPECT_EQ(text("NAME"), "Edited");
    EXPECT_EQ(text("SUM"), "2.25");
    EXPECT_EQ(text("DT"), "20010203");
    EXPECT_EQ(text("OK"), "false");
    EXPECT_EQ(text("NOTE"), "<none>");
    EXPECT_EQ(changes.FindNewestEdit(6, "SUM")->row, 5);
    EXPECT_EQ(changes.FindNewestEdit(6, "SUM")->column, 0);

    // A copy of the appended row copies its pending texts; the whole copy is one undo step.
    ASSERT_EQ(Commands().AppendRecord(true, 5), 6);
    EXPECT_EQ(changes.FindNewestEdit(7, "DT")->newText, "20010203");
    ASSERT_TRUE(changes.Undo());
    EXPECT_EQ(changes.AppendCount(), 1);
    EXPECT_FALSE(changes.FindNewestEdit(7, "DT").has_value());
}

TEST_F(RecordCommandsTest, AnAppendRefusedAtTheLimitAddsNothing)
{
    OpenTable(3);
    host->limit = 0;
    EXPECT_EQ(Commands().AppendRecord(true, 0), -1);
    EXPECT_TRUE(changes.Empty());
    EXPECT_FALSE(changes.CanUndo());
    host->acceptAtLimit = true;
    EXPECT_EQ(Commands().AppendRecord(false, 0), 3);
    EXPECT_EQ(Commands().AppendRecord(true, 99), -1); // no such source row
}

} // namespace
} // namespace tablegrid
