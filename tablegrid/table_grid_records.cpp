// The table grid's record commands, saving, packing and editing keys: pending changes made
// and written, hosted for RecordCommands and ChangeSaver.

#include "tablegrid/table_grid.h"

#include "platform/prompt.h"
#include "platform/qt/ansi_string.h"
#include "platform/utf8.h"
#include "table/table.h"
#include "tablegrid/operations/change_saver.h"

#include <QClipboard>
#include <QGuiApplication>

namespace tablegrid {

bool CTableGrid::AddPendingChange(PendingChange change, bool checkLimit)
{
    if (checkLimit && m_changes.Size() >= PendingChangeList::kLimit) {
        m_editsLocked = true;
        const int answer = Notify(13, {}, {});
        m_editsLocked = false;
        if (answer != platform::IDOK)
            return false;
        if (!SaveChanges(true, nullptr))
            return false;
    }
    m_changes.Append(std::move(change));
    return true;
}

int CTableGrid::RowOfRecordNumber(int recordNumber) const
{
    if (!HasOpenTable() || recordNumber <= 0)
        return -1;
    const auto count = static_cast<long long>(m_table->RecordCount());
    if (recordNumber > count) {
        // An appended record: the row its append made.
        for (int row = GetRowCount() - m_changes.AppendCount(); row < GetRowCount(); ++row) {
            if (const auto append = m_changes.FindAppend(row);
                append && append->recordNumber == recordNumber)
                return row;
        }
        return -1;
    }
    return m_allRowsShown ? recordNumber - 1 : -1;
}

bool CTableGrid::SaveChanges(bool byRecordNumber, table::CTable* target)
{
    Notify(6, {}, {});
    if (!target)
        target = m_table;
    if (!target || !target->IsOpen())
        return false;
    // By row, a change goes where its record is shown now. Through a filter the rows of the
    // records are not known here, and each change goes by the row it was made on.
    ChangeSaver::RowOfRecord rowOf;
    if (!byRecordNumber && m_allRowsShown)
        rowOf = [this](int record) { return RowOfRecordNumber(record); };
    const ChangeSaver::Result result = ChangeSaver::Save(m_changes, *target, byRecordNumber, rowOf);
    ResetRowCount();
    RefreshRows(true);
    Notify(9, {}, {});
    OnPendingChangesChanged();
    return result.allWritten;
}

bool CTableGrid::ConfirmMarkAll(bool, bool)
{
    return true;
}

void CTableGrid::MarkAll(bool deleteAll)
{
    if (HasOpenTable() && ConfirmMarkAll(deleteAll, !m_allRowsShown))
        MarkAllConfirmed(deleteAll);
}

void CTableGrid::MarkAllConfirmed(bool deleteAll)
{
    if (!HasOpenTable())
        return;
    RecordCommands(*this, m_changes).MarkAll(deleteAll);
    RefreshRows(true);
    Notify(9, {}, {});
    OnPendingChangesChanged();
}

bool CTableGrid::DeleteRecord()
{
    return MarkCurrentRecord(true);
}

bool CTableGrid::UndeleteRecord()
{
    return MarkCurrentRecord(false);
}

bool CTableGrid::MarkCurrentRecord(bool deleted)
{
    if (!HasOpenTable() || GetCurrentRow() < 0)
        return false;
    RecordCommands commands(*this, m_changes);
    const bool done = deleted ? commands.DeleteRecord(GetCurrentRow())
                              : commands.UndeleteRecord(GetCurrentRow());
    RefreshRows(true);
    OnPendingChangesChanged();
    return done;
}

bool CTableGrid::ToggleDelete()
{
    if (!HasOpenTable() || GetCurrentRow() < 0)
        return false;
    if (RecordCommands(*this, m_changes).ShowsDeleted(GetCurrentRow()))
        return UndeleteRecord();
    return DeleteRecord();
}

bool CTableGrid::AppendRecord(bool copyCurrent)
{
    if (!HasOpenTable() || (copyCurrent && GetCurrentRow() < 0))
        return false;
    const int column = std::max(GetCurrentColumn(), 0);
    const int row = RecordCommands(*this, m_changes).AppendRecord(copyCurrent, GetCurrentRow());
    ResetRowCount();
    RefreshRows(true);
    OnPendingChangesChanged();
    if (row < 0 || row >= GetRowCount())
        return false;
    EnsureRowsCached(row, row);
    SetCurrentCell(row, std::min(column, std::max(GetColumnCount() - 1, 0)));
    return true;
}

bool CTableGrid::PackTable()
{
    if (!HasOpenTable() || !m_table->Pack())
        return false;
    // What is still pending names records by numbers the pack has moved: applied later it
    // would change other records.
    m_changes.Clear();
    ResetRowCount();
    RefreshRows(true);
    OnPendingChangesChanged();
    return true;
}

bool CTableGrid::ConfirmPendingChanges()
{
    if (HasPendingChanges()) {
        const std::string name
            = HasOpenTable() ? platform::Utf8ToAnsi(m_table->Name()) : std::string();
        const int answer = Notify(12, name, {});
        if (answer == platform::IDYES) {
            if (!SaveChanges(true, nullptr))
                return false;
        } else if (answer != platform::IDNO) {
            return false;
        }
    }
    // The window goes on to close or export: its bookmarks are kept for the next time.
    (void)SaveBookmarks();
    return true;
}

void CTableGrid::Reload()
{
    ResetRowCount();
    RefreshRows(true);
}

void CTableGrid::OnPendingChangesChanged() { }

bool CTableGrid::UndoChange()
{
    if (IsEditing() || !m_changes.Undo())
        return false;
    ResetRowCount();
    RefreshRows(true);
    OnPendingChangesChanged();
    return true;
}

bool CTableGrid::CopyCurrentCell()
{
    std::string text;
    if (!GetCurrentCellText(&text))
        return false;
    QGuiApplication::clipboard()->setText(platform::qt::FromAnsi(text));
    return true;
}

bool CTableGrid::PasteIntoCurrentCell()
{
    const int row = GetCurrentRow();
    const int column = GetCurrentColumn();
    const grid::CCtrlColumn* binding = GetCtrlColumn(column);
    if (IsEditing() || row < 0 || !binding || !binding->editor || binding->readOnly)
        return false;
    QString pasted = QGuiApplication::clipboard()->text();
    pasted = pasted.left(pasted.indexOf(QLatin1Char('\n')));
    if (pasted.endsWith(QLatin1Char('\r')))
        pasted.chop(1);
    const std::string text = platform::qt::ToAnsi(pasted);
    EnsureRowsCached(row, row);
    if (!ValidateCell(row, column, text))
        return false;
    if (CRow* cached = FindCachedRow(row); cached && column < cached->ColumnCount())
        cached->texts[static_cast<std::size_t>(column)] = text;
    Refresh(false);
    OnPendingChangesChanged();
    return true;
}

} // namespace tablegrid
