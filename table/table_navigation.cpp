// CTable: moving between records under the filters and the active index, the filter
// expression, expressions over records, and relations.

#include "table/table.h"

#include "platform/code_page.h"
#include "table/blank_text.h"
#include "table/dbf_format.h"
#include "table/field_codec.h"
#include "table/table_index.h"
#include "table/table_database.h"

namespace table {

void CTable::ClearCurrent()
{
    if (m_handle)
        m_handle->file.ClearRecord();
}

bool CTable::ReadCurrent(std::uint32_t record)
{
    if (!m_open)
        return false;
    if (!m_handle->file.ReadRecord(record))
        return false; // the record buffer is blank and there is no current record
    return true;
}

bool CTable::AppendBlank()
{
    if (!m_open)
        return false;
    m_handle->file.ClearRecord();
    if (!m_handle->file.AppendRecord())
        return false;
    if (m_handle->activeIndex)
        (void)PositionIndexOnCurrent();
    return true;
}

// Re-reads the current record so the mark is set on what the file holds, not on a buffer
// the caller may have changed.
static bool SetDeletionFlag(RecordFile& file, std::uint8_t flag)
{
    const std::uint32_t current = file.CurrentRecord();
    if (current == 0 || !file.ReadRecord(current))
        return false;
    file.MutableRecord()[0] = flag;
    return file.WriteRecord(current);
}

bool CTable::DeleteCurrent()
{
    return m_open && SetDeletionFlag(m_handle->file, dbf::kDeletedFlag);
}

bool CTable::UndeleteCurrent()
{
    return m_open && SetDeletionFlag(m_handle->file, dbf::kActiveFlag);
}

bool CTable::WriteDeletionFlags(std::uint32_t first, const std::vector<std::uint8_t>& flags)
{
    return m_open && flags.size() <= UINT32_MAX
        && m_handle->file.WriteDeletionFlags(first, flags.data(),
                                             static_cast<std::uint32_t>(flags.size()));
}

bool CTable::PassesFilters() const
{
    return m_open && RecordPasses(RecordBuffer());
}

bool CTable::PassesEveryRecord() const
{
    return !m_handle->filter && m_blankFilter == BlankFilter::kAll
        && m_deletedFilter == DeletedFilter::kAll;
}

std::uint32_t CTable::NextPassing(const std::uint8_t* run, std::uint32_t from,
                                  std::uint32_t count) const
{
    const std::size_t length = m_handle->file.RecordLength();
    if (PassesEveryRecord())
        return from;
    if (!m_handle->filter && m_blankFilter == BlankFilter::kAll) {
        // Only the deletion marks decide: one byte of each record.
        const bool wantDeleted = m_deletedFilter == DeletedFilter::kDeletedOnly;
        for (std::uint32_t i = from; i < count; ++i) {
            if ((run[std::size_t { i } * length] == dbf::kDeletedFlag) == wantDeleted)
                return i;
        }
        return count;
    }
    const FastFilter* fast = m_handle->fastFilter.get();
    if (!fast || m_blankFilter != BlankFilter::kAll) {
        for (std::uint32_t i = from; i < count; ++i) {
            if (RecordPasses(run + std::size_t { i } * length))
                return i;
        }
        return count;
    }
    // The compiled filter goes through the run on its own; only a record it cannot settle
    // goes to the general evaluator.
    const bool oem = IsOemCodePage(m_codePage);
    const int deleted = static_cast<int>(m_deletedFilter);
    for (std::uint32_t i = from; i < count; ++i) {
        FastFilter::Answer answer = FastFilter::Answer::kFalse;
        i += fast->FindFirst(run + std::size_t { i } * length, count - i, length, oem, deleted,
                             &answer);
        if (i >= count)
            return count;
        if (answer == FastFilter::Answer::kTrue
            || m_handle->filter->IsTrue(run + std::size_t { i } * length, length, oem))
            return i;
    }
    return count;
}

bool CTable::RecordPasses(const std::uint8_t* record) const
{
    const std::size_t length = m_handle->file.RecordLength();
    const bool deleted = record[0] == dbf::kDeletedFlag;
    if (m_deletedFilter == DeletedFilter::kNotDeleted && deleted)
        return false;
    if (m_deletedFilter == DeletedFilter::kDeletedOnly && !deleted)
        return false;
    if (m_blankFilter != BlankFilter::kAll) {
        // Writers pad fields with NUL bytes as well as spaces; either is no data, and data
        // may follow them anywhere in the record, so every byte is looked at.
        bool blank = true;
        for (std::size_t i = 0; i < length && blank; ++i)
            blank = record[i] == ' ' || record[i] == 0;
        if (m_blankFilter == BlankFilter::kNotBlank && blank)
            return false;
        if (m_blankFilter == BlankFilter::kBlankOnly && !blank)
            return false;
    }
    if (!m_handle->filter)
        return true;
    const bool oem = IsOemCodePage(m_codePage);
    if (const FastFilter* fast = m_handle->fastFilter.get()) {
        const FastFilter::Answer answer = fast->Test(record, oem);
        if (answer != FastFilter::Answer::kUnsure)
            return answer == FastFilter::Answer::kTrue;
    }
    return m_handle->filter->IsTrue(record, length, oem);
}

bool CTable::GoTo(std::uint32_t record, bool refresh)
{
    if (!ReadCurrent(record)) {
        if (refresh)
            RefreshRelations(); // no record here, none in the related tables
        return false;
    }
    if (m_handle->activeIndex)
        (void)PositionIndexOnCurrent();
    if (refresh)
        RefreshRelations();
    return true;
}

// Steps from the current position (record number, or the index's position) until a record
// passes the filters; runs off the end with no current record.
bool CTable::StepUntilPassing(bool forward, bool refresh)
{
    if (forward && !m_handle->activeIndex) {
        if (ScanForward()) {
            if (refresh)
                RefreshRelations();
            return true;
        }
    } else {
        for (;;) {
            std::uint32_t next = 0;
            if (m_handle->activeIndex) {
                if (!IndexStep(forward, &next))
                    break;
            } else {
                const std::uint32_t current = CurrentRecord();
                if (current <= 1)
                    break;
                next = current - 1;
            }
            if (!ReadCurrent(next))
                break;
            if (PassesFilters()) {
                if (refresh)
                    RefreshRelations();
                return true;
            }
        }
    }
    ClearCurrent();
    if (refresh)
        RefreshRelations();
    return false;
}

// The records after the current one in file order, tested where the read window holds
// them: only the record that passes is copied into the record buffer, so a filter that
// passes few records costs a test per record and no copy.
bool CTable::ScanForward()
{
    RecordFile& file = m_handle->file;
    std::uint64_t next = std::uint64_t { file.CurrentRecord() } + 1;
    while (next <= file.RecordCount()) {
        const std::uint8_t* run = nullptr;
        std::uint32_t count = 0;
        if (!file.ReadRun(static_cast<std::uint32_t>(next), &run, &count))
            return false;
        const std::uint32_t i = NextPassing(run, 0, count);
        if (i < count)
            return ReadCurrent(static_cast<std::uint32_t>(next + i));
        next += count;
    }
    return false;
}

void CTable::ForgetReadAhead()
{
    if (m_handle)
        m_handle->file.ForgetReadAhead();
}

bool CTable::ScanRecords(bool allRecords, RecordVisitor visit, void* context)
{
    if (!m_open)
        return false;
    if (m_handle->activeIndex && !allRecords) {
        // In the index's order, one record at a time.
        for (bool more = GoTop(); more; more = GoNext(false)) {
            if (!visit(context, CurrentRecord(), RecordBuffer()))
                break;
        }
        ClearCurrent();
        return true;
    }
    RecordFile& file = m_handle->file;
    const std::size_t length = file.RecordLength();
    ClearCurrent();
    // With no filter at all every record is visited, without asking of each.
    allRecords = allRecords || PassesEveryRecord();
    for (std::uint64_t next = 1; next <= file.RecordCount();) {
        const std::uint8_t* run = nullptr;
        std::uint32_t count = 0;
        if (!file.ReadRun(static_cast<std::uint32_t>(next), &run, &count))
            return false;
        for (std::uint32_t i = allRecords ? 0 : NextPassing(run, 0, count); i < count;
             i = allRecords ? i + 1 : NextPassing(run, i + 1, count)) {
            if (!visit(context, static_cast<std::uint32_t>(next + i), run + std::size_t { i } * length))
                return true;
        }
        next += count;
    }
    return true;
}

bool CTable::GoTop()
{
    if (!m_open || RecordCount() == 0) {
        ClearCurrent();
        return false;
    }
    std::uint32_t first = 1;
    if (TableIndex* index = m_handle->activeIndex) {
        if (!index->file->First() || !index->file->Valid()) {
            ClearCurrent();
            return false;
        }
        first = index->file->Record();
    }
    if (!ReadCurrent(first)) {
        ClearCurrent();
        return false;
    }
    if (PassesFilters()) {
        RefreshRelations();
        return true;
    }
    return StepUntilPassing(true, true);
}

bool CTable::GoNext(bool refresh)
{
    if (!m_open)
        return false;
    // Without a current record the next one is the first.
    if (!m_handle->activeIndex && CurrentRecord() == 0) {
        if (RecordCount() == 0 || !ReadCurrent(1))
            return false;
        if (PassesFilters()) {
            if (refresh)
                RefreshRelations();
            return true;
        }
    }
    return StepUntilPassing(true, refresh);
}

bool CTable::GoPrev(bool refresh)
{
    if (!m_open)
        return false;
    return StepUntilPassing(false, refresh);
}

bool CTable::SetFilterExpression(const std::string& text, bool convert)
{
    if (!m_open)
        return false;
    m_handle->filter.reset();
    m_handle->fastFilter.reset();
    m_handle->filterText.clear();
    if (text.empty())
        return true;
    std::string stored = text;
    AnsiToTable(stored, m_codePage, convert);
    char type = 0;
    std::unique_ptr<Expression> parsed = ParseExpression(stored, &type);
    if (!parsed)
        return false; // "not set": the table keeps no filter expression
    m_handle->fastFilter = FastFilter::Compile(stored, Fields());
    m_handle->filterText = std::move(stored);
    m_handle->filter = std::move(parsed);
    return true;
}

std::string CTable::GetFilterExpression(bool convert) const
{
    if (!m_handle)
        return {};
    std::string text = m_handle->filterText;
    TableToAnsi(text, m_codePage, convert);
    return text;
}

std::unique_ptr<Expression> CTable::ParseExpression(const std::string& text, char* resultType) const
{
    return ParseWithin(text, kMaxFilterLength, resultType);
}

std::unique_ptr<Expression> CTable::ParseWithin(const std::string& text, std::size_t limit,
                                                char* resultType) const
{
    if (resultType)
        *resultType = 0;
    if (text.empty() || text.size() > limit || !m_open)
        return nullptr;
    std::unique_ptr<Expression> expression = table::ParseExpression(text, Fields());
    if (expression && resultType) {
        const char type = expression->ResultType();
        *resultType = type == 'C' || type == 'L' || type == 'N' ? type : 0;
    }
    return expression;
}

bool CTable::EvaluateExpression(Expression& expression, FieldValue& value, bool convert) const
{
    ExprValue result;
    const bool ok = m_open
        && expression.Evaluate(RecordBuffer(), static_cast<std::size_t>(RecordLength()),
                               IsOemCodePage(m_codePage), &result);
    switch (value.type) {
    case 'C':
    case 'D':
    case 'M':
        if (!ok || result.type != 'C')
            break;
        value.text.assign(result.text);
        TableToAnsi(value.text, m_codePage, convert);
        if (value.type == 'D')
            value.date = value.text;
        return true;
    case 'L':
        if (!ok || result.type != 'L')
            break;
        value.logical = result.logical;
        return true;
    case 'N':
        if (!ok || result.type != 'N')
            break;
        value.number = result.number;
        return true;
    default:
        break;
    }
    value.type = 0;
    return false;
}

// ---- Relations -------------------------------------------------------------------------

namespace {

// The field of `table` a key expression is computed from, when it is one of the forms key
// indexes over one field take; -1 otherwise.
int KeySourceField(const CTable& table, const std::string& expression)
{
    std::string upper = expression;
    platform::ToUpper1251(upper);
    for (int i = 0; i < table.FieldCount(); ++i) {
        std::string name = table.FieldName(i);
        platform::ToUpper1251(name);
        if (upper == name || upper == "STR(" + name + ")" || upper == "DTOC(" + name + ")")
            return i;
    }
    return -1;
}

} // namespace

bool CTable::AddRelation(const std::string& targetName, const std::string& keyField)
{
    if (!m_database || !m_database->IsValid())
        return Fail(TableError::kNoDatabase);
    CTable* target = m_database->OpenTable(targetName);
    if (!target)
        return Fail(TableError::kTargetNotOpened);
    auto release = [&](TableError error) {
        m_database->ReleaseTable(targetName);
        return Fail(error);
    };
    if (!target->UseKeyIndex())
        return release(TableError::kNoKeyIndex);
    const int field = FieldIndex(keyField);
    if (field < 0)
        return release(TableError::kBadKey);

    auto relation = std::make_unique<TableRelation>();
    const TableIndex& keyIndex = *target->m_handle->activeIndex;
    relation->textKey = keyIndex.type == NdxKeyType::kCharacter;
    const std::string& keyText = keyIndex.file->KeyExpression();
    relation->targetField = KeySourceField(*target, keyText);
    char resultType = 0;
    if (relation->targetField >= 0) {
        relation->key = target->ParseWithin(keyText, kMaxIndexExpression, &resultType);
        relation->scratch.assign(static_cast<std::size_t>(target->RecordLength()), ' ');
    } else {
        // Any other key: the owner's field in the form a key over it would take.
        const std::string expression
            = relation->textKey ? KeyExpression({ FieldName(field) }) : FieldName(field);
        if (!expression.empty())
            relation->key = ParseWithin(expression, kMaxIndexExpression, &resultType);
    }
    if (!relation->key || resultType != (relation->textKey ? 'C' : 'N'))
        return release(TableError::kBadKey);

    relation->owner = this;
    relation->keyField = keyField;
    relation->targetName = targetName;
    relation->target = target;
    m_relations.push_back(std::move(relation));
    RefreshRelations();
    return true;
}

// The key the owner's current record seeks in the target; false when there is none (no
// current record, a value the target's key field cannot hold).
bool CTable::RelationKey(TableRelation& relation, ExprValue* value)
{
    if (!HasCurrentRecord())
        return false;
    const CTable& target = *relation.target;
    if (relation.targetField < 0) {
        return relation.key->Evaluate(RecordBuffer(), static_cast<std::size_t>(RecordLength()),
            IsOemCodePage(m_codePage), value);
    }
    const int own = FieldIndex(relation.keyField);
    const FieldLayout& from = Fields()[static_cast<std::size_t>(own)];
    const FieldLayout& into = target.Fields()[static_cast<std::size_t>(relation.targetField)];
    std::string text(reinterpret_cast<const char*>(RecordBuffer()) + from.offset, from.width);
    if (IsOemCodePage(m_codePage) != IsOemCodePage(target.CodePage())) {
        if (IsOemCodePage(m_codePage))
            platform::OemToAnsi(text);
        else
            platform::AnsiToOem(text);
    }
    // Only the same value counts: a text the field would cut, a fraction it would drop.
    const std::string_view shown
        = into.def.type == 'C' ? std::string_view(text).substr(0, text.find_last_not_of(' ') + 1)
                               : TrimSpaces(text);
    std::uint8_t* bytes = relation.scratch.data() + into.offset;
    if (!WriteFieldText(into.def, shown, bytes))
        return false;
    const FieldValue written = ReadFieldValue(into.def, bytes);
    const FieldValue wanted = ReadFieldValue(from.def, RecordBuffer() + from.offset);
    if (into.def.type == 'N' || into.def.type == 'F') {
        if (written.type != 'N' || wanted.type != 'N' || written.number != wanted.number)
            return false;
    } else if (TrimSpaces(std::string_view(reinterpret_cast<const char*>(bytes), into.width))
        != TrimSpaces(shown)) {
        return false;
    }
    return relation.key->Evaluate(relation.scratch.data(), relation.scratch.size(),
        IsOemCodePage(target.CodePage()), value);
}

void CTable::RefreshRelations()
{
    for (const auto& relation : m_relations) {
        CTable* target = relation->target;
        if (!target || !target->IsOpen())
            continue;
        relation->lookup = FieldValue();
        ExprValue value;
        if (RelationKey(*relation, &value)) {
            if (relation->textKey && value.type == 'C') {
                relation->lookup.type = 'C';
                relation->lookup.text.assign(value.text);
                // A key computed over the owner's own record is in the owner's code page.
                if (relation->targetField < 0
                    && IsOemCodePage(m_codePage) != IsOemCodePage(target->CodePage())) {
                    if (IsOemCodePage(m_codePage))
                        platform::OemToAnsi(relation->lookup.text);
                    else
                        platform::AnsiToOem(relation->lookup.text);
                }
            } else if (!relation->textKey && value.type == 'N') {
                relation->lookup.type = 'N';
                relation->lookup.number = value.number;
            }
        }
        // Without a key value the target shows no record rather than the last one found.
        if (relation->lookup.type == 0 || !target->SeekValue(relation->lookup))
            target->ClearCurrent();
    }
}

} // namespace table
