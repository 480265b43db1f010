#include "tablegrid/operations/pending_change.h"

#include "tablegrid/operations/two_bit_array.h"

#include <gtest/gtest.h>

namespace {

using tablegrid::PendingChange;
using tablegrid::PendingChangeList;
using tablegrid::PendingMark;
using tablegrid::TwoBitArray;
using Kind = PendingChange::Kind;

PendingChange Edit(int record, const std::string& field, const std::string& text)
{
    PendingChange change;
    change.kind = Kind::kEditCell;
    change.recordNumber = record;
    change.fieldName = field;
    change.newText = text;
    return change;
}

PendingChange Mark(Kind kind, int record)
{
    PendingChange change;
    change.kind = kind;
    change.recordNumber = record;
    return change;
}

PendingChange Append(int record, int row)
{
    PendingChange change = Mark(Kind::kAppendRecord, record);
    change.row = row;
    return change;
}

TEST(TwoBitArrayTest, KeepsValuesFromAnyBaseAndFindsTheNextSetOne)
{
    TwoBitArray values;
    EXPECT_EQ(values.Get(5), 0u);
    EXPECT_EQ(values.NextNonZero(0), -1);
    values.Set(1'000'001, 2);
    values.Set(1'000'003, 3);
    values.Set(999'990, 1); // below the first: the values move
    EXPECT_EQ(values.Get(1'000'001), 2u);
    EXPECT_EQ(values.Get(1'000'003), 3u);
    EXPECT_EQ(values.Get(999'990), 1u);
    EXPECT_EQ(values.Get(1'000'002), 0u);
    EXPECT_EQ(values.Get(-7), 0u);
    EXPECT_LT(values.MemoryBytes(), 64u);
    EXPECT_EQ(values.NextNonZero(0), 999'990);
    EXPECT_EQ(values.NextNonZero(999'991), 1'000'001);
    EXPECT_EQ(values.NextNonZero(1'000'002), 1'000'003);
    EXPECT_EQ(values.NextNonZero(1'000'004), -1);
    values.Set(1'000'001, 0);
    EXPECT_EQ(values.NextNonZero(999'991), 1'000'003);
}

TEST(PendingChangeListTest, FindsTheNewestEditOfACell)
{
    PendingChangeList list;
    list.Append(Edit(3, "NAME", "first"));
    list.Append(Edit(4, "NAME", "other record"));
    list.Append(Edit(3, "NAME", "second"));
    list.Append(Edit(3, "CITY", "other field"));
    ASSERT_TRUE(list.FindNewestEdit(3, "NAME").has_value());
    EXPECT_EQ(list.FindNewestEdit(3, "NAME")->newText, "second");
    EXPECT_FALSE(list.FindNewestEdit(3, "name").has_value()); // field names as the table spells them
    EXPECT_FALSE(list.FindNewestEdit(5, "NAME").has_value());
    EXPECT_EQ(list.Size(), 4u);
}

// A record has at most one pending mark: the newest decides, and one against it cancels it.
TEST(PendingChangeListTest, MarksAreOneARecord)
{
    PendingChangeList list;
    EXPECT_EQ(list.MarkOf(1), PendingMark::kNone);
    list.Append(Mark(Kind::kMarkDeleted, 1));
    list.Append(Mark(Kind::kMarkUndeleted, 2));
    list.Append(Mark(Kind::kMarkDeleted, 1)); // again: nothing more pending
    EXPECT_EQ(list.MarkOf(1), PendingMark::kDeletePending);
    EXPECT_EQ(list.MarkOf(2), PendingMark::kUndeletePending);
    EXPECT_EQ(list.Size(), 2u);
    list.Append(Mark(Kind::kMarkUndeleted, 1));
    EXPECT_EQ(list.MarkOf(1), PendingMark::kUndeletePending);
    EXPECT_EQ(list.Size(), 2u);

    EXPECT_TRUE(list.RemoveMark(Kind::kMarkUndeleted, 1));
    EXPECT_FALSE(list.RemoveMark(Kind::kMarkUndeleted, 1));
    EXPECT_FALSE(list.RemoveMark(Kind::kMarkDeleted, 2));
    EXPECT_EQ(list.Size(), 1u);
    EXPECT_EQ(list.NextMarkedRecord(1), 2);
    EXPECT_EQ(list.NextMarkedRecord(3), 0);
}

TEST(PendingChangeListTest, AppendsAreFoundByTheirRow)
{
    PendingChangeList list;
    list.Append(Append(11, 10));
    list.Append(Append(12, 11));
    ASSERT_TRUE(list.FindAppend(11).has_value());
    EXPECT_EQ(list.FindAppend(11)->recordNumber, 12);
    EXPECT_FALSE(list.FindAppend(9).has_value());
    EXPECT_EQ(list.AppendCount(), 2);
    list.Clear();
    EXPECT_TRUE(list.Empty());
    EXPECT_FALSE(list.FindAppend(11).has_value());
    EXPECT_FALSE(list.CanUndo());
}

// Undo takes back one change at a time, newest first, and a group at once, with the marks
// it took away put back.
TEST(PendingChangeListTest, UndoTakesBackTheNewestStepAndAGroupWhole)
{
    PendingChangeList list;
    list.Append(Edit(1, "NAME", "edited"));
    list.Append(Mark(Kind::kMarkUndeleted, 5)); // a record deleted in the file, unmarked
    list.Append(Mark(Kind::kMarkDeleted, 7));
    list.BeginGroup(); // a Delete All over records 1..10
    for (int record = 1; record <= 10; ++record) {
        if (!list.RemoveMark(Kind::kMarkUndeleted, record))
            list.Append(Mark(Kind::kMarkDeleted, record));
    }
    list.EndGroup();
    list.BeginGroup(); // an Append Copy
    list.Append(Append(11, 10));
    list.Append(Edit(11, "NAME", "copied"));
    list.EndGroup();
    list.BeginGroup(); // a group that changed nothing is no step
    list.EndGroup();
    EXPECT_EQ(list.MarkOf(5), PendingMark::kNone);
    EXPECT_EQ(list.Size(), 1u + 9u + 2u);

    ASSERT_TRUE(list.Undo()); // the copy
    EXPECT_EQ(list.AppendCount(), 0);
    EXPECT_FALSE(list.FindNewestEdit(11, "NAME").has_value());
    ASSERT_TRUE(list.Undo()); // the Delete All
    EXPECT_EQ(list.MarkOf(5), PendingMark::kUndeletePending);
    EXPECT_EQ(list.MarkOf(7), PendingMark::kDeletePending);
    EXPECT_EQ(list.MarkOf(3), PendingMark::kNone);
    EXPECT_EQ(list.Size(), 3u);
    ASSERT_TRUE(list.Undo()); // the mark of 7
    EXPECT_EQ(list.MarkOf(7), PendingMark::kNone);
    ASSERT_TRUE(list.Undo());
    ASSERT_TRUE(list.Undo());
    EXPECT_FALSE(list.FindNewestEdit(1, "NAME").has_value());
    EXPECT_TRUE(list.Empty());
    EXPECT_FALSE(list.Undo());
}

// A million marks, as a Delete All on a large table makes them, take about half a byte a
// record with their undo step (the benchmark measures ten million); every marked record is
// found again in order.
TEST(PendingChangeListTest, AMillionMarksStaySmall)
{
    constexpr int kRecords = 1'000'000;
    PendingChangeList list;
    list.BeginGroup();
    for (int record = 1; record <= kRecords; ++record) {
        if (record % 10 != 0) // the deleted ones get no change
            list.Append(Mark(Kind::kMarkDeleted, record));
    }
    list.EndGroup();
    EXPECT_EQ(list.Size(), 900'000u);
    EXPECT_LT(list.MemoryBytes(), 1536u * 1024);
    int found = 0;
    int last = 0;
    for (int record = list.NextMarkedRecord(1); record > 0; record = list.NextMarkedRecord(record + 1)) {
        EXPECT_GT(record, last);
        last = record;
        ++found;
    }
    EXPECT_EQ(found, 900'000);
    ASSERT_TRUE(list.Undo());
    EXPECT_TRUE(list.Empty());
}

// A Replace All over many records: each edit costs its texts and a small fixed record, the
// index one number a record; the newest edit of each record is still found at once.
TEST(PendingChangeListTest, ManyEditsStaySmall)
{
    constexpr int kEdits = 200'000;
    PendingChangeList list;
    list.BeginGroup();
    for (int record = 1; record <= kEdits; ++record) {
        PendingChange edit = Edit(record, "NAME", "new");
        edit.oldText = "old";
        list.Append(std::move(edit));
    }
    list.EndGroup();
    EXPECT_EQ(list.Size(), static_cast<std::size_t>(kEdits));
    EXPECT_LT(list.MemoryBytes(), static_cast<std::size_t>(kEdits) * 72);
    ASSERT_TRUE(list.NewestEditText(123'456, "NAME").has_value());
    EXPECT_EQ(*list.NewestEditText(123'456, "NAME"), "new");
    EXPECT_EQ(list.Item(5).oldText, "old");
    EXPECT_EQ(list.Item(5).recordNumber, 6);
    ASSERT_TRUE(list.Undo());
    EXPECT_TRUE(list.Empty());
    EXPECT_FALSE(list.NewestEditText(123'456, "NAME").has_value());
}

// What a save leaves: the refused changes, searchable as before, with nothing to undo.
TEST(PendingChangeListTest, KeepOnlyLeavesTheRefusedChanges)
{
    PendingChangeList list;
    list.Append(Edit(2, "NAME", "refused"));
    list.Append(Mark(Kind::kMarkDeleted, 3));
    list.KeepOnly({ Edit(2, "NAME", "refused") }, { { 4, PendingMark::kUndeletePending } });
    EXPECT_EQ(list.Size(), 2u);
    ASSERT_TRUE(list.FindNewestEdit(2, "NAME").has_value());
    EXPECT_EQ(list.MarkOf(3), PendingMark::kNone);
    EXPECT_EQ(list.MarkOf(4), PendingMark::kUndeletePending);
    EXPECT_FALSE(list.CanUndo());
}

} // namespace
