// Table properties: the field list's line form, what the dialog shows of a table and its
// file, and a file that cannot be opened.

#include "platform/file_system.h"
#include "shell/dialogs/field_list_text.h"
#include "shell/dialogs/table_properties_dialog.h"
#include "table/table.h"
#include "table/table_database.h"
#include "tests/shell/dialogs/dialog_test_support.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/table_builder.h"
#include "tests/support/temp_dir.h"

#include <QLabel>
#include <QListWidget>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using dialog_testing::Control;
using shell::CTablePropertiesDialog;

TEST(TablePropertiesDialogTest, FieldLinesPadNamesAndTypesIntoTheirColumns)
{
    // Number in three places, name in eleven, type in nine, length and decimals in three.
    EXPECT_EQ(shell::FieldListLine(1, "NAME", 'C', 20, 0),
        std::string("  1") + "  " + "NAME       " + "    " + "Character" + "    " + " 20" + "   "
            + "  0");
    EXPECT_EQ(shell::FieldListLine(2, "SUM", 'N', 12, 2),
        std::string("  2") + "  " + "SUM        " + "    " + "Numeric  " + "    " + " 12" + "   "
            + "  2");
    EXPECT_EQ(shell::FieldListLine(3, "ELEVENCHARS", 'M', 10, 0),
        "  3  ELEVENCHARS    Memo          10     0");
    EXPECT_EQ(shell::FieldListLine(104, "RATE", 'F', 10, 3),
        "104  RATE           ???           10     3");
    EXPECT_EQ(shell::FieldTypeName('L'), "Logic");
    EXPECT_EQ(shell::FieldTypeName('D'), "Date");
}

class TablePropertiesDialogFileTest : public ::testing::Test
{
protected:
    TablePropertiesDialogFileTest()
    {
        testing_support::TableBuilder b;
        b.Field("NAME", 'C', 20).Field("SUM", 'N', 12, 2).Field("ELEVENCHARS", 'L', 1);
        b.Record("Ivan").Record("Petr");
        b.Write(dir.File("t.dbf"));
        EXPECT_TRUE(database.SetDatabaseDirectory(dir.Path()));
        EXPECT_TRUE(table.Open(dir.File("t.dbf"), false));
    }

    testing_support::TempDir dir;
    testing_support::FaultyFileSystem files;
    table::TableDatabase database { files };
    table::CTable table { &database };
};

TEST_F(TablePropertiesDialogFileTest, TheDialogShowsTheFileTheHeaderAndTheFields)
{
    shell::TableFileStatus status;
    int error = -1;
    ASSERT_TRUE(CTablePropertiesDialog::ReadStatus(files, dir.File("t.dbf"), &status, &error));
    EXPECT_EQ(status.size, testing_support::ReadAllBytes(dir.File("t.dbf")).size());
    EXPECT_EQ(status.fullName, QString::fromUtf8(dir.File("t.dbf").c_str()));
    EXPECT_TRUE(status.modified.isValid());
    EXPECT_TRUE(status.created.isValid());

    status.size = 1234567;
    status.created = QDateTime(QDate(2024, 3, 5), QTime(9, 7, 1));
    CTablePropertiesDialog dialog(status, table);
    dialog_testing::Show(dialog);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Table properties"));
    auto text = [&dialog](const char* name) { return Control<QLabel>(dialog, name)->text(); };
    EXPECT_EQ(text("IDC_PROPERTIES_FILE"), status.fullName);
    EXPECT_EQ(text("IDC_PROPERTIES_SIZE"), QStringLiteral("1234567 byte(s)"));
    EXPECT_EQ(text("IDC_PROPERTIES_CREATED"),
        QLocale::system().toString(status.created, QLocale::ShortFormat));
    EXPECT_EQ(text("IDC_PROPERTIES_RECORDS"), QStringLiteral("2"));
    EXPECT_EQ(text("IDC_PROPERTIES_HEADER_SIZE"), QStringLiteral("129"));
    EXPECT_EQ(text("IDC_PROPERTIES_RECORD_SIZE"), QStringLiteral("34"));
    EXPECT_EQ(text("IDC_PROPERTIES_FIELDS"), QStringLiteral("3"));
    EXPECT_EQ(text("IDC_PROPERTIES_FIELD_HEADING"),
        QStringLiteral("  #    Name         Type         Len  Dec"));
    auto* list = Control<QListWidget>(dialog, "IDC_PROPERTIES_FIELD_LIST");
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(2)->text(), QStringLiteral("  3  ELEVENCHARS    Logic          1     0"));
    // The heading and the list share one fixed-pitch font, so the columns line up.
    EXPECT_TRUE(QFontInfo(list->font()).fixedPitch());
    EXPECT_EQ(list->font(), Control<QLabel>(dialog, "IDC_PROPERTIES_FIELD_HEADING")->font());
    EXPECT_EQ(list->font().pointSize(), 9);
    dialog_testing::Screenshot(dialog, "table_properties_dialog");
}

TEST_F(TablePropertiesDialogFileTest, AFileThatCannotBeOpenedIsReportedInsteadOfTheDialog)
{
    testing_support::ScriptedPrompt prompt { platform::IDOK };
    files.failOpenContaining = "t.dbf";
    shell::TableFileStatus status;
    int error = 0;
    EXPECT_FALSE(CTablePropertiesDialog::ReadStatus(files, dir.File("t.dbf"), &status, &error));
    EXPECT_EQ(error, EACCES);

    // A dialog opened by mistake is closed at once, so the test fails rather than waits.
    QTimer::singleShot(0, [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    CTablePropertiesDialog::Show(nullptr, files, dir.File("t.dbf"), table);
    ASSERT_EQ(prompt.Questions().size(), 1u);
    EXPECT_EQ(prompt.Asked(0).text, dir.File("t.dbf") + ": Permission denied");
    EXPECT_EQ(prompt.Asked(0).buttons, platform::PromptButtons::kOk);
}

} // namespace
