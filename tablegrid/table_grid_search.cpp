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
        return matcher.Matches(CellText(*column.layout, column.field));
    return column.search->Matches(*m_table, matcher);
}

bool CTableGrid::Find(const std::string& findText, const std::string& columnTitle, int direction,
    SearchFlags flags, bool showNotFound)
{
    if (!HasOpenTable())
        return false;
    const CellMatcher matcher(findText, flags.caseSensitive, flags.wholeWord);
    const int columns = static_cast<int>(m_gridLayout.size());

    // The columns and how each is tested.
    const table::DateFormat form = FormOf(GetDateFormatIndex());
    std::vector<SearchColumn> tests(static_cast<std::size_t>(columns));
    for (int c = 0; c < columns; ++c) {
        SearchColumn& test = tests[static_cast<std::size_t>(c)];
        test.layout = &m_layout[static_cast<std::size_t>(m_gridLayout[static_cast<std::size_t>(c)])];
        test.field = m_gridFields[static_cast<std::size_t>(c)];
        if (test.field >= 0 && !test.layout->schemaDescribed)
            test.search.emplace(*m_table, test.field, test.layout->decimals, form, matcher);
    }

    int only = -1;
    if (!columnTitle.empty()) {
        const int layoutIndex = FindColumnByTitle(columnTitle);
        if (layoutIndex < 0 || m_table->FieldIndex(m_layout[static_cast<std::size_t>(layoutIndex)].name) < 0)
            return false;
        for (int c = 0; c < columns; ++c) {
            if (m_gridLayout[static_cast<std::size_t>(c)] == layoutIndex)
                only = c;
        }
        if (only < 0)
            return false; // a hidden column is not searched
    }

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
    while (placed && foundColumn < 0) {
        ++processed;
        if (processed % 100 == 0)
            Notify(3, std::to_string(processed), {});
        if (only >= 0) {
            if (only >= first && only <= last && CellMatches(tests[static_cast<std::size_t>(only)], matcher))
                foundColumn = only;
        } else if (backward) {
            for (int c = last; c >= first && foundColumn < 0; --c) {
                if (CellMatches(tests[static_cast<std::size_t>(c)], matcher))
                    foundColumn = c;
            }
        } else {
            for (int c = first; c <= last && foundColumn < 0; ++c) {
                if (CellMatches(tests[static_cast<std::size_t>(c)], matcher))
                    foundColumn = c;
            }
        }
        if (foundColumn >= 0)
            break;
        first = 0;
        last = columns - 1;
        row += backward ? -1 : 1;
        placed = row >= 0 && PositionOnRow(row + 1);
    }
    Notify(9, {}, {});
    if (foundColumn >= 0) {
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
    const std::optional<std::string> replaced = ReplaceFirst(shown, findText, replaceText, caseSensitive);
    if (!replaced)
        return false;
    if (*replaced == shown)
        return true;
    const int layoutIndex = LayoutIndexOfGridColumn(m_layout, column);
    const int field = column < static_cast<int>(m_gridFields.size()) ? m_gridFields[static_cast<std::size_t>(column)] : -1;
    if (layoutIndex < 0 || field < 0)
        return false;
    const LayoutColumn& layoutColumn = m_layout[static_cast<std::size_t>(layoutIndex)];
    const grid::CCtrlColumn* binding = GetCtrlColumn(column);
    if (layoutColumn.schemaDescribed || !binding || !binding->editor || binding->readOnly)
        return false;
    const table::DateFormat form = FormOf(GetDateFormatIndex());
    const table::FieldDef& def = m_table->Fields()[static_cast<std::size_t>(field)].def;
    if (!IsValidReplacement(def, form, findText, replaceText, *replaced))
        return false;

    PendingChange change;
    change.kind = PendingChange::Kind::kEditCell;
    change.row = row;
    change.column = column;
    change.recordNumber = RecordOfRow(row);
    change.fieldName = layoutColumn.name;
    change.oldText = shown;
    change.newText = def.type == 'D' ? table::DisplayDateToStored(TrimRight(*replaced), form) : *replaced;
    change.codePage = static_cast<int>(m_table->CodePage());
    if (table::IsOemCodePage(m_table->CodePage())) {
        platform::AnsiToOem(change.oldText);
        platform::AnsiToOem(change.newText);
    }
    if (change.recordNumber == 0 || !AddPendingChange(std::move(change), false))
        return false;
    if (CRow* cached = FindCachedRow(row); cached && column < cached->ColumnCount()) {
        cached->texts[static_cast<std::size_t>(column)] = *replaced;
        cached->textColors[static_cast<std::size_t>(column)] = grid::kRedColor;
    }
    viewport()->update();
    OnPendingChangesChanged();
    return true;
}

// The same walk as a Find in the entire scope followed by Find forward after each
// replacement, made once over the rows: every cell is visited once, so the result is the
// same and a replacement that holds the text looked for ends like any other.
int CTableGrid::ReplaceAll(const std::string& findText, const std::string& replaceText,
    const std::string& columnTitle, SearchFlags flags)
{
    if (!HasOpenTable() || !Find(findText, columnTitle, 2, flags, false))
        return 0;
    int replaced = 0;
    m_changes.BeginGroup();
    for (;;) {
        if (ReplaceInCurrentCell(findText, replaceText, flags.caseSensitive))
            ++replaced;
        if (!Find(findText, columnTitle, 0, flags, false))
            break;
    }
    m_changes.EndGroup();
    OnPendingChangesChanged();
    return replaced;
}

} // namespace tablegrid
