#include "grid/ctrl_grid.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <algorithm>

namespace grid {

CCtrlGrid::CCtrlGrid(QWidget* parent)
    : CGridWnd(parent)
{
}

CCtrlGrid::~CCtrlGrid()
{
    // The editors are torn down with the viewport; none may call back into a half-gone grid.
    m_editing = false;
    m_activeEditor = nullptr;
    for (CCtrlColumn& binding : m_bindings) {
        if (binding.editor)
            binding.editor->SetGrid(nullptr);
    }
}

void CCtrlGrid::ClearColumns()
{
    CGridWnd::ClearColumns();
    m_bindings.clear();
}

void CCtrlGrid::SetGridFont(const QFont& font)
{
    CGridWnd::SetGridFont(font);
    for (const CCtrlColumn& binding : m_bindings) {
        if (binding.editor && binding.takesGridFont)
            binding.editor->Widget()->setFont(font);
    }
}

void CCtrlGrid::PrepareEditor(CCtrlHelper*) { }

void CCtrlGrid::OnCellEdited(int, int) { }

void CCtrlGrid::BeginEdit()
{
    UpdateCurrentCell();
    OpenEditor();
}

void CCtrlGrid::InsertColumn(int index, std::string_view title, int characters, int width,
    int minWidth, int alignment, CCtrlHelper* editor, bool takesGridFont, bool readOnly)
{
    CGridWnd::InsertColumn(index, title, characters, width, minWidth, alignment);
    if (editor)
        editor->SetGrid(this);
    index = std::clamp(index, 0, static_cast<int>(m_bindings.size()));
    m_bindings.insert(
        m_bindings.begin() + index, CCtrlColumn { editor, takesGridFont, readOnly });
}

const CCtrlColumn* CCtrlGrid::GetCtrlColumn(int column) const
{
    if (column < 0 || column >= static_cast<int>(m_bindings.size()))
        return nullptr;
    return &m_bindings[static_cast<size_t>(column)];
}

void CCtrlGrid::OpenEditor()
{
    if (GetColumnCount() == 0)
        return;
    QRect rect;
    if (!GetCellRect(GetCurrentRow(), GetCurrentColumn(), &rect))
        return;
    const CCtrlColumn* binding = GetCtrlColumn(GetCurrentColumn());
    if (!binding || binding->readOnly || !binding->editor)
        return;
    m_editing = true;
    m_activeEditor = binding->editor;
    // The cell's row may not have been painted yet (painting is deferred); an editor opened
    // on a row missing from the cache would show, and hand back, an empty text.
    if (Cache().Capacity() <= 0)
        SetCacheSize(0, 0);
    EnsureRowsCached(GetCurrentRow(), GetCurrentRow());
    std::string text;
    if (!GetCurrentCellText(&text))
        text.clear();
    m_activeEditor->MoveTo(rect);
    PrepareEditor(m_activeEditor);
    m_activeEditor->SetCancelled(false);
    m_activeEditor->SetText(text);
    QWidget* widget = m_activeEditor->Widget();
    widget->show();
    widget->raise();
    widget->setFocus(Qt::OtherFocusReason);
}

// The editor that is open, not the current column's, is the one closed: the two differ if
// the owner moved the current cell while an edit was pending.
int CCtrlGrid::EndEdit()
{
    if (m_closing)
        return -1;
    CCtrlHelper* editor = m_activeEditor;
    if (!m_editing || !editor || GetCurrentColumn() < 0 || !editor->Widget()->isVisible())
        return 0;
    const int row = GetCurrentRow();
    const int column = GetCurrentColumn();
    m_closing = true;
    if (!editor->IsCancelled()) {
        const std::string text = editor->GetText();
        if (!ValidateCell(row, column, text)) {
            editor->Widget()->setFocus(Qt::OtherFocusReason);
            m_closing = false;
            return -1;
        }
        SetCurrentCellText(text);
        Refresh(false);
    }
    m_editing = false;
    m_activeEditor = nullptr;
    setFocus(Qt::OtherFocusReason);
    editor->Widget()->hide();
    m_closing = false;
    OnCellEdited(row, column);
    return 0;
}

bool CCtrlGrid::event(QEvent* event)
{
    if (event->type() == GridEndEditEvent::EventType()) {
        EndEdit();
        return true;
    }
    if (event->type() == GridCaretPosEvent::EventType()) {
        OnCaretPosition(static_cast<GridCaretPosEvent*>(event)->Position());
        return true;
    }
    return CGridWnd::event(event);
}

void CCtrlGrid::OnCaretPosition(int) { }

bool CCtrlGrid::OnGridButtonDown(QMouseEvent*)
{
    return EndEdit() == 0;
}

bool CCtrlGrid::OnGridWheel(QWheelEvent*)
{
    return EndEdit() == 0;
}

bool CCtrlGrid::OnGridScrollBar()
{
    return EndEdit() == 0;
}

void CCtrlGrid::OnGridDoubleClick(QMouseEvent*)
{
    if (EndEdit() == 0)
        OpenEditor();
}

void CCtrlGrid::OnGridKeyDown(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        BeginEdit();
}

void CCtrlGrid::OnGridFocusOut(QFocusEvent*)
{
    if (!m_editing || !m_activeEditor)
        return;
    QWidget* focus = QApplication::focusWidget();
    QWidget* editor = m_activeEditor->Widget();
    if (focus && (focus == editor || editor->isAncestorOf(focus)))
        return;
    EndEdit();
}

} // namespace grid
