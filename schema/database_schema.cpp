#include "schema/database_schema.h"

#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/whole_file.h"
#include "schema/schema_file.h"

#include <cassert>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace schema {
namespace {

std::string UpperKey(std::string name)
{
    platform::ToUpper1251(name);
    return name;
}

constexpr std::size_t kReadBlock = 64 * 1024;

} // namespace

DatabaseSchema::DatabaseSchema(platform::FileSystem& fs, std::string directory)
    : m_fs(fs)
{
    SetDirectory(std::move(directory));
}

DatabaseSchema::~DatabaseSchema() = default;

void DatabaseSchema::SetDirectory(std::string directory)
{
    if (!directory.empty() && directory.back() != '/')
        directory += '/';
    m_directory = std::move(directory);
}

bool DatabaseSchema::LoadSchema(const std::string& fileName)
{
    const std::string wanted = m_directory + fileName;
    const auto path = platform::FindEntryNoCase(
        m_fs, platform::DirectoryOf(wanted), platform::FileNameOf(wanted));
    if (!path)
        return false;
    auto file = m_fs.Open(*path, platform::OpenMode::kRead, nullptr);
    if (!file)
        return false;

    // The whole file is read before anything is merged, so a read that fails half-way
    // leaves the schema as it was rather than half-loaded.
    SchemaFileReader reader;
    std::vector<char> buffer(kReadBlock);
    std::string line;
    std::uint64_t offset = 0;
    while (true) {
        std::size_t got = 0;
        if (!file->ReadAt(offset, buffer.data(), buffer.size(), &got))
            return false;
        offset += got;
        std::string_view chunk(buffer.data(), got);
        for (auto end = chunk.find('\n'); end != std::string_view::npos; end = chunk.find('\n')) {
            line.append(chunk.substr(0, end));
            reader.ReadLine(line);
            line.clear();
            chunk.remove_prefix(end + 1);
        }
        line.append(chunk);
        if (got < buffer.size())
            break;
    }
    reader.ReadLine(line);

    for (auto& [name, table] : reader.Finish())
        m_tables.insert_or_assign(name, std::move(table));
    return true;
}

bool DatabaseSchema::SaveSchema(const std::string& fileName) const
{
    const std::string wanted = m_directory + fileName;
    // Replacing an existing file whatever its letter case keeps one schema file in the
    // directory, as on the systems where the names would be the same file.
    const std::string path = platform::FindEntryNoCase(
        m_fs, platform::DirectoryOf(wanted), platform::FileNameOf(wanted))
                                 .value_or(wanted);
    return SchemaFileWritable(m_tables)
        && platform::ReplaceWholeFile(m_fs, path, SchemaFileText(m_tables));
}

SchemaTable* DatabaseSchema::FindTable(const std::string& name)
{
    const auto it = m_tables.find(UpperKey(name));
    return it == m_tables.end() ? nullptr : &it->second;
}

const SchemaTable* DatabaseSchema::FindTable(const std::string& name) const
{
    const auto it = m_tables.find(UpperKey(name));
    return it == m_tables.end() ? nullptr : &it->second;
}

SchemaTable& DatabaseSchema::AddTable(const std::string& name)
{
    assert(!name.empty());
    return m_tables[UpperKey(name)];
}

bool DatabaseSchema::RemoveTable(const std::string& name)
{
    return m_tables.erase(UpperKey(name)) > 0;
}

std::optional<SchemaProblem> DatabaseSchema::TestSchema() const
{
    for (const auto& [key, table] : m_tables) {
        for (const SchemaRelation& relation : table.relations) {
            const SchemaTable* related = FindTable(relation.tableName);
            if (!related)
                return SchemaProblem { SchemaProblemKind::kAbsentTable, key, relation.tableName };
            if (related->keyFields.empty())
                return SchemaProblem { SchemaProblemKind::kReferencedWithoutKey, key,
                    relation.tableName };
            if (related->nameField.empty())
                return SchemaProblem { SchemaProblemKind::kReferencedWithoutName, key,
                    relation.tableName };
        }
    }
    return std::nullopt;
}

} // namespace schema
