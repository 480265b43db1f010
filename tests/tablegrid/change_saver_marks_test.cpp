#include "tablegrid/operations/change_saver.h"

#include "table/table.h"
#include "table/table_database.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/table_builder.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using tablegrid::ChangeSaver;
using tablegrid::PendingChange;
using tablegrid::PendingChangeList;
using tablegrid::PendingMark;
using testing_support::TableBuilder;
using Kind = PendingChange::Kind;

// More records than the saver writes marks for in one go.
constexpr int kManyRecords = 70000;

// NAME C6: `records` records named by their number, every tenth deleted.
TableBuilder Numbered(int records)
{
    TableBuilder b;
    b.Field("NAME", 'C', 6);
    for (int k = 1; k <= records; ++k)
        b.Record(std::to_string(k), k % 10 == 0);
    return b;
}

PendingChange Mark(Kind kind, int record)
{
    PendingChange change;
    change.kind = kind;
    change.recordNumber = record;
    return change;
}

class ChangeSaverMarksTest : public ::testing::Test
{
protected:
    ChangeSaverMarksTest() { EXPECT_TRUE(database.SetDatabaseDirectory(dir.Path())); }

    void Open(const TableBuilder& b)
    {
        built = b;
        built.Write(path);
        ASSERT_TRUE(table.Open(path, false));
    }
    // The file as built, with record `record`'s flag byte set to `flag`.
    void ExpectFlag(std::vector<std::uint8_t>& bytes, int record, char flag) const
    {
        bytes[built.TrueHeaderLength() + std::size_t(record - 1) * built.TrueRecordLength()]
            = static_cast<std::uint8_t>(flag);
    }

    testing_support::TempDir dir;
    std::string path = dir.File("t.dbf");
    testing_support::FaultyFileSystem fs;
    table::TableDatabase database { fs };
    table::CTable table { &database };
    TableBuilder built;
    PendingChangeList changes;
};

TEST_F(ChangeSaverMarksTest, DeleteAllMarksEveryRecordAndLeavesTheRestAsItWas)
{
    Open(Numbered(kManyRecords));
    // An edit is written first; the marks around its record keep it.
    PendingChange edit;
    edit.kind = Kind::kEditCell;
    edit.recordNumber = 3;
    edit.fieldName = "NAME";
    edit.newText = "EDIT";
    changes.Append(edit);
    // What Delete All leaves: a mark on every record not deleted yet. Record 7 is then
    // unmarked, and a deleted one is to be undeleted.
    std::size_t marks = 0;
    for (int k = 1; k <= kManyRecords; ++k) {
        if (k % 10 != 0 && k != 7) {
            changes.Append(Mark(Kind::kMarkDeleted, k));
            ++marks;
        }
    }
    changes.Append(Mark(Kind::kMarkUndeleted, 20));

    const ChangeSaver::Result result = ChangeSaver::Save(changes, table, true);
    EXPECT_TRUE(result.allWritten);
    EXPECT_EQ(result.written, marks + 2);
    EXPECT_TRUE(changes.Empty());

    auto expected = built.Bytes();
    for (int k = 1; k <= kManyRecords; ++k) {
        if (k % 10 != 0 && k != 7)
            ExpectFlag(expected, k, '*');
    }
    ExpectFlag(expected, 20, ' ');
    const std::size_t name3 = built.TrueHeaderLength() + 2 * built.TrueRecordLength() + 1;
    for (std::size_t i = 0; i < 6; ++i)
        expected[name3 + i] = static_cast<std::uint8_t>(std::string("EDIT  ")[i]);
    table.Close();
    EXPECT_EQ(testing_support::ReadAllBytes(path), expected);
}

TEST_F(ChangeSaverMarksTest, ByRowAMarkGoesWhereItsRecordIsShown)
{
    Open(Numbered(5));
    // Rows shown in reverse; record 3 is not shown.
    const ChangeSaver::RowOfRecord rowOf = [](int record) { return record == 3 ? -1 : 5 - record; };
    for (int record : { 1, 2, 3 })
        changes.Append(Mark(Kind::kMarkDeleted, record));

    const ChangeSaver::Result result = ChangeSaver::Save(changes, table, false, rowOf);
    EXPECT_TRUE(result.allWritten);
    EXPECT_EQ(result.written, 2u);
    EXPECT_TRUE(changes.Empty());
    auto expected = built.Bytes();
    ExpectFlag(expected, 5, '*');
    ExpectFlag(expected, 4, '*');
    table.Close();
    EXPECT_EQ(testing_support::ReadAllBytes(path), expected);
}

TEST_F(ChangeSaverMarksTest, RefusedMarksStayPendingAndUnreachableOnesAreDropped)
{
    Open(Numbered(kManyRecords));
    for (int record : { 1, kManyRecords - 1000, kManyRecords - 999, 2 * kManyRecords })
        changes.Append(Mark(Kind::kMarkDeleted, record));
    // The first write goes through; then the disk is full.
    fs.failWriteFrom = fs.writes + 2;

    const ChangeSaver::Result result = ChangeSaver::Save(changes, table, true);
    EXPECT_FALSE(result.allWritten);
    EXPECT_EQ(result.written, 1u);
    EXPECT_EQ(changes.MarkCount(), 2u);
    EXPECT_EQ(changes.MarkOf(1), PendingMark::kNone);
    EXPECT_EQ(changes.MarkOf(kManyRecords - 1000), PendingMark::kDeletePending);
    EXPECT_EQ(changes.MarkOf(kManyRecords - 999), PendingMark::kDeletePending);
    EXPECT_EQ(changes.MarkOf(2 * kManyRecords), PendingMark::kNone);
    auto expected = built.Bytes();
    ExpectFlag(expected, 1, '*');
    table.Close();
    EXPECT_EQ(testing_support::ReadAllBytes(path), expected);
}

} // namespace
