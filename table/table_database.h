#pragma once

#include "schema/database_schema.h"
#include "table/code_page_id.h"

#include <map>
#include <memory>
#include <string>

namespace platform {
class FileSystem;
}

namespace table {

class CTable;

// The tables of one directory: its schema, the temporary index root "TmpIndex/" below it,
// the code page given to tables whose file records none, and the tables opened by name and
// shared (relations open their targets here). Owns the shared tables; they are deleted with
// the database or when their last user releases them. The file system is not owned.
class TableDatabase : public schema::DatabaseSchema
{
public:
    explicit TableDatabase(platform::FileSystem& fs);
    ~TableDatabase() override;

    // Makes `directory` the database directory when it exists (valid), else the database
    // is not valid and keeps no directory.
    bool SetDatabaseDirectory(const std::string& directory);
    bool IsValid() const { return m_valid; }
    const std::string& TempIndexRoot() const { return m_tempIndexRoot; }

    CodePageId DefaultCodePage() const { return m_defaultCodePage; }
    void SetDefaultCodePage(CodePageId id) { m_defaultCodePage = id; }

    // The shared table of that name (upper-cased, a trailing ".DBF" removed), opened with
    // code-page detection on first use; its reference count grows with each call. Nothing
    // when it cannot be opened.
    CTable* OpenTable(const std::string& name);
    // Gives back one reference; the table is closed and deleted with the last one.
    void ReleaseTable(const std::string& name);
    int ReferenceCount(const std::string& name) const;

    // Deletes every shared table and removes the temporary index root.
    void Close();

    platform::FileSystem& FileSystem() const { return Files(); }

private:
    struct SharedTable
    {
        std::unique_ptr<CTable> table;
        int references = 0;
    };
    static std::string KeyOf(const std::string& name);

    bool m_valid = false;
    std::string m_tempIndexRoot;
    CodePageId m_defaultCodePage = CodePageId::kNone;
    std::map<std::string, SharedTable> m_openTables;
};

} // namespace table
