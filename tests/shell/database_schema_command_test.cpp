// File > Database schema end to end: the folder choice, the Database dialog over the chosen
// directory, the schema written when it closes; and a table window of the sample database
// showing titles and related names.

#include "grid/grid_impl.h"
#include "platform/file_system.h"
#include "platform/utf8.h"
#include "resources/resource_ids.h"
#include "shell/child_frame.h"
#include "shell/main_frame.h"
#include "shell/path_text.h"
#include "table/table.h"
#include "tablegrid/table_wnd_grid.h"
#include "tests/shell/shell_test_support.h"
#include "tests/support/scripted_prompt.h"
#include "tools/samples/sample_database.h"

#include <QApplication>
#include <QFileDialog>
#include <QPushButton>

namespace {

using shell_testing::OnModalDialog;
using testing_support::ScriptedPrompt;

class DatabaseSchemaCommandTest : public shell_testing::ShellTest
{
protected:
    // Chooses `directory` in the folder dialog, then does `act` in the Database dialog.
    void RunCommand(const std::string& directory, std::function<void(QDialog&)> act)
    {
        OnModalDialog("DatabaseDirectoryDialog", [=, this](QDialog& dialog) {
            auto& folders = static_cast<QFileDialog&>(dialog);
            startedIn = folders.directory().absolutePath().toStdString();
            caption = folders.windowTitle().toStdString();
            folders.setDirectory(shell::PathToQString(directory));
            OnModalDialog("IDD_DATABASE", act);
            static_cast<QDialog&>(folders).accept(); // with the file dialog's own checks
        });
        EXPECT_TRUE(Main().Router().Query(ID_FILE_DATABASE_SCHEMA).enabled);
        EXPECT_TRUE(Main().Router().Execute(ID_FILE_DATABASE_SCHEMA));
    }

    std::string startedIn;
    std::string caption;
};

TEST_F(DatabaseSchemaCommandTest, ADirectoryWithoutASchemaGetsAnEmptySchemaFile)
{
    Start();
    ASSERT_TRUE(shell::SetCurrentDirectory(programDir.Path()));
    std::string title;
    RunCommand(tables.Path(), [&](QDialog& dialog) {
        title = dialog.windowTitle().toStdString();
        dialog.findChild<QPushButton*>(QStringLiteral("IDOK"))->click();
    });
    EXPECT_EQ(caption, "Select the database directory");
    EXPECT_EQ(startedIn + "/", programDir.Path());
    EXPECT_EQ(title, "Database " + tables.Path());
    EXPECT_EQ(shell::CurrentDirectory() + "/", tables.Path());
    ASSERT_TRUE(platform::FileSystem::Default().Exists(tables.File("default.sch")));
    EXPECT_TRUE(testing_support::ReadAllBytes(tables.File("default.sch")).empty());
}

TEST_F(DatabaseSchemaCommandTest, ASchemaThatCannotBeWrittenSaysSo)
{
    Start();
    files.failCreateContaining = "default.sch";
    ScriptedPrompt prompt { platform::IDOK };
    RunCommand(tables.Path(), [](QDialog& dialog) { dialog.reject(); }); // the close box
    EXPECT_EQ(prompt.Texts(),
        std::vector<std::string> { "The database schema could not be written to the file "
            + tables.File("default.sch") + "." });
    EXPECT_FALSE(platform::FileSystem::Default().Exists(tables.File("default.sch")));
}

TEST_F(DatabaseSchemaCommandTest, TheSampleDatabaseTestsCleanAndItsGoodsShowGroupAndUnitNames)
{
    std::string error;
    ASSERT_TRUE(
        samples::WriteSampleDatabase(platform::FileSystem::Default(), tables.Path(), &error))
        << error;
    const auto before = testing_support::ReadAllBytes(tables.File("default.sch"));
    Start();
    ScriptedPrompt prompt { platform::IDOK };
    RunCommand(tables.Path(), [](QDialog& dialog) {
        dialog.findChild<QPushButton*>(QStringLiteral("IDC_SCHEMA_TEST"))->click();
        dialog.accept();
    });
    EXPECT_EQ(prompt.Texts(), std::vector<std::string> { "No errors found." });
    EXPECT_EQ(testing_support::ReadAllBytes(tables.File("default.sch")), before);

    ASSERT_NE(app->OpenTableFile(tables.File(samples::kGoods)), nullptr);
    QApplication::processEvents();
    tablegrid::CTableWndGrid& grid = *Main().ActiveTableWindow()->Grid();
    EXPECT_EQ(grid.GetTable()->Relations().size(), 2u);
    std::vector<std::string> titles;
    for (int c = 0; c < grid.GetColumnCount(); ++c)
        titles.push_back(grid.GetCurrentImpl()->Column(c).title.toStdString());
    EXPECT_EQ(titles,
        (std::vector<std::string> {
            "Код", "Артикул", "Наименование", "Группа", "Ед. изм.", "Цена" }));
    grid.EnsureRowsCached(0, 0);
    const auto& row = grid.FindCachedRow(0)->texts;
    EXPECT_EQ(platform::AnsiToUtf8(row[2]), "Болт эконом 4");
    EXPECT_EQ(platform::AnsiToUtf8(row[3]), "Болты");
    EXPECT_EQ(platform::AnsiToUtf8(row[4]), "шт.");
    grid.SetCurrentCell(3, 3);
    QApplication::processEvents();
    Screenshot("browsing_related_names");
}

} // namespace
