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
            const char* radios[] = { "IDC_ALL_COLUMNS", "IDC_VISIBLE_COLUMNS", "IDC_ALL_RECORDS",
                "IDC_FILTERED_RECORDS" };
            const bool allShown[] = { columnsShown, columnsShown, recordsShown, recordsShown };
            for (int i = 0; i < 4; ++i) {
                auto* radio = Control<QRadioButton>(dialog, radios[i]);
                EXPECT_EQ(radio->isEnabled(), !allShown[i]) << radios[i];
                EXPECT_EQ(radio->isChecked(), allShown[i] == (i % 2 == 0)) << radios[i];
            }
            EXPECT_EQ(dialog.AllColumns(), columnsShown);
            EXPECT_EQ(dialog.AllRecords(), recordsShown);
        }
    }
}

TEST(SaveOptionsDialogTest, AskNamesTheTableAndGivesTheChoiceOnOk)
{
    bool allColumns = false;
    bool allRecords = false;
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(Control<QLabel>(*dialog, "IDC_SAVE_OPTIONS_TEXT")->text(),
            QStringLiteral("Not all records and/or columns of the table PEOPLE are visible.\n\n"
                           "Set the options for saving data to the new table."));
        dialog_testing::Screenshot(*dialog, "save_options_dialog");
        Control<QRadioButton>(*dialog, "IDC_ALL_COLUMNS")->click();
        Control<QPushButton>(*dialog, "IDOK")->click();
    });
    EXPECT_TRUE(CSaveOptionsDialog::Ask(nullptr, "PEOPLE", &allColumns, &allRecords));
    EXPECT_TRUE(allColumns);
    EXPECT_FALSE(allRecords);
}

} // namespace
