#include "grid/grid_wnd.h"

#include "grid/def_grid_impl.h"
#include "tests/grid/grid_test_util.h"

#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace grid {
namespace {

// An owner that makes row r's texts "r:c" and records every FillRow and every current-cell
// notification.
class RecordingGrid : public CGridWnd
{
public:
    void FillRow(int row, CRow* rowObject) override
    {
        fills.push_back(row);
        for (int c = 0; c < rowObject->ColumnCount(); ++c)
            rowObject->texts[static_cast<size_t>(c)] = std::to_string(row) + ":" + std::to_string(c);
    }
    void OnCurrentCellChanged(int row, int column) override
    {
        notifications.emplace_back(row, column);
    }

    std::vector<int> fills;
    std::vector<std::pair<int, int>> notifications;
};

class GridWndTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        grid.AddImpl(&view);
        grid.SetGridFont(test::TestFont());
        ASSERT_TRUE(grid.Create(nullptr, 0));
        grid.InsertColumn(0, "Name", 10, 120, 20, 0);
        grid.InsertColumn(1, "Sum", 8, 80, 20, 2);
        grid.InsertColumn(2, "Note", 20, 160, 20, 0);
        test::ShowActive(&grid);
        test::SizeForRows(&grid, view, 20, 400);
        grid.SetCacheSize(60, 10);
        grid.notifications.clear();
    }

    void Paint()
    {
        grid.fills.clear();
        (void)grid.grab();
    }

    CDefGridImpl view;
    RecordingGrid grid;
};

TEST_F(GridWndTest, AGridWithoutRowsHasNoCurrentCellAndFetchesNothing)
{
    grid.SetRowCount(0);
    EXPECT_EQ(grid.GetCurrentRow(), -1);
    EXPECT_EQ(grid.GetCurrentColumn(), -1);
    QTest::keyClick(&grid, Qt::Key_Down);
    QTest::keyClick(&grid, Qt::Key_End, Qt::ControlModifier);
    grid.SetCurrentCell(3, 1);
    EXPECT_EQ(grid.GetCurrentRow(), -1);
    grid.EnsureRowsCached(-1, -1);
    Paint();
    EXPECT_TRUE(grid.fills.empty());
    EXPECT_EQ(grid.GetCurrentRowObject(), nullptr);
}

TEST_F(GridWndTest, PaintingFetchesTheVisibleRowsOnlyOnce)
{
    grid.SetRowCount(1000);
    Paint();
    // 22 rows touch the view; the cache window begins at row 0 and spans its capacity.
    ASSERT_EQ(grid.fills.size(), 60u);
    EXPECT_EQ(grid.fills.front(), 0);
    EXPECT_EQ(grid.fills.back(), 59);
    Paint();
    EXPECT_TRUE(grid.fills.empty());
}

TEST_F(GridWndTest, ScrollingPastTheWindowFetchesOnlyTheMissingRowsPlusTheMargin)
{
    grid.SetRowCount(1000);
    Paint(); // 0..59
    // Rows 40..61 are painted (the row below the last full one included): the window ends
    // the margin below row 61 and loses as many rows at its head.
    grid.verticalScrollBar()->setValue(40);
    Paint();
    std::vector<int> expected;
    for (int row = 60; row <= 71; ++row)
        expected.push_back(row);
    EXPECT_EQ(grid.fills, expected);
    EXPECT_EQ(grid.Cache().FirstCachedRow(), 12);
    EXPECT_EQ(grid.Cache().CachedRowCount(), 60);
}

TEST_F(GridWndTest, SetRowCountBelowTheCurrentRowMovesToTheLastRowAndFlushes)
{
    grid.SetRowCount(100);
    grid.SetCurrentCell(80, 2);
    Paint();
    grid.SetRowCount(50);
    EXPECT_EQ(grid.GetCurrentRow(), 49);
    EXPECT_EQ(grid.GetCurrentColumn(), 2);
    EXPECT_EQ(grid.Cache().CachedRowCount(), 0);
    EXPECT_EQ(grid.verticalScrollBar()->maximum(), 31);
}

TEST_F(GridWndTest, AnUnchangedCellDoesNothingWhileRefreshAlwaysNotifies)
{
    grid.SetRowCount(10);
    grid.SetCurrentCell(2, 1);
    ASSERT_EQ(grid.notifications.size(), 1u);
    grid.SetCurrentCell(2, 1);
    EXPECT_EQ(grid.notifications.size(), 1u);
    grid.Refresh(false);
    grid.Refresh(true);
    EXPECT_EQ(grid.notifications.size(), 3u);
    EXPECT_EQ(grid.notifications.back(), std::make_pair(2, 1));
    // Out of range: clamped to the last row and column.
    grid.SetCurrentCell(50, 9);
    EXPECT_EQ(grid.notifications.back(), std::make_pair(9, 2));
}

TEST_F(GridWndTest, SetCurrentRowPicksTheFirstColumnWhenNoneIsCurrent)
{
    grid.SetRowCount(10);
    grid.SetCurrentRow(4);
    EXPECT_EQ(grid.GetCurrentColumn(), 0);
    EXPECT_EQ(grid.GetCurrentRow(), 4);
}

TEST_F(GridWndTest, TheCurrentCellTextIsReadAndWrittenInTheCachedRowOnly)
{
    grid.SetRowCount(1000);
    grid.SetCurrentCell(3, 1);
    std::string text;
    EXPECT_FALSE(grid.GetCurrentCellText(&text)); // not cached yet: nothing is fetched
    Paint();
    ASSERT_TRUE(grid.GetCurrentCellText(&text));
    EXPECT_EQ(text, "3:1");
    grid.SetCurrentCellText("\xC0\xE1");
    ASSERT_TRUE(grid.GetCurrentCellText(&text));
    EXPECT_EQ(text, "\xC0\xE1");
    grid.SetCurrentCell(900, 1);
    EXPECT_EQ(grid.GetCurrentRowObject(), nullptr);
}

TEST_F(GridWndTest, ChangingColumnsFlushesTheCacheAndNewRowsHaveTheNewColumnCount)
{
    grid.SetRowCount(100);
    Paint();
    grid.ClearColumns();
    EXPECT_EQ(grid.GetColumnCount(), 0);
    EXPECT_EQ(grid.GetCurrentColumn(), -1);
    EXPECT_EQ(grid.Cache().CachedRowCount(), 0);
    grid.InsertColumn(0, "Only", 5, 60, 20, 0);
    grid.Refresh(true);
    Paint();
    ASSERT_NE(grid.FindCachedRow(0), nullptr);
    EXPECT_EQ(grid.FindCachedRow(0)->ColumnCount(), 1);
    EXPECT_EQ(view.Column(0).title, QStringLiteral("Only"));
}

// A dialog that moves the cursor takes the focus from the grid; the grid can be told to
// keep framing its current cell meanwhile, and it looks as it does with the focus.
TEST_F(GridWndTest, TheCurrentCellCanStayFramedWithoutTheFocus)
{
    grid.SetRowCount(30);
    grid.SetCurrentCell(2, 1);
    grid.setFocus();
    ASSERT_TRUE(view.IsFocused());
    const QImage focused = test::Render(grid.viewport());

    QWidget other;
    test::ShowActive(&other);
    ASSERT_FALSE(grid.hasFocus());
    EXPECT_FALSE(view.IsFocused());
    EXPECT_NE(test::Render(grid.viewport()), focused);

    grid.SetCurrentCellFramedWithoutFocus(true);
    EXPECT_TRUE(view.IsFocused());
    EXPECT_EQ(test::Render(grid.viewport()), focused);
    // The focus coming and going again changes nothing while it is set.
    test::ShowActive(&grid);
    grid.setFocus();
    test::ShowActive(&other);
    EXPECT_TRUE(view.IsFocused());

    grid.SetCurrentCellFramedWithoutFocus(false);
    EXPECT_FALSE(view.IsFocused());
    test::ShowActive(&grid);
    grid.setFocus();
    EXPECT_TRUE(view.IsFocused());
}

TEST_F(GridWndTest, TwoBillionRowsCostNoMoreThanTheCacheWindow)
{
    const int rows = 2'000'000'000;
    grid.SetCacheSize(0, 0);
    const int capacity = grid.Cache().Capacity();
    grid.SetRowCount(rows);
    grid.SetCurrentRow(0);
    Paint();
    EXPECT_LE(grid.fills.size(), static_cast<size_t>(capacity));

    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(grid.GetCurrentRow(), rows - 1);
    EXPECT_EQ(view.GetTopRow(), rows - 20);
    Paint();
    EXPECT_LE(grid.fills.size(), static_cast<size_t>(capacity));
    EXPECT_EQ(grid.fills.back(), rows - 1);

    grid.SetCurrentRow(rows / 2);
    Paint();
    EXPECT_LE(grid.fills.size(), static_cast<size_t>(capacity));
    EXPECT_NE(grid.FindCachedRow(rows / 2), nullptr);

    grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->maximum());
    Paint();
    EXPECT_LE(grid.fills.size(), static_cast<size_t>(capacity));
    EXPECT_NE(grid.FindCachedRow(rows - 1), nullptr); // the bar's end shows the last row
    EXPECT_LE(grid.Cache().CachedRowCount(), capacity);
}

} // namespace
} // namespace grid
