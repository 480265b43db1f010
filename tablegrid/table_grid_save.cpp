// CTableGrid: Save As, as a new table or as delimited text.

#include "tablegrid/table_grid.h"

#include "table/table.h"
#include "table/table_database.h"
#include "tablegrid/operations/change_saver.h"
#include "tablegrid/operations/table_saver.h"
#include "tablegrid/operations/text_export.h"

#include <algorithm>
#include <utility>

namespace tablegrid {

namespace {

// The fields of the layout's columns in their order: every column, or the visible ones.
std::vector<int> FieldsOfColumns(const table::CTable& table, const ColumnLayout& layout, bool all)
{
    std::vector<int> fields;
    for (const LayoutColumn& column : layout) {
        if (!all && !column.visible)
            continue;
        if (const int field = table.FieldIndex(column.name); field >= 0)
            fields.push_back(field);
    }
    return fields;
}

} // namespace

bool CTableGrid::AskSaveOptions(bool*, bool*)
{
    return true;
}

bool CTableGrid::SaveAsTable(const std::string& path)
{
    m_saveAsCancelled = false;
    if (!HasOpenTable() || TableSaver::WouldOverwriteSource(*m_table, path))
        return false;
    const bool hiddenColumns = std::any_of(m_layout.begin(), m_layout.end(),
        [](const LayoutColumn& column) { return !column.visible; });
    bool allColumns = !hiddenColumns;
    bool allRecords = m_allRowsShown;
    if ((hiddenColumns || !m_allRowsShown) && !AskSaveOptions(&allColumns, &allRecords)) {
        m_saveAsCancelled = true;
        return false;
    }

    platform::FileSystem& fs = m_table->Database()->FileSystem();
    TableSaver saver(fs);
    // Records with edits pending, by their record in the copy: where the edits go when the
    // copy holds only the shown rows. Marks are set as the records are written.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> copyRecords;
    TableSaver::Result result;
    if (allColumns && allRecords) {
        result = saver.Copy(*m_table, path);
    } else {
        TableSaver::RecordHook hook;
        if (!allRecords && !m_changes.Empty()) {
            hook = [this, &copyRecords](std::uint32_t source, std::uint32_t copy, std::uint8_t* record) {
                const int number = static_cast<int>(source);
                switch (m_changes.MarkOf(number)) {
                case PendingMark::kDeletePending:
                    record[0] = '*';
                    break;
                case PendingMark::kUndeletePending:
                    record[0] = ' ';
                    break;
                case PendingMark::kNone:
                    break;
                }
                if (m_changes.HasItemsOf(number))
                    copyRecords.emplace_back(source, copy);
            };
        }
        result = saver.Subset(*m_table, FieldsOfColumns(*m_table, m_layout, allColumns), allRecords,
            path, hook);
    }
    m_lastRow = 0; // the walk moved the table
    if (result != TableSaver::Result::kSaved)
        return false;

    bool ok = true;
    if (!m_changes.Empty()) {
        table::CTable copy(m_table->Database());
        ok = copy.Open(saver.WrittenPath(), false);
        if (ok) {
            copy.CopySettingsFrom(*m_table);
            ChangeSaver::RowOfRecord rowOf;
            if (!allRecords) {
                std::sort(copyRecords.begin(), copyRecords.end());
                rowOf = [this, &copyRecords](int record) {
                    const auto at = std::lower_bound(copyRecords.begin(), copyRecords.end(),
                        std::pair<std::uint32_t, std::uint32_t>(static_cast<std::uint32_t>(record), 0));
                    if (at != copyRecords.end() && at->first == static_cast<std::uint32_t>(record))
                        return static_cast<int>(at->second) - 1;
                    // An appended record, or one no longer shown.
                    return static_cast<long long>(record) > m_table->RecordCount()
                        ? RowOfRecordNumber(record)
                        : -1;
                };
            }
            Notify(6, {}, {});
            ok = ChangeSaver::Copy(m_changes, copy, allRecords, rowOf).allWritten;
            copy.Close();
        }
    }
    // The pending changes are the copy's now, and leave this window only once it is in place.
    if (!ok || !saver.Commit())
        return false;
    if (!m_changes.Empty()) {
        m_changes.Clear();
        ResetRowCount();
        RefreshRows(true);
        Notify(9, {}, {});
        OnPendingChangesChanged();
    }
    return true;
}

bool CTableGrid::SaveAsText(const std::string& path, const TextExportFormat& format)
{
    if (!HasOpenTable() || TableSaver::WouldOverwriteSource(*m_table, path)
        || !ConfirmPendingChanges())
        return false;
    TextExport::Options options;
    options.format = format;
    options.dateFormat
        = table::DateFormatFromNumber(GetDateFormatIndex()).value_or(table::kDefaultDateFormat);
    const TextExport::Result result = TextExport::Write(*m_table,
        FieldsOfColumns(*m_table, m_layout, false), options, path, m_table->Database()->FileSystem(),
        [this](std::uint64_t lines) { Notify(7, std::to_string(lines), {}); });
    m_lastRow = 0;
    return result == TextExport::Result::kWritten;
}

} // namespace tablegrid
