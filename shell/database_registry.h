#pragma once

#include <map>
#include <memory>
#include <string>

namespace platform {
class FileSystem;
}
namespace table {
class TableDatabase;
}

namespace shell {

// One table database per directory, made the first time a table of that directory opens and
// kept until the program ends, so that every window on the directory's tables shares its
// schema and its shared tables. Owns the databases; windows that show tables of a database
// must be gone before the registry is. The file system is not owned.
class DatabaseRegistry
{
public:
    static constexpr const char* kSchemaFileName = "default.sch";

    explicit DatabaseRegistry(platform::FileSystem& fs);
    ~DatabaseRegistry();
    DatabaseRegistry(const DatabaseRegistry&) = delete;
    DatabaseRegistry& operator=(const DatabaseRegistry&) = delete;

    // The database of `directory` (a trailing '/' is added when missing), made when the
    // directory exists; nullptr when it does not. The directory's schema file is merged into
    // the database at every call where it exists, so a schema edited since the last open is
    // seen by the next window.
    table::TableDatabase* Register(const std::string& directory);

    std::size_t Size() const { return m_databases.size(); }

private:
    platform::FileSystem& m_fs;
    std::map<std::string, std::unique_ptr<table::TableDatabase>> m_databases;
};

} // namespace shell
