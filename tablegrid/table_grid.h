#pragma once

#include "grid/format_grid.h"
#include "tablegrid/operations/bookmarks.h"
#include "tablegrid/operations/cell_match.h"
#include "tablegrid/operations/column_layout.h"
#include "tablegrid/operations/filter_node.h"
#include "tablegrid/operations/pending_change.h"
#include "tablegrid/operations/record_commands.h"
#include "tablegrid/operations/row_map.h"
#include "tablegrid/operations/schema_columns.h"
#include "tablegrid/operations/text_export_format.h"

#include <QFont>

#include <memory>
#include <string>
#include <vector>

namespace table {
class CTable;
class TableDatabase;
} // namespace table

namespace tablegrid {

// Who opened a table shown by a grid. A grid whose owner reports mode 1 owns its table and
// deletes it; with any other mode the table is handed back to the owner by its path.
class TableOwner
{
public:
    virtual ~TableOwner() = default;
    virtual int OwnerMode() const = 0;
    virtual void ReturnTable(const std::string& path, table::CTable* table) = 0;
};

// The record number a grid row was filled from, kept with the cached row.
class RecordRowData : public grid::GridRowData
{
public:
    explicit RecordRowData(int record)
        : recordNumber(record)
    {
    }
    int recordNumber;
};

// The typed grid bound to one open table: the table's visible columns become grid columns,
// rows are filled on demand from the records, and accepted cell edits become pending
// changes, shown in red until saved. The grid never writes to the table by itself; the
// table operations save the pending changes.
//
// Texts are code page 1251 bytes (what the user sees); a table in code page 866 is converted
// at this boundary. Two presentations are registered: tabular (0) and form (1).
//
// The table operations speak to the user only through Notify; this class answers 1 and
// shows nothing (CTableWndGrid shows texts and boxes). The record commands (marks, appends)
// are done by RecordCommands, saving by ChangeSaver; this class hosts them.
class CTableGrid : public grid::CFormatGrid, public RecordCommandHost
{
    Q_OBJECT

public:
    explicit CTableGrid(QWidget* parent = nullptr);
    ~CTableGrid() override;

    // Registers the tabular and the form view and creates the grid in `viewMode`.
    // `imageList` (deleted record, deletion pending) is not owned.
    bool Create(const std::string& windowName, const grid::GridImageList* imageList, int viewMode);
    void SetTable(TableOwner* owner) { m_owner = owner; }
    // Opens the grid's own table from `path` through `database` (may be null: the open then
    // fails); a failure is reported with Notify code 1 and the path.
    bool OpenTable(const std::string& path, table::TableDatabase* database);
    // Opens the table again from its file (another window or program changed it), keeping
    // what this window made of it: the filter, the column layout while the fields are the
    // same, and bookmarks changed here and not yet saved. False as OpenTable.
    bool ReopenTable(table::TableDatabase* database);
    // Shows a table opened by `owner` (not owned unless the owner's mode is 1).
    void AttachTable(const std::string& path, table::CTable* table, TableOwner* owner);
    table::CTable* GetTable() const { return m_table; }
    const std::string& TablePath() const { return m_tablePath; }
    bool HasOpenTable() const;

    void SetViewMode(int mode);
    int GetViewMode() const { return m_viewMode; }
    void AutofitColumns();

    // The table operations' virtual operations, in their fixed order.
    // Whether the directory's schema has an entry for the table (remembered in
    // HasTableSchema); the layout then takes the entry's titles and related names.
    virtual bool FindTableSchema();
    virtual void BuildColumns();
    virtual void RefreshRows(bool flush);
    virtual void SetDateFormat(int index);
    int Notify(int code, const std::string& text1, const std::string& text2) override;
    virtual std::string GetAbsentText() const;
    virtual void ReloadAbsentText();
    virtual bool SaveChanges(bool byRecordNumber, table::CTable* target);
    // Marks (or unmarks) every shown row after ConfirmMarkAll agrees; one undo step.
    virtual void MarkAll(bool deleteAll);
    virtual bool ConfirmMarkAll(bool deleteAll, bool filtered);
    // Packs the table. Changes still pending are dropped after a pack: the records they
    // name have moved.
    virtual bool PackTable();
    // The record commands on the current row; false without a table or a current row.
    virtual bool ToggleDelete();
    virtual bool UndeleteRecord();
    virtual bool DeleteRecord();
    // Before the window closes or the rows are written elsewhere: false means stop. Asked
    // only with changes pending (Notify 12 with the table's name): Yes saves (and a save
    // that fails stops), No goes on without them, anything else stops.
    virtual bool ConfirmPendingChanges();
    // The rows read again, pending changes kept over them.
    virtual void Reload();
    // After every change to the list of pending changes (the window's title follows it).
    virtual void OnPendingChangesChanged();
    // Counts the records passing the table's filters and maps the rows to them (Notify 2
    // with the progress); gives the number of records shown.
    virtual int Requery();

    // Save As. SaveAsTable writes the table, or the shown records and/or the visible
    // columns (AskSaveOptions decides when not everything is shown), as a new DBF table at
    // `path` (a file system path), the pending changes carried into the copy; the source is never
    // written. AskSaveOptions: false cancels; the base keeps what it is given.
    // SaveAsText writes the shown records' visible columns as delimited text, after
    // ConfirmPendingChanges; progress by Notify 7.
    virtual bool SaveAsTable(const std::string& path);
    virtual bool AskSaveOptions(bool* allColumns, bool* allRecords);
    bool SaveAsText(const std::string& path, const TextExportFormat& format);
    // Whether the last SaveAsTable ended because AskSaveOptions was declined.
    bool SaveAsCancelled() const { return m_saveAsCancelled; }

protected:
    // Marks or unmarks every shown row, the question already answered.
    void MarkAllConfirmed(bool deleteAll);

public:
    // The grid's operations.
    void OnGridCreated() override;
    void FillRow(int row, CRow* rowObject) override;
    bool ValidateCell(int row, int column, const std::string& text) override;

    // Moves the table to the record shown at `row` (1-based).
    bool PositionOnRow(int row) override;
    // Adds a change; with `checkLimit`, the 300th pending change first asks to save.
    bool AddPendingChange(PendingChange change, bool checkLimit) override;
    table::CTable* CommandTable() override { return HasOpenTable() ? m_table : nullptr; }
    int CommandRowCount() const override { return GetRowCount(); }
    // Appends an empty record, or a copy of the current row but its memo fields, after the
    // last row and moves the cursor to it (keeping the column). False when refused.
    bool AppendRecord(bool copyCurrent);

    // The editing keys: take back the newest pending change (a whole Delete All or Append
    // Copy at once); copy the current cell's text; put the clipboard's first line into the
    // current cell as if typed and confirmed. False when there was nothing to do.
    bool UndoChange();
    bool CopyCurrentCell();
    bool PasteIntoCurrentCell();
    // The row (0-based) record `recordNumber` is shown at, appended records included; -1
    // when it is not shown.
    int RowOfRecordNumber(int recordNumber) const;

    // The filter: its conditions and the deletion and emptiness options (0 all records, 1
    // exclude the marked / empty ones, 2 only those), as the Filter dialog and the
    // classifier commands set them; ApplyFilter hands them to the table, counts again when
    // anything changed and refreshes the rows. An expression the table refuses (Notify 0)
    // leaves the table filtered as it was.
    FilterNode& FilterRoot() { return m_root; }
    const FilterNode& FilterRoot() const { return m_root; }
    int DeletionMode() const { return m_deletionMode; }
    int EmptinessMode() const { return m_emptinessMode; }
    void SetFilterModes(int deletionMode, int emptinessMode);
    void ApplyFilter();
    bool IsFiltered() const;
    // The columns a condition can name: every column, hidden ones included.
    std::vector<FilterColumn> FilterColumns() const;
    // The column (in the layout, hidden ones included) of that title; -1 when none.
    int FindColumnByTitle(const std::string& title) const;
    // The same by field name.
    int FindColumnByName(const std::string& name) const;
    const RowMap& Rows() const { return m_rowMap; }

    // Moves the cursor: kind 0 to the first row, 1 to the last, 2 to row `number`, 3 to
    // record `number` (asking to relax the filter when it hides the record). `column` is a
    // grid column, -1 keeping the current one. Gives the row moved to (0-based), or -1.
    enum { kGoTop = 0, kGoBottom = 1, kGoRow = 2, kGoRecord = 3 };
    int GoToPosition(int kind, long long number, int column);

    // Bookmarks of the table, kept in the bookmark file of its directory. GoToBookmark
    // gives 0 when it went there, 1 for no such bookmark, 2 for a record the table does not
    // have, 3 for a field no column shows.
    void SetBookmark(const std::string& name, int recordNumber, const std::string& fieldName);
    bool DeleteBookmark(const std::string& name);
    int GoToBookmark(const std::string& name);
    const BookmarkMap& Bookmarks() const { return m_bookmarks; }
    void LoadBookmarks();
    // Writes the table's bookmarks when they changed in this window; true when nothing
    // needed writing or the write worked.
    bool SaveBookmarks();
    std::string GetBookmarkFileName() const;

    // Search: the first cell after the cursor, in the rows shown, whose shown text holds
    // `findText` (cp1251; pending edits count as shown), in one column (`columnTitle`) or
    // all the visible ones. Direction 0 forward, 1 backward, 2 the entire scope from the
    // first row. Progress by Notify 3; a text not found says so (Notify 14) when
    // `showNotFound`. The cursor goes to the cell found.
    struct SearchFlags
    {
        bool caseSensitive = false;
        bool wholeWord = false;
    };
    virtual bool Find(const std::string& findText, const std::string& columnTitle, int direction,
        SearchFlags flags, bool showNotFound);
    // Replaces the first occurrence of `findText` in the current cell's shown text by
    // `replaceText`, as a pending edit (not held by the change limit) when the column takes
    // the result; false when the text does not occur or the result is refused.
    bool ReplaceInCurrentCell(const std::string& findText, const std::string& replaceText,
        bool caseSensitive);
    // Replace All: from the first row at the cursor's column to the last row, every cell
    // that matches gets its first occurrence replaced once (a replacement holding the text
    // looked for is not replaced again), cells whose column refuses the result left as they
    // are. One undo step; gives the number of replacements. The cursor ends on the last
    // cell replaced.
    virtual int ReplaceAll(const std::string& findText, const std::string& replaceText,
        const std::string& columnTitle, SearchFlags flags);
    const PendingChangeList& PendingChanges() const { return m_changes; }
    bool HasPendingChanges() const { return !m_changes.Empty(); }

    bool HasTableSchema() const { return m_hasSchema; }
    ColumnLayout& Columns() { return m_layout; }
    const ColumnLayout& Columns() const { return m_layout; }
    bool AllRowsShown() const { return m_allRowsShown; }
    bool EditsLocked() const { return m_editsLocked; }
    // The record number a cached row was filled from; 0 when the row is not cached.
    int RecordOfRow(int row) const;
    // Row count: the shown records and the appended ones.
    void ResetRowCount();
    const QFont& CourierFont() const { return m_courier; }

private:
    void ResetFilter();
    bool MarkCurrentRecord(bool deleted);
    bool StepRows(std::int64_t steps);
    int FindRowOfRecord(std::uint32_t record);
    // The layout of a freshly opened table, with what the directory's schema makes of it.
    ColumnLayout LayoutOfOpenTable();
    std::string CellText(const LayoutColumn& column, int fieldIndex, const RelatedName& related) const;
    std::string BlankCellText(const LayoutColumn& column, int fieldIndex) const;
    std::string DisplayOfPendingText(const LayoutColumn& column, const std::string& stored) const;
    // Whether grid column `c` of the record the table is on matches; see Find.
    struct SearchColumn;
    bool CellMatches(const SearchColumn& column, const CellMatcher& matcher) const;
    bool PrepareSearch(const CellMatcher& matcher, const std::string& columnTitle,
        std::vector<SearchColumn>* tests, int* only) const;
    bool WalkSearch(const std::vector<SearchColumn>& tests, const CellMatcher& matcher, int only,
        bool backward, int first, int last, int* row, int* column, long long* processed);
    std::string SearchedText(const SearchColumn& column) const;
    enum class ReplaceOutcome { kNotReplaced, kUnchanged, kReplaced };
    ReplaceOutcome ReplaceInCell(int row, int record, int column, const std::string& shown,
        const std::string& findText, const std::string& replaceText, bool caseSensitive);
    std::string m_lastReplacement;
    void ReleaseTable();

    TableOwner* m_owner = nullptr;
    std::string m_tablePath;
    table::CTable* m_table = nullptr;
    std::unique_ptr<table::CTable> m_ownedTable;
    ColumnLayout m_layout;
    // Per grid column, as built: its layout column and its field in the table.
    std::vector<int> m_gridLayout;
    std::vector<int> m_gridFields;
    std::vector<RelatedName> m_gridRelated; // what a schema-described column shows
    bool m_hasSchema = false;
    bool m_allRowsShown = true;
    FilterNode m_root;
    int m_deletionMode = 0;
    int m_emptinessMode = 0;
    RowMap m_rowMap;
    std::uint32_t m_shownRecords = 0; // rows backed by records while filtered
    // The row the table was last moved to and its record, so a walk over the rows steps
    // once a row rather than from a checkpoint each time.
    int m_lastRow = 0;
    std::uint32_t m_lastRecord = 0;
    BookmarkMap m_bookmarks;
    PendingChangeList m_changes;
    QFont m_courier;
    std::string m_absentText;
    int m_viewMode = 0;
    bool m_editsLocked = false;
    bool m_saveAsCancelled = false;
    std::unique_ptr<grid::CGridImpl> m_tabular;
    std::unique_ptr<grid::CGridImpl> m_form;
};

} // namespace tablegrid
