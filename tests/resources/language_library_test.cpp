#include "platform/language_library.h"

#include "platform/utf8.h"
#include "resources/carried_library.h"
#include "resources/resource_ids.h"
#include "resources/resource_tables.h"
#include "resources/table_resources.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <set>
#include <string>

namespace {

using platform::MenuItem;
using platform::MenuResource;
using platform::ResourceSet;

// The carried Russian library is the real library these tests read and damage.
class LanguageLibraryTest : public ::testing::Test
{
protected:
    static std::string Russian() { return std::string(resources::kRussianLibrary); }

    static bool Parses(const std::string& data, std::string* error = nullptr)
    {
        ResourceSet set;
        std::string ignored;
        return platform::ParseLanguageLibrary(data, &set, error ? error : &ignored);
    }

    static void PutU32(std::string* data, std::size_t offset, std::uint32_t value)
    {
        for (int i = 0; i < 4; ++i)
            (*data)[offset + i] = static_cast<char>(value >> (8 * i) & 0xFF);
    }

    static std::uint32_t U32At(const std::string& data, std::size_t offset)
    {
        std::uint32_t value = 0;
        for (int i = 3; i >= 0; --i)
            value = value << 8 | static_cast<unsigned char>(data[offset + i]);
        return value;
    }

    // The command ids of a menu, depth first, with 0 for separators and -1 for popups.
    static std::vector<int> Shape(const std::vector<MenuItem>& items)
    {
        std::vector<int> shape;
        for (const MenuItem& item : items) {
            shape.push_back(item.kind == MenuItem::Kind::kPopup ? -1 : item.id);
            const std::vector<int> inner = Shape(item.items);
            shape.insert(shape.end(), inner.begin(), inner.end());
        }
        return shape;
    }
};

TEST_F(LanguageLibraryTest, RussianSetHasEveryEnglishTextTranslated)
{
    ResourceSet russian;
    std::string error;
    ASSERT_TRUE(platform::ParseLanguageLibrary(resources::kRussianLibrary, &russian, &error))
        << error;
    const auto english = resources::MakeEnglishResources();

    EXPECT_EQ(russian.FindString(IDS_RESOURCE_SIGNATURE),
              english->FindString(IDS_RESOURCE_SIGNATURE));
    EXPECT_EQ(russian.FindString(IDS_LANGUAGE_NAME), platform::Utf8ToAnsi("Русский"));
    EXPECT_EQ(russian.FindString(IDS_HELP_FILE), "lumtrus.hlp");
    EXPECT_EQ(russian.FindString(IDS_TABLE_TITLE), platform::Utf8ToAnsi("Таблица %s"));

    // Texts that are the same in both languages: names, forms and symbols.
    const std::set<std::string> sameInBoth { "Lumetta", "Lumetta resource file", "???", "CAP",
        "NUM", "SCRL", "OK", "%s %s (%s)", "%3d  %11s    %9s    %3d   %3d", "YYYYMMDD",
        "MM/DD/YY", "MM/DD/YYYY", "DD.MM.YY", "DD.MM.YYYY", "" };
    for (const resources::StringEntry& entry : resources::kEnglishTable.strings) {
        const auto text = russian.FindString(entry.id);
        ASSERT_TRUE(text.has_value()) << "string " << entry.id;
        if (!sameInBoth.contains(std::string(entry.text))) {
            EXPECT_NE(*text, entry.text) << "string " << entry.id << " is still English";
        }
    }
    for (const resources::DialogEntry& entry : resources::kEnglishTable.dialogs) {
        const auto dialog = russian.FindDialog(entry.id);
        ASSERT_TRUE(dialog.has_value()) << "dialog " << entry.id;
        const auto englishDialog = english->FindDialog(entry.id);
        ASSERT_EQ(dialog->controls.size(), englishDialog->controls.size()) << entry.id;
        for (const auto& control : englishDialog->controls) {
            const std::string* text = dialog->ControlText(control.id);
            ASSERT_NE(text, nullptr) << "dialog " << entry.id << " control " << control.id;
            // The classifier help is Russian in the built-in set too.
            const bool builtInRussian = std::any_of(control.text.begin(), control.text.end(),
                [](char c) { return static_cast<unsigned char>(c) >= 0xC0; });
            if (!sameInBoth.contains(control.text) && !builtInRussian) {
                EXPECT_NE(*text, control.text) << "dialog " << entry.id << " control "
                                               << control.id << " is still English";
            }
        }
    }
    for (const int id : { IDR_MAIN_MENU, IDR_TABLE_MENU, IDR_CONTEXT_MENU }) {
        const auto menu = russian.FindMenu(id);
        ASSERT_TRUE(menu.has_value()) << "menu " << id;
        EXPECT_EQ(Shape(menu->items), Shape(english->FindMenu(id)->items)) << "menu " << id;
    }
    const MenuResource mainMenu = *russian.FindMenu(IDR_MAIN_MENU);
    const MenuItem* language = mainMenu.FindCommand(ID_VIEW_LANGUAGE);
    ASSERT_NE(language, nullptr);
    EXPECT_EQ(language->text, platform::Utf8ToAnsi("&Язык (Language)..."));
}

TEST_F(LanguageLibraryTest, EveryTruncationOfARealLibraryIsRefused)
{
    const std::string whole = Russian();
    ASSERT_TRUE(Parses(whole));
    for (std::size_t size = 0; size < whole.size(); ++size)
        ASSERT_FALSE(Parses(whole.substr(0, size))) << "cut at " << size;
    std::string error;
    EXPECT_FALSE(Parses(whole + '\0', &error));
    EXPECT_EQ(error, "bytes after the last dialog (byte " + std::to_string(whole.size()) + ")");
}

TEST_F(LanguageLibraryTest, WrongHeaderAndCountsAreRefused)
{
    const std::string whole = Russian();
    const auto refusedWith = [&](const std::function<void(std::string*)>& damage) {
        std::string data = whole;
        damage(&data);
        ResourceSet set;
        set.SetString(1, "left from before");
        std::string error;
        EXPECT_FALSE(platform::ParseLanguageLibrary(data, &set, &error));
        EXPECT_FALSE(set.FindString(1).has_value()) << "a refused file leaves nothing behind";
        return error;
    };
    EXPECT_EQ(refusedWith([](std::string* d) { (*d)[0] = 'X'; }),
              "not a language library (byte 8)");
    EXPECT_EQ(refusedWith([](std::string* d) { PutU32(d, 8, 2); }),
              "format version 2 is not known (byte 12)");
    const std::uint32_t strings = U32At(whole, 12);
    const std::uint32_t dialogs = U32At(whole, 20);
    // One string more or fewer than given shifts every record after the strings.
    refusedWith([&](std::string* d) { PutU32(d, 12, strings + 1); });
    refusedWith([&](std::string* d) { PutU32(d, 12, strings - 1); });
    refusedWith([&](std::string* d) { PutU32(d, 16, 0xFFFFFFFF); });
    EXPECT_EQ(refusedWith([&](std::string* d) { PutU32(d, 20, dialogs + 1); }),
              "the file ends inside a dialog's id (byte " + std::to_string(whole.size()) + ")");
    refusedWith([&](std::string* d) { PutU32(d, 20, dialogs - 1); });
    // The first string's length, as large as a length can be.
    EXPECT_EQ(refusedWith([](std::string* d) { PutU32(d, 28, 0xFFFFFFFF); }),
              "the file ends inside a string (byte 32)");
    // The second string under the first one's id.
    refusedWith([&](std::string* d) { PutU32(d, 32 + U32At(whole, 28), U32At(whole, 24)); });
}

// A library of one menu made of `depth` popups, each inside the one before.
std::string NestedPopups(std::uint16_t depth)
{
    std::string data(platform::kLanguageLibraryMagic);
    const auto u32 = [&data](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            data += static_cast<char>(v >> (8 * i) & 0xFF);
    };
    u32(1);
    u32(0);
    u32(1);
    u32(0);
    u32(IDR_MAIN_MENU);
    u32(depth);
    for (std::uint16_t d = 0; d < depth; ++d) {
        data += '\2';
        data += '\0';
        data += static_cast<char>(d & 0xFF);
        data += static_cast<char>(d >> 8);
        u32(0);
        u32(0);
    }
    return data;
}

TEST_F(LanguageLibraryTest, MenusNestOnlyAsDeepAsAllowedAndInsideTheirPopups)
{
    ResourceSet set;
    std::string error;
    ASSERT_TRUE(platform::ParseLanguageLibrary(NestedPopups(7), &set, &error)) << error;
    const MenuResource menu = *set.FindMenu(IDR_MAIN_MENU);
    EXPECT_EQ(menu.items.at(0).items.at(0).items.at(0).kind, MenuItem::Kind::kPopup);
    // Deep nesting would otherwise let a small file build a tree whose recursive copies and
    // destruction run out of stack.
    EXPECT_FALSE(platform::ParseLanguageLibrary(NestedPopups(60000), &set, &error));
    EXPECT_EQ(error.substr(0, 22), "menus nested too deep ");
    std::string orphan = NestedPopups(2);
    orphan[orphan.size() - 10] = 3; // the second popup at depth 3, under no popup of depth 2
    EXPECT_FALSE(platform::ParseLanguageLibrary(orphan, &set, &error));
    EXPECT_EQ(error.substr(0, 31), "a menu entry outside any popup ");
}

} // namespace
