// Save As from a table window's grid: what reaches the new table or text file, with the
// pending changes and the options the window asks for.

#include "platform/prompt.h"
#include "table/table.h"
#include "tests/support/scripted_prompt.h"
#include "tests/tablegrid/table_grid_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tablegrid {
namespace {

using testing_support::ReadAllBytes;
using testing_support::ScriptedPrompt;
using testing_support::TableBuilder;

class TableGridSaveTest : public test::TableGridTest
{
protected:
    // NAME C8, SUM N7.2; every third of six records marked deleted in the file.
    std::string Table(const char* name)
    {
        TableBuilder b;
        b.Field("NAME", 'C', 8).Field("SUM", 'N', 7, 2);
        for (int i = 1; i <= 6; ++i)
            b.Record("Name" + std::to_string(i) + "     " + std::to_string(i) + ".00", i % 3 == 0);
        b.Write(dir.File(name));
        return dir.File(name);
    }

    static void Edit(CTableGrid& grid, int record, int row, const char* field, const char* text)
    {
        PendingChange change;
        change.recordNumber = record;
        change.row = row;
        change.fieldName = field;
        change.newText = text;
        ASSERT_TRUE(grid.AddPendingChange(change, false));
    }

    static std::string Value(table::CTable& table, std::uint32_t record, const char* field)
    {
        EXPECT_TRUE(table.GoTo(record));
        return table.GetValueByName(field, false).text + (table.IsDeleted() ? "*" : "");
    }
};

// Everything shown: the copy is byte for byte the table with its changes saved, and the
// table itself is not written.
TEST_F(TableGridSaveTest, WholeSaveIsTheTableWithItsChangesApplied)
{
    const std::string path = Table("t.dbf");
    std::filesystem::copy_file(path, dir.File("twin.dbf"));
    const auto original = ReadAllBytes(path);
    auto changed = [&](CTableGrid& grid) {
        Edit(grid, 2, 1, "NAME", "Second");
        grid.SetCurrentCell(3, 0);
        ASSERT_TRUE(grid.DeleteRecord());
        grid.SetCurrentCell(2, 0);
        ASSERT_TRUE(grid.UndeleteRecord());
    };
    auto grid = MakeGrid(path);
    changed(*grid);
    ASSERT_TRUE(grid->SaveAsTable(dir.File("out.dbf")));
    EXPECT_TRUE(host.saveOptionQuestions.empty());
    EXPECT_FALSE(grid->HasPendingChanges()); // they went with the copy
    EXPECT_EQ(ReadAllBytes(path), original);

    auto twin = MakeGrid(dir.File("twin.dbf"));
    changed(*twin);
    ASSERT_TRUE(twin->SaveChanges(true, nullptr));
    EXPECT_EQ(ReadAllBytes(dir.File("out.dbf")), ReadAllBytes(dir.File("twin.dbf")));
}

// A filtered view saved as its shown records: renumbered in order, marks and edits landing
// on the rows they were made on, appended rows at the end.
TEST_F(TableGridSaveTest, FilteredSubsetTakesTheShownRowsAndTheirChanges)
{
    const std::string path = Table("t.dbf");
    const auto original = ReadAllBytes(path);
    auto grid = MakeGrid(path);
    Edit(*grid, 5, 4, "NAME", "Fifth"); // row 4 now; row 3 once the marked ones are hidden
    grid->SetFilterModes(1, 0);        // records 1, 2, 4, 5
    grid->ApplyFilter();
    ASSERT_EQ(grid->GetRowCount(), 4);
    grid->SetCurrentCell(0, 0);
    ASSERT_TRUE(grid->DeleteRecord());
    ASSERT_TRUE(grid->AppendRecord(false));
    Edit(*grid, 7, 4, "NAME", "New");
    host.saveAllColumns = true;
    host.saveAllRecords = false;
    ASSERT_TRUE(grid->SaveAsTable(dir.File("sub.dbf")));
    EXPECT_EQ(host.saveOptionQuestions, std::vector<std::string> { "t:1:0" });
    EXPECT_EQ(ReadAllBytes(path), original);

    table::CTable copy(&database);
    ASSERT_TRUE(copy.Open(dir.File("sub.dbf"), false));
    ASSERT_EQ(copy.RecordCount(), 5u);
    EXPECT_EQ(Value(copy, 1, "NAME"), "Name1   *");
    EXPECT_EQ(Value(copy, 2, "NAME"), "Name2   ");
    EXPECT_EQ(Value(copy, 3, "NAME"), "Name4   ");
    EXPECT_EQ(Value(copy, 4, "NAME"), "Fifth   ");
    EXPECT_EQ(Value(copy, 5, "NAME"), "New     ");
}

// The options are asked only when something is not shown, start from what is hidden, and
// a declined dialog saves nothing and reports no failure; a failure names the path.
TEST_F(TableGridSaveTest, OptionsAskedWhenSomethingIsHiddenAndFailuresNamed)
{
    auto grid = MakeGrid(Table("t.dbf"));
    grid->Columns()[1].visible = false;
    host.saveAllColumns = false;
    host.saveAllRecords = true;
    {
        ScriptedPrompt prompt;
        ASSERT_TRUE(grid->SaveAsTable(dir.File("cols.dbf")));
    }
    table::CTable copy(&database);
    ASSERT_TRUE(copy.Open(dir.File("cols.dbf"), false));
    EXPECT_EQ(copy.FieldCount(), 1);
    EXPECT_EQ(copy.RecordCount(), 6u);
    copy.Close();

    grid->SetFilterModes(2, 0);
    grid->ApplyFilter();
    host.saveOptionsAccepted = false;
    {
        ScriptedPrompt prompt;
        EXPECT_FALSE(grid->SaveAsTable(dir.File("none.dbf")));
        EXPECT_TRUE(grid->SaveAsCancelled());
        EXPECT_TRUE(prompt.Questions().empty());
    }
    EXPECT_EQ(host.saveOptionQuestions, (std::vector<std::string> { "t:0:1", "t:0:0" }));
    EXPECT_FALSE(std::filesystem::exists(dir.File("none.dbf")));
    {
        ScriptedPrompt prompt { platform::IDOK };
        EXPECT_FALSE(grid->SaveAsTable(dir.File("t.dbf")));
        EXPECT_EQ(prompt.Texts(), std::vector<std::string> { "Unable to save as " + dir.File("t.dbf") });
    }
}

// Save As Text: the changes are offered for saving first; the shown rows' visible columns
// in the grid's order, with the grid's date form; progress in lines.
TEST_F(TableGridSaveTest, TextExportConfirmsChangesAndWritesTheShownColumns)
{
    auto grid = MakeGrid(Table("t.dbf"));
    Edit(*grid, 1, 0, "NAME", "First");
    {
        ScriptedPrompt prompt { platform::IDCANCEL };
        EXPECT_FALSE(grid->SaveAsText(dir.File("a.txt"), {}));
        EXPECT_FALSE(std::filesystem::exists(dir.File("a.txt")));
    }
    std::swap(grid->Columns()[0], grid->Columns()[1]);
    grid->BuildColumns();
    grid->SetFilterModes(1, 0);
    grid->ApplyFilter();
    {
        ScriptedPrompt prompt { platform::IDYES };
        ASSERT_TRUE(grid->SaveAsText(dir.File("a.txt"), { "<", ">", "|" }));
    }
    const auto bytes = ReadAllBytes(dir.File("a.txt"));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
        "<   1.00>|<First   >\r\n<   2.00>|<Name2   >\r\n<   4.00>|<Name4   >\r\n<   5.00>|<Name5   >\r\n");
    EXPECT_FALSE(grid->HasPendingChanges());
}

} // namespace
} // namespace tablegrid
