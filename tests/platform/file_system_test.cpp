#include "platform/file_system.h"
#include "platform/streamed_write.h"
#include "platform/whole_file.h"

#include "tests/support/faulty_file_system.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using platform::FileSystem;
using platform::OpenMode;
using testing_support::TempDir;

class FileSystemTest : public ::testing::Test
{
protected:
    TempDir dir;
    FileSystem& fs = FileSystem::Default();
};

TEST_F(FileSystemTest, WritesAndReadsAtOffsetsShortAtEnd)
{
    auto file = fs.Open(dir.File("a.bin"), OpenMode::kCreate, nullptr);
    ASSERT_TRUE(file);
    ASSERT_TRUE(file->WriteAt(0, "hello", 5));
    ASSERT_TRUE(file->WriteAt(10, "world", 5)); // leaves a hole of zeros
    std::uint64_t size = 0;
    ASSERT_TRUE(file->Size(&size));
    EXPECT_EQ(size, 15u);
    char buf[8] = {};
    std::size_t got = 0;
    ASSERT_TRUE(file->ReadAt(12, buf, sizeof buf, &got));
    EXPECT_EQ(got, 3u);
    EXPECT_EQ(std::string(buf, got), "rld");
    ASSERT_TRUE(file->Truncate(5));
    ASSERT_TRUE(file->Size(&size));
    EXPECT_EQ(size, 5u);
}

TEST_F(FileSystemTest, OpenFailuresReportTheSystemError)
{
    int error = 0;
    EXPECT_EQ(fs.Open(dir.File("missing.dbf"), OpenMode::kRead, &error), nullptr);
    EXPECT_NE(error, 0);
    error = 0;
    EXPECT_EQ(fs.Open(dir.Path(), OpenMode::kRead, &error), nullptr); // a directory
    EXPECT_NE(error, 0);
}

TEST_F(FileSystemTest, CreatingANewFileNeverTouchesAnExistingOne)
{
    testing_support::WriteAllBytes(dir.File("user.dbf"), { 1, 2, 3 });
    int error = 0;
    EXPECT_EQ(fs.Open(dir.File("user.dbf"), OpenMode::kCreateNew, &error), nullptr);
    EXPECT_EQ(error, EEXIST);
    EXPECT_EQ(testing_support::ReadAllBytes(dir.File("user.dbf")), (std::vector<std::uint8_t> { 1, 2, 3 }));

    auto file = fs.Open(dir.File("new.tmp"), OpenMode::kCreateNew, nullptr);
    ASSERT_TRUE(file);
    ASSERT_TRUE(file->WriteAt(0, "x", 1));
    std::uint64_t size = 0;
    ASSERT_TRUE(file->Size(&size));
    EXPECT_EQ(size, 1u);
}

TEST_F(FileSystemTest, FindsEntriesWithoutRegardToCaseExactFirst)
{
    testing_support::WriteAllBytes(dir.File("Kladr.dbf"), { 1 });
    testing_support::WriteAllBytes(dir.File("T.DBT"), { 1 });
    EXPECT_EQ(platform::FindEntryNoCase(fs, dir.Path(), "KLADR.DBF"), dir.File("Kladr.dbf"));
    EXPECT_EQ(platform::FindEntryNoCase(fs, dir.Path(), "t.dbt"), dir.File("T.DBT"));
    EXPECT_EQ(platform::FindEntryNoCase(fs, dir.Path(), "street.dbf"), std::nullopt);
    testing_support::WriteAllBytes(dir.File("t.dbt"), { 1 });
    EXPECT_EQ(platform::FindEntryNoCase(fs, dir.Path(), "t.dbt"), dir.File("t.dbt"));
}

TEST(PathTest, SplitsPaths)
{
    EXPECT_EQ(platform::DirectoryOf("/data/t.dbf"), "/data/");
    EXPECT_EQ(platform::DirectoryOf("t.dbf"), "");
    EXPECT_EQ(platform::FileNameOf("/data/t.dbf"), "t.dbf");
    EXPECT_EQ(platform::BaseNameOf("/data/my.table.dbf"), "my.table");
    EXPECT_EQ(platform::BaseNameOf("/data/.hidden"), ".hidden");
    EXPECT_TRUE(platform::IsAbsolutePath("/x"));
    EXPECT_FALSE(platform::IsAbsolutePath("x/y"));
}

// Links are followed one by one, relative ones from their own directory, to a file that
// need not exist; a path that is no link, or links in a loop, stay as given. A whole file
// written through a link replaces what it names, keeping its permissions, and the link
// stays.
TEST_F(FileSystemTest, LinksAreFollowedToTheFileTheyName)
{
    namespace stdfs = std::filesystem;
    stdfs::create_directory(dir.File("d"));
    stdfs::create_symlink("d/b", dir.File("a"));
    stdfs::create_symlink(dir.File("d/c"), dir.File("d/b"));
    stdfs::create_symlink("../e", dir.File("d/c"));
    EXPECT_EQ(platform::FollowLinks(dir.File("a")), dir.File("d/../e"));
    EXPECT_EQ(platform::FollowLinks(dir.File("d/../e")), dir.File("d/../e"));
    EXPECT_EQ(platform::FollowLinks(dir.File("missing")), dir.File("missing"));
    stdfs::create_symlink("loop2", dir.File("loop1"));
    stdfs::create_symlink("loop1", dir.File("loop2"));
    EXPECT_EQ(platform::FollowLinks(dir.File("loop1")), dir.File("loop1"));

    ASSERT_TRUE(platform::ReplaceWholeFile(fs, dir.File("a"), "first"));
    testing_support::SetModeOf(dir.File("e"), 0600); // and a private file stays private
    ASSERT_TRUE(platform::ReplaceWholeFile(fs, dir.File("a"), "second"));
    EXPECT_TRUE(stdfs::is_symlink(dir.File("a")));
    EXPECT_EQ(testing_support::ModeOf(dir.File("e")), 0600);
    std::string text;
    EXPECT_EQ(platform::ReadWholeFile(fs, dir.File("e"), 100, &text), platform::WholeFileRead::kRead);
    EXPECT_EQ(text, "second");
}

TEST_F(FileSystemTest, FaultyFileSystemFailsTheNthWriteWithFullDisk)
{
    testing_support::FaultyFileSystem faulty;
    faulty.failWriteFrom = 2;
    auto file = faulty.Open(dir.File("b.bin"), OpenMode::kCreate, nullptr);
    ASSERT_TRUE(file);
    EXPECT_TRUE(file->WriteAt(0, "a", 1));
    EXPECT_FALSE(file->WriteAt(1, "b", 1));
    EXPECT_EQ(file->LastError(), ENOSPC);
}

// A long write starts every part on its way to the disk, waits for the part kPartsBehind
// behind and lets it go; a part the disk failed fails the write, even though the final sync
// would no longer see it.
TEST(StreamedWriteTest, SettlesThePartsBehindAndReportsTheirFailure)
{
    class Recorded final : public platform::File
    {
    public:
        std::vector<std::string> calls;
        std::uint64_t failSettleAt = ~std::uint64_t { 0 };
        bool ReadAt(std::uint64_t, void*, std::size_t, std::size_t* got) override
        {
            *got = 0;
            return true;
        }
        bool WriteAt(std::uint64_t, const void*, std::size_t) override { return true; }
        bool Size(std::uint64_t* size) override
        {
            *size = 0;
            return true;
        }
        bool Truncate(std::uint64_t) override { return true; }
        bool Sync() override { return true; }
        void StartWriteback(std::uint64_t offset, std::uint64_t) override
        {
            calls.push_back("start " + std::to_string(offset));
        }
        bool SettleWritten(std::uint64_t offset, std::uint64_t) override
        {
            calls.push_back("settle " + std::to_string(offset));
            return offset != failSettleAt || Fail(EIO);
        }
    };
    constexpr std::size_t behind = platform::StreamedWrite::kPartsBehind;
    Recorded file;
    platform::StreamedWrite stream(file);
    for (std::uint64_t part = 0; part < behind + 2; ++part)
        ASSERT_TRUE(stream.Written(part * 10, 10));
    std::vector<std::string> expected;
    for (std::uint64_t part = 0; part < behind + 2; ++part) {
        expected.push_back("start " + std::to_string(part * 10));
        if (part >= behind)
            expected.push_back("settle " + std::to_string((part - behind) * 10));
    }
    EXPECT_EQ(file.calls, expected);

    Recorded failing;
    failing.failSettleAt = 10;
    platform::StreamedWrite failed(failing);
    bool ok = true;
    for (std::uint64_t part = 0; part <= behind + 1 && ok; ++part)
        ok = failed.Written(part * 10, 10);
    EXPECT_FALSE(ok);
    EXPECT_EQ(failing.LastError(), EIO);
}

} // namespace
