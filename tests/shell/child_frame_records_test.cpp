// The table window's record commands and editing keys: when each is enabled, what reaches
// the grid, packing with its questions, and the other windows on the file afterwards.

#include "shell/child_frame.h"

#include "platform/prompt.h"
#include "resources/resource_ids.h"
#include "shell/main_frame.h"
#include "shell/main_status_bar.h"
#include "shell/tool_bar.h"
#include "tablegrid/table_wnd_grid.h"
#include "tests/shell/shell_test_support.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/table_builder.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using shell::CChildFrame;
using tablegrid::PendingMark;
using testing_support::ScriptedPrompt;

constexpr int kRecordCommands[] = { ID_RECORD_DELETE, ID_RECORD_UNDELETE,
    ID_RECORD_TOGGLE_DELETE, ID_RECORD_DELETE_ALL, ID_RECORD_UNDELETE_ALL,
    ID_RECORD_APPEND_EMPTY, ID_RECORD_APPEND_COPY, ID_TABLE_PACK, ID_EDIT_UNDO, ID_EDIT_COPY,
    ID_EDIT_PASTE };

// The deletion flags of a table file's records, "*" deleted and " " not, read from its bytes.
std::string RecordFlags(const std::string& path)
{
    const std::vector<std::uint8_t> bytes = testing_support::ReadAllBytes(path);
    const std::uint32_t count = bytes[4] | bytes[5] << 8 | bytes[6] << 16 | bytes[7] << 24;
    const std::size_t header = bytes[8] | bytes[9] << 8;
    const std::size_t length = bytes[10] | bytes[11] << 8;
    std::string flags;
    for (std::uint32_t i = 0; i < count; ++i)
        flags += static_cast<char>(bytes.at(header + i * length));
    return flags;
}

class ChildFrameRecordsTest : public shell_testing::ShellTest
{
protected:
    // Starts with the tables and makes the first window the active one, its grid focused.
    CChildFrame* StartWith(const std::vector<std::string>& paths)
    {
        Start(paths);
        CChildFrame* window = Main().TableWindows().at(0);
        Main().ActivateTaskWindow(window);
        Main().activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&Main()));
        window->Grid()->setFocus();
        return window;
    }

    bool Enabled(int command) const { return Main().Router().Query(command).enabled; }

    std::vector<int> EnabledCommands() const
    {
        std::vector<int> enabled;
        for (const int command : kRecordCommands) {
            if (Enabled(command))
                enabled.push_back(command);
        }
        return enabled;
    }

    static PendingMark MarkOf(CChildFrame* window, int record)
    {
        return window->Grid()->PendingChanges().MarkOf(record);
    }

    static std::string CellText(CChildFrame* window, int row, int column)
    {
        window->Grid()->EnsureRowsCached(row, row);
        const auto* cached = window->Grid()->FindCachedRow(row);
        return cached ? cached->texts.at(static_cast<std::size_t>(column)) : std::string();
    }

    static void Key(CChildFrame* window, Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : window->Grid(), key, modifiers);
    }
};

TEST_F(ChildFrameRecordsTest, NoTableNoCommands)
{
    ScriptedPrompt prompt;
    Start();
    EXPECT_EQ(EnabledCommands(), std::vector<int> {});

    // A window whose file is no table has nothing to act on either.
    const std::string bad = tables.File("bad.dbf");
    testing_support::WriteAllBytes(bad, std::vector<std::uint8_t>(100, 'x'));
    prompt.Answer({ platform::IDOK, platform::IDOK });
    app->OpenTableFile(bad);
    ASSERT_EQ(Main().TableWindows().size(), 1u);
    EXPECT_EQ(EnabledCommands(), std::vector<int> {});
    EXPECT_TRUE(Enabled(ID_FILE_CLOSE));
}

TEST_F(ChildFrameRecordsTest, RowCommandsWantACurrentRowAndMarksWantRecords)
{
    ScriptedPrompt prompt;
    CChildFrame* window = StartWith({ WriteTable("empty.dbf", 0) });
    QGuiApplication::clipboard()->setText(QStringLiteral("Pasted"));
    ASSERT_LT(window->Grid()->GetCurrentRow(), 0);
    EXPECT_EQ(EnabledCommands(), (std::vector<int> { ID_RECORD_APPEND_EMPTY, ID_TABLE_PACK }));

    QAction* toggleButton = Main().CommandBar()->Button(ID_RECORD_TOGGLE_DELETE);
    EXPECT_FALSE(toggleButton->isEnabled());

    // An appended row is a current row, but Delete All has still no record to visit.
    EXPECT_TRUE(Main().Router().Execute(ID_RECORD_APPEND_EMPTY));
    EXPECT_EQ(window->Grid()->GetCurrentRow(), 0);
    EXPECT_TRUE(toggleButton->isEnabled());
    EXPECT_EQ(EnabledCommands(),
        (std::vector<int> { ID_RECORD_DELETE, ID_RECORD_UNDELETE, ID_RECORD_TOGGLE_DELETE,
            ID_RECORD_APPEND_EMPTY, ID_RECORD_APPEND_COPY, ID_TABLE_PACK, ID_EDIT_UNDO,
            ID_EDIT_COPY, ID_EDIT_PASTE }));

    // Nothing to paste, nothing to take back.
    QGuiApplication::clipboard()->clear();
    EXPECT_TRUE(Main().Router().Execute(ID_EDIT_UNDO));
    EXPECT_EQ(window->Grid()->GetRowCount(), 0);
    EXPECT_FALSE(Enabled(ID_EDIT_PASTE));
    EXPECT_FALSE(Enabled(ID_EDIT_UNDO));
    EXPECT_FALSE(Enabled(ID_RECORD_TOGGLE_DELETE));
    EXPECT_FALSE(toggleButton->isEnabled());
    EXPECT_TRUE(prompt.Questions().empty());
}

TEST_F(ChildFrameRecordsTest, KeysAndMenusReachTheGrid)
{
    ScriptedPrompt prompt;
    const std::string path = WriteTable("a.dbf");
    CChildFrame* window = StartWith({ path });
    tablegrid::CTableWndGrid* grid = window->Grid();
    grid->SetCurrentCell(1, 0);
    EXPECT_FALSE(Enabled(ID_EDIT_UNDO));

    Key(window, Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(MarkOf(window, 2), PendingMark::kDeletePending);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Table %1 *").arg(QString::fromStdString(tables.File("a"))));
    EXPECT_TRUE(Main().Router().Execute(ID_RECORD_TOGGLE_DELETE));
    EXPECT_EQ(MarkOf(window, 2), PendingMark::kNone);
    EXPECT_TRUE(Main().Router().Execute(ID_RECORD_UNDELETE)); // not deleted in the file
    EXPECT_EQ(MarkOf(window, 2), PendingMark::kUndeletePending);
    EXPECT_TRUE(Main().Router().Execute(ID_RECORD_DELETE));
    EXPECT_EQ(MarkOf(window, 2), PendingMark::kNone);

    prompt.Answer({ platform::IDYES });
    EXPECT_TRUE(Main().Router().Execute(ID_RECORD_DELETE_ALL));
    EXPECT_EQ(prompt.Texts(), std::vector<std::string> { "Delete all records?" });
    EXPECT_EQ(grid->PendingChanges().MarkCount(), 3u);
    EXPECT_EQ(Main().StatusPanes()->PaneText(0), QStringLiteral("Press F1 for help"));
    // One step takes the whole Delete All back.
    Key(window, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(grid->PendingChanges().MarkCount(), 0u);

    Key(window, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(grid->GetRowCount(), 4);
    EXPECT_EQ(grid->GetCurrentRow(), 3);
    grid->SetCurrentCell(0, 1);
    Key(window, Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(grid->GetRowCount(), 5);
    EXPECT_EQ(grid->GetCurrentRow(), 4);
    EXPECT_EQ(grid->GetCurrentColumn(), 1);
    EXPECT_EQ(CellText(window, 4, 0), "Name0");
    Key(window, Qt::Key_Backspace, Qt::AltModifier);
    EXPECT_EQ(grid->GetRowCount(), 4);

    // Undelete All after the marks were saved: the file's marks go, one change a record.
    prompt.Answer({ platform::IDYES });
    EXPECT_TRUE(Main().Router().Execute(ID_RECORD_DELETE_ALL));
    Key(window, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(RecordFlags(path), "*** "); // the appended record was not shown to Delete All
    prompt.Answer({ platform::IDNO, platform::IDYES });
    EXPECT_TRUE(Main().Router().Execute(ID_RECORD_UNDELETE_ALL));
    EXPECT_EQ(grid->PendingChanges().MarkCount(), 0u);
    EXPECT_TRUE(Main().Router().Execute(ID_RECORD_UNDELETE_ALL));
    EXPECT_EQ(prompt.Texts().back(), "Undelete all records?");
    EXPECT_EQ(grid->PendingChanges().MarkCount(), 3u);
    EXPECT_EQ(prompt.Unused(), 0u);
}

TEST_F(ChildFrameRecordsTest, CopyAndPasteTheCurrentCell)
{
    ScriptedPrompt prompt;
    CChildFrame* window = StartWith({ WriteTable("a.dbf") });
    tablegrid::CTableWndGrid* grid = window->Grid();
    grid->SetCurrentCell(2, 0);
    Key(window, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("Name2"));
    grid->SetCurrentCell(0, 0);
    Key(window, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(CellText(window, 0, 0), "Name2");
    EXPECT_EQ(grid->FindCachedRow(0)->textColors[0], grid::kRedColor);

    QGuiApplication::clipboard()->setText(QStringLiteral("Other\nsecond line"));
    grid->SetCurrentCell(1, 0);
    Key(window, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(CellText(window, 1, 0), "Other");
    Key(window, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("Other"));

    EXPECT_TRUE(prompt.Questions().empty());

    // A window with marks, appends and edits, as a person sees it.
    grid->SetCurrentCell(2, 0);
    EXPECT_TRUE(Main().Router().Execute(ID_RECORD_DELETE));
    EXPECT_TRUE(Main().Router().Execute(ID_RECORD_APPEND_COPY));
    EXPECT_TRUE(Main().Router().Execute(ID_RECORD_APPEND_EMPTY));
    QApplication::processEvents();
    Screenshot("table_window_pending_marks_appends_edits");
}

TEST_F(ChildFrameRecordsTest, AnOpenCellEditorKeepsItsEditingKeys)
{
    ScriptedPrompt prompt;
    CChildFrame* window = StartWith({ WriteTable("a.dbf") });
    tablegrid::CTableWndGrid* grid = window->Grid();
    grid->SetCurrentCell(0, 0);
    EXPECT_TRUE(Main().Router().Execute(ID_RECORD_TOGGLE_DELETE)); // something to undo
    QGuiApplication::clipboard()->setText(QStringLiteral("Clip"));

    Key(window, Qt::Key_Return);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(grid->IsEditing());
    editor->selectAll();
    EXPECT_FALSE(Enabled(ID_EDIT_UNDO)); // the editor has nothing to take back yet
    Key(window, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(editor->text(), QStringLiteral("Clip"));
    editor->selectAll();
    QGuiApplication::clipboard()->clear();
    Key(window, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("Clip"));
    Key(window, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editor->text(), QStringLiteral("Name0"));
    EXPECT_EQ(MarkOf(window, 1), PendingMark::kDeletePending); // the grid's change stays

    // The menu's items act on the editor too, as its keys do.
    QTest::keyClicks(editor, QStringLiteral("X"));
    EXPECT_TRUE(Enabled(ID_EDIT_UNDO));
    EXPECT_TRUE(Main().Router().Execute(ID_EDIT_UNDO));
    EXPECT_EQ(editor->text(), QStringLiteral("Name0"));
    EXPECT_EQ(MarkOf(window, 1), PendingMark::kDeletePending);
    EXPECT_TRUE(grid->IsEditing());
}

TEST_F(ChildFrameRecordsTest, ARecordCommandTakesTheTextBeingTypedFirst)
{
    ScriptedPrompt prompt;
    const std::string path = WriteTable("a.dbf");
    CChildFrame* window = StartWith({ path });
    tablegrid::CTableWndGrid* grid = window->Grid();
    grid->SetCurrentCell(0, 0);
    Key(window, Qt::Key_Return);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("Typed"));
    Key(window, Qt::Key_T, Qt::ControlModifier);
    EXPECT_FALSE(grid->IsEditing());
    EXPECT_EQ(CellText(window, 0, 0), "Typed");
    EXPECT_EQ(MarkOf(window, 1), PendingMark::kDeletePending);

    // A text the column refuses keeps the editor open, and the command does not run.
    grid->SetCurrentCell(1, 1);
    Key(window, Qt::Key_Return);
    editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("abc"));
    Key(window, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(grid->IsEditing());
    EXPECT_TRUE(grid->HasPendingChanges());
    EXPECT_EQ(RecordFlags(path), "   ");

    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("7"));
    Key(window, Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(grid->HasPendingChanges());
    EXPECT_EQ(RecordFlags(path), "*  ");
    EXPECT_EQ(CellText(window, 1, 1), "7.00");
}

// Saving first writes the changes even when the pack is then declined; packing without
// saving drops them. A save or a pack that wrote tells the other windows on the file; a
// declined or failed pack leaves the file and them alone.
TEST_F(ChildFrameRecordsTest, PackAsksToSaveFirstAndTellsTheOtherWindows)
{
    ScriptedPrompt prompt;
    const std::string path = WriteTable("a.dbf", 4);
    CChildFrame* window = StartWith({ path, path, WriteTable("b.dbf") });
    CChildFrame* other = Main().TableWindows()[1];
    CChildFrame* unrelated = Main().TableWindows()[2];
    tablegrid::CTableWndGrid* grid = window->Grid();
    grid->SetCurrentCell(1, 0);
    EXPECT_TRUE(Main().Router().Execute(ID_RECORD_DELETE));
    prompt.Answer({ platform::IDOK, platform::IDNO });
    EXPECT_TRUE(Main().Router().Execute(ID_TABLE_PACK));
    EXPECT_EQ(RecordFlags(path), " *  ");
    EXPECT_FALSE(grid->HasPendingChanges());
    EXPECT_TRUE(other->ChangedElsewhere());
    EXPECT_FALSE(unrelated->ChangedElsewhere());

    // Nothing pending: only the pack's own question.
    other->SetChangedElsewhere(false);
    prompt.Answer({ platform::IDNO });
    EXPECT_TRUE(Main().Router().Execute(ID_TABLE_PACK));
    EXPECT_EQ(prompt.Questions().size(), 3u);
    EXPECT_FALSE(other->ChangedElsewhere());
    const auto before = testing_support::ReadAllBytes(path);
    files.failWriteFrom = files.writes + 1;
    prompt.Answer({ platform::IDYES, platform::IDOK });
    EXPECT_TRUE(Main().Router().Execute(ID_TABLE_PACK));
    files.failWriteFrom = 0;
    EXPECT_EQ(prompt.Texts().back(), "The table a could not be packed. The file is as it was.");
    EXPECT_EQ(testing_support::ReadAllBytes(path), before);
    EXPECT_EQ(grid->GetRowCount(), 4);
    EXPECT_FALSE(other->ChangedElsewhere());

    grid->SetCurrentCell(2, 0);
    EXPECT_TRUE(Main().Router().Execute(ID_RECORD_DELETE));
    prompt.Answer({ platform::IDCANCEL, platform::IDYES });
    Key(window, Qt::Key_P, Qt::ControlModifier);
    const std::vector<std::string> texts = prompt.Texts();
    EXPECT_EQ(std::vector<std::string>(texts.end() - 2, texts.end()),
        (std::vector<std::string> {
            "It is recommended that all unsaved changes should be saved to the file before "
            "packing table.\n\nTo save changes to the file and pack the table press 'OK'.\n\n"
            "To pack the table without saving changes press 'Cancel'.",
            "Packing the table permanently removes records that are marked for deletion.\n\n"
            "Pack the table a ?" }));
    EXPECT_EQ(RecordFlags(path), "   ");
    EXPECT_EQ(grid->GetRowCount(), 3);
    EXPECT_FALSE(grid->HasPendingChanges());
    EXPECT_EQ(CellText(window, 1, 0), "Name2"); // its mark was dropped, not applied
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Table %1 : 1").arg(QString::fromStdString(tables.File("a"))));
    EXPECT_EQ(Main().StatusPanes()->PaneText(0), QStringLiteral("Press F1 for help"));
    EXPECT_TRUE(other->ChangedElsewhere());
    EXPECT_FALSE(unrelated->ChangedElsewhere());
    EXPECT_EQ(prompt.Unused(), 0u);
}

} // namespace
