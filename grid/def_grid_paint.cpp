// Painting of the tabular view.

#include "grid/def_grid_impl.h"
#include "grid/grid_wnd.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace grid {

namespace {

constexpr int kFramePen = 3;

} // namespace

// The painter works in data coordinates: (0, 0) is the top-left of the data area, the row
// header lies at negative x. The header band is its own widget above.
void CDefGridImpl::OnPaint(QPaintEvent* event)
{
    if (!m_grid)
        return;
    QPainter painter(m_grid->viewport());
    const int headerHeight = HeaderHeight();
    painter.translate(m_rowHeaderWidth, headerHeight);
    const QRect clip = event->rect().translated(-m_rowHeaderWidth, -headerHeight);

    const auto [first, last] = m_layout.VisibleRows(
        std::max(clip.top(), 0), clip.bottom() + 1, m_topRow);
    if (last >= first) {
        const int count = last - first + 1;
        if (m_grid->Cache().Capacity() < count)
            m_grid->SetCacheSize(0, 0);
        if (!m_grid->Cache().IsCached(m_topRow + first)
            || !m_grid->Cache().IsCached(m_topRow + last))
            m_grid->EnsureRowsCached(m_topRow + first, m_topRow + last);
    }
    if (clip.right() >= 0)
        PaintCells(painter, clip, first, last);
    if (clip.left() < 0)
        PaintRowHeader(painter, first, last);
}

void CDefGridImpl::PaintCells(QPainter& painter, const QRect& clip, int first, int last)
{
    const QRect dataClip = clip.intersected(QRect(0, clip.top(), clip.right() + 1, clip.height()));
    painter.fillRect(dataClip, m_windowColor);
    const int hPosition = HPosition();
    const int rowHeight = m_rowHeight;
    const int descent = QFontMetrics(m_font).descent();
    painter.setFont(m_font);

    for (int i = first; i <= last; ++i) {
        const int row = m_topRow + i;
        const GridRow* cached = m_grid->FindCachedRow(row);
        const bool marked = IsRowMarked(row);
        const int rowTop = i * rowHeight;
        const int rowBottom = rowTop + rowHeight; // exclusive
        for (int c = 0; c < ColumnCount(); ++c) {
            const CColumn& column = Column(c);
            const int left = column.left - hPosition;
            const int right = left + column.width - 1; // exclusive: the grid line follows
            QRect cell(QPoint(left, i == 0 ? rowTop : rowTop + 1), QPoint(right - 1, rowBottom - 1));
            cell = cell.intersected(dataClip);
            if (cell.isEmpty())
                continue;
            QColor text = Qt::black;
            QColor back = m_windowColor;
            QString shown;
            if (cached && c < cached->ColumnCount()) {
                text = QColor::fromRgba(cached->textColors[static_cast<size_t>(c)]);
                back = QColor::fromRgba(cached->backColors[static_cast<size_t>(c)]);
                shown = DisplayText(cached->texts[static_cast<size_t>(c)],
                    column.alignment == kAlignLeft);
            }
            if (marked)
                std::swap(text, back);
            painter.fillRect(cell, back);
            if (shown.isEmpty())
                continue;
            const FittedCellText fitted = FitCell(c, left, right, shown);
            painter.save();
            painter.setClipRect(cell);
            painter.setPen(text);
            const int baseline = rowBottom - 3 - descent;
            painter.drawText(QPoint(fitted.x, baseline), fitted.text);
            if (fitted.CutLeft())
                painter.drawText(QPoint(fitted.leftMarkX, baseline), QString(kCutMark));
            if (fitted.CutRight())
                painter.drawText(QPoint(fitted.rightMarkX, baseline), QString(kCutMark));
            painter.restore();
        }
    }

    // Grid lines under the rows that exist: one below each row, one left of each column
    // after the first and one after the last column.
    if (last >= first && ColumnCount() > 0) {
        painter.setPen(QColor::fromRgba(kGridLineColor));
        const int lineRight = m_totalWidth - hPosition - 1;
        const int bottom = (last + 1) * rowHeight;
        for (int i = first; i <= last; ++i)
            painter.drawLine(0, (i + 1) * rowHeight, lineRight, (i + 1) * rowHeight);
        for (int c = 1; c < ColumnCount(); ++c) {
            const int x = Column(c).left - hPosition - 1;
            painter.drawLine(x, 0, x, bottom);
        }
        painter.drawLine(lineRight, 0, lineRight, bottom);
    }

    // The frame of the current cell, while the grid has the focus.
    const int currentRow = m_grid->GetCurrentRow();
    const int currentColumn = m_grid->GetCurrentColumn();
    if (m_focused && currentRow >= 0 && currentColumn >= 0 && currentColumn < ColumnCount()) {
        const long long i = static_cast<long long>(currentRow) - m_topRow;
        if (i >= first && i <= last) {
            const CColumn& column = Column(currentColumn);
            const int left = column.left - hPosition;
            const int right = left + column.width - 1;
            const int top = static_cast<int>(i) * rowHeight;
            QPen pen(IsRowMarked(currentRow) ? Qt::white : Qt::black, kFramePen);
            pen.setJoinStyle(Qt::MiterJoin);
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(QRect(QPoint(left - 1, top), QPoint(right, top + rowHeight)));
        }
    }
}

// `left` and `right` are the column's edges in the data area, the grid line at `right`.
FittedCellText CDefGridImpl::FitCell(int column, int left, int right, const QString& shown) const
{
    const CColumn& record = Column(column);
    const int viewRight = m_grid ? m_grid->viewport()->width() - m_rowHeaderWidth : m_pageWidth;
    return FitCellText(shown, QFontMetrics(m_font), left + 2, right - 2, 0, viewRight,
        record.alignment == kAlignRight, record.wholeText);
}

QString CDefGridImpl::ShownCellText(int row, int column) const
{
    if (!m_grid || column < 0 || column >= ColumnCount())
        return {};
    const GridRow* cached = m_grid->FindCachedRow(row);
    if (!cached || column >= cached->ColumnCount())
        return {};
    const CColumn& record = Column(column);
    const QString shown = DisplayText(
        cached->texts[static_cast<size_t>(column)], record.alignment == kAlignLeft);
    if (shown.isEmpty())
        return {};
    const int left = record.left - HPosition();
    return FitCell(column, left, left + record.width - 1, shown).Shown();
}

void CDefGridImpl::PaintRowHeader(QPainter& painter, int first, int last)
{
    painter.setClipping(false);
    const int left = -m_rowHeaderWidth;
    const int height = m_grid->viewport()->height();
    painter.fillRect(QRect(left, 0, m_rowHeaderWidth, height), m_faceColor);
    painter.setPen(m_highlightColor);
    painter.drawLine(-1, 0, -1, height);
    const int currentRow = m_grid->GetCurrentRow();
    for (int i = first; i <= last; ++i) {
        const int top = i * m_rowHeight;
        const QRect frame(left, top, m_rowHeaderWidth - 1, m_rowHeight - 1);
        painter.setPen(m_highlightColor);
        painter.drawLine(frame.topLeft(), frame.topRight());
        painter.drawLine(frame.topLeft(), frame.bottomLeft());
        painter.setPen(m_shadowColor);
        painter.drawLine(frame.bottomLeft(), frame.bottomRight());
        painter.drawLine(frame.topRight(), frame.bottomRight());
        const GridRow* cached = m_grid->FindCachedRow(m_topRow + i);
        if (m_imageList && cached && cached->imageIndex >= 0
            && cached->imageIndex < m_imageList->Count())
            painter.drawPixmap(14 + left, top + m_imageOffset,
                m_imageList->images[static_cast<size_t>(cached->imageIndex)]);
        if (m_topRow + i == currentRow)
            painter.drawPixmap(3 + left, top + m_markerOffset, m_marker);
    }
}

} // namespace grid
