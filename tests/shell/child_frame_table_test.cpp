// The table window's Columns, Properties and Codepage commands end to end: their dialogs
// driven as a user would, and what the grid and the file hold afterwards.

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

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using shell::CChildFrame;
using shell_testing::OnModalDialog;
using testing_support::ScriptedPrompt;

void Click(const QDialog& dialog, const char* name)
{
    auto* button = dialog.findChild<QAbstractButton*>(QString::fromLatin1(name));
    ASSERT_NE(button, nullptr) << name;
    button->click();
}

class ChildFrameTableTest : public shell_testing::ShellTest
{
protected:
    CChildFrame* Open(const std::string& path)
    {
        Start({ path });
        return Main().TableWindows().at(0);
    }

    static std::string CellText(CChildFrame* window, int row, int column)
    {
        window->Grid()->EnsureRowsCached(row, row);
        const auto* cached = window->Grid()->FindCachedRow(row);
        return cached ? cached->texts.at(static_cast<std::size_t>(column)) : std::string();
    }

    void ChooseCodePage(const char* name, bool write)
    {
        OnModalDialog("IDD_SELECT_CODEPAGE", [name, write](QDialog& dialog) {
            auto* list = dialog.findChild<QListWidget*>(QStringLiteral("IDC_CODEPAGE_LIST"));
            list->setCurrentItem(list->findItems(QString::fromLatin1(name), Qt::MatchExactly).at(0));
            if (write)
                Click(dialog, "IDC_WRITE_CODEPAGE");
            Click(dialog, "IDOK");
        });
        EXPECT_TRUE(Main().Router().Execute(ID_TABLE_CODEPAGE));
    }
};

TEST_F(ChildFrameTableTest, ColumnsOkRebuildsTheGridFromTheNewLayoutAndCancelKeepsIt)
{
    ScriptedPrompt prompt;
    CChildFrame* window = Open(WriteTable("a.dbf", 3));
    tablegrid::CTableWndGrid* grid = window->Grid();
    grid->SetCurrentCell(1, 1);

    // From the tool bar; NAME, the first column, is current in the dialog.
    OnModalDialog("IDD_COLUMNS", [](QDialog& dialog) {
        Click(dialog, "IDC_COLUMN_HIDE");
        Click(dialog, "IDCANCEL");
    });
    Main().CommandBar()->Button(ID_TABLE_COLUMNS)->trigger();
    EXPECT_EQ(grid->GetColumnCount(), 2);

    OnModalDialog("IDD_COLUMNS", [](QDialog& dialog) {
        Click(dialog, "IDC_COLUMN_HIDE");
        Click(dialog, "IDOK");
    });
    EXPECT_TRUE(Main().Router().Execute(ID_TABLE_COLUMNS));
    ASSERT_EQ(grid->GetColumnCount(), 1);
    EXPECT_EQ(CellText(window, 2, 0), "3.00");
    // The cursor stays on its row and on SUM, now the first column.
    EXPECT_EQ(grid->GetCurrentRow(), 1);
    EXPECT_EQ(grid->GetCurrentColumn(), 0);

    OnModalDialog("IDD_COLUMNS", [](QDialog& dialog) {
        Click(dialog, "IDC_COLUMN_SHOW_ALL");
        auto* list = dialog.findChild<QTreeWidget*>(QStringLiteral("IDC_COLUMN_LIST"));
        list->setCurrentItem(list->topLevelItem(1));
        Click(dialog, "IDC_COLUMN_UP");
        Click(dialog, "IDOK");
    });
    EXPECT_TRUE(Main().Router().Execute(ID_TABLE_COLUMNS));
    EXPECT_EQ(CellText(window, 2, 0), "3.00");
    EXPECT_EQ(CellText(window, 2, 1), "Name2");
    Screenshot("columns_reordered");
    EXPECT_TRUE(prompt.Questions().empty());
}

TEST_F(ChildFrameTableTest, PropertiesOpenFromTheMenuAndFromColumnsOrSayWhyTheyCannot)
{
    ScriptedPrompt prompt { platform::IDOK };
    const std::string path = WriteTable("a.dbf", 3);
    Open(path);
    int shown = 0;
    auto check = [&path, &shown](QDialog& dialog) {
        auto* file = dialog.findChild<QLabel*>(QStringLiteral("IDC_PROPERTIES_FILE"));
        EXPECT_EQ(file->text(), QString::fromUtf8(path.c_str()));
        ++shown;
    };
    OnModalDialog("IDD_TABLE_PROPERTIES", check);
    EXPECT_TRUE(Main().Router().Execute(ID_TABLE_PROPERTIES));
    OnModalDialog("IDD_COLUMNS", [&check](QDialog& dialog) {
        OnModalDialog("IDD_TABLE_PROPERTIES", check);
        Click(dialog, "IDC_COLUMN_TABLE");
    });
    EXPECT_TRUE(Main().Router().Execute(ID_TABLE_COLUMNS));
    EXPECT_EQ(shown, 2);

    std::filesystem::remove(path);
    EXPECT_TRUE(Main().Router().Execute(ID_TABLE_PROPERTIES));
    EXPECT_EQ(prompt.Texts(), std::vector<std::string> { path + ": No such file or directory" });
}

TEST_F(ChildFrameTableTest, CodepageRedrawsTheRowsAndReportsAFailedGuessOrWrite)
{
    ScriptedPrompt prompt { platform::IDOK, platform::IDOK };
    // "Привет" as code page 866 stores it, and as the user sees it.
    const std::string oem = "\x8F\xE0\xA8\xA2\xA5\xE2";
    const std::string ansi = "\xCF\xF0\xE8\xE2\xE5\xF2";
    testing_support::TableBuilder dos;
    dos.CodePageByte(0x65).Field("NAME", 'C', 10).Record(oem).Record("\x8E\xC0");
    const std::string path = tables.File("dos.dbf");
    dos.Write(path);
    CChildFrame* window = Open(path);
    EXPECT_EQ(CellText(window, 0, 0), ansi);

    ChooseCodePage("<no codepage set>", true);
    EXPECT_EQ(testing_support::ReadAllBytes(path).at(29), 0x00);
    EXPECT_EQ(CellText(window, 0, 0), oem);

    // The file refuses the mark: the window reads in the new code page all the same.
    files.failWriteFrom = files.writes + 1;
    ChooseCodePage("Russian DOS (866)", true);
    files.failWriteFrom = 0;
    EXPECT_EQ(CellText(window, 0, 0), ansi);

    // Both code pages' letters in the records: no guess.
    ChooseCodePage("<autodetect>", true);
    EXPECT_EQ(window->Grid()->GetTable()->CodePage(), table::CodePageId::kNone);
    EXPECT_EQ(CellText(window, 0, 0), oem);
    EXPECT_EQ(prompt.Texts(),
        (std::vector<std::string> { "Unable to write codepage information into the file " + path,
            "Codepage autodetection failed" }));
}

} // namespace
