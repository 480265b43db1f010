#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace platform {
class File;
}

namespace table {

// The code page of a table's character data. Only 866 changes behaviour: its text is DOS
// ("OEM") text and is converted to and from the Windows ("ANSI") text the user sees. kNone
// and 1251 both mean that the bytes are used as they are. kAutodetect is a choice offered to
// the user, never the code page of a table.
enum class CodePageId : std::uint16_t {
    kNone = 0,
    k866 = 866,
    k1251 = 1251,
    kAutodetect = 0xFFFF,
};

// Header byte 29 of a DBF file records the code page: 0x00 none, 0x65 for 866, 0xC9 for
// 1251. Lookups go through this fixed table in that order.
struct CodePageByte
{
    CodePageId id;
    std::uint8_t byte;
};
inline constexpr CodePageByte kCodePageBytes[] = {
    { CodePageId::kNone, 0x00 },
    { CodePageId::k866, 0x65 },
    { CodePageId::k1251, 0xC9 },
};

// The header byte of a code page; nothing for an id outside the table (kAutodetect, or any
// number that is not a code page).
std::optional<std::uint8_t> HeaderByteOf(CodePageId id);
// The code page a header byte records; nothing for a byte outside the table. Note that 0x00
// gives kNone: a table whose byte is 0x00 keeps the code page it had from elsewhere.
std::optional<CodePageId> CodePageOfHeaderByte(std::uint8_t byte);

// Bytes read for one decision when guessing a code page.
inline constexpr std::size_t kDetectBlockSize = 10240;
// The guess reads at most this many blocks (4,096,000 bytes): a large table of plain Latin
// text would otherwise be read whole before its window could open.
inline constexpr std::size_t kDetectMaxBlocks = 400;

// Guesses the code page of a table from its record area, which begins at `headerLength`.
// The area is read in blocks of kDetectBlockSize; the first block holding a byte that only
// 866 uses for letters (0x80..0xA5, 0xA7, 0xA9..0xAF) or one that only 1251 does (0xB8,
// 0xC0..0xDF, 0xF2..0xFB, 0xFD..0xFF) decides: 866 when it holds the former only, 1251 for
// the latter only, kNone when it holds both. Letters common to both code pages (0xE0..0xF1)
// and 0xA6, 0xA8, 0xFC decide nothing. No deciding block, an empty record area or a failed
// read give kNone. Only the first kDetectMaxBlocks blocks are read. The file is only read.
CodePageId DetectCodePage(platform::File& file, std::uint64_t headerLength);

// True when a table's text is stored in another form than the user's: code page 866.
constexpr bool IsOemCodePage(CodePageId id)
{
    return id == CodePageId::k866;
}

// Converts text in place between a table's bytes and the user's ANSI form: only when
// `convert` is asked by the caller and the table's code page is 866, else leaves it as it is.
void TableToAnsi(std::string& text, CodePageId codePage, bool convert);
void AnsiToTable(std::string& text, CodePageId codePage, bool convert);

} // namespace table
