#pragma once

#include "tablegrid/operations/pending_change.h"

#include <functional>
#include <utility>
#include <vector>

namespace table {
class CTable;
}

namespace tablegrid {

// Writes a window's pending changes into a table: its own, or a copy made by Save As.
//
// The edits and appends go in the order they were made; then the marks, record by record
// upwards. (A mark and an edit of one record do not depend on each other; an append comes
// before the marks of the row it made.) A logical edit is written "T" for "true", else "F".
// A change whose record cannot be reached, or whose field the target lacks, is dropped; one the file refuses (a write error,
// a full disk) stays pending, so nothing is lost without a word. Save writes nothing into a
// table whose file has been replaced since it was opened (CTable::FileReplaced): every
// change stays pending.
//
// By record number, a change goes to the record it was made on. By row (the copy holds the
// rows a window shows, in order), it goes to the record of the row its record is shown at
// now, which `rowOf` tells (0-based, -1 when not shown); without `rowOf`, the row the change
// was made on.
class ChangeSaver
{
public:
    using RowOfRecord = std::function<int(int recordNumber)>;

    struct Result
    {
        bool allWritten = true; // false: some changes stay pending
        std::size_t written = 0;
    };

    static Result Save(PendingChangeList& changes, table::CTable& target, bool byRecordNumber,
        const RowOfRecord& rowOf = nullptr);
    // Writes the changes as Save does but leaves the list as it is: for a copy that is not
    // yet in place, whose changes must stay pending should putting it in place fail.
    static Result Copy(const PendingChangeList& changes, table::CTable& target,
        bool byRecordNumber, const RowOfRecord& rowOf = nullptr);

private:
    static Result Write(const PendingChangeList& changes, table::CTable& target,
        bool byRecordNumber, const RowOfRecord& rowOf, std::vector<PendingChange>* keptItems,
        std::vector<std::pair<int, PendingMark>>* keptMarks);
};

} // namespace tablegrid
