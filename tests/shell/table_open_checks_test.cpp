#include "shell/table_open_checks.h"

#include "platform/file_system.h"
#include "platform/prompt.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/table_builder.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

using shell::CheckTableHeader;
using shell::HeaderCheckOutcome;
using testing_support::ReadAllBytes;
using testing_support::ScriptedPrompt;
using testing_support::TableBuilder;

constexpr const char* kCorrupted = "The header of the table t.dbf  is corrupted. Should it be fixed?";

class TableOpenChecksTest : public ::testing::Test
{
protected:
    // Three fields (widths 10, 5, 8: record length 24) and 10 records.
    TableBuilder Table() const
    {
        TableBuilder b;
        b.Field("A", 'C', 10).Field("B", 'N', 5).Field("C", 'D', 8);
        for (int i = 0; i < 10; ++i)
            b.Record("r" + std::to_string(i));
        return b;
    }

    std::string Write(const TableBuilder& builder)
    {
        builder.Write(path);
        original = ReadAllBytes(path);
        return path;
    }

    bool Untouched() const { return ReadAllBytes(path) == original; }

    testing_support::TempDir dir;
    std::string path = dir.File("t.dbf");
    std::vector<std::uint8_t> original;
    platform::FileSystem& fs = platform::FileSystem::Default();
};

TEST_F(TableOpenChecksTest, SoundHeadersAndUnopenableFilesPassSilently)
{
    ScriptedPrompt prompt;
    Write(Table());
    EXPECT_EQ(CheckTableHeader(fs, path), HeaderCheckOutcome::kSound);
    EXPECT_EQ(CheckTableHeader(fs, dir.File("missing.dbf")), HeaderCheckOutcome::kSound);
    EXPECT_EQ(CheckTableHeader(fs, dir.Path()), HeaderCheckOutcome::kSound);
    EXPECT_TRUE(prompt.Questions().empty());
    EXPECT_TRUE(Untouched());
}

TEST_F(TableOpenChecksTest, DisagreeingCountIsOfferedAndADeclinedRepairWritesNothing)
{
    ScriptedPrompt prompt { platform::IDNO };
    Write(Table().RecordCount(12));
    EXPECT_EQ(CheckTableHeader(fs, path), HeaderCheckOutcome::kRepairDeclined);
    ASSERT_EQ(prompt.Texts(), std::vector<std::string> { kCorrupted });
    EXPECT_EQ(prompt.Asked(0).buttons, platform::PromptButtons::kYesNo);
    EXPECT_EQ(prompt.Asked(0).icon, platform::PromptIcon::kQuestion);
    EXPECT_TRUE(Untouched());
    EXPECT_FALSE(fs.Exists(dir.File("t.old")));
    EXPECT_FALSE(fs.Exists(dir.File("fixedHDR.tmp")));
}

TEST_F(TableOpenChecksTest, AcceptedRepairReplacesTheTableAndKeepsTheOriginal)
{
    ScriptedPrompt prompt { platform::IDYES, platform::IDOK };
    Write(Table().RecordCount(12));
    EXPECT_EQ(CheckTableHeader(fs, path), HeaderCheckOutcome::kRepaired);
    EXPECT_EQ(prompt.Asked(1).text, "The header of the table has been fixed.\n"
                                    "Previous copy of the table has been saved as\n"
        + dir.File("t.old"));
    EXPECT_EQ(ReadAllBytes(dir.File("t.old")), original);
    const auto repaired = ReadAllBytes(path);
    ASSERT_GE(repaired.size(), 8u);
    EXPECT_EQ(repaired[4], 10); // the record count the file holds
    EXPECT_FALSE(fs.Exists(dir.File("fixedHDR.tmp")));
}

TEST_F(TableOpenChecksTest, FailedRepairOrRenameSaysSoAndLeavesTheTable)
{
    {
        // Writing the corrected copy fails.
        ScriptedPrompt prompt { platform::IDYES, platform::IDOK };
        testing_support::FaultyFileSystem faulty;
        faulty.failWriteFrom = 1;
        Write(Table().RecordCount(12));
        EXPECT_EQ(CheckTableHeader(faulty, path), HeaderCheckOutcome::kRepairFailed);
        EXPECT_EQ(prompt.Asked(1).text, "The header of the table cannot be fixed.");
        EXPECT_EQ(prompt.Asked(1).icon, platform::PromptIcon::kStop);
        EXPECT_TRUE(Untouched());
    }
    {
        // The corrected copy cannot take the table's place: the table goes back.
        ScriptedPrompt prompt { platform::IDYES, platform::IDOK };
        testing_support::FaultyFileSystem faulty;
        faulty.failRenameNumber = 2;
        Write(Table().RecordCount(12));
        EXPECT_EQ(CheckTableHeader(faulty, path), HeaderCheckOutcome::kRepairFailed);
        EXPECT_EQ(prompt.Asked(1).text, "The header of the table cannot be fixed.");
        EXPECT_TRUE(Untouched());
    }
    EXPECT_FALSE(fs.Exists(dir.File("fixedHDR.tmp")));
    EXPECT_FALSE(fs.Exists(dir.File("t.old")));
}

TEST_F(TableOpenChecksTest, ATableThatCannotGoBackToItsPathIsNamedAndTheCorrectedCopyKept)
{
    {
        // Renaming the original back fails: a copy puts it back.
        ScriptedPrompt prompt { platform::IDYES, platform::IDOK };
        testing_support::FaultyFileSystem faulty;
        faulty.failRenameFrom = 2;
        Write(Table().RecordCount(12));
        EXPECT_EQ(CheckTableHeader(faulty, path), HeaderCheckOutcome::kRepairFailed);
        EXPECT_EQ(prompt.Asked(1).text, "The header of the table cannot be fixed.");
        EXPECT_TRUE(Untouched());
        EXPECT_FALSE(fs.Exists(dir.File("fixedHDR.tmp")));
    }
    // Copying fails too: the table is only at the backup path.
    ScriptedPrompt prompt { platform::IDYES, platform::IDOK };
    testing_support::FaultyFileSystem faulty;
    faulty.failRenameFrom = 2;
    faulty.failCreateContaining = "t.dbf";
    Write(Table().RecordCount(12));
    EXPECT_EQ(CheckTableHeader(faulty, path), HeaderCheckOutcome::kOriginalMoved);
    EXPECT_EQ(prompt.Asked(1).text,
        "The header of the table cannot be fixed, and the table could not be put back in its "
        "place.\nThe table has been saved as\n"
            + dir.File("t.old") + "\nA copy with the header fixed has been saved as\n"
            + dir.File("fixedHDR.tmp"));
    EXPECT_EQ(prompt.Asked(1).icon, platform::PromptIcon::kStop);
    EXPECT_FALSE(fs.Exists(path));
    EXPECT_EQ(ReadAllBytes(dir.File("t.old")), original);
    const auto corrected = ReadAllBytes(dir.File("fixedHDR.tmp"));
    ASSERT_GE(corrected.size(), 8u);
    EXPECT_EQ(corrected[4], 10);
}

TEST_F(TableOpenChecksTest, UnknownVersionsAndEndlessDescriptorsAreWarnedAbout)
{
    const std::string warning
        = "The file does not appear to be a dBase table or its header is corrupted.";
    ScriptedPrompt prompt { platform::IDOK, platform::IDOK };
    Write(Table().Version(0x04));
    EXPECT_EQ(CheckTableHeader(fs, path), HeaderCheckOutcome::kNotATable);
    EXPECT_TRUE(Untouched());

    // Cut inside the descriptors: no terminator before the end.
    auto bytes = Table().Bytes();
    bytes.resize(60);
    testing_support::WriteAllBytes(path, bytes);
    original = bytes;
    EXPECT_EQ(CheckTableHeader(fs, path), HeaderCheckOutcome::kNotATable);
    EXPECT_TRUE(Untouched());
    EXPECT_EQ(prompt.Texts(), (std::vector<std::string> { warning, warning }));
}

} // namespace
