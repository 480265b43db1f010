#include "grid/grid_layout.h"

#include <gtest/gtest.h>

namespace grid {
namespace {

// A tabular layout of 20-pixel rows under a 20-pixel header with the plain 14-pixel row
// header, and three columns of 100, 50 and 80 pixels.
class GridLayoutTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        layout.SetRowHeight(20);
        layout.SetHeaderHeight(20);
        layout.SetRowHeaderWidth(14);
        layout.SetColumnWidths({ 100, 50, 80 });
        layout.SetClientSize(214, 420); // 200 pixels of data, 20 rows
    }

    GridLayout layout;
};

TEST_F(GridLayoutTest, ColumnsFollowEachOther)
{
    EXPECT_EQ(layout.ColumnLeft(0), 0);
    EXPECT_EQ(layout.ColumnLeft(1), 100);
    EXPECT_EQ(layout.ColumnLeft(2), 150);
    EXPECT_EQ(layout.TotalWidth(), 230);
    EXPECT_EQ(layout.PageWidth(), 200);
    EXPECT_EQ(layout.PageRows(), 20);
    EXPECT_EQ(layout.HorizontalMaximum(), 30);
}

TEST_F(GridLayoutTest, VerticalRangeOneUnitARowUpTo65535)
{
    layout.SetRowCount(100);
    EXPECT_EQ(layout.VerticalMaximum(), 81);
    EXPECT_EQ(layout.Divisor(), 1);
    EXPECT_EQ(layout.TopRowFromPosition(81), 81);
    EXPECT_EQ(layout.PositionFromTopRow(40), 40);

    layout.SetRowCount(5);
    EXPECT_EQ(layout.VerticalMaximum(), 0);
    layout.SetRowCount(0);
    EXPECT_EQ(layout.VerticalMaximum(), 0);
    EXPECT_EQ(layout.PageRows(), 20);
}

TEST_F(GridLayoutTest, LongGridsShareUnitsAndTheLastUnitReachesTheEnd)
{
    layout.SetRowCount(200'000);
    EXPECT_EQ(layout.VerticalMaximum(), 65535);
    EXPECT_EQ(layout.Divisor(), 3);
    EXPECT_EQ(layout.TopRowFromPosition(0), 0);
    EXPECT_EQ(layout.TopRowFromPosition(65535), layout.LastTopRow());
    EXPECT_EQ(layout.PositionFromTopRow(layout.LastTopRow()), 65535);

    // Between 65536 and 131069 top rows the integer divisor is 1, yet the bar still spans
    // every row.
    layout.SetRowCount(100'000);
    EXPECT_EQ(layout.Divisor(), 1);
    EXPECT_EQ(layout.TopRowFromPosition(65535), 99'981);

    layout.SetRowCount(2'000'000'000);
    EXPECT_EQ(layout.TopRowFromPosition(65535), 2'000'000'000 - 19);
    const int middle = layout.TopRowFromPosition(32768);
    EXPECT_NEAR(middle, 1'000'000'000, 40'000);
    EXPECT_EQ(layout.PositionFromTopRow(middle), 32767); // rounds down within its unit
}

TEST_F(GridLayoutTest, HitTestFindsBandRowHeaderAndCells)
{
    layout.SetRowCount(100);
    EXPECT_EQ(layout.HitTest({ 50, 19 }, 0, 0).kind, GridLayout::HitKind::HeaderBand);

    GridLayout::Hit hit = layout.HitTest({ 5, 45 }, 10, 0);
    EXPECT_EQ(hit.kind, GridLayout::HitKind::RowHeader);
    EXPECT_EQ(hit.row, 11);

    hit = layout.HitTest({ 14 + 99, 20 }, 0, 0);
    EXPECT_EQ(hit.kind, GridLayout::HitKind::Cell);
    EXPECT_EQ(hit.row, 0);
    EXPECT_EQ(hit.column, 0);
    EXPECT_EQ(layout.HitTest({ 14 + 100, 20 }, 0, 0).column, 1);
    // Scrolled 30 pixels: x 14 + 125 is data x 155, the third column.
    EXPECT_EQ(layout.HitTest({ 14 + 125, 20 }, 0, 30).column, 2);
    // Right of every column: still the last column.
    EXPECT_EQ(layout.HitTest({ 213, 20 }, 0, 30).column, 2);
    // Below the last row: the last row.
    EXPECT_EQ(layout.HitTest({ 50, 419 }, 95, 0).row, 99);
}

TEST_F(GridLayoutTest, HitTestOnAHugeGridDoesNotOverflow)
{
    layout.SetRowCount(2'000'000'000);
    EXPECT_EQ(layout.HitTest({ 50, 419 }, 1'999'999'981, 0).row, 1'999'999'999);
}

TEST_F(GridLayoutTest, HitTestWithoutRowsOrColumns)
{
    GridLayout::Hit hit = layout.HitTest({ 50, 50 }, 0, 0);
    EXPECT_EQ(hit.kind, GridLayout::HitKind::Cell);
    EXPECT_EQ(hit.row, -1);
    layout.SetColumnWidths({});
    layout.SetRowCount(3);
    hit = layout.HitTest({ 50, 50 }, 0, 0);
    EXPECT_EQ(hit.row, 1);
    EXPECT_EQ(hit.column, -1);
}

TEST_F(GridLayoutTest, CellRectInsetsTheCellAndStopsAtTheClientEdge)
{
    layout.SetRowCount(100);
    QRect rect;
    ASSERT_TRUE(layout.CellRect(12, 1, 10, 0, &rect));
    // top = (12 - 10) * 20 + 20 + 1, bottom = top + 19; left = 14 + 100 + 2, right = left + 45.
    EXPECT_EQ(rect, QRect(QPoint(116, 61), QPoint(160, 79)));
    ASSERT_TRUE(layout.CellRect(0, 2, 0, 0, &rect));
    EXPECT_EQ(rect.right(), 213); // clipped at the client width of 214
    EXPECT_FALSE(layout.CellRect(-1, 0, 0, 0, &rect));
    EXPECT_FALSE(layout.CellRect(0, -1, 0, 0, &rect));
    EXPECT_FALSE(layout.CellRect(0, 3, 0, 0, &rect));
}

TEST_F(GridLayoutTest, RowsComeIntoViewByTheShortestMove)
{
    layout.SetRowCount(100);
    EXPECT_EQ(layout.TopRowToShow(15, 10), 10); // visible: stays
    EXPECT_EQ(layout.TopRowToShow(30, 10), 11); // just below: becomes the last visible row
    EXPECT_EQ(layout.TopRowToShow(5, 10), 5); // above: becomes the top row
    EXPECT_EQ(layout.TopRowToShow(99, 0), 80); // the last row
    EXPECT_EQ(layout.TopRowToShow(85, 90), 66); // above, but within the last page
    EXPECT_EQ(layout.TopRowToShow(0, 50), 0);
}

TEST_F(GridLayoutTest, ColumnsComeIntoViewByTheirColumnRules)
{
    // Partly off the right edge and narrower than the page: its right edge meets the view's.
    EXPECT_EQ(layout.PositionToShow(2, 0), 30);
    // Off the left edge: its left edge goes to the view's left edge.
    EXPECT_EQ(layout.PositionToShow(0, 30), 0);
    EXPECT_EQ(layout.PositionToShow(1, 30), 30); // fully visible: unchanged
    // Wider than the page: its left edge.
    EXPECT_EQ(PositionToShowSpan(300, 500, 0, 200), 300);
}

TEST_F(GridLayoutTest, VisibleRowsStopAtTheLastRow)
{
    layout.SetRowCount(100);
    EXPECT_EQ(layout.VisibleRows(0, 400, 0), std::make_pair(0, 21)); // a part row below too
    EXPECT_EQ(layout.VisibleRows(45, 65, 0), std::make_pair(2, 4));
    EXPECT_EQ(layout.VisibleRows(0, 400, 95), std::make_pair(0, 4));
    layout.SetRowCount(0);
    const auto [first, last] = layout.VisibleRows(0, 400, 0);
    EXPECT_LT(last, first);
}

} // namespace
} // namespace grid
