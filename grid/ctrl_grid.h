#pragma once

#include "grid/ctrl_helper.h"
#include "grid/grid_wnd.h"

#include <vector>

namespace grid {

// How one column is edited: its editor (null: the column cannot be edited; not owned),
// whether the editor takes the grid font, and whether the column is read-only.
struct CCtrlColumn
{
    CCtrlHelper* editor = nullptr;
    bool takesGridFont = true;
    bool readOnly = false;
};

// A grid that edits cells in place. Each column may be bound to an editor, shared by all
// columns of its kind. Enter or a double click opens the editor on the current cell with the
// cell's text; Enter in the editor, leaving it, or any click, wheel turn or scroll in the
// grid closes it. Closing validates the text through ValidateCell and writes an accepted text
// into the cached row; a refused text keeps the editor open and focused, and the input that
// tried to close it is dropped, so the current cell never moves away from a pending edit.
// Escape closes without validation. OnCellEdited follows every close.
//
// Only one editor is open at a time. The editors belong to the derived class that makes
// them (as children of the viewport); bindings are owned here.
class CCtrlGrid : public CGridWnd
{
    Q_OBJECT

public:
    explicit CCtrlGrid(QWidget* parent = nullptr);
    ~CCtrlGrid() override;

    void ClearColumns() override;
    void SetGridFont(const QFont& font) override;

    // The editing operations, in their fixed order.
    virtual void PrepareEditor(CCtrlHelper* editor);
    virtual bool ValidateCell(int row, int column, const std::string& text) = 0;
    virtual void OnCellEdited(int row, int column);
    virtual void BeginEdit();

    void InsertColumn(int index, std::string_view title, int characters, int width,
        int minWidth, int alignment, CCtrlHelper* editor, bool takesGridFont, bool readOnly);

    // Closes the open editor. Returns -1 when its text was refused (it stays open), else 0.
    int EndEdit();

    bool IsEditing() const { return m_editing; }
    CCtrlHelper* GetActiveEditor() const { return m_activeEditor; }
    const CCtrlColumn* GetCtrlColumn(int column) const;

protected:
    bool event(QEvent* event) override;
    // An editor reported its caret; nothing here.
    virtual void OnCaretPosition(int position);

    bool OnGridButtonDown(QMouseEvent* event) override;
    bool OnGridWheel(QWheelEvent* event) override;
    bool OnGridScrollBar() override;
    void OnGridDoubleClick(QMouseEvent* event) override;
    void OnGridKeyDown(QKeyEvent* event) override;
    void OnGridFocusOut(QFocusEvent* event) override;

private:
    void OpenEditor();

    bool m_editing = false;
    bool m_closing = false;
    CCtrlHelper* m_activeEditor = nullptr;
    std::vector<CCtrlColumn> m_bindings;
};

} // namespace grid
