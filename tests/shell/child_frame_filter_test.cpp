// The table window's Filter, Go To, Top and Bottom commands end to end: the dialogs driven
// as a user would, the filter set on the grid, the status panes, and the questions asked.

#include "shell/child_frame.h"

#include "platform/prompt.h"
#include "resources/resource_ids.h"
#include "shell/command_menus.h"
#include "shell/dialogs/up_down_ctrl.h"
#include "shell/main_frame.h"
#include "shell/main_status_bar.h"
#include "shell/tool_bar.h"
#include "tablegrid/table_wnd_grid.h"
#include "tests/shell/shell_test_support.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/table_builder.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using shell::CChildFrame;
using shell_testing::OnModalDialog;
using testing_support::ScriptedPrompt;

const char kSaveFirst[] = "Before setting this filter all unsaved changes should be saved to the "
                          "file.\n\nTo save changes to the file and set filter press 'OK'.\n\nTo "
                          "cancel filter press 'Cancel'.";

template <class Widget>
Widget* Control(const QDialog& dialog, const char* name)
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

// In the Filter dialog: one condition added (the value typed when the operator takes one).
void AddCondition(const QDialog& dialog, const char* column, const char* op, const QString& value)
{
    auto* columns = Control<QComboBox>(dialog, "IDC_FILTER_COLUMN");
    columns->setCurrentIndex(columns->findText(QString::fromLatin1(column)));
    auto* ops = Control<QComboBox>(dialog, "IDC_FILTER_OPERATOR");
    ops->setCurrentIndex(ops->findText(QString::fromLatin1(op)));
    if (auto* edit = Control<QLineEdit>(dialog, "IDC_FILTER_VALUE"); edit->isEnabled())
        edit->setText(value);
    Click(dialog, "IDC_FILTER_ADD");
}

class ChildFrameFilterTest : public shell_testing::ShellTest
{
protected:
    CChildFrame* StartWith(const std::vector<std::string>& paths)
    {
        Start(paths);
        CChildFrame* window = Main().TableWindows().at(0);
        Main().ActivateTaskWindow(window);
        return window;
    }

    bool Enabled(int command) const { return Main().Router().Query(command).enabled; }

    // Runs the Filter command with `act` done in its dialog before OK.
    void Filter(std::function<void(QDialog&)> act)
    {
        OnModalDialog("IDD_FILTER", [act](QDialog& dialog) {
            act(dialog);
            Click(dialog, "IDOK");
        });
        EXPECT_TRUE(Main().Router().Execute(ID_TABLE_FILTER));
    }

    // Runs Go To for record `record` (a number typed into the dialog).
    void GoToRecord(const QString& record)
    {
        OnModalDialog("IDD_GOTO", [record](QDialog& dialog) {
            Click(dialog, "IDC_GOTO_RECORD");
            Control<QLineEdit>(dialog, "IDC_GOTO_RECORD_NUMBER")->setText(record);
            Click(dialog, "IDOK");
        });
        EXPECT_TRUE(Main().Router().Execute(ID_EDIT_GOTO));
    }
};

TEST_F(ChildFrameFilterTest, TheCommandsAreEnabledWhenTheyCanAct)
{
    ScriptedPrompt prompt;
    const int commands[] = { ID_TABLE_FILTER, ID_EDIT_GOTO, ID_GOTO_TOP, ID_GOTO_BOTTOM };
    Start();
    for (const int command : commands)
        EXPECT_FALSE(Enabled(command)) << command;

    // No records: a filter can still be set, but there is nowhere to go.
    app->OpenTableFile(WriteTable("empty.dbf", 0));
    EXPECT_TRUE(Enabled(ID_TABLE_FILTER));
    EXPECT_FALSE(Enabled(ID_EDIT_GOTO));
    EXPECT_FALSE(Enabled(ID_GOTO_TOP));
    EXPECT_FALSE(Enabled(ID_GOTO_BOTTOM));
    EXPECT_TRUE(Main().CommandBar()->Button(ID_TABLE_FILTER)->isEnabled());

    // A filter that shows no rows leaves Go To a record, which can take the filter away.
    CChildFrame* window = nullptr;
    app->OpenTableFile(WriteTable("a.dbf", 3));
    window = Main().ActiveTableWindow();
    ASSERT_NE(window, nullptr);
    Filter([](QDialog& dialog) { AddCondition(dialog, "NAME", "equal to", QStringLiteral("nobody")); });
    EXPECT_EQ(window->Grid()->GetRowCount(), 0);
    EXPECT_TRUE(Enabled(ID_EDIT_GOTO));
    EXPECT_FALSE(Enabled(ID_GOTO_TOP));
    EXPECT_FALSE(Enabled(ID_GOTO_BOTTOM));
    EXPECT_TRUE(prompt.Questions().empty());
}

TEST_F(ChildFrameFilterTest, FilterSetsTheGridsFilterAndSaysSoInTheStatusBar)
{
    ScriptedPrompt prompt;
    CChildFrame* window = StartWith({ WriteTable("a.dbf", 5) });
    tablegrid::CTableWndGrid* grid = window->Grid();
    EXPECT_TRUE(window->FrameStatusText(2).isEmpty());

    Filter([](QDialog& dialog) {
        AddCondition(dialog, "NAME", "equal to", QStringLiteral("Name3"));
        Click(dialog, "IDC_FILTER_OR");
        AddCondition(dialog, "SUM", "less than", QStringLiteral("2"));
    });
    EXPECT_EQ(grid->GetRowCount(), 3);
    EXPECT_TRUE(grid->IsFiltered());
    EXPECT_EQ(window->FrameStatusText(2), QStringLiteral("Filter"));
    EXPECT_EQ(Main().StatusPanes()->PaneText(0), QStringLiteral("Press F1 for help"));
    // A count shows its progress in pane 0 and then gives the pane back as it was.
    Main().StatusPanes()->SetPaneText(0, "Ready for the filter");
    EXPECT_EQ(window->MainStatusText(0), "Ready for the filter");
    EXPECT_EQ(grid->Requery(), 3);
    EXPECT_EQ(Main().StatusPanes()->PaneText(0), QStringLiteral("Ready for the filter"));
    grid->SetCurrentCell(2, 0);
    Screenshot("filtered_window");

    // The dialog opens on the filter as set; without its conditions every row is back.
    Filter([](QDialog& dialog) {
        auto* list = Control<QListWidget>(dialog, "IDC_CONDITION_LIST");
        ASSERT_EQ(list->count(), 3);
        EXPECT_EQ(list->item(0)->text(), QStringLiteral("NAME equal to 'Name3'"));
        EXPECT_EQ(list->item(2)->text(), QStringLiteral("SUM less than  2"));
        for (int i = 0; i < 3; ++i) {
            list->setCurrentRow(0);
            Click(dialog, "IDC_FILTER_DELETE");
        }
    });
    EXPECT_EQ(grid->GetRowCount(), 5);
    EXPECT_FALSE(grid->IsFiltered());
    EXPECT_TRUE(window->FrameStatusText(2).isEmpty());

    // Options alone are a filter too, even one that every record passes.
    Filter([](QDialog& dialog) { Click(dialog, "IDC_EMPTY_EXCLUDE"); });
    EXPECT_EQ(grid->GetRowCount(), 5);
    EXPECT_EQ(grid->EmptinessMode(), 1);
    EXPECT_EQ(window->FrameStatusText(2), QStringLiteral("Filter"));
    window->UpdateTitle();
    EXPECT_EQ(window->FrameStatusText(2), QStringLiteral("Filter"));
    EXPECT_TRUE(prompt.Questions().empty());
}

TEST_F(ChildFrameFilterTest, HiddenColumnsCanBeFilteredOn)
{
    ScriptedPrompt prompt;
    CChildFrame* window = StartWith({ WriteTable("a.dbf", 5) });
    tablegrid::CTableWndGrid* grid = window->Grid();
    grid->Columns()[1].visible = false;
    grid->BuildColumns();
    ASSERT_EQ(grid->GetColumnCount(), 1);
    Filter([](QDialog& dialog) {
        auto* columns = Control<QComboBox>(dialog, "IDC_FILTER_COLUMN");
        ASSERT_EQ(columns->count(), 2);
        EXPECT_EQ(columns->itemText(1), QStringLiteral("SUM"));
        AddCondition(dialog, "SUM", "greater than", QStringLiteral("4"));
    });
    EXPECT_EQ(grid->GetRowCount(), 2);
}

TEST_F(ChildFrameFilterTest, ARefusedExpressionLeavesTheFilterAsItWas)
{
    ScriptedPrompt prompt { platform::IDOK };
    CChildFrame* window = StartWith({ WriteTable("a.dbf", 5) });
    Filter([](QDialog& dialog) { AddCondition(dialog, "SUM", "greater than", QStringLiteral("4")); });
    ASSERT_EQ(window->Grid()->GetRowCount(), 2);

    // A value holding both quotes cannot be written in either.
    Filter([](QDialog& dialog) {
        AddCondition(dialog, "NAME", "contains", QStringLiteral("a'b\"c"));
    });
    EXPECT_EQ(prompt.Texts(),
        std::vector<std::string> { "Invalid filter expression. Filter has not been set." });
    EXPECT_EQ(window->Grid()->GetRowCount(), 2);
    EXPECT_EQ(window->FrameStatusText(2), QStringLiteral("Filter"));
}

TEST_F(ChildFrameFilterTest, ChangedOptionsWithChangesPendingAreSavedFirst)
{
    ScriptedPrompt prompt { platform::IDCANCEL };
    const std::string path = WriteTable("a.dbf", 3);
    CChildFrame* window = StartWith({ path });
    tablegrid::CTableWndGrid* grid = window->Grid();
    grid->SetCurrentCell(1, 0);
    ASSERT_TRUE(grid->ToggleDelete());

    // Cancel: nothing is saved and the filter stays as it was, conditions included.
    Filter([](QDialog& dialog) {
        Click(dialog, "IDC_DELETED_EXCLUDE");
        AddCondition(dialog, "SUM", "greater than", QStringLiteral("1"));
    });
    ASSERT_EQ(prompt.Questions().size(), 1u);
    EXPECT_EQ(prompt.Asked(0).text, kSaveFirst);
    EXPECT_EQ(prompt.Asked(0).buttons, platform::PromptButtons::kOkCancel);
    EXPECT_EQ(grid->DeletionMode(), 0);
    EXPECT_FALSE(grid->FilterRoot().HasConditions());
    EXPECT_EQ(grid->GetRowCount(), 3);
    EXPECT_TRUE(grid->HasPendingChanges());
    EXPECT_TRUE(window->FrameStatusText(2).isEmpty());

    // A condition alone does not ask.
    Filter([](QDialog& dialog) { AddCondition(dialog, "SUM", "less than", QStringLiteral("5")); });
    EXPECT_EQ(prompt.Questions().size(), 1u);
    EXPECT_EQ(grid->GetRowCount(), 3);

    // OK: the mark is written, then the deleted record is left out.
    prompt.Answer({ platform::IDOK });
    Filter([](QDialog& dialog) { Click(dialog, "IDC_DELETED_EXCLUDE"); });
    EXPECT_EQ(prompt.Questions().size(), 2u);
    EXPECT_FALSE(grid->HasPendingChanges());
    const std::vector<std::uint8_t> bytes = testing_support::ReadAllBytes(path);
    const std::size_t header = bytes[8] | bytes[9] << 8;
    const std::size_t length = bytes[10] | bytes[11] << 8;
    EXPECT_EQ(bytes.at(header + length), '*');
    EXPECT_EQ(grid->DeletionMode(), 1);
    EXPECT_EQ(grid->GetRowCount(), 2);
    EXPECT_EQ(window->FrameStatusText(2), QStringLiteral("Filter"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Table %1").arg(QString::fromStdString(tables.File("a"))));
}

TEST_F(ChildFrameFilterTest, GoingToARecordTheFilterHidesAsksToTakeTheFilterAway)
{
    ScriptedPrompt prompt { platform::IDCANCEL };
    CChildFrame* window = StartWith({ WriteTable("a.dbf", 5) });
    tablegrid::CTableWndGrid* grid = window->Grid();
    Filter([](QDialog& dialog) { AddCondition(dialog, "NAME", "equal to", QStringLiteral("Name1")); });
    ASSERT_EQ(grid->GetRowCount(), 1);

    GoToRecord(QStringLiteral("4"));
    ASSERT_EQ(prompt.Questions().size(), 1u);
    EXPECT_EQ(prompt.Asked(0).text.substr(0, 52), "The requested record does not satisfy current filter");
    EXPECT_EQ(prompt.Asked(0).buttons, platform::PromptButtons::kOkCancel);
    EXPECT_EQ(grid->GetRowCount(), 1);
    EXPECT_EQ(window->FrameStatusText(2), QStringLiteral("Filter"));

    // The dialog opens as it was left; OK this time takes the conditions away.
    prompt.Answer({ platform::IDOK });
    OnModalDialog("IDD_GOTO", [](QDialog& dialog) {
        EXPECT_TRUE(Control<QRadioButton>(dialog, "IDC_GOTO_RECORD")->isChecked());
        EXPECT_EQ(Control<QLineEdit>(dialog, "IDC_GOTO_RECORD_NUMBER")->text(), QStringLiteral("4"));
        Click(dialog, "IDOK");
    });
    EXPECT_TRUE(Main().Router().Execute(ID_EDIT_GOTO));
    EXPECT_EQ(prompt.Questions().size(), 2u);
    EXPECT_EQ(grid->GetRowCount(), 5);
    EXPECT_EQ(grid->GetCurrentRow(), 3);
    EXPECT_FALSE(grid->FilterRoot().HasConditions());
    EXPECT_TRUE(window->FrameStatusText(2).isEmpty());
}

TEST_F(ChildFrameFilterTest, GoToReachesEveryRowOfALargeTable)
{
    ScriptedPrompt prompt;
    CChildFrame* window = StartWith({ WriteTable("big.dbf", 100000) });
    tablegrid::CTableWndGrid* grid = window->Grid();
    grid->SetCurrentCell(41, 0);

    // Opened first, the dialog shows where the cursor is.
    OnModalDialog("IDD_GOTO", [](QDialog& dialog) {
        EXPECT_EQ(Control<QLineEdit>(dialog, "IDC_GOTO_ROW_NUMBER")->text(), QStringLiteral("42"));
        EXPECT_EQ(Control<QLineEdit>(dialog, "IDC_GOTO_RECORD_NUMBER")->text(), QStringLiteral("42"));
        EXPECT_EQ(Control<shell::CUpDownCtrl>(dialog, "IDC_GOTO_ROW_SPIN")->Highest(), 100000);
        EXPECT_EQ(Control<shell::CUpDownCtrl>(dialog, "IDC_GOTO_RECORD_SPIN")->Highest(), 100000);
        Click(dialog, "IDC_GOTO_ROW");
        auto* row = Control<QLineEdit>(dialog, "IDC_GOTO_ROW_NUMBER");
        row->clear();
        QTest::keyClicks(row, QStringLiteral("99999"));
        QTest::keyClick(row, Qt::Key_Up);
        Click(dialog, "IDOK");
    });
    EXPECT_TRUE(Main().Router().Execute(ID_EDIT_GOTO));
    EXPECT_EQ(grid->GetCurrentRow(), 99999);

    GoToRecord(QStringLiteral("50000"));
    EXPECT_EQ(grid->GetCurrentRow(), 49999);
    EXPECT_TRUE(Main().Router().Execute(ID_GOTO_TOP));
    EXPECT_EQ(grid->GetCurrentRow(), 0);
    EXPECT_TRUE(Main().Router().Execute(ID_GOTO_BOTTOM));
    EXPECT_EQ(grid->GetCurrentRow(), 99999);
    EXPECT_TRUE(prompt.Questions().empty());
}

} // namespace
