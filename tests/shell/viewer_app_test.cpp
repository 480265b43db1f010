#include "shell/viewer_app.h"

#include "platform/file_system.h"
#include "platform/prompt.h"
#include "platform/resource_source.h"
#include "platform/utf8.h"
#include "resources/resource_ids.h"
#include "shell/child_frame.h"
#include "shell/file_open_command.h"
#include "shell/main_frame.h"
#include "shell/path_text.h"
#include "table/table.h"
#include "tablegrid/table_wnd_grid.h"
#include "tests/shell/shell_test_support.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/table_builder.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using shell::CChildFrame;
using shell_testing::ShellTest;
using testing_support::ReadAllBytes;
using testing_support::ScriptedPrompt;

// Runs with `directory` as the current directory.
class CurrentDirectory
{
public:
    explicit CurrentDirectory(const std::string& directory)
        : m_previous(shell::CurrentDirectory())
    {
        EXPECT_TRUE(shell::SetCurrentDirectory(directory));
    }
    ~CurrentDirectory() { (void)shell::SetCurrentDirectory(m_previous); }

private:
    std::string m_previous;
};

std::vector<std::string> OpenPaths(const shell::CMainFrame& main)
{
    std::vector<std::string> paths;
    for (const CChildFrame* window : main.TableWindows())
        paths.push_back(window->TablePath());
    return paths;
}

// Types `name` into the next open dialog and takes it when it names `expected` (cancels it
// otherwise); the dialog's directory goes to `startedIn`.
void AnswerOpenDialog(const QString& name, const std::string& expected, QString* startedIn)
{
    QTimer::singleShot(0, [=] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        *startedIn = dialog->directory().absolutePath();
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name);
        if (dialog->selectedFiles() == QStringList { shell::PathToQString(expected) })
            static_cast<QDialog*>(dialog)->accept(); // with the file dialog's own checks
        else
            dialog->reject();
    });
}

class ViewerAppTest : public ShellTest
{ };

TEST_F(ViewerAppTest, WithoutASettingsFileStartsWithDefaultsAndExitWritesEveryKey)
{
    ScriptedPrompt prompt;
    Start();
    ASSERT_TRUE(app->CurrentFontRecord());
    EXPECT_EQ(app->CurrentFontRecord()->faceName, "Courier New");
    EXPECT_EQ(app->CurrentFontRecord()->height, -13);
    EXPECT_EQ(app->CurrentFontRecord()->weight, 400);
    EXPECT_EQ(app->CurrentFontRecord()->charSet, 204);
    EXPECT_EQ(app->LanguageName(), "English");
    EXPECT_EQ(app->DateFormat(), table::DateFormat::kDdMmYyyy);
    EXPECT_TRUE(Main().isMaximized());
    EXPECT_FALSE(platform::FileSystem::Default().Exists(programDir.File("Lumetta.ini")));

    app->AddToRecentFileList("/data/a.dbf");
    app->ExitInstance();
    EXPECT_EQ(SettingsText(),
        "[Font]\r\nFaceName=Courier New\r\nHight=-13\r\nWidth=0\r\nWeight=400\r\n"
        "Italic=0\r\nCharSet=204\r\n\r\n[Interface]\r\nLanguage=English\r\n"
        "Date=DD.MM.YYYY\r\n\r\n[Recent File List]\r\nFile1=/data/a.dbf\r\n");
}

TEST_F(ViewerAppTest, SavedSettingsAreReadAndAppliedToTablesOfTheCommandLine)
{
    ScriptedPrompt prompt;
    WriteSettings("[Font]\r\nHight=-20\r\nWeight=700\r\n[Interface]\r\nDate=MM/DD/YY\r\n"
                  "Language=Deutsch\r\n");
    Start({ WriteTable("a.dbf") });
    EXPECT_EQ(app->DateFormat(), table::DateFormat::kMmDdYy);
    // A language the program does not have keeps its name and shows the built-in texts.
    EXPECT_EQ(app->LanguageName(), "Deutsch");
    ASSERT_EQ(Main().TableWindows().size(), 1u);
    const auto* grid = Main().TableWindows()[0]->Grid();
    EXPECT_EQ(grid->GetDateFormatIndex(), 1);
    EXPECT_EQ(grid->GetGridFont().pixelSize(), 20);
    EXPECT_TRUE(grid->GetGridFont().bold());

    WriteSettings("[Interface]\r\nDate=dd.mm.yyyy\r\n");
    app.reset();
    Start();
    EXPECT_EQ(app->DateFormat(), table::DateFormat::kDdMmYyyy);
}

TEST_F(ViewerAppTest, StartWritesTheRussianLibraryAndTheSavedLanguageSwitchesEverything)
{
    ScriptedPrompt prompt;
    const std::string russian = platform::Utf8ToAnsi("Русский");
    WriteSettings("[Interface]\r\nLanguage=" + russian + "\r\n");
    Start({ WriteTable("a.dbf") });
    const std::map<std::string, std::string> expected { { "English", "" },
        { russian, programDir.File("lumtrus.dll") } };
    EXPECT_EQ(app->Languages(), expected);
    EXPECT_EQ(app->LanguageName(), russian);
    EXPECT_EQ(platform::LoadString(IDS_HELP_FILE), "lumtrus.hlp");
    ASSERT_EQ(Main().TableWindows().size(), 1u);
    EXPECT_TRUE(Main().TableWindows()[0]->windowTitle().startsWith(QString::fromUtf8("Таблица ")));
    EXPECT_EQ(Main().menuBar()->actions().first()->text(), QString::fromUtf8("&Файл"));
    EXPECT_EQ(Main().findChild<QAction*>(QStringLiteral("Button%1").arg(ID_TABLE_FILTER))->statusTip(),
              QString::fromUtf8("Показывать только записи, удовлетворяющие условиям"));
    Screenshot("main_window_russian");

    // The settings file keeps the built-in title's name under any language.
    app->ExitInstance();
    EXPECT_NE(SettingsText().find("Language=" + russian + "\r\n"), std::string::npos);
}

// The Language command: the dialog lists both languages with the current one and its date
// form; a new language switches the windows at once; the same language with another date
// form only reformats dates; Cancel changes nothing.
TEST_F(ViewerAppTest, TheLanguageCommandSwitchesAtOnce)
{
    ScriptedPrompt prompt;
    Start({ WriteTable("a.dbf") });
    CChildFrame* window = Main().TableWindows().at(0);
    const QString russian = QString::fromUtf8("Русский");
    auto choose = [&](const QString& language, int dateFormat, bool ok) {
        shell_testing::OnModalDialog("IDD_SELECT_LANGUAGE", [=](QDialog& dialog) {
            auto* list = dialog.findChild<QListWidget*>(QStringLiteral("IDC_LANGUAGE_LIST"));
            ASSERT_EQ(list->count(), 2);
            EXPECT_EQ(list->item(0)->text(), QStringLiteral("English")); // sorted
            list->setCurrentItem(list->findItems(language, Qt::MatchExactly).at(0));
            dialog.findChild<QComboBox*>(QStringLiteral("IDC_DATE_FORMAT"))->setCurrentIndex(dateFormat);
            dialog.findChild<QAbstractButton*>(ok ? QStringLiteral("IDOK") : QStringLiteral("IDCANCEL"))->click();
        });
        EXPECT_TRUE(Main().Router().Execute(ID_VIEW_LANGUAGE));
    };
    choose(russian, 4, true);
    EXPECT_EQ(app->LanguageName(), platform::Utf8ToAnsi("Русский"));
    EXPECT_TRUE(window->windowTitle().startsWith(QString::fromUtf8("Таблица ")));
    EXPECT_EQ(Main().menuBar()->actions().first()->text(), QString::fromUtf8("&Файл"));
    EXPECT_EQ(window->Grid()->GetDateFormatIndex(), 4);
    EXPECT_EQ(Main().findChild<QAction*>(QStringLiteral("Button%1").arg(ID_TABLE_FILTER))->toolTip(),
              QString::fromUtf8("Фильтр"));
    auto* fontLabel = Main().findChild<QLabel*>(QStringLiteral("IDC_FONT_FACE_LABEL"));
    ASSERT_NE(fontLabel, nullptr);
    EXPECT_NE(fontLabel->text(), QStringLiteral("Font:"));

    const QString title = window->windowTitle();
    choose(russian, 0, true);
    EXPECT_EQ(window->Grid()->GetDateFormatIndex(), 0);
    EXPECT_EQ(app->DateFormat(), table::DateFormat::kYyyyMmDd);
    EXPECT_EQ(window->windowTitle(), title);

    choose(QStringLiteral("English"), 3, false);
    EXPECT_EQ(app->LanguageName(), platform::Utf8ToAnsi("Русский"));
    EXPECT_EQ(app->DateFormat(), table::DateFormat::kYyyyMmDd);
    choose(QStringLiteral("English"), 0, true);
    EXPECT_TRUE(window->windowTitle().startsWith(QStringLiteral("Table ")));
    EXPECT_EQ(Main().menuBar()->actions().first()->text(), QStringLiteral("&File"));
}

// The help is the page of the current language's help name, beside the program; the Help
// commands are enabled only while that page is there.
TEST_F(ViewerAppTest, HelpIsThePageOfTheCurrentLanguage)
{
    ScriptedPrompt prompt;
    testing_support::WriteAllBytes(programDir.File("lumteng.html"), { '<' });
    Start();
    EXPECT_EQ(app->HelpFilePath(), programDir.File("lumteng.html"));
    EXPECT_TRUE(Main().Router().Query(ID_HELP).enabled);
    shell_testing::OnModalDialog("IDD_SELECT_LANGUAGE", [](QDialog& dialog) {
        auto* list = dialog.findChild<QListWidget*>(QStringLiteral("IDC_LANGUAGE_LIST"));
        list->setCurrentItem(list->findItems(QString::fromUtf8("Русский"), Qt::MatchExactly).at(0));
        dialog.findChild<QAbstractButton*>(QStringLiteral("IDOK"))->click();
    });
    EXPECT_TRUE(Main().Router().Execute(ID_VIEW_LANGUAGE));
    EXPECT_EQ(app->HelpFilePath(), programDir.File("lumtrus.html"));
    EXPECT_FALSE(Main().Router().Query(ID_HELP_FINDER).enabled); // no Russian page here
}

// Under Russian the dialogs come up in Russian: screenshots of the Filter, Go To and Save As
// Text dialogs and of a table window's context menu for a Russian reader to look at.
TEST_F(ViewerAppTest, DialogsUnderRussian)
{
    ScriptedPrompt prompt;
    WriteSettings("[Interface]\r\nLanguage=" + platform::Utf8ToAnsi("Русский") + "\r\n");
    Start({ WriteTable("a.dbf") });
    CChildFrame* window = Main().TableWindows().at(0);
    const struct
    {
        const char* dialog;
        int command;
        const char* shot;
    } dialogs[] = { { "IDD_FILTER", ID_TABLE_FILTER, "russian_filter_dialog" },
        { "IDD_GOTO", ID_EDIT_GOTO, "russian_goto_dialog" } };
    for (const auto& d : dialogs) {
        shell_testing::OnModalDialog(d.dialog, [this, d](QDialog& dialog) {
            EXPECT_NE(dialog.windowTitle(), QString()) << d.dialog;
            EXPECT_FALSE(dialog.windowTitle().contains(QStringLiteral("Filter"))
                || dialog.windowTitle().contains(QStringLiteral("Go to")));
            Screenshot(d.shot, &dialog);
            dialog.reject();
        });
        EXPECT_TRUE(Main().Router().Execute(d.command));
    }
    shell_testing::OnModalDialog("IDD_SAVE_TEXT", [this](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Сохранить как текст"));
        Screenshot("russian_save_text_dialog", &dialog);
        dialog.reject();
    });
    EXPECT_FALSE(window->SaveAsPath(tables.File("a.txt")));
}

TEST_F(ViewerAppTest, ADamagedCopyIsNotOfferedAndTheBuiltInTextsStay)
{
    ScriptedPrompt prompt;
    WriteSettings("[Interface]\r\nLanguage=" + platform::Utf8ToAnsi("Русский") + "\r\n");
    files.failOpenContaining = "lumtrus.dll.new~"; // the copy cannot be written out
    testing_support::WriteAllBytes(programDir.File("lumtrus.dll"), { 'L', 'U', 'M' });
    Start();
    EXPECT_EQ(app->Languages().size(), 1u) << "a damaged copy is not offered";
    EXPECT_EQ(platform::LoadString(IDS_TABLE_TITLE), "Table %s");
    EXPECT_EQ(Main().menuBar()->actions().first()->text(), QStringLiteral("&File"));
}

TEST_F(ViewerAppTest, CommandLineOpensFilesInOrderResolvingRelativeNames)
{
    ScriptedPrompt prompt { platform::IDOK };
    const std::string a = WriteTable("a.dbf");
    const std::string b = WriteTable("b.dbf");
    CurrentDirectory here(tables.Path());
    // The classifier switch and its directory are not tables to open.
    Start({ "b.dbf", "-k", "/no/such/classifiers", a });
    EXPECT_EQ(prompt.Texts(), std::vector<std::string> { "Cannot open table /no/such/classifiers/" });
    EXPECT_EQ(OpenPaths(Main()), (std::vector<std::string> { b, a }));
    EXPECT_EQ(app->RecentFiles().Entries(), (std::vector<std::string> { a, b }));
    EXPECT_TRUE(app->PendingPath().empty());
    // One database for the directory, shared by both windows.
    EXPECT_EQ(app->Databases().Size(), 1u);
    EXPECT_EQ(Main().TableWindows()[0]->Grid()->GetTable()->Database(),
        Main().TableWindows()[1]->Grid()->GetTable()->Database());
}

TEST_F(ViewerAppTest, MissingFileIsReportedWithItsAbsoluteName)
{
    ScriptedPrompt prompt { platform::IDOK };
    CurrentDirectory here(tables.Path());
    Start({ "none.dbf" });
    EXPECT_TRUE(Main().TableWindows().empty());
    EXPECT_EQ(prompt.Asked(0).text, "File " + tables.File("none.dbf") + " not found");
    EXPECT_EQ(prompt.Asked(0).icon, platform::PromptIcon::kStop);
}

TEST_F(ViewerAppTest, TableTheEngineRefusesLeavesAnEmptyWindowWithoutItsDirectory)
{
    ScriptedPrompt prompt { platform::IDOK, platform::IDOK };
    const std::string path = tables.File("text.dbf");
    testing_support::WriteAllBytes(path, { 'n', 'o', 't', ' ', 'a', ' ', 't', 'a', 'b', 'l', 'e' });
    Start({ path });
    EXPECT_EQ(prompt.Texts(),
        (std::vector<std::string> {
            "The file does not appear to be a dBase table or its header is corrupted.",
            "Error occured while opening table " + path }));
    ASSERT_EQ(Main().TableWindows().size(), 1u);
    CChildFrame* window = Main().TableWindows()[0];
    EXPECT_TRUE(window->TableDirectory().empty());
    EXPECT_EQ(window->Grid()->GetRowCount(), 0);
    EXPECT_FALSE(Main().Router().Query(ID_FILE_OPEN_IN_DIRECTORY).enabled);
}

TEST_F(ViewerAppTest, OpeningWritesNothingToTheTableOrItsMemo)
{
    ScriptedPrompt prompt;
    testing_support::TableBuilder builder;
    builder.Version(0x83).Field("NAME", 'C', 8).Field("NOTE", 'M', 10).Record("Ivan             1");
    const std::string path = tables.File("memo.dbf");
    builder.Write(path);
    std::vector<std::uint8_t> memo(1024, 0);
    memo[0] = 2; // next free block
    for (int i = 0; i < 5; ++i)
        memo[512 + i] = static_cast<std::uint8_t>("notes"[i]);
    memo[517] = 0x1A;
    memo[518] = 0x1A;
    testing_support::WriteAllBytes(tables.File("memo.dbt"), memo);
    const auto tableBefore = ReadAllBytes(path);

    Start({ path, path });
    ASSERT_EQ(Main().TableWindows().size(), 2u);
    for (CChildFrame* window : Main().TableWindows()) {
        window->Grid()->resize(600, 300);
        (void)window->Grid()->grab();
    }
    app->ExitInstance();
    app.reset();
    EXPECT_EQ(ReadAllBytes(path), tableBefore);
    EXPECT_EQ(ReadAllBytes(tables.File("memo.dbt")), memo);
}

TEST_F(ViewerAppTest, RecentEntriesThatFailLeaveTheListAndDirectoriesStay)
{
    const std::string kept = WriteTable("kept.dbf");
    WriteSettings("[Recent File List]\r\nFile1=" + tables.File("gone.dbf") + "\r\nFile2=" + kept
        + "\r\nFile3=" + tables.Path() + "\r\nFile4=/no/such/dir/\r\n[RUR]\r\nShowHelp=0\r\n");
    ScriptedPrompt prompt { platform::IDOK, platform::IDOK, platform::IDOK, platform::IDOK };
    Start();
    app->OpenRecentFile(0); // gone.dbf: "not found", and it leaves the list
    EXPECT_EQ(prompt.Asked(0).text, "File " + tables.File("gone.dbf") + " not found");
    // The classifier directory that exists stays, its classifiers opened (here it has none,
    // and says so), and goes to the top of the list; the one that does not exist goes.
    app->OpenRecentFile(1);
    EXPECT_EQ(prompt.Asked(3).text, "The directory " + tables.Path() + "\nhas no table Street.dbf");
    app->OpenRecentFile(2);
    EXPECT_EQ(app->RecentFiles().Entries(), (std::vector<std::string> { tables.Path(), kept }));
    app->OpenRecentFile(1);
    EXPECT_EQ(OpenPaths(Main()), std::vector<std::string> { kept });
}

TEST_F(ViewerAppTest, ManyChosenFilesAskFirstAndMissingOnesAreSkipped)
{
    std::vector<std::string> chosen;
    for (int i = 0; i < 5; ++i)
        chosen.push_back(WriteTable("t" + std::to_string(i) + ".dbf"));
    chosen.push_back(tables.File("missing.dbf"));
    std::vector<std::string> opened;
    const auto open = [&opened](const std::string& path) { opened.push_back(path); };
    platform::FileSystem& fs = platform::FileSystem::Default();
    {
        ScriptedPrompt prompt;
        EXPECT_EQ(shell::OpenChosenFiles(fs, chosen, open), 5);
    }
    chosen.push_back(WriteTable("t5.dbf"));
    opened.clear();
    {
        ScriptedPrompt prompt { platform::IDNO, platform::IDYES };
        EXPECT_EQ(shell::OpenChosenFiles(fs, chosen, open), 0);
        EXPECT_EQ(shell::OpenChosenFiles(fs, chosen, open), 6);
        EXPECT_EQ(prompt.Asked(0).text, "Open 6 files?");
        EXPECT_EQ(prompt.Asked(0).buttons, platform::PromptButtons::kYesNo);
    }
    EXPECT_EQ(opened.size(), 6u);
    EXPECT_EQ(opened.back(), tables.File("t5.dbf"));
}

TEST_F(ViewerAppTest, OpenDialogAddsTheDefaultExtensionAndStartsWhereTablesWereLastOpened)
{
    ScriptedPrompt prompt;
    const std::string goods = WriteTable("goods.dbf");
    CurrentDirectory here(programDir.Path());
    Start();
    QString startedIn;
    AnswerOpenDialog(shell::PathToQString(tables.File("goods")), goods, &startedIn);
    EXPECT_TRUE(Main().Router().Execute(ID_FILE_OPEN));
    EXPECT_EQ(startedIn.toStdString() + "/", programDir.Path());
    EXPECT_EQ(OpenPaths(Main()), std::vector<std::string> { goods });

    // The next Open starts where the table came from, not where the program started.
    AnswerOpenDialog(QStringLiteral("goods"), goods, &startedIn);
    EXPECT_TRUE(Main().Router().Execute(ID_FILE_OPEN));
    EXPECT_EQ(startedIn.toStdString() + "/", tables.Path());
    EXPECT_EQ(OpenPaths(Main()).size(), 2u);
}

TEST(FileDialogFilterTest, ResourceFiltersBecomeTheWidgetsForm)
{
    EXPECT_EQ(shell::FileDialogFilter("DBF files (*.dbf)|*.dbf|All files |*.*||"),
        QStringLiteral("DBF files (*.dbf);;All files (*)"));
    EXPECT_EQ(shell::FileDialogFilter("Text|*.txt;*.csv||"), QStringLiteral("Text (*.txt *.csv)"));
}

} // namespace
