#pragma once

#include "table/code_page_id.h"
#include "table/db_engine_exception.h"
#include "table/dbf_handle.h"
#include "table/field_value.h"
#include "table/table_structure.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace table {

class CTable;
struct TableIndex;
class TableDatabase;

// A relation from a table's key field to another table of the same database: after every
// move of the owner the target is positioned on the record whose key index value equals the
// owner's key field. The owner's value is put in the form of the target's keys (a number or
// date field as the text a character key holds it in) and in the target's code page, so a
// key typed in one table finds its record in the other.
struct TableRelation
{
    CTable* owner = nullptr;
    std::string keyField;
    std::string targetName;
    CTable* target = nullptr; // shared through the database, which owns it
    FieldValue lookup;        // the key value built from the owner's current record
    std::unique_ptr<Expression> key; // computes the sought key (see targetField)
    bool textKey = true;      // the target's key index holds texts (else numbers)
    // The target's field its keys are computed from, when they come from one field (X,
    // STR(X), DTOC(X)): the owner's value is written into that field of `scratch`, a blank
    // record of the target, and `key`, the target's key expression, computes the sought key
    // from it as the target's records computed theirs. -1: `key` computes the owner's field
    // in the key's form directly.
    int targetField = -1;
    std::vector<std::uint8_t> scratch;
};

// One open table as the program sees it: the field catalogue, the current record and its
// buffer, navigation honouring the deleted, blank and expression filters and an optional
// index, typed reads and writes of field values (written through at once), append, delete
// and undelete, packing, the code page, indexes and relations.
//
// A table belongs to a TableDatabase (not owned), which gives it its directory, its index
// directory root and its default code page. Without a database the table cannot open
// (last error 3). Errors: operations return false and keep a TableError; the field and key
// operations that name fields throw CDBEngineException.
//
// Record numbers are 1-based; 0 means no current record.
class CTable
{
public:
    enum class DeletedFilter { kAll = 0, kNotDeleted = 1, kDeletedOnly = 2 };
    enum class BlankFilter { kAll = 0, kNotBlank = 1, kBlankOnly = 2 };

    // The longest filter expression; index keys may be up to kMaxIndexExpression long.
    static constexpr std::size_t kMaxFilterLength = 2048;
    static constexpr std::size_t kMaxIndexExpression = 4096;

    explicit CTable(TableDatabase* database);
    ~CTable();
    CTable(const CTable&) = delete;
    CTable& operator=(const CTable&) = delete;

    // Construction and files.
    [[nodiscard]] bool Open(const std::string& path, bool autodetect);
    void Close();
    bool IsOpen() const { return m_open; }
    [[nodiscard]] bool CreateTable(const std::string& path, const TableStructure& structure);
    [[nodiscard]] bool CopyStructure(const std::string& path, bool overwrite);
    [[nodiscard]] bool Pack();
    std::string TablePath() const;
    // The path the open table file was opened by; empty when closed.
    const std::string& FilePath() const;
    // Whether another file has taken the table's path since it was opened (a pack in another
    // window, a save over it, another program): what is written now reaches no file the
    // path leads to. False when closed.
    bool FileReplaced() const;
    std::uint8_t Version() const; // the header's version byte; 0 when closed
    void CopySettingsFrom(const CTable& other);
    const std::string& Name() const { return m_name; }
    const std::string& IndexDirectory() const { return m_indexDirectory; }
    TableDatabase* Database() const { return m_database; }

    // Catalogue. Field indexes are 0-based in descriptor order.
    int FieldCount() const;
    std::string FieldName(int i) const;
    int FieldLength(int i) const; // storage width
    int FieldDecimals(int i) const;
    char FieldType(int i) const;  // 0 for a bad index
    int FieldIndex(const std::string& name) const; // -1 when unknown
    // Throws kNoSuchField for an unknown name, which also becomes the last error.
    char FieldTypeByName(const std::string& name);
    const std::vector<FieldLayout>& Fields() const;
    int RecordLength() const;
    int HeaderLength() const;
    std::uint32_t RecordCount() const;
    std::uint32_t CurrentRecord() const;
    bool HasCurrentRecord() const;
    bool IsDeleted() const;
    bool IsBlank() const; // every byte of the record, flag included, a space or a NUL
    const std::uint8_t* RecordBuffer() const;

    // Values.
    FieldValue GetValue(int i, bool convert) const;
    FieldValue GetValueByName(const std::string& name, bool convert) const;
    [[nodiscard]] bool PutValue(std::uint32_t record, int i, const std::string& text, bool convert);
    [[nodiscard]] bool PutValueByName(std::uint32_t record, const std::string& name,
                                      const std::string& text, bool convert);
    [[nodiscard]] bool CopyRecordTo(CTable& other);

    // Records and navigation.
    [[nodiscard]] bool AppendBlank();
    [[nodiscard]] bool DeleteCurrent();
    [[nodiscard]] bool UndeleteCurrent();
    // Marks or unmarks records first..first+flags.size()-1 at once: flags[i] is '*' to mark
    // record first + i, ' ' to unmark it, 0 to leave it. Written a run of records at a time,
    // where DeleteCurrent writes once per record. False when a record is not there or a
    // read or write fails; the records before the failing run are then written.
    [[nodiscard]] bool WriteDeletionFlags(std::uint32_t first,
                                          const std::vector<std::uint8_t>& flags);
    // Forgets the records read ahead, so the next reads see the file as it is now.
    void ForgetReadAhead();
    // Visits records in place, without making them current, for passes over a whole table:
    // every record in file order with `allRecords`, otherwise those passing the filters in
    // the order GoTop and GoNext would take them. `visit` gets the record number and its
    // RecordLength() bytes (valid during the call) and returns false to stop early; it must
    // not move this table. Leaves no current record; false when a read failed.
    using RecordVisitor = bool (*)(void* context, std::uint32_t record, const std::uint8_t* bytes);
    [[nodiscard]] bool ScanRecords(bool allRecords, RecordVisitor visit, void* context);
    template <typename Visit> [[nodiscard]] bool ScanRecords(bool allRecords, Visit& visit)
    {
        return ScanRecords(allRecords,
            [](void* context, std::uint32_t record, const std::uint8_t* bytes) {
                return (*static_cast<Visit*>(context))(record, bytes);
            },
            &visit);
    }
    [[nodiscard]] bool GoTo(std::uint32_t record, bool refresh = true);
    [[nodiscard]] bool GoTop();
    [[nodiscard]] bool GoNext(bool refresh = true);
    [[nodiscard]] bool GoPrev(bool refresh = true);
    [[nodiscard]] bool SeekValue(const FieldValue& value);
    void ClearCurrent();
    bool PassesFilters() const;
    [[nodiscard]] bool SetFilterExpression(const std::string& text, bool convert);
    std::string GetFilterExpression(bool convert) const;
    DeletedFilter GetDeletedFilter() const { return m_deletedFilter; }
    void SetDeletedFilter(DeletedFilter filter) { m_deletedFilter = filter; }
    BlankFilter GetBlankFilter() const { return m_blankFilter; }
    void SetBlankFilter(BlankFilter filter) { m_blankFilter = filter; }
    const FieldValue& LastSeekValue() const { return m_seekValue; }

    // Expressions over this table's records.
    // A filter text: empty ones and those over kMaxFilterLength characters give nothing.
    std::unique_ptr<Expression> ParseExpression(const std::string& text, char* resultType) const;
    bool EvaluateExpression(Expression& expression, FieldValue& value, bool convert) const;

    // Indexes (kept in this table's index directory while the table is open).
    std::string KeyExpression(const std::vector<std::string>& fieldNames);
    std::string IndexFilePath(const std::string& name) const;
    [[nodiscard]] bool CreateIndex(const std::string& name, const std::string& expression, bool unique);
    [[nodiscard]] bool CreateIndexOnFields(const std::string& name,
                                           const std::vector<std::string>& fieldNames, bool unique);
    [[nodiscard]] bool UseIndex(const std::string& name);
    [[nodiscard]] bool SetKeyIndex(const std::string& name);
    [[nodiscard]] bool UseKeyIndex();
    void ClearIndex();
    const std::string& ActiveIndexName() const { return m_activeIndexName; }
    const std::string& KeyIndexName() const { return m_keyIndexName; }

    // Code page.
    CodePageId CodePage() const { return m_codePage; }
    [[nodiscard]] bool SetCodePage(CodePageId id, bool write);
    CodePageId DetectCodePage();

    // Relations.
    [[nodiscard]] bool AddRelation(const std::string& targetName, const std::string& keyField);
    const std::vector<std::unique_ptr<TableRelation>>& Relations() const { return m_relations; }

    // Memo file. A table whose memo file is missing or damaged still opens, as nothing the
    // table shows is read from it (a memo cell shows "<Memo>" when the record holds a block
    // number); what needs the memo texts, such as Pack, refuses with MemoError() and writes
    // nothing. MemoUnavailable() is true when the table has memo-type fields, keeps them in
    // a memo file it opens (every version but 0xF5), and that file could not be opened;
    // MemoError() says why (kNoMemoFile when it does not exist) and MemoFilePath() names the
    // memo file the table uses or looked for.
    bool MemoUnavailable() const { return m_memoError != DbfError::kNone; }
    DbfError MemoError() const { return m_memoError; }
    const std::string& MemoFilePath() const { return m_memoPath; }
    // The memo text field `i` of the current record refers to, in the table's code page:
    // empty for a blank field. False when the field is no memo field, the memo file is not
    // open, or the block number or the text is damaged.
    [[nodiscard]] bool ReadMemoText(int i, std::string* text);
    // The same for a record's bytes given (RecordLength() of them), as ScanRecords hands them.
    [[nodiscard]] bool ReadMemoText(int i, const std::uint8_t* record, std::string* text);

    TableError LastError() const { return m_lastError; }
    // The record-access layer's reason for the last failed open, read or write.
    DbfError LastFileError() const;

private:
    bool Fail(TableError error);
    std::unique_ptr<Expression> ParseWithin(const std::string& text, std::size_t limit,
                                            char* resultType) const;
    bool FailFile(DbfError error);
    bool CarryMemoTexts(std::uint8_t* record, MemoFile& into);
    bool ReadCurrent(std::uint32_t record);
    bool StepUntilPassing(bool forward, bool refresh);
    bool ScanForward();
    // Whether a record's bytes (RecordLength() of them) pass the deleted, blank and
    // expression filters. REQUIRES: the table is open.
    bool RecordPasses(const std::uint8_t* record) const;
    // Whether no filter is set, so that every record passes. REQUIRES: the table is open.
    bool PassesEveryRecord() const;
    // The first of the run's records from..count-1 (RecordLength() bytes each) that passes
    // the filters; count when none does. REQUIRES: the table is open.
    std::uint32_t NextPassing(const std::uint8_t* run, std::uint32_t from,
                              std::uint32_t count) const;
    bool PositionIndexOnCurrent();
    bool IndexStep(bool forward, std::uint32_t* record);
    void RefreshRelations();
    bool RelationKey(TableRelation& relation, ExprValue* value);
    bool OpenMemo();
    std::string ResolveTablePath(const std::string& path) const;

    TableDatabase* m_database;
    std::unique_ptr<DbfHandle> m_handle;
    bool m_open = false;
    std::string m_name;
    std::string m_indexDirectory;
    CodePageId m_codePage = CodePageId::kNone;
    DeletedFilter m_deletedFilter = DeletedFilter::kAll;
    BlankFilter m_blankFilter = BlankFilter::kAll;
    std::string m_activeIndexName;
    std::string m_keyIndexName;
    std::map<std::string, std::unique_ptr<TableIndex>> m_indexes;
    std::vector<std::unique_ptr<TableRelation>> m_relations;
    FieldValue m_seekValue;
    TableError m_lastError = TableError::kNone;
    DbfError m_fileError = DbfError::kNone; // a failed pack's reason
    DbfError m_memoError = DbfError::kNone; // why an open table has no memo file open
    std::string m_memoPath;
};

} // namespace table
