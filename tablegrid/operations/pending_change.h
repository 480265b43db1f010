#pragma once

#include "tablegrid/operations/two_bit_array.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
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
// Cell edits and appended records are the items, oldest first. They are kept compactly, as a
// Replace All may make millions of them: a small fixed record per item, the texts in one
// shared buffer, the field names once each, and an index from a record to its newest item
// (a hash while few records have items, an array of one number a record when many do).
// Deletion marks are kept per record in two bits, so that marking every record of a table
// of ten million records costs 2.5 megabytes; a record has at most one pending mark, and a
// mark against it cancels it. Lookups by record and by row take constant time: painting
// asks for every row it shows.
//
// The count of changes (Size) is the items plus the marked records. Every change is also a
// step that Undo takes back, newest first; the changes made between BeginGroup and EndGroup
// (a Delete All, an Append Copy, a Replace All) are one step.
//
// The limit of kLimit changes is the caller's to enforce, as is saving.
class PendingChangeList
{
public:
    static constexpr std::size_t kLimit = 300;

    PendingChangeList();
    ~PendingChangeList();
    PendingChangeList(const PendingChangeList&) = delete;
    PendingChangeList& operator=(const PendingChangeList&) = delete;

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

    // The newest cell edit of that record and field (names compared exactly), if any.
    std::optional<PendingChange> FindNewestEdit(int recordNumber, std::string_view fieldName) const;
    // Its new text only, valid until the list changes: what painting asks for.
    std::optional<std::string_view> NewestEditText(int recordNumber, std::string_view fieldName) const;
    // Whether the record has any edit or append pending.
    bool HasItemsOf(int recordNumber) const;
    // The append that made grid row `row`, if any.
    std::optional<PendingChange> FindAppend(int row) const;
    PendingMark MarkOf(int recordNumber) const;
    int AppendCount() const { return static_cast<int>(m_appendRows.size()); }

    // The edits and appends, oldest first.
    std::size_t ItemCount() const { return m_items.size(); }
    PendingChange Item(std::size_t index) const;
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
    // An item as kept: its numbers, where its texts are, its field by number, and the item
    // of the same record made before it.
    struct StoredItem
    {
        std::int32_t recordNumber = 0;
        std::int32_t row = 0;
        std::int32_t previousOfRecord = -1;
        std::uint32_t oldLength = 0;
        std::uint32_t newLength = 0;
        std::uint64_t textStart = 0;
        std::int16_t column = -1;
        std::uint16_t field = 0;
        std::uint8_t kind = 0;
        std::uint8_t codePage = 0;
    };
    class RecordIndex;

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
    void AddItem(const PendingChange& change);
    void PopItem();
    std::uint16_t FieldNumber(const std::string& name);
    std::int32_t NewestEditIndex(int recordNumber, std::string_view fieldName) const;
    std::string_view OldText(const StoredItem& item) const;
    std::string_view NewText(const StoredItem& item) const;

    std::vector<StoredItem> m_items;
    std::string m_texts; // the items' old and new texts, one after the other
    std::vector<std::string> m_fieldNames;
    std::unordered_map<std::string, std::uint16_t> m_fieldNumbers;
    std::unique_ptr<RecordIndex> m_newestOfRecord;
    std::unordered_map<int, std::uint32_t> m_appendRows;
    TwoBitArray m_marks;
    std::size_t m_markCount = 0;
    std::vector<Step> m_steps;
    int m_groupDepth = 0;
};

} // namespace tablegrid
