#include "grid/def_grid_impl.h"

#include "grid/grid_hdr_ctrl.h"
#include "grid/grid_wnd.h"

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QKeyEvent>

#include <algorithm>

namespace grid {

namespace {

constexpr int kMarkerWidth = 8;
constexpr int kMarkerHeight = 13;

// Keys step from any row, the last of a grid of INT_MAX rows included, without overflow.
int ClampIndex(long long value, int count)
{
    return count <= 0 ? -1 : static_cast<int>(std::clamp<long long>(value, 0, count - 1LL));
}

} // namespace

CDefGridImpl::CDefGridImpl()
    : m_marker(MakeMarker())
{
    m_headerFont = QApplication::font();
    m_headerFont.setPointSize(8);
}

CDefGridImpl::~CDefGridImpl()
{
    delete m_header.data();
}

QPixmap CDefGridImpl::MakeMarker()
{
    QImage image(kMarkerWidth, kMarkerHeight, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int r = 0; r < kMarkerHeight; ++r) {
        const int black = 2 + std::min(r, kMarkerHeight - 1 - r);
        for (int x = 0; x < black; ++x)
            image.setPixel(x, r, qRgb(0, 0, 0));
    }
    return QPixmap::fromImage(image);
}

void CDefGridImpl::Attach(CGridWnd* grid)
{
    CGridImpl::Attach(grid);
    delete m_header.data();
    m_header = new CGridHdrCtrl(grid->viewport(), grid);
    m_header->hide();
    m_header->setFont(m_headerFont);
    m_header->SetRowHeaderWidth(m_rowHeaderWidth);
    m_header->onTrack = [this](int column, int width) { return TrackColumnWidth(column, width); };
    m_header->onDividerDoubleClick = [this](int column) { AutofitColumn(column); };
    for (int i = 0; i < ColumnCount(); ++i)
        m_header->InsertItem(i, Column(i).title, Column(i).width);
}

void CDefGridImpl::SetImageList(const GridImageList* imageList)
{
    const bool hasImages = imageList && imageList->Count() > 0;
    m_rowHeaderWidth
        = hasImages ? imageList->ImageSize().width() + 17 : kRowHeaderWidthWithoutImages;
    if (m_header)
        m_header->SetRowHeaderWidth(m_rowHeaderWidth);
    CGridImpl::SetImageList(imageList);
}

void CDefGridImpl::Activate(bool active)
{
    if (m_header)
        m_header->setVisible(active);
}

void CDefGridImpl::SetFont(const QFont& font)
{
    CGridImpl::SetFont(font);
    m_rowHeight = CGridWnd::MeasureFont(font).height + 4;
    if (m_imageList && m_imageList->Count() > 0)
        m_rowHeight = std::max(m_rowHeight, m_imageRect.height());
    m_markerOffset = (m_rowHeight - kMarkerHeight) / 2;
    m_imageOffset = (m_rowHeight - m_imageRect.height()) / 2;
    AutofitColumns();
}

void CDefGridImpl::InsertColumn(int index, const QString& title, int characters, int width,
    int minWidth, int alignment)
{
    CGridImpl::InsertColumn(index, title, characters, width, minWidth, alignment);
    index = std::clamp(index, 0, ColumnCount() - 1);
    MutableColumn(index).headerTextWidth
        = QFontMetrics(m_headerFont).horizontalAdvance(title) + 12;
    if (m_header)
        m_header->InsertItem(index, title, width);
}

void CDefGridImpl::SetColumnFit(int index, const QString& widestText, bool wholeText)
{
    CGridImpl::SetColumnFit(index, widestText, wholeText);
    if (index < 0 || index >= ColumnCount() || !wholeText)
        return;
    // The text starts 2 pixels in and ends 2 before the grid line.
    const int least = WidestTextExtent(Column(index), Column(index).alignment == kAlignLeft) + 6;
    if (Column(index).width >= least)
        return;
    MutableColumn(index).width = least;
    if (m_header && index < m_header->ItemCount())
        m_header->SetItemWidth(index, least);
    if (IsCurrentView())
        Relayout();
}

void CDefGridImpl::ClearColumns()
{
    CGridImpl::ClearColumns();
    if (m_header) {
        for (int i = m_header->ItemCount() - 1; i >= 0; --i)
            m_header->DeleteItem(i);
    }
}

void CDefGridImpl::ReloadColors()
{
    CGridImpl::ReloadColors();
    if (m_header)
        m_header->SetColors(m_faceColor, m_highlightColor, m_shadowColor);
}

int CDefGridImpl::HeaderHeight() const
{
    return QFontMetrics(m_headerFont).height() + 6;
}

int CDefGridImpl::HPosition() const
{
    return m_grid ? m_grid->ScrollPosition(Qt::Horizontal) : 0;
}

void CDefGridImpl::SyncLayout()
{
    std::vector<int> widths;
    widths.reserve(m_columns.size());
    for (const auto& column : m_columns)
        widths.push_back(column->width);
    m_layout.SetColumnWidths(widths);
    m_layout.SetRowHeight(m_rowHeight);
    m_layout.SetHeaderHeight(HeaderHeight());
    m_layout.SetRowHeaderWidth(m_rowHeaderWidth);
    if (m_grid) {
        m_layout.SetClientSize(m_grid->viewport()->width(), m_grid->viewport()->height());
        m_layout.SetRowCount(m_grid->GetRowCount());
    }
}

void CDefGridImpl::PlaceHeader()
{
    if (!m_header || !m_grid)
        return;
    m_header->setGeometry(0, 0, m_grid->viewport()->width(), HeaderHeight());
    m_header->SetLeftOffset(HPosition() - m_rowHeaderWidth);
}

void CDefGridImpl::Relayout()
{
    if (!m_grid)
        return;
    SyncLayout();
    for (int i = 0; i < ColumnCount(); ++i)
        MutableColumn(i).left = m_layout.ColumnLeft(i);
    m_totalWidth = m_layout.TotalWidth();
    m_pageWidth = m_layout.PageWidth();
    m_pageRows = m_layout.PageRows();
    m_divisor = m_layout.Divisor();
    m_topRow = std::min(m_topRow, m_layout.LastTopRow());
    m_grid->SetScrollBar(Qt::Vertical, m_layout.VerticalMaximum(), m_pageRows, 1);
    m_grid->SetScrollBar(
        Qt::Horizontal, m_layout.HorizontalMaximum(), m_pageWidth, kHorizontalLine);
    m_grid->SetScrollPosition(Qt::Vertical, m_layout.PositionFromTopRow(m_topRow));
    PlaceHeader();
}

void CDefGridImpl::ScrollToCurrent()
{
    if (!m_grid)
        return;
    const int row = m_grid->GetCurrentRow();
    const int column = m_grid->GetCurrentColumn();
    if (row < 0 && column < 0)
        return;
    SyncLayout();
    if (row >= 0) {
        m_topRow = m_layout.TopRowToShow(row, m_topRow);
        m_grid->SetScrollPosition(Qt::Vertical, m_layout.PositionFromTopRow(m_topRow));
    }
    if (column >= 0 && column < ColumnCount()) {
        m_grid->SetScrollPosition(Qt::Horizontal, m_layout.PositionToShow(column, HPosition()));
        PlaceHeader();
    }
}

void CDefGridImpl::OnRowCountChanged(int rowCount)
{
    if (m_grid && m_grid->GetCurrentRow() < 0)
        m_topRow = 0;
    if (m_topRow >= rowCount)
        m_topRow = std::max(rowCount - m_pageRows, 0);
}

void CDefGridImpl::RefreshLayout()
{
    if (m_header) {
        for (int i = 0; i < std::min(ColumnCount(), m_header->ItemCount()); ++i)
            MutableColumn(i).width = m_header->ItemWidth(i);
    }
    Relayout();
}

void CDefGridImpl::OnHScrolled(int, int, int, int)
{
    PlaceHeader();
    m_grid->viewport()->update();
}

void CDefGridImpl::OnVScrolled(int, int, int newV, int)
{
    m_topRow = m_layout.TopRowFromPosition(newV);
    m_grid->viewport()->update();
}

bool CDefGridImpl::GetCellRect(int row, int column, QRect* rect) const
{
    return m_layout.CellRect(row, column, m_topRow, HPosition(), rect);
}

void CDefGridImpl::OnButtonDown(QPoint point)
{
    m_grid->setFocus(Qt::MouseFocusReason);
    const GridLayout::Hit hit = m_layout.HitTest(point, m_topRow, HPosition());
    const int current = m_grid->GetCurrentColumn();
    switch (hit.kind) {
    case GridLayout::HitKind::HeaderBand:
        return;
    case GridLayout::HitKind::RowHeader:
        if (m_markingEnabled) {
            if (hit.row >= 0)
                ToggleRowMark(hit.row);
            return;
        }
        m_grid->SetCurrentCell(hit.row, current < 0 ? 0 : current);
        return;
    case GridLayout::HitKind::Cell:
        m_grid->SetCurrentCell(hit.row, hit.column >= 0 ? hit.column : current);
        return;
    }
}

bool CDefGridImpl::OnKeyDown(QKeyEvent* event)
{
    long long row = m_grid->GetCurrentRow();
    long long column = m_grid->GetCurrentColumn();
    const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    switch (event->key()) {
    case Qt::Key_Up:
        --row;
        break;
    case Qt::Key_Down:
        ++row;
        break;
    case Qt::Key_Left:
        --column;
        break;
    case Qt::Key_Right:
        ++column;
        break;
    case Qt::Key_PageUp:
        row -= m_pageRows;
        break;
    case Qt::Key_PageDown:
        row += m_pageRows;
        break;
    case Qt::Key_Home:
        (ctrl ? row : column) = 0;
        break;
    case Qt::Key_End:
        if (ctrl)
            row = m_grid->GetRowCount() - 1;
        else
            column = m_grid->GetColumnCount() - 1;
        break;
    default:
        return false;
    }
    m_grid->SetCurrentCell(
        ClampIndex(row, m_grid->GetRowCount()), ClampIndex(column, m_grid->GetColumnCount()));
    return true;
}

void CDefGridImpl::ToggleRowMark(int row)
{
    if (!m_markedRows.erase(row))
        m_markedRows.insert(row);
    if (m_grid)
        m_grid->viewport()->update();
}

int CDefGridImpl::TextExtent(const std::string& text, bool leftAligned) const
{
    std::string trimmed = text;
    trimmed.erase(trimmed.find_last_not_of(' ') + 1);
    return QFontMetrics(m_font).horizontalAdvance(DisplayText(trimmed, leftAligned));
}

int CDefGridImpl::AutofitColumn(int column)
{
    if (column < 0 || column >= ColumnCount() || !m_grid)
        return 0;
    CColumn& record = MutableColumn(column);
    int width = record.headerTextWidth;
    if (!record.widestText.isEmpty())
        width = std::max(width, WidestTextExtent(record, record.alignment == kAlignLeft) + 14);
    const int rowCount = m_grid->GetRowCount();
    const int visible = m_grid->viewport()->height() / m_rowHeight;
    const int last = std::min(rowCount - 1, m_topRow + visible - 1);
    if (last >= m_topRow) {
        if (m_grid->Cache().Capacity() < last - m_topRow + 1)
            m_grid->SetCacheSize(0, 0);
        m_grid->EnsureRowsCached(m_topRow, last);
        for (int row = m_topRow; row <= last; ++row) {
            const GridRow* cached = m_grid->FindCachedRow(row);
            if (!cached || column >= cached->ColumnCount())
                continue;
            const std::string& text = cached->texts[static_cast<size_t>(column)];
            width = std::max(width, TextExtent(text, record.alignment == kAlignLeft) + 14);
        }
    }
    record.width = width;
    if (m_header)
        m_header->SetItemWidth(column, width);
    if (IsCurrentView())
        Relayout();
    m_grid->viewport()->update();
    return width;
}

void CDefGridImpl::AutofitColumns()
{
    for (int i = 0; i < ColumnCount(); ++i)
        AutofitColumn(i);
}

bool CDefGridImpl::TrackColumnWidth(int column, int width)
{
    if (column < 0 || column >= ColumnCount() || width < Column(column).minWidth)
        return false;
    if (width == Column(column).width)
        return true;
    MutableColumn(column).width = width;
    if (m_header)
        m_header->SetItemWidth(column, width);
    Relayout();
    m_grid->viewport()->update();
    return true;
}

} // namespace grid
