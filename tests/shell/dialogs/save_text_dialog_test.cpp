// Save As Text: how a format opens (a named separator chosen, any other under "Other:"), the
// sample line following every change, and the question about empty parameters.

#include "shell/dialogs/save_text_dialog.h"
#include "tests/shell/dialogs/dialog_test_support.h"
#include "tests/support/scripted_prompt.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using dialog_testing::Control;
using shell::CSaveTextDialog;
using tablegrid::TextExportFormat;

TEST(SaveTextDialogTest, ANamedSeparatorOpensChosenAndAnyOtherUnderOther)
{
    const struct
    {
        std::string separator;
        int index; // -1: under "Other:"
    } cases[] = { { ",", 0 }, { "\t", 2 }, { " ", 3 }, { "|", -1 }, { ";;", -1 }, { "", -1 } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.separator);
        CSaveTextDialog dialog("/data/out.txt", { "'", "'", c.separator });
        EXPECT_EQ(
            Control<QCheckBox>(dialog, "IDC_OTHER_SEPARATOR_CHECK")->isChecked(), c.index < 0);
        EXPECT_EQ(Control<QLineEdit>(dialog, "IDC_OTHER_SEPARATOR")->isEnabled(), c.index < 0);
        if (c.index >= 0) {
            EXPECT_EQ(Control<QComboBox>(dialog, "IDC_SEPARATOR")->currentIndex(), c.index);
        }
        EXPECT_EQ(dialog.Format().separator, c.separator);
    }
}

TEST(SaveTextDialogTest, TheSampleLineFollowsEveryChange)
{
    CSaveTextDialog dialog("/data/out.txt", {});
    auto* sample = Control<QLabel>(dialog, "IDC_SAMPLE");
    EXPECT_EQ(sample->text(), QStringLiteral("\"Field 1\",\"Field 2\",\"Field 3\",\"Field 4\""));
    Control<QLineEdit>(dialog, "IDC_LEFT_DELIMITER")->setText(QStringLiteral("<"));
    Control<QLineEdit>(dialog, "IDC_RIGHT_DELIMITER")->clear();
    Control<QComboBox>(dialog, "IDC_SEPARATOR")->setCurrentIndex(1);
    EXPECT_EQ(sample->text(), QStringLiteral("<Field 1;<Field 2;<Field 3;<Field 4"));
    Control<QCheckBox>(dialog, "IDC_OTHER_SEPARATOR_CHECK")->click();
    Control<QLineEdit>(dialog, "IDC_OTHER_SEPARATOR")->setText(QStringLiteral(" | "));
    EXPECT_EQ(sample->text(), QStringLiteral("<Field 1 | <Field 2 | <Field 3 | <Field 4"));
    EXPECT_EQ(dialog.Format(), (TextExportFormat { "<", "", " | " }));
    dialog_testing::Show(dialog);
    dialog_testing::Screenshot(dialog, "save_text_dialog");
}

TEST(SaveTextDialogTest, EmptyParametersAreAskedAboutAndNoKeepsTheDialogOpen)
{
    testing_support::ScriptedPrompt prompt { platform::IDNO, platform::IDYES };
    TextExportFormat format { "", "\"", ";" };
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* ok = Control<QPushButton>(*dialog, "IDOK");
        ok->click();
        EXPECT_TRUE(dialog->isVisible());
        Control<QComboBox>(*dialog, "IDC_SEPARATOR")->setCurrentIndex(3);
        ok->click();
    });
    EXPECT_TRUE(CSaveTextDialog::Ask(nullptr, "/data/out.txt", &format));
    EXPECT_EQ(format, (TextExportFormat { "", "\"", " " }));
    EXPECT_EQ(prompt.Texts(), std::vector<std::string>(2, "Some parameters are empty. Continue?"));
    EXPECT_EQ(prompt.Asked(0).buttons, platform::PromptButtons::kYesNo);

    // Nothing empty: no question.
    QTimer::singleShot(
        0, [] { Control<QPushButton>(*QApplication::activeModalWidget(), "IDOK")->click(); });
    format = {};
    EXPECT_TRUE(CSaveTextDialog::Ask(nullptr, "/data/out.txt", &format));
    EXPECT_EQ(prompt.Questions().size(), 2u);
}

} // namespace
