#include "table/code_page_id.h"

#include "platform/file_system.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/table_builder.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#include <string>

namespace {

using table::CodePageId;
using testing_support::TableBuilder;
using testing_support::TempDir;

// One record of a single 255-byte character field is 256 bytes with its flag, so 40 records
// fill one detection block exactly.
constexpr int kRecordsPerBlock = 40;

class CodePageIdTest : public ::testing::Test
{
protected:
    static TableBuilder Table()
    {
        TableBuilder b;
        b.Field("NAME", 'C', 255);
        return b;
    }

    // Plain ASCII records, then one record holding `bytes`.
    static TableBuilder AsciiThen(int asciiRecords, const std::string& bytes)
    {
        TableBuilder b = Table();
        for (int i = 0; i < asciiRecords; ++i)
            b.Record("Ivanov Ivan " + std::to_string(i));
        if (!bytes.empty())
            b.Record(bytes);
        return b;
    }

    CodePageId Detect(const TableBuilder& b, platform::FileSystem& fs)
    {
        b.Write(dir.File("t.dbf"));
        auto file = fs.Open(dir.File("t.dbf"), platform::OpenMode::kRead, nullptr);
        EXPECT_TRUE(file);
        return file ? table::DetectCodePage(*file, b.TrueHeaderLength()) : CodePageId::kAutodetect;
    }
    CodePageId Detect(const TableBuilder& b) { return Detect(b, platform::FileSystem::Default()); }

    TempDir dir;
};

TEST_F(CodePageIdTest, HeaderByteTableBothWays)
{
    EXPECT_EQ(table::HeaderByteOf(CodePageId::kNone), 0x00);
    EXPECT_EQ(table::HeaderByteOf(CodePageId::k866), 0x65);
    EXPECT_EQ(table::HeaderByteOf(CodePageId::k1251), 0xC9);
    EXPECT_EQ(table::HeaderByteOf(CodePageId::kAutodetect), std::nullopt);
    EXPECT_EQ(table::HeaderByteOf(static_cast<CodePageId>(437)), std::nullopt);

    EXPECT_EQ(table::CodePageOfHeaderByte(0x00), CodePageId::kNone);
    EXPECT_EQ(table::CodePageOfHeaderByte(0x65), CodePageId::k866);
    EXPECT_EQ(table::CodePageOfHeaderByte(0xC9), CodePageId::k1251);
    EXPECT_EQ(table::CodePageOfHeaderByte(0x57), std::nullopt);
    EXPECT_EQ(table::CodePageOfHeaderByte(0xFF), std::nullopt);
}

TEST_F(CodePageIdTest, ConvertsOnlyWhenAskedAndTheCodePageIs866)
{
    const std::string ansi = "\xCA\xE8\xE5\xE2 1"; // "Киев 1" in 1251
    const std::string oem = "\x8A\xA8\xA5\xA2 1"; // the same in 866
    for (const CodePageId cp : { CodePageId::kNone, CodePageId::k866, CodePageId::k1251 }) {
        for (const bool convert : { false, true }) {
            const bool converts = convert && cp == CodePageId::k866;
            std::string text = oem;
            table::TableToAnsi(text, cp, convert);
            EXPECT_EQ(text, converts ? ansi : oem);
            text = ansi;
            table::AnsiToTable(text, cp, convert);
            EXPECT_EQ(text, converts ? oem : ansi);
        }
    }
}

TEST_F(CodePageIdTest, EachByteOfTheTwoLetterSetsDecidesAlone)
{
    auto inOemSet
        = [](int c) { return (c >= 0x80 && c <= 0xA5) || c == 0xA7 || (c >= 0xA9 && c <= 0xAF); };
    auto inAnsiSet = [](int c) {
        return c == 0xB8 || (c >= 0xC0 && c <= 0xDF) || (c >= 0xF2 && c <= 0xFB) || c >= 0xFD;
    };
    for (int c = 0; c < 256; ++c) {
        CodePageId expected = CodePageId::kNone;
        if (inOemSet(c))
            expected = CodePageId::k866;
        else if (inAnsiSet(c))
            expected = CodePageId::k1251;
        EXPECT_EQ(Detect(AsciiThen(1, std::string(1, static_cast<char>(c)))), expected)
            << std::hex << c;
    }
}

TEST_F(CodePageIdTest, LettersOfBothCodePagesDecideNothing)
{
    // 0xE0..0xF1 are letters in both; 0xA6, 0xA8 and 0xFC are left out of both sets.
    std::string shared;
    for (int c = 0xE0; c <= 0xF1; ++c)
        shared.push_back(static_cast<char>(c));
    EXPECT_EQ(Detect(AsciiThen(3, shared + "\xA6\xA8\xFC")), CodePageId::kNone);
    // Both sets in one block make the guess fail, whatever the next block holds.
    EXPECT_EQ(Detect(AsciiThen(3, "\x8E\xC0")), CodePageId::kNone);
    TableBuilder both = AsciiThen(3, "\x8E\xC0");
    for (int i = 0; i < kRecordsPerBlock; ++i)
        both.Record("\xC0");
    EXPECT_EQ(Detect(both), CodePageId::kNone);
}

TEST_F(CodePageIdTest, FirstBlockWithATellingByteDecides)
{
    // The telling byte in the second block: the plain first block decides nothing.
    EXPECT_EQ(Detect(AsciiThen(kRecordsPerBlock, "\xC0")), CodePageId::k1251);
    EXPECT_EQ(Detect(AsciiThen(kRecordsPerBlock, "\x8E")), CodePageId::k866);
    EXPECT_EQ(Detect(AsciiThen(kRecordsPerBlock + 500, "\x8E")), CodePageId::k866);

    // A 1251 letter in the last byte of the first block wins over 866 letters after it.
    TableBuilder b = AsciiThen(kRecordsPerBlock - 1, std::string(254, 'x') + "\xC0");
    for (int i = 0; i < 3; ++i)
        b.Record("\x8E\x8F");
    EXPECT_EQ(Detect(b), CodePageId::k1251);
    // The guess stops after its last block: a telling byte beyond it is not seen.
    const int blocks = static_cast<int>(table::kDetectMaxBlocks);
    EXPECT_EQ(Detect(AsciiThen(kRecordsPerBlock * (blocks - 1), "\xC0")), CodePageId::k1251);
    EXPECT_EQ(Detect(AsciiThen(kRecordsPerBlock * blocks, "\xC0")), CodePageId::kNone);
    // Both in the second block after a plain first one: no guess.
    EXPECT_EQ(Detect(AsciiThen(kRecordsPerBlock, "\xC0\x8E")), CodePageId::kNone);
}

TEST_F(CodePageIdTest, ReadsOnlyTheRecordArea)
{
    // 866 letters in a field name and a pad byte after the terminator are header bytes.
    TableBuilder b;
    b.Field("\x8E\x8F\x90", 'C', 10).HeaderPad(1).Record("\xC0\xC1");
    auto bytes = b.Bytes();
    bytes[b.TrueHeaderLength() - 1] = 0x8E;
    testing_support::WriteAllBytes(dir.File("t.dbf"), bytes);
    auto file = platform::FileSystem::Default().Open(
        dir.File("t.dbf"), platform::OpenMode::kRead, nullptr);
    ASSERT_TRUE(file);
    EXPECT_EQ(table::DetectCodePage(*file, b.TrueHeaderLength()), CodePageId::k1251);
    EXPECT_EQ(table::DetectCodePage(*file, b.TrueHeaderLength() - 1), CodePageId::kNone);
    EXPECT_EQ(table::DetectCodePage(*file, bytes.size() + 100), CodePageId::kNone);
}

TEST_F(CodePageIdTest, NoRecordsOrPlainTextGiveNoGuess)
{
    EXPECT_EQ(Detect(Table()), CodePageId::kNone);
    EXPECT_EQ(Detect(Table().EndOfFile(false)), CodePageId::kNone);
    // Exactly one full block and nothing after it: the second read returns nothing.
    EXPECT_EQ(Detect(AsciiThen(kRecordsPerBlock, "").EndOfFile(false)), CodePageId::kNone);
    EXPECT_EQ(Detect(AsciiThen(kRecordsPerBlock * 3, "")), CodePageId::kNone);
}

TEST_F(CodePageIdTest, FailedReadGivesNoGuess)
{
    testing_support::FaultyFileSystem fs;
    fs.failReadFrom = 1;
    EXPECT_EQ(Detect(AsciiThen(1, "\x8E"), fs), CodePageId::kNone);
    // The second block cannot be read after a first one that decided nothing.
    fs.reads = 0;
    fs.failReadFrom = 2;
    EXPECT_EQ(Detect(AsciiThen(kRecordsPerBlock, "\xC0"), fs), CodePageId::kNone);
    fs.reads = 0;
    fs.failReadFrom = 0;
    EXPECT_EQ(Detect(AsciiThen(kRecordsPerBlock, "\xC0"), fs), CodePageId::k1251);
}

} // namespace
