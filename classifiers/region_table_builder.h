#pragma once

#include <cstdint>
#include <string>

namespace platform {
class FileSystem;
}
namespace table {
class CTable;
class TableDatabase;
}

namespace classifiers {

// Told how far the building of a region table has come, as a percentage of KLADR's records
// visited. Called once with 0 before the first record and after every record that moves
// the percentage, so each call is a change worth showing.
class RegionProgress
{
public:
    virtual ~RegionProgress() = default;
    virtual void SetProgress(int percent) = 0;
};

// Builds the region table of a classifier directory: "Region.dbf", with exactly the fields
// of the directory's KLADR table (opened through a TableDatabase of the directory as
// "KLADR.DBF"), holding KLADR's region records (IsRegionCode of their CODE) in file order,
// deleted ones included, each a copy of the KLADR record with its deletion mark.
//
// KLADR is only read. The new table is written complete under a temporary name and then
// renamed over "Region.dbf" (or the file of that name in another case), so a build that
// fails leaves the directory as it was: no half-built region table that would never be
// built again. The file system is not owned.
class RegionTableBuilder
{
public:
    enum class Result {
        kBuilt,
        kNoKladr,       // KLADR is not in the directory or cannot be opened as a table
        kNoCodeField,   // KLADR has no character field CODE
        kMemoFields,    // KLADR has memo fields, which no KLADR has: a region table of it
                        // would point into a memo file it does not have
        kCreateFailed,  // the new table could not be made in the directory
        kReadFailed,    // a KLADR record could not be read
        kWriteFailed,
    };

    explicit RegionTableBuilder(platform::FileSystem& fs);

    // `directory` with or without its trailing '/', through a database of its own that is
    // discarded afterwards; `progress` may be null.
    [[nodiscard]] Result Build(const std::string& directory, RegionProgress* progress);
    // The same through `database`, the directory's database of the program: KLADR is taken
    // from it and given back, and the database's index directory stays as it was.
    // REQUIRES: the database is valid.
    [[nodiscard]] Result Build(table::TableDatabase& database, RegionProgress* progress);

    // The KLADR records visited and those copied into the region table by the last Build.
    std::uint32_t Visited() const { return m_visited; }
    std::uint32_t Kept() const { return m_kept; }
    // The region table's path after a build.
    const std::string& RegionPath() const { return m_regionPath; }

private:
    Result BuildFrom(table::CTable& kladr, RegionProgress* progress);

    platform::FileSystem& m_fs;
    std::uint32_t m_visited = 0;
    std::uint32_t m_kept = 0;
    std::string m_regionPath;
};

// Where the region table of `directory` (ending in '/') is: the existing file named
// "Region.dbf" in any case, or the name a new one takes.
std::string RegionTablePath(platform::FileSystem& fs, const std::string& directory);

} // namespace classifiers
