#include "grid/form_grid_impl.h"

#include "grid/def_grid_impl.h"
#include "grid/grid_check_box.h"
#include "grid/grid_edit.h"
#include "tests/grid/demo_grid.h"
#include "tests/grid/grid_test_util.h"

#include <QScrollBar>
#include <QStyle>
#include <QTest>

#include <gtest/gtest.h>

namespace grid {
namespace {

// The demo grid with both views, as the table windows register them: tabular 0, form 1.
class FormGridImplTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        grid.AddImpl(&table);
        grid.AddImpl(&form);
        ASSERT_TRUE(grid.Create(&images, 0));
        grid.BuildColumns();
        grid.SetEditorsFont(test::TestFont(), false); // after the columns, as the owner does
        test::ShowActive(&grid);
        test::SizeForRows(&grid, table, 12, 520);
        grid.SetRowCount(50);
        grid.setFocus();
    }

    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(&grid, static_cast<Qt::Key>(key), modifiers);
    }

    std::pair<int, int> Cell() const { return { grid.GetCurrentRow(), grid.GetCurrentColumn() }; }

    GridImageList images = test::MakeDotImages();
    CDefGridImpl table;
    CFormGridImpl form;
    test::DemoGrid grid;
};

TEST_F(FormGridImplTest, SwitchingViewsKeepsRowsColumnsCacheAndTheCurrentCell)
{
    grid.SetCurrentCell(30, 2);
    (void)grid.grab();
    const int top = table.GetTopRow();
    const int firstCached = grid.Cache().FirstCachedRow();
    const int cached = grid.Cache().CachedRowCount();
    grid.fills.clear();

    grid.SelectImpl(1);
    (void)grid.grab();
    EXPECT_EQ(grid.GetCurrentImpl(), &form);
    EXPECT_FALSE(table.Header()->isVisible());
    EXPECT_EQ(Cell(), std::make_pair(30, 2));
    EXPECT_EQ(grid.GetRowCount(), 50);
    EXPECT_EQ(grid.GetColumnCount(), 5);
    EXPECT_TRUE(grid.fills.empty()); // row 30 was cached already

    grid.SelectImpl(0);
    (void)grid.grab();
    EXPECT_TRUE(table.Header()->isVisible());
    EXPECT_EQ(Cell(), std::make_pair(30, 2));
    EXPECT_EQ(table.GetTopRow(), top);
    EXPECT_EQ(grid.Cache().FirstCachedRow(), firstCached);
    EXPECT_EQ(grid.Cache().CachedRowCount(), cached);
    EXPECT_TRUE(grid.fills.empty());
}

TEST_F(FormGridImplTest, WithRowsButNoCurrentRowTheFormShowsTheFirstRow)
{
    ASSERT_EQ(grid.GetCurrentRow(), -1);
    grid.SelectImpl(1);
    (void)grid.grab();
    EXPECT_EQ(Cell(), std::make_pair(0, 0));

    grid.SetRowCount(0);
    (void)grid.grab();
    EXPECT_EQ(Cell(), std::make_pair(-1, -1));
}

TEST_F(FormGridImplTest, KeysMoveBetweenFieldsAndWithCtrlBetweenRows)
{
    grid.SelectImpl(1);
    grid.SetCurrentCell(48, 0);
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    EXPECT_EQ(Cell(), std::make_pair(48, 2));
    Key(Qt::Key_Down, Qt::ControlModifier);
    Key(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(Cell(), std::make_pair(49, 2)); // the last record stays
    Key(Qt::Key_End, Qt::ControlModifier);
    Key(Qt::Key_Down);
    EXPECT_EQ(Cell(), std::make_pair(49, 4)); // the last field stays
    Key(Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(Cell(), std::make_pair(48, 4));
    Key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(Cell(), std::make_pair(48, 0));
    Key(Qt::Key_Home);
    EXPECT_EQ(Cell(), std::make_pair(0, 0));
    Key(Qt::Key_End);
    EXPECT_EQ(Cell(), std::make_pair(49, 0));
    Key(Qt::Key_PageDown);
    EXPECT_EQ(Cell(), std::make_pair(49, 4));
    Key(Qt::Key_PageUp);
    EXPECT_EQ(Cell(), std::make_pair(49, 0));
}

TEST_F(FormGridImplTest, FieldsScrollIntoViewAndLeftRightScrollSideways)
{
    grid.SelectImpl(1);
    test::SizeForRows(&grid, table, 2, 140); // three field lines, narrower than the content
    grid.SetCurrentCell(0, 0);
    const int pageLines = form.PageRows();
    ASSERT_LT(pageLines, 5);
    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(form.FirstLine(), 5 - pageLines);
    EXPECT_EQ(grid.verticalScrollBar()->maximum(), 5 - pageLines);

    ASSERT_GT(grid.horizontalScrollBar()->maximum(), 20);
    Key(Qt::Key_Right);
    EXPECT_EQ(grid.horizontalScrollBar()->value(), 20);
    Key(Qt::Key_Left);
    EXPECT_EQ(grid.horizontalScrollBar()->value(), 0);
    Key(Qt::Key_Right);
    Key(Qt::Key_Up); // a move of the field puts the view back to its left edge
    EXPECT_EQ(grid.horizontalScrollBar()->value(), 0);
}

TEST_F(FormGridImplTest, AClickSelectsTheFieldOfItsLine)
{
    grid.SelectImpl(1);
    grid.SetCurrentCell(7, 0);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier,
        QPoint(30, 3 * form.LineHeight() + 4));
    EXPECT_EQ(Cell(), std::make_pair(7, 3));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier,
        QPoint(30, grid.viewport()->height() - 2));
    EXPECT_EQ(Cell(), std::make_pair(7, 4)); // below the last line: the last field
}

TEST_F(FormGridImplTest, TheEditorOpensOnTheValueBoxOfTheCurrentRowOnly)
{
    grid.SelectImpl(1);
    grid.SetCurrentCell(5, test::DemoGrid::kName);
    QRect rect;
    EXPECT_FALSE(form.GetCellRect(6, 0, &rect));
    EXPECT_FALSE(form.GetCellRect(5, -1, &rect));
    ASSERT_TRUE(form.GetCellRect(5, 1, &rect));
    EXPECT_EQ(rect.top(), form.LineHeight() + 3);
    EXPECT_EQ(rect.height(), form.LineHeight() - 6);
    // Each editor lies on its painted box, inside the frame of the current field: no painted
    // digit shows beside it, and the check box's indicator is not cut.
    for (int column : { int(test::DemoGrid::kName), int(test::DemoGrid::kActive),
             int(test::DemoGrid::kAmount), int(test::DemoGrid::kDate) }) {
        ASSERT_TRUE(form.GetCellRect(5, column, &rect));
        EXPECT_EQ(rect.left(), form.ValueLeft() + 1) << column;
        EXPECT_EQ(rect.right(), form.ValueRight(column) - 2) << column;
    }
    grid.SetCurrentCell(5, test::DemoGrid::kActive);
    Key(Qt::Key_Return);
    ASSERT_TRUE(grid.IsEditing());
    const int indicator = grid.GetCheckBox()->style()->pixelMetric(QStyle::PM_IndicatorWidth);
    EXPECT_GE(grid.GetCheckBox()->width(), indicator + 4);
    QTest::keyClick(grid.GetCheckBox(), Qt::Key_Escape);
    grid.SetCurrentCell(5, test::DemoGrid::kName);

    Key(Qt::Key_Return);
    ASSERT_TRUE(grid.IsEditing());
    ASSERT_TRUE(form.GetCellRect(5, 0, &rect));
    EXPECT_EQ(grid.GetTextEditor()->geometry(), rect);
    grid.GetTextEditor()->setText(QStringLiteral("Sideways"));
    QTest::keyClick(grid.GetTextEditor(), Qt::Key_Return);
    EXPECT_EQ(grid.FindCachedRow(5)->texts[0], "Sideways");
}

// The value box is as wide as the column's characters: a long value is cut at the box, and
// a number stands against the box's right edge.
TEST_F(FormGridImplTest, ValuesStayInsideBoxesSizedByCharacters)
{
    grid.edits[{ 0, test::DemoGrid::kName }] = std::string(40, 'W');
    grid.SelectImpl(1);
    grid.SetCurrentCell(0, test::DemoGrid::kActive);
    const QImage shot = test::Render(grid.viewport());
    auto inked = [&](int line, int fromX, int toX) {
        int last = -1;
        for (int x = fromX; x < toX && x < shot.width(); ++x) {
            for (int y = line * form.LineHeight() + 4; y < (line + 1) * form.LineHeight() - 4; ++y) {
                if (shot.pixelColor(x, y) != QColor(Qt::white))
                    last = x;
            }
        }
        return last;
    };
    const int nameRight = form.ValueRight(test::DemoGrid::kName);
    EXPECT_GT(inked(0, form.ValueLeft(), nameRight), nameRight - 12);
    EXPECT_EQ(inked(0, nameRight, shot.width()), -1);

    const int amountRight = form.ValueRight(test::DemoGrid::kAmount);
    const int lastInk = inked(test::DemoGrid::kAmount, form.ValueLeft(), shot.width());
    EXPECT_LE(lastInk, amountRight - 2);
    EXPECT_GE(lastInk, amountRight - 5);
    test::SaveScreenshot(&grid, QStringLiteral("form_view"));
}

// Every value that cannot be cut shows whole: a 1-character logical reads "false", a number
// or a date all its digits.
TEST_F(FormGridImplTest, BoxesHoldTheWholeTextOfLogicalsNumbersAndDates)
{
    grid.SelectImpl(1);
    grid.SetCurrentCell(4, test::DemoGrid::kName);
    (void)grid.grab();
    for (int column : { int(test::DemoGrid::kActive), int(test::DemoGrid::kAmount),
             int(test::DemoGrid::kDate) }) {
        EXPECT_EQ(form.ShownValueText(column).trimmed().toStdString(),
            test::DemoGrid::GeneratedText(4, column));
    }
    EXPECT_EQ(test::DemoGrid::GeneratedText(4, test::DemoGrid::kActive), "false");
    // A number wider than its field can be (a pending edit, say) is a fill, not its tail.
    grid.edits[{ 4, test::DemoGrid::kAmount }] = "123456789012345";
    grid.FlushRowCache();
    (void)grid.grab();
    const QString shown = form.ShownValueText(test::DemoGrid::kAmount).trimmed();
    EXPECT_EQ(shown, QString(shown.size(), QLatin1Char('#')));
}

} // namespace
} // namespace grid
