// The Save As options: which groups can be changed and what each offers first, in the four
// cases of what a window shows, and what OK gives back.

#include "shell/dialogs/save_options_dialog.h"
#include "tests/shell/dialogs/dialog_test_support.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using dialog_testing::Control;
using shell::CSaveOptionsDialog;

TEST(SaveOptionsDialogTest, AGroupIsOpenOnlyWhenSomethingIsNotShownAndThenOffersWhatIsShown)
{
    for (const bool columnsShown : { true, false }) {
        for (const bool recordsShown : { true, false }) {
            SCOPED_TRACE(testing::Message() << columnsShown << recordsShown);
            CSaveOptionsDialog dialog("PEOPLE", columnsShown, recordsShown);
            auto* allColumns = Control<QRadioButton>(dialog, "IDC_ALL_COLUMNS");
            auto* visible = Control<QRadioButton>(dialog, "IDC_VISIBLE_COLUMNS");
            auto* allRecords = Control<QRadioButton>(dialog, "IDC_ALL_RECORDS");
            auto* filtered = Control<QRadioButton>(dialog, "IDC_FILTERED_RECORDS");
            EXPECT_EQ(allColumns->isEnabled(), !columnsShown);
            EXPECT_EQ(visible->isEnabled(), !columnsShown);
            EXPECT_EQ(allRecords->isEnabled(), !recordsShown);
            EXPECT_EQ(filtered->isEnabled(), !recordsShown);
            EXPECT_EQ(allColumns->isChecked(), columnsShown);
            EXPECT_EQ(visible->isChecked(), !columnsShown);
            EXPECT_EQ(allRecords->isChecked(), recordsShown);
            EXPECT_EQ(filtered->isChecked(), !recordsShown);
            EXPECT_EQ(dialog.AllColumns(), columnsShown);
            EXPECT_EQ(dialog.AllRecords(), recordsShown);
            if (!columnsShown && !recordsShown) {
                EXPECT_EQ(Control<QLabel>(dialog, "IDC_SAVE_OPTIONS_TEXT")->text(),
                    QStringLiteral(
                        "Not all records and/or columns of the table PEOPLE are "
                        "visible.\n\nSet the options for saving data to the new table."));
                dialog_testing::Show(dialog);
                dialog_testing::Screenshot(dialog, "save_options_dialog");
            }
        }
    }
}

// Ask answers with the choice after OK and leaves the values after Cancel.
TEST(SaveOptionsDialogTest, AskGivesTheChoiceOnOkOnly)
{
    auto answer = [](const char* radio, const char* button) {
        QTimer::singleShot(0, [radio, button] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            Control<QRadioButton>(*dialog, radio)->click();
            Control<QPushButton>(*dialog, button)->click();
        });
    };
    bool allColumns = false;
    bool allRecords = false;
    answer("IDC_ALL_COLUMNS", "IDOK");
    EXPECT_TRUE(CSaveOptionsDialog::Ask(nullptr, "PEOPLE", &allColumns, &allRecords));
    EXPECT_TRUE(allColumns);
    EXPECT_FALSE(allRecords);

    allColumns = false;
    answer("IDC_ALL_RECORDS", "IDCANCEL");
    EXPECT_FALSE(CSaveOptionsDialog::Ask(nullptr, "PEOPLE", &allColumns, &allRecords));
    EXPECT_FALSE(allColumns);
    EXPECT_FALSE(allRecords);
}

} // namespace
