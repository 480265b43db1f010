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

class CodePageChoiceTest : public ::testing::Test
{
protected:
    CodePageChoiceTest() { EXPECT_TRUE(database.SetDatabaseDirectory(dir.Path())); }

    // One C field holding `text`; the header's code-page byte is `mark`.
    void Write(std::uint8_t mark, const std::string& text)
    {
        table.Close();
        testing_support::TableBuilder b;
        b.CodePageByte(mark).Field("NAME", 'C', 10).Record(text);
        b.Write(dir.File("t.dbf"));
        ASSERT_TRUE(table.Open(dir.File("t.dbf"), false));
    }
    int Mark() const { return testing_support::ReadAllBytes(dir.File("t.dbf"))[29]; }

    testing_support::TempDir dir;
    testing_support::FaultyFileSystem files;
    table::TableDatabase database { files };
    table::CTable table { &database };
};

TEST_F(CodePageChoiceTest, TheMarkIsWrittenOnlyWhenTheBoxIsTickedAndTheCodePageChanges)
{
    Write(0x65, "abc");
    const int writes = files.writes;
    EXPECT_FALSE(ApplyCodePageChoice(table, CodePageId::k866, true).written); // the same again
    EXPECT_FALSE(ApplyCodePageChoice(table, CodePageId::k1251, false).written);
    EXPECT_EQ(table.CodePage(), CodePageId::k1251); // taken in memory only
    EXPECT_EQ(files.writes, writes);

    // "<no codepage set>" with the box on a table marked 866 writes 0x00.
    ASSERT_TRUE(table.SetCodePage(CodePageId::k866, false));
    const CodePageChoiceOutcome none = ApplyCodePageChoice(table, CodePageId::kNone, true);
    EXPECT_TRUE(none.written);
    EXPECT_EQ(none.codePage, CodePageId::kNone);
    EXPECT_EQ(Mark(), 0x00);
}

TEST_F(CodePageChoiceTest, AGuessIsWrittenOnlyWhenItFindsANewCodePage)
{
    Write(0x00, "\x8F\xE0\xA8\xA2\xA5\xE2"); // DOS letters; opened without a guess
    const CodePageChoiceOutcome found = ApplyCodePageChoice(table, CodePageId::kAutodetect, true);
    EXPECT_FALSE(found.detectionFailed);
    EXPECT_TRUE(found.written);
    EXPECT_EQ(found.codePage, CodePageId::k866);
    EXPECT_EQ(Mark(), 0x65);
    EXPECT_FALSE(ApplyCodePageChoice(table, CodePageId::kAutodetect, true).written);

    // Letters of both code pages in one block: no guess, no code page, nothing written.
    Write(0xC9, "\x8E\xC0");
    const CodePageChoiceOutcome failed = ApplyCodePageChoice(table, CodePageId::kAutodetect, true);
    EXPECT_TRUE(failed.detectionFailed);
    EXPECT_FALSE(failed.written);
    EXPECT_EQ(table.CodePage(), CodePageId::kNone);
    EXPECT_EQ(Mark(), 0xC9);
}

TEST_F(CodePageChoiceTest, ARefusedWriteKeepsTheNewCodePageInMemory)
{
    Write(0x00, "abc");
    files.failWriteFrom = files.writes + 1;
    const CodePageChoiceOutcome outcome = ApplyCodePageChoice(table, CodePageId::k866, true);
    EXPECT_TRUE(outcome.writeFailed);
    EXPECT_FALSE(outcome.written);
    EXPECT_EQ(table.CodePage(), CodePageId::k866);
    EXPECT_EQ(Mark(), 0x00);
}

} // namespace
} // namespace tablegrid
