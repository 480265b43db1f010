// Select codepage: the sorted list with the table's code page selected by its name, the
// label naming it, and what the dialog gives back.

#include "shell/dialogs/select_code_page_dialog.h"
#include "tests/shell/dialogs/dialog_test_support.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>

#include <gtest/gtest.h>

namespace {

using dialog_testing::Control;
using shell::CSelectCodePageDialog;
using table::CodePageId;

TEST(SelectCodePageDialogTest, TheCurrentCodePageIsSelectedByNameAndTheChoiceGivenBack)
{
    CSelectCodePageDialog dialog(CodePageId::k866);
    dialog_testing::Show(dialog);
    auto* list = Control<QListWidget>(dialog, "IDC_CODEPAGE_LIST");
    const QStringList sorted { QStringLiteral("<autodetect>"), QStringLiteral("<no codepage set>"),
        QStringLiteral("Russian DOS (866)"), QStringLiteral("Russian Windows (1251)") };
    ASSERT_EQ(list->count(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(list->item(i)->text(), sorted[i]);
    EXPECT_EQ(list->currentRow(), 2);
    EXPECT_TRUE(list->currentItem()->isSelected());
    EXPECT_EQ(Control<QLabel>(dialog, "IDC_CURRENT_CODEPAGE")->text(),
        QStringLiteral("Current codepage: Russian DOS (866)"));
    EXPECT_FALSE(dialog.WriteIntoFile());
    dialog_testing::Screenshot(dialog, "select_code_page_dialog");

    const CodePageId ids[]
        = { CodePageId::kAutodetect, CodePageId::kNone, CodePageId::k866, CodePageId::k1251 };
    for (int i = 0; i < 4; ++i) {
        list->setCurrentRow(i);
        EXPECT_EQ(dialog.ChosenCodePage(), ids[i]) << i;
    }
    Control<QCheckBox>(dialog, "IDC_WRITE_CODEPAGE")->click();
    EXPECT_TRUE(dialog.WriteIntoFile());
}

} // namespace
