#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
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

// The deletion state a row shows while its record has pending marks.
enum class PendingMark { kNone, kDeletePending, kUndeletePending };

// The unsaved changes of one table window, oldest first. The list only keeps and finds
// changes; the limit of kLimit changes is the caller's to enforce, as is saving.
class PendingChangeList
{
public:
    static constexpr std::size_t kLimit = 300;

    std::size_t Size() const { return m_changes.size(); }
    bool Empty() const { return m_changes.empty(); }
    void Append(PendingChange change);
    void Clear() { m_changes.clear(); }
    const PendingChange& At(std::size_t i) const { return m_changes[i]; }
    auto begin() const { return m_changes.begin(); }
    auto end() const { return m_changes.end(); }

    // The newest cell edit of that record and field (names compared exactly), or null.
    const PendingChange* FindNewestEdit(int recordNumber, std::string_view fieldName) const;
    // The append that made grid row `row`, or null.
    const PendingChange* FindAppend(int row) const;
    // The changes of one record, oldest first.
    std::vector<const PendingChange*> ChangesOfRecord(int recordNumber) const;
    // The mark the record's pending changes leave, scanning them in order.
    PendingMark MarkOf(int recordNumber) const;
    // Removes the oldest change of that kind for the record; false when there is none.
    bool RemoveOldest(PendingChange::Kind kind, int recordNumber);
    int AppendCount() const;

private:
    std::vector<PendingChange> m_changes;
};

} // namespace tablegrid
