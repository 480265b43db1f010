#include "platform/resource_set.h"
#include "platform/resource_source.h"

#include <gtest/gtest.h>

namespace {

using platform::DialogResource;
using platform::MenuItem;
using platform::MenuResource;
using platform::ResourceSet;

MenuItem Command(int id, std::string text)
{
    MenuItem item;
    item.id = id;
    item.text = std::move(text);
    return item;
}

MenuItem Popup(std::string text, std::vector<MenuItem> items)
{
    MenuItem item;
    item.kind = MenuItem::Kind::kPopup;
    item.text = std::move(text);
    item.items = std::move(items);
    return item;
}

// Each test starts from a known current set and leaves the one it found.
class ResourceSourceTest : public ::testing::Test
{
protected:
    void SetUp() override { m_saved = platform::InstallResources(std::make_unique<ResourceSet>()); }
    void TearDown() override
    {
        if (m_saved)
            platform::InstallResources(std::move(m_saved));
    }

    static std::unique_ptr<ResourceSet> SetWith(int stringId, std::string text)
    {
        auto set = std::make_unique<ResourceSet>();
        set->SetString(stringId, std::move(text));
        return set;
    }

private:
    std::unique_ptr<platform::ResourceSource> m_saved;
};

TEST_F(ResourceSourceTest, MissingIdsReadAsEmptyTextAndNoMenuOrDialog)
{
    EXPECT_EQ(platform::LoadString(134), "");
    EXPECT_FALSE(platform::CurrentResources().FindString(134).has_value());
    EXPECT_FALSE(platform::LoadMenu(155).has_value());
    EXPECT_FALSE(platform::LoadDialog(137).has_value());
    EXPECT_EQ(platform::LoadFlyByText(57601), "");
    EXPECT_EQ(platform::LoadToolTip(57601), "");
}

TEST_F(ResourceSourceTest, AnEmptyStringIsPresentAndDiffersFromAMissingOne)
{
    platform::InstallResources(SetWith(1, ""));
    EXPECT_EQ(platform::CurrentResources().FindString(1), std::optional<std::string>(""));
    EXPECT_FALSE(platform::CurrentResources().FindString(2).has_value());
}

// Kinds are separate: string 130, menu 130 and dialog 130 are three resources.
TEST_F(ResourceSourceTest, StringsMenusAndDialogsWithOneNumberAreApart)
{
    auto set = SetWith(130, "<no codepage set>");
    set->SetMenu(MenuResource { 130, { Command(1, "One") } });
    set->SetDialog(DialogResource { 130, "Select codepage", { { 1061, "Write" } } });
    platform::InstallResources(std::move(set));

    EXPECT_EQ(platform::LoadString(130), "<no codepage set>");
    ASSERT_TRUE(platform::LoadMenu(130).has_value());
    EXPECT_EQ(platform::LoadMenu(130)->items.at(0).text, "One");
    ASSERT_TRUE(platform::LoadDialog(130).has_value());
    EXPECT_EQ(platform::LoadDialog(130)->caption, "Select codepage");
}

// A language switch installs a whole new set: every later lookup sees it, texts taken
// before stay as they were, and the previous set comes back to the caller.
TEST_F(ResourceSourceTest, InstallingASetReplacesItWholeAndGivesBackThePrevious)
{
    auto english = SetWith(134, "Table %s");
    english->SetString(57345, "Press F1 for help");
    platform::InstallResources(std::move(english));
    const std::string before = platform::LoadString(134);

    std::unique_ptr<platform::ResourceSource> previous
        = platform::InstallResources(SetWith(134, "\xD2\xE0\xE1\xEB\xE8\xF6\xE0 %s"));
    EXPECT_EQ(platform::LoadString(134), "\xD2\xE0\xE1\xEB\xE8\xF6\xE0 %s"); // "Таблица %s"
    EXPECT_EQ(platform::LoadString(57345), "") << "nothing of the previous set shows through";
    EXPECT_EQ(before, "Table %s");

    ASSERT_NE(previous, nullptr);
    EXPECT_EQ(previous->FindString(57345), std::optional<std::string>("Press F1 for help"));
    platform::InstallResources(std::move(previous));
    EXPECT_EQ(platform::LoadString(134), "Table %s");
}

TEST_F(ResourceSourceTest, ACommandStringSplitsIntoFlyByTextAndToolTip)
{
    auto set = SetWith(57601, "Open an existing table\nOpen");
    set->SetString(32811, "Fly-by only");
    set->SetString(32812, "Two\nline\nbreaks");
    platform::InstallResources(std::move(set));

    EXPECT_EQ(platform::LoadFlyByText(57601), "Open an existing table");
    EXPECT_EQ(platform::LoadToolTip(57601), "Open");
    EXPECT_EQ(platform::LoadFlyByText(32811), "Fly-by only");
    EXPECT_EQ(platform::LoadToolTip(32811), "");
    EXPECT_EQ(platform::LoadFlyByText(32812), "Two");
    EXPECT_EQ(platform::LoadToolTip(32812), "line\nbreaks");
}

TEST(MenuResourceTest, LabelShortcutAndCommandSearchThroughPopups)
{
    const MenuResource menu { 155,
        { Popup("&File", { Command(57603, "&Save\tCtrl+S") }),
            Popup("&Edit",
                { Popup("&Append Record", { Command(32822, "&Copy Current\tCtrl+Shift+N") }) }),
            Command(32813, "&Refresh") } };

    const MenuItem* save = menu.FindCommand(57603);
    ASSERT_NE(save, nullptr);
    EXPECT_EQ(save->Label(), "&Save");
    EXPECT_EQ(save->Shortcut(), "Ctrl+S");

    const MenuItem* copy = menu.FindCommand(32822);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Shortcut(), "Ctrl+Shift+N");

    const MenuItem* refresh = menu.FindCommand(32813);
    ASSERT_NE(refresh, nullptr);
    EXPECT_EQ(refresh->Label(), "&Refresh");
    EXPECT_EQ(refresh->Shortcut(), "");

    EXPECT_EQ(menu.FindCommand(1), nullptr);
}

} // namespace
