// The Go To dialog: which edit each kind enables, the ranges of its arrows (far beyond what
// a classic up-down control held), what can be typed, and what it gives back.

#include "shell/dialogs/goto_dialog.h"

#include "shell/dialogs/up_down_ctrl.h"
#include "tests/shell/dialogs/dialog_test_support.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

using dialog_testing::Control;
using shell::CGoToDialog;
using shell::CUpDownCtrl;
using shell::GoToChoice;

struct Controls
{
    explicit Controls(const CGoToDialog& dialog)
        : row(Control<QLineEdit>(dialog, "IDC_GOTO_ROW_NUMBER"))
        , record(Control<QLineEdit>(dialog, "IDC_GOTO_RECORD_NUMBER"))
        , rowSpin(Control<CUpDownCtrl>(dialog, "IDC_GOTO_ROW_SPIN"))
        , recordSpin(Control<CUpDownCtrl>(dialog, "IDC_GOTO_RECORD_SPIN"))
    {
    }
    QLineEdit* row;
    QLineEdit* record;
    CUpDownCtrl* rowSpin;
    CUpDownCtrl* recordSpin;
};

TEST(GoToDialogTest, EachKindEnablesOnlyItsOwnNumber)
{
    CGoToDialog dialog({ GoToChoice::kTop, 3, 7 }, 10, 20);
    dialog_testing::Show(dialog);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Go to"));
    const Controls c(dialog);
    const char* radios[] = { "IDC_GOTO_TOP", "IDC_GOTO_BOTTOM", "IDC_GOTO_ROW", "IDC_GOTO_RECORD" };
    EXPECT_TRUE(Control<QRadioButton>(dialog, radios[0])->isChecked());
    EXPECT_EQ(Control<QRadioButton>(dialog, radios[2])->text(), QStringLiteral("&Row"));
    for (int kind = 0; kind < 4; ++kind) {
        SCOPED_TRACE(kind);
        Control<QRadioButton>(dialog, radios[kind])->click();
        EXPECT_EQ(c.row->isEnabled(), kind == GoToChoice::kRow);
        EXPECT_EQ(c.rowSpin->isEnabled(), kind == GoToChoice::kRow);
        EXPECT_EQ(c.record->isEnabled(), kind == GoToChoice::kRecord);
        EXPECT_EQ(c.recordSpin->isEnabled(), kind == GoToChoice::kRecord);
        EXPECT_EQ(dialog.Choice().kind, kind);
    }
    // The number to go to is the one of the kind chosen; both are remembered.
    EXPECT_EQ(dialog.Number(), 7);
    Control<QRadioButton>(dialog, radios[2])->click();
    EXPECT_EQ(dialog.Number(), 3);
    Control<QRadioButton>(dialog, radios[1])->click();
    EXPECT_EQ(dialog.Number(), 0);
    const GoToChoice choice = dialog.Choice();
    EXPECT_EQ(choice.row, 3);
    EXPECT_EQ(choice.record, 7);
}

TEST(GoToDialogTest, TheArrowsReachTheLastRowAndRecordOfALargeTable)
{
    CGoToDialog dialog({ GoToChoice::kRecord, 99999, 120000 }, 100000, 120000);
    dialog_testing::Show(dialog);
    const Controls c(dialog);
    EXPECT_EQ(c.rowSpin->Lowest(), 1);
    EXPECT_EQ(c.rowSpin->Highest(), 100000);
    EXPECT_EQ(c.recordSpin->Highest(), 120000);
    EXPECT_EQ(c.record->text(), QStringLiteral("120000"));

    // The arrow stops at the last record; the Up and Down keys in the edit step too.
    c.recordSpin->findChildren<QToolButton*>().front()->click();
    EXPECT_EQ(c.record->text(), QStringLiteral("120000"));
    QTest::keyClick(c.record, Qt::Key_Down);
    EXPECT_EQ(c.record->text(), QStringLiteral("119999"));

    // What can be typed stops at the count as well.
    c.record->clear();
    QTest::keyClicks(c.record, QStringLiteral("1200001"));
    EXPECT_EQ(c.record->text(), QStringLiteral("120000"));
    c.record->clear();
    QTest::keyClicks(c.record, QStringLiteral("4x5"));
    EXPECT_EQ(c.record->text(), QStringLiteral("45"));
    EXPECT_EQ(dialog.Number(), 45);

    Control<QRadioButton>(dialog, "IDC_GOTO_ROW")->click();
    c.row->clear();
    QTest::keyClicks(c.row, QStringLiteral("100000"));
    EXPECT_EQ(dialog.Number(), 100000);
    QTest::keyClick(c.row, Qt::Key_Up);
    EXPECT_EQ(dialog.Number(), 100000);
    c.row->clear();
    QTest::keyClick(c.row, Qt::Key_Up); // an empty edit starts from the first row
    EXPECT_EQ(c.row->text(), QStringLiteral("1"));
    dialog_testing::Screenshot(dialog, "goto_dialog");
}

TEST(GoToDialogTest, RememberedNumbersAreKeptWithinTheCountsOfNow)
{
    // The filter shows fewer rows than when the row was typed.
    CGoToDialog fewer({ GoToChoice::kRow, 500, 0 }, 40, 1000);
    const Controls c(fewer);
    EXPECT_EQ(c.row->text(), QStringLiteral("40"));
    EXPECT_TRUE(c.record->text().isEmpty());
    EXPECT_EQ(fewer.Choice().record, 0);

    // No rows at all: nothing to show, and the arrows still have a range to stand on.
    CGoToDialog none({ GoToChoice::kRow, 5, 5 }, 0, 0);
    const Controls n(none);
    EXPECT_TRUE(n.row->text().isEmpty());
    EXPECT_EQ(n.rowSpin->Highest(), 1);
    EXPECT_EQ(none.Number(), 0);
}

} // namespace
