// The table window's Columns, Properties and Codepage commands end to end: enabled with a
// table, reached from the tool bar, their dialogs driven as a user would, and what the grid
// and the file hold afterwards.

#include "shell/child_frame.h"

#include "resources/resource_ids.h"
#include "shell/main_frame.h"
#include "shell/tool_bar.h"
#include "table/table.h"
#include "tablegrid/table_wnd_grid.h"
#include "tests/shell/shell_test_support.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/table_builder.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

#include <filesystem>
#include <gtest/gtest.h>

namespace {

using shell::CChildFrame;
using shell_testing::OnModalDialog;
using table::CodePageId;
using testing_support::ScriptedPrompt;

// "Привет" as code page 866 stores it and as the user sees it (1251).
const char kOemWord[] = "\x8F\xE0\xA8\xA2\xA5\xE2";
const char kAnsiWord[] = "\xCF\xF0\xE8\xE2\xE5\xF2";

template <class Widget> Widget* Control(const QDialog& dialog, const char* name)
{
    auto* widget = dialog.findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

void Click(const QDialog& dialog, const char* name)
{
    if (auto* button = Control<QAbstractButton>(dialog, name))
        button->click();
}

class ChildFrameTableTest : public shell_testing::ShellTest
{
protected:
    CChildFrame* Open(const std::string& path)
    {
        app->OpenTableFile(path);
        CChildFrame* window = Main().ActiveTableWindow();
        EXPECT_NE(window, nullptr);
        return window;
    }

    static std::string CellText(CChildFrame* window, int row, int column)
    {
        window->Grid()->EnsureRowsCached(row, row);
        const auto* cached = window->Grid()->FindCachedRow(row);
        return cached ? cached->texts.at(static_cast<std::size_t>(column)) : std::string();
    }

    // Select codepage: the entry `name` chosen, the write box as `write`, OK.
    void ChooseCodePage(const char* name, bool write)
    {
        OnModalDialog("IDD_SELECT_CODEPAGE", [name, write](QDialog& dialog) {
            auto* list = Control<QListWidget>(dialog, "IDC_CODEPAGE_LIST");
            list->setCurrentItem(
                list->findItems(QString::fromLatin1(name), Qt::MatchExactly).at(0));
            if (write)
                Click(dialog, "IDC_WRITE_CODEPAGE");
            Click(dialog, "IDOK");
        });
        EXPECT_TRUE(Main().Router().Execute(ID_TABLE_CODEPAGE));
    }

    std::uint8_t CodePageMark(const std::string& path) const
    {
        return testing_support::ReadAllBytes(path).at(29);
    }
};

TEST_F(ChildFrameTableTest, TheCommandsAreOfferedWithATableAndTheToolBarRunsThem)
{
    ScriptedPrompt prompt;
    Start();
    const int commands[] = { ID_TABLE_COLUMNS, ID_TABLE_PROPERTIES, ID_TABLE_CODEPAGE };
    for (const int command : commands)
        EXPECT_FALSE(Main().Router().Query(command).enabled) << command;
    Open(WriteTable("a.dbf"));
    for (const int command : commands)
        EXPECT_TRUE(Main().Router().Query(command).enabled) << command;
    EXPECT_TRUE(Main().CommandBar()->Button(ID_TABLE_COLUMNS)->isEnabled());
    EXPECT_TRUE(Main().CommandBar()->Button(ID_TABLE_CODEPAGE)->isEnabled());

    // The tool bar's button runs the command.
    bool shown = false;
    OnModalDialog("IDD_COLUMNS", [&shown](QDialog&) { shown = true; });
    Main().CommandBar()->Button(ID_TABLE_COLUMNS)->trigger();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(prompt.Questions().empty());
}

TEST_F(ChildFrameTableTest, ColumnsOkRebuildsTheGridFromTheNewLayoutAndCancelKeepsIt)
{
    ScriptedPrompt prompt;
    Start();
    CChildFrame* window = Open(WriteTable("a.dbf", 3));
    tablegrid::CTableWndGrid* grid = window->Grid();
    grid->SetCurrentCell(1, 1);

    OnModalDialog("IDD_COLUMNS", [](QDialog& dialog) {
        Click(dialog, "IDC_COLUMN_HIDE"); // NAME, the first column, is current
        Click(dialog, "IDCANCEL");
    });
    EXPECT_TRUE(Main().Router().Execute(ID_TABLE_COLUMNS));
    EXPECT_EQ(grid->GetColumnCount(), 2);

    OnModalDialog("IDD_COLUMNS", [](QDialog& dialog) {
        Click(dialog, "IDC_COLUMN_HIDE");
        Click(dialog, "IDOK");
    });
    EXPECT_TRUE(Main().Router().Execute(ID_TABLE_COLUMNS));
    ASSERT_EQ(grid->GetColumnCount(), 1);
    EXPECT_FALSE(grid->Columns()[0].visible);
    EXPECT_EQ(CellText(window, 2, 0), "3.00");
    // The cursor stays on its row and on SUM, now the first column.
    EXPECT_EQ(grid->GetCurrentRow(), 1);
    EXPECT_EQ(grid->GetCurrentColumn(), 0);

    // Show All, then SUM moved before NAME.
    OnModalDialog("IDD_COLUMNS", [](QDialog& dialog) {
        Click(dialog, "IDC_COLUMN_SHOW_ALL");
        auto* list = Control<QTreeWidget>(dialog, "IDC_COLUMN_LIST");
        list->setCurrentItem(list->topLevelItem(1));
        Click(dialog, "IDC_COLUMN_UP");
        Click(dialog, "IDOK");
    });
    EXPECT_TRUE(Main().Router().Execute(ID_TABLE_COLUMNS));
    ASSERT_EQ(grid->GetColumnCount(), 2);
    EXPECT_EQ(CellText(window, 2, 0), "3.00");
    EXPECT_EQ(CellText(window, 2, 1), "Name2");
    Screenshot("columns_reordered");
    EXPECT_TRUE(prompt.Questions().empty());
}

TEST_F(ChildFrameTableTest, PropertiesShowTheTableFromTheMenuAndFromColumns)
{
    ScriptedPrompt prompt { platform::IDOK };
    Start();
    const std::string path = WriteTable("a.dbf", 3);
    Open(path);
    auto checkProperties = [path](QDialog& dialog) {
        EXPECT_EQ(Control<QLabel>(dialog, "IDC_PROPERTIES_FILE")->text(),
            QString::fromUtf8(path.c_str()));
        EXPECT_EQ(Control<QLabel>(dialog, "IDC_PROPERTIES_RECORDS")->text(), QStringLiteral("3"));
        EXPECT_EQ(Control<QListWidget>(dialog, "IDC_PROPERTIES_FIELD_LIST")->count(), 2);
    };
    OnModalDialog("IDD_TABLE_PROPERTIES", checkProperties);
    EXPECT_TRUE(Main().Router().Execute(ID_TABLE_PROPERTIES));

    bool fromColumns = false;
    OnModalDialog("IDD_COLUMNS", [&checkProperties, &fromColumns](QDialog& dialog) {
        OnModalDialog("IDD_TABLE_PROPERTIES", [&checkProperties, &fromColumns](QDialog& shown) {
            checkProperties(shown);
            fromColumns = true;
        });
        Click(dialog, "IDC_COLUMN_TABLE");
    });
    EXPECT_TRUE(Main().Router().Execute(ID_TABLE_COLUMNS));
    EXPECT_TRUE(fromColumns);

    // Its file gone, the table shows no properties but the system's reason.
    std::filesystem::remove(path);
    EXPECT_TRUE(Main().Router().Execute(ID_TABLE_PROPERTIES));
    EXPECT_EQ(prompt.Texts(), std::vector<std::string> { path + ": No such file or directory" });
}

TEST_F(ChildFrameTableTest, CodepageRedrawsTheRowsAndWritesTheMarkOnlyWhenItChanges)
{
    ScriptedPrompt prompt;
    Start();
    testing_support::TableBuilder dos;
    dos.CodePageByte(0x65).Field("NAME", 'C', 10).Record(kOemWord);
    const std::string path = tables.File("dos.dbf");
    dos.Write(path);
    CChildFrame* window = Open(path);
    table::CTable* table = window->Grid()->GetTable();
    EXPECT_EQ(CellText(window, 0, 0), kAnsiWord);

    // No code page, written: the bytes are shown as they are.
    ChooseCodePage("<no codepage set>", true);
    EXPECT_EQ(table->CodePage(), CodePageId::kNone);
    EXPECT_EQ(CodePageMark(path), 0x00);
    EXPECT_EQ(CellText(window, 0, 0), kOemWord);

    // The guess finds the DOS code page; without the box nothing is written.
    ChooseCodePage("<autodetect>", false);
    EXPECT_EQ(table->CodePage(), CodePageId::k866);
    EXPECT_EQ(CodePageMark(path), 0x00);
    EXPECT_EQ(CellText(window, 0, 0), kAnsiWord);
    EXPECT_TRUE(prompt.Questions().empty());

    // A mark the file refuses is reported; the window reads in the new code page anyway.
    prompt.Answer({ platform::IDOK });
    files.failWriteFrom = files.writes + 1;
    ChooseCodePage("Russian Windows (1251)", true);
    files.failWriteFrom = 0;
    EXPECT_EQ(table->CodePage(), CodePageId::k1251);
    EXPECT_EQ(CellText(window, 0, 0), kOemWord);
    EXPECT_EQ(prompt.Texts(),
        std::vector<std::string> { "Unable to write codepage information into the file " + path });
    EXPECT_EQ(prompt.Asked(0).icon, platform::PromptIcon::kStop);
}

TEST_F(ChildFrameTableTest, AFailedGuessSaysSoAndLeavesNoCodePage)
{
    ScriptedPrompt prompt { platform::IDOK };
    Start();
    testing_support::TableBuilder mixed;
    mixed.CodePageByte(0xC9).Field("NAME", 'C', 10).Record("\x8E\xC0");
    const std::string path = tables.File("mixed.dbf");
    mixed.Write(path);
    CChildFrame* window = Open(path);
    ChooseCodePage("<autodetect>", true);
    EXPECT_EQ(prompt.Texts(), std::vector<std::string> { "Codepage autodetection failed" });
    EXPECT_EQ(window->Grid()->GetTable()->CodePage(), CodePageId::kNone);
    EXPECT_EQ(CodePageMark(path), 0xC9);
}

} // namespace
