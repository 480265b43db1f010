#pragma once

#include "tablegrid/operations/pending_change.h"

#include <string>

namespace table {
class CTable;
}

namespace tablegrid {

// What the record commands need of whoever shows a table's rows (a table window's grid, the
// command-line tool): the table, the rows, moving the table to a row, adding a change under
// the change limit, and the channel to the user.
class RecordCommandHost
{
public:
    virtual ~RecordCommandHost() = default;
    virtual table::CTable* CommandTable() = 0;
    // Every row: the records shown and the appended ones.
    virtual int CommandRowCount() const = 0;
    // Moves the table to the record shown at `row` (1-based); false past the shown records.
    virtual bool PositionOnRow(int row) = 0;
    virtual bool AddPendingChange(PendingChange change, bool checkLimit) = 0;
    virtual int Notify(int code, const std::string& text1, const std::string& text2) = 0;
};

// The record commands of a table window, GUI-free: marking and unmarking records for
// deletion one by one or all the shown ones, and appending records. They only add pending
// changes (the host saves them); rows are 0-based here.
class RecordCommands
{
public:
    RecordCommands(RecordCommandHost& host, PendingChangeList& changes);

    // A pending mark against the row's record is taken back; otherwise the mark is added
    // under the change limit. False without a table, for a row that is not there, or when
    // the limit's question was answered Cancel.
    bool DeleteRecord(int row);
    bool UndeleteRecord(int row);
    // Delete when the row's record does not show as deleted, else undelete.
    bool ToggleDelete(int row);
    // The deletion state a row shows: a pending mark decides, else the file's mark; an
    // appended row is not deleted.
    bool ShowsDeleted(int row);

    // Marks (deleteAll) or unmarks every shown row: a pending mark against it is taken back,
    // otherwise a record whose mark in the file differs gets a change, without the limit.
    // One undo step. Progress: Notify 4 (5 for unmark) with the row index and the row
    // count, for every row below 50, every tenth below 500 and every hundredth after.
    void MarkAll(bool deleteAll);

    // Adds an appended record after the last row (record count + 1 + the appends already
    // pending), with, for a copy, a cell edit for every field but memo fields holding the
    // row `sourceRow`'s text. One undo step. Returns the new row, or -1 when refused.
    int AppendRecord(bool copy, int sourceRow);

    // Whether the progress of MarkAll reports row `index`.
    static bool ReportsProgress(int index);

private:
    bool Mark(int row, bool deleted);
    int RecordOfRow(int row, bool* appended);

    RecordCommandHost& m_host;
    PendingChangeList& m_changes;
};

} // namespace tablegrid
