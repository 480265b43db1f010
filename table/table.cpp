#include "table/table.h"

#include "platform/code_page.h"
#include "platform/file_system.h"
#include "table/blank_text.h"
#include "table/dbf_create.h"
#include "table/dbf_format.h"
#include "table/field_codec.h"
#include "table/table_index.h"
#include "table/table_database.h"

#include <algorithm>
#include <cstring>

namespace table {
namespace {

bool HasExtension(const std::string& path)
{
    const std::string name = platform::FileNameOf(path);
    const auto dot = name.rfind('.');
    return dot != std::string::npos && dot > 0;
}

// The extension added to a bare table name follows the name's letter case.
std::string DbfExtensionFor(const std::string& name)
{
    const bool lower = std::any_of(name.begin(), name.end(), [](char c) { return c >= 'a' && c <= 'z'; });
    return lower ? ".dbf" : ".DBF";
}

} // namespace

CTable::CTable(TableDatabase* database)
    : m_database(database)
{
    if (m_database) {
        m_handle = std::make_unique<DbfHandle>(m_database->FileSystem());
        m_codePage = m_database->DefaultCodePage();
    } else {
        m_lastError = TableError::kNoDatabase;
    }
}

CTable::~CTable()
{
    Close();
}

bool CTable::Fail(TableError error)
{
    m_lastError = error;
    return false;
}

bool CTable::FailFile(DbfError error)
{
    m_fileError = error;
    return false;
}

DbfError CTable::LastFileError() const
{
    if (m_fileError != DbfError::kNone)
        return m_fileError;
    if (!m_handle)
        return DbfError::kNone;
    if (m_handle->file.LastError() != DbfError::kNone)
        return m_handle->file.LastError();
    return m_handle->memo.LastError();
}

std::string CTable::ResolveTablePath(const std::string& path) const
{
    std::string full = path;
    if (platform::DirectoryOf(full).size() < 2 && !platform::IsAbsolutePath(full))
        full = m_database->Directory() + full;
    if (!HasExtension(full))
        full += DbfExtensionFor(platform::FileNameOf(full));
    if (!m_database->FileSystem().Exists(full)) {
        if (auto found = platform::FindEntryNoCase(m_database->FileSystem(),
                                                   platform::DirectoryOf(full),
                                                   platform::FileNameOf(full)))
            full = *found;
    }
    return full;
}

bool CTable::OpenMemo()
{
    RecordFile& file = m_handle->file;
    const std::uint8_t version = file.Version();
    // A table that has memo fields but says it has none still keeps them in a .dbt.
    const std::uint8_t memoVersion = version == dbf::kVersionDbase4 ? dbf::kVersionDbase4Memo
        : version == dbf::kVersionDbase3                            ? dbf::kVersionDbase3Memo
                                                                    : version;
    std::string found = FindMemoCompanion(m_database->FileSystem(), file.Path(), memoVersion);
    if (found.empty()) {
        // A table opened through a link with no memo link beside it: its memo file is the one
        // beside the table the link names.
        const std::string placed = platform::FollowLinks(file.Path());
        if (placed != file.Path())
            found = FindMemoCompanion(m_database->FileSystem(), placed, memoVersion);
    }
    m_memoPath = found;
    if (m_memoPath.empty()) {
        // The name the memo file would have; a table path that gives none (not ending in F)
        // is named by its base name with ".dbt".
        m_memoPath = MemoCompanionPath(file.Path(), memoVersion);
        if (m_memoPath.empty())
            m_memoPath = platform::DirectoryOf(file.Path()) + platform::BaseNameOf(file.Path()) + ".dbt";
    }
    if (!found.empty() && m_handle->memo.Open(found, MemoFormForVersion(memoVersion)))
        return true;
    const DbfError why = found.empty() ? DbfError::kNoMemoFile : m_handle->memo.LastError();
    m_memoError = why != DbfError::kNone ? why : DbfError::kOpenFailed;
    return false;
}

bool CTable::Open(const std::string& path, bool autodetect)
{
    if (!m_database || !m_handle)
        return Fail(TableError::kNoDatabase);
    Close();
    m_name.clear();
    ClearIndex();
    m_lastError = TableError::kNone;
    m_fileError = DbfError::kNone;

    const std::string full = ResolveTablePath(path);
    RecordFile& file = m_handle->file;
    if (!file.Open(full, RecordFile::Mode::kReadWrite))
        return false;
    // Without its memo file the table still opens; OpenMemo keeps the reason for the
    // operations that need the memo texts.
    if (file.HasMemoFields() && file.Version() != dbf::kVersionFoxProMemo)
        (void)OpenMemo();
    m_open = true;
    m_name = platform::BaseNameOf(full);
    m_indexDirectory = m_database->TempIndexRoot() + m_name + "/";

    m_codePage = m_database->DefaultCodePage();
    if (file.CodePageByte() != 0) {
        if (auto id = CodePageOfHeaderByte(file.CodePageByte()))
            m_codePage = *id;
    }
    if (autodetect && m_codePage == CodePageId::kNone) {
        const CodePageId guess = DetectCodePage();
        if (guess != CodePageId::kNone)
            m_codePage = guess;
    }
    return true;
}

void CTable::Close()
{
    if (m_database) {
        for (const auto& relation : m_relations)
            m_database->ReleaseTable(relation->targetName);
    }
    m_relations.clear();
    if (m_handle) {
        m_handle->activeIndex = nullptr;
        m_handle->file.Close();
        m_handle->memo.Close();
    }
    m_activeIndexName.clear();
    m_indexes.clear();
    m_memoError = DbfError::kNone;
    m_memoPath.clear();
    if (m_open && m_database && !m_indexDirectory.empty()
        && m_database->FileSystem().IsDirectory(m_indexDirectory))
        (void)m_database->FileSystem().RemoveAll(m_indexDirectory);
    m_open = false;
}

bool CTable::CreateTable(const std::string& path, const TableStructure& structure)
{
    if (!m_database)
        return Fail(TableError::kNoDatabase);
    return CreateTableFile(m_database->FileSystem(), path, structure.fields) == DbfError::kNone;
}

bool CTable::CopyStructure(const std::string& path, bool overwrite)
{
    if (!m_database || !m_open)
        return Fail(TableError::kNoDatabase);
    if (!overwrite && m_database->FileSystem().Exists(path))
        return false;
    TableStructure structure;
    for (const FieldLayout& field : Fields())
        structure.fields.push_back(field.def);
    return CreateTable(path, structure);
}

const std::string& CTable::FilePath() const
{
    static const std::string kNone;
    return m_handle && m_open ? m_handle->file.Path() : kNone;
}

bool CTable::FileReplaced() const
{
    return m_handle && m_open && m_handle->file.RawFile()
        && !platform::IsFileAt(*m_handle->file.RawFile(), m_handle->file.Path());
}

std::uint8_t CTable::Version() const
{
    return m_handle && m_open ? m_handle->file.Version() : 0;
}

std::string CTable::TablePath() const
{
    if (!m_database)
        return {};
    return m_database->Directory() + m_name + ".dbf";
}

void CTable::CopySettingsFrom(const CTable& other)
{
    m_codePage = other.m_codePage;
    m_deletedFilter = other.m_deletedFilter;
    m_blankFilter = other.m_blankFilter;
    m_seekValue = other.m_seekValue;
}

// ---- Catalogue -------------------------------------------------------------------------

const std::vector<FieldLayout>& CTable::Fields() const
{
    static const std::vector<FieldLayout> kNone;
    return m_handle ? m_handle->file.Fields() : kNone;
}

int CTable::FieldCount() const
{
    return static_cast<int>(Fields().size());
}

std::string CTable::FieldName(int i) const
{
    return i >= 0 && i < FieldCount() ? Fields()[i].def.name : std::string();
}

int CTable::FieldLength(int i) const
{
    return i >= 0 && i < FieldCount() ? static_cast<int>(Fields()[i].width) : 0;
}

int CTable::FieldDecimals(int i) const
{
    return i >= 0 && i < FieldCount() ? Fields()[i].def.decimals : 0;
}

char CTable::FieldType(int i) const
{
    return i >= 0 && i < FieldCount() ? Fields()[i].def.type : 0;
}

int CTable::FieldIndex(const std::string& name) const
{
    if (name.size() > 10)
        return -1;
    std::string wanted = name;
    platform::ToUpper1251(wanted);
    const auto& fields = Fields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        std::string have = fields[i].def.name;
        platform::ToUpper1251(have);
        if (have == wanted)
            return static_cast<int>(i);
    }
    return -1;
}

char CTable::FieldTypeByName(const std::string& name)
{
    const int i = FieldIndex(name);
    if (i < 0) {
        m_lastError = TableError::kNoSuchField;
        throw CDBEngineException(TableError::kNoSuchField);
    }
    return FieldType(i);
}

int CTable::RecordLength() const
{
    return m_handle ? m_handle->file.RecordLength() : 0;
}

int CTable::HeaderLength() const
{
    return m_handle ? m_handle->file.HeaderLength() : 0;
}

std::uint32_t CTable::RecordCount() const
{
    return m_handle ? m_handle->file.RecordCount() : 0;
}

std::uint32_t CTable::CurrentRecord() const
{
    return m_handle ? m_handle->file.CurrentRecord() : 0;
}

bool CTable::HasCurrentRecord() const
{
    const std::uint32_t current = CurrentRecord();
    return current >= 1 && current <= RecordCount();
}

const std::uint8_t* CTable::RecordBuffer() const
{
    return m_handle ? m_handle->file.Record() : nullptr;
}

bool CTable::IsDeleted() const
{
    return m_open && RecordLength() > 0 && RecordBuffer()[0] == dbf::kDeletedFlag;
}

bool CTable::IsBlank() const
{
    if (!m_open)
        return false;
    // Writers pad fields with NUL bytes as well as spaces; either is no data, and data may
    // follow them anywhere in the record, so every byte is looked at.
    const std::uint8_t* record = RecordBuffer();
    for (int i = 0; i < RecordLength(); ++i) {
        if (record[i] != ' ' && record[i] != 0)
            return false;
    }
    return true;
}

// ---- Values ----------------------------------------------------------------------------

FieldValue CTable::GetValue(int i, bool convert) const
{
    if (i < 0 || i >= FieldCount() || !m_open)
        return FieldValue();
    const FieldLayout& field = Fields()[i];
    FieldValue value = ReadFieldValue(field.def, RecordBuffer() + field.offset);
    if (value.type == 'C')
        TableToAnsi(value.text, m_codePage, convert);
    return value;
}

FieldValue CTable::GetValueByName(const std::string& name, bool convert) const
{
    return GetValue(FieldIndex(name), convert);
}

bool CTable::PutValue(std::uint32_t record, int i, const std::string& text, bool convert)
{
    if (i < 0 || i >= FieldCount() || !m_open)
        return false;
    const FieldLayout& field = Fields()[i];
    std::string stored = text;
    AnsiToTable(stored, m_codePage, convert);
    if (stored.size() > field.width)
        stored.resize(field.width);
    if (!WriteFieldText(field.def, stored, m_handle->file.MutableRecord() + field.offset))
        return false;
    return m_handle->file.WriteRecord(record);
}

bool CTable::PutValueByName(std::uint32_t record, const std::string& name, const std::string& text,
                            bool convert)
{
    return PutValue(record, FieldIndex(name), text, convert);
}

bool CTable::CopyRecordTo(CTable& other)
{
    if (!m_open || !other.m_open || !GoTo(CurrentRecord(), true))
        return false;
    std::uint8_t* target = other.m_handle->file.MutableRecord();
    for (const FieldLayout& field : Fields()) {
        const int j = other.FieldIndex(field.def.name);
        if (j < 0)
            continue;
        const FieldLayout& into = other.Fields()[j];
        std::string_view stored(reinterpret_cast<const char*>(RecordBuffer()) + field.offset,
                                field.width);
        // The target field decides what it takes: text fields cut to their width, numeric
        // ones refuse a number that does not fit. The blanks that right-align a stored
        // number are layout, not value, so a narrower field still takes what fits.
        if (into.def.type == 'N' || into.def.type == 'F')
            stored = TrimBlanks(stored);
        if (!WriteFieldText(into.def, stored, target + into.offset))
            return false;
    }
    target[0] = IsDeleted() ? dbf::kDeletedFlag : dbf::kActiveFlag;
    return other.m_handle->file.WriteRecord(other.CurrentRecord());
}

// ---- Code page -------------------------------------------------------------------------

bool CTable::SetCodePage(CodePageId id, bool write)
{
    // The table takes the code page whether or not it can be written: a failed write keeps
    // the new one in memory while the table stays open.
    m_codePage = id;
    if (!write)
        return true;
    const auto byte = HeaderByteOf(id);
    if (!byte)
        return Fail(TableError::kBadCodePage);
    if (!m_open || !m_handle->file.WriteHeaderByte(dbf::kCodePageOffset, *byte))
        return Fail(TableError::kCodePageWrite);
    return true;
}

CodePageId CTable::DetectCodePage()
{
    if (!m_open)
        return CodePageId::kNone;
    return table::DetectCodePage(*m_handle->file.RawFile(), m_handle->file.HeaderLength());
}

} // namespace table
