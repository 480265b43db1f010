// The table grid's search and replace: cells matched by the text they show, rows walked
// one table step each.

#include "tablegrid/table_grid.h"

#include "platform/code_page.h"
#include "table/date_format.h"
#include "table/table.h"
#include "tablegrid/operations/field_search.h"
#include "tablegrid/operations/replace_check.h"

#include <optional>

namespace tablegrid {

namespace {

table::DateFormat FormOf(int index)
{
    return table::DateFormatFromNumber(index).value_or(table::kDefaultDateFormat);
}

std::string TrimRight(std::string text)
{
    const auto end = text.find_last_not_of(' ');
    text.erase(end == std::string::npos ? 0 : end + 1);
    return text;
}

} // namespace

// How one grid column is tested, worked out once a search.
struct CTableGrid::SearchColumn
{
    const LayoutColumn* layout = nullptr;
    int field = -1;
    std::optional<FieldSearch> search; // none: a column shown through the schema
    RelatedName related;
};

bool CTableGrid::CellMatches(const SearchColumn& column, const CellMatcher& matcher) const
{
    if (column.field < 0)
        return false;
    if (m_changes.ItemCount() > 0) {
        const int record = static_cast<int>(m_table->CurrentRecord());
        if (const auto edit = m_changes.NewestEditText(record, column.layout->name))
            return matcher.Matches(DisplayOfPendingText(*column.layout, std::string(*edit)));
    }
    if (!column.search)
        return matcher.Matches(CellText(*column.layout, column.field, column.related));
    return column.search->Matches(*m_table, matcher);
}

// The columns of a search and how each is tested; `only` is the one column searched, or
// -1 for all. False when a column named for the search is not there or hidden.
bool CTableGrid::PrepareSearch(const CellMatcher& matcher, const std::string& columnTitle,
    std::vector<SearchColumn>* tests, int* only) const
{
    const int columns = static_cast<int>(m_gridLayout.size());
    const table::DateFormat form = FormOf(GetDateFormatIndex());
    tests->assign(static_cast<std::size_t>(columns), SearchColumn());
    for (int c = 0; c < columns; ++c) {
        SearchColumn& test = (*tests)[static_cast<std::size_t>(c)];
        test.layout = &m_layout[static_cast<std::size_t>(m_gridLayout[static_cast<std::size_t>(c)])];
        test.field = m_gridFields[static_cast<std::size_t>(c)];
        test.related = m_gridRelated[static_cast<std::size_t>(c)];
        if (test.field >= 0 && !test.layout->schemaDescribed)
            test.search.emplace(*m_table, test.field, test.layout->decimals, form, matcher);
    }
    *only = -1;
    if (columnTitle.empty())
        return true;
    const int layoutIndex = FindColumnByTitle(columnTitle);
    if (layoutIndex < 0 || m_table->FieldIndex(m_layout[static_cast<std::size_t>(layoutIndex)].name) < 0)
        return false;
    for (int c = 0; c < columns; ++c) {
        if (m_gridLayout[static_cast<std::size_t>(c)] == layoutIndex)
            *only = c;
    }
    return *only >= 0; // a hidden column is not searched
}

// Walks the rows from `*row` (the table already on it) and, on that first row, the columns
// from `first` to `last`; later rows all columns. On a match gives its row and column.
bool CTableGrid::WalkSearch(const std::vector<SearchColumn>& tests, const CellMatcher& matcher,
    int only, bool backward, int first, int last, int* row, int* column,
    long long* processed)
{
    const int columns = static_cast<int>(tests.size());
    bool placed = true;
    while (placed) {
        ++*processed;
        if (*processed % 100 == 0)
            Notify(3, std::to_string(*processed), {});
        if (only >= 0) {
            if (only >= first && only <= last && CellMatches(tests[static_cast<std::size_t>(only)], matcher)) {
                *column = only;
                return true;
            }
        } else if (backward) {
            for (int c = std::min(last, columns - 1); c >= first; --c) {
                if (CellMatches(tests[static_cast<std::size_t>(c)], matcher)) {
                    *column = c;
                    return true;
                }
            }
        } else {
            for (int c = std::max(first, 0); c <= last; ++c) {
                if (CellMatches(tests[static_cast<std::size_t>(c)], matcher)) {
                    *column = c;
                    return true;
                }
            }
        }
        first = 0;
        last = columns - 1;
        *row += backward ? -1 : 1;
        placed = *row >= 0 && PositionOnRow(*row + 1);
    }
    return false;
}

bool CTableGrid::Find(const std::string& findText, const std::string& columnTitle, int direction,
    SearchFlags flags, bool showNotFound)
{
    if (!HasOpenTable())
        return false;
    const CellMatcher matcher(findText, flags.caseSensitive, flags.wholeWord);
    std::vector<SearchColumn> tests;
    int only = -1;
    if (!PrepareSearch(matcher, columnTitle, &tests, &only))
        return false;
    const int columns = static_cast<int>(tests.size());

    const bool backward = direction == 1;
    int row = std::max(GetCurrentRow(), 0);
    const int c0 = std::max(GetCurrentColumn(), 0);
    bool placed = direction != 2 && GetCurrentRow() >= 0 && PositionOnRow(row + 1);
    if (!placed) {
        row = 0;
        placed = PositionOnRow(1);
    }
    // The first row's columns: after the cursor, before it, or from it.
    int first = 0;
    int last = columns - 1;
    if (direction == 0)
        first = c0 + 1;
    else if (backward)
        last = c0 - 1;
    else
        first = c0;

    Notify(3, "0", {});
    int foundColumn = -1;
    long long processed = 0;
    const bool found = placed
        && WalkSearch(tests, matcher, only, backward, first, last, &row, &foundColumn, &processed);
    Notify(9, {}, {});
    if (found) {
        GoToPosition(kGoRow, row + 1, foundColumn);
        return true;
    }
    if (showNotFound)
        Notify(14, findText, {});
    return false;
}

bool CTableGrid::ReplaceInCurrentCell(const std::string& findText, const std::string& replaceText,
    bool caseSensitive)
{
    const int row = GetCurrentRow();
    const int column = GetCurrentColumn();
    std::string shown;
    if (!HasOpenTable() || row < 0 || column < 0 || !GetCurrentCellText(&shown))
        return false;
    const ReplaceOutcome outcome
        = ReplaceInCell(row, RecordOfRow(row), column, shown, findText, replaceText, caseSensitive);
    if (outcome == ReplaceOutcome::kReplaced) {
        if (CRow* cached = FindCachedRow(row); cached && column < cached->ColumnCount()) {
            cached->texts[static_cast<std::size_t>(column)] = m_lastReplacement;
            cached->textColors[static_cast<std::size_t>(column)] = grid::kRedColor;
        }
        viewport()->update();
        OnPendingChangesChanged();
    }
    return outcome != ReplaceOutcome::kNotReplaced;
}

// The replacement in one cell, shown as `shown`: a pending edit when the column takes it.
CTableGrid::ReplaceOutcome CTableGrid::ReplaceInCell(int row, int record, int column,
    const std::string& shown, const std::string& findText, const std::string& replaceText,
    bool caseSensitive)
{
    const std::optional<std::string> replaced = ReplaceFirst(shown, findText, replaceText, caseSensitive);
    if (!replaced)
        return ReplaceOutcome::kNotReplaced;
    if (*replaced == shown)
        return ReplaceOutcome::kUnchanged;
    const int layoutIndex = LayoutIndexOfGridColumn(m_layout, column);
    const int field = column < static_cast<int>(m_gridFields.size()) ? m_gridFields[static_cast<std::size_t>(column)] : -1;
    if (layoutIndex < 0 || field < 0 || record <= 0)
        return ReplaceOutcome::kNotReplaced;
    const LayoutColumn& layoutColumn = m_layout[static_cast<std::size_t>(layoutIndex)];
    const grid::CCtrlColumn* binding = GetCtrlColumn(column);
    if (layoutColumn.schemaDescribed || !binding || !binding->editor || binding->readOnly)
        return ReplaceOutcome::kNotReplaced;
    const table::DateFormat form = FormOf(GetDateFormatIndex());
    const table::FieldDef& def = m_table->Fields()[static_cast<std::size_t>(field)].def;
    if (!IsValidReplacement(def, form, findText, replaceText, *replaced))
        return ReplaceOutcome::kNotReplaced;

    PendingChange change;
    change.kind = PendingChange::Kind::kEditCell;
    change.row = row;
    change.column = column;
    change.recordNumber = record;
    change.fieldName = layoutColumn.name;
    change.oldText = shown;
    change.newText = def.type == 'D' ? table::DisplayDateToStored(TrimRight(*replaced), form) : *replaced;
    change.codePage = static_cast<int>(m_table->CodePage());
    if (table::IsOemCodePage(m_table->CodePage())) {
        platform::AnsiToOem(change.oldText);
        platform::AnsiToOem(change.newText);
    }
    if (!AddPendingChange(std::move(change), false))
        return ReplaceOutcome::kNotReplaced;
    m_lastReplacement = *replaced;
    return ReplaceOutcome::kReplaced;
}

// The text a search sees in grid column `column` of the record the table is on.
std::string CTableGrid::SearchedText(const SearchColumn& column) const
{
    if (const auto edit = m_changes.NewestEditText(static_cast<int>(m_table->CurrentRecord()), column.layout->name))
        return DisplayOfPendingText(*column.layout, std::string(*edit));
    return CellText(*column.layout, column.field, column.related);
}

// The walk of a Find in the entire scope followed by Find forward after each replacement,
// made once over the rows without moving the cursor until the end: every cell is visited
// once, so a replacement that holds the text looked for ends like any other. Counts as the
// dialog's loop counts: a cell the replacement leaves as it was counts too.
int CTableGrid::ReplaceAll(const std::string& findText, const std::string& replaceText,
    const std::string& columnTitle, SearchFlags flags)
{
    if (!HasOpenTable())
        return 0;
    const CellMatcher matcher(findText, flags.caseSensitive, flags.wholeWord);
    std::vector<SearchColumn> tests;
    int only = -1;
    if (!PrepareSearch(matcher, columnTitle, &tests, &only))
        return 0;
    const int columns = static_cast<int>(tests.size());
    int row = 0;
    int first = std::max(GetCurrentColumn(), 0);
    int replaced = 0;
    int lastRow = -1;
    int lastColumn = -1;
    long long processed = 0;
    Notify(3, "0", {});
    m_changes.BeginGroup();
    bool placed = PositionOnRow(1);
    int column = -1;
    while (placed && WalkSearch(tests, matcher, only, false, first, columns - 1, &row, &column, &processed)) {
        const int record = static_cast<int>(m_table->CurrentRecord());
        const std::string shown = SearchedText(tests[static_cast<std::size_t>(column)]);
        if (ReplaceInCell(row, record, column, shown, findText, replaceText, flags.caseSensitive)
            != ReplaceOutcome::kNotReplaced) {
            ++replaced;
            lastRow = row;
            lastColumn = column;
        }
        // Go on after the cell, in the same row; the table is still on its record.
        first = column + 1;
        if (first >= columns) {
            first = 0;
            ++row;
            placed = PositionOnRow(row + 1);
        }
    }
    m_changes.EndGroup();
    RefreshRows(true); // ends with the idle text
    if (lastRow >= 0)
        GoToPosition(kGoRow, lastRow + 1, lastColumn);
    OnPendingChangesChanged();
    return replaced;
}

} // namespace tablegrid
