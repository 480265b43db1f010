#pragma once

#include "schema/schema_problem.h"
#include "schema/schema_table.h"

#include <optional>
#include <string>

namespace platform {
class FileSystem;
}

namespace schema {

// The schema of a database directory: what the program knows about the directory's tables
// beyond their files (descriptions, key fields, name fields, relations), kept in the text
// file "default.sch" of the directory (format in schema/schema_file.h). The table database
// of a directory derives from it.
//
// Tables are kept by value under their upper-case key; a SchemaTable reference stays valid
// until that table is removed or the schema is destroyed (a load that replaces a table
// assigns to the same object). The file system is not owned and must outlive the schema.
// Not copyable.
class DatabaseSchema
{
public:
    // `directory` is where the schema file lives; a '/' is added when it lacks one. Empty
    // means the working directory.
    explicit DatabaseSchema(platform::FileSystem& fs, std::string directory = {});
    virtual ~DatabaseSchema();
    DatabaseSchema(const DatabaseSchema&) = delete;
    DatabaseSchema& operator=(const DatabaseSchema&) = delete;

    // The database directory, ending in '/' unless empty.
    const std::string& Directory() const { return m_directory; }

    // Merges the schema file `fileName` of the directory (found in any letter case) into the
    // schema: each table the file names replaces the schema's table of that name; the others
    // stay. False, with the schema unchanged, when the file is missing or cannot be read to
    // its end. Lines it does not understand are skipped, not reported.
    [[nodiscard]] bool LoadSchema(const std::string& fileName);
    // Writes the whole schema to `fileName` in the directory, replacing an existing file of
    // that name in any letter case. The new text goes to a temporary file beside it, which
    // then takes the name with one rename: readers see the old file or the new one, never a
    // part, and on failure (false) the old file is as it was.
    [[nodiscard]] bool SaveSchema(const std::string& fileName) const;

    // The table of that name, upper-cased first; nullptr when the schema has none.
    SchemaTable* FindTable(const std::string& name);
    const SchemaTable* FindTable(const std::string& name) const;
    // The table of that name (upper-cased), added empty when the schema has none.
    // REQUIRES: name not empty.
    SchemaTable& AddTable(const std::string& name);
    // Removes the table of that name (upper-cased); false when there was none.
    bool RemoveTable(const std::string& name);
    const SchemaTableMap& Tables() const { return m_tables; }

    // Checks every relation of every table, in key order and then relation order, and gives
    // the first fault: the related table is not in the schema, has no key fields, or has no
    // name field. Nothing when every relation can show the related record's name.
    std::optional<SchemaProblem> TestSchema() const;

protected:
    // For the database that derives from the schema and owns the directory's validity.
    void SetDirectory(std::string directory);
    platform::FileSystem& Files() const { return m_fs; }

private:
    platform::FileSystem& m_fs;
    std::string m_directory;
    SchemaTableMap m_tables;
};

} // namespace schema
