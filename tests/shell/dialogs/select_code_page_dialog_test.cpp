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

void Choose(const CSelectCodePageDialog& dialog, const char* name)
{
    auto* list = Control<QListWidget>(dialog, "IDC_CODEPAGE_LIST");
    const QList<QListWidgetItem*> items
        = list->findItems(QString::fromLatin1(name), Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1) << name;
    list->setCurrentItem(items.front());
}

TEST(SelectCodePageDialogTest, TheCurrentCodePageIsSelectedByItsNameInTheSortedList)
{
    CSelectCodePageDialog dialog(CodePageId::k866);
    dialog_testing::Show(dialog);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Select codepage"));
    auto* list = Control<QListWidget>(dialog, "IDC_CODEPAGE_LIST");
    ASSERT_EQ(list->count(), 4);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("<autodetect>"));
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("<no codepage set>"));
    EXPECT_EQ(list->item(3)->text(), QStringLiteral("Russian Windows (1251)"));
    EXPECT_EQ(list->currentItem()->text(), QStringLiteral("Russian DOS (866)"));
    EXPECT_TRUE(list->currentItem()->isSelected());
    EXPECT_EQ(Control<QLabel>(dialog, "IDC_CURRENT_CODEPAGE")->text(),
        QStringLiteral("Current codepage: Russian DOS (866)"));
    EXPECT_FALSE(Control<QCheckBox>(dialog, "IDC_WRITE_CODEPAGE")->isChecked());
    EXPECT_EQ(dialog.ChosenCodePage(), CodePageId::k866);
    EXPECT_FALSE(dialog.WriteIntoFile());
    dialog_testing::Screenshot(dialog, "select_code_page_dialog");

    CSelectCodePageDialog none(CodePageId::kNone);
    EXPECT_EQ(Control<QLabel>(none, "IDC_CURRENT_CODEPAGE")->text(),
        QStringLiteral("Current codepage: <no codepage set>"));
    EXPECT_EQ(Control<QListWidget>(none, "IDC_CODEPAGE_LIST")->currentRow(), 1);
}

TEST(SelectCodePageDialogTest, TheChosenEntryAndTheBoxAreGivenBack)
{
    CSelectCodePageDialog dialog(CodePageId::k1251);
    const struct
    {
        const char* name;
        CodePageId id;
    } entries[] = {
        { "<autodetect>", CodePageId::kAutodetect },
        { "<no codepage set>", CodePageId::kNone },
        { "Russian DOS (866)", CodePageId::k866 },
        { "Russian Windows (1251)", CodePageId::k1251 },
    };
    for (const auto& entry : entries) {
        Choose(dialog, entry.name);
        EXPECT_EQ(dialog.ChosenCodePage(), entry.id) << entry.name;
    }
    Control<QCheckBox>(dialog, "IDC_WRITE_CODEPAGE")->click();
    EXPECT_TRUE(dialog.WriteIntoFile());
}

} // namespace
