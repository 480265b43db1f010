#include "shell/window_title.h"

#include <gtest/gtest.h>

namespace {

using shell::NumberedWindow;
using shell::NumberNewWindow;

TEST(WindowTitleTest, NumbersFollowTheWindowsOfOneFileName)
{
    // The first window on a name stays bare.
    auto first = NumberNewWindow({ { "GOODS", -1 } }, "GOODS");
    EXPECT_EQ(first.number, 0);
    EXPECT_EQ(first.renumberIndex, -1);

    // A second one gives the first " : 1" and takes 2; other names do not count.
    auto second = NumberNewWindow({ { "GOODS", 0 }, { "PRICES", 0 }, { "GOODS", -1 } }, "GOODS");
    EXPECT_EQ(second.renumberIndex, 0);
    EXPECT_EQ(second.renumberTo, 1);
    EXPECT_EQ(second.number, 2);

    // Later ones take one above the highest, whatever the order the windows are in.
    EXPECT_EQ(NumberNewWindow({ { "GOODS", 2 }, { "GOODS", 1 } }, "GOODS").number, 3);
    EXPECT_EQ(NumberNewWindow({ { "GOODS", 1 }, { "GOODS", 2 } }, "GOODS").number, 3);
    // With the first closed, the next still does not repeat a number.
    EXPECT_EQ(NumberNewWindow({ { "GOODS", 2 } }, "GOODS").number, 3);
    // The name is compared exactly.
    EXPECT_EQ(NumberNewWindow({ { "goods", 0 } }, "GOODS").number, 0);
}

TEST(WindowTitleTest, TitlesAndTabsShowThePathNameChangesAndNumber)
{
    EXPECT_EQ(shell::TitlePathOf("/data/GOODS.DBF"), "/data/GOODS");
    EXPECT_EQ(shell::TitlePathOf("/data/goods.Dbf"), "/data/goods");
    EXPECT_EQ(shell::TitlePathOf("/data/goods.txt"), "/data/goods.txt");

    EXPECT_EQ(shell::TableWindowTitle("/data/GOODS.DBF", false, 0), "Table /data/GOODS");
    EXPECT_EQ(shell::TableWindowTitle("/data/GOODS.DBF", true, 2), "Table /data/GOODS * : 2");
    EXPECT_EQ(shell::TableTabLabel("/data/GOODS.DBF", false, 1), "GOODS : 1");
    // A path in UTF-8 is shown in the program's code page.
    EXPECT_EQ(shell::TableTabLabel("/data/\xD1\x82.dbf", true, 0), "\xF2 *");
}

} // namespace
