#include "table/table_database.h"

#include "platform/code_page.h"
#include "platform/file_system.h"
#include "table/table.h"

namespace table {

TableDatabase::TableDatabase(platform::FileSystem& fs)
    : schema::DatabaseSchema(fs)
{
}

TableDatabase::~TableDatabase()
{
    Close();
}

bool TableDatabase::SetDatabaseDirectory(const std::string& directory)
{
    if (directory.empty() || !Files().IsDirectory(directory)) {
        m_valid = false;
        return false;
    }
    std::string dir = directory;
    if (dir.back() != '/')
        dir += '/';
    SetDirectory(dir);
    m_tempIndexRoot = dir + "TmpIndex/";
    m_valid = true;
    return true;
}

std::string TableDatabase::KeyOf(const std::string& name)
{
    std::string key = name;
    platform::ToUpper1251(key);
    if (key.size() >= 4 && key.compare(key.size() - 4, 4, ".DBF") == 0)
        key.erase(key.size() - 4);
    return key;
}

CTable* TableDatabase::OpenTable(const std::string& name)
{
    const std::string key = KeyOf(name);
    if (auto it = m_openTables.find(key); it != m_openTables.end()) {
        ++it->second.references;
        return it->second.table.get();
    }
    auto table = std::make_unique<CTable>(this);
    if (!table->Open(Directory() + key, true))
        return nullptr;
    CTable* shared = table.get();
    m_openTables[key] = { std::move(table), 1 };
    return shared;
}

void TableDatabase::ReleaseTable(const std::string& name)
{
    const auto it = m_openTables.find(KeyOf(name));
    if (it == m_openTables.end())
        return;
    if (--it->second.references <= 0)
        m_openTables.erase(it);
}

int TableDatabase::ReferenceCount(const std::string& name) const
{
    const auto it = m_openTables.find(KeyOf(name));
    return it == m_openTables.end() ? 0 : it->second.references;
}

void TableDatabase::Close()
{
    // Tables release their relation targets as they close; they find the map already empty.
    auto tables = std::move(m_openTables);
    m_openTables.clear();
    tables.clear();
    if (m_valid && Files().IsDirectory(m_tempIndexRoot))
        (void)Files().RemoveAll(m_tempIndexRoot);
}

} // namespace table
