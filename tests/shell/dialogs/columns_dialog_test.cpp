// The Columns dialog: what its list shows, how a column is hidden, shown and moved, and that
// only OK hands the edited layout back.

#include "shell/dialogs/columns_dialog.h"
#include "tests/shell/dialogs/dialog_test_support.h"

#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

using dialog_testing::Control;
using shell::CColumnsDialog;

tablegrid::ColumnLayout Layout()
{
    tablegrid::ColumnLayout layout(4);
    layout[0] = { "NAME", 'C', 20, 0, true, false };
    layout[1] = { "SUM", 'N', 12, 2, true, false };
    layout[2] = { "BORN", 'D', 8, 0, false, false };
    layout[3] = { "RATE", 'F', 10, 3, true, false };
    return layout;
}

std::string Order(const tablegrid::ColumnLayout& layout)
{
    std::string order;
    for (const tablegrid::LayoutColumn& column : layout)
        order += (column.visible ? "" : "-") + column.name + " ";
    return order;
}

void Click(const QWidget& dialog, const char* name)
{
    Control<QPushButton>(dialog, name)->click();
}

TEST(ColumnsDialogTest, TheListShowsEachColumnsTitleTypeLengthAndDecimals)
{
    CColumnsDialog dialog(Layout());
    dialog_testing::Show(dialog);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Set visibility and order of the columns"));
    auto* list = Control<QTreeWidget>(dialog, "IDC_COLUMN_LIST");
    ASSERT_EQ(list->topLevelItemCount(), 4);
    EXPECT_EQ(list->headerItem()->text(2), QStringLiteral("Len"));
    const QTreeWidgetItem* sum = list->topLevelItem(1);
    EXPECT_EQ(sum->text(0), QStringLiteral("SUM"));
    EXPECT_EQ(sum->text(1), QStringLiteral("Numeric"));
    EXPECT_EQ(sum->text(2), QStringLiteral("12"));
    EXPECT_EQ(sum->text(3), QStringLiteral("2"));
    EXPECT_EQ(list->topLevelItem(2)->text(1), QStringLiteral("Date"));
    EXPECT_EQ(list->topLevelItem(3)->text(1), QStringLiteral("???"));
    // Shown and hidden columns carry different pictures.
    const QImage shown = list->topLevelItem(0)->icon(0).pixmap(13, 13).toImage();
    const QImage hidden = list->topLevelItem(2)->icon(0).pixmap(13, 13).toImage();
    EXPECT_NE(shown, hidden);
    EXPECT_EQ(list->currentItem(), list->topLevelItem(0));
    // Without actions given, Table... and Help cannot be pressed.
    EXPECT_FALSE(Control<QPushButton>(dialog, "IDC_COLUMN_TABLE")->isEnabled());
    EXPECT_FALSE(Control<QPushButton>(dialog, "ID_HELP")->isEnabled());
    dialog_testing::Screenshot(dialog, "columns_dialog");
}

TEST(ColumnsDialogTest, SpaceDoubleClickAndTheButtonsHideShowAndMoveTheCurrentColumn)
{
    CColumnsDialog dialog(Layout());
    dialog_testing::Show(dialog);
    auto* list = Control<QTreeWidget>(dialog, "IDC_COLUMN_LIST");

    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_EQ(Order(dialog.Layout()), "-NAME SUM -BORN RATE ");
    // A double-click on another column makes it current and toggles it.
    emit list->itemDoubleClicked(list->topLevelItem(2), 0);
    EXPECT_EQ(dialog.CurrentIndex(), 2);
    EXPECT_EQ(Order(dialog.Layout()), "-NAME SUM BORN RATE ");

    // Down twice, then Up, carry the current column with them; Up stops at the first.
    Click(dialog, "IDC_COLUMN_DOWN");
    EXPECT_EQ(dialog.CurrentIndex(), 3);
    EXPECT_EQ(list->currentItem()->text(0), QStringLiteral("BORN"));
    Click(dialog, "IDC_COLUMN_DOWN");
    EXPECT_EQ(Order(dialog.Layout()), "-NAME SUM RATE BORN ");
    for (int i = 0; i < 4; ++i)
        Click(dialog, "IDC_COLUMN_UP");
    EXPECT_EQ(Order(dialog.Layout()), "BORN -NAME SUM RATE ");
    EXPECT_EQ(dialog.CurrentIndex(), 0);
    EXPECT_TRUE(list->currentItem()->isSelected());

    // Hide and Show act on the current column, Show All on every one.
    Click(dialog, "IDC_COLUMN_HIDE");
    EXPECT_FALSE(Control<QPushButton>(dialog, "IDC_COLUMN_HIDE")->isEnabled());
    EXPECT_EQ(Order(dialog.Layout()), "-BORN -NAME SUM RATE ");
    Click(dialog, "IDC_COLUMN_SHOW");
    EXPECT_EQ(Order(dialog.Layout()), "BORN -NAME SUM RATE ");
    Click(dialog, "IDC_COLUMN_SHOW_ALL");
    EXPECT_EQ(Order(dialog.Layout()), "BORN NAME SUM RATE ");
    EXPECT_FALSE(Control<QPushButton>(dialog, "IDC_COLUMN_SHOW_ALL")->isEnabled());
}

TEST(ColumnsDialogTest, OkAcceptsCancelRejectsAndTableOpensOverTheDialog)
{
    CColumnsDialog dialog(Layout());
    QWidget* tableParent = nullptr;
    dialog.SetTableAction([&tableParent](QWidget* parent) { tableParent = parent; });
    Click(dialog, "IDC_COLUMN_TABLE");
    EXPECT_EQ(tableParent, &dialog);

    Click(dialog, "IDC_COLUMN_HIDE");
    Click(dialog, "IDOK");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(Order(dialog.Layout()), "-NAME SUM -BORN RATE ");

    CColumnsDialog cancelled(Layout());
    Click(cancelled, "IDCANCEL");
    EXPECT_EQ(cancelled.result(), QDialog::Rejected);
}

} // namespace
