// The table window's commands: their states, the record commands on the grid, the search,
// and the editing commands, which are an open cell editor's own while it is open.

#include "shell/child_frame.h"

#include "resources/resource_ids.h"
#include "shell/dialogs/search_dialog.h"
#include "shell/grid_search_target.h"
#include "shell/main_frame.h"
#include "shell/path_text.h"
#include "shell/viewer_app.h"
#include "table/table.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>

namespace shell {

void CChildFrame::Pack()
{
    const std::size_t pending = m_grid->PendingChanges().Size();
    // The changes still pending after a pack are dropped by it, unsaved; those saved first
    // were written even when the pack itself was then declined.
    const bool packed = m_grid->PackTable();
    MarkWhenWritten(pending, packed);
}

bool CChildFrame::EndCellEdit()
{
    return m_grid->EndEdit() == 0;
}

QLineEdit* CChildFrame::OpenTextEditor() const
{
    grid::CCtrlHelper* editor = m_grid->IsEditing() ? m_grid->GetActiveEditor() : nullptr;
    if (!editor)
        return nullptr;
    QWidget* widget = editor->Widget();
    if (auto* line = qobject_cast<QLineEdit*>(widget))
        return line;
    // The date editor types into a text field of its own.
    return widget->findChild<QLineEdit*>();
}

bool CChildFrame::EditingCommandEnabled(int id) const
{
    const bool clipboardText = !QGuiApplication::clipboard()->text().isEmpty();
    if (m_grid->IsEditing()) {
        const QLineEdit* editor = OpenTextEditor();
        if (!editor)
            return false;
        switch (id) {
        case ID_EDIT_UNDO:
            return editor->isUndoAvailable();
        case ID_EDIT_COPY:
            return editor->hasSelectedText();
        default:
            return !editor->isReadOnly() && clipboardText;
        }
    }
    if (!m_grid->HasOpenTable())
        return false;
    const int row = m_grid->GetCurrentRow();
    const int column = m_grid->GetCurrentColumn();
    switch (id) {
    case ID_EDIT_UNDO:
        return m_grid->PendingChanges().CanUndo();
    case ID_EDIT_COPY:
        return row >= 0 && column >= 0;
    default: {
        const grid::CCtrlColumn* binding = m_grid->GetCtrlColumn(column);
        return row >= 0 && binding && binding->editor && !binding->readOnly && clipboardText;
    }
    }
}

void CChildFrame::RunEditingCommand(int id)
{
    if (QLineEdit* editor = OpenTextEditor()) {
        if (id == ID_EDIT_UNDO)
            editor->undo();
        else if (id == ID_EDIT_COPY)
            editor->copy();
        else
            editor->paste();
        return;
    }
    if (id == ID_EDIT_UNDO)
        (void)m_grid->UndoChange();
    else if (id == ID_EDIT_COPY)
        (void)m_grid->CopyCurrentCell();
    else
        (void)m_grid->PasteIntoCurrentCell();
}

bool CChildFrame::UpdateCommand(int id, CommandState* state)
{
    const bool open = m_grid->HasOpenTable();
    const bool currentRow = open && m_grid->GetCurrentRow() >= 0;
    // Delete All and Undelete All visit the table's shown records, not the appended rows.
    const bool recordRows = open && m_grid->GetRowCount() > m_grid->PendingChanges().AppendCount();
    switch (id) {
    case ID_FILE_CLOSE:
        state->enabled = true;
        return true;
    case ID_FILE_SAVE:
    case ID_FILE_SAVE_AS:
    case ID_EDIT_FIND:
    case ID_EDIT_REPLACE:
    case ID_VIEW_ADJUST_COLUMNS:
    case ID_VIEW_REFRESH:
    case ID_TABLE_PACK:
    case ID_RECORD_APPEND_EMPTY:
        state->enabled = open;
        return true;
    case ID_RECORD_DELETE:
    case ID_RECORD_UNDELETE:
    case ID_RECORD_TOGGLE_DELETE:
    case ID_RECORD_APPEND_COPY:
        state->enabled = currentRow;
        return true;
    case ID_RECORD_DELETE_ALL:
    case ID_RECORD_UNDELETE_ALL:
        state->enabled = recordRows;
        return true;
    case ID_EDIT_UNDO:
    case ID_EDIT_COPY:
    case ID_EDIT_PASTE:
        state->enabled = EditingCommandEnabled(id);
        return true;
    case ID_VIEW_FORM:
        *state = { open, true, m_grid->GetViewMode() == 1, {} };
        return true;
    case ID_TABLE_FILTER:
    case ID_TABLE_COLUMNS:
    case ID_TABLE_PROPERTIES:
    case ID_TABLE_CODEPAGE:
        state->enabled = open;
        return true;
    case ID_EDIT_GOTO:
        // A record can be gone to while the filter shows no rows: the filter gives way.
        state->enabled = open && m_grid->GetTable()->RecordCount() > 0;
        return true;
    case ID_GOTO_TOP:
    case ID_GOTO_BOTTOM:
        state->enabled = open && m_grid->GetRowCount() > 0;
        return true;
    default:
        return false;
    }
}

bool CChildFrame::ExecuteCommand(int id)
{
    switch (id) {
    case ID_RECORD_DELETE:
    case ID_RECORD_UNDELETE:
    case ID_RECORD_TOGGLE_DELETE:
    case ID_RECORD_DELETE_ALL:
    case ID_RECORD_UNDELETE_ALL:
    case ID_RECORD_APPEND_EMPTY:
    case ID_RECORD_APPEND_COPY:
    case ID_TABLE_PACK:
        if (EndCellEdit())
            RunRecordCommand(id);
        UpdateMainCommandUI();
        return true;
    case ID_EDIT_UNDO:
    case ID_EDIT_COPY:
    case ID_EDIT_PASTE:
        RunEditingCommand(id);
        UpdateMainCommandUI();
        return true;
    case ID_EDIT_FIND:
    case ID_EDIT_REPLACE:
        if (EndCellEdit())
            OpenSearch(id == ID_EDIT_REPLACE);
        UpdateMainCommandUI();
        return true;
    case ID_FILE_CLOSE:
        close();
        return true;
    case ID_FILE_SAVE:
        Save();
        return true;
    case ID_FILE_SAVE_AS:
        SaveAs();
        return true;
    case ID_VIEW_FORM:
        m_grid->SetViewMode(m_grid->GetViewMode() == 1 ? 0 : 1);
        return true;
    case ID_VIEW_ADJUST_COLUMNS:
        m_grid->AutofitColumns();
        m_grid->RefreshRows(false);
        return true;
    case ID_VIEW_REFRESH:
        if (EndCellEdit())
            Reload();
        UpdateMainCommandUI();
        return true;
    case ID_TABLE_FILTER:
        if (EndCellEdit())
            RunFilterDialog();
        UpdateMainCommandUI();
        return true;
    case ID_TABLE_COLUMNS:
        if (EndCellEdit())
            RunColumnsDialog();
        UpdateMainCommandUI();
        return true;
    case ID_TABLE_PROPERTIES:
        ShowTableProperties(window());
        return true;
    case ID_TABLE_CODEPAGE:
        if (EndCellEdit())
            RunCodePageDialog();
        return true;
    case ID_EDIT_GOTO:
        if (EndCellEdit())
            RunGoToDialog();
        UpdateMainCommandUI();
        return true;
    case ID_GOTO_TOP:
    case ID_GOTO_BOTTOM:
        if (EndCellEdit())
            (void)m_grid->GoToPosition(id == ID_GOTO_TOP ? tablegrid::CTableGrid::kGoTop
                                                         : tablegrid::CTableGrid::kGoBottom,
                0, -1);
        UpdateMainCommandUI();
        return true;
    default:
        return false;
    }
}

// The rows may have come or gone, and with them the current row the tool bar's record
// buttons depend on.
void CChildFrame::UpdateMainCommandUI()
{
    if (CMainFrame* main = m_app.MainFrame())
        main->UpdateCommandUI();
}

void CChildFrame::OpenSearch(bool replaceMode)
{
    if (!m_grid->HasOpenTable())
        return;
    if (!m_searchDialog)
        m_searchDialog = new CSearchDialog(*m_searchTarget, this);
    std::vector<std::string> titles;
    for (const tablegrid::LayoutColumn& column : m_grid->Columns()) {
        if (column.visible)
            titles.push_back(column.Title());
    }
    m_searchDialog->Prepare(replaceMode, PathToAnsi(m_grid->GetTable()->Name()), titles);
    // The dialog holds the focus; the grid keeps showing the cell each search goes to.
    m_grid->SetCurrentCellFramedWithoutFocus(true);
    m_searchDialog->exec();
    m_grid->SetCurrentCellFramedWithoutFocus(false);
}

void CChildFrame::RunRecordCommand(int id)
{
    switch (id) {
    case ID_RECORD_DELETE:
        (void)m_grid->DeleteRecord();
        break;
    case ID_RECORD_UNDELETE:
        (void)m_grid->UndeleteRecord();
        break;
    case ID_RECORD_TOGGLE_DELETE:
        (void)m_grid->ToggleDelete();
        break;
    case ID_RECORD_DELETE_ALL:
        m_grid->MarkAll(true);
        break;
    case ID_RECORD_UNDELETE_ALL:
        m_grid->MarkAll(false);
        break;
    case ID_RECORD_APPEND_EMPTY:
        (void)m_grid->AppendRecord(false);
        break;
    case ID_RECORD_APPEND_COPY:
        (void)m_grid->AppendRecord(true);
        break;
    case ID_TABLE_PACK:
        Pack();
        break;
    default:
        break;
    }
}

} // namespace shell
