// The main window's Add a Bookmark and Bookmarks commands over real table windows: the
// current cell bookmarked, the windows listed, and going to a bookmark in another window.

#include "shell/bookmark_commands.h"

#include "platform/prompt.h"
#include "resources/resource_ids.h"
#include "shell/child_frame.h"
#include "shell/main_frame.h"
#include "tablegrid/table_wnd_grid.h"
#include "tests/shell/shell_test_support.h"
#include "tests/support/scripted_prompt.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

using shell::CChildFrame;
using shell_testing::OnModalDialog;
using testing_support::ScriptedPrompt;

template <class Widget>
Widget* Control(const QDialog& dialog, const char* name)
{
    auto* widget = dialog.findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

void Click(const QDialog& dialog, const char* name)
{
    if (auto* button = Control<QPushButton>(dialog, name))
        button->click();
}

// Selects the bookmark `name` in the Bookmarks dialog's list.
void SelectBookmark(const QDialog& dialog, const char* name)
{
    auto* list = Control<QTreeWidget>(dialog, "IDC_BOOKMARK_LIST");
    const QList<QTreeWidgetItem*> found = list->findItems(QString::fromLatin1(name), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << name;
    list->setCurrentItem(found.front());
}

class BookmarkCommandsTest : public shell_testing::ShellTest
{
protected:
    bool Enabled(int command) const { return Main().Router().Query(command).enabled; }

    void Activate(CChildFrame* window)
    {
        Main().ActivateTaskWindow(window);
        Main().activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&Main()));
        window->Grid()->setFocus();
    }

    static void Key(Qt::Key key, Qt::KeyboardModifiers modifiers)
    {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
};

TEST_F(BookmarkCommandsTest, EnabledOnlyWithSomethingToMark)
{
    ScriptedPrompt prompt;
    Start();
    EXPECT_FALSE(Enabled(ID_EDIT_ADD_BOOKMARK));
    EXPECT_FALSE(Enabled(ID_EDIT_BOOKMARKS));
    app->OpenTableFile(WriteTable("empty.dbf", 0));
    EXPECT_FALSE(Enabled(ID_EDIT_ADD_BOOKMARK));
    EXPECT_TRUE(Enabled(ID_EDIT_BOOKMARKS));
    app->OpenTableFile(WriteTable("a.dbf", 2));
    EXPECT_TRUE(Enabled(ID_EDIT_ADD_BOOKMARK));
}

TEST_F(BookmarkCommandsTest, CtrlAMarksTheCurrentCell)
{
    ScriptedPrompt prompt;
    Start({ WriteTable("a.dbf", 5) });
    CChildFrame* window = Main().TableWindows().at(0);
    Activate(window);
    tablegrid::CTableWndGrid* grid = window->Grid();
    grid->SetCurrentCell(2, 1);

    OnModalDialog("IDD_ADD_BOOKMARK", [](QDialog& dialog) {
        EXPECT_EQ(Control<QLineEdit>(dialog, "IDC_BOOKMARK_NAME")->text(), QStringLiteral("Bkm_3_SUM"));
        EXPECT_EQ(Control<QComboBox>(dialog, "IDC_BOOKMARK_FIELD")->count(), 2);
        Click(dialog, "IDOK");
    });
    Key(Qt::Key_A, Qt::ControlModifier);
    const tablegrid::Bookmark* bookmark = grid->Bookmarks().Find("Bkm_3_SUM");
    ASSERT_NE(bookmark, nullptr);
    EXPECT_EQ(bookmark->recordNumber, 3);
    EXPECT_EQ(bookmark->fieldName, "SUM");

    // The same cell again: the name is taken, and Yes replaces the bookmark.
    OnModalDialog("IDD_ADD_BOOKMARK", [](QDialog& dialog) {
        Control<QLineEdit>(dialog, "IDC_BOOKMARK_RECORD")->setText(QStringLiteral("3"));
        auto* field = Control<QComboBox>(dialog, "IDC_BOOKMARK_FIELD");
        field->setCurrentIndex(0);
        field->setCurrentIndex(1);
        Click(dialog, "IDOK");
        EXPECT_EQ(Control<QPushButton>(dialog, "IDOK")->text(), QStringLiteral("&Yes"));
        Control<QLineEdit>(dialog, "IDC_BOOKMARK_RECORD")->setText(QStringLiteral("4"));
        Control<QLineEdit>(dialog, "IDC_BOOKMARK_NAME")->setText(QStringLiteral("Bkm_3_SUM"));
        Click(dialog, "IDOK");
        Click(dialog, "IDOK");
    });
    EXPECT_TRUE(Main().Router().Execute(ID_EDIT_ADD_BOOKMARK));
    EXPECT_EQ(grid->Bookmarks().All().size(), 1u);
    EXPECT_EQ(grid->Bookmarks().Find("Bkm_3_SUM")->recordNumber, 4);
    EXPECT_TRUE(prompt.Questions().empty());
}

TEST_F(BookmarkCommandsTest, BookmarksListsTheWindowsAndGoesIntoAnother)
{
    ScriptedPrompt prompt;
    Start({ WriteTable("first.dbf", 5), WriteTable("second.dbf", 8) });
    CChildFrame* first = Main().TableWindows().at(0);
    CChildFrame* second = Main().TableWindows().at(1);
    first->Grid()->SetBookmark("mine", 2, "NAME");
    second->Grid()->SetBookmark("far", 7, "SUM");
    second->Grid()->SetBookmark("beyond", 9, "SUM");
    second->Grid()->SetBookmark("gone", 1, "GONE");
    Activate(first);

    OnModalDialog("IDD_BOOKMARKS", [&](QDialog& dialog) {
        auto* table = Control<QComboBox>(dialog, "IDC_BOOKMARK_TABLE");
        ASSERT_EQ(table->count(), 2);
        EXPECT_EQ(table->itemText(0), first->windowTitle());
        EXPECT_EQ(table->itemText(1), second->windowTitle());
        table->setCurrentIndex(1);
        // A bookmark the table cannot reach keeps the dialog open.
        SelectBookmark(dialog, "beyond");
        Click(dialog, "IDC_BOOKMARK_GO");
        EXPECT_EQ(Control<QLabel>(dialog, "IDC_BOOKMARK_MESSAGE")->text(),
            QStringLiteral("No record with such number"));
        SelectBookmark(dialog, "far");
        Click(dialog, "IDC_BOOKMARK_GO");
        EXPECT_FALSE(dialog.isVisible());
    });
    Key(Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(Main().ActiveTableWindow(), second);
    EXPECT_EQ(second->Grid()->GetCurrentRow(), 6);
    EXPECT_EQ(second->Grid()->GetCurrentColumn(), 1);
    EXPECT_TRUE(prompt.Questions().empty());

    // Now the second window is the active one and comes first; Add and Delete act on it.
    second->Grid()->SetCurrentCell(0, 0);
    OnModalDialog("IDD_BOOKMARKS", [&](QDialog& dialog) {
        EXPECT_EQ(Control<QComboBox>(dialog, "IDC_BOOKMARK_TABLE")->currentText(), second->windowTitle());
        SelectBookmark(dialog, "gone");
        Click(dialog, "IDC_BOOKMARK_DELETE");
        OnModalDialog("IDD_ADD_BOOKMARK", [](QDialog& add) { Click(add, "IDOK"); });
        Click(dialog, "IDC_BOOKMARK_ADD");
        auto* list = Control<QTreeWidget>(dialog, "IDC_BOOKMARK_LIST");
        EXPECT_EQ(list->topLevelItemCount(), 3);
        Screenshot("bookmarks_of_windows", &dialog);
        Click(dialog, "IDCANCEL");
    });
    EXPECT_TRUE(Main().Router().Execute(ID_EDIT_BOOKMARKS));
    EXPECT_EQ(second->Grid()->Bookmarks().Find("gone"), nullptr);
    EXPECT_NE(second->Grid()->Bookmarks().Find("Bkm_1_NAME"), nullptr);
}

TEST_F(BookmarkCommandsTest, ABookmarkTheFilterHidesTakesTheFilterAway)
{
    ScriptedPrompt prompt { platform::IDOK };
    Start({ WriteTable("a.dbf", 5) });
    CChildFrame* window = Main().TableWindows().at(0);
    tablegrid::CTableWndGrid* grid = window->Grid();
    grid->SetFilterModes(0, 0);
    tablegrid::FilterNode& root = grid->FilterRoot();
    root.kind = tablegrid::FilterNode::Kind::kLeaf;
    root.condition.column = "SUM";
    root.condition.op = tablegrid::FilterOp::kLess;
    root.condition.value = "2";
    root.condition.fieldType = 'N';
    grid->ApplyFilter();
    window->UpdateFilterPane();
    ASSERT_EQ(grid->GetRowCount(), 2);
    ASSERT_EQ(window->FrameStatusText(2), QStringLiteral("Filter"));
    grid->SetBookmark("hidden", 5, "NAME");

    OnModalDialog("IDD_BOOKMARKS", [](QDialog& dialog) {
        SelectBookmark(dialog, "hidden");
        Click(dialog, "IDC_BOOKMARK_GO");
    });
    EXPECT_TRUE(Main().Router().Execute(ID_EDIT_BOOKMARKS));
    EXPECT_EQ(prompt.Questions().size(), 1u);
    EXPECT_EQ(grid->GetRowCount(), 5);
    EXPECT_EQ(grid->GetCurrentRow(), 4);
    EXPECT_TRUE(window->FrameStatusText(2).isEmpty());
}

} // namespace
