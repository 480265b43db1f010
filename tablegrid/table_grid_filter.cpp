// The table grid's filter, its rows and the moves of the cursor: the filter handed to the
// table and counted, the row map, and going to a row or a record.

#include "tablegrid/table_grid.h"

#include "platform/prompt.h"
#include "table/table.h"

#include <algorithm>
#include <string>

namespace tablegrid {

namespace {

// Every row while counting below 20, every tenth below 200, every hundredth after.
bool ReportsCount(std::uint32_t count)
{
    if (count < 20)
        return true;
    if (count < 200)
        return count % 10 == 0;
    return count % 100 == 0;
}

} // namespace

void CTableGrid::ResetFilter()
{
    m_root.Clear();
    m_deletionMode = 0;
    m_emptinessMode = 0;
    m_allRowsShown = true;
    m_rowMap.Clear();
    m_shownRecords = 0;
    m_lastRow = 0;
    m_lastRecord = 0;
}

void CTableGrid::ResetRowCount()
{
    if (!HasOpenTable()) {
        SetRowCount(0);
        return;
    }
    const std::uint32_t records = m_allRowsShown ? m_table->RecordCount() : m_shownRecords;
    const long long rows = static_cast<long long>(records) + m_changes.AppendCount();
    SetRowCount(static_cast<int>(std::min<long long>(rows, INT32_MAX)));
}

void CTableGrid::SetFilterModes(int deletionMode, int emptinessMode)
{
    m_deletionMode = std::clamp(deletionMode, 0, 2);
    m_emptinessMode = std::clamp(emptinessMode, 0, 2);
}

bool CTableGrid::IsFiltered() const
{
    if (m_deletionMode != 0 || m_emptinessMode != 0)
        return true;
    return HasOpenTable() && !m_table->GetFilterExpression(true).empty();
}

std::vector<FilterColumn> CTableGrid::FilterColumns() const
{
    std::vector<FilterColumn> columns;
    columns.reserve(m_layout.size());
    for (const LayoutColumn& column : m_layout)
        columns.push_back({ column.Title(), column.name, column.type, column.width });
    return columns;
}

int CTableGrid::FindColumnByTitle(const std::string& title) const
{
    for (std::size_t i = 0; i < m_layout.size(); ++i) {
        if (m_layout[i].Title() == title)
            return static_cast<int>(i);
    }
    return -1;
}

int CTableGrid::FindColumnByName(const std::string& name) const
{
    for (std::size_t i = 0; i < m_layout.size(); ++i) {
        if (m_layout[i].name == name)
            return static_cast<int>(i);
    }
    return -1;
}

void CTableGrid::ApplyFilter()
{
    if (!HasOpenTable())
        return;
    using Deleted = table::CTable::DeletedFilter;
    using Blank = table::CTable::BlankFilter;
    const std::string expression = BuildFilterExpression(m_root, FilterColumns());
    const std::string before = m_table->GetFilterExpression(true);
    const Deleted deletedBefore = m_table->GetDeletedFilter();
    const Blank blankBefore = m_table->GetBlankFilter();
    const bool optionsChanged = static_cast<int>(deletedBefore) != m_deletionMode
        || static_cast<int>(blankBefore) != m_emptinessMode;
    const bool expressionChanged = expression != before;
    m_table->SetDeletedFilter(static_cast<Deleted>(m_deletionMode));
    m_table->SetBlankFilter(static_cast<Blank>(m_emptinessMode));
    if (expressionChanged && !m_table->SetFilterExpression(expression, true)) {
        // The table goes on showing what it showed: its filter as it was.
        (void)m_table->SetFilterExpression(before, true);
        m_table->SetDeletedFilter(deletedBefore);
        m_table->SetBlankFilter(blankBefore);
        m_deletionMode = static_cast<int>(deletedBefore);
        m_emptinessMode = static_cast<int>(blankBefore);
        Notify(0, {}, {});
        RefreshRows(true);
        return;
    }
    if (optionsChanged || expressionChanged)
        Requery();
    RefreshRows(true);
}

int CTableGrid::Requery()
{
    m_lastRow = 0;
    m_lastRecord = 0;
    if (!HasOpenTable()) {
        m_rowMap.Clear();
        ResetRowCount();
        return 0;
    }
    const std::uint32_t total = m_table->RecordCount();
    std::uint32_t count = total;
    if (m_deletionMode == 0 && m_emptinessMode == 0 && m_table->GetFilterExpression(false).empty()) {
        m_allRowsShown = true;
        m_rowMap.Clear();
    } else {
        const std::string totalText = std::to_string(total);
        Notify(2, "0", totalText);
        m_rowMap.Reset(total);
        count = 0;
        // The passing records in the order GoTop and GoNext take them, tested where they
        // are read: a row is a record number, so none needs to be made current.
        auto row = [&](std::uint32_t record, const std::uint8_t*) {
            ++count;
            m_rowMap.Record(count, record);
            if (ReportsCount(count))
                Notify(2, std::to_string(count), totalText);
            return count < INT32_MAX;
        };
        (void)m_table->ScanRecords(false, row);
        m_allRowsShown = count == total;
        if (m_allRowsShown)
            m_rowMap.Clear();
    }
    m_shownRecords = count;
    // Appended rows follow the rows of the records.
    m_changes.RenumberAppends(static_cast<int>(std::min<std::uint32_t>(count, INT32_MAX)));
    ResetRowCount();
    return static_cast<int>(std::min<std::uint32_t>(count, INT32_MAX));
}

// Steps through the passing records from where the table is; false when a step fails.
bool CTableGrid::StepRows(std::int64_t steps)
{
    // Related tables follow the record shown (schema columns): the last step refreshes
    // them, the ones on the way need not look the related records up.
    for (; steps > 0; --steps) {
        if (!m_table->GoNext(steps == 1))
            return false;
    }
    for (; steps < 0; ++steps) {
        if (!m_table->GoPrev(steps == -1))
            return false;
    }
    return true;
}

bool CTableGrid::PositionOnRow(int row)
{
    if (!HasOpenTable() || row <= 0 || row > GetRowCount())
        return false;
    bool placed = false;
    if (m_allRowsShown) {
        placed = m_table->GoTo(static_cast<std::uint32_t>(row));
    } else if (m_lastRow > 0 && std::abs(row - m_lastRow) <= 1
        && m_table->CurrentRecord() == m_lastRecord) {
        // The next (or previous) row of a walk: one step from the last one.
        placed = StepRows(row - m_lastRow);
    } else if (const auto place = m_rowMap.FindRow(static_cast<std::uint32_t>(row))) {
        placed = place->record != 0 && m_table->GoTo(place->record) && StepRows(place->offset);
    } else {
        placed = m_table->GoTop() && StepRows(row - 1);
    }
    m_lastRow = placed ? row : 0;
    m_lastRecord = placed ? m_table->CurrentRecord() : 0;
    return placed;
}

// Counts the rows up to `record` from the nearest known row; 0 when it is not shown.
int CTableGrid::FindRowOfRecord(std::uint32_t record)
{
    if (m_allRowsShown)
        return record <= m_table->RecordCount() ? static_cast<int>(record) : 0;
    auto walk = [&](std::int64_t row, bool forward) -> int {
        while (m_table->CurrentRecord() != record) {
            if (forward ? !m_table->GoNext(false) : !m_table->GoPrev(false))
                return 0;
            row += forward ? 1 : -1;
            if (forward ? m_table->CurrentRecord() > record : m_table->CurrentRecord() < record)
                return 0;
        }
        return static_cast<int>(row);
    };
    if (const auto known = m_rowMap.NearestCheckpoint(record);
        known && m_table->GoTo(known->record, false)) {
        if (const int row = walk(known->row, known->record < record))
            return row;
    }
    return m_table->GoTop() ? walk(1, true) : 0;
}

int CTableGrid::GoToPosition(int kind, long long number, int column)
{
    if (!HasOpenTable())
        return -1;
    long long row = 0;
    switch (kind) {
    case kGoTop:
        row = 1;
        break;
    case kGoBottom:
        row = GetRowCount();
        break;
    case kGoRow:
        row = number;
        break;
    case kGoRecord: {
        if (number <= 0 || number > m_table->RecordCount()
            || !m_table->GoTo(static_cast<std::uint32_t>(number), false)) {
            Notify(10, {}, {});
            return -1;
        }
        const auto record = static_cast<std::uint32_t>(number);
        bool relaxed = false;
        if (!m_table->PassesFilters()) {
            if (Notify(11, {}, {}) != platform::IDOK)
                return -1;
            // Give up as little of the filter as lets the record through.
            const bool deleted = m_table->IsDeleted();
            const bool blank = m_table->IsBlank();
            if ((deleted && m_deletionMode == 1) || (!deleted && m_deletionMode == 2))
                m_deletionMode = 0;
            if ((blank && m_emptinessMode == 1) || (!blank && m_emptinessMode == 2))
                m_emptinessMode = 0;
            m_table->SetDeletedFilter(static_cast<table::CTable::DeletedFilter>(m_deletionMode));
            m_table->SetBlankFilter(static_cast<table::CTable::BlankFilter>(m_emptinessMode));
            if (!m_table->GoTo(record, false) || !m_table->PassesFilters()) {
                m_root.Clear();
                (void)m_table->SetFilterExpression({}, false);
            }
            Requery();
            relaxed = true;
            if (!m_table->GoTo(record, false) || !m_table->PassesFilters())
                return -1;
        }
        row = FindRowOfRecord(record);
        m_lastRow = 0;
        if (row == 0)
            return -1;
        if (relaxed)
            RefreshRows(true);
        break;
    }
    default:
        return -1;
    }
    if (GetRowCount() <= 0)
        return -1;
    const int target = static_cast<int>(std::clamp<long long>(row, 1, GetRowCount())) - 1;
    const int targetColumn = column >= 0 && column < GetColumnCount()
        ? column
        : std::max(GetCurrentColumn(), 0);
    SetCurrentCell(target, std::min(targetColumn, std::max(GetColumnCount() - 1, 0)));
    return target;
}

} // namespace tablegrid
