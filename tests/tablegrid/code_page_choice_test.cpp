// The code-page command's decisions: which choice writes the mark into the file, what a
// guess does, and what a refused write leaves.

#include "table/table.h"
#include "table/table_database.h"
#include "tablegrid/operations/code_page_choice.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/table_builder.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace tablegrid {
namespace {

using table::CodePageId;
using testing_support::ReadAllBytes;

constexpr std::size_t kCodePageByte = 29;

class CodePageChoiceTest : public ::testing::Test
{
protected:
    CodePageChoiceTest() { EXPECT_TRUE(database.SetDatabaseDirectory(dir.Path())); }

    // One C field holding `text`; the header's code-page byte is `mark`.
    void Write(std::uint8_t mark, const std::string& text)
    {
        testing_support::TableBuilder b;
        b.CodePageByte(mark).Field("NAME", 'C', 10).Record(text);
        b.Write(dir.File("t.dbf"));
        ASSERT_TRUE(table.Open(dir.File("t.dbf"), false));
    }
    std::uint8_t Mark() const { return ReadAllBytes(dir.File("t.dbf"))[kCodePageByte]; }

    testing_support::TempDir dir;
    testing_support::FaultyFileSystem files;
    table::TableDatabase database { files };
    table::CTable table { &database };
};

TEST_F(CodePageChoiceTest, TheMarkIsWrittenOnlyWhenTheBoxIsTickedAndTheCodePageChanges)
{
    Write(0x65, "abc");
    ASSERT_EQ(table.CodePage(), CodePageId::k866);

    // The table's own code page again: nothing to write, box or not.
    CodePageChoiceOutcome same = ApplyCodePageChoice(table, CodePageId::k866, true);
    EXPECT_FALSE(same.written);
    EXPECT_EQ(same.codePage, CodePageId::k866);
    const int writesBefore = files.writes;

    // Another code page without the box: taken in memory only.
    CodePageChoiceOutcome unticked = ApplyCodePageChoice(table, CodePageId::k1251, false);
    EXPECT_FALSE(unticked.written);
    EXPECT_EQ(table.CodePage(), CodePageId::k1251);
    EXPECT_EQ(files.writes, writesBefore);
    EXPECT_EQ(Mark(), 0x65);

    // "<no codepage set>" with the box: the mark becomes 0x00.
    ASSERT_TRUE(table.SetCodePage(CodePageId::k866, false));
    CodePageChoiceOutcome none = ApplyCodePageChoice(table, CodePageId::kNone, true);
    EXPECT_TRUE(none.written);
    EXPECT_FALSE(none.writeFailed);
    EXPECT_EQ(none.codePage, CodePageId::kNone);
    EXPECT_EQ(Mark(), 0x00);

    CodePageChoiceOutcome windows = ApplyCodePageChoice(table, CodePageId::k1251, true);
    EXPECT_TRUE(windows.written);
    EXPECT_EQ(Mark(), 0xC9);
}

TEST_F(CodePageChoiceTest, AGuessIsWrittenOnlyWhenItFindsANewCodePage)
{
    // DOS letters in the records; the table was opened without a guess.
    Write(0x00, "\x8F\xE0\xA8\xA2\xA5\xE2");
    ASSERT_EQ(table.CodePage(), CodePageId::kNone);
    CodePageChoiceOutcome found = ApplyCodePageChoice(table, CodePageId::kAutodetect, true);
    EXPECT_FALSE(found.detectionFailed);
    EXPECT_TRUE(found.written);
    EXPECT_EQ(found.codePage, CodePageId::k866);
    EXPECT_EQ(Mark(), 0x65);

    // The same guess again: the table has it already.
    const int writesBefore = files.writes;
    CodePageChoiceOutcome again = ApplyCodePageChoice(table, CodePageId::kAutodetect, true);
    EXPECT_FALSE(again.written);
    EXPECT_EQ(files.writes, writesBefore);
}

TEST_F(CodePageChoiceTest, AFailedGuessLeavesNoCodePageAndWritesNothing)
{
    // Letters of both code pages in one block: no guess. The mark in the file says 1251.
    Write(0xC9, "\x8E\xC0");
    ASSERT_EQ(table.CodePage(), CodePageId::k1251);
    CodePageChoiceOutcome outcome = ApplyCodePageChoice(table, CodePageId::kAutodetect, true);
    EXPECT_TRUE(outcome.detectionFailed);
    EXPECT_FALSE(outcome.written);
    EXPECT_FALSE(outcome.writeFailed);
    EXPECT_EQ(table.CodePage(), CodePageId::kNone);
    EXPECT_EQ(Mark(), 0xC9);
}

TEST_F(CodePageChoiceTest, ARefusedWriteKeepsTheNewCodePageInMemory)
{
    Write(0x00, "abc");
    files.failWriteFrom = files.writes + 1;
    CodePageChoiceOutcome outcome = ApplyCodePageChoice(table, CodePageId::k866, true);
    EXPECT_TRUE(outcome.writeFailed);
    EXPECT_FALSE(outcome.written);
    EXPECT_EQ(outcome.codePage, CodePageId::k866);
    EXPECT_EQ(table.CodePage(), CodePageId::k866);
    EXPECT_EQ(table.LastError(), table::TableError::kCodePageWrite);
    EXPECT_EQ(Mark(), 0x00);
}

} // namespace
} // namespace tablegrid
