#include "tablegrid/operations/change_saver.h"

#include "table/table.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace tablegrid {

namespace {

// The record of `target` a change lands in, or 0 when it has none.
std::uint32_t TargetRecord(int recordNumber, int madeOnRow, bool byRecordNumber,
    const ChangeSaver::RowOfRecord& rowOf)
{
    if (byRecordNumber)
        return recordNumber > 0 ? static_cast<std::uint32_t>(recordNumber) : 0;
    const int row = rowOf ? rowOf(recordNumber) : madeOnRow;
    return row >= 0 ? static_cast<std::uint32_t>(row) + 1 : 0;
}

// Writes the marks a span of records at a time: one engine call per span, which writes a run
// of records per read window, where marking record by record costs a system call per mark
// (ten million of them for a Delete All of ten million records). A span the file refuses is
// written again mark by mark, so that exactly the refused marks stay pending and those whose
// record cannot be reached are dropped.
class MarkWriter
{
public:
    static constexpr std::uint32_t kSpanRecords = 65536;

    MarkWriter(table::CTable& target, ChangeSaver::Result& result,
        std::vector<std::pair<int, PendingMark>>& kept)
        : m_target(target)
        , m_result(result)
        , m_kept(kept)
    {
    }

    void Add(int recordNumber, PendingMark mark, std::uint32_t record)
    {
        if (!m_marks.empty() && (record < m_first || record - m_first >= kSpanRecords))
            Flush();
        if (m_marks.empty()) {
            m_first = record;
            m_flags.clear();
        }
        const std::size_t at = record - m_first;
        if (m_flags.size() <= at)
            m_flags.resize(at + 1, 0);
        m_flags[at] = mark == PendingMark::kDeletePending ? '*' : ' ';
        m_marks.push_back({ recordNumber, mark, record });
    }

    void Flush()
    {
        if (m_marks.empty())
            return;
        if (m_target.WriteDeletionFlags(m_first, m_flags)) {
            m_result.written += m_marks.size();
        } else {
            for (const Mark& mark : m_marks) {
                if (!m_target.GoTo(mark.record, false))
                    continue;
                const bool written = mark.mark == PendingMark::kDeletePending
                    ? m_target.DeleteCurrent()
                    : m_target.UndeleteCurrent();
                if (written)
                    ++m_result.written;
                else
                    m_kept.emplace_back(mark.recordNumber, mark.mark);
            }
        }
        m_marks.clear();
    }

private:
    struct Mark
    {
        int recordNumber;
        PendingMark mark;
        std::uint32_t record; // in the target
    };

    table::CTable& m_target;
    ChangeSaver::Result& m_result;
    std::vector<std::pair<int, PendingMark>>& m_kept;
    std::uint32_t m_first = 0;
    std::vector<std::uint8_t> m_flags; // of records m_first..; 0 for a record left alone
    std::vector<Mark> m_marks;
};

} // namespace

ChangeSaver::Result ChangeSaver::Save(PendingChangeList& changes, table::CTable& target,
    bool byRecordNumber, const RowOfRecord& rowOf)
{
    // Into a table whose file has been replaced since it was opened the changes would go to
    // a file no name leads to any more: they stay pending, and the save fails.
    if (!changes.Empty() && target.FileReplaced())
        return Result { false, 0 };
    std::vector<PendingChange> keptItems;
    std::vector<std::pair<int, PendingMark>> keptMarks;
    const Result result = Write(changes, target, byRecordNumber, rowOf, &keptItems, &keptMarks);
    changes.KeepOnly(std::move(keptItems), keptMarks);
    return result;
}

ChangeSaver::Result ChangeSaver::Copy(const PendingChangeList& changes, table::CTable& target,
    bool byRecordNumber, const RowOfRecord& rowOf)
{
    std::vector<PendingChange> keptItems;
    std::vector<std::pair<int, PendingMark>> keptMarks;
    return Write(changes, target, byRecordNumber, rowOf, &keptItems, &keptMarks);
}

ChangeSaver::Result ChangeSaver::Write(const PendingChangeList& changes, table::CTable& target,
    bool byRecordNumber, const RowOfRecord& rowOf, std::vector<PendingChange>* keptItemsOut,
    std::vector<std::pair<int, PendingMark>>* keptMarksOut)
{
    Result result;
    std::vector<PendingChange>& keptItems = *keptItemsOut;
    std::vector<std::pair<int, PendingMark>>& keptMarks = *keptMarksOut;

    for (std::size_t i = 0; i < changes.ItemCount(); ++i) {
        const PendingChange change = changes.Item(i);
        if (change.kind == PendingChange::Kind::kAppendRecord) {
            if (target.AppendBlank())
                ++result.written;
            else
                keptItems.push_back(change);
            continue;
        }
        const std::uint32_t record
            = TargetRecord(change.recordNumber, change.row, byRecordNumber, rowOf);
        // A copy may lack the field (Save As takes the columns shown): nothing to write into.
        const int field = target.FieldIndex(change.fieldName);
        if (record == 0 || field < 0 || !target.GoTo(record, false))
            continue;
        std::string text = change.newText;
        if (target.FieldType(field) == 'L')
            text = change.newText == "true" ? "T" : "F";
        if (target.PutValue(record, field, text, false))
            ++result.written;
        else
            keptItems.push_back(change);
    }

    MarkWriter marks(target, result, keptMarks);
    for (int recordNumber = changes.NextMarkedRecord(1); recordNumber > 0;
         recordNumber = recordNumber == INT32_MAX ? 0 : changes.NextMarkedRecord(recordNumber + 1)) {
        const std::uint32_t record = TargetRecord(recordNumber, recordNumber - 1, byRecordNumber, rowOf);
        if (record != 0)
            marks.Add(recordNumber, changes.MarkOf(recordNumber), record);
    }
    marks.Flush();

    result.allWritten = keptItems.empty() && keptMarks.empty();
    return result;
}

} // namespace tablegrid
