#include "platform/resource_set.h"
#include "resources/resource_ids.h"
#include "resources/table_resources.h"

#include <cctype>
#include <functional>
#include <gtest/gtest.h>
#include <set>
#include <vector>

namespace {

using platform::DialogResource;
using platform::MenuItem;
using platform::MenuResource;

class EnglishResourcesTest : public ::testing::Test
{
protected:
    void SetUp() override { resources::InstallEnglishResources(); }

    static std::string String(int id) { return platform::LoadString(id); }

    // A popup's or menu's entries as short lines: "-" a separator, "> text" a popup, and
    // "id text" a command.
    static std::vector<std::string> Outline(const std::vector<MenuItem>& items)
    {
        std::vector<std::string> lines;
        for (const MenuItem& item : items) {
            switch (item.kind) {
            case MenuItem::Kind::kSeparator:
                lines.push_back("-");
                break;
            case MenuItem::Kind::kPopup:
                lines.push_back("> " + item.text);
                break;
            case MenuItem::Kind::kCommand:
                lines.push_back(std::to_string(item.id) + " " + item.text);
                break;
            }
        }
        return lines;
    }

    static std::vector<std::string> PopupTitles(const MenuResource& menu)
    {
        std::vector<std::string> titles;
        for (const MenuItem& item : menu.items) {
            EXPECT_EQ(item.kind, MenuItem::Kind::kPopup) << item.text;
            titles.push_back(item.text);
        }
        return titles;
    }

    static const MenuItem& Popup(const std::vector<MenuItem>& items, const std::string& text)
    {
        for (const MenuItem& item : items) {
            if (item.kind == MenuItem::Kind::kPopup && item.text == text)
                return item;
        }
        static const MenuItem none;
        ADD_FAILURE() << "no popup " << text;
        return none;
    }

    static std::string Control(const DialogResource& dialog, int id)
    {
        const std::string* text = dialog.ControlText(id);
        EXPECT_NE(text, nullptr) << "dialog " << dialog.id << " control " << id;
        return text ? *text : std::string();
    }
};

TEST_F(EnglishResourcesTest, TheProgramsOwnStringsIdentifyTheSet)
{
    EXPECT_EQ(String(IDS_APP_TITLE), "Lumetta");
    EXPECT_EQ(String(IDS_IDLE_MESSAGE), "Press F1 for help");
    EXPECT_EQ(String(IDS_RESOURCE_SIGNATURE), "Lumetta resource file");
    EXPECT_EQ(String(IDS_LANGUAGE_NAME), "English");
    EXPECT_EQ(String(IDS_HELP_FILE), "lumteng.hlp");
}

// Texts are compared byte for byte: the blanks inside them, the line breaks and the format
// slots are what the program fills and what a translation must keep.
TEST_F(EnglishResourcesTest, MessagesAndStatusTextsHaveTheirExactTexts)
{
    EXPECT_EQ(String(134), "Table %s");
    EXPECT_EQ(String(135), "%u byte(s)");
    EXPECT_EQ(String(59394), "Filter");
    EXPECT_EQ(String(61444), "Current codepage: %s");
    EXPECT_EQ(String(61869), "Invalid filter expression. Filter has not been set.");
    EXPECT_EQ(String(61878), "Row  %d  of  %d,   Column  %d  of  %d");
    EXPECT_EQ(String(61879), "Record  %d  of  %d");
    EXPECT_EQ(String(61884), "  #    Name         Type         Len  Dec");
    EXPECT_EQ(String(61886), "%3d  %11s    %9s    %3d   %3d");
    EXPECT_EQ(String(61888), "Cannot find the string '%s'");
    EXPECT_EQ(String(61890), "The table %s has been changed. Save changes to the file?");
    EXPECT_EQ(String(61893),
        "Packing the table permanently removes records that are marked "
        "for deletion.\n\nPack the table %s ?");
    EXPECT_EQ(String(61895), "Search complete.\n\n%i replaces have been done.");
    EXPECT_EQ(String(61897), "DBF files (*.dbf)|*.dbf|All files |*.*||");
    EXPECT_EQ(String(61916),
        "The index file for the table \n%s\n has been found. To let other programs "
        "correctly process this table it is recommended to delete index file and "
        "recreate it in another program.\n\nDelete index file?");
    EXPECT_EQ(String(61951), "<absent>");
    EXPECT_EQ(String(IDS_HEADER_CORRUPTED),
        "The header of the table %s  is corrupted. Should it be fixed?");
    EXPECT_EQ(String(IDS_FILE_CHANGED_ELSEWHERE), "File \n%s\n has been changed.\n\nRefresh view?");
}

TEST_F(EnglishResourcesTest, ListTextsComeInTheirNumberedOrder)
{
    const std::vector<std::string> dates { String(61927), String(61928), String(61929),
        String(61930), String(61931) };
    EXPECT_EQ(dates,
        (std::vector<std::string> {
            "YYYYMMDD", "MM/DD/YY", "MM/DD/YYYY", "DD.MM.YY", "DD.MM.YYYY" }));
    const std::vector<std::string> codepages { String(130), String(131), String(132), String(133) };
    EXPECT_EQ(codepages,
        (std::vector<std::string> {
            "<no codepage set>", "Russian DOS (866)", "Russian Windows (1251)", "<autodetect>" }));
    const std::vector<std::string> operators { String(140), String(141), String(142), String(147),
        String(148), String(152) };
    EXPECT_EQ(operators,
        (std::vector<std::string> { "empty", "not empty", "equal to", "greater than or equal to",
            "contains", "does not contain" }));
}

TEST_F(EnglishResourcesTest, CommandsCarryFlyByTextAndToolTip)
{
    EXPECT_EQ(platform::LoadFlyByText(ID_FILE_OPEN), "Open an existing table");
    EXPECT_EQ(platform::LoadToolTip(ID_FILE_OPEN), "Open");
    // Every tool bar button has a tip to show.
    for (const int command :
        { ID_FILE_OPEN, ID_FILE_SAVE, ID_RECORD_TOGGLE_DELETE, ID_EDIT_FIND, ID_EDIT_GOTO,
            ID_EDIT_ADD_BOOKMARK, ID_EDIT_BOOKMARKS, ID_TABLE_CODEPAGE, ID_TABLE_COLUMNS,
            ID_VIEW_ADJUST_COLUMNS, ID_TABLE_FILTER, ID_VIEW_REFRESH, ID_FILE_OPEN_CLASSIFIERS,
            ID_CLASSIFIERS_REGION, ID_CLASSIFIERS_SETTLEMENT, ID_APP_ABOUT, ID_VIEW_FORM }) {
        EXPECT_NE(platform::LoadFlyByText(command), "") << command;
        EXPECT_NE(platform::LoadToolTip(command), "") << command;
    }
}

TEST_F(EnglishResourcesTest, TheMainMenuHoldsFileViewAndHelp)
{
    const std::optional<MenuResource> menu = platform::LoadMenu(IDR_MAIN_MENU);
    ASSERT_TRUE(menu.has_value());
    EXPECT_EQ(PopupTitles(*menu), (std::vector<std::string> { "&File", "&View", "&Help" }));
    EXPECT_EQ(Outline(Popup(menu->items, "&File").items),
        (std::vector<std::string> { "57601 &Open...\tCtrl+O", "32829 Open &Classifiers...",
            "32825 &Database schema...", "-", "57616 Recent table", "-", "57665 E&xit" }));
    EXPECT_TRUE(menu->FindCommand(ID_FILE_MRU_FILE1)->grayed);
    // The Language item names itself in both languages, so it can be found in either.
    EXPECT_EQ(menu->FindCommand(ID_VIEW_LANGUAGE)->text, "&Language (\xDF\xE7\xFB\xEA)...");
    EXPECT_EQ(Outline(Popup(menu->items, "&Help").items),
        (std::vector<std::string> { "57667 &Contents", "-", "57664 &About Lumetta...",
            "32811 About our &products...", "32834 About C&lassifiers..." }));
}

TEST_F(EnglishResourcesTest, TheTableMenuHoldsEveryTableCommandWithItsShortcut)
{
    const std::optional<MenuResource> menu = platform::LoadMenu(IDR_TABLE_MENU);
    ASSERT_TRUE(menu.has_value());
    EXPECT_EQ(PopupTitles(*menu),
        (std::vector<std::string> {
            "&File", "&Edit", "&View", "&Table", "&Classifiers", "&Window", "&Help" }));

    const MenuItem& edit = Popup(menu->items, "&Edit");
    const MenuItem& append = Popup(edit.items, "&Append Record");
    EXPECT_EQ(Outline(append.items),
        (std::vector<std::string> { "32821 &Empty\tCtrl+N", "32822 &Copy Current\tCtrl+Shift+N" }));
    EXPECT_EQ(Outline(Popup(edit.items, "&Delete status").items),
        (std::vector<std::string> { "32798 &Delete Record", "32799 &Undelete Record",
            "32800 &Toggle Delete\tCtrl+T", "-", "32814 Delete &All", "32816 U&ndelete All" }));
    EXPECT_EQ(Outline(Popup(menu->items, "&Table").items),
        (std::vector<std::string> { "32771 &Codepage...", "32773 &Filter...", "32775 C&olumns...",
            "32776 &Properties..." }));

    const std::vector<std::pair<int, std::string>> shortcuts {
        { ID_FILE_OPEN, "Ctrl+O" },
        { ID_FILE_SAVE, "Ctrl+S" },
        { ID_EDIT_FIND, "Ctrl+F" },
        { ID_EDIT_REPLACE, "Ctrl+H" },
        { ID_EDIT_GOTO, "Ctrl+G" },
        { ID_EDIT_ADD_BOOKMARK, "Ctrl+A" },
        { ID_EDIT_BOOKMARKS, "Ctrl+B" },
        { ID_RECORD_APPEND_EMPTY, "Ctrl+N" },
        { ID_RECORD_APPEND_COPY, "Ctrl+Shift+N" },
        { ID_RECORD_TOGGLE_DELETE, "Ctrl+T" },
        { ID_TABLE_PACK, "Ctrl+P" },
        { ID_VIEW_REFRESH, "F5" },
        { ID_EDIT_UNDO, "Ctrl+Z" },
        { ID_EDIT_COPY, "Ctrl+C" },
        { ID_EDIT_PASTE, "Ctrl+V" },
    };
    for (const auto& [command, shortcut] : shortcuts) {
        const MenuItem* item = menu->FindCommand(command);
        ASSERT_NE(item, nullptr) << command;
        EXPECT_EQ(item->Shortcut(), shortcut) << command;
    }
    EXPECT_EQ(menu->FindCommand(ID_VIEW_FORM)->text, "Form &View");
    EXPECT_EQ(menu->FindCommand(ID_VIEW_ADJUST_COLUMNS)->text, "&Adjust Columns");
    for (const int command :
        { ID_FILE_OPEN_IN_DIRECTORY, ID_FILE_CLOSE, ID_FILE_SAVE_AS, ID_FILE_DATABASE_SCHEMA,
            ID_CLASSIFIERS_REGION, ID_CLASSIFIERS_SETTLEMENT, ID_WINDOW_CASCADE,
            ID_WINDOW_TILE_HORZ, ID_VIEW_FONT_BAR, ID_VIEW_LANGUAGE, ID_HELP_ABOUT_CLASSIFIERS })
        EXPECT_NE(menu->FindCommand(command), nullptr) << command;
}

TEST_F(EnglishResourcesTest, TheContextMenuIsOnePopupOfTheTableCommands)
{
    const std::optional<MenuResource> menu = platform::LoadMenu(IDR_CONTEXT_MENU);
    ASSERT_TRUE(menu.has_value());
    ASSERT_EQ(menu->items.size(), 1u);
    std::vector<int> commands;
    for (const MenuItem& item : menu->items[0].items) {
        if (item.kind == MenuItem::Kind::kCommand)
            commands.push_back(item.id);
    }
    EXPECT_EQ(commands,
        (std::vector<int> { ID_EDIT_FIND, ID_EDIT_REPLACE, ID_EDIT_GOTO, ID_RECORD_TOGGLE_DELETE,
            ID_RECORD_DELETE_ALL, ID_RECORD_UNDELETE_ALL, ID_RECORD_APPEND_EMPTY,
            ID_RECORD_APPEND_COPY, ID_TABLE_CODEPAGE, ID_TABLE_FILTER, ID_TABLE_COLUMNS,
            ID_TABLE_PROPERTIES }));
}

// One access key per letter inside each popup, so Alt+letter reaches one item.
TEST_F(EnglishResourcesTest, NoPopupGivesOneAccessKeyToTwoItems)
{
    std::function<void(const MenuItem&)> check = [&](const MenuItem& popup) {
        std::set<char> keys;
        for (const MenuItem& item : popup.items) {
            const std::size_t amp = item.text.find('&');
            if (amp != std::string::npos && amp + 1 < item.text.size()) {
                const char key = static_cast<char>(std::tolower(item.text[amp + 1]));
                EXPECT_TRUE(keys.insert(key).second) << popup.text << ": " << item.text;
            }
            if (item.kind == MenuItem::Kind::kPopup)
                check(item);
        }
    };
    for (const int id : { IDR_MAIN_MENU, IDR_TABLE_MENU, IDR_CONTEXT_MENU }) {
        MenuItem top;
        top.items = platform::LoadMenu(id)->items;
        top.text = std::to_string(id);
        check(top);
    }
}

TEST_F(EnglishResourcesTest, DialogsGiveCaptionAndControlTextsById)
{
    const std::optional<DialogResource> search = platform::LoadDialog(IDD_SEARCH);
    ASSERT_TRUE(search.has_value());
    EXPECT_EQ(search->caption, "Search");
    EXPECT_EQ(Control(*search, IDC_SEARCH_CASE_SENSITIVE), "Case &Sensitive");
    EXPECT_EQ(Control(*search, IDC_WHOLE_WORD), "&Match whole word");
    EXPECT_EQ(Control(*search, IDC_SEARCH_ENTIRE_SCOPE), "Entire scope");
    EXPECT_EQ(Control(*search, IDC_REPLACE_ALL), "Replace &All");
    EXPECT_EQ(Control(*search, IDOK), "&Find next");
    EXPECT_EQ(Control(*search, IDCANCEL), "&Close");

    const std::optional<DialogResource> filter = platform::LoadDialog(IDD_FILTER);
    ASSERT_TRUE(filter.has_value());
    EXPECT_EQ(Control(*filter, IDC_DELETED_EXCLUDE), "exclude deleted");
    EXPECT_EQ(Control(*filter, IDC_EMPTY_ONLY), "empty only");
    EXPECT_EQ(Control(*filter, IDC_FILTER_OR), "&Or");

    const std::optional<DialogResource> schemaTable = platform::LoadDialog(IDD_SCHEMA_TABLE);
    ASSERT_TRUE(schemaTable.has_value());
    EXPECT_EQ(Control(*schemaTable, IDC_SCHEMA_NAME_FIELD), "\"Name\" field");

    EXPECT_EQ(platform::LoadDialog(IDD_SELECT_CODEPAGE)->caption, "Select codepage");
    EXPECT_EQ(
        platform::LoadDialog(IDD_COLUMNS)->caption, "Set visibility and order of the columns");
    EXPECT_EQ(platform::LoadDialog(IDD_TABLE_PROPERTIES)->caption, "Table properties");
    EXPECT_EQ(platform::LoadDialog(IDD_GOTO)->caption, "Go to");
}

// Every dialog the program builds is in the set, even those without texts, so building one
// never depends on whether a language left it out.
TEST_F(EnglishResourcesTest, EveryDialogIsPresent)
{
    for (const int id :
        { IDD_ABOUT, IDD_FONT_BAR, IDD_SELECT_CODEPAGE, IDD_FILTER, IDD_COLUMNS, IDD_GOTO,
            IDD_SEARCH, IDD_SAVE_OPTIONS, IDD_TABLE_BAR, IDD_DELETE_INDEX, IDD_SELECT_LANGUAGE,
            IDD_BOOKMARKS, IDD_ADD_BOOKMARK, IDD_REGION_PROGRESS, IDD_CLASSIFIER_HELP,
            IDD_SAVE_TEXT, IDD_TABLE_PROPERTIES, IDD_DATABASE, IDD_SCHEMA_TABLE })
        EXPECT_TRUE(platform::LoadDialog(id).has_value()) << id;
    EXPECT_TRUE(platform::LoadDialog(IDD_TABLE_BAR)->controls.empty());
}

TEST_F(EnglishResourcesTest, ALanguageSetReplacesTheBuiltInOneAndEnglishComesBack)
{
    auto russian = std::make_unique<platform::ResourceSet>();
    russian->SetString(IDS_TABLE_TITLE, "\xD2\xE0\xE1\xEB\xE8\xF6\xE0 %s");
    platform::InstallResources(std::move(russian));
    EXPECT_EQ(String(IDS_TABLE_TITLE), "\xD2\xE0\xE1\xEB\xE8\xF6\xE0 %s");
    EXPECT_FALSE(platform::LoadMenu(IDR_MAIN_MENU).has_value());

    resources::InstallEnglishResources();
    EXPECT_EQ(String(IDS_TABLE_TITLE), "Table %s");
    EXPECT_TRUE(platform::LoadMenu(IDR_MAIN_MENU).has_value());
}

TEST_F(EnglishResourcesTest, IdsTheSetLacksAreMissedNotInvented)
{
    EXPECT_EQ(String(61889), "");
    EXPECT_FALSE(platform::CurrentResources().FindString(61889).has_value());
    EXPECT_FALSE(platform::LoadMenu(128).has_value());
    EXPECT_FALSE(platform::LoadDialog(999).has_value());
    EXPECT_EQ(platform::LoadDialog(IDD_GOTO)->ControlText(IDC_GOTO_ROW_NUMBER), nullptr);
}

// The lookup relies on the generated tables being sorted; a fault there would lose strings
// at random, so every entry must be found under its own id.
TEST(TableResourcesTest, EveryEntryOfTheCompiledTablesIsFoundUnderItsId)
{
    const resources::TableResources english(resources::kEnglishTable);
    for (const resources::StringEntry& entry : resources::kEnglishTable.strings)
        EXPECT_EQ(english.FindString(entry.id), std::optional<std::string>(entry.text)) << entry.id;
    std::size_t controls = 0;
    for (const resources::DialogEntry& entry : resources::kEnglishTable.dialogs) {
        const std::optional<DialogResource> dialog = english.FindDialog(entry.id);
        ASSERT_TRUE(dialog.has_value()) << entry.id;
        controls += dialog->controls.size();
    }
    EXPECT_EQ(controls, resources::kEnglishTable.controls.size());
}

} // namespace
