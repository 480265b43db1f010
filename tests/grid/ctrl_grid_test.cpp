#include "grid/ctrl_grid.h"

#include "grid/def_grid_impl.h"
#include "grid/grid_check_box.h"
#include "grid/grid_date_edit.h"
#include "grid/grid_edit.h"
#include "platform/qt/ansi_string.h"
#include "tests/grid/demo_grid.h"
#include "tests/grid/grid_test_util.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace grid {
namespace {

// The demo grid in a window beside another widget that can take the focus.
class CtrlGridTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto* layout = new QVBoxLayout(&window);
        grid = new test::DemoGrid;
        elsewhere = new QLineEdit;
        layout->addWidget(grid);
        layout->addWidget(elsewhere);
        grid->AddImpl(&view);
        grid->SetGridFont(test::TestFont());
        ASSERT_TRUE(grid->Create(nullptr, 0));
        grid->BuildColumns();
        test::ShowActive(&window);
        window.resize(600, 420);
        grid->SetRowCount(100);
        view.AutofitColumns();
        grid->setFocus();
        grid->SetCurrentCell(1, test::DemoGrid::kName);
    }

    void Open(int row, int column)
    {
        grid->SetCurrentCell(row, column);
        QTest::keyClick(grid, Qt::Key_Return);
    }

    QWidget* Focus() const { return QApplication::focusWidget(); }
    CGridEdit* TextEditor() const { return grid->GetTextEditor(); }

    std::string CellText(int row, int column) const
    {
        const GridRow* cached = grid->FindCachedRow(row);
        return cached ? cached->texts[static_cast<size_t>(column)] : std::string("<not cached>");
    }

    QPoint CellPoint(int visibleRow, int column) const
    {
        return { view.RowHeaderWidth() + view.Column(column).left + 6,
            view.HeaderHeight() + visibleRow * view.RowHeight() + 4 };
    }

    CDefGridImpl view;
    QWidget window;
    test::DemoGrid* grid = nullptr; // owned by the window
    QLineEdit* elsewhere = nullptr;
};

TEST_F(CtrlGridTest, EnterOpensTheEditorOnTheCellAndEnterAcceptsTheText)
{
    Open(2, test::DemoGrid::kName);
    ASSERT_TRUE(grid->IsEditing());
    EXPECT_EQ(grid->GetActiveEditor(), TextEditor());
    EXPECT_EQ(Focus(), TextEditor());
    EXPECT_EQ(TextEditor()->text(), platform::qt::FromAnsi(test::DemoGrid::GeneratedText(2, 0)));
    QRect cell;
    ASSERT_TRUE(grid->GetCellRect(2, 0, &cell));
    EXPECT_EQ(TextEditor()->geometry(), cell);

    TextEditor()->selectAll();
    QTest::keyClicks(TextEditor(), QStringLiteral("Smith"));
    QTest::keyClick(TextEditor(), Qt::Key_Return);
    EXPECT_FALSE(grid->IsEditing());
    EXPECT_FALSE(TextEditor()->isVisible());
    EXPECT_EQ(Focus(), grid);
    EXPECT_EQ(grid->validated, std::vector<std::string> { "Smith" });
    EXPECT_EQ(CellText(2, 0), "Smith");
    EXPECT_EQ(grid->FindCachedRow(2)->textColors[0], kRedColor);
    EXPECT_EQ(grid->edited, (std::vector<std::pair<int, int>> { { 2, 0 } }));

    // Scrolled away and back, the edit comes from the owner again, still red.
    grid->SetCurrentCell(99, 0);
    grid->FlushRowCache();
    grid->SetCurrentCell(2, 0);
    grid->EnsureRowsCached(2, 2);
    EXPECT_EQ(CellText(2, 0), "Smith");
    EXPECT_EQ(grid->FindCachedRow(2)->textColors[0], kRedColor);
}

TEST_F(CtrlGridTest, TypedTextReachesTheCellInCodePage1251)
{
    Open(1, test::DemoGrid::kName);
    TextEditor()->clear();
    QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("\u0401\u0436"));
    QCoreApplication::sendEvent(TextEditor(), &typed);
    QTest::keyClick(TextEditor(), Qt::Key_Return);
    EXPECT_EQ(CellText(1, 0), "\xA8\xE6");
}

TEST_F(CtrlGridTest, EscapeClosesWithoutValidationButStillReportsTheEdit)
{
    Open(1, test::DemoGrid::kName);
    QTest::keyClicks(TextEditor(), QStringLiteral("xyz"));
    QTest::keyClick(TextEditor(), Qt::Key_Escape);
    EXPECT_FALSE(grid->IsEditing());
    EXPECT_TRUE(grid->validated.empty());
    EXPECT_EQ(CellText(1, 0), "Row 1");
    EXPECT_EQ(grid->edited.size(), 1u);
    // The next opening starts without the cancelled flag.
    Open(1, test::DemoGrid::kName);
    EXPECT_FALSE(TextEditor()->IsCancelled());
}

TEST_F(CtrlGridTest, ARefusedTextKeepsTheEditorAndSwallowsClicksWheelAndScrollBars)
{
    Open(3, test::DemoGrid::kAmount);
    TextEditor()->setText(QStringLiteral("12a"));
    QTest::keyClick(TextEditor(), Qt::Key_Return);
    EXPECT_TRUE(grid->IsEditing());
    EXPECT_EQ(Focus(), TextEditor());
    EXPECT_EQ(TextEditor()->text(), QStringLiteral("12a"));
    EXPECT_TRUE(grid->edited.empty());

    // A click elsewhere in the grid gives the focus back and leaves the current cell.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(7, 0));
    EXPECT_TRUE(grid->IsEditing());
    EXPECT_EQ(Focus(), TextEditor());
    EXPECT_EQ(grid->GetCurrentRow(), 3);
    EXPECT_EQ(grid->GetCurrentColumn(), test::DemoGrid::kAmount);

    const QPointF at(50, 50);
    QWheelEvent wheel(at, grid->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120),
        Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(grid->viewport(), &wheel);
    EXPECT_EQ(view.GetTopRow(), 0);

    QScrollBar* bar = grid->verticalScrollBar();
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, QPoint(bar->width() / 2, bar->height() - 5));
    EXPECT_EQ(bar->value(), 0);
    EXPECT_TRUE(grid->IsEditing());

    // A text that passes: the next click closes the editor and moves the cell.
    TextEditor()->setText(QStringLiteral("-12.5"));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(7, 0));
    EXPECT_FALSE(grid->IsEditing());
    EXPECT_EQ(CellText(3, test::DemoGrid::kAmount), "-12.5");
    EXPECT_EQ(grid->GetCurrentRow(), 7);
}

TEST_F(CtrlGridTest, LeavingTheEditorClosesIt)
{
    Open(1, test::DemoGrid::kName);
    TextEditor()->setText(QStringLiteral("Moved"));
    elsewhere->setFocus();
    EXPECT_FALSE(grid->IsEditing());
    EXPECT_EQ(CellText(1, 0), "Moved");
}

// A double click arrives as a press and release, then the double click itself.
TEST_F(CtrlGridTest, DoubleClickOpensTheEditorOnTheClickedCell)
{
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(4, 0));
    EXPECT_FALSE(grid->IsEditing());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(4, 0));
    EXPECT_TRUE(grid->IsEditing());
    EXPECT_EQ(grid->GetCurrentRow(), 4);
    EXPECT_EQ(TextEditor()->text(), QStringLiteral("Row 4"));
}

TEST_F(CtrlGridTest, ColumnsWithoutEditorOrReadOnlyNeverOpen)
{
    Open(1, test::DemoGrid::kMemo);
    EXPECT_FALSE(grid->IsEditing());
    grid->InsertColumn(5, "Kept", CFormatGrid::kCharacter, 5, 0, 0, true);
    grid->InsertColumn(6, "Schema", CFormatGrid::kSchemaDescribed, 5, 0, 0, false);
    grid->Refresh(true);
    Open(1, 5);
    EXPECT_FALSE(grid->IsEditing());
    Open(1, 6);
    EXPECT_FALSE(grid->IsEditing());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(2, 4));
    EXPECT_FALSE(grid->IsEditing());
    EXPECT_TRUE(grid->edited.empty());
}

TEST_F(CtrlGridTest, TheTextEditorReportsEachNewCaretPosition)
{
    Open(1, test::DemoGrid::kName); // "Row 1"
    grid->carets.clear();
    QTest::keyClick(TextEditor(), Qt::Key_Home);
    QTest::keyClick(TextEditor(), Qt::Key_Right);
    QTest::keyClick(TextEditor(), Qt::Key_Right);
    QTest::keyClick(TextEditor(), Qt::Key_Shift); // no move: no report
    EXPECT_EQ(grid->carets, (std::vector<int> { 0, 1, 2 }));
}

TEST_F(CtrlGridTest, TheCheckBoxIsCheckedOnlyForTheExactTrueText)
{
    CGridCheckBox* box = grid->GetCheckBox();
    box->SetText("true");
    EXPECT_TRUE(box->isChecked());
    box->SetText("TRUE");
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(box->GetText(), "false");

    Open(0, test::DemoGrid::kActive); // row 0 is "true"
    ASSERT_EQ(grid->GetActiveEditor(), box);
    EXPECT_TRUE(box->isChecked());
    QTest::keyClick(box, Qt::Key_Space);
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(CellText(0, test::DemoGrid::kActive), "false");
}

TEST_F(CtrlGridTest, TheDateEditorOpensEmptyOnWhatItCannotShowAndGivesItBackUntouched)
{
    CGridDateEdit* dates = grid->GetDateEditor();
    for (const char* text : { "", "31.02.2001", "garbage!!", "01.01.0999" }) {
        dates->SetText(text);
        EXPECT_TRUE(dates->IsEmpty()) << text;
        EXPECT_EQ(dates->GetText(), text);
    }
    dates->SetText("  05.06.2001 ");
    ASSERT_FALSE(dates->IsEmpty());
    EXPECT_EQ(dates->date(), QDate(2001, 6, 5));

    // Touched: the picker's date in the grid's form, or nothing once emptied.
    dates->setFocus();
    QTest::keyClick(dates, Qt::Key_Up);
    EXPECT_EQ(dates->GetText(), "06.06.2001");
    QTest::keyClick(dates, Qt::Key_Delete);
    EXPECT_TRUE(dates->IsEmpty());
    EXPECT_EQ(dates->GetText(), "");
    QTest::keyClick(dates, Qt::Key_Space);
    EXPECT_EQ(dates->date(), QDate::currentDate());
}

// A date field holds any date of the years the grid reads; the editor shows and sets them all,
// and Delete empties it even when it opened empty on a text that is not a date.
TEST_F(CtrlGridTest, TheDateEditorSetsAndClearsEveryDateAFieldHolds)
{
    CGridDateEdit* dates = grid->GetDateEditor();
    dates->SetText("01.01.1965");
    EXPECT_EQ(dates->date(), QDate(1965, 1, 1));
    dates->SetText("31.12.2999");
    EXPECT_EQ(dates->date(), QDate(2999, 12, 31));
    dates->setFocus();
    QTest::keyClick(dates, Qt::Key_Down);
    EXPECT_EQ(dates->GetText(), "30.12.2999");

    for (const char* text : { "31.02.2001", "garbage!!" }) {
        dates->SetText(text);
        ASSERT_TRUE(dates->IsEmpty());
        QTest::keyClick(dates, Qt::Key_Delete);
        EXPECT_EQ(dates->GetText(), "") << text;
    }
}

// A wheel turn over the open date editor is the grid's: it closes the editor, as a turn over
// any other editor does, and the date stays as it was.
TEST_F(CtrlGridTest, AWheelTurnOverTheDateEditorClosesItUnchanged)
{
    Open(1, test::DemoGrid::kDate); // "02.05.2001"
    CGridDateEdit* dates = grid->GetDateEditor();
    ASSERT_EQ(grid->GetActiveEditor(), dates);
    const QPointF at(dates->width() / 2.0, dates->height() / 2.0);
    QWheelEvent wheel(at, dates->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
        Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(dates, &wheel);
    EXPECT_FALSE(grid->IsEditing());
    EXPECT_EQ(CellText(1, test::DemoGrid::kDate), "02.05.2001");
}

// The editor's context menu (cut, copy, paste) acts on the open editor, which stays open.
TEST_F(CtrlGridTest, TheEditorsContextMenuLeavesItOpen)
{
    for (int column : { int(test::DemoGrid::kName), int(test::DemoGrid::kDate) }) {
        Open(1, column);
        ASSERT_NE(grid->GetActiveEditor(), nullptr);
        QWidget* editor = grid->GetActiveEditor()->Widget();
        bool openWhileMenuShown = false;
        bool menuShown = false;
        QTimer::singleShot(0, [&] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                menuShown = true;
                openWhileMenuShown = grid->IsEditing() && editor->isVisible();
                popup->close();
            }
        });
        const QPoint at(5, 5);
        QContextMenuEvent menu(QContextMenuEvent::Mouse, at, editor->mapToGlobal(at));
        QApplication::sendEvent(editor, &menu);
        QCoreApplication::processEvents(); // for a menu that did not wait in its own loop
        ASSERT_TRUE(menuShown) << column;
        EXPECT_TRUE(openWhileMenuShown) << column;
        EXPECT_TRUE(grid->IsEditing()) << column;
        QTest::keyClick(editor, Qt::Key_Escape);
        EXPECT_FALSE(grid->IsEditing());
    }
}

TEST_F(CtrlGridTest, TheDateEditorFollowsTheDateForm)
{
    grid->SetDateFormatIndex(0);
    EXPECT_EQ(grid->GetDateFormatIndex(), 0);
    CGridDateEdit* dates = grid->GetDateEditor();
    dates->SetText("19991231");
    EXPECT_EQ(dates->date(), QDate(1999, 12, 31));
    EXPECT_EQ(dates->displayFormat(), QStringLiteral("yyyyMMdd"));
    grid->SetDateFormatIndex(1);
    dates->SetText("12/31/99");
    EXPECT_EQ(dates->date(), QDate(1999, 12, 31));
    dates->setDate(QDate(2005, 1, 2));
    EXPECT_EQ(dates->GetText(), "01/02/05");

    grid->SetDateFormatIndex(4);
    Open(1, test::DemoGrid::kDate); // "02.05.2001"
    ASSERT_EQ(grid->GetActiveEditor(), dates);
    QRect cell;
    ASSERT_TRUE(grid->GetCellRect(1, test::DemoGrid::kDate, &cell));
    EXPECT_EQ(dates->geometry().topLeft(), cell.topLeft() - QPoint(0, 4));
    EXPECT_EQ(dates->geometry().bottom(), cell.bottom() + 4);
    EXPECT_EQ(dates->geometry().width(), cell.width()); // the next column stays in sight
    QTest::keyClick(Focus(), Qt::Key_Return);
    EXPECT_FALSE(grid->IsEditing());
    EXPECT_EQ(CellText(1, test::DemoGrid::kDate), "02.05.2001");
}

} // namespace
} // namespace grid
