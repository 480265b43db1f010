// The Columns dialog: what its list shows, how a column is hidden, shown and moved, and that
// OK hands the edited layout back.

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
    // SUM has a title from the directory's schema, which the dialog shows.
    return { { "NAME", 'C', 20, 0, true, false, "", "" },
        { "SUM", 'N', 12, 2, true, false, "Amount", "" }, { "BORN", 'D', 8, 0, false, false, "", "" },
        { "RATE", 'F', 10, 3, true, false, "", "" } };
}

// The layout's order, hidden columns marked with '-'.
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

TEST(ColumnsDialogTest, TheListShowsEachColumnsTitleTypeLengthDecimalsAndState)
{
    CColumnsDialog dialog(Layout());
    dialog_testing::Show(dialog);
    auto* list = Control<QTreeWidget>(dialog, "IDC_COLUMN_LIST");
    ASSERT_EQ(list->topLevelItemCount(), 4);
    const QTreeWidgetItem* sum = list->topLevelItem(1);
    EXPECT_EQ(QStringList({ sum->text(0), sum->text(1), sum->text(2), sum->text(3) }),
        QStringList({ QStringLiteral("Amount"), QStringLiteral("Numeric"), QStringLiteral("12"),
            QStringLiteral("2") }));
    EXPECT_EQ(list->topLevelItem(3)->text(1), QStringLiteral("???"));
    const QImage shown = list->topLevelItem(0)->icon(0).pixmap(13, 13).toImage();
    EXPECT_NE(shown, list->topLevelItem(2)->icon(0).pixmap(13, 13).toImage());
    EXPECT_EQ(shown, list->topLevelItem(1)->icon(0).pixmap(13, 13).toImage());
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
    emit list->itemDoubleClicked(list->topLevelItem(2), 0); // makes BORN current, too
    EXPECT_EQ(Order(dialog.Layout()), "-NAME SUM BORN RATE ");

    // Down and Up carry the current column with them and stop at the ends.
    Click(dialog, "IDC_COLUMN_DOWN");
    Click(dialog, "IDC_COLUMN_DOWN");
    EXPECT_EQ(Order(dialog.Layout()), "-NAME SUM RATE BORN ");
    for (int i = 0; i < 4; ++i)
        Click(dialog, "IDC_COLUMN_UP");
    EXPECT_EQ(Order(dialog.Layout()), "BORN -NAME SUM RATE ");
    EXPECT_EQ(list->currentItem()->text(0), QStringLiteral("BORN"));
    EXPECT_TRUE(list->currentItem()->isSelected());

    Click(dialog, "IDC_COLUMN_HIDE");
    EXPECT_EQ(Order(dialog.Layout()), "-BORN -NAME SUM RATE ");
    Click(dialog, "IDC_COLUMN_SHOW");
    EXPECT_EQ(Order(dialog.Layout()), "BORN -NAME SUM RATE ");
    Click(dialog, "IDC_COLUMN_SHOW_ALL");
    Click(dialog, "IDOK");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(Order(dialog.Layout()), "BORN NAME SUM RATE ");
}

} // namespace
