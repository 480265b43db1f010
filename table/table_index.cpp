// CTable: building, choosing and following indexes, and value searches through them.

#include "table/table.h"

#include "platform/file_system.h"
#include "table/ndx_builder.h"
#include "table/table_database.h"
#include "table/table_index.h"

namespace table {

std::string CTable::KeyExpression(const std::vector<std::string>& fieldNames)
{
    std::string expression;
    try {
        for (const std::string& name : fieldNames) {
            const char type = FieldTypeByName(name);
            if (!expression.empty())
                expression += '+';
            if (type == 'C')
                expression += name;
            else if (type == 'D')
                expression += "DTOC(" + name + ")";
            else if (type == 'N')
                expression += "STR(" + name + ")";
            else
                throw CDBEngineException(TableError::kBadKey);
        }
    } catch (const CDBEngineException& e) {
        m_lastError = e.Code();
        return {};
    }
    return expression;
}

std::string CTable::IndexFilePath(const std::string& name) const
{
    return m_indexDirectory + name + ".ndx";
}

bool CTable::CreateIndex(const std::string& name, const std::string& expression, bool unique)
{
    if (expression.size() > kMaxIndexExpression) {
        m_lastError = TableError::kBadKey;
        throw CDBEngineException(TableError::kBadKey);
    }
    if (!m_open)
        return false;
    platform::FileSystem& fs = m_database->FileSystem();
    if (!fs.CreateDirectories(m_indexDirectory))
        return Fail(TableError::kCodePageWrite);

    char resultType = 0;
    std::unique_ptr<Expression> key = ParseWithin(expression, kMaxIndexExpression, &resultType);
    if (!key || (resultType != 'C' && resultType != 'N'))
        return Fail(TableError::kBadKey);
    const NdxKeyType type = resultType == 'C' ? NdxKeyType::kCharacter : NdxKeyType::kNumeric;

    // Every record gets a key, in record order; the builder keeps keys, never records.
    // Records the header counts beyond the end of the file cannot be read, so they get
    // none, and room is kept only for the records the file holds.
    NdxBuilder builder(fs, type, expression, unique);
    RecordFile& file = m_handle->file;
    const std::uint32_t held = file.RecordsHeld();
    builder.Reserve(held);
    const bool oem = IsOemCodePage(m_codePage);
    for (std::uint32_t k = 1; k <= held;) {
        const std::uint8_t* run = nullptr;
        std::uint32_t count = 0;
        if (!file.ReadRun(k, &run, &count))
            return false;
        for (std::uint32_t i = 0; i < count; ++i, ++k) {
            const std::uint8_t* record = run + std::size_t { i } * file.RecordLength();
            ExprValue value;
            const bool ok = key->Evaluate(record, file.RecordLength(), oem, &value);
            // A record whose key cannot be computed still belongs in the index: blank key.
            if (type == NdxKeyType::kCharacter)
                builder.Add(k, ok && value.type == 'C' ? value.text : std::string_view());
            else
                builder.Add(k, ok && value.type == 'N' ? value.number : 0.0);
        }
    }
    const std::string path = IndexFilePath(name);
    if (!builder.Finish(path)) {
        if (builder.LastError() == NdxError::kDuplicateKey)
            return Fail(TableError::kNotUnique);
        return false;
    }

    auto index = std::make_unique<TableIndex>();
    index->name = name;
    index->file = std::make_unique<NdxIndex>(fs);
    index->key = std::move(key);
    index->type = type;
    if (!index->file->Open(path))
        return false;
    const bool wasActive = m_handle->activeIndex && m_handle->activeIndex->name == name;
    if (wasActive)
        m_handle->activeIndex = nullptr;
    TableIndex* stored = index.get();
    m_indexes[name] = std::move(index);
    if (wasActive) {
        m_handle->activeIndex = stored;
        (void)PositionIndexOnCurrent();
    }
    return true;
}

bool CTable::CreateIndexOnFields(const std::string& name, const std::vector<std::string>& fieldNames,
                                 bool unique)
{
    const std::string expression = KeyExpression(fieldNames);
    return !expression.empty() && CreateIndex(name, expression, unique);
}

bool CTable::UseIndex(const std::string& name)
{
    const auto it = m_indexes.find(name);
    if (it == m_indexes.end() || !m_handle)
        return false;
    m_handle->activeIndex = it->second.get();
    m_activeIndexName = name;
    (void)PositionIndexOnCurrent();
    return true;
}

bool CTable::SetKeyIndex(const std::string& name)
{
    if (m_indexes.find(name) == m_indexes.end())
        return false;
    m_keyIndexName = name;
    return true;
}

bool CTable::UseKeyIndex()
{
    return !m_keyIndexName.empty() && UseIndex(m_keyIndexName);
}

void CTable::ClearIndex()
{
    if (m_handle)
        m_handle->activeIndex = nullptr;
    m_activeIndexName.clear();
}

bool CTable::PositionIndexOnCurrent()
{
    TableIndex* index = m_handle ? m_handle->activeIndex : nullptr;
    if (!index || !HasCurrentRecord())
        return false;
    ExprValue value;
    if (!index->key->Evaluate(RecordBuffer(), static_cast<std::size_t>(RecordLength()),
                              IsOemCodePage(m_codePage), &value))
        value = ExprValue {};
    bool found = false;
    if (index->type == NdxKeyType::kCharacter)
        return index->file->PositionOn(CurrentRecord(), value.type == 'C' ? value.text : std::string_view(), &found)
            && found;
    return index->file->PositionOn(CurrentRecord(), value.type == 'N' ? value.number : 0.0, &found) && found;
}

bool CTable::IndexStep(bool forward, std::uint32_t* record)
{
    NdxIndex& index = *m_handle->activeIndex->file;
    // Without a position the step starts from the matching end, as record numbers do.
    const bool moved = index.Valid() ? (forward ? index.Next() : index.Prev())
                                     : (forward ? index.First() : index.Last());
    if (!moved || !index.Valid())
        return false;
    *record = index.Record();
    return true;
}

bool CTable::SeekValue(const FieldValue& value)
{
    m_seekValue = value;
    TableIndex* index = m_handle ? m_handle->activeIndex : nullptr;
    if (!index || !m_open) {
        ClearCurrent();
        return false;
    }
    NdxIndex& file = *index->file;
    bool found = false;
    bool ok = false;
    if (value.type == 'C')
        ok = file.Seek(value.text, NdxMatch::kWhole, &found);
    else if (value.type == 'N')
        ok = file.Seek(value.number, &found);
    if (!ok || !found || !file.Valid()) {
        ClearCurrent();
        return false;
    }
    // Among records of the same key, the first that passes the filters.
    const std::string key(file.Key());
    const double number = index->type == NdxKeyType::kNumeric ? file.NumberKey() : 0.0;
    while (file.Valid()) {
        const bool sameKey = index->type == NdxKeyType::kCharacter ? file.Key() == key
                                                                    : file.NumberKey() == number;
        if (!sameKey || !ReadCurrent(file.Record()))
            break;
        if (PassesFilters())
            return true;
        if (!file.Next())
            break;
    }
    ClearCurrent();
    return false;
}

} // namespace table
