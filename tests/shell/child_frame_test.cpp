#include "shell/child_frame.h"

#include "platform/file_system.h"
#include "platform/prompt.h"
#include "resources/resource_ids.h"
#include "shell/db_grid_doc.h"
#include "shell/main_frame.h"
#include "shell/table_bar.h"
#include "tablegrid/table_wnd_grid.h"
#include "tests/shell/shell_test_support.h"
#include "tests/support/scripted_prompt.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using shell::CChildFrame;
using shell_testing::ShellTest;
using testing_support::ScriptedPrompt;

std::string Title(const CChildFrame* window)
{
    return window->windowTitle().toStdString();
}

std::string CellText(CChildFrame* window, int row, int column)
{
    window->Grid()->EnsureRowsCached(row, row);
    const auto* cached = window->Grid()->FindCachedRow(row);
    return cached ? cached->texts.at(static_cast<std::size_t>(column)) : std::string();
}

// An edit of the NAME cell of record 1, pending until saved.
void EditFirstName(CChildFrame* window, const std::string& text)
{
    tablegrid::PendingChange change;
    change.kind = tablegrid::PendingChange::Kind::kEditCell;
    change.recordNumber = 1;
    change.fieldName = "NAME";
    change.newText = text;
    ASSERT_TRUE(window->Grid()->AddPendingChange(change, false));
    window->UpdateTitle();
}

class ChildFrameTest : public ShellTest
{ };

TEST_F(ChildFrameTest, WindowsOnTablesOfOneNameAreNumbered)
{
    ScriptedPrompt prompt;
    const std::string goods = WriteTable("GOODS.DBF");
    ASSERT_TRUE(platform::FileSystem::Default().CreateDirectories(tables.File("other")));
    const std::string otherGoods = tables.File("other/GOODS.dbf");
    ASSERT_TRUE(platform::FileSystem::Default().Rename(WriteTable("x.dbf"), otherGoods));
    Start({ goods });
    const std::string base = tables.File("GOODS");
    EXPECT_EQ(Title(Main().TableWindows()[0]), "Table " + base);

    app->OpenTableFile(goods);
    app->OpenTableFile(otherGoods);
    const auto windows = Main().TableWindows();
    ASSERT_EQ(windows.size(), 3u);
    EXPECT_EQ(Title(windows[0]), "Table " + base + " : 1");
    EXPECT_EQ(Title(windows[1]), "Table " + base + " : 2");
    EXPECT_EQ(Title(windows[2]), "Table " + tables.File("other/GOODS") + " : 3");
    EXPECT_EQ(windows[1]->TabLabel(), QStringLiteral("GOODS : 2"));
    EXPECT_EQ(Main().Tabs()->tabText(0), QStringLiteral("GOODS : 1"));

    EditFirstName(windows[0], "Changed");
    EXPECT_EQ(Title(windows[0]), "Table " + base + " * : 1");
    EXPECT_EQ(Main().Tabs()->tabText(0), QStringLiteral("GOODS * : 1"));
    EXPECT_TRUE(windows[0]->Document().IsModified());
    EXPECT_TRUE(windows[2]->isMaximized());

    ScriptedPrompt closing { platform::IDNO };
    windows[0]->close();
}

TEST_F(ChildFrameTest, ClosingWithChangesAsksAndCancelKeepsTheWindow)
{
    const std::string path = WriteTable("a.dbf");
    const auto before = testing_support::ReadAllBytes(path);
    ScriptedPrompt prompt { platform::IDCANCEL, platform::IDNO };
    Start({ path });
    CChildFrame* window = Main().TableWindows()[0];
    EditFirstName(window, "Changed");
    EXPECT_FALSE(window->close());
    EXPECT_EQ(prompt.Asked(0).text, "The table a has been changed. Save changes to the file?");
    EXPECT_EQ(prompt.Asked(0).buttons, platform::PromptButtons::kYesNoCancel);
    EXPECT_TRUE(window->close());
    QApplication::processEvents();
    EXPECT_TRUE(Main().TableWindows().empty());
    EXPECT_EQ(testing_support::ReadAllBytes(path), before);
}

TEST_F(ChildFrameTest, SavingMarksOtherWindowsOnTheFileWhichAskToReadItAgain)
{
    const std::string path = WriteTable("a.dbf");
    ScriptedPrompt prompt;
    Start({ path, path, WriteTable("b.dbf") });
    auto windows = Main().TableWindows();
    CChildFrame* saver = windows[0];
    CChildFrame* other = windows[1];
    CChildFrame* unrelated = windows[2];
    Main().ActivateTaskWindow(saver);
    EditFirstName(saver, "Saved");
    EXPECT_TRUE(Main().Router().Execute(ID_FILE_SAVE));
    EXPECT_EQ(Title(saver), "Table " + tables.File("a") + " : 1");
    EXPECT_TRUE(other->ChangedElsewhere());
    EXPECT_FALSE(saver->ChangedElsewhere());
    EXPECT_FALSE(unrelated->ChangedElsewhere());
    EXPECT_EQ(CellText(other, 0, 0), "Name0");

    const std::string question = "File \n" + path + "\n has been changed.\n\nRefresh view?";
    prompt.Answer({ platform::IDNO });
    Main().ActivateTaskWindow(other);
    EXPECT_EQ(prompt.Texts(), std::vector<std::string> { question });
    EXPECT_TRUE(other->ChangedElsewhere());

    // Asked again when it is activated the next time.
    prompt.Answer({ platform::IDYES });
    Main().ActivateTaskWindow(unrelated);
    Main().ActivateTaskWindow(other);
    EXPECT_EQ(prompt.Questions().size(), 2u);
    EXPECT_FALSE(other->ChangedElsewhere());
    EXPECT_EQ(CellText(other, 0, 0), "Saved");
}

TEST_F(ChildFrameTest, ASaveThatWritesNothingMarksNoOtherWindow)
{
    const std::string path = WriteTable("a.dbf");
    ScriptedPrompt prompt;
    Start({ path, path });
    CChildFrame* saver = Main().TableWindows()[0];
    CChildFrame* other = Main().TableWindows()[1];
    Main().ActivateTaskWindow(saver);
    EXPECT_TRUE(Main().Router().Execute(ID_FILE_SAVE)); // nothing pending
    EXPECT_FALSE(other->ChangedElsewhere());

    EditFirstName(saver, "Refused");
    const auto before = testing_support::ReadAllBytes(path);
    files.failWriteFrom = files.writes + 1; // a full disk
    prompt.Answer({ platform::IDOK });
    EXPECT_TRUE(Main().Router().Execute(ID_FILE_SAVE));
    files.failWriteFrom = 0;
    EXPECT_EQ(prompt.Texts(), std::vector<std::string> { "Error occured while saving data." });
    EXPECT_EQ(testing_support::ReadAllBytes(path), before);
    EXPECT_TRUE(saver->Grid()->HasPendingChanges());
    EXPECT_FALSE(other->ChangedElsewhere());
    EXPECT_EQ(Title(saver), "Table " + tables.File("a") + " * : 1");

    // Closing, the save is asked for again; once it writes, the other window learns of it
    // and, taking over, asks to read the file again.
    prompt.Answer({ platform::IDYES, platform::IDNO });
    EXPECT_TRUE(saver->close());
    QApplication::processEvents();
    EXPECT_TRUE(other->ChangedElsewhere());
    EXPECT_EQ(prompt.Questions().size(), 3u);
}

TEST_F(ChildFrameTest, RightClickOnTheGridShowsTheTableContextMenu)
{
    ScriptedPrompt prompt;
    Start({ WriteTable("a.dbf") });
    QStringList shown;
    QTimer::singleShot(0, [&shown] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* action : menu->actions()) {
                if (!action->isSeparator())
                    shown << action->text();
            }
            menu->close();
        }
    });
    QWidget* viewport = Main().TableWindows()[0]->Grid()->viewport();
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(20, 20), viewport->mapToGlobal(QPoint(20, 20)));
    QApplication::sendEvent(viewport, &click);
    ASSERT_EQ(shown.size(), 12);
    EXPECT_EQ(shown.first(), QStringLiteral("&Find...\tCtrl+F"));
    EXPECT_EQ(shown.last(), QStringLiteral("P&roperties..."));
}

} // namespace
