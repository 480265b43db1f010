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

struct Controls
{
    explicit Controls(const QWidget& dialog)
        : left(Control<QLineEdit>(dialog, "IDC_LEFT_DELIMITER"))
        , right(Control<QLineEdit>(dialog, "IDC_RIGHT_DELIMITER"))
        , separators(Control<QComboBox>(dialog, "IDC_SEPARATOR"))
        , other(Control<QCheckBox>(dialog, "IDC_OTHER_SEPARATOR_CHECK"))
        , otherText(Control<QLineEdit>(dialog, "IDC_OTHER_SEPARATOR"))
        , sample(Control<QLabel>(dialog, "IDC_SAMPLE"))
    { }
    QLineEdit* left;
    QLineEdit* right;
    QComboBox* separators;
    QCheckBox* other;
    QLineEdit* otherText;
    QLabel* sample;
};

TEST(SaveTextDialogTest, ANamedSeparatorOpensChosenAndAnyOtherUnderOther)
{
    const struct
    {
        std::string separator;
        int index; // -1: under "Other:"
    } cases[] = { { ",", 0 }, { ";", 1 }, { "\t", 2 }, { " ", 3 }, { "|", -1 }, { ";;", -1 },
        { "", -1 } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.separator);
        CSaveTextDialog dialog("/data/out.txt", { "'", "'", c.separator });
        const Controls controls(dialog);
        EXPECT_EQ(controls.other->isChecked(), c.index < 0);
        EXPECT_EQ(controls.otherText->isEnabled(), c.index < 0);
        EXPECT_EQ(controls.separators->isEnabled(), c.index >= 0);
        if (c.index >= 0) {
            EXPECT_EQ(controls.separators->currentIndex(), c.index);
            EXPECT_TRUE(controls.otherText->text().isEmpty());
        } else {
            EXPECT_EQ(controls.otherText->text(), QString::fromLatin1(c.separator.c_str()));
        }
        EXPECT_EQ(dialog.Format().separator, c.separator);
    }
    CSaveTextDialog dialog("/data/out.txt", {});
    const Controls controls(dialog);
    EXPECT_EQ(controls.separators->itemText(2), QStringLiteral("Tabulation"));
    EXPECT_EQ(
        Control<QLabel>(dialog, "IDC_SAVE_TEXT_PATH")->text(), QStringLiteral("/data/out.txt"));
}

TEST(SaveTextDialogTest, TheSampleLineFollowsEveryChange)
{
    CSaveTextDialog dialog("/data/out.txt", {});
    const Controls c(dialog);
    EXPECT_EQ(c.sample->text(), QStringLiteral("\"Field 1\",\"Field 2\",\"Field 3\",\"Field 4\""));
    c.left->setText(QStringLiteral("<"));
    c.right->clear();
    c.separators->setCurrentIndex(1);
    EXPECT_EQ(c.sample->text(), QStringLiteral("<Field 1;<Field 2;<Field 3;<Field 4"));
    c.other->click();
    c.otherText->setText(QStringLiteral(" | "));
    EXPECT_EQ(c.sample->text(), QStringLiteral("<Field 1 | <Field 2 | <Field 3 | <Field 4"));
    EXPECT_EQ(dialog.Format(), (TextExportFormat { "<", "", " | " }));
    c.other->click();
    EXPECT_EQ(c.sample->text(), QStringLiteral("<Field 1;<Field 2;<Field 3;<Field 4"));
    dialog_testing::Show(dialog);
    dialog_testing::Screenshot(dialog, "save_text_dialog");
}

TEST(SaveTextDialogTest, EmptyParametersAreAskedAboutAndNoKeepsTheDialogOpen)
{
    testing_support::ScriptedPrompt prompt { platform::IDNO, platform::IDYES };
    CSaveTextDialog dialog("/data/out.txt", { "", "\"", ";" });
    dialog_testing::Show(dialog);
    auto* ok = Control<QPushButton>(dialog, "IDOK");
    ok->click();
    ASSERT_EQ(prompt.Questions().size(), 1u);
    EXPECT_EQ(prompt.Asked(0).text, "Some parameters are empty. Continue?");
    EXPECT_EQ(prompt.Asked(0).buttons, platform::PromptButtons::kYesNo);
    EXPECT_TRUE(dialog.isVisible());
    ok->click();
    EXPECT_EQ(prompt.Questions().size(), 2u);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    // Nothing empty: no question. Ask hands the accepted format back.
    TextExportFormat format { "[", "]", "\t" };
    QTimer::singleShot(0, [] {
        auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(modal, nullptr);
        Control<QComboBox>(*modal, "IDC_SEPARATOR")->setCurrentIndex(3);
        Control<QPushButton>(*modal, "IDOK")->click();
    });
    EXPECT_TRUE(CSaveTextDialog::Ask(nullptr, "/data/out.txt", &format));
    EXPECT_EQ(format, (TextExportFormat { "[", "]", " " }));
    EXPECT_EQ(prompt.Questions().size(), 2u);
}

} // namespace
