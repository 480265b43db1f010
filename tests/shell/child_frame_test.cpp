#include "shell/child_frame.h"

#include "platform/file_system.h"
#include "platform/prompt.h"
#include "resources/resource_ids.h"
#include "shell/db_grid_doc.h"
#include "shell/dialogs/delete_index_dialog.h"
#include "shell/main_frame.h"
#include "shell/table_bar.h"
#include "tablegrid/table_wnd_grid.h"
#include "tests/shell/shell_test_support.h"
#include "tests/support/scripted_prompt.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

#include <functional>

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

// Answers the next Delete index file dialog with the button named `button` once it shows,
// after `look` has seen it. Counts the dialogs it answered.
class IndexDialogAnswer
{
public:
    explicit IndexDialogAnswer(const char* button, std::function<void(QDialog&)> look = {})
    {
        m_timer.setInterval(0);
        QObject::connect(&m_timer, &QTimer::timeout, [this, name = QString::fromLatin1(button), look] {
            auto* dialog = qobject_cast<shell::CDeleteIndexDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            ++m_shown;
            if (look)
                look(*dialog);
            dialog->findChild<QPushButton*>(name)->click();
        });
        m_timer.start();
    }
    int Shown() const { return m_shown; }

private:
    QTimer m_timer;
    int m_shown = 0;
};

class ChildFrameTest : public ShellTest
{
protected:
    // The table a.dbf with another program's index a.cdx beside it, open in a window.
    CChildFrame* OpenWithIndex()
    {
        const std::string path = WriteTable("a.dbf");
        WriteIndex();
        Start({ path });
        return Main().TableWindows().at(0);
    }
    void WriteIndex() const { testing_support::WriteAllBytes(IndexPath(), { 'c', 'd', 'x' }); }
    std::string IndexPath() const { return tables.File("a.cdx"); }
    bool IndexExists() const { return platform::FileSystem::Default().Exists(IndexPath()); }
};

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

// Closing asks; Cancel, or a save that fails, keeps the window and its changes, and only a
// save that wrote tells the other windows on the file.
TEST_F(ChildFrameTest, ClosingAsksAndOnlyASaveThatWritesTellsTheOtherWindows)
{
    const std::string path = WriteTable("a.dbf");
    const auto before = testing_support::ReadAllBytes(path);
    ScriptedPrompt prompt { platform::IDCANCEL };
    Start({ path, path });
    CChildFrame* window = Main().TableWindows()[0];
    CChildFrame* other = Main().TableWindows()[1];
    Main().ActivateTaskWindow(window);
    EditFirstName(window, "Closed");
    EXPECT_FALSE(window->close());
    EXPECT_EQ(prompt.Asked(0).text, "The table a has been changed. Save changes to the file?");
    EXPECT_EQ(prompt.Asked(0).buttons, platform::PromptButtons::kYesNoCancel);

    files.failWriteFrom = files.writes + 1;
    prompt.Answer({ platform::IDYES, platform::IDOK });
    EXPECT_FALSE(window->close());
    files.failWriteFrom = 0;
    EXPECT_EQ(prompt.Texts().back(), "Error occured while saving data.");
    QApplication::processEvents();
    EXPECT_EQ(Main().TableWindows().size(), 2u);
    EXPECT_TRUE(window->Grid()->HasPendingChanges());
    EXPECT_FALSE(other->ChangedElsewhere());
    EXPECT_EQ(testing_support::ReadAllBytes(path), before);

    // The other window, active next, asks to read the file again.
    prompt.Answer({ platform::IDYES, platform::IDYES });
    EXPECT_TRUE(window->close());
    QApplication::processEvents();
    EXPECT_EQ(Main().TableWindows().size(), 1u);
    EXPECT_EQ(prompt.Texts().back(), "File \n" + path + "\n has been changed.\n\nRefresh view?");
    EXPECT_EQ(CellText(other, 0, 0), "Closed");
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
}

TEST_F(ChildFrameTest, RightClickOnTheGridShowsTheTableContextMenu)
{
    ScriptedPrompt prompt;
    Start({ WriteTable("a.dbf") });
    QStringList shown;
    QStringList enabled;
    QTimer::singleShot(0, [&shown, &enabled] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* action : menu->actions()) {
                if (!action->isSeparator())
                    shown << action->text();
                if (action->isEnabled() && !action->isSeparator())
                    enabled << action->text();
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
    // A new window has no current row until one is chosen: only the commands on the whole
    // table can act.
    EXPECT_EQ(enabled,
        (QStringList { QStringLiteral("&Find...\tCtrl+F"), QStringLiteral("R&eplace...\tCtrl+H"),
            QStringLiteral("&Go To...\tCtrl+G"), QStringLiteral("Delete &All"),
            QStringLiteral("U&ndelete All"), QStringLiteral("Append Ne&w\tCtrl+N"),
            QStringLiteral("&Codepage..."), QStringLiteral("F&ilter..."),
            QStringLiteral("C&olumns..."), QStringLiteral("P&roperties...") }));
}

TEST_F(ChildFrameTest, ASaveOffersToDeleteTheIndexOfAnotherProgram)
{
    ScriptedPrompt prompt;
    CChildFrame* window = OpenWithIndex();
    EditFirstName(window, "Saved");
    QString asked;
    {
        IndexDialogAnswer answer("IDOK", [this, &asked](QDialog& dialog) {
            asked = dialog.findChild<QLabel*>(QStringLiteral("IDC_DELETE_INDEX_TEXT"))->text();
            dialog.adjustSize();
            Screenshot("delete_index_dialog_over_window", &dialog);
        });
        prompt.Answer({ platform::IDOK });
        EXPECT_TRUE(Main().Router().Execute(ID_FILE_SAVE));
        EXPECT_EQ(answer.Shown(), 1);
    }
    EXPECT_TRUE(asked.startsWith(QStringLiteral("The index file for the table \n%1\n has been found.")
                                     .arg(QString::fromStdString(tables.File("a.dbf")))))
        << asked.toStdString();
    EXPECT_EQ(prompt.Texts(), std::vector<std::string> { "The index file has been deleted." });
    EXPECT_EQ(prompt.Asked(0).icon, platform::PromptIcon::kInformation);
    EXPECT_FALSE(IndexExists());

    // No keeps the index, and says nothing.
    WriteIndex();
    EditFirstName(window, "Kept");
    {
        IndexDialogAnswer answer("IDCANCEL");
        EXPECT_TRUE(Main().Router().Execute(ID_FILE_SAVE));
        EXPECT_EQ(answer.Shown(), 1);
    }
    EXPECT_TRUE(IndexExists());
    EXPECT_EQ(prompt.Questions().size(), 1u);
    EXPECT_FALSE(window->Grid()->HasPendingChanges());
}

TEST_F(ChildFrameTest, AllDeletesEveryIndexFromThenOnWithoutAsking)
{
    ScriptedPrompt prompt;
    CChildFrame* window = OpenWithIndex();
    EXPECT_FALSE(app->DeleteIndexWithoutAsking());
    EditFirstName(window, "First");
    {
        IndexDialogAnswer answer("IDC_DELETE_INDEX_ALL");
        prompt.Answer({ platform::IDOK });
        EXPECT_TRUE(Main().Router().Execute(ID_FILE_SAVE));
        EXPECT_EQ(answer.Shown(), 1);
    }
    EXPECT_TRUE(app->DeleteIndexWithoutAsking());
    EXPECT_FALSE(IndexExists());

    WriteIndex();
    EditFirstName(window, "Second");
    {
        IndexDialogAnswer answer("IDCANCEL");
        prompt.Answer({ platform::IDOK });
        EXPECT_TRUE(Main().Router().Execute(ID_FILE_SAVE));
        EXPECT_EQ(answer.Shown(), 0);
    }
    EXPECT_FALSE(IndexExists());
    EXPECT_EQ(prompt.Texts(),
        (std::vector<std::string> { "The index file has been deleted.", "The index file has been deleted." }));
    // The choice lasts for the session only.
    EXPECT_EQ(SettingsText().find("ndex"), std::string::npos);
}

} // namespace
