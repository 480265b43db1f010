// Table properties: the field list's line form, and what the dialog shows of a table and
// its file.

#include "platform/file_system.h"
#include "shell/dialogs/field_list_text.h"
#include "shell/dialogs/table_properties_dialog.h"
#include "table/table.h"
#include "table/table_database.h"
#include "tests/shell/dialogs/dialog_test_support.h"
#include "tests/support/table_builder.h"
#include "tests/support/temp_dir.h"

#include <QLabel>
#include <QListWidget>

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
    EXPECT_EQ(
        shell::FieldListLine(2, "SUM", 'N', 12, 2), "  2  SUM            Numeric       12     2");
    EXPECT_EQ(shell::FieldListLine(3, "ELEVENCHARS", 'M', 10, 0),
        "  3  ELEVENCHARS    Memo          10     0");
    EXPECT_EQ(shell::FieldListLine(104, "RATE", 'F', 10, 3),
        "104  RATE           ???           10     3");
}

TEST(TablePropertiesDialogTest, TheDialogShowsTheFileTheHeaderAndTheFields)
{
    testing_support::TempDir dir;
    testing_support::TableBuilder b;
    b.Field("NAME", 'C', 20).Field("SUM", 'N', 12, 2).Field("OK", 'L', 1);
    b.Record("Ivan").Record("Petr");
    b.Write(dir.File("t.dbf"));
    table::TableDatabase database(platform::FileSystem::Default());
    ASSERT_TRUE(database.SetDatabaseDirectory(dir.Path()));
    table::CTable table(&database);
    ASSERT_TRUE(table.Open(dir.File("t.dbf"), false));

    shell::TableFileStatus status;
    int error = -1;
    ASSERT_TRUE(CTablePropertiesDialog::ReadStatus(
        platform::FileSystem::Default(), dir.File("t.dbf"), &status, &error));
    EXPECT_EQ(status.size, testing_support::ReadAllBytes(dir.File("t.dbf")).size());
    EXPECT_TRUE(status.created.isValid());

    status.fullName = QStringLiteral("/data/t.dbf");
    status.size = 1234567;
    status.created = QDateTime(QDate(2024, 3, 5), QTime(9, 7, 1));
    CTablePropertiesDialog dialog(status, table);
    dialog_testing::Show(dialog);
    auto text = [&dialog](const char* name) { return Control<QLabel>(dialog, name)->text(); };
    EXPECT_EQ(text("IDC_PROPERTIES_FILE"), QStringLiteral("/data/t.dbf"));
    EXPECT_EQ(text("IDC_PROPERTIES_SIZE"), QStringLiteral("1234567 byte(s)"));
    EXPECT_EQ(text("IDC_PROPERTIES_CREATED"),
        QLocale::system().toString(status.created, QLocale::ShortFormat));
    EXPECT_EQ(QStringList({ text("IDC_PROPERTIES_RECORDS"), text("IDC_PROPERTIES_HEADER_SIZE"),
                  text("IDC_PROPERTIES_RECORD_SIZE"), text("IDC_PROPERTIES_FIELDS") }),
        QStringList({ QStringLiteral("2"), QStringLiteral("129"), QStringLiteral("34"),
            QStringLiteral("3") }));
    auto* list = Control<QListWidget>(dialog, "IDC_PROPERTIES_FIELD_LIST");
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(2)->text(), QStringLiteral("  3  OK             Logic          1     0"));
    // The heading and the list share one fixed-pitch font, so the columns line up.
    EXPECT_TRUE(QFontInfo(list->font()).fixedPitch());
    EXPECT_EQ(list->font(), Control<QLabel>(dialog, "IDC_PROPERTIES_FIELD_HEADING")->font());
    dialog_testing::Screenshot(dialog, "table_properties_dialog");
}

} // namespace
