#pragma once

#include "table/field_def.h"

#include <cstdint>
#include <string>

namespace platform {
class File;
}

namespace table {

// The fields of a table with the header values read from its file. It is what the header
// reader gives, what creation of a new table takes, and what the properties view shows.
struct TableStructure
{
    FieldList fields;
    std::uint8_t version = 0x03;
    std::uint8_t year = 0; // year of last update modulo 100
    std::uint8_t month = 0;
    std::uint8_t day = 0;
    std::uint32_t recordCount = 0;
    std::uint16_t headerLength = 0;
    std::uint16_t recordLength = 0;
    std::uint64_t fileLength = 0;
    std::string fileName;
};

// What reading a structure from a file found besides the structure itself.
struct StructureReadResult
{
    bool ok = false;               // false: the file could not be read (shorter than 32 bytes)
    bool terminatorFound = false;  // the last peeked byte was 0x0D
    bool descriptorLimitHit = false; // 257 descriptors were read
};

// The largest number of descriptors the reader takes before giving up on a terminator.
inline constexpr int kMaxDescriptorsRead = 257;

// Reads the header values and the descriptors up to the 0x0D terminator, the end of the
// file or the 257th descriptor, whichever comes first. A descriptor cut by the end of the
// file ends the list without being added. `fileName` is recorded as given.
StructureReadResult ReadTableStructure(platform::File& file, const std::string& fileName,
                                       TableStructure* structure);

} // namespace table
