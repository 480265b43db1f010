#pragma once

#include "grid/cell_text_fit.h"
#include "grid/grid_impl.h"

#include <QFont>

namespace grid {

// The form view: only the current row, turned on its side. One line per grid column, the
// column title on the left in bold, the cell text on the right in a box as wide as the
// column's characters. Up and Down move between fields, Ctrl+Up and Ctrl+Down between rows.
// It shares the grid's rows, columns, cache, current cell and editors with the tabular
// view; its vertical scroll bar counts field lines.
//
// The name and content widths are measured again whenever the font or the columns change.
class CFormGridImpl : public CGridImpl
{
public:
    static constexpr int kHorizontalLine = 20;

    void SetImageList(const GridImageList* imageList) override;
    void SetFont(const QFont& font) override;
    void InsertColumn(int index, const QString& title, int characters, int width, int minWidth,
        int alignment) override;
    void ClearColumns() override;
    void SetColumnFit(int index, const QString& widestText, bool wholeText) override;
    void OnButtonDown(QPoint point) override;
    void Relayout() override;
    void ScrollToCurrent() override;
    void OnHScrolled(int newH, int oldH, int newV, int oldV) override;
    void OnVScrolled(int newH, int oldH, int newV, int oldV) override;
    bool GetCellRect(int row, int column, QRect* rect) const override;

    void OnPaint(QPaintEvent* event) override;
    bool OnKeyDown(QKeyEvent* event) override;

    int NameWidth() const { return m_nameWidth; }
    int ContentWidth() const { return m_contentWidth; }
    int LineHeight() const { return m_lineHeight; }
    int PictureWidth() const { return m_pictureWidth; }
    int FirstLine() const { return m_firstLine; }
    // Left edge of the value boxes.
    int ValueLeft() const { return m_pictureWidth + m_nameWidth + 15; }
    // Right edge (exclusive) of column `column`'s value box.
    int ValueRight(int column) const;
    // What field `column` of the current row shows where it is now, cut marks included
    // (the box of the current field is measured as when the field is not current).
    QString ShownValueText(int column) const;

private:
    int HPosition() const;
    void Measure();
    int BoxWidth(int column) const;
    FittedCellText FitValue(int column, const QRect& box, const QString& shown) const;

    int m_nameWidth = 0;
    int m_contentWidth = 0;
    int m_lineHeight = 20;
    int m_pictureWidth = 0;
    int m_firstLine = 0;
    QFont m_boldFont;
};

} // namespace grid
