#pragma once

#include <cstdint>
#include <string>

namespace platform {
class FileSystem;
}

// The sample tables `make run` opens: small tables that show what the program handles
// (code page 866 text, every field type, both memo forms, deleted records), one large
// table for browsing speed, one with a damaged header to try the repair question on, and
// the address classifier sample in a folder of its own (kladr_sample.h).
// All of it is invented data.
namespace samples {

// File names of the tables in the samples folder.
inline constexpr const char* kCustomers = "customers.dbf"; // code page 866, Cyrillic names
inline constexpr const char* kFieldTypes = "field_types.dbf"; // C N D L F M, dBASE III memo
inline constexpr const char* kBooks = "books_dbase4.dbf"; // version 0x8B, dBASE IV memo
inline constexpr const char* kDeleted = "deleted.dbf"; // every third record deleted
inline constexpr const char* kLarge = "million.dbf"; // the large table
inline constexpr const char* kDamaged = "damaged_header.dbf"; // record count too high

struct SampleOptions
{
    std::uint32_t largeRecordCount = 1'000'000;
};

// Counts the tables are written with, for those who check them.
inline constexpr std::uint32_t kCustomerCount = 40;
inline constexpr std::uint32_t kFieldTypesCount = 8;
inline constexpr std::uint32_t kBookCount = 6;
inline constexpr std::uint32_t kDeletedCount = 21; // 7 of them deleted, one record blank
inline constexpr std::uint32_t kDamagedCount = 10; // its header claims kDamagedCount + 3

// Writes every sample table into `directory` (created when missing), replacing tables of
// the same names. On failure gives false with an English reason in `*error`.
[[nodiscard]] bool WriteSampleTables(platform::FileSystem& fs, const std::string& directory,
    const SampleOptions& options, std::string* error);

} // namespace samples
