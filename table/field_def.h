#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace table {

// One column of a table as its descriptor gives it. The length and decimal count are the
// descriptor's bytes; a character field stores decimals * 256 + length bytes, which lets
// character fields grow past 255 bytes.
struct FieldDef
{
    std::string name; // at most 10 significant characters
    char type = 'C';  // type letter as stored
    std::uint8_t length = 0;
    std::uint8_t decimals = 0;

    // Bytes the field takes in a record.
    std::uint32_t StorageWidth() const
    {
        return type == 'C' ? static_cast<std::uint32_t>(decimals) * 256u + length : length;
    }
    // M, B and O fields keep their contents in a memo file.
    bool IsMemoType() const { return type == 'M' || type == 'B' || type == 'O'; }

    friend bool operator==(const FieldDef&, const FieldDef&) = default;
};

using FieldList = std::vector<FieldDef>;

// A field with its place in the record: `offset` counts from the record's first byte
// (the deletion flag), so the first field starts at offset 1.
struct FieldLayout
{
    FieldDef def;
    std::uint32_t offset = 0;
    std::uint32_t width = 0;
};

} // namespace table
