#pragma once

#include <cstdint>
#include <string>

namespace platform {
class FileSystem;
}

// The sample database: a directory of related tables in code page 866, as an accounting
// program keeps its catalogues (goods, their groups and their units), with the schema file
// "default.sch" that describes them: titles for the fields, key and name fields, and the
// relations from goods to groups and units and from a group to its parent group. Opening
// GOODS.DBF shows group and unit names in place of their codes; File > Database schema on
// the directory shows and tests the schema. Invented data.
namespace samples {

inline constexpr const char* kDatabaseFolder = "database"; // below the samples folder
inline constexpr const char* kGoods = "GOODS.DBF";
inline constexpr const char* kGroups = "GROUPS.DBF";
inline constexpr const char* kUnits = "UNITS.DBF";
inline constexpr std::uint32_t kGoodsCount = 3000;

// Writes the tables and the schema file into `directory` (created when missing), replacing
// files of the same names. On failure gives false with an English reason in `*error`.
[[nodiscard]] bool WriteSampleDatabase(
    platform::FileSystem& fs, const std::string& directory, std::string* error);

} // namespace samples
