#include "tablegrid/operations/pending_change.h"

#include <utility>

namespace tablegrid {

void PendingChangeList::Clear()
{
    m_items.clear();
    m_itemsOfRecord.clear();
    m_appendRows.clear();
    m_marks.Clear();
    m_markCount = 0;
    m_steps.clear();
    m_groupDepth = 0;
}

void PendingChangeList::IndexItem(std::size_t index)
{
    const PendingChange& change = m_items[index];
    m_itemsOfRecord[change.recordNumber].push_back(static_cast<std::uint32_t>(index));
    if (change.kind == PendingChange::Kind::kAppendRecord)
        m_appendRows[change.row] = static_cast<std::uint32_t>(index);
}

void PendingChangeList::AddItem(PendingChange change)
{
    if (m_groupDepth == 0) {
        Step step;
        step.items = m_items.size();
        m_steps.push_back(std::move(step));
    }
    m_items.push_back(std::move(change));
    IndexItem(m_items.size() - 1);
}

void PendingChangeList::PopItem()
{
    const PendingChange& change = m_items.back();
    const auto found = m_itemsOfRecord.find(change.recordNumber);
    if (found != m_itemsOfRecord.end()) {
        found->second.pop_back();
        if (found->second.empty())
            m_itemsOfRecord.erase(found);
    }
    if (change.kind == PendingChange::Kind::kAppendRecord)
        m_appendRows.erase(change.row);
    m_items.pop_back();
}

void PendingChangeList::SetMark(int recordNumber, PendingMark mark)
{
    const auto before = static_cast<PendingMark>(m_marks.Get(recordNumber));
    if (before == mark)
        return;
    if (m_groupDepth > 0) {
        TwoBitArray& priors = m_steps.back().marksBefore;
        if (priors.Get(recordNumber) == 0)
            priors.Set(recordNumber, static_cast<unsigned>(before) + 1);
    } else {
        Step step;
        step.items = m_items.size();
        step.record = recordNumber;
        step.before = before;
        m_steps.push_back(std::move(step));
    }
    m_marks.Set(recordNumber, static_cast<unsigned>(mark));
    if (before == PendingMark::kNone)
        ++m_markCount;
    else if (mark == PendingMark::kNone)
        --m_markCount;
}

void PendingChangeList::Append(PendingChange change)
{
    switch (change.kind) {
    case PendingChange::Kind::kMarkDeleted:
        SetMark(change.recordNumber, PendingMark::kDeletePending);
        return;
    case PendingChange::Kind::kMarkUndeleted:
        SetMark(change.recordNumber, PendingMark::kUndeletePending);
        return;
    default:
        AddItem(std::move(change));
        return;
    }
}

bool PendingChangeList::RemoveMark(PendingChange::Kind kind, int recordNumber)
{
    const PendingMark wanted = kind == PendingChange::Kind::kMarkDeleted
        ? PendingMark::kDeletePending
        : PendingMark::kUndeletePending;
    if (MarkOf(recordNumber) != wanted)
        return false;
    SetMark(recordNumber, PendingMark::kNone);
    return true;
}

void PendingChangeList::BeginGroup()
{
    if (m_groupDepth++ == 0) {
        Step step;
        step.group = true;
        step.items = m_items.size();
        m_steps.push_back(std::move(step));
    }
}

void PendingChangeList::EndGroup()
{
    if (m_groupDepth == 0 || --m_groupDepth > 0)
        return;
    // A group that changed nothing is no step.
    const Step& step = m_steps.back();
    if (step.items == m_items.size() && step.marksBefore.IsEmpty())
        m_steps.pop_back();
}

bool PendingChangeList::Undo()
{
    if (m_steps.empty() || m_groupDepth > 0)
        return false;
    Step step = std::move(m_steps.back());
    m_steps.pop_back();
    while (m_items.size() > step.items)
        PopItem();
    // Restoring marks directly: the restore itself is no new step.
    auto restore = [this](int record, PendingMark mark) {
        const auto now = static_cast<PendingMark>(m_marks.Get(record));
        if (now == mark)
            return;
        m_marks.Set(record, static_cast<unsigned>(mark));
        if (now == PendingMark::kNone)
            ++m_markCount;
        else if (mark == PendingMark::kNone)
            --m_markCount;
    };
    if (!step.group) {
        if (step.record != 0)
            restore(step.record, step.before);
        return true;
    }
    for (std::int64_t record = step.marksBefore.NextNonZero(0); record >= 0;
         record = step.marksBefore.NextNonZero(record + 1))
        restore(static_cast<int>(record),
            static_cast<PendingMark>(step.marksBefore.Get(record) - 1));
    return true;
}

const PendingChange* PendingChangeList::FindNewestEdit(int recordNumber,
    std::string_view fieldName) const
{
    const auto found = m_itemsOfRecord.find(recordNumber);
    if (found == m_itemsOfRecord.end())
        return nullptr;
    for (auto it = found->second.rbegin(); it != found->second.rend(); ++it) {
        const PendingChange& change = m_items[*it];
        if (change.kind == PendingChange::Kind::kEditCell && change.fieldName == fieldName)
            return &change;
    }
    return nullptr;
}

const PendingChange* PendingChangeList::FindAppend(int row) const
{
    const auto found = m_appendRows.find(row);
    return found == m_appendRows.end() ? nullptr : &m_items[found->second];
}

PendingMark PendingChangeList::MarkOf(int recordNumber) const
{
    return static_cast<PendingMark>(m_marks.Get(recordNumber));
}

int PendingChangeList::NextMarkedRecord(int from) const
{
    const std::int64_t next = m_marks.NextNonZero(from);
    return next < 0 ? 0 : static_cast<int>(next);
}

void PendingChangeList::RenumberAppends(int firstRow)
{
    m_appendRows.clear();
    int row = firstRow;
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        PendingChange& change = m_items[i];
        if (change.kind != PendingChange::Kind::kAppendRecord)
            continue;
        change.row = row++;
        m_appendRows[change.row] = static_cast<std::uint32_t>(i);
    }
}

std::size_t PendingChangeList::MemoryBytes() const
{
    std::size_t bytes = m_marks.MemoryBytes() + m_items.capacity() * sizeof(PendingChange);
    for (const Step& step : m_steps)
        bytes += sizeof(Step) + step.marksBefore.MemoryBytes();
    bytes += (m_itemsOfRecord.size() + m_appendRows.size()) * 48;
    return bytes;
}

void PendingChangeList::KeepOnly(std::vector<PendingChange> items,
    const std::vector<std::pair<int, PendingMark>>& marks)
{
    Clear();
    m_items = std::move(items);
    for (std::size_t i = 0; i < m_items.size(); ++i)
        IndexItem(i);
    for (const auto& [record, mark] : marks) {
        if (mark != PendingMark::kNone && MarkOf(record) == PendingMark::kNone) {
            m_marks.Set(record, static_cast<unsigned>(mark));
            ++m_markCount;
        }
    }
}

} // namespace tablegrid
