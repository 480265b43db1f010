#include "table/dbf_create.h"

#include "platform/clock.h"
#include "platform/file_system.h"
#include "table/record_file.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace {

using table::DbfError;
using table::RecordFile;
using table::FieldDef;
using testing_support::ReadAllBytes;
using testing_support::TempDir;

class DbfCreateTest : public ::testing::Test
{
protected:
    TempDir dir;
    platform::FileSystem& fs = platform::FileSystem::Default();
};

TEST_F(DbfCreateTest, NewTableBytesAreExact)
{
    const std::string path = dir.File("new.dbf");
    ASSERT_EQ(table::CreateTableFile(fs, path, { { "NAME", 'C', 0x2C, 1 }, { "SUM", 'N', 8, 2 } }),
              DbfError::kNone);
    const auto bytes = ReadAllBytes(path);
    ASSERT_EQ(bytes.size(), 32u * 3 + 1 + 1);
    const platform::CalendarDate today = platform::Today();
    EXPECT_EQ(bytes[0], 0x03);
    EXPECT_EQ(bytes[1], today.year % 100);
    EXPECT_EQ(bytes[2], today.month);
    EXPECT_EQ(bytes[3], today.day);
    EXPECT_EQ(bytes[4] | bytes[5] | bytes[6] | bytes[7], 0);
    EXPECT_EQ(bytes[8] | (bytes[9] << 8), 32 * 2 + 33);
    EXPECT_EQ(bytes[10] | (bytes[11] << 8), 1 + 300 + 8);
    for (int i = 12; i < 32; ++i)
        EXPECT_EQ(bytes[i], 0) << "byte " << i; // the code-page byte 29 among them
    EXPECT_EQ(std::memcmp(bytes.data() + 32, "NAME\0\0\0\0\0\0\0C", 12), 0);
    EXPECT_EQ(bytes[32 + 16], 0x2C);
    EXPECT_EQ(bytes[32 + 17], 1);
    EXPECT_EQ(bytes[64 + 11], 'N');
    EXPECT_EQ(bytes[96], 0x0D);
    EXPECT_EQ(bytes[97], 0x1A);
    EXPECT_FALSE(fs.Exists(dir.File("new.dbt")));
    EXPECT_EQ(fs.List(dir.Path()).size(), 1u); // no temporary left behind
}

TEST_F(DbfCreateTest, EveryTypeRoundTripsThroughAppend)
{
    const std::string path = dir.File("all.dbf");
    ASSERT_EQ(table::CreateTableFile(fs, path,
                                     { { "C", 'C', 4 }, { "D", 'D', 8 }, { "F", 'F', 6, 2 },
                                       { "L", 'L', 1 }, { "M", 'M', 10 }, { "N", 'N', 5 } }),
              DbfError::kNone);
    EXPECT_TRUE(fs.Exists(dir.File("all.dbt")));
    RecordFile file(fs);
    ASSERT_TRUE(file.Open(path, RecordFile::Mode::kReadWrite));
    EXPECT_EQ(file.Version(), 0x83);
    EXPECT_TRUE(file.HasMemoFields());
    const std::string record = " abcd20261208  3.14T         1   42";
    ASSERT_EQ(record.size(), file.RecordLength());
    std::memcpy(file.MutableRecord(), record.data(), record.size());
    ASSERT_TRUE(file.AppendRecord());
    file.Close();
    ASSERT_TRUE(file.Open(path, RecordFile::Mode::kRead));
    EXPECT_EQ(file.RecordCount(), 1u);
    ASSERT_TRUE(file.ReadRecord(1));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(file.Record()), file.RecordLength()), record);
}

TEST_F(DbfCreateTest, RefusesFieldsItCannotStore)
{
    EXPECT_EQ(table::CheckNewFields({ { "B", 'B', 10 } }), DbfError::kBadFieldType);
    EXPECT_EQ(table::CheckNewFields({ { "X", 'G', 10 } }), DbfError::kBadFieldType);
    EXPECT_EQ(table::CheckNewFields({ { "C", 'C', 0, 0 } }), DbfError::kBadFieldSize);
    EXPECT_EQ(table::CheckNewFields({ { "C", 'C', 0, 1 } }), DbfError::kNone); // 256 wide
    EXPECT_EQ(table::CheckNewFields({ { "N", 'N', 2, 3 } }), DbfError::kBadFieldSize);
    EXPECT_EQ(table::CheckNewFields({ { "N", 'N', 3, 3 } }), DbfError::kNone);
    EXPECT_EQ(table::CheckNewFields({ { "", 'C', 1 } }), DbfError::kBadFieldName);
    EXPECT_EQ(table::CheckNewFields({ { "ELEVENCHARS", 'C', 1 } }), DbfError::kBadFieldName);
    EXPECT_EQ(table::CheckNewFields({ { "A", 'C', 0xFF, 0xFF }, { "B", 'C', 2 } }),
              DbfError::kBadFieldSize); // 1 + 65535 + 2 does not fit the record length slot
    EXPECT_EQ(table::CheckNewFields({}), DbfError::kNone);

    const std::string path = dir.File("bad.dbf");
    EXPECT_EQ(table::CreateTableFile(fs, path, { { "X", 'G', 10 } }), DbfError::kBadFieldType);
    EXPECT_FALSE(fs.Exists(path));
    EXPECT_EQ(table::CreateTableFile(fs, dir.File("memo.tab"), { { "M", 'M', 10 } }),
              DbfError::kNoMemoFile);
    EXPECT_TRUE(fs.List(dir.Path()).empty());
}

TEST_F(DbfCreateTest, FailureLeavesAnExistingFileAsItWas)
{
    const std::string path = dir.File("keep.dbf");
    testing_support::WriteAllBytes(path, { 'o', 'l', 'd' });
    testing_support::FaultyFileSystem faulty;
    faulty.failWriteFrom = 1;
    EXPECT_EQ(table::CreateTableFile(faulty, path, { { "A", 'C', 1 } }), DbfError::kWriteFailed);
    EXPECT_EQ(ReadAllBytes(path), (std::vector<std::uint8_t> { 'o', 'l', 'd' }));
    faulty.failWriteFrom = 0;
    faulty.failRenames = true;
    EXPECT_EQ(table::CreateTableFile(faulty, path, { { "A", 'C', 1 } }), DbfError::kRenameFailed);
    EXPECT_EQ(ReadAllBytes(path), (std::vector<std::uint8_t> { 'o', 'l', 'd' }));
    EXPECT_EQ(fs.List(dir.Path()).size(), 1u);
    faulty.failRenames = false;
    EXPECT_EQ(table::CreateTableFile(faulty, path, { { "A", 'C', 1 } }), DbfError::kNone);
    EXPECT_EQ(ReadAllBytes(path).size(), 32u + 32 + 2);

    // Through a link the table it names is replaced, its memo file beside that table.
    std::filesystem::create_symlink("keep.dbf", dir.File("link.dbf"));
    testing_support::SetModeOf(path, 0640);
    EXPECT_EQ(table::CreateTableFile(fs, dir.File("link.dbf"), { { "A", 'C', 1 }, { "M", 'M', 10 } }),
        DbfError::kNone);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.dbf")));
    EXPECT_EQ(testing_support::ModeOf(path), 0640); // and keeps its permissions
    EXPECT_EQ(ReadAllBytes(path).size(), 32u + 64 + 2);
    EXPECT_TRUE(fs.Exists(dir.File("keep.dbt")));
    EXPECT_EQ(fs.List(dir.Path()).size(), 3u);
}

} // namespace
