#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

namespace grid {

// The header band of the tabular view: one item per column, scrolled with the data, a
// raised corner box above the row header, dividers the user drags to size a column and
// double-clicks to fit it. A click only gives the focus to the grid; it never sorts.
//
// The band spans the whole width of the grid's viewport. Item i starts at
// RowHeaderWidth() + (sum of the widths before it) - horizontal position; nothing of an
// item is drawn over the corner.
class CGridHdrCtrl : public QWidget
{
    Q_OBJECT

public:
    // `focusTarget` receives the focus on a click (the grid).
    CGridHdrCtrl(QWidget* parent, QWidget* focusTarget);

    void InsertItem(int index, const QString& text, int width);
    void DeleteItem(int index);
    int ItemCount() const { return static_cast<int>(m_items.size()); }
    int ItemWidth(int index) const { return m_items[static_cast<size_t>(index)].width; }
    QString ItemText(int index) const { return m_items[static_cast<size_t>(index)].text; }
    void SetItemWidth(int index, int width);

    void SetLeftOffset(int offset); // horizontal position minus the row-header width
    void SetRowHeaderWidth(int width);
    void SetColors(QColor face, QColor highlight, QColor shadow);

    // The item whose right edge is within a few pixels of x, or -1.
    int DividerAt(int x) const;
    int ItemLeft(int index) const; // in the band's coordinates

    // Asked while a divider is dragged; returns whether the width is taken.
    std::function<bool(int index, int width)> onTrack;
    std::function<void(int index)> onDividerDoubleClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    struct Item
    {
        QString text;
        int width = 0;
    };

    void PaintFrame(class QPainter& painter, const QRect& rect) const;

    QWidget* m_focusTarget = nullptr;
    std::vector<Item> m_items;
    int m_leftOffset = 0;
    int m_rowHeaderWidth = 14;
    QColor m_face = Qt::lightGray;
    QColor m_highlight = Qt::white;
    QColor m_shadow = Qt::darkGray;
    int m_trackedItem = -1;
};

} // namespace grid
