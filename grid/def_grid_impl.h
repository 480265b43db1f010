#pragma once

#include "grid/cell_text_fit.h"
#include "grid/grid_hdr_ctrl.h"
#include "grid/grid_impl.h"
#include "grid/grid_layout.h"

#include <QFont>
#include <QPixmap>
#include <QPointer>

#include <unordered_set>

class QPainter;

namespace grid {

// The tabular view: a header band on top, a row-header column on the left with the
// current-row marker and the rows' pictures, one line of text per row, grey grid lines, a
// framed current cell, columns the user sizes by their dividers (never below a column's
// minimum width) and fits to their text, and rows marked by clicking their row header
// (drawn in swapped colours; a display aid only, nothing reads the marks).
//
// The geometry lives in a GridLayout; this class feeds it and paints. The header band is a
// child of the grid's viewport, made on Attach and removed with the view.
class CDefGridImpl : public CGridImpl
{
public:
    static constexpr QRgb kGridLineColor = 0xFFC8C8C8u; // RGB(200, 200, 200)
    static constexpr int kRowHeaderWidthWithoutImages = 14;
    static constexpr int kHorizontalLine = 20; // pixels of a horizontal line step

    CDefGridImpl();
    ~CDefGridImpl() override;

    void Attach(CGridWnd* grid) override;
    void SetImageList(const GridImageList* imageList) override;
    void Activate(bool active) override;
    void SetFont(const QFont& font) override;
    void InsertColumn(int index, const QString& title, int characters, int width,
        int minWidth, int alignment) override;
    void ClearColumns() override;
    void ReloadColors() override;
    void OnButtonDown(QPoint point) override;
    void Relayout() override;
    void ScrollToCurrent() override;
    void OnRowCountChanged(int rowCount) override;
    void RefreshLayout() override;
    void OnHScrolled(int newH, int oldH, int newV, int oldV) override;
    void OnVScrolled(int newH, int oldH, int newV, int oldV) override;
    bool GetCellRect(int row, int column, QRect* rect) const override;
    int GetTopRow() const override { return m_topRow; }
    // A column of numbers or dates is made wide enough for its widest text, so that a new
    // column never shows its values as a fill.
    void SetColumnFit(int index, const QString& widestText, bool wholeText) override;

    void OnPaint(QPaintEvent* event) override;
    bool OnKeyDown(QKeyEvent* event) override;

    // What cell (row, column) shows of its cached text where it is now, cut marks included;
    // empty for a row not cached.
    QString ShownCellText(int row, int column) const;

    // Sets a column to its widest visible text (+14), its widest possible text (+14) or its
    // title, whichever is wider, and returns the width (0 without columns).
    int AutofitColumn(int column);
    void AutofitColumns();

    // The user drags a divider: refused below the column's minimum width.
    bool TrackColumnWidth(int column, int width);

    bool IsRowMarked(int row) const { return m_markedRows.count(row) != 0; }
    void ToggleRowMark(int row);

    const GridLayout& Layout() const { return m_layout; }
    CGridHdrCtrl* Header() const { return m_header; }
    int RowHeight() const { return m_rowHeight; }
    int RowHeaderWidth() const { return m_rowHeaderWidth; }
    int HeaderHeight() const;
    int Divisor() const { return m_divisor; }

    // The marker before the current row: a black triangle pointing right in the top-left
    // 8 x 13 pixels, row r black in its first 2 + min(r, 12 - r) pixels.
    static QPixmap MakeMarker();

private:
    int HPosition() const;
    void SyncLayout();
    void PlaceHeader();
    int TextExtent(const std::string& text, bool leftAligned) const;
    FittedCellText FitCell(int column, int left, int right, const QString& shown) const;
    void PaintCells(QPainter& painter, const QRect& clip, int first, int last);
    void PaintRowHeader(QPainter& painter, int first, int last);

    int m_topRow = 0;
    QPointer<CGridHdrCtrl> m_header;
    QFont m_headerFont;
    int m_markerOffset = 0;
    int m_imageOffset = 0;
    int m_totalWidth = 0;
    int m_rowHeaderWidth = kRowHeaderWidthWithoutImages;
    int m_rowHeight = 20;
    int m_divisor = 1;
    bool m_markingEnabled = true;
    std::unordered_set<int> m_markedRows;
    QPixmap m_marker;
    GridLayout m_layout;
};

} // namespace grid
