#include "tablegrid/operations/bookmarks.h"

#include "platform/file_system.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace tablegrid {
namespace {

using testing_support::TempDir;

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

class BookmarkFileTest : public ::testing::Test
{
protected:
    TempDir dir;
    platform::FileSystem& fs = platform::FileSystem::Default();
};

TEST_F(BookmarkFileTest, OneSectionPerTableInTheDirectorysFile)
{
    const BookmarkFile orders(fs, dir.File("orders.dbf"));
    EXPECT_EQ(orders.Path(), dir.File("Lumetta.cfg"));
    EXPECT_EQ(orders.Section(), "ORDERS");
    // An existing file of that name in another letter case is the one used.
    WriteText(dir.File("LUMETTA.CFG"), "");
    EXPECT_EQ(BookmarkFile(fs, dir.File("Orders.DBF")).Path(), dir.File("LUMETTA.CFG"));
}

TEST_F(BookmarkFileTest, SavedBookmarksReadBack)
{
    const BookmarkFile orders(fs, dir.File("orders.dbf"));
    const BookmarkFile goods(fs, dir.File("goods.dbf"));
    const BookmarkMap::Map saved = {
        { "Bkm_5_NAME", { 5, "NAME" } },
        { "bkm_5_name", { 7, "SUM" } }, // another name: letter case counts
        { "\xCF\xE5\xF2\xF0", { 2, "CITY" } },
    };
    ASSERT_TRUE(orders.Save(saved));
    ASSERT_TRUE(goods.Save({ { "g", { 1, "CODE" } } }));
    EXPECT_EQ(orders.Load(), saved);
    EXPECT_EQ(goods.Load().size(), 1u);
    const std::string text = ReadText(orders.Path());
    EXPECT_NE(text.find("[ORDERS]\r\nBookmarkCount=3\r\nBookmarkName1=Bkm_5_NAME\r\n"
                        "BookmarkField1=NAME\r\nBookmarkRecord1=5\r\n"),
        std::string::npos)
        << text;

    // Deleting the last bookmark removes the table's section: nothing comes back.
    ASSERT_TRUE(orders.Save({}));
    EXPECT_TRUE(orders.Load().empty());
    EXPECT_EQ(ReadText(orders.Path()).find("ORDERS"), std::string::npos);
    EXPECT_EQ(goods.Load().size(), 1u);
}

TEST_F(BookmarkFileTest, ADamagedFileGivesWhatCanBeRead)
{
    WriteText(dir.File("Lumetta.cfg"),
        "[T]\r\n"
        "BookmarkCount=2000000000\r\n"
        "BookmarkName1=good\r\nBookmarkField1=NAME\r\nBookmarkRecord1=3\r\n"
        "BookmarkName2=no record\r\nBookmarkField2=NAME\r\nBookmarkRecord2=x\r\n"
        "BookmarkName3=no field\r\nBookmarkRecord3=4\r\n"
        "BookmarkName4=" + std::string(5000, 'L') + "\r\nBookmarkField4=NAME\r\nBookmarkRecord4=1\r\n"
        "BookmarkName5=huge\r\nBookmarkField5=NAME\r\nBookmarkRecord5=99999999999\r\n"
        "BookmarkName6=good\r\nBookmarkField6=CITY\r\nBookmarkRecord6=9\r\n"
        "garbage line\r\n=\r\n");
    const BookmarkMap::Map loaded = BookmarkFile(fs, dir.File("t.dbf")).Load();
    EXPECT_EQ(loaded, (BookmarkMap::Map { { "good", { 9, "CITY" } } }));
    WriteText(dir.File("Lumetta.cfg"), "[T]\r\nBookmarkCount=-5\r\n");
    EXPECT_TRUE(BookmarkFile(fs, dir.File("t.dbf")).Load().empty());
    EXPECT_TRUE(BookmarkFile(fs, dir.File("none.dbf")).Load().empty());
}

TEST(BookmarkMapTest, ChangesAreTracked)
{
    BookmarkMap map;
    map.Replace({ { "a", { 1, "F" } } });
    EXPECT_FALSE(map.Changed());
    EXPECT_FALSE(map.Delete("b"));
    EXPECT_FALSE(map.Changed());
    EXPECT_TRUE(map.Delete("a"));
    EXPECT_TRUE(map.Changed());
    EXPECT_TRUE(map.Empty());
    map.MarkSaved();
    map.Set("c", { 2, "G" });
    EXPECT_TRUE(map.Changed());
    ASSERT_NE(map.Find("c"), nullptr);
    EXPECT_EQ(map.Find("C"), nullptr);
}

} // namespace
} // namespace tablegrid
