#include "grid/grid_hdr_ctrl.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace grid {

namespace {

// How far from a divider a press still takes the divider.
constexpr int kDividerReach = 4;
constexpr int kTextInset = 6;

} // namespace

CGridHdrCtrl::CGridHdrCtrl(QWidget* parent, QWidget* focusTarget)
    : QWidget(parent)
    , m_focusTarget(focusTarget)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CGridHdrCtrl::InsertItem(int index, const QString& text, int width)
{
    index = std::clamp(index, 0, ItemCount());
    m_items.insert(m_items.begin() + index, Item { text, width });
    update();
}

void CGridHdrCtrl::DeleteItem(int index)
{
    if (index >= 0 && index < ItemCount())
        m_items.erase(m_items.begin() + index);
    update();
}

void CGridHdrCtrl::SetItemWidth(int index, int width)
{
    if (index >= 0 && index < ItemCount())
        m_items[static_cast<size_t>(index)].width = width;
    update();
}

void CGridHdrCtrl::SetLeftOffset(int offset)
{
    if (offset != m_leftOffset) {
        m_leftOffset = offset;
        update();
    }
}

void CGridHdrCtrl::SetRowHeaderWidth(int width)
{
    m_rowHeaderWidth = width;
    update();
}

void CGridHdrCtrl::SetColors(QColor face, QColor highlight, QColor shadow)
{
    m_face = face;
    m_highlight = highlight;
    m_shadow = shadow;
    update();
}

int CGridHdrCtrl::ItemLeft(int index) const
{
    int left = -m_leftOffset;
    for (int i = 0; i < index; ++i)
        left += m_items[static_cast<size_t>(i)].width;
    return left;
}

int CGridHdrCtrl::DividerAt(int x) const
{
    if (x < m_rowHeaderWidth)
        return -1;
    int right = -m_leftOffset;
    // The last divider within reach wins, so a column dragged down to nothing can still be
    // pulled out again.
    int found = -1;
    for (int i = 0; i < ItemCount(); ++i) {
        right += m_items[static_cast<size_t>(i)].width;
        if (std::abs(x - right) <= kDividerReach)
            found = i;
    }
    return found;
}

void CGridHdrCtrl::PaintFrame(QPainter& painter, const QRect& rect) const
{
    painter.setPen(m_highlight);
    painter.drawLine(rect.topLeft(), rect.topRight());
    painter.drawLine(rect.topLeft(), rect.bottomLeft());
    painter.setPen(m_shadow);
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    painter.drawLine(rect.topRight(), rect.bottomRight());
}

void CGridHdrCtrl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int h = height();
    painter.setClipRect(QRect(m_rowHeaderWidth, 0, std::max(width() - m_rowHeaderWidth, 0), h));
    painter.fillRect(rect(), m_face);
    painter.setFont(font());
    const QFontMetrics metrics(font());
    int left = -m_leftOffset;
    for (const Item& item : m_items) {
        const QRect cell(left, 0, item.width, h);
        if (cell.right() >= m_rowHeaderWidth && cell.left() < width()) {
            painter.fillRect(cell, m_face);
            const int textWidth = std::max(item.width - 2 * kTextInset, 0);
            // One pixel of slack: the title's width was measured rounded to whole pixels.
            const QString shown = metrics.elidedText(item.text, Qt::ElideRight, textWidth + 1);
            painter.setPen(palette().color(QPalette::ButtonText));
            painter.drawText(QRect(left + kTextInset, 0, textWidth + 1, h - 2),
                Qt::AlignLeft | Qt::AlignBottom | Qt::TextSingleLine, shown);
            PaintFrame(painter, cell.adjusted(0, 0, -2, -1));
            painter.setPen(m_shadow);
            painter.drawLine(left - 1, 0, left - 1, h - 1);
        }
        left += item.width;
    }
    painter.setPen(m_shadow);
    painter.drawLine(left - 1, 0, left - 1, h - 1);
    painter.drawLine(0, h - 1, width(), h - 1);
    painter.setClipping(false);
    const QRect corner(0, 0, m_rowHeaderWidth, h);
    painter.fillRect(corner, m_face);
    PaintFrame(painter, corner.adjusted(0, 0, -1, -1));
}

void CGridHdrCtrl::mousePressEvent(QMouseEvent* event)
{
    if (m_focusTarget)
        m_focusTarget->setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::LeftButton)
        m_trackedItem = DividerAt(event->position().toPoint().x());
}

void CGridHdrCtrl::mouseMoveEvent(QMouseEvent* event)
{
    const int x = event->position().toPoint().x();
    if (m_trackedItem < 0) {
        setCursor(DividerAt(x) >= 0 ? Qt::SplitHCursor : Qt::ArrowCursor);
        return;
    }
    const int width = x - ItemLeft(m_trackedItem);
    if (onTrack)
        onTrack(m_trackedItem, width);
}

void CGridHdrCtrl::mouseReleaseEvent(QMouseEvent*)
{
    m_trackedItem = -1;
}

void CGridHdrCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int item = DividerAt(event->position().toPoint().x());
    if (item >= 0 && onDividerDoubleClick)
        onDividerDoubleClick(item);
}

} // namespace grid
