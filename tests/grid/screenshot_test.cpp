// Pictures of the grid for a person to look at: written into the build folder.

#include "grid/def_grid_impl.h"
#include "grid/form_grid_impl.h"
#include "grid/grid_date_edit.h"
#include "grid/grid_edit.h"
#include "tests/grid/demo_grid.h"
#include "tests/grid/grid_test_util.h"

#include <QFileInfo>
#include <QTest>

#include <gtest/gtest.h>

namespace grid {
namespace {

class ScreenshotTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        grid.AddImpl(&view);
        grid.AddImpl(&form);
        grid.SetGridFont(test::TestFont());
        ASSERT_TRUE(grid.Create(&images, 0));
        grid.BuildColumns();
        grid.SetEditorsFont(test::TestFont(), false);
        test::ShowActive(&grid);
        test::SizeForRows(&grid, view, 12, 640);
        grid.edits[{ 4, test::DemoGrid::kName }] = "Edited";
        grid.SetRowCount(1000);
        view.AutofitColumns(); // as the table windows do once their rows are known
        grid.setFocus();
        view.ToggleRowMark(2);
        view.ToggleRowMark(5);
        grid.SetCurrentCell(3, test::DemoGrid::kAmount);
    }

    void Shoot(const char* name)
    {
        QCoreApplication::processEvents();
        const QString path = test::SaveScreenshot(&grid, QString::fromLatin1(name));
        EXPECT_TRUE(QFileInfo::exists(path)) << path.toStdString();
    }

    void OpenOn(int column)
    {
        grid.SetCurrentCell(3, column);
        ASSERT_FALSE(grid.IsEditing());
        QTest::keyClick(&grid, Qt::Key_Return);
        ASSERT_TRUE(grid.IsEditing());
    }

    GridImageList images = test::MakeDotImages();
    CDefGridImpl view;
    CFormGridImpl form;
    test::DemoGrid grid;
};

TEST_F(ScreenshotTest, TabularViewAndItsEditors)
{
    Shoot("tabular");
    OpenOn(test::DemoGrid::kName);
    Shoot("editor_text");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    OpenOn(test::DemoGrid::kActive);
    Shoot("editor_check_box");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    OpenOn(test::DemoGrid::kDate); // row 3 has no date: the empty state
    Shoot("editor_date_empty");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    grid.SetCurrentCell(2, test::DemoGrid::kDate);
    QTest::keyClick(&grid, Qt::Key_Return);
    Shoot("editor_date");
}

// The form view itself is shot by its own test.
TEST_F(ScreenshotTest, FormViewEditor)
{
    grid.SelectImpl(1);
    OpenOn(test::DemoGrid::kDate);
    Shoot("form_editor_date");
}

} // namespace
} // namespace grid
