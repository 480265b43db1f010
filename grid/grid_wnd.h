#pragma once

#include "grid/grid_image_list.h"
#include "grid/grid_row.h"
#include "grid/row_cache.h"

#include <QAbstractScrollArea>
#include <QFont>

#include <string>
#include <string_view>
#include <vector>

namespace grid {

class CGridImpl;

// The owner-data grid window. It knows the number of rows and columns, the current cell and
// a sliding cache of rows, and asks its owner (a derived class) for a row through FillRow
// only when a row inside the cache window is needed: the cost of showing a grid never
// depends on its row count.
//
// Layout, painting, scrolling, hit testing and navigation keys belong to the current view
// (a CGridImpl). Views are registered with AddImpl and belong to the owner, except the
// tabular view the grid makes for itself when none was registered. Switching views keeps
// rows, columns, cache and current cell. The viewport's events go to the grid family first
// (editing, focus) and then to the current view.
//
// Texts cross the grid's interface as code page 1251 bytes, the owner's own text; the grid
// turns them into QString only to draw or edit them.
//
// REQUIRES: after ClearColumns or InsertColumn, SetRowCount or Refresh(true) before the
// rows are shown again, so that the cache is rebuilt with the new column count.
class CGridWnd : public QAbstractScrollArea
{
    Q_OBJECT

public:
    using CRow = GridRow;

    explicit CGridWnd(QWidget* parent = nullptr);
    ~CGridWnd() override;

    // Attaches the views, sets the font and selects view `initialImpl`; runs once.
    // `imageList` is not owned and must outlive the grid.
    bool Create(const GridImageList* imageList, int initialImpl);
    bool IsCreated() const { return m_created; }

    // The grid's virtual operations, in their fixed order.
    virtual void ClearColumns();
    virtual void SetGridFont(const QFont& font);
    virtual void OnGridCreated();
    virtual void FillRow(int row, CRow* rowObject);
    virtual void OnCurrentCellChanged(int row, int column);

    void AddImpl(CGridImpl* impl);
    void SelectImpl(int index);
    void SetImageList(const GridImageList* imageList);
    // Alignment 0 = left, 2 = right. `title` is in code page 1251.
    void InsertColumn(int index, std::string_view title, int characters, int width,
        int minWidth, int alignment);
    // How column `index` fits its texts in every view: `widestText` (code page 1251) is the
    // widest text its cells can show; a `wholeText` column marks a cut text instead of
    // showing part of it as if it were all.
    void SetColumnFit(int index, std::string_view widestText, bool wholeText);
    void SetRowCount(int rowCount);

    void SetCacheSize(int capacity, int margin);
    // first < 0: the current view's top row; last < 0: two rows after first.
    void EnsureRowsCached(int first, int last);
    void FlushRowCache();
    CRow* FindCachedRow(int row) const;
    const RowCache& Cache() const { return m_cache; }

    void Refresh(bool flush);
    void SetCurrentRow(int row);
    void SetCurrentCell(int row, int column);
    void UpdateCurrentCell();
    // While set, the current cell stays framed when the focus leaves the grid, so a dialog
    // over the window that moves the cursor (the search) shows the cell it went to.
    void SetCurrentCellFramedWithoutFocus(bool framed);

    CRow* GetCurrentRowObject() const;
    bool GetCurrentCellText(std::string* text) const;
    void SetCurrentCellText(std::string_view text);
    bool GetCellRect(int row, int column, QRect* rect) const;

    CGridImpl* GetImpl(int index) const;
    CGridImpl* GetCurrentImpl() const;
    int GetCurrentImplIndex() const { return m_currentImpl; }
    int GetImplCount() const { return static_cast<int>(m_impls.size()); }

    int GetRowCount() const { return m_rowCount; }
    int GetColumnCount() const { return m_columnCount; }
    int GetCurrentRow() const { return m_currentRow; }
    int GetCurrentColumn() const { return m_currentColumn; }
    const GridFontMetrics& GetFontMetrics() const { return m_fontMetrics; }
    const QFont& GetGridFont() const { return m_font; }
    const GridImageList* GetImageList() const { return m_imageList; }

    // The views keep the scroll bars: these set a bar without telling the view back.
    void SetScrollBar(Qt::Orientation orientation, int maximum, int pageStep, int singleStep);
    void SetScrollPosition(Qt::Orientation orientation, int position);
    int ScrollPosition(Qt::Orientation orientation) const;

    // The metrics the views read of a font.
    static GridFontMetrics MeasureFont(const QFont& font);

    // Lines one wheel notch scrolls.
    static int WheelScrollLines();

protected:
    // The window's creation: attaches the views. Typed grids make their editors first.
    virtual void OnCreate();

    // The grid family sees input before the current view. Returning false consumes the
    // event (a refused edit keeps the editor open and nothing else happens).
    virtual bool OnGridButtonDown(QMouseEvent* event);
    virtual bool OnGridWheel(QWheelEvent* event);
    virtual bool OnGridScrollBar();
    virtual void OnGridDoubleClick(QMouseEvent* event);
    virtual void OnGridKeyDown(QKeyEvent* event);
    virtual void OnGridFocusOut(QFocusEvent* event);

    bool viewportEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    std::unique_ptr<CRow> MakeRow(int row);
    void ReloadColors();

    const GridImageList* m_imageList = nullptr;
    int m_initialImpl = 0;
    bool m_created = false;
    bool m_fontSet = false;
    int m_rowCount = 0;
    int m_columnCount = 0;
    int m_currentRow = -1;
    int m_currentColumn = -1;
    RowCache m_cache;
    QFont m_font;
    GridFontMetrics m_fontMetrics;
    int m_currentImpl = -1;
    CGridImpl* m_defaultImpl = nullptr;
    std::unique_ptr<CGridImpl> m_ownedDefaultImpl;
    std::vector<CGridImpl*> m_impls;

    int m_lastH = 0;
    int m_lastV = 0;
    bool m_settingScroll = false;
    bool m_framedWithoutFocus = false;
};

} // namespace grid
