#pragma once

#include "tablegrid/operations/two_bit_array.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tablegrid {

// One unsaved change of a table window. Texts are in the table's code page (OEM for a DOS
// table), dates as YYYYMMDD, logicals "true"/"false".
struct PendingChange
{
    enum class Kind { kEditCell = 0, kMarkDeleted = 1, kMarkUndeleted = 2, kAppendRecord = 3 };

    Kind kind = Kind::kEditCell;
    int row = 0;          // grid row (0-based) when made; for an append, the new row
    int column = -1;      // grid column of a cell edit; -1 for marks; 0 for appended-copy cells
    int recordNumber = 0; // record changed; for an append, the number the record will get
    std::string fieldName;
    std::string oldText;
    std::string newText;
    int codePage = 0;
};

// The deletion state a row shows while its record has a pending mark.
enum class PendingMark { kNone = 0, kDeletePending = 1, kUndeletePending = 2 };

// The unsaved changes of one table window.
//
// Cell edits and appended records are kept as PendingChange records, oldest first (the
// items). Deletion marks are kept per record in two bits, so that marking every record of a
// table of ten million records costs 2.5 megabytes rather than a record per change; a record
// has at most one pending mark, and a mark against it cancels it. Lookups by record and by
// row take constant time: painting asks for every row it shows.
//
// The count of changes (Size) is the items plus the marked records. Every change is also a
// step that Undo takes back, newest first; the changes made between BeginGroup and EndGroup
// (a Delete All, an Append Copy) are one step.
//
// The limit of kLimit changes is the caller's to enforce, as is saving.
class PendingChangeList
{
public:
    static constexpr std::size_t kLimit = 300;

    std::size_t Size() const { return m_items.size() + m_markCount; }
    bool Empty() const { return Size() == 0; }
    void Clear();

    // Adds a change. A mark sets the record's pending mark (nothing happens when it has
    // that mark already).
    void Append(PendingChange change);
    // Takes the pending mark of `kind` off the record; false when it has no such mark.
    bool RemoveMark(PendingChange::Kind kind, int recordNumber);

    void BeginGroup();
    void EndGroup();
    bool CanUndo() const { return !m_steps.empty(); }
    // Takes back the newest step; false when there is none.
    bool Undo();

    // The newest cell edit of that record and field (names compared exactly), or null.
    const PendingChange* FindNewestEdit(int recordNumber, std::string_view fieldName) const;
    // The append that made grid row `row`, or null.
    const PendingChange* FindAppend(int row) const;
    PendingMark MarkOf(int recordNumber) const;
    int AppendCount() const { return static_cast<int>(m_appendRows.size()); }

    // The edits and appends, oldest first.
    const std::vector<PendingChange>& Items() const { return m_items; }
    // The first record at or after `from` with a pending mark; 0 when there is none.
    int NextMarkedRecord(int from) const;
    std::size_t MarkCount() const { return m_markCount; }
    // What the list holds on the heap, roughly: for measuring, not for decisions.
    std::size_t MemoryBytes() const;

    // The appended rows follow `firstRow` rows of records, in the order they were appended
    // (the count of shown records changed with the filter).
    void RenumberAppends(int firstRow);

    // After a save: only the changes the file refused stay, as new changes without steps.
    void KeepOnly(std::vector<PendingChange> items,
        const std::vector<std::pair<int, PendingMark>>& marks);

private:
    // One step Undo takes back. A single mark keeps the record's mark before it; a group
    // keeps how many items there were and, two bits a record, the marks before it of the
    // records it touched (the value is the mark + 1; 0 is untouched).
    struct Step
    {
        bool group = false;
        std::size_t items = 0;
        int record = 0;
        PendingMark before = PendingMark::kNone;
        TwoBitArray marksBefore;
    };

    void SetMark(int recordNumber, PendingMark mark);
    void AddItem(PendingChange change);
    void PopItem();
    void IndexItem(std::size_t index);

    std::vector<PendingChange> m_items;
    std::unordered_map<int, std::vector<std::uint32_t>> m_itemsOfRecord;
    std::unordered_map<int, std::uint32_t> m_appendRows;
    TwoBitArray m_marks;
    std::size_t m_markCount = 0;
    std::vector<Step> m_steps;
    int m_groupDepth = 0;
};

} // namespace tablegrid
