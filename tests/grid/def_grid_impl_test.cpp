#include "grid/def_grid_impl.h"

#include "grid/grid_hdr_ctrl.h"
#include "tests/grid/demo_grid.h"
#include "platform/qt/ansi_string.h"
#include "tests/grid/grid_test_util.h"

#include <QFontMetrics>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace grid {
namespace {

// The demo grid in its tabular view, 20 rows high, with the row-header pictures.
class DefGridImplTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        grid.AddImpl(&view);
        grid.SetGridFont(test::TestFont());
        ASSERT_TRUE(grid.Create(&images, 0));
        grid.BuildColumns();
        test::ShowActive(&grid);
        test::SizeForRows(&grid, view, 20, 560);
        grid.SetRowCount(100);
        grid.setFocus();
    }

    QPoint CellPoint(int visibleRow, int column, int dx = 6) const
    {
        const int x = view.RowHeaderWidth() + view.Column(column).left
            - grid.horizontalScrollBar()->value() + dx;
        return { x, view.HeaderHeight() + visibleRow * view.RowHeight() + view.RowHeight() / 2 };
    }

    QColor PixelAt(QPoint point) { return test::Render(grid.viewport()).pixelColor(point); }

    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(&grid, static_cast<Qt::Key>(key), modifiers);
    }

    std::pair<int, int> Cell() const { return { grid.GetCurrentRow(), grid.GetCurrentColumn() }; }

    // A wheel turn of `delta` (120 a notch, negative towards the user) over the rows.
    void Turn(int delta)
    {
        const QPointF at(50, 50);
        QWheelEvent wheel(at, grid.viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta),
            Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(grid.viewport(), &wheel);
    }

    GridImageList images = test::MakeDotImages();
    CDefGridImpl view;
    test::DemoGrid grid;
};

TEST_F(DefGridImplTest, GeometryFollowsTheFontAndTheImages)
{
    // Row header: the 7-pixel pictures + 17; rows: the font height + 4.
    EXPECT_EQ(view.RowHeaderWidth(), 24);
    EXPECT_EQ(view.RowHeight(), QFontMetrics(test::TestFont()).height() + 4);
    EXPECT_EQ(view.PageRows(), 20);
}

TEST_F(DefGridImplTest, ScrollRangeAndDivisor)
{
    EXPECT_EQ(grid.verticalScrollBar()->minimum(), 0);
    EXPECT_EQ(grid.verticalScrollBar()->maximum(), 81);
    EXPECT_EQ(view.Divisor(), 1);
    grid.SetRowCount(200'000);
    EXPECT_EQ(grid.verticalScrollBar()->maximum(), 65535);
    EXPECT_EQ(view.Divisor(), 3);
    grid.verticalScrollBar()->setValue(1000);
    EXPECT_EQ(view.GetTopRow(), view.Layout().TopRowFromPosition(1000));
    grid.verticalScrollBar()->setValue(65535);
    EXPECT_EQ(view.GetTopRow(), 200'000 - 20 + 1);
}

TEST_F(DefGridImplTest, ClicksMoveTheCurrentCellButNotOnTheHeaderBand)
{
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(3, 2));
    EXPECT_EQ(Cell(), std::make_pair(3, 2));
    QTest::mouseClick(grid.viewport(), Qt::RightButton, Qt::NoModifier, CellPoint(5, 0));
    EXPECT_EQ(Cell(), std::make_pair(5, 0));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 3));
    EXPECT_EQ(Cell(), std::make_pair(5, 0));
    // Right of every column: the last column.
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier,
        QPoint(grid.viewport()->width() - 2, CellPoint(1, 0).y()));
    EXPECT_EQ(Cell(), std::make_pair(1, 4));
}

TEST_F(DefGridImplTest, TheRowHeaderTogglesTheRowsSwappedColoursWithoutMovingTheCell)
{
    grid.SetCurrentCell(2, 1);
    const QPoint header(5, CellPoint(4, 0).y());
    const QPoint blank = CellPoint(4, test::DemoGrid::kMemo, 40); // an empty memo cell
    EXPECT_EQ(PixelAt(blank), QColor(Qt::white));

    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, header);
    EXPECT_TRUE(view.IsRowMarked(4));
    EXPECT_EQ(Cell(), std::make_pair(2, 1));
    EXPECT_EQ(PixelAt(blank), QColor(Qt::black));

    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, header);
    EXPECT_FALSE(view.IsRowMarked(4));
    EXPECT_EQ(PixelAt(blank), QColor(Qt::white));
}

TEST_F(DefGridImplTest, NavigationKeys)
{
    Key(Qt::Key_Down);
    EXPECT_EQ(Cell(), std::make_pair(0, 0)); // from no cell to the first
    Key(Qt::Key_Down);
    Key(Qt::Key_Right);
    EXPECT_EQ(Cell(), std::make_pair(1, 1));
    Key(Qt::Key_Up);
    Key(Qt::Key_Up);
    Key(Qt::Key_Left);
    Key(Qt::Key_Left);
    EXPECT_EQ(Cell(), std::make_pair(0, 0)); // clamped at the edges
    Key(Qt::Key_PageDown);
    EXPECT_EQ(Cell(), std::make_pair(20, 0));
    Key(Qt::Key_PageUp);
    EXPECT_EQ(Cell(), std::make_pair(0, 0));
    Key(Qt::Key_End);
    EXPECT_EQ(Cell(), std::make_pair(0, 4));
    Key(Qt::Key_Home);
    EXPECT_EQ(Cell(), std::make_pair(0, 0));
    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(Cell(), std::make_pair(99, 0));
    EXPECT_EQ(view.GetTopRow(), 80);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(Cell(), std::make_pair(99, 0));
    Key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(Cell(), std::make_pair(0, 0));
    EXPECT_EQ(view.GetTopRow(), 0);
}

TEST_F(DefGridImplTest, TheWheelScrollsByTheDesktopLineCount)
{
    const int lines = CGridWnd::WheelScrollLines();
    Turn(-120);
    EXPECT_EQ(view.GetTopRow(), lines);
    Turn(-240);
    EXPECT_EQ(view.GetTopRow(), 3 * lines);
    Turn(120);
    EXPECT_EQ(view.GetTopRow(), 2 * lines);
    EXPECT_EQ(Cell(), std::make_pair(-1, -1)); // scrolling never moves the current cell
}

// Touchpads send parts of a notch; together they scroll as the notch would.
TEST_F(DefGridImplTest, FineWheelStepsAddUpToLines)
{
    const int desktopLines = QApplication::wheelScrollLines();
    QApplication::setWheelScrollLines(3);
    for (int i = 0; i < 12; ++i)
        Turn(-10);
    EXPECT_EQ(view.GetTopRow(), 3);
    for (int i = 0; i < 6; ++i)
        Turn(-40); // a line each
    EXPECT_EQ(view.GetTopRow(), 9);
    // Less than a line left over one way is dropped when the wheel turns back.
    Turn(-30);
    EXPECT_EQ(view.GetTopRow(), 9);
    Turn(120);
    EXPECT_EQ(view.GetTopRow(), 6);
    QApplication::setWheelScrollLines(desktopLines);
}

// Whatever a numeric or date cell shows reads as its value or as plainly cut: its whole
// text, a '#' fill, or a text with the cut mark. Never the same text with digits missing.
TEST_F(DefGridImplTest, NumbersAndDatesNeverReadAsOtherValues)
{
    grid.SetRowCount(1000);
    Key(Qt::Key_End, Qt::ControlModifier);
    view.AutofitColumns();
    const int top = view.GetTopRow();
    auto check = [&](const char* when) {
        (void)grid.grab();
        for (int column : { int(test::DemoGrid::kAmount), int(test::DemoGrid::kDate) }) {
            for (int row = top; row < top + view.PageRows(); ++row) {
                const QString full = platform::qt::FromAnsi(test::DemoGrid::GeneratedText(row, column));
                const QString shown = view.ShownCellText(row, column).trimmed();
                if (full.isEmpty() || shown == full.trimmed())
                    continue;
                const bool filled = !shown.isEmpty() && shown.count(QLatin1Char('#')) == shown.size();
                EXPECT_TRUE(filled || shown.contains(kCutMark))
                    << when << ": row " << row << " shows " << shown.toStdString() << " of "
                    << full.toStdString();
            }
        }
    };
    check("fitted");
    for (int row = top; row < top + view.PageRows(); ++row)
        EXPECT_EQ(view.ShownCellText(row, test::DemoGrid::kAmount).trimmed().toStdString(),
            test::DemoGrid::GeneratedText(row, test::DemoGrid::kAmount));
    // Narrowed by a divider to the least width: a fill.
    ASSERT_TRUE(view.TrackColumnWidth(test::DemoGrid::kAmount, 30));
    check("narrowed");
    const QString narrowed = view.ShownCellText(top, test::DemoGrid::kAmount);
    EXPECT_FALSE(narrowed.isEmpty());
    EXPECT_EQ(narrowed, QString(narrowed.size(), QLatin1Char('#')));
    view.AutofitColumns();
    // Scrolled sideways step by step: columns partly off either edge.
    test::SizeForRows(&grid, view, 20, 200);
    QScrollBar* bar = grid.horizontalScrollBar();
    for (int h = 0; h <= bar->maximum(); h += 7) {
        bar->setValue(h);
        check(("scrolled to " + std::to_string(h)).c_str());
    }
    // A character column partly scrolled off the left says so too.
    bar->setValue(30);
    EXPECT_TRUE(view.ShownCellText(top, test::DemoGrid::kName).startsWith(kCutMark));
}

TEST_F(DefGridImplTest, ColumnsScrollIntoViewByTheirEdges)
{
    test::SizeForRows(&grid, view, 20, 230);
    const int page = view.PageWidth();
    grid.SetCurrentCell(0, 0);
    Key(Qt::Key_Right);
    Key(Qt::Key_Right); // the amount column, partly off the right edge
    const CGridImpl::CColumn& amount = view.Column(2);
    ASSERT_GT(amount.left + amount.width, page);
    ASSERT_LT(amount.width, page);
    EXPECT_EQ(grid.horizontalScrollBar()->value(), amount.left + amount.width - page);
    Key(Qt::Key_Home);
    EXPECT_EQ(grid.horizontalScrollBar()->value(), 0);
    // The header band scrolls with the data.
    Key(Qt::Key_End);
    const int h = grid.horizontalScrollBar()->value();
    EXPECT_GT(h, 0);
    EXPECT_EQ(view.Header()->ItemLeft(0), view.RowHeaderWidth() - h);
}

// Autofit takes the widest text of the rows in view (trailing blanks dropped, one leading
// blank in a scalable font) + 14, or the title's width, whichever is larger.
TEST_F(DefGridImplTest, DoubleClickOnADividerFitsTheColumn)
{
    const int visibleRows = grid.viewport()->height() / view.RowHeight();
    const QFontMetrics metrics(test::TestFont());
    int widest = view.Column(0).headerTextWidth;
    for (int row = 0; row < visibleRows; ++row) {
        const QString text = QLatin1Char(' ')
            + platform::qt::FromAnsi(test::DemoGrid::GeneratedText(row, 0));
        widest = std::max(widest, metrics.horizontalAdvance(text) + 14);
    }
    CGridHdrCtrl* header = view.Header();
    const int divider = header->ItemLeft(0) + header->ItemWidth(0);
    QTest::mouseDClick(header, Qt::LeftButton, Qt::NoModifier, QPoint(divider, 5));
    EXPECT_EQ(view.Column(0).width, widest);
    EXPECT_EQ(header->ItemWidth(0), widest);
    EXPECT_EQ(view.Column(1).left, widest);

    // With no rows the title decides, or the widest text the column can show: a number of
    // the field's full width with its sign, a date, the longer of a logical's texts.
    grid.SetRowCount(0);
    EXPECT_EQ(view.AutofitColumn(0), view.Column(0).headerTextWidth);
    EXPECT_EQ(view.AutofitColumn(test::DemoGrid::kAmount),
        metrics.horizontalAdvance(QStringLiteral("999999.99")) + 14);
    EXPECT_EQ(view.AutofitColumn(test::DemoGrid::kDate),
        metrics.horizontalAdvance(QStringLiteral(" 28.12.2000")) + 14);
    EXPECT_EQ(view.AutofitColumn(test::DemoGrid::kActive),
        metrics.horizontalAdvance(QStringLiteral(" false")) + 14);
    grid.ClearColumns();
    EXPECT_EQ(view.AutofitColumn(0), 0);
}

TEST_F(DefGridImplTest, DraggingADividerBelowTheMinimumIsRefused)
{
    CGridHdrCtrl* header = view.Header();
    const int left = header->ItemLeft(0);
    const int divider = left + header->ItemWidth(0);
    QTest::mousePress(header, Qt::LeftButton, Qt::NoModifier, QPoint(divider, 5));
    QTest::mouseMove(header, QPoint(left + 60, 5));
    EXPECT_EQ(view.Column(0).width, 60);
    QTest::mouseMove(header, QPoint(left + 12, 5));
    EXPECT_EQ(view.Column(0).width, 60);
    QTest::mouseMove(header, QPoint(left + 20, 5));
    EXPECT_EQ(view.Column(0).width, 20);
    QTest::mouseRelease(header, Qt::LeftButton, Qt::NoModifier, QPoint(left + 20, 5));
    EXPECT_EQ(view.Column(1).left, 20);
    EXPECT_FALSE(view.TrackColumnWidth(1, 19));
}

TEST_F(DefGridImplTest, TheMarkerPointsRight)
{
    const QImage marker = CDefGridImpl::MakeMarker().toImage();
    ASSERT_EQ(marker.size(), QSize(8, 13));
    auto blackRun = [&](int y) {
        int x = 0;
        while (x < marker.width() && qAlpha(marker.pixel(x, y)) != 0)
            ++x;
        return x;
    };
    EXPECT_EQ(blackRun(0), 2);
    EXPECT_EQ(blackRun(6), 8);
    EXPECT_EQ(blackRun(12), 2);
}

} // namespace
} // namespace grid
