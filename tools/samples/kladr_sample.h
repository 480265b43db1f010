#pragma once

#include <cstdint>
#include <string>

namespace platform {
class FileSystem;
}

// The address classifier sample: the tables KLADR (regions, districts, cities and
// settlements) and STREET (their streets) with the fields and code layout of the real
// classifier, code page 866 text with the header's code-page byte left 0 as the real files
// have it, and no region table, which the program builds when the folder is first opened.
// Invented data.
namespace samples {

inline constexpr const char* kKladrFolder = "kladr"; // below the samples folder
inline constexpr const char* kKladrTable = "Kladr.dbf";
inline constexpr const char* kStreetTable = "Street.dbf";

struct KladrSampleOptions
{
    // KLADR's records, exactly: six regions, each with its cities and twenty districts, the
    // districts sharing out the settlements (a few of them also listed under an earlier
    // name, as the classifier keeps renamed places).
    std::uint32_t kladrRecords = 30'000;
    bool streets = true; // whether Street.dbf is written
};

// The regions of the sample and their codes' two digits, for those who check the tables.
inline constexpr int kKladrRegionCount = 6;

// Writes Kladr.dbf and Street.dbf into `directory` (created when missing), replacing tables
// of the same names; a Region.dbf left there from an earlier run is removed, so the sample
// opens as new. On failure gives false with an English reason in `*error`.
[[nodiscard]] bool WriteKladrSample(platform::FileSystem& fs, const std::string& directory,
    const KladrSampleOptions& options, std::string* error);

} // namespace samples
