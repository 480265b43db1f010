#include "tablegrid/operations/change_saver.h"

#include "tablegrid/operations/record_commands.h"
#include "tests/support/faulty_file_system.h"
#include "tests/tablegrid/record_test_host.h"

#include "table/date_format.h"

#include <gtest/gtest.h>

namespace tablegrid {
namespace {

using Kind = PendingChange::Kind;

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

class ChangeSaverTest : public test::RecordTableTest
{
protected:
    // The field as the table shows it, dates as YYYYMMDD.
    std::string Field(std::uint32_t record, const char* name)
    {
        EXPECT_TRUE(table.GoTo(record));
        const int i = table.FieldIndex(name);
        return table.GetValue(i, false).DisplayText(table.FieldDecimals(i),
            table::DateFormat::kYyyyMmDd);
    }
};

TEST_F(ChangeSaverTest, EditsMarksAndAppendsReachTheirRecords)
{
    OpenTable(6, false);
    changes.Append(Edit(2, 1, "NAME", "Second"));
    changes.Append(Edit(4, 3, "OK", "true"));
    changes.Append(Edit(5, 4, "OK", "false"));
    changes.Append(Edit(1, 0, "DT", "19991231"));
    RecordCommands commands(*host, changes);
    ASSERT_TRUE(commands.DeleteRecord(0));
    ASSERT_TRUE(commands.UndeleteRecord(2)); // deleted in the file
    ASSERT_EQ(commands.AppendRecord(true, 1), 6);
    ASSERT_TRUE(commands.DeleteRecord(6)); // the appended record, marked before it exists
    changes.Append(Edit(99, 98, "NAME", "Nowhere")); // no such record: dropped

    const ChangeSaver::Result result = ChangeSaver::Save(changes, table, true);
    EXPECT_TRUE(result.allWritten);
    EXPECT_TRUE(changes.Empty());
    EXPECT_EQ(Field(2, "NAME"), "Second  ");
    EXPECT_EQ(Field(4, "OK"), "true"); // stored "T"
    EXPECT_EQ(Field(5, "OK"), "false");
    EXPECT_EQ(Field(1, "DT"), "19991231");
    EXPECT_TRUE(DeletedInFile(1));
    EXPECT_FALSE(DeletedInFile(3));
    ASSERT_EQ(table.RecordCount(), 7u);
    EXPECT_EQ(Field(7, "NAME"), "Second  ");
    EXPECT_EQ(Field(7, "SUM"), "2.25");
    EXPECT_TRUE(DeletedInFile(7));
}

// Saving into a copy by row: a change goes to the record at the row its record is shown at,
// and a field the copy lacks is skipped.
TEST_F(ChangeSaverTest, ByRowChangesFollowTheRowsOfTheirRecords)
{
    OpenTable(6, false);
    testing_support::TableBuilder copy;
    copy.Field("NAME", 'C', 8).Record("a").Record("b").Record("c");
    copy.Write(dir.File("copy.dbf"));
    table::CTable target(&database);
    ASSERT_TRUE(target.Open(dir.File("copy.dbf"), false));

    changes.Append(Edit(5, 0, "NAME", "Fifth")); // made when record 5 was row 0
    changes.Append(Edit(3, 2, "SUM", "9.99"));   // the copy has no SUM
    changes.Append(Edit(4, 1, "NAME", "Hidden")); // not shown now
    PendingChange mark;
    mark.kind = Kind::kMarkDeleted;
    mark.recordNumber = 6;
    changes.Append(mark);
    auto rowOf = [](int record) { return record == 5 ? 1 : record == 6 ? 2 : -1; };
    const ChangeSaver::Result result = ChangeSaver::Save(changes, target, false, rowOf);
    EXPECT_TRUE(result.allWritten);
    ASSERT_TRUE(target.GoTo(2));
    EXPECT_EQ(target.GetValueByName("NAME", false).text, "Fifth   ");
    ASSERT_TRUE(target.GoTo(3));
    EXPECT_TRUE(target.IsDeleted());
    ASSERT_TRUE(target.GoTo(1));
    EXPECT_EQ(target.GetValueByName("NAME", false).text, "a       ");
}

// What the file refuses stays pending, edits and marks alike; the rest is written.
TEST_F(ChangeSaverTest, RefusedWritesStayPending)
{
    testing_support::FaultyFileSystem faulty;
    table::TableDatabase failing(faulty);
    OpenTable(4, false);
    table::CTable onFaulty(&failing);
    ASSERT_TRUE(failing.SetDatabaseDirectory(dir.Path()));
    ASSERT_TRUE(onFaulty.Open(dir.File("t.dbf"), false));
    changes.Append(Edit(1, 0, "NAME", "Written"));
    changes.Append(Edit(2, 1, "NAME", "Refused"));
    PendingChange mark;
    mark.kind = Kind::kMarkDeleted;
    mark.recordNumber = 4;
    changes.Append(mark);
    faulty.failWriteFrom = faulty.writes + 2;
    const ChangeSaver::Result result = ChangeSaver::Save(changes, onFaulty, true);
    EXPECT_FALSE(result.allWritten);
    EXPECT_EQ(result.written, 1u);
    ASSERT_EQ(changes.ItemCount(), 1u);
    EXPECT_EQ(changes.Item(0).newText, "Refused");
    EXPECT_EQ(changes.MarkOf(4), PendingMark::kDeletePending);
    faulty.failWriteFrom = 0;
    EXPECT_TRUE(ChangeSaver::Save(changes, onFaulty, true).allWritten);
    EXPECT_TRUE(changes.Empty());
}

} // namespace
} // namespace tablegrid
