#include "tablegrid/operations/change_saver.h"

#include "table/date_format.h"
#include "table/table.h"
#include "table/table_database.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/table_builder.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace tablegrid {
namespace {

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

PendingChange Edit(int record, int row, const std::string& field, const std::string& text)
{
    PendingChange change;
    change.kind = Kind::kEditCell;
    change.recordNumber = record;
    change.row = row;
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

class ChangeSaverTest : public ::testing::Test
{
protected:
    ChangeSaverTest() { EXPECT_TRUE(database.SetDatabaseDirectory(dir.Path())); }

    void Open(const TableBuilder& b)
    {
        built = b;
        built.Write(path);
        ASSERT_TRUE(table.Open(path, false));
    }
    // The file as built, with record `record`'s flag byte set to `flag`.
    void SetFlag(std::vector<std::uint8_t>& bytes, int record, char flag) const
    {
        bytes[built.TrueHeaderLength() + std::size_t(record - 1) * built.TrueRecordLength()]
            = static_cast<std::uint8_t>(flag);
    }
    // The field as `target` shows it, dates as YYYYMMDD.
    static std::string Field(table::CTable& target, std::uint32_t record, const char* name)
    {
        EXPECT_TRUE(target.GoTo(record));
        const int i = target.FieldIndex(name);
        return target.GetValue(i, false).DisplayText(target.FieldDecimals(i),
            table::DateFormat::kYyyyMmDd);
    }
    static bool Deleted(table::CTable& target, std::uint32_t record)
    {
        return target.GoTo(record) && target.IsDeleted();
    }

    testing_support::TempDir dir;
    std::string path = dir.File("t.dbf");
    testing_support::FaultyFileSystem fs;
    table::TableDatabase database { fs };
    table::CTable table { &database };
    TableBuilder built;
    PendingChangeList changes;
};

TEST_F(ChangeSaverTest, EditsAppendsAndMarksReachTheirRecords)
{
    TableBuilder b;
    b.Field("NAME", 'C', 8).Field("SUM", 'N', 7, 2).Field("DT", 'D', 8).Field("OK", 'L', 1);
    for (int i = 1; i <= 6; ++i)
    {
        std::string name = "Rec" + std::to_string(i);
        name.resize(8, ' ');
        b.Record(name + "   1.25" + "20010203" + "F", i % 3 == 0);
    }
    Open(b);
    changes.Append(Edit(2, 1, "NAME", "Second"));
    changes.Append(Edit(4, 3, "OK", "true"));
    changes.Append(Edit(5, 4, "OK", "false"));
    changes.Append(Edit(1, 0, "DT", "19991231"));
    changes.Append(Mark(Kind::kMarkDeleted, 1));
    changes.Append(Mark(Kind::kMarkUndeleted, 3)); // deleted in the file
    PendingChange append = Mark(Kind::kAppendRecord, 7);
    append.row = 6;
    changes.Append(append);
    changes.Append(Edit(7, 6, "SUM", "2.25"));
    changes.Append(Mark(Kind::kMarkDeleted, 7)); // the appended record, marked before it exists
    changes.Append(Edit(99, 98, "NAME", "Nowhere")); // no such record: dropped

    const ChangeSaver::Result result = ChangeSaver::Save(changes, table, true);
    EXPECT_TRUE(result.allWritten);
    EXPECT_EQ(result.written, 9u);
    EXPECT_TRUE(changes.Empty());
    EXPECT_EQ(Field(table, 2, "NAME"), "Second  ");
    EXPECT_EQ(Field(table, 4, "OK"), "true"); // stored "T"
    EXPECT_EQ(Field(table, 5, "OK"), "false");
    EXPECT_EQ(Field(table, 1, "DT"), "19991231");
    EXPECT_TRUE(Deleted(table, 1));
    EXPECT_FALSE(Deleted(table, 3));
    ASSERT_EQ(table.RecordCount(), 7u);
    EXPECT_EQ(Field(table, 7, "SUM"), "2.25");
    EXPECT_TRUE(Deleted(table, 7));
}

// Marks for every record of a large table go out a span at a time and land exactly where
// they belong, after the edits.
TEST_F(ChangeSaverTest, DeleteAllMarksEveryRecordAndLeavesTheRestAsItWas)
{
    Open(Numbered(kManyRecords));
    changes.Append(Edit(3, 2, "NAME", "EDIT"));
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
            SetFlag(expected, k, '*');
    }
    SetFlag(expected, 20, ' ');
    const std::size_t name3 = built.TrueHeaderLength() + 2 * built.TrueRecordLength() + 1;
    for (std::size_t i = 0; i < 6; ++i)
        expected[name3 + i] = static_cast<std::uint8_t>(std::string("EDIT  ")[i]);
    table.Close();
    EXPECT_EQ(testing_support::ReadAllBytes(path), expected);
}

// Saving into a copy by row: a change goes to the record at the row its record is shown at
// now, one not shown is dropped, and a field the copy lacks is skipped.
TEST_F(ChangeSaverTest, ByRowChangesFollowTheRowsOfTheirRecords)
{
    TableBuilder source;
    source.Field("NAME", 'C', 6).Field("SUM", 'N', 6, 2);
    for (int k = 1; k <= 6; ++k)
        source.Record(std::to_string(k));
    Open(source);
    Numbered(5).Write(dir.File("copy.dbf")); // NAME only
    table::CTable copy(&database);
    ASSERT_TRUE(copy.Open(dir.File("copy.dbf"), false));

    changes.Append(Edit(5, 0, "NAME", "Fifth")); // made when record 5 was row 0
    changes.Append(Edit(6, 2, "SUM", "9.99"));   // the copy has no SUM
    changes.Append(Edit(4, 1, "NAME", "Hidden")); // not shown now
    for (int record : { 1, 2, 3, 6 })
        changes.Append(Mark(Kind::kMarkDeleted, record));
    // Records 1, 2 shown last in reverse; 3 and 4 not shown.
    auto rowOf = [](int record) {
        return record == 5 ? 1 : record == 6 ? 2 : record <= 2 ? 5 - record : -1;
    };
    const ChangeSaver::Result result = ChangeSaver::Save(changes, copy, false, rowOf);
    EXPECT_TRUE(result.allWritten);
    EXPECT_EQ(result.written, 4u);
    EXPECT_TRUE(changes.Empty());
    EXPECT_EQ(Field(copy, 2, "NAME"), "Fifth ");
    EXPECT_EQ(Field(copy, 1, "NAME"), "1     ");
    EXPECT_EQ(Field(copy, 3, "NAME"), "3     ");
    for (std::uint32_t record = 1; record <= 5; ++record)
        EXPECT_EQ(Deleted(copy, record), record >= 3) << record;
}

// What the file refuses stays pending, edits and marks alike, and is written by the next save;
// a mark whose record cannot be reached is dropped.
TEST_F(ChangeSaverTest, RefusedWritesStayPendingAndUnreachableOnesAreDropped)
{
    Open(Numbered(kManyRecords));
    changes.Append(Edit(2, 1, "NAME", "EDIT"));
    for (int record : { 1, kManyRecords - 1000, kManyRecords - 999, 2 * kManyRecords })
        changes.Append(Mark(Kind::kMarkDeleted, record));
    // The edit and the first span of marks go through; then the disk is full.
    fs.failWriteFrom = fs.writes + 3;

    ChangeSaver::Result result = ChangeSaver::Save(changes, table, true);
    EXPECT_FALSE(result.allWritten);
    EXPECT_EQ(result.written, 2u);
    EXPECT_EQ(changes.ItemCount(), 0u);
    EXPECT_EQ(changes.MarkCount(), 2u);
    EXPECT_EQ(changes.MarkOf(1), PendingMark::kNone);
    EXPECT_EQ(changes.MarkOf(kManyRecords - 1000), PendingMark::kDeletePending);
    EXPECT_EQ(changes.MarkOf(kManyRecords - 999), PendingMark::kDeletePending);
    EXPECT_EQ(changes.MarkOf(2 * kManyRecords), PendingMark::kNone);

    changes.Append(Edit(4, 3, "NAME", "LATER"));
    result = ChangeSaver::Save(changes, table, true);
    EXPECT_EQ(result.written, 0u);
    ASSERT_EQ(changes.ItemCount(), 1u);
    EXPECT_EQ(changes.Item(0).newText, "LATER");
    EXPECT_EQ(changes.MarkCount(), 2u);

    fs.failWriteFrom = 0;
    EXPECT_TRUE(ChangeSaver::Save(changes, table, true).allWritten);
    EXPECT_TRUE(changes.Empty());
    auto expected = built.Bytes();
    for (int record : { 1, kManyRecords - 1000, kManyRecords - 999 })
        SetFlag(expected, record, '*');
    for (const auto& [record, text] : { std::pair { 2, "EDIT  " }, std::pair { 4, "LATER " } }) {
        const std::size_t at = built.TrueHeaderLength() + std::size_t(record - 1) * built.TrueRecordLength() + 1;
        for (std::size_t i = 0; i < 6; ++i)
            expected[at + i] = static_cast<std::uint8_t>(text[i]);
    }
    table.Close();
    EXPECT_EQ(testing_support::ReadAllBytes(path), expected);
}

// A table whose file another has replaced since it was opened (a pack elsewhere, a save over
// it) takes no changes: they would go into the old file, which no name leads to any more.
// Every change stays pending and the new file is left as it is; reopened, the table saves.
TEST_F(ChangeSaverTest, NothingIsWrittenIntoAFileThatWasReplaced)
{
    Open(Numbered(3));
    EXPECT_FALSE(table.FileReplaced());
    Numbered(5).Write(dir.File("new.dbf"));
    std::filesystem::rename(dir.File("new.dbf"), path);
    EXPECT_TRUE(table.FileReplaced());
    const auto replacement = testing_support::ReadAllBytes(path);
    changes.Append(Edit(2, 1, "NAME", "EDIT"));
    changes.Append(Mark(Kind::kMarkDeleted, 1));
    const ChangeSaver::Result result = ChangeSaver::Save(changes, table, true);
    EXPECT_FALSE(result.allWritten);
    EXPECT_EQ(result.written, 0u);
    EXPECT_EQ(changes.ItemCount(), 1u);
    EXPECT_EQ(changes.MarkCount(), 1u);
    EXPECT_EQ(testing_support::ReadAllBytes(path), replacement);

    table.Close();
    EXPECT_FALSE(table.FileReplaced());
    ASSERT_TRUE(table.Open(path, false));
    EXPECT_TRUE(ChangeSaver::Save(changes, table, true).allWritten);
    EXPECT_EQ(Field(table, 2, "NAME"), "EDIT  ");
    EXPECT_EQ(table.RecordCount(), 5u);
}

} // namespace
} // namespace tablegrid
