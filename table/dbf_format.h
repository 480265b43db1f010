#pragma once

#include <cstdint>
#include <string>

namespace table {

// Byte values and offsets of the DBF layout shared by the reader, the writer and the
// header check. All integers in the file are little-endian.
namespace dbf {

inline constexpr std::uint8_t kVersionDbase3 = 0x03;
inline constexpr std::uint8_t kVersionDbase3Memo = 0x83;
inline constexpr std::uint8_t kVersionDbase4 = 0x04;
inline constexpr std::uint8_t kVersionDbase4Memo = 0x8B;
inline constexpr std::uint8_t kVersionFoxProMemo = 0xF5;

inline constexpr std::uint8_t kHeaderTerminator = 0x0D;
inline constexpr std::uint8_t kEndOfFile = 0x1A;
inline constexpr std::uint8_t kActiveFlag = 0x20;
inline constexpr std::uint8_t kDeletedFlag = 0x2A;

inline constexpr std::uint32_t kFileHeaderSize = 32;
inline constexpr std::uint32_t kDescriptorSize = 32;
inline constexpr std::uint32_t kCodePageOffset = 29;
// The first 8 header bytes: version, date, record count. Appending rewrites just these.
inline constexpr std::uint32_t kHeaderPrefixSize = 8;

// The versions a table may have to be opened.
inline bool IsOpenableVersion(std::uint8_t version)
{
    return version == kVersionDbase3 || version == kVersionDbase3Memo || version == kVersionDbase4
        || version == kVersionDbase4Memo || version == kVersionFoxProMemo;
}

// Header length for n descriptors: header, descriptors and the terminator.
inline constexpr std::uint32_t HeaderLengthFor(std::uint32_t fieldCount)
{
    return kFileHeaderSize + kDescriptorSize * fieldCount + 1;
}

// Fields of an opened table are counted from its stored header length, not by finding the
// terminator: (header length - 33) / 32. A header shorter than 33 bytes has no fields.
inline constexpr std::uint32_t FieldCountFromHeaderLength(std::uint32_t headerLength)
{
    return headerLength < HeaderLengthFor(0) ? 0 : (headerLength - HeaderLengthFor(0)) / kDescriptorSize;
}

inline std::uint16_t GetU16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t GetU32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8)
        | (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline void PutU16(std::uint8_t* p, std::uint16_t v)
{
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void PutU32(std::uint8_t* p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

} // namespace dbf
} // namespace table
