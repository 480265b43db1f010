#include "tablegrid/operations/pending_change.h"

#include <gtest/gtest.h>

namespace {

using tablegrid::PendingChange;
using tablegrid::PendingChangeList;
using tablegrid::PendingMark;
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

TEST(PendingChangeListTest, FindsTheNewestEditOfACell)
{
    PendingChangeList list;
    list.Append(Edit(3, "NAME", "first"));
    list.Append(Edit(4, "NAME", "other record"));
    list.Append(Edit(3, "NAME", "second"));
    list.Append(Edit(3, "CITY", "other field"));
    ASSERT_NE(list.FindNewestEdit(3, "NAME"), nullptr);
    EXPECT_EQ(list.FindNewestEdit(3, "NAME")->newText, "second");
    EXPECT_EQ(list.FindNewestEdit(3, "name"), nullptr); // field names as the table spells them
    EXPECT_EQ(list.FindNewestEdit(5, "NAME"), nullptr);
    EXPECT_EQ(list.Size(), 4u);
}

TEST(PendingChangeListTest, TheLastMarkOfARecordDecides)
{
    PendingChangeList list;
    EXPECT_EQ(list.MarkOf(1), PendingMark::kNone);
    list.Append(Mark(Kind::kMarkDeleted, 1));
    list.Append(Mark(Kind::kMarkUndeleted, 2));
    EXPECT_EQ(list.MarkOf(1), PendingMark::kDeletePending);
    EXPECT_EQ(list.MarkOf(2), PendingMark::kUndeletePending);
    list.Append(Mark(Kind::kMarkUndeleted, 1));
    EXPECT_EQ(list.MarkOf(1), PendingMark::kUndeletePending);

    // Taking the pending mark back leaves nothing for the record.
    EXPECT_FALSE(list.RemoveMark(Kind::kMarkDeleted, 1));
    EXPECT_TRUE(list.RemoveMark(Kind::kMarkUndeleted, 1));
    EXPECT_FALSE(list.RemoveMark(Kind::kMarkUndeleted, 1));
    EXPECT_EQ(list.MarkOf(1), PendingMark::kNone);
    EXPECT_EQ(list.Size(), 1u);
}

TEST(PendingChangeListTest, AppendsAreFoundByTheirRow)
{
    PendingChangeList list;
    PendingChange append = Mark(Kind::kAppendRecord, 11);
    append.row = 10;
    list.Append(append);
    append.recordNumber = 12;
    append.row = 11;
    list.Append(append);
    ASSERT_NE(list.FindAppend(11), nullptr);
    EXPECT_EQ(list.FindAppend(11)->recordNumber, 12);
    EXPECT_EQ(list.FindAppend(9), nullptr);
    EXPECT_EQ(list.AppendCount(), 2);
    list.Clear();
    EXPECT_TRUE(list.Empty());
}

} // namespace
