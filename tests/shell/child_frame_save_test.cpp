// The table window's Save As: the name's ending decides, a new table opens in a window of its
// own, text goes through the Save As Text dialog with the session's format, and the user is
// told how it went.

#include "shell/child_frame.h"
#include "platform/prompt.h"
#include "resources/resource_ids.h"
#include "shell/main_frame.h"
#include "shell/viewer_app.h"
#include "tests/shell/shell_test_support.h"
#include "tests/support/scripted_prompt.h"

#include <QAbstractButton>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using shell::CChildFrame;
using shell_testing::OnModalDialog;
using testing_support::ScriptedPrompt;

class ChildFrameSaveTest : public shell_testing::ShellTest
{
protected:
    CChildFrame* Open()
    {
        Start({ WriteTable("a.dbf", 2) });
        return Main().TableWindows().at(0);
    }

    static std::string Text(const std::string& path)
    {
        const auto bytes = testing_support::ReadAllBytes(path);
        return std::string(bytes.begin(), bytes.end());
    }
};

TEST_F(ChildFrameSaveTest, ATableNameSavesATableAndOpensIt)
{
    CChildFrame* window = Open();
    EXPECT_TRUE(Main().Router().Query(ID_FILE_SAVE_AS).enabled);
    ScriptedPrompt prompt;
    EXPECT_TRUE(window->SaveAsPath(tables.File("copy.DBF")));
    EXPECT_EQ(testing_support::ReadAllBytes(tables.File("copy.DBF")),
        testing_support::ReadAllBytes(tables.File("a.dbf")));
    ASSERT_EQ(Main().TableWindows().size(), 2u);
    EXPECT_EQ(Main().TableWindows().at(1)->TablePath(), tables.File("copy.DBF"));
}

// A window on the table saved over learns that its file changed; other windows do not.
TEST_F(ChildFrameSaveTest, AWindowOnTheTableSavedOverLearnsItChanged)
{
    Start({ WriteTable("a.dbf", 2), WriteTable("b.dbf", 3), WriteTable("c.dbf", 1) });
    CChildFrame* window = Main().TableWindows().at(0);
    ScriptedPrompt prompt;
    EXPECT_TRUE(window->SaveAsPath(tables.File("b.dbf")));
    EXPECT_TRUE(Main().TableWindows().at(1)->ChangedElsewhere());
    EXPECT_FALSE(Main().TableWindows().at(2)->ChangedElsewhere());
    EXPECT_FALSE(window->ChangedElsewhere());
}

// .txt and .csv alike: the dialog shows the session's format, what it accepts is kept for
// the next export, and a box says the data were saved.
TEST_F(ChildFrameSaveTest, TextNamesExportWithTheDialogsFormatAndSayHowItWent)
{
    CChildFrame* window = Open();
    ScriptedPrompt prompt { platform::IDOK, platform::IDOK };
    OnModalDialog("IDD_SAVE_TEXT", [](QDialog& dialog) {
        dialog.findChild<QLineEdit*>(QStringLiteral("IDC_LEFT_DELIMITER"))->setText(QStringLiteral("["));
        dialog.findChild<QLineEdit*>(QStringLiteral("IDC_RIGHT_DELIMITER"))->setText(QStringLiteral("]"));
        dialog.findChild<QAbstractButton*>(QStringLiteral("IDOK"))->click();
    });
    EXPECT_TRUE(window->SaveAsPath(tables.File("a.Txt")));
    EXPECT_EQ(app->TextExportFormat().leftDelimiter, "[");
    OnModalDialog("IDD_SAVE_TEXT", [](QDialog& dialog) {
        EXPECT_EQ(dialog.findChild<QLineEdit*>(QStringLiteral("IDC_LEFT_DELIMITER"))->text(),
            QStringLiteral("["));
        dialog.findChild<QAbstractButton*>(QStringLiteral("IDOK"))->click();
    });
    EXPECT_TRUE(window->SaveAsPath(tables.File("a.csv")));
    EXPECT_EQ(Text(tables.File("a.Txt")), Text(tables.File("a.csv")));
    EXPECT_EQ(Text(tables.File("a.csv")).substr(0, 1), "[");
    EXPECT_EQ(prompt.Texts(), (std::vector<std::string> { "The data have been successfully saved.",
                                  "The data have been successfully saved." }));

    // A cancelled dialog writes nothing and says nothing.
    OnModalDialog("IDD_SAVE_TEXT", [](QDialog& dialog) {
        dialog.findChild<QAbstractButton*>(QStringLiteral("IDCANCEL"))->click();
    });
    EXPECT_FALSE(window->SaveAsPath(tables.File("b.txt")));
    EXPECT_FALSE(std::filesystem::exists(tables.File("b.txt")));
}

TEST_F(ChildFrameSaveTest, OtherEndingsAndFailuresAreSaid)
{
    CChildFrame* window = Open();
    ScriptedPrompt prompt { platform::IDOK, platform::IDOK };
    EXPECT_FALSE(window->SaveAsPath(tables.File("a.xls")));
    EXPECT_FALSE(window->SaveAsPath(tables.File("a.dbf"))); // the table itself
    EXPECT_EQ(prompt.Texts(), (std::vector<std::string> { "Unable to save as " + tables.File("a.xls"),
                                  "Unable to save as " + tables.File("a.dbf") }));
    EXPECT_EQ(Main().TableWindows().size(), 1u);
}

} // namespace
