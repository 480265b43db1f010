#include "tablegrid/operations/pending_change.h"

#include <algorithm>

namespace tablegrid {

void PendingChangeList::Append(PendingChange change)
{
    m_changes.push_back(std::move(change));
}

const PendingChange* PendingChangeList::FindNewestEdit(int recordNumber,
                                                       std::string_view fieldName) const
{
    for (auto it = m_changes.rbegin(); it != m_changes.rend(); ++it) {
        if (it->kind == PendingChange::Kind::kEditCell && it->recordNumber == recordNumber
            && it->fieldName == fieldName)
            return &*it;
    }
    return nullptr;
}

const PendingChange* PendingChangeList::FindAppend(int row) const
{
    for (const PendingChange& change : m_changes) {
        if (change.kind == PendingChange::Kind::kAppendRecord && change.row == row)
            return &change;
    }
    return nullptr;
}

std::vector<const PendingChange*> PendingChangeList::ChangesOfRecord(int recordNumber) const
{
    std::vector<const PendingChange*> changes;
    for (const PendingChange& change : m_changes) {
        if (change.recordNumber == recordNumber)
            changes.push_back(&change);
    }
    return changes;
}

PendingMark PendingChangeList::MarkOf(int recordNumber) const
{
    PendingMark mark = PendingMark::kNone;
    for (const PendingChange& change : m_changes) {
        if (change.recordNumber != recordNumber)
            continue;
        if (change.kind == PendingChange::Kind::kMarkDeleted)
            mark = PendingMark::kDeletePending;
        else if (change.kind == PendingChange::Kind::kMarkUndeleted)
            mark = PendingMark::kUndeletePending;
    }
    return mark;
}

bool PendingChangeList::RemoveOldest(PendingChange::Kind kind, int recordNumber)
{
    const auto it = std::find_if(m_changes.begin(), m_changes.end(), [&](const PendingChange& c) {
        return c.kind == kind && c.recordNumber == recordNumber;
    });
    if (it == m_changes.end())
        return false;
    m_changes.erase(it);
    return true;
}

int PendingChangeList::AppendCount() const
{
    return static_cast<int>(std::count_if(m_changes.begin(), m_changes.end(), [](const PendingChange& c) {
        return c.kind == PendingChange::Kind::kAppendRecord;
    }));
}

} // namespace tablegrid
