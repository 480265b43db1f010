#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace table {

// The key kinds an index file holds; the numbers are those of the header's key type field.
enum class NdxKeyType : std::uint16_t { kCharacter = 0, kNumeric = 1 };

// Why an index file could not be built, opened or read.
enum class NdxError {
    kNone = 0,
    kOpenFailed, // the system refused to open or create the file (LastSystemError() says why)
    kNotOpen, // the operation needs an open index
    kReadFailed, // the system failed a read, or the file ended inside a page
    kWriteFailed, // the system failed a write while the file was built
    kRenameFailed, // the finished file could not be put in place
    kDuplicateKey, // a unique index was given two records with the same key
    kBadExpression, // a key expression longer than the file holds, or with a NUL byte
    kBadHeader, // a header value out of its range or contradicting the file's size
    kBadPage, // a page whose count, children or place in the tree is impossible
};

// A short English description of a code, for the command-line tool and test messages.
const char* NdxErrorText(NdxError error);

// The index file layout: the dBASE NDX form, with the choices the program makes where that
// form leaves room. All integers are little-endian; the file is a whole number of 512-byte
// pages, page 0 being the header.
//
// Header page:
//   0  u32  root page
//   4  u32  page count of the file, header included (the file is exactly this long)
//   8  u32  length in bytes of the key expression
//  12  u16  key length K: 8 for numeric keys, 1..244 for character keys
//  14  u16  keys per page M = (512 - 8) / E
//  16  u16  key type: 0 character, 1 numeric
//  18  u16  entry size E = K + 8 rounded up to a multiple of 4 (bytes 20-21 are zero)
//  22  u8   zero
//  23  u8   unique flag, 0 or 1
//  24       the key expression, NUL-terminated, in the 488 bytes up to the page's end.
// An expression of up to 487 bytes lives there whole. A longer one (up to 4096 bytes) keeps
// its first 487 bytes there and is stored whole in continuation pages 1..ceil(length / 512)
// that follow the header; the tree's pages come after them.
//
// Tree page: u32 key count n at 0, then n entries of E bytes from offset 4. An entry is
// u32 child page, u32 record number, K key bytes, zero padding. In a leaf every child is 0
// and every record number is a record (non-zero). An interior page has n + 1 children: the
// n entries' children and a trailing child page number at offset 4 + n * E; M leaves room
// for it. An interior entry carries the key and record number of the greatest entry below
// its child, so a descent by (key, record number) lands on exactly one of equal keys. A page
// is interior exactly when the u32 at offset 4 (its first child) is non-zero.
//
// Character keys are stored padded with blanks (0x20) to K and compare byte-wise unsigned;
// longer keys are cut to K. K is capped at 244 so that a page holds at least two entries
// and an interior page at least three children. Numeric keys are IEEE doubles; they compare
// as numbers, -0 equal to 0. Entries are ordered by (key, record number) and every leaf lies
// at the same depth. A file with no entries has one empty leaf as its root.
namespace ndx {

inline constexpr std::uint32_t kPageSize = 512;
inline constexpr std::uint16_t kMaxKeyLength = 244;
inline constexpr std::uint16_t kNumericKeyLength = 8;
inline constexpr std::uint32_t kMaxExpressionLength = 4096;
inline constexpr std::uint32_t kExpressionOffset = 24;
// Bytes of expression text the header holds before its terminating NUL.
inline constexpr std::uint32_t kHeaderExpressionBytes = kPageSize - kExpressionOffset - 1;
inline constexpr std::uint32_t kEntriesOffset = 4;
// No file the program writes is deeper: it gives every interior page two children at least,
// and a table has fewer than 2^32 records.
inline constexpr std::uint32_t kMaxHeight = 40;
inline constexpr std::uint8_t kPad = 0x20;

inline constexpr std::uint16_t EntrySizeFor(std::uint16_t keyLength)
{
    return static_cast<std::uint16_t>((keyLength + 8 + 3) / 4 * 4);
}
inline constexpr std::uint16_t KeysPerPageFor(std::uint16_t entrySize)
{
    return static_cast<std::uint16_t>((kPageSize - 8) / entrySize);
}
// Continuation pages an expression of `length` bytes needs after the header.
inline constexpr std::uint32_t ExpressionPagesFor(std::uint32_t length)
{
    return length <= kHeaderExpressionBytes ? 0 : (length + kPageSize - 1) / kPageSize;
}

// The header values, as stored.
struct Header
{
    std::uint32_t root = 0;
    std::uint32_t pageCount = 0;
    std::uint32_t expressionLength = 0;
    std::uint16_t keyLength = 0;
    std::uint16_t keysPerPage = 0;
    NdxKeyType keyType = NdxKeyType::kCharacter;
    std::uint16_t entrySize = 0;
    bool unique = false;

    // First page of the tree, after the header and the expression's continuation pages.
    std::uint32_t FirstTreePage() const { return 1 + ExpressionPagesFor(expressionLength); }
};

// Writes the header page: the values and the expression's first part. REQUIRES: `page`
// holds kPageSize bytes.
void EncodeHeader(const Header& header, std::string_view expression, std::uint8_t* page);
// Reads and checks a header page against the file's size: every value in its range,
// entry size and keys per page as the key length implies, pages that fit the file, the
// expression's first part of the stated length. Gives the expression's first part.
[[nodiscard]] bool DecodeHeader(
    const std::uint8_t* page, std::uint64_t fileSize, Header* header, std::string* expressionStart);

// A number's place in key order as an unsigned integer: equal numbers (0 and -0 included)
// give equal values and smaller numbers smaller ones, so numeric keys sort like bytes.
inline std::uint64_t NumberOrder(double number)
{
    if (number == 0)
        return std::uint64_t { 1 } << 63;
    const auto bits = std::bit_cast<std::uint64_t>(number);
    return (bits >> 63) ? ~bits : bits | (std::uint64_t { 1 } << 63);
}

inline double NumberFromOrder(std::uint64_t order)
{
    return std::bit_cast<double>((order >> 63) ? order & ~(std::uint64_t { 1 } << 63) : ~order);
}

inline double LoadDouble(const std::uint8_t* p)
{
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = (bits << 8) | p[i];
    return std::bit_cast<double>(bits);
}
inline void StoreDouble(std::uint8_t* p, double number)
{
    auto bits = std::bit_cast<std::uint64_t>(number == 0 ? 0.0 : number);
    for (int i = 0; i < 8; ++i, bits >>= 8)
        p[i] = static_cast<std::uint8_t>(bits);
}

} // namespace ndx
} // namespace table
