// The Database dialog: its list of the schema's tables, Add with files of other directories
// and keys already there, Remove after asking, Properties, and Test's three messages.

#include "platform/file_system.h"
#include "shell/dialogs/database_dialog.h"
#include "table/table_database.h"
#include "tests/shell/dialogs/dialog_test_support.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/table_builder.h"
#include "tests/support/temp_dir.h"

#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

using dialog_testing::Control;
using shell::CDatabaseDialog;
using testing_support::ScriptedPrompt;

class DatabaseDialogTest : public ::testing::Test
{
protected:
    DatabaseDialogTest()
    {
        testing_support::TableBuilder table;
        table.Field("ID", 'C', 3).Field("NAME", 'C', 10);
        table.Write(dir.File("ab.dbf"));
        table.Write(dir.File("groups.dbf"));
        table.Write(other.File("elsewhere.dbf"));
        EXPECT_TRUE(database.SetDatabaseDirectory(dir.Path()));
    }

    static QStringList Rows(const CDatabaseDialog& dialog)
    {
        QStringList rows;
        auto* list = Control<QTreeWidget>(dialog, "IDC_SCHEMA_TABLE_LIST");
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            rows << list->topLevelItem(i)->text(0) + QLatin1Char('|')
                    + list->topLevelItem(i)->text(1);
        return rows;
    }
    static void Click(const CDatabaseDialog& dialog, const char* name)
    {
        Control<QPushButton>(dialog, name)->click();
    }
    static void SelectRow(const CDatabaseDialog& dialog, int row)
    {
        auto* list = Control<QTreeWidget>(dialog, "IDC_SCHEMA_TABLE_LIST");
        list->setCurrentItem(list->topLevelItem(row));
    }

    testing_support::TempDir dir;
    testing_support::TempDir other;
    table::TableDatabase database { platform::FileSystem::Default() };
};

TEST_F(DatabaseDialogTest, AddTakesEachTableOfTheDirectoryOnceAndRemoveAsksFirst)
{
    database.AddTable("UNITS").description = "Units of measure";
    CDatabaseDialog dialog(database);
    EXPECT_EQ(
        dialog.windowTitle(), QStringLiteral("Database ") + QString::fromStdString(dir.Path()));
    EXPECT_EQ(Rows(dialog), QStringList { QStringLiteral("UNITS|Units of measure") });
    // Nothing to do without a selection.
    Click(dialog, "IDC_SCHEMA_REMOVE");

    std::vector<std::vector<std::string>> choices = {
        { dir.File("ab.dbf"), other.File("elsewhere.dbf"), dir.File("missing.dbf") },
        { dir.File("ab.dbf"), dir.File("groups.dbf") },
    };
    dialog.SetFileChooser([&](QWidget*) {
        auto chosen = choices.front();
        choices.erase(choices.begin());
        return chosen;
    });
    Click(dialog, "IDC_SCHEMA_ADD");
    Click(dialog, "IDC_SCHEMA_ADD");
    EXPECT_EQ(Rows(dialog),
        QStringList({ QStringLiteral("AB|"), QStringLiteral("GROUPS|"),
            QStringLiteral("UNITS|Units of measure") }));

    SelectRow(dialog, 2);
    dialog_testing::Show(dialog);
    dialog_testing::Screenshot(dialog, "database_dialog");
    ScriptedPrompt prompt { platform::IDNO, platform::IDYES };
    Click(dialog, "IDC_SCHEMA_REMOVE");
    EXPECT_NE(database.FindTable("UNITS"), nullptr);
    Click(dialog, "IDC_SCHEMA_REMOVE");
    EXPECT_EQ(database.FindTable("UNITS"), nullptr);
    EXPECT_EQ(prompt.Texts(), std::vector<std::string>(2, "Remove table UNITS from the database?"));
    EXPECT_EQ(prompt.Asked(0).buttons, platform::PromptButtons::kYesNo);
    EXPECT_EQ(Rows(dialog), QStringList({ QStringLiteral("AB|"), QStringLiteral("GROUPS|") }));
}

TEST_F(DatabaseDialogTest, TestShowsTheFirstFaultOrNoErrorsInAPlainBox)
{
    schema::SchemaTable& goods = database.AddTable("GOODS");
    goods.relations = { { "GROUPS", "GROUPID" } };
    CDatabaseDialog dialog(database);
    ScriptedPrompt prompt { platform::IDOK, platform::IDOK, platform::IDOK, platform::IDOK };
    Click(dialog, "IDC_SCHEMA_TEST");
    database.AddTable("GROUPS");
    Click(dialog, "IDC_SCHEMA_TEST");
    database.FindTable("GROUPS")->keyFields = { "ID" };
    Click(dialog, "IDC_SCHEMA_TEST");
    database.FindTable("GROUPS")->nameField = "NAME";
    Click(dialog, "IDC_SCHEMA_TEST");
    EXPECT_EQ(prompt.Texts(),
        (std::vector<std::string> { "Table GOODS has references to an absent table GROUPS.",
            "Table GROUPS is referenced by GOODS, but has no key fields.",
            "Table GOODS references table GROUPS, which has no \"name\" field.",
            "No errors found." }));
    EXPECT_EQ(prompt.Asked(0).icon, platform::PromptIcon::kNone);
    EXPECT_EQ(prompt.Asked(0).buttons, platform::PromptButtons::kOk);
}

TEST_F(DatabaseDialogTest, PropertiesOpensTheTableDialogOfTheSelectedRow)
{
    database.AddTable("AB");
    CDatabaseDialog dialog(database);
    SelectRow(dialog, 0);
    QString shown;
    QTimer::singleShot(0, [&] {
        if (auto* table = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            shown = table->objectName() + QLatin1Char(' ') + table->windowTitle();
            Control<QTreeWidget>(*table, "IDC_SCHEMA_FIELD_LIST")
                ->setCurrentItem(
                    Control<QTreeWidget>(*table, "IDC_SCHEMA_FIELD_LIST")->topLevelItem(0));
            table->accept();
        }
    });
    Click(dialog, "IDC_SCHEMA_PROPERTIES");
    EXPECT_EQ(shown, QStringLiteral("IDD_SCHEMA_TABLE Table AB ()"));
    EXPECT_EQ(database.FindTable("AB")->fieldDescriptions.count("ID"), 1u);
}

} // namespace
