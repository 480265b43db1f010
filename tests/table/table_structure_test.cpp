#include "table/table_structure.h"

#include "platform/file_system.h"
#include "tests/support/table_builder.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

using testing_support::TableBuilder;
using testing_support::TempDir;

class TableStructureTest : public ::testing::Test
{
protected:
    table::StructureReadResult Read(const std::vector<std::uint8_t>& bytes)
    {
        testing_support::WriteAllBytes(dir.File("t.dbf"), bytes);
        auto file = platform::FileSystem::Default().Open(dir.File("t.dbf"),
                                                         platform::OpenMode::kRead, nullptr);
        EXPECT_TRUE(file);
        return table::ReadTableStructure(*file, "t.dbf", &structure);
    }

    TempDir dir;
    table::TableStructure structure;
};

TEST_F(TableStructureTest, ReadsHeaderValuesAndDescriptors)
{
    TableBuilder b;
    b.Date(1, 2, 3).Field("NAME", 'C', 44, 1).Field("SUM", 'N', 8, 2).Record("x").Record("y");
    const auto result = Read(b.Bytes());
    ASSERT_TRUE(result.ok);
    EXPECT_TRUE(result.terminatorFound);
    EXPECT_FALSE(result.descriptorLimitHit);
    EXPECT_EQ(structure.version, 0x03);
    EXPECT_EQ(structure.year, 1);
    EXPECT_EQ(structure.month, 2);
    EXPECT_EQ(structure.day, 3);
    EXPECT_EQ(structure.recordCount, 2u);
    EXPECT_EQ(structure.headerLength, 32 * 2 + 33);
    EXPECT_EQ(structure.recordLength, 1 + 300 + 8);
    EXPECT_EQ(structure.fileLength, b.Bytes().size());
    EXPECT_EQ(structure.fileName, "t.dbf");
    ASSERT_EQ(structure.fields.size(), 2u);
    EXPECT_EQ(structure.fields[0].name, "NAME");
    EXPECT_EQ(structure.fields[0].StorageWidth(), 300u);
    EXPECT_EQ(structure.fields[1].type, 'N');
    EXPECT_EQ(structure.fields[1].decimals, 2);
}

TEST_F(TableStructureTest, StopsAtEndOfFileInsideDescriptors)
{
    TableBuilder b;
    b.Field("A", 'C', 5).Field("B", 'C', 5).Field("C", 'C', 5);
    auto bytes = b.Bytes();
    bytes.resize(32 + 32 + 20); // the second descriptor is cut
    const auto result = Read(bytes);
    ASSERT_TRUE(result.ok);
    EXPECT_FALSE(result.terminatorFound);
    EXPECT_EQ(structure.fields.size(), 1u);
}

TEST_F(TableStructureTest, GivesUpAfter257DescriptorsWithoutTerminator)
{
    TableBuilder b;
    for (int i = 0; i < 300; ++i)
        b.Field("F" + std::to_string(i), 'C', 1);
    const auto result = Read(b.Bytes());
    EXPECT_TRUE(result.descriptorLimitHit);
    EXPECT_FALSE(result.terminatorFound);
    EXPECT_EQ(structure.fields.size(), 257u);
}

TEST_F(TableStructureTest, ShortFileIsNotAStructure)
{
    EXPECT_FALSE(Read({ 0x03, 0, 0 }).ok);
    EXPECT_FALSE(Read({}).ok);
}

TEST_F(TableStructureTest, NameTakenUpToFirstNul)
{
    TableBuilder b;
    b.Field("AB", 'C', 1);
    auto bytes = b.Bytes();
    bytes[32 + 3] = 'Z'; // after the NUL that ends the name
    Read(bytes);
    ASSERT_EQ(structure.fields.size(), 1u);
    EXPECT_EQ(structure.fields[0].name, "AB");
}

} // namespace
