#include "shell/database_registry.h"

#include "platform/file_system.h"
#include "table/table_database.h"

namespace shell {
namespace {

std::string WithSlash(std::string directory)
{
    if (directory.empty() || directory.back() != '/')
        directory += '/';
    return directory;
}

} // namespace

DatabaseRegistry::DatabaseRegistry(platform::FileSystem& fs)
    : m_fs(fs)
{
}

DatabaseRegistry::~DatabaseRegistry() = default;

table::TableDatabase* DatabaseRegistry::Register(const std::string& directory)
{
    const std::string key = WithSlash(directory);
    auto it = m_databases.find(key);
    if (it == m_databases.end()) {
        auto database = std::make_unique<table::TableDatabase>(m_fs);
        if (!database->SetDatabaseDirectory(key))
            return nullptr;
        it = m_databases.emplace(key, std::move(database)).first;
    }
    // A directory without a schema file is an ordinary directory of tables.
    (void)it->second->LoadSchema(kSchemaFileName);
    return it->second.get();
}

} // namespace shell
