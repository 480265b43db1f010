#include "table/memo_file.h"

#include "platform/file_system.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

using table::DbfError;
using table::MemoFile;
using table::MemoForm;
using testing_support::ReadAllBytes;
using testing_support::TempDir;
using testing_support::WriteAllBytes;

class MemoFileTest : public ::testing::Test
{
protected:
    TempDir dir;
    std::string path = dir.File("t.dbt");
    platform::FileSystem& fs = platform::FileSystem::Default();
    MemoFile memo { fs };
};

TEST_F(MemoFileTest, CompanionNames)
{
    EXPECT_EQ(table::MemoCompanionPath("/d/T.DBF", 0x83), "/d/T.DBT");
    EXPECT_EQ(table::MemoCompanionPath("/d/t.dbf", 0x8B), "/d/t.dbt");
    EXPECT_EQ(table::MemoCompanionPath("/d/t.dbx", 0x83), "");
    EXPECT_EQ(table::MemoCompanionPath("/d/t.dbf", 0x03), "");
    EXPECT_EQ(table::MemoCompanionPath("/d/my.cars.DBF", 0xF5), "/d/my.cars.fpt");

    WriteAllBytes(dir.File("t.dbt"), { 0 });
    EXPECT_EQ(table::FindMemoCompanion(fs, dir.File("T.DBF"), 0x83), dir.File("t.dbt"));
    EXPECT_EQ(table::FindMemoCompanion(fs, dir.File("U.DBF"), 0x83), "");
}

TEST_F(MemoFileTest, NewFilesHaveTheirHeaderForm)
{
    ASSERT_TRUE(memo.Create(path, MemoForm::kDbase3, 512, "T"));
    auto bytes = ReadAllBytes(path);
    ASSERT_EQ(bytes.size(), 512u);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[16], 3);
    EXPECT_EQ(bytes[20], 0);

    ASSERT_TRUE(memo.Create(path, MemoForm::kDbase4, 1024, "CUSTOMERS.DBF"));
    bytes = ReadAllBytes(path);
    ASSERT_EQ(bytes.size(), 1024u);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 16), "CUSTOMER");
    EXPECT_EQ(bytes[16], 0);
    EXPECT_EQ(bytes[20] | (bytes[21] << 8), 1024);
}

TEST_F(MemoFileTest, TextsRoundTripInBothForms)
{
    for (MemoForm form : { MemoForm::kDbase3, MemoForm::kDbase4 }) {
        ASSERT_TRUE(memo.Create(path, form, 512, "T"));
        const std::string longText(1500, 'x');
        const std::string withEndByte = std::string("a\x1A") + "b"; // one end byte is text
        std::uint32_t first = 0, second = 0, third = 0, fourth = 0;
        ASSERT_TRUE(memo.AppendText("hello", &first));
        ASSERT_TRUE(memo.AppendText(longText, &second));
        ASSERT_TRUE(memo.AppendText("", &third));
        ASSERT_TRUE(memo.AppendText(withEndByte, &fourth));
        EXPECT_EQ(first, 1u);
        EXPECT_EQ(second, 2u);
        // 1500 bytes plus the end bytes or block header need 3 blocks either way.
        EXPECT_EQ(third, 5u);
        memo.Close();

        MemoFile reopened(fs);
        ASSERT_TRUE(reopened.Open(path, form));
        EXPECT_EQ(reopened.NextFreeBlock(), 7u);
        std::string text;
        ASSERT_TRUE(reopened.ReadText(first, &text));
        EXPECT_EQ(text, "hello");
        ASSERT_TRUE(reopened.ReadText(second, &text));
        EXPECT_EQ(text, longText);
        ASSERT_TRUE(reopened.ReadText(third, &text));
        EXPECT_EQ(text, "");
        ASSERT_TRUE(reopened.ReadText(fourth, &text));
        EXPECT_EQ(text, withEndByte);
    }
}

TEST_F(MemoFileTest, BlockCountsFollowTheTextLength)
{
    ASSERT_TRUE(memo.Create(path, MemoForm::kDbase3, 512, "T"));
    std::uint32_t block = 0;
    ASSERT_TRUE(memo.AppendText(std::string(510, 'a'), &block)); // 510 + 2 = 512: two blocks
    EXPECT_EQ(memo.NextFreeBlock(), 3u);
    ASSERT_TRUE(memo.Create(path, MemoForm::kDbase4, 512, "T"));
    ASSERT_TRUE(memo.AppendText(std::string(503, 'a'), &block)); // 503 + 8 = 511: one block
    EXPECT_EQ(memo.NextFreeBlock(), 2u);
}

TEST_F(MemoFileTest, OpenWritesNothingAndAppendsAtTheNextBlock)
{
    std::vector<std::uint8_t> bytes(512 + 100, 0);
    bytes[0] = 2;
    for (int i = 0; i < 5; ++i)
        bytes[512 + i] = 'm';
    bytes[517] = 0x1A;
    bytes[518] = 0x1A;
    WriteAllBytes(path, bytes);
    ASSERT_TRUE(memo.Open(path, MemoForm::kDbase3));
    EXPECT_EQ(ReadAllBytes(path), bytes);
    std::string text;
    ASSERT_TRUE(memo.ReadText(1, &text));
    EXPECT_EQ(text, "mmmmm");
    std::uint32_t block = 0;
    ASSERT_TRUE(memo.AppendText("next", &block));
    EXPECT_EQ(block, 2u);
    ASSERT_TRUE(memo.ReadText(2, &text));
    EXPECT_EQ(text, "next");
    EXPECT_EQ(ReadAllBytes(path).size(), 1536u);
}

TEST_F(MemoFileTest, DamagedMemoFilesFailCleanly)
{
    EXPECT_FALSE(memo.Open(dir.File("missing.dbt"), MemoForm::kDbase3));
    EXPECT_EQ(memo.LastError(), DbfError::kNoMemoFile);

    WriteAllBytes(path, { 0x0A });
    EXPECT_FALSE(memo.Open(path, MemoForm::kDbase3));
    EXPECT_EQ(memo.LastError(), DbfError::kMemoTooShort);
    EXPECT_EQ(ReadAllBytes(path).size(), 1u); // not padded when refused

    for (int blockSize : { 0, 100, 513, 1000 }) {
        std::vector<std::uint8_t> header(512, 0);
        header[0] = 1;
        header[20] = static_cast<std::uint8_t>(blockSize);
        header[21] = static_cast<std::uint8_t>(blockSize >> 8);
        WriteAllBytes(path, header);
        EXPECT_FALSE(memo.Open(path, MemoForm::kDbase4)) << blockSize;
        EXPECT_EQ(memo.LastError(), DbfError::kMemoBadBlockSize);
    }

    ASSERT_TRUE(memo.Create(path, MemoForm::kDbase4, 512, "T"));
    std::uint32_t block = 0;
    ASSERT_TRUE(memo.AppendText("abc", &block));
    std::string text;
    EXPECT_FALSE(memo.ReadText(99, &text));
    EXPECT_EQ(memo.LastError(), DbfError::kMemoBlockPastEnd);
    EXPECT_FALSE(memo.ReadText(0, &text));
    EXPECT_EQ(memo.LastError(), DbfError::kMemoBadBlock);
    memo.Close();

    // A block header claiming a length past the end of the file.
    auto bytes = ReadAllBytes(path);
    bytes[512 + 4] = 0xFF;
    bytes[512 + 5] = 0xFF;
    bytes[512 + 6] = 0xFF;
    bytes[512 + 7] = 0x00;
    WriteAllBytes(path, bytes);
    ASSERT_TRUE(memo.Open(path, MemoForm::kDbase4));
    EXPECT_FALSE(memo.ReadText(1, &text));
    EXPECT_EQ(memo.LastError(), DbfError::kMemoBlockPastEnd);
    bytes[512 + 7] = 0x7F; // past the accepted text length
    WriteAllBytes(path, bytes);
    ASSERT_TRUE(memo.Open(path, MemoForm::kDbase4));
    EXPECT_FALSE(memo.ReadText(1, &text));
    EXPECT_EQ(memo.LastError(), DbfError::kMemoTooLong);
    bytes[512] = 0; // no block signature
    WriteAllBytes(path, bytes);
    ASSERT_TRUE(memo.Open(path, MemoForm::kDbase4));
    EXPECT_FALSE(memo.ReadText(1, &text));
    EXPECT_EQ(memo.LastError(), DbfError::kMemoBadBlock);
}

TEST_F(MemoFileTest, FailedAppendKeepsTheHeader)
{
    testing_support::FaultyFileSystem faulty;
    MemoFile m(faulty);
    ASSERT_TRUE(m.Create(path, MemoForm::kDbase3, 512, "T"));
    faulty.failWriteFrom = faulty.writes + 1;
    std::uint32_t block = 0;
    EXPECT_FALSE(m.AppendText("abc", &block));
    EXPECT_EQ(m.LastError(), DbfError::kWriteFailed);
    EXPECT_EQ(m.NextFreeBlock(), 1u);
    EXPECT_EQ(ReadAllBytes(path)[0], 1);
}

} // namespace
