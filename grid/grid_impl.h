#pragma once

#include "grid/grid_image_list.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

#include <memory>
#include <string>
#include <vector>

class QKeyEvent;
class QPaintEvent;
class QWheelEvent;

namespace grid {

class CGridWnd;

// One presentation of a grid (tabular or form): fonts, colours, column geometry and scroll
// positions of one view, and the handling of the paint, size, scroll, mouse and key input
// of the grid's viewport while it is the current view. A view has no window of its own: it
// draws on the grid's viewport and keeps the grid's scroll bars while current.
//
// Every registered view receives every column, so each keeps its own widths. Owned by
// whoever registered it with CGridWnd::AddImpl; the grid must outlive neither it nor be
// outlived by it while registered.
class CGridImpl
{
public:
    enum Alignment { kAlignLeft = 0, kAlignRight = 2 };

    // A column as one view sees it.
    struct CColumn
    {
        QString title;
        int characters = 30;
        int minWidth = 20;
        int width = 100;
        int headerTextWidth = 40;
        int left = 10; // left edge in the data area
        int alignment = kAlignLeft;
        // The widest text the column's cells can show (a number of the field's full width,
        // a date); autofit never makes the column narrower, the form view's box holds it.
        QString widestText;
        // A text that must be seen whole or marked as cut (numbers, dates), never shortened
        // into another value.
        bool wholeText = false;
    };

    CGridImpl() = default;
    CGridImpl(const CGridImpl&) = delete;
    CGridImpl& operator=(const CGridImpl&) = delete;
    virtual ~CGridImpl();

    // The view's operations, in their fixed order.
    virtual void Attach(CGridWnd* grid);
    virtual void SetImageList(const GridImageList* imageList);
    virtual void Activate(bool active);
    virtual void SetFont(const QFont& font);
    virtual void InsertColumn(int index, const QString& title, int characters, int width,
        int minWidth, int alignment);
    virtual void ClearColumns();
    virtual void ReloadColors();
    virtual void OnButtonDown(QPoint point) = 0;
    virtual void Relayout() = 0;
    virtual void ScrollToCurrent() = 0;
    virtual void OnRowCountChanged(int rowCount);
    virtual void RefreshLayout();
    virtual void OnHScrolled(int newH, int oldH, int newV, int oldV);
    virtual void OnVScrolled(int newH, int oldH, int newV, int oldV);
    virtual bool GetCellRect(int row, int column, QRect* rect) const;
    virtual int GetTopRow() const;
    virtual void SetColumnFit(int index, const QString& widestText, bool wholeText);

    // Input of the grid's viewport while this view is current.
    virtual void OnPaint(QPaintEvent* event);
    virtual bool OnKeyDown(QKeyEvent* event); // false: not a key of this view
    virtual void OnSize();
    virtual void OnWheel(QWheelEvent* event);
    virtual void OnFocusChanged(bool focused);

    bool IsAttached() const { return m_attached; }
    bool IsFocused() const { return m_focused; }
    CGridWnd* Grid() const { return m_grid; }
    int ColumnCount() const { return static_cast<int>(m_columns.size()); }
    const CColumn& Column(int index) const { return *m_columns[static_cast<size_t>(index)]; }
    int PageWidth() const { return m_pageWidth; }
    int PageRows() const { return m_pageRows; }
    QColor WindowColor() const { return m_windowColor; }

protected:
    CColumn& MutableColumn(int index) { return *m_columns[static_cast<size_t>(index)]; }
    bool IsCurrentView() const;
    // The text of a cell as drawn: one blank before left-aligned text in a scalable font
    // keeps it off the grid line.
    QString DisplayText(const std::string& text, bool leadingBlank) const;
    QString DisplayText(QString text, bool leadingBlank) const;
    // The extent of the column's widest possible text as drawn; 0 when it has none.
    int WidestTextExtent(const CColumn& column, bool leadingBlank) const;

    bool m_attached = false;
    bool m_trueType = false;
    bool m_focused = false;
    CGridWnd* m_grid = nullptr;
    QFont m_font;
    QColor m_windowColor = Qt::white;
    QColor m_faceColor = Qt::lightGray;
    QColor m_highlightColor = Qt::white;
    QColor m_shadowColor = Qt::darkGray;
    std::vector<std::unique_ptr<CColumn>> m_columns;
    int m_pageWidth = 10;
    int m_pageRows = 10;
    const GridImageList* m_imageList = nullptr;
    QRect m_imageRect;
    // Wheel movement, in 120ths of a line, not yet turned into lines.
    long long m_wheelRemainder = 0;
};

} // namespace grid
