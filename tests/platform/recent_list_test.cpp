#include "platform/file_system.h"
#include "platform/profile_file.h"
#include "platform/recent_list.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

using platform::AbbreviatePath;
using platform::RecentList;

class RecentListTest : public ::testing::Test
{
protected:
    testing_support::TempDir dir;
    platform::ProfileFile file { platform::FileSystem::Default(), dir.File("Lumetta.ini") };
    RecentList list;
};

TEST_F(RecentListTest, AddingMovesToTheFrontAndKeepsSixteen)
{
    for (int i = 1; i <= 17; ++i)
        list.Add("/data/t" + std::to_string(i) + ".dbf");
    list.Add("");
    ASSERT_EQ(list.Size(), 16u);
    EXPECT_EQ(list.At(0), "/data/t17.dbf");
    EXPECT_EQ(list.At(15), "/data/t2.dbf"); // t1 dropped out

    list.Add("/data/t5.dbf");
    EXPECT_EQ(list.At(0), "/data/t5.dbf");
    EXPECT_EQ(list.At(1), "/data/t17.dbf");
    EXPECT_EQ(list.Size(), 16u);

    list.Add("/data/T5.DBF"); // another file on this system
    EXPECT_EQ(list.Size(), 16u);
    EXPECT_EQ(list.At(1), "/data/t5.dbf");

    list.Remove(0);
    EXPECT_EQ(list.At(0), "/data/t5.dbf");
    EXPECT_EQ(list.Size(), 15u);
}

TEST_F(RecentListTest, ReadsAndWritesTheSettingsSection)
{
    ASSERT_TRUE(file.WriteSection("Recent File List",
        { { "File1", "/a.dbf" }, { "File3", "/kladr/" }, { "File4", "/a.dbf" },
            { "File16", "/z.dbf" }, { "File17", "/beyond.dbf" } }));
    list.Read(file);
    EXPECT_EQ(list.Entries(), (std::vector<std::string> { "/a.dbf", "/kladr/", "/z.dbf" }));

    list.Add("/b.dbf");
    ASSERT_TRUE(list.Write(file));
    RecentList again;
    again.Read(file);
    EXPECT_EQ(again.Entries(), list.Entries());
    EXPECT_EQ(file.GetString("Recent File List", "File1", ""), "/b.dbf");
    EXPECT_EQ(file.GetString("Recent File List", "File4", ""), "/z.dbf");
    EXPECT_EQ(file.GetString("Recent File List", "File17", "gone"), "gone");

    ASSERT_TRUE(RecentList().Write(file));
    list.Read(file);
    EXPECT_EQ(list.Size(), 0u);
}

TEST_F(RecentListTest, LongPathsLoseTheirMiddleDirectories)
{
    EXPECT_EQ(AbbreviatePath("/home/u/data/goods.dbf", 30), "/home/u/data/goods.dbf");
    EXPECT_EQ(AbbreviatePath("/home/u/projects/stock/2023/december/goods.dbf", 30),
        "/home/u/.../december/goods.dbf");
    // The head gives way before the name does.
    EXPECT_EQ(AbbreviatePath("/home/username/projects/x/averylongtable.dbf", 30),
        "/home/.../x/averylongtable.dbf");
    EXPECT_EQ(AbbreviatePath("/home/username/projects/x/averyverylongtable.dbf", 30),
        "/.../x/averyverylongtable.dbf");
    EXPECT_EQ(AbbreviatePath("/srv/a-table-name-longer-than-thirty.dbf", 30),
        "a-table-name-longer-than-thirty.dbf");
    EXPECT_EQ(AbbreviatePath("/home/u/classifiers/russia/kladr-2023/", 30),
        "/home/u/.../russia/kladr-2023/");
    EXPECT_EQ(AbbreviatePath("/a/b/c/d/e/f/g/h/i/j/k/l/m/n/o/p.dbf", 30),
        "/a/b/.../h/i/j/k/l/m/n/o/p.dbf");
}

TEST_F(RecentListTest, MenuTextsAreNumberedWithEscapedAmpersands)
{
    for (int i = 16; i >= 1; --i)
        list.Add("/data/R&D " + std::to_string(i) + ".dbf");
    EXPECT_EQ(list.MenuText(0), "&1 /data/R&&D 1.dbf");
    EXPECT_EQ(list.MenuText(9), "1&0 /data/R&&D 10.dbf");
    EXPECT_EQ(list.MenuText(15), "16 /data/R&&D 16.dbf");
}

} // namespace
