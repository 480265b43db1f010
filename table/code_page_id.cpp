#include "table/code_page_id.h"

#include "platform/code_page.h"
#include "platform/file_system.h"

#include <array>
#include <vector>

namespace table {
namespace {

enum class ByteClass : std::uint8_t { kNeither, kOemLetter, kAnsiLetter };

// Bytes that are letters in one code page and not in the other. Bytes that are letters in
// both (0xE0..0xF1) say nothing. So do 0xA6, 0xA8 (ж and и of 866, ¦ and Ё of 1251) and 0xFC
// (ь of 1251, № of 866): a text whose only telling letters are these stays undecided.
constexpr std::array<ByteClass, 256> MakeByteClasses()
{
    std::array<ByteClass, 256> classes {};
    auto mark = [&classes](int from, int to, ByteClass cls) {
        for (int c = from; c <= to; ++c)
            classes[static_cast<std::size_t>(c)] = cls;
    };
    mark(0x80, 0x9F, ByteClass::kOemLetter);
    mark(0xA0, 0xA5, ByteClass::kOemLetter);
    mark(0xA7, 0xA7, ByteClass::kOemLetter);
    mark(0xA9, 0xAF, ByteClass::kOemLetter);
    mark(0xB8, 0xB8, ByteClass::kAnsiLetter);
    mark(0xC0, 0xDF, ByteClass::kAnsiLetter);
    mark(0xF2, 0xFB, ByteClass::kAnsiLetter);
    mark(0xFD, 0xFF, ByteClass::kAnsiLetter);
    return classes;
}

constexpr std::array<ByteClass, 256> kByteClasses = MakeByteClasses();

} // namespace

std::optional<std::uint8_t> HeaderByteOf(CodePageId id)
{
    for (const CodePageByte& entry : kCodePageBytes) {
        if (entry.id == id)
            return entry.byte;
    }
    return std::nullopt;
}

std::optional<CodePageId> CodePageOfHeaderByte(std::uint8_t byte)
{
    for (const CodePageByte& entry : kCodePageBytes) {
        if (entry.byte == byte)
            return entry.id;
    }
    return std::nullopt;
}

CodePageId DetectCodePage(platform::File& file, std::uint64_t headerLength)
{
    std::vector<unsigned char> block(kDetectBlockSize);
    bool oem = false;
    bool ansi = false;
    std::uint64_t offset = headerLength;
    for (;;) {
        std::size_t got = 0;
        // Every block before this one decided nothing, so a failed read leaves no guess.
        if (!file.ReadAt(offset, block.data(), block.size(), &got))
            return CodePageId::kNone;
        for (std::size_t i = 0; i < got; ++i) {
            switch (kByteClasses[block[i]]) {
            case ByteClass::kOemLetter:
                oem = true;
                break;
            case ByteClass::kAnsiLetter:
                ansi = true;
                break;
            case ByteClass::kNeither:
                break;
            }
        }
        if (oem || ansi || got < block.size())
            break;
        offset += got;
        if (offset - headerLength >= kDetectBlockSize * kDetectMaxBlocks)
            break;
    }
    if (oem && !ansi)
        return CodePageId::k866;
    if (ansi && !oem)
        return CodePageId::k1251;
    return CodePageId::kNone;
}

void TableToAnsi(std::string& text, CodePageId codePage, bool convert)
{
    if (convert && IsOemCodePage(codePage))
        platform::OemToAnsi(text);
}

void AnsiToTable(std::string& text, CodePageId codePage, bool convert)
{
    if (convert && IsOemCodePage(codePage))
        platform::AnsiToOem(text);
}

} // namespace table
