#pragma once

#include <QPoint>
#include <QRect>

#include <utility>
#include <vector>

namespace grid {

// The geometry of the tabular view, free of painting so it can be tested alone: column
// positions, the page, the scroll ranges, hit testing and the cell rectangles.
//
// Coordinates are those of the grid's client area: the header band is the top
// HeaderHeight() pixels, the row-header column the left RowHeaderWidth() pixels, and data
// coordinates put (0, 0) at the top-left of the data area. The top row and the horizontal
// position belong to the view; the layout is told them for each question.
//
// The vertical scroll bar counts in units of at most 65535 steps: with more rows than
// that, one unit stands for Divisor() rows (or a little more: the last unit always reaches
// the last page, so the bar can show every row of even a two-billion-row grid).
class GridLayout
{
public:
    static constexpr int kMaxScrollUnits = 65535;

    enum class HitKind { HeaderBand, RowHeader, Cell };
    struct Hit
    {
        HitKind kind = HitKind::HeaderBand;
        int row = -1; // -1 without rows
        int column = -1; // -1 without a column at the point
    };

    void SetRowHeight(int height) { m_rowHeight = height > 0 ? height : 1; }
    void SetHeaderHeight(int height) { m_headerHeight = height; }
    void SetRowHeaderWidth(int width) { m_rowHeaderWidth = width; }
    void SetClientSize(int width, int height);
    void SetColumnWidths(const std::vector<int>& widths);
    void SetRowCount(int rowCount);

    int RowHeight() const { return m_rowHeight; }
    int HeaderHeight() const { return m_headerHeight; }
    int RowHeaderWidth() const { return m_rowHeaderWidth; }
    int ClientWidth() const { return m_clientWidth; }
    int ClientHeight() const { return m_clientHeight; }
    int RowCount() const { return m_rowCount; }
    int ColumnCount() const { return static_cast<int>(m_widths.size()); }
    int ColumnLeft(int column) const { return m_lefts[static_cast<size_t>(column)]; }
    int ColumnWidth(int column) const { return m_widths[static_cast<size_t>(column)]; }
    int TotalWidth() const { return m_totalWidth; }

    // Data-area width and the number of fully visible rows.
    int PageWidth() const { return m_clientWidth - m_rowHeaderWidth; }
    int PageRows() const;

    // Vertical bar: 0..VerticalMaximum() units; the top row may go up to LastTopRow(), one
    // past the start of a full last page.
    int LastTopRow() const;
    int VerticalMaximum() const;
    int Divisor() const;
    int TopRowFromPosition(int position) const;
    int PositionFromTopRow(int topRow) const;
    int HorizontalMaximum() const;

    Hit HitTest(QPoint point, int topRow, int hPosition) const;

    // The rectangle an editor covers for a cell; false for negative arguments.
    bool CellRect(int row, int column, int topRow, int hPosition, QRect* rect) const;

    // The top row that brings `row` into view, moving as little as the rule allows: a row
    // below the view (or in the last page) becomes the last visible row, a row above it the
    // top row.
    int TopRowToShow(int row, int topRow) const;

    // The horizontal position that brings `column` into view: a column partly off the right
    // edge and narrower than the page ends at the right edge, otherwise its left edge goes
    // to the left edge of the view.
    int PositionToShow(int column, int hPosition) const;

    // Rows touched by the data-area band clipTop..clipBottom, relative to the top row:
    // first and last inclusive; last < first when no row is touched.
    std::pair<int, int> VisibleRows(int clipTop, int clipBottom, int topRow) const;

private:
    int m_rowHeight = 20;
    int m_headerHeight = 0;
    int m_rowHeaderWidth = 14;
    int m_clientWidth = 0;
    int m_clientHeight = 0;
    int m_rowCount = 0;
    int m_totalWidth = 0;
    std::vector<int> m_widths;
    std::vector<int> m_lefts;
};

// The same rule as GridLayout::TopRowToShow for any list of lines shown `pageLines` at a
// time (the form view's fields).
int FirstLineToShow(int line, int firstLine, int pageLines, int lineCount);

// The same rule as GridLayout::PositionToShow for a span left..left+width of a page of
// `pageWidth` pixels seen from `position`.
int PositionToShowSpan(int left, int width, int position, int pageWidth);

} // namespace grid
