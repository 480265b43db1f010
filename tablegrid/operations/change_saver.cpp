#include "tablegrid/operations/change_saver.h"

#include "table/table.h"

#include <cstdint>
#include <utility>

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

} // namespace

ChangeSaver::Result ChangeSaver::Save(PendingChangeList& changes, table::CTable& target,
    bool byRecordNumber, const RowOfRecord& rowOf)
{
    Result result;
    std::vector<PendingChange> keptItems;
    std::vector<std::pair<int, PendingMark>> keptMarks;

    for (const PendingChange& change : changes.Items()) {
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

    for (int recordNumber = changes.NextMarkedRecord(1); recordNumber > 0;
         recordNumber = recordNumber == INT32_MAX ? 0 : changes.NextMarkedRecord(recordNumber + 1)) {
        const PendingMark mark = changes.MarkOf(recordNumber);
        const std::uint32_t record = TargetRecord(recordNumber, recordNumber - 1, byRecordNumber, rowOf);
        if (record == 0 || !target.GoTo(record, false))
            continue;
        const bool written = mark == PendingMark::kDeletePending ? target.DeleteCurrent()
                                                                 : target.UndeleteCurrent();
        if (written)
            ++result.written;
        else
            keptMarks.emplace_back(recordNumber, mark);
    }

    result.allWritten = keptItems.empty() && keptMarks.empty();
    changes.KeepOnly(std::move(keptItems), keptMarks);
    return result;
}

} // namespace tablegrid
