// The filter of a table window's grid, its rows, going to rows and records, and bookmarks.

#include "platform/prompt.h"
#include "table/table.h"
#include "tests/support/scripted_prompt.h"
#include "tests/tablegrid/table_grid_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <filesystem>

namespace tablegrid {
namespace {

using testing_support::ScriptedPrompt;
using testing_support::TableBuilder;

FilterCondition Condition(const std::string& column, FilterOp op, const std::string& value = {})
{
    FilterCondition c;
    c.column = column;
    c.op = op;
    c.value = value;
    c.caseSensitive = true;
    return c;
}

class TableGridFilterTest : public test::TableGridTest
{
protected:
    // N N6: record r holds r; every fifth record is marked deleted; the last one is blank
    // (not marked, its number reads 0).
    std::string Numbers(int records)
    {
        TableBuilder b;
        b.Field("N", 'N', 6).Field("NAME", 'C', 8);
        for (int i = 1; i <= records; ++i) {
            std::string n = std::to_string(i);
            b.Record(i == records ? std::string() : std::string(6 - n.size(), ' ') + n + "Name",
                i % 5 == 0 && i != records);
        }
        b.Write(dir.File("numbers.dbf"));
        return dir.File("numbers.dbf");
    }

    void Filter(CTableWndGrid& grid, std::vector<FilterCondition> conditions, int deletion = 0,
        int emptiness = 0)
    {
        grid.FilterRoot() = BuildFilterTree(conditions);
        grid.SetFilterModes(deletion, emptiness);
        grid.ApplyFilter();
    }

    int RecordAtRow(CTableWndGrid& grid, int row)
    {
        return grid.PositionOnRow(row) ? static_cast<int>(grid.GetTable()->CurrentRecord()) : 0;
    }
};

TEST_F(TableGridFilterTest, AFilterShowsThePassingRecordsCountedWithProgress)
{
    auto grid = MakeGrid(Numbers(1000));
    EXPECT_FALSE(grid->IsFiltered());
    host.mainHistory.clear();
    Filter(*grid, { Condition("N", FilterOp::kGreater, "900") });
    EXPECT_TRUE(grid->IsFiltered());
    EXPECT_EQ(grid->GetRowCount(), 99); // 901..999; the blank last one has no number
    EXPECT_FALSE(grid->AllRowsShown());
    EXPECT_EQ(RecordAtRow(*grid, 1), 901);
    EXPECT_EQ(RecordAtRow(*grid, 99), 999);
    EXPECT_EQ(RowTexts(*grid, 0)[0], "901");
    ASSERT_FALSE(host.mainHistory.empty());
    EXPECT_EQ(host.mainHistory.front(), "Setting filter: found 0 records of 1000");
    // The newest report (the 90th row; rows past 20 are reported every tenth) is shown last,
    // then the text the status bar had before.
    const auto last = std::find(host.mainHistory.rbegin(), host.mainHistory.rend(),
        "Setting filter: found 90 records of 1000");
    ASSERT_NE(last, host.mainHistory.rend());
    ASSERT_NE(last, host.mainHistory.rbegin());
    EXPECT_EQ(*std::prev(last), "");
    for (auto later = host.mainHistory.rbegin(); later != last; ++later)
        EXPECT_EQ(later->find("Setting filter"), std::string::npos) << *later;

    // Options alone: exclude deleted and empty records.
    Filter(*grid, {}, 1, 1);
    EXPECT_EQ(grid->GetRowCount(), 1000 - 199 - 1);
    EXPECT_EQ(RecordAtRow(*grid, 4), 4);
    EXPECT_EQ(RecordAtRow(*grid, 5), 6);
    // Back to everything: no count, every record a row.
    Filter(*grid, {});
    EXPECT_FALSE(grid->IsFiltered());
    EXPECT_TRUE(grid->AllRowsShown());
    EXPECT_EQ(grid->GetRowCount(), 1000);
}

TEST_F(TableGridFilterTest, ARefusedExpressionLeavesTheRowsAsTheyWere)
{
    auto grid = MakeGrid(Numbers(50));
    Filter(*grid, { Condition("N", FilterOp::kGreater, "40") });
    ASSERT_EQ(grid->GetRowCount(), 9);
    ScriptedPrompt prompt { platform::IDOK };
    Filter(*grid, { Condition("N", FilterOp::kLess, "1"), Condition("Gone", FilterOp::kEqual, "1") }, 1);
    EXPECT_EQ(prompt.Asked(0).text, "Invalid filter expression. Filter has not been set.");
    EXPECT_EQ(grid->GetRowCount(), 9);
    EXPECT_EQ(grid->DeletionMode(), 0);
    EXPECT_EQ(grid->GetTable()->GetFilterExpression(true), "N>40");
}

TEST_F(TableGridFilterTest, ReapplyingAnUnchangedFilterDoesNotCountAgain)
{
    auto grid = MakeGrid(Numbers(300));
    Filter(*grid, { Condition("N", FilterOp::kGreater, "100") });
    host.mainHistory.clear();
    grid->ApplyFilter();
    for (const std::string& text : host.mainHistory)
        EXPECT_EQ(text.find("Setting filter"), std::string::npos) << text;
}

// Rows are reached through the row map wherever they are, and a walk over them in either
// direction gives the passing records in order.
TEST_F(TableGridFilterTest, EveryRowIsReachedThroughTheRowMap)
{
    auto grid = MakeGrid(Numbers(20001));
    Filter(*grid, {}, 1, 1); // the unmarked records: record = row + (row - 1) / 4
    const int rows = grid->GetRowCount();
    ASSERT_EQ(rows, 16000);
    EXPECT_EQ(grid->Rows().Step(), 8u);
    auto expected = [](int row) { return row + (row - 1) / 4; };
    for (int row : { 1, 2559, 2560, 2561, 5000, 9999, 12345, 15999, 16000 })
        EXPECT_EQ(RecordAtRow(*grid, row), expected(row)) << row;
    for (int row = 7000; row <= 7100; ++row)
        ASSERT_EQ(RecordAtRow(*grid, row), expected(row)) << row;
    for (int row = 7100; row >= 7000; --row)
        ASSERT_EQ(RecordAtRow(*grid, row), expected(row)) << row;
    // Something else moved the table between two rows of a walk: the row is still right.
    ASSERT_TRUE(grid->GetTable()->GoTo(3));
    EXPECT_EQ(RecordAtRow(*grid, 7001), expected(7001));
    EXPECT_FALSE(grid->PositionOnRow(16001));
    EXPECT_FALSE(grid->PositionOnRow(0));
}

TEST_F(TableGridFilterTest, GoingToRowsAndRecords)
{
    auto grid = MakeGrid(Numbers(100));
    EXPECT_EQ(grid->GoToPosition(CTableGrid::kGoBottom, 0, -1), 99);
    EXPECT_EQ(grid->GoToPosition(CTableGrid::kGoTop, 0, 1), 0);
    EXPECT_EQ(grid->GetCurrentColumn(), 1);
    EXPECT_EQ(grid->GoToPosition(CTableGrid::kGoRow, 40, -1), 39);
    EXPECT_EQ(grid->GetCurrentColumn(), 1);
    EXPECT_EQ(grid->GoToPosition(CTableGrid::kGoRecord, 70, 0), 69);
    {
        ScriptedPrompt prompt { platform::IDOK, platform::IDOK };
        EXPECT_EQ(grid->GoToPosition(CTableGrid::kGoRecord, 101, -1), -1);
        EXPECT_EQ(grid->GoToPosition(CTableGrid::kGoRecord, 0, -1), -1);
        EXPECT_EQ(prompt.Asked(0).text, "Incorrect record number");
    }
    // Through a filter the row of a record is counted.
    Filter(*grid, { Condition("N", FilterOp::kGreater, "20") }, 1);
    EXPECT_EQ(grid->GoToPosition(CTableGrid::kGoRecord, 23, -1), 2);
}

// A record the filter hides: Cancel stays; OK gives up only what hides it.
TEST_F(TableGridFilterTest, GoingToAHiddenRecordRelaxesTheFilterStepByStep)
{
    auto grid = MakeGrid(Numbers(100));
    Filter(*grid, { Condition("N", FilterOp::kGreater, "20") }, 1, 1);
    const int rows = grid->GetRowCount();
    {
        ScriptedPrompt prompt { platform::IDCANCEL };
        EXPECT_EQ(grid->GoToPosition(CTableGrid::kGoRecord, 25, -1), -1);
        EXPECT_EQ(prompt.Asked(0).text.substr(0, 50), "The requested record does not satisfy current filt");
    }
    EXPECT_EQ(grid->GetRowCount(), rows);
    {
        ScriptedPrompt prompt { platform::IDOK };
        // Record 25 is marked deleted: only "exclude deleted" goes.
        EXPECT_EQ(grid->GoToPosition(CTableGrid::kGoRecord, 25, -1), 4);
    }
    EXPECT_EQ(grid->DeletionMode(), 0);
    EXPECT_EQ(grid->EmptinessMode(), 1);
    EXPECT_TRUE(grid->FilterRoot().HasConditions());
    {
        ScriptedPrompt prompt { platform::IDOK };
        // Record 3 fails the condition: the conditions go, "exclude empty" stays.
        EXPECT_EQ(grid->GoToPosition(CTableGrid::kGoRecord, 3, -1), 2);
    }
    EXPECT_FALSE(grid->FilterRoot().HasConditions());
    EXPECT_EQ(grid->EmptinessMode(), 1);
    EXPECT_EQ(grid->GetRowCount(), 99);
}

TEST_F(TableGridFilterTest, BookmarksGoToTheirRecordAndFieldAndAreSavedWhenChanged)
{
    const std::string path = Numbers(30);
    {
        auto grid = MakeGrid(path);
        grid->SetBookmark("Bkm_7_NAME", 7, "NAME");
        grid->SetBookmark("far", 31, "NAME");
        grid->SetBookmark("nofield", 2, "GONE");
        EXPECT_EQ(grid->GoToBookmark("Bkm_7_NAME"), 0);
        EXPECT_EQ(grid->GetCurrentRow(), 6);
        EXPECT_EQ(grid->GetCurrentColumn(), 1);
        EXPECT_EQ(grid->GoToBookmark("bkm_7_name"), 1);
        EXPECT_EQ(grid->GoToBookmark("far"), 2);
        EXPECT_EQ(grid->GoToBookmark("nofield"), 3);
        EXPECT_EQ(grid->GetBookmarkFileName(), dir.File("Lumetta.cfg"));
        EXPECT_TRUE(grid->ConfirmPendingChanges()); // closing: the bookmarks are kept
    }
    {
        auto grid = MakeGrid(path);
        EXPECT_EQ(grid->Bookmarks().All().size(), 3u);
        ASSERT_TRUE(grid->DeleteBookmark("far"));
        ASSERT_TRUE(grid->DeleteBookmark("nofield"));
        ASSERT_TRUE(grid->DeleteBookmark("Bkm_7_NAME"));
        EXPECT_TRUE(grid->ConfirmPendingChanges());
    }
    {
        // Deleted bookmarks stay deleted; a table whose bookmarks did not change writes nothing.
        auto grid = MakeGrid(path);
        EXPECT_TRUE(grid->Bookmarks().Empty());
        std::filesystem::remove(dir.File("Lumetta.cfg"));
        EXPECT_TRUE(grid->ConfirmPendingChanges());
        EXPECT_FALSE(std::filesystem::exists(dir.File("Lumetta.cfg")));
    }
}

// Reading the file again keeps what the window made of the table.
TEST_F(TableGridFilterTest, ReopeningKeepsTheFilterTheLayoutAndUnsavedBookmarks)
{
    const std::string path = Numbers(50);
    auto grid = MakeGrid(path);
    Filter(*grid, { Condition("N", FilterOp::kGreater, "40") });
    grid->Columns()[0].visible = false;
    grid->BuildColumns();
    grid->SetBookmark("here", 45, "NAME");
    ASSERT_TRUE(grid->ReopenTable(&database));
    EXPECT_EQ(grid->GetRowCount(), 9);
    EXPECT_TRUE(grid->IsFiltered());
    EXPECT_EQ(grid->GetColumnCount(), 1);
    ASSERT_NE(grid->Bookmarks().Find("here"), nullptr);
    EXPECT_TRUE(grid->Bookmarks().Changed());
}

TEST_F(TableGridFilterTest, AppendedRowsFollowTheFilteredRows)
{
    auto grid = MakeGrid(Numbers(20));
    grid->SetCurrentCell(0, 0);
    ASSERT_TRUE(grid->AppendRecord(false));
    EXPECT_EQ(grid->GetRowCount(), 21);
    Filter(*grid, { Condition("N", FilterOp::kGreater, "16") });
    EXPECT_EQ(grid->GetRowCount(), 4);
    EXPECT_EQ(RowTexts(*grid, 2)[0], "19");
    EXPECT_EQ(RowTexts(*grid, 3)[0], "0"); // the appended record: a blank number
    EXPECT_EQ(grid->RecordOfRow(3), 21);
}

} // namespace
} // namespace tablegrid
