#include "grid/format_grid.h"

#include "grid/def_grid_impl.h"
#include "grid/grid_check_box.h"
#include "grid/grid_date.h"
#include "grid/grid_edit.h"
#include "tests/grid/demo_grid.h"
#include "tests/grid/grid_test_util.h"

#include <QTest>

#include <gtest/gtest.h>

namespace grid {
namespace {

TEST(FormatGridNumbers, WidthFiveWithTwoDecimals)
{
    for (const char* text : { "12.34", "-1", "0.5", ".5", " 7 ", "99.99", "-9.99", "5." })
        EXPECT_TRUE(CFormatGrid::IsValidNumber(text, 5, 2)) << text;
    for (const char* text : { "", "   ", "-", ".", "1.2.3", "12a", "1.234", "1234", "+1", "1 2" })
        EXPECT_FALSE(CFormatGrid::IsValidNumber(text, 5, 2)) << text;
}

// The sign and the point need places of the field as well: what passes also fits.
TEST(FormatGridNumbers, SignAndPointTakePlacesOfTheField)
{
    EXPECT_FALSE(CFormatGrid::IsValidNumber("123.45", 5, 2));
    EXPECT_FALSE(CFormatGrid::IsValidNumber("-99.99", 5, 2));
    EXPECT_FALSE(CFormatGrid::IsValidNumber("123", 5, 2));
    EXPECT_TRUE(CFormatGrid::IsValidNumber("999", 3, 0));
    EXPECT_TRUE(CFormatGrid::IsValidNumber("-99", 3, 0));
    EXPECT_FALSE(CFormatGrid::IsValidNumber("-999", 3, 0));
    EXPECT_FALSE(CFormatGrid::IsValidNumber("1.5", 3, 0));
}

TEST(GridDates, FormsReadAndWriteTheirFixedPositions)
{
    const auto date = ParseGridDate("31.12.1999", 4);
    ASSERT_TRUE(date);
    EXPECT_EQ(FormatGridDate(*date, 0), "19991231");
    EXPECT_EQ(FormatGridDate(*date, 1), "12/31/99");
    EXPECT_EQ(FormatGridDate(*date, 3), "31.12.99");
    EXPECT_TRUE(ParseGridDate("31-12-1999", 4)); // separators are not looked at
    EXPECT_TRUE(ParseGridDate("31.02.2001", 4)); // nor the month's length
    EXPECT_EQ(ParseGridDate("01.01.69", 3)->year, 2069);
    EXPECT_EQ(ParseGridDate("01.01.70", 3)->year, 1970);
    EXPECT_FALSE(ParseGridDate("1.1.2001", 4)); // shorter than 8
    EXPECT_FALSE(ParseGridDate("32.01.2001", 4));
    EXPECT_FALSE(ParseGridDate("01.13.2001", 4));
    EXPECT_FALSE(ParseGridDate("01.01.0500", 4));
}

class FormatGridTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        grid.AddImpl(&view);
        grid.SetGridFont(test::TestFont());
        ASSERT_TRUE(grid.Create(nullptr, 0));
        maxChar = grid.GetFontMetrics().maxCharWidth;
        ASSERT_GT(maxChar, 1);
    }

    CDefGridImpl view;
    test::DemoGrid grid;
    int maxChar = 0;
};

TEST_F(FormatGridTest, ColumnsTakeTheirWidthAlignmentAndEditorFromTheirType)
{
    grid.InsertColumn(0, "Text", CFormatGrid::kCharacter, 10, 0, 0, false);
    grid.InsertColumn(1, "One", CFormatGrid::kCharacter, 1, 0, 0, false);
    grid.InsertColumn(2, "Sum", CFormatGrid::kNumeric, 9, 2, 0, false);
    grid.InsertColumn(3, "Flag", CFormatGrid::kLogical, 1, 0, 33, false);
    grid.InsertColumn(4, "Memo", CFormatGrid::kMemo, 10, 0, 0, false);
    EXPECT_EQ(view.Column(0).width, 10 * maxChar);
    EXPECT_EQ(view.Column(1).width, 21); // never 20 or less
    EXPECT_EQ(view.Column(2).characters, 12);
    EXPECT_EQ(view.Column(2).width, 12 * maxChar);
    EXPECT_EQ(view.Column(2).alignment, CGridImpl::kAlignRight);
    EXPECT_EQ(view.Column(3).width, 33);
    EXPECT_EQ(view.Column(0).minWidth, 20);
    // A date column of 10 characters is widened to hold its date with the leading blank, so
    // a new column never shows its dates as a fill.
    grid.InsertColumn(5, "Date", CFormatGrid::kDate, 10, 0, 0, false);
    EXPECT_GE(view.Column(5).width,
        QFontMetrics(test::TestFont()).horizontalAdvance(QStringLiteral(" 28.12.2000")) + 6);
    EXPECT_EQ(view.Header()->ItemWidth(5), view.Column(5).width);

    EXPECT_EQ(grid.GetCtrlColumn(0)->editor, grid.GetTextEditor());
    EXPECT_EQ(grid.GetCtrlColumn(2)->editor, grid.GetTextEditor());
    EXPECT_EQ(grid.GetCtrlColumn(3)->editor, grid.GetCheckBox());
    EXPECT_FALSE(grid.GetCtrlColumn(3)->takesGridFont);
    EXPECT_EQ(grid.GetCtrlColumn(4)->editor, nullptr);
    EXPECT_EQ(grid.GetColumn(2)->decimals, 2);
    EXPECT_EQ(grid.GetColumn(6), nullptr);
    EXPECT_EQ(grid.GetColumn(-1), nullptr);

    grid.ClearColumns();
    EXPECT_EQ(grid.GetColumn(0), nullptr);
    EXPECT_EQ(grid.GetCtrlColumn(0), nullptr);
    EXPECT_EQ(view.ColumnCount(), 0);
}

TEST_F(FormatGridTest, TheTextEditorIsLimitedToTheFieldWidth)
{
    grid.BuildColumns();
    grid.SetRowCount(10);
    test::ShowActive(&grid);
    grid.SetCurrentCell(1, test::DemoGrid::kName);
    QTest::keyClick(&grid, Qt::Key_Return);
    EXPECT_EQ(grid.GetTextEditor()->maxLength(), 12);
    QTest::keyClick(grid.GetTextEditor(), Qt::Key_Escape);
    grid.SetCurrentCell(1, test::DemoGrid::kAmount);
    QTest::keyClick(&grid, Qt::Key_Return);
    EXPECT_EQ(grid.GetTextEditor()->maxLength(), 12); // 9 + 2 decimals + the point
}

TEST_F(FormatGridTest, TheCheckBoxKeepsItsFontUntilTheEditorsAreGivenOne)
{
    grid.BuildColumns();
    const QFont own = grid.GetCheckBox()->font();
    QFont bigger = test::TestFont();
    bigger.setPointSize(14);
    grid.SetGridFont(bigger);
    EXPECT_EQ(grid.GetCheckBox()->font(), own);
    EXPECT_EQ(grid.GetTextEditor()->font(), bigger);
    grid.SetEditorsFont(bigger, false);
    EXPECT_EQ(grid.GetCheckBox()->font(), bigger);
}

TEST(FormatGridTexts, TheCheckBoxTakesTheOwnersTextsAtCreation)
{
    CDefGridImpl view;
    test::DemoGrid grid;
    grid.AddImpl(&view);
    grid.SetBooleanTexts("", "\xE4\xE0", "\xED\xE5\xF2"); // да / нет
    ASSERT_TRUE(grid.Create(nullptr, 0));
    CGridCheckBox* box = grid.GetCheckBox();
    EXPECT_TRUE(box->text().isEmpty());
    box->SetText("\xE4\xE0");
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(box->GetText(), "\xE4\xE0");
    box->setChecked(false);
    EXPECT_EQ(box->GetText(), "\xED\xE5\xF2");
}

} // namespace
} // namespace grid
