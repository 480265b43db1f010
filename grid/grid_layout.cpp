#include "grid/grid_layout.h"

#include <algorithm>
#include <limits>

namespace grid {

namespace {

int ClampToInt(long long value)
{
    return static_cast<int>(std::clamp<long long>(
        value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

} // namespace

void GridLayout::SetClientSize(int width, int height)
{
    m_clientWidth = std::max(width, 0);
    m_clientHeight = std::max(height, 0);
}

void GridLayout::SetColumnWidths(const std::vector<int>& widths)
{
    m_widths = widths;
    m_lefts.resize(widths.size());
    long long left = 0;
    for (size_t i = 0; i < widths.size(); ++i) {
        m_lefts[i] = ClampToInt(left);
        left += widths[i];
    }
    m_totalWidth = ClampToInt(left);
}

void GridLayout::SetRowCount(int rowCount)
{
    m_rowCount = std::max(rowCount, 0);
}

int GridLayout::PageRows() const
{
    return std::max((m_clientHeight - m_headerHeight) / m_rowHeight, 0);
}

int GridLayout::LastTopRow() const
{
    return ClampToInt(std::max<long long>(static_cast<long long>(m_rowCount) - PageRows() + 1, 0));
}

int GridLayout::VerticalMaximum() const
{
    return std::min(LastTopRow(), kMaxScrollUnits);
}

int GridLayout::Divisor() const
{
    const int n = LastTopRow();
    return n <= kMaxScrollUnits ? 1 : n / kMaxScrollUnits;
}

// With more top rows than units, a unit stands for LastTopRow() / 65535 rows, a fraction
// the integer divisor rounds down; mapping in proportion lets the last unit reach the end.
int GridLayout::TopRowFromPosition(int position) const
{
    const int n = LastTopRow();
    position = std::clamp(position, 0, VerticalMaximum());
    if (n <= kMaxScrollUnits)
        return position;
    return static_cast<int>(static_cast<long long>(position) * n / kMaxScrollUnits);
}

int GridLayout::PositionFromTopRow(int topRow) const
{
    const int n = LastTopRow();
    topRow = std::clamp(topRow, 0, n);
    if (n <= kMaxScrollUnits)
        return topRow;
    return static_cast<int>(static_cast<long long>(topRow) * kMaxScrollUnits / n);
}

int GridLayout::HorizontalMaximum() const
{
    return std::max(m_totalWidth - PageWidth(), 0);
}

GridLayout::Hit GridLayout::HitTest(QPoint point, int topRow, int hPosition) const
{
    Hit hit;
    if (point.y() < m_headerHeight)
        return hit;
    if (m_rowCount > 0) {
        const long long row
            = static_cast<long long>(topRow) + (point.y() - m_headerHeight) / m_rowHeight;
        hit.row = static_cast<int>(std::min<long long>(row, m_rowCount - 1));
    }
    const int x = point.x() + hPosition - m_rowHeaderWidth;
    if (x < 0) {
        hit.kind = HitKind::RowHeader;
        return hit;
    }
    hit.kind = HitKind::Cell;
    const auto after = std::upper_bound(m_lefts.begin(), m_lefts.end(), x);
    hit.column = static_cast<int>(after - m_lefts.begin()) - 1;
    return hit;
}

bool GridLayout::CellRect(int row, int column, int topRow, int hPosition, QRect* rect) const
{
    if (row < 0 || column < 0 || column >= ColumnCount())
        return false;
    const int top = ClampToInt(static_cast<long long>(row - topRow) * m_rowHeight
        + m_headerHeight + 1);
    const int bottom = top + m_rowHeight - 1;
    const int left = m_rowHeaderWidth + ColumnLeft(column) - hPosition + 2;
    const int right = std::min(left + ColumnWidth(column) - 5, m_clientWidth);
    *rect = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
    return true;
}

int GridLayout::TopRowToShow(int row, int topRow) const
{
    return FirstLineToShow(row, topRow, PageRows(), m_rowCount);
}

int GridLayout::PositionToShow(int column, int hPosition) const
{
    return PositionToShowSpan(ColumnLeft(column), ColumnWidth(column), hPosition, PageWidth());
}

std::pair<int, int> GridLayout::VisibleRows(int clipTop, int clipBottom, int topRow) const
{
    const int first = std::max(clipTop / m_rowHeight, 0);
    const int last = std::min((clipBottom - clipTop) / m_rowHeight + first + 1,
        m_rowCount - topRow - 1);
    return { first, last };
}

int FirstLineToShow(int line, int firstLine, int pageLines, int lineCount)
{
    if (line >= firstLine && line < firstLine + pageLines)
        return firstLine;
    const bool inLastPage = line > lineCount - pageLines;
    const bool belowView = line >= firstLine + pageLines;
    int first = line;
    if (inLastPage || (belowView && pageLines > 0))
        first = line - (pageLines - 1);
    return std::max(first, 0);
}

int PositionToShowSpan(int left, int width, int position, int pageWidth)
{
    if (left >= position && left + width <= position + pageWidth)
        return position;
    if (left + width > position + pageWidth && width < pageWidth)
        return std::max(left + width - pageWidth, 0);
    return std::max(left, 0);
}

} // namespace grid
