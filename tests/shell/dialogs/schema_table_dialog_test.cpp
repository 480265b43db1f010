// The Table dialog of the schema editor driven through its controls: what a field loads,
// what moving to another field and closing store, the "name" field question, and a table
// file that cannot be read.

#include "platform/file_system.h"
#include "schema/schema_file.h"
#include "shell/dialogs/schema_table_dialog.h"
#include "table/table_database.h"
#include "tests/shell/dialogs/dialog_test_support.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/table_builder.h"
#include "tests/support/temp_dir.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

using dialog_testing::Control;
using shell::CSchemaTableDialog;
using testing_support::ScriptedPrompt;

class SchemaTableDialogTest : public ::testing::Test
{
protected:
    SchemaTableDialogTest()
    {
        testing_support::TableBuilder goods;
        goods.Field("ID", 'C', 3)
            .Field("DESCR", 'C', 20)
            .Field("GROUPID", 'C', 2)
            .Field("CODE", 'C', 5)
            .Field("PRICE", 'N', 9, 2);
        goods.Write(dir.File("Goods.dbf")); // found without regard to case
        EXPECT_TRUE(database.SetDatabaseDirectory(dir.Path()));
        database.AddTable("GOODS").description = "Goods list";
        database.AddTable("UNITS");
        database.AddTable("GROUPS");
    }

    schema::SchemaTable& Goods() { return *database.FindTable("GOODS"); }

    void Select(CSchemaTableDialog& dialog, int row)
    {
        auto* list = Control<QTreeWidget>(dialog, "IDC_SCHEMA_FIELD_LIST");
        list->setCurrentItem(list->topLevelItem(row));
    }
    static QCheckBox* Box(CSchemaTableDialog& dialog, const char* name)
    {
        return Control<QCheckBox>(dialog, name);
    }
    static QComboBox* Related(CSchemaTableDialog& dialog)
    {
        return Control<QComboBox>(dialog, "IDC_SCHEMA_RELATED_TABLE");
    }
    static void Close(CSchemaTableDialog& dialog) { Control<QPushButton>(dialog, "IDOK")->click(); }

    testing_support::TempDir dir;
    table::TableDatabase database { platform::FileSystem::Default() };
};

TEST_F(SchemaTableDialogTest, FieldsAreListedFromTheHeaderAndEditsAreStoredOnMovingAndClosing)
{
    CSchemaTableDialog dialog(database, "GOODS");
    dialog_testing::Show(dialog);
    ASSERT_TRUE(dialog.TableRead());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Table GOODS (Goods list)"));
    auto* list = Control<QTreeWidget>(dialog, "IDC_SCHEMA_FIELD_LIST");
    ASSERT_EQ(list->topLevelItemCount(), 5);
    const QTreeWidgetItem* price = list->topLevelItem(4);
    EXPECT_EQ(QStringList({ price->text(0), price->text(1), price->text(2), price->text(3) }),
        QStringList({ QStringLiteral("PRICE"), QStringLiteral("Numeric"), QStringLiteral("9"),
            QStringLiteral("2") }));
    QStringList tables;
    for (int i = 0; i < Related(dialog)->count(); ++i)
        tables << Related(dialog)->itemText(i);
    EXPECT_EQ(tables,
        QStringList(
            { QStringLiteral("GOODS"), QStringLiteral("GROUPS"), QStringLiteral("UNITS") }));
    EXPECT_FALSE(Control<QWidget>(dialog, "IDC_SCHEMA_FIELD_GROUP")->isEnabled());

    // Key on ID, then on CODE: the key keeps that order.
    Select(dialog, 0);
    Box(dialog, "IDC_SCHEMA_KEY_FIELD")->click();
    Select(dialog, 3);
    Box(dialog, "IDC_SCHEMA_KEY_FIELD")->click();
    // The related-table list follows the Relation box.
    Select(dialog, 2);
    EXPECT_FALSE(Related(dialog)->isEnabled());
    Box(dialog, "IDC_SCHEMA_RELATION")->click();
    EXPECT_TRUE(Related(dialog)->isEnabled());
    Related(dialog)->setCurrentIndex(Related(dialog)->findText(QStringLiteral("GROUPS")));
    Control<QLineEdit>(dialog, "IDC_SCHEMA_FIELD_DESCRIPTION")->setText(QStringLiteral("Group"));
    Select(dialog, 1);
    Box(dialog, "IDC_SCHEMA_NAME_FIELD")->click();
    EXPECT_EQ(Goods().keyFields, (std::vector<std::string> { "ID", "CODE" }));
    EXPECT_EQ(Goods().relations, (std::vector<schema::SchemaRelation> { { "GROUPS", "GROUPID" } }));
    EXPECT_EQ(Goods().fieldDescriptions.at("GROUPID"), "Group");
    EXPECT_EQ(Goods().nameField, ""); // stored when leaving the field or closing

    // Back on GROUPID everything loads as stored; a field never selected has no entry.
    Select(dialog, 2);
    EXPECT_EQ(Control<QLineEdit>(dialog, "IDC_SCHEMA_FIELD_DESCRIPTION")->text(),
        QStringLiteral("Group"));
    EXPECT_TRUE(Box(dialog, "IDC_SCHEMA_RELATION")->isChecked());
    EXPECT_EQ(Related(dialog)->currentText(), QStringLiteral("GROUPS"));
    EXPECT_FALSE(Box(dialog, "IDC_SCHEMA_KEY_FIELD")->isChecked());
    EXPECT_EQ(Goods().nameField, "DESCR");
    Select(dialog, 3);
    EXPECT_TRUE(Box(dialog, "IDC_SCHEMA_KEY_FIELD")->isChecked());
    EXPECT_EQ(Goods().fieldDescriptions.count("PRICE"), 0u);

    Control<QLineEdit>(dialog, "IDC_SCHEMA_TABLE_DESCRIPTION")->setText(QStringLiteral("Goods"));
    Box(dialog, "IDC_SCHEMA_KEY_FIELD")->click(); // CODE leaves the key on closing
    dialog_testing::Screenshot(dialog, "schema_table_dialog");
    Close(dialog);
    EXPECT_EQ(Goods().description, "Goods");
    EXPECT_EQ(Goods().keyFields, (std::vector<std::string> { "ID" }));
    const std::string text = schema::SchemaFileText(database.Tables());
    EXPECT_NE(text.find("\r\nKey = ID\r\nName = DESCR\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\r\nRelation{GROUPS} = GROUPID\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\r\nDescr{CODE} = \r\n"), std::string::npos) << text; // emptied, kept
}

TEST_F(SchemaTableDialogTest, ANewRelatedTableIsKeptAndAnUnticedRelationRemovedOnMoving)
{
    Goods().relations = { { "GROUPS", "GROUPID" } };
    CSchemaTableDialog dialog(database, "GOODS");
    Select(dialog, 2);
    EXPECT_EQ(Related(dialog)->currentText(), QStringLiteral("GROUPS"));
    Related(dialog)->setCurrentIndex(Related(dialog)->findText(QStringLiteral("UNITS")));
    Select(dialog, 0);
    EXPECT_EQ(Related(dialog)->currentIndex(), -1);
    Select(dialog, 2);
    EXPECT_EQ(Related(dialog)->currentText(), QStringLiteral("UNITS"));
    EXPECT_EQ(Goods().relations, (std::vector<schema::SchemaRelation> { { "UNITS", "GROUPID" } }));

    Box(dialog, "IDC_SCHEMA_RELATION")->click();
    EXPECT_FALSE(Related(dialog)->isEnabled());
    EXPECT_EQ(Related(dialog)->currentIndex(), -1);
    Select(dialog, 0);
    EXPECT_TRUE(Goods().relations.empty());
    // Ticked without a table chosen, nothing is related.
    Box(dialog, "IDC_SCHEMA_RELATION")->click();
    Select(dialog, 1);
    EXPECT_TRUE(Goods().relations.empty());
}

TEST_F(SchemaTableDialogTest, AnotherNameFieldIsTakenOnlyWhenTheUserAgrees)
{
    Goods().nameField = "DESCR";
    CSchemaTableDialog dialog(database, "GOODS");
    Select(dialog, 1);
    EXPECT_TRUE(Box(dialog, "IDC_SCHEMA_NAME_FIELD")->isChecked());
    Select(dialog, 3);
    {
        ScriptedPrompt prompt { platform::IDNO, platform::IDYES };
        Box(dialog, "IDC_SCHEMA_NAME_FIELD")->click();
        EXPECT_FALSE(Box(dialog, "IDC_SCHEMA_NAME_FIELD")->isChecked());
        EXPECT_EQ(Goods().nameField, "DESCR");
        Box(dialog, "IDC_SCHEMA_NAME_FIELD")->click();
        EXPECT_EQ(Goods().nameField, "CODE"); // at once
        EXPECT_EQ(
            prompt.Asked(0).text, "Change the \"name\" field of the table from\nDESCR\nto\nCODE?");
        EXPECT_EQ(prompt.Asked(0).icon, platform::PromptIcon::kQuestion);
        EXPECT_EQ(prompt.Questions().size(), 2u);
    }
    // Unticking the name field clears it at once.
    Box(dialog, "IDC_SCHEMA_NAME_FIELD")->click();
    EXPECT_EQ(Goods().nameField, "");
    Close(dialog);
    EXPECT_EQ(Goods().nameField, "");
}

TEST_F(SchemaTableDialogTest, ATableFileThatCannotBeReadGivesAnEmptyDialogThatKeepsTheSchema)
{
    database.AddTable("GONE").description = "Kept";
    ScriptedPrompt prompt { platform::IDOK };
    CSchemaTableDialog dialog(database, "GONE");
    EXPECT_FALSE(dialog.TableRead());
    EXPECT_EQ(
        prompt.Texts(), std::vector<std::string> { "Error occured while opening table GONE" });
    EXPECT_EQ(prompt.Asked(0).icon, platform::PromptIcon::kStop);
    EXPECT_EQ(Control<QTreeWidget>(dialog, "IDC_SCHEMA_FIELD_LIST")->topLevelItemCount(), 0);
    EXPECT_EQ(Related(dialog)->count(), 0);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Table"));
    Close(dialog);
    EXPECT_EQ(database.FindTable("GONE")->description, "Kept");
}

} // namespace
