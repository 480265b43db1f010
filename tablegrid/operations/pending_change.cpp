#include "tablegrid/operations/pending_change.h"

#include <algorithm>
#include <utility>

namespace tablegrid {

namespace {

constexpr std::int32_t kNone = -1;

// Code page ids as one byte.
std::uint8_t CodePageByte(int codePage)
{
    switch (codePage) {
    case 0: return 0;
    case 866: return 1;
    case 1251: return 2;
    default: return 3;
    }
}

int CodePageOfByte(std::uint8_t byte)
{
    switch (byte) {
    case 1: return 866;
    case 2: return 1251;
    default: return 0;
    }
}

} // namespace

// Record -> its newest item. A hash while few records have items; past that, an array of
// one number a record, which is smaller for many.
class PendingChangeList::RecordIndex
{
public:
    static constexpr std::size_t kHashedRecords = 65536;

    std::int32_t Get(int record) const
    {
        if (m_dense) {
            const auto at = static_cast<std::size_t>(record);
            return record >= 0 && at < m_array.size() ? m_array[at] : kNone;
        }
        const auto found = m_hash.find(record);
        return found == m_hash.end() ? kNone : found->second;
    }

    void Set(int record, std::int32_t item)
    {
        if (record < 0)
            return;
        if (m_dense) {
            const auto at = static_cast<std::size_t>(record);
            if (at >= m_array.size()) {
                if (item == kNone)
                    return;
                m_array.resize(std::max(at + 1, m_array.size() + m_array.size() / 2), kNone);
            }
            m_array[at] = item;
            return;
        }
        if (item == kNone) {
            m_hash.erase(record);
            return;
        }
        m_hash[record] = item;
        if (m_hash.size() > kHashedRecords) {
            int highest = 0;
            for (const auto& [key, value] : m_hash)
                highest = std::max(highest, key);
            m_array.assign(static_cast<std::size_t>(highest) + 1, kNone);
            for (const auto& [key, value] : m_hash)
                m_array[static_cast<std::size_t>(key)] = value;
            m_hash.clear();
            m_dense = true;
        }
    }

    void Clear()
    {
        m_hash.clear();
        m_array.clear();
        m_array.shrink_to_fit();
        m_dense = false;
    }

    std::size_t MemoryBytes() const
    {
        return m_array.capacity() * sizeof(std::int32_t) + m_hash.size() * 40;
    }

private:
    bool m_dense = false;
    std::unordered_map<int, std::int32_t> m_hash;
    std::vector<std::int32_t> m_array;
};

PendingChangeList::PendingChangeList()
    : m_newestOfRecord(std::make_unique<RecordIndex>())
{
}

PendingChangeList::~PendingChangeList() = default;

void PendingChangeList::Clear()
{
    m_items.clear();
    m_items.shrink_to_fit();
    m_texts.clear();
    m_texts.shrink_to_fit();
    m_fieldNames.clear();
    m_fieldNumbers.clear();
    m_newestOfRecord->Clear();
    m_appendRows.clear();
    m_marks.Clear();
    m_markCount = 0;
    m_steps.clear();
    m_groupDepth = 0;
}

std::uint16_t PendingChangeList::FieldNumber(const std::string& name)
{
    const auto found = m_fieldNumbers.find(name);
    if (found != m_fieldNumbers.end())
        return found->second;
    const auto number = static_cast<std::uint16_t>(m_fieldNames.size());
    m_fieldNames.push_back(name);
    m_fieldNumbers.emplace(name, number);
    return number;
}

std::string_view PendingChangeList::OldText(const StoredItem& item) const
{
    return std::string_view(m_texts).substr(static_cast<std::size_t>(item.textStart), item.oldLength);
}

std::string_view PendingChangeList::NewText(const StoredItem& item) const
{
    return std::string_view(m_texts).substr(
        static_cast<std::size_t>(item.textStart) + item.oldLength, item.newLength);
}

void PendingChangeList::AddItem(const PendingChange& change)
{
    if (m_groupDepth == 0) {
        Step step;
        step.items = m_items.size();
        m_steps.push_back(std::move(step));
    }
    StoredItem item;
    item.recordNumber = change.recordNumber;
    item.row = change.row;
    item.column = static_cast<std::int16_t>(std::clamp(change.column, -1, 32767));
    item.kind = static_cast<std::uint8_t>(change.kind);
    item.codePage = CodePageByte(change.codePage);
    item.field = FieldNumber(change.fieldName);
    item.textStart = m_texts.size();
    item.oldLength = static_cast<std::uint32_t>(change.oldText.size());
    item.newLength = static_cast<std::uint32_t>(change.newText.size());
    m_texts += change.oldText;
    m_texts += change.newText;
    item.previousOfRecord = m_newestOfRecord->Get(change.recordNumber);
    const auto index = static_cast<std::int32_t>(m_items.size());
    m_items.push_back(item);
    m_newestOfRecord->Set(change.recordNumber, index);
    if (change.kind == PendingChange::Kind::kAppendRecord)
        m_appendRows[change.row] = static_cast<std::uint32_t>(index);
}

void PendingChangeList::PopItem()
{
    const StoredItem item = m_items.back();
    m_newestOfRecord->Set(item.recordNumber, item.previousOfRecord);
    if (item.kind == static_cast<std::uint8_t>(PendingChange::Kind::kAppendRecord))
        m_appendRows.erase(item.row);
    m_texts.resize(static_cast<std::size_t>(item.textStart));
    m_items.pop_back();
}

PendingChange PendingChangeList::Item(std::size_t index) const
{
    const StoredItem& item = m_items[index];
    PendingChange change;
    change.kind = static_cast<PendingChange::Kind>(item.kind);
    change.row = item.row;
    change.column = item.column;
    change.recordNumber = item.recordNumber;
    change.fieldName = m_fieldNames[item.field];
    change.oldText = std::string(OldText(item));
    change.newText = std::string(NewText(item));
    change.codePage = CodePageOfByte(item.codePage);
    return change;
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
        AddItem(change);
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

bool PendingChangeList::HasItemsOf(int recordNumber) const
{
    return !m_items.empty() && m_newestOfRecord->Get(recordNumber) != kNone;
}

std::int32_t PendingChangeList::NewestEditIndex(int recordNumber, std::string_view fieldName) const
{
    if (m_items.empty())
        return kNone;
    for (std::int32_t i = m_newestOfRecord->Get(recordNumber); i != kNone;
         i = m_items[static_cast<std::size_t>(i)].previousOfRecord) {
        const StoredItem& item = m_items[static_cast<std::size_t>(i)];
        if (item.kind == static_cast<std::uint8_t>(PendingChange::Kind::kEditCell)
            && m_fieldNames[item.field] == fieldName)
            return i;
    }
    return kNone;
}

std::optional<std::string_view> PendingChangeList::NewestEditText(int recordNumber,
    std::string_view fieldName) const
{
    const std::int32_t i = NewestEditIndex(recordNumber, fieldName);
    if (i == kNone)
        return std::nullopt;
    return NewText(m_items[static_cast<std::size_t>(i)]);
}

std::optional<PendingChange> PendingChangeList::FindNewestEdit(int recordNumber,
    std::string_view fieldName) const
{
    const std::int32_t i = NewestEditIndex(recordNumber, fieldName);
    if (i == kNone)
        return std::nullopt;
    return Item(static_cast<std::size_t>(i));
}

std::optional<PendingChange> PendingChangeList::FindAppend(int row) const
{
    const auto found = m_appendRows.find(row);
    if (found == m_appendRows.end())
        return std::nullopt;
    return Item(found->second);
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
        StoredItem& item = m_items[i];
        if (item.kind != static_cast<std::uint8_t>(PendingChange::Kind::kAppendRecord))
            continue;
        item.row = row++;
        m_appendRows[item.row] = static_cast<std::uint32_t>(i);
    }
}

std::size_t PendingChangeList::MemoryBytes() const
{
    std::size_t bytes = m_marks.MemoryBytes() + m_items.capacity() * sizeof(StoredItem)
        + m_texts.capacity() + m_newestOfRecord->MemoryBytes() + m_appendRows.size() * 40;
    for (const Step& step : m_steps)
        bytes += sizeof(Step) + step.marksBefore.MemoryBytes();
    return bytes;
}

void PendingChangeList::KeepOnly(std::vector<PendingChange> items,
    const std::vector<std::pair<int, PendingMark>>& marks)
{
    Clear();
    ++m_groupDepth; // no steps: nothing kept here can be taken back
    for (const PendingChange& change : items)
        AddItem(change);
    --m_groupDepth;
    for (const auto& [record, mark] : marks) {
        if (mark != PendingMark::kNone && MarkOf(record) == PendingMark::kNone) {
            m_marks.Set(record, static_cast<unsigned>(mark));
            ++m_markCount;
        }
    }
}

} // namespace tablegrid
