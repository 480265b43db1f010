// The address classifiers end to end: opening a classifier directory (the region table
// built the first time under its progress window, the three tables, the help and its
// setting, the recent list, the command line and the folder choice), and the region and
// settlement selections with their menu states and messages.

#include "shell/viewer_app.h"

#include "classifiers/classifier_tables.h"
#include "platform/prompt.h"
#include "platform/resource_source.h"
#include "platform/utf8.h"
#include "resources/resource_ids.h"
#include "shell/child_frame.h"
#include "shell/classifier_selection.h"
#include "shell/dialogs/region_progress_dialog.h"
#include "shell/main_frame.h"
#include "shell/path_text.h"
#include "tablegrid/table_wnd_grid.h"
#include "tests/shell/shell_test_support.h"
#include "tests/support/scripted_prompt.h"
#include "tests/support/table_builder.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using shell::CChildFrame;
using shell::ClassifierSelection;
using shell_testing::OnModalDialog;
using testing_support::ReadAllBytes;
using testing_support::ScriptedPrompt;
using testing_support::TableBuilder;

std::string Padded(const std::string& text, std::size_t width)
{
    return (text + std::string(width, ' ')).substr(0, width);
}

// Watches the progress window while the region table is built: the bar's value at every
// paint, and a picture of the window once it is half way.
class ProgressWatcher final : public QObject
{
public:
    ProgressWatcher() { qApp->installEventFilter(this); }
    ~ProgressWatcher() override { qApp->removeEventFilter(this); }

    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() != QEvent::Paint || m_grabbing
            || object->objectName() != QStringLiteral("IDC_REGION_PROGRESS"))
            return false;
        auto* bar = static_cast<QProgressBar*>(object);
        painted.push_back(bar->value());
        shownWhilePainted = shownWhilePainted && bar->window()->isVisible();
        if (picture.isNull() && bar->value() >= 50) {
            m_grabbing = true;
            picture = bar->window()->grab();
            m_grabbing = false;
        }
        return false;
    }

    std::vector<int> painted;
    bool shownWhilePainted = true;
    QPixmap picture;

private:
    bool m_grabbing = false;
};

class ClassifiersTest : public shell_testing::ShellTest
{
protected:
    // The classifier directory: Kladr.dbf with regions 77, 50 and 69 and what lies under
    // them, Street.dbf with their streets; no region table.
    void WriteClassifiers(bool street = true) const
    {
        TableBuilder kladr;
        kladr.Field("NAME", 'C', 20).Field("CODE", 'C', 13);
        const std::pair<const char*, const char*> places[] = {
            { "Moscow", "7700000000000" }, { "Zelenograd", "7700000100000" },
            { "Moscow district", "7700100000000" }, { "Moscow oblast", "5000000000000" },
            { "District 1", "5000100000000" }, { "District 10", "5001000000000" },
            { "Village A", "5000100000100" }, { "Village B", "5000100000200" },
            { "Tver oblast", "6900000000000" },
        };
        for (const auto& [name, code] : places)
            kladr.Record(Padded(name, 20) + code);
        kladr.Write(Dir() + "Kladr.dbf");
        if (!street)
            return;
        TableBuilder streets;
        streets.Field("NAME", 'C', 20).Field("CODE", 'C', 17);
        const std::pair<const char*, const char*> names[] = {
            { "Arbat", "77000000000000100" }, { "Tverskaya", "77000000000012300" },
            { "Central", "77000000100000100" }, { "Village A street", "50001000001000100" },
            { "Village A lane", "50001000001001000" }, { "Village B street", "50001000002000100" },
        };
        for (const auto& [name, code] : names)
            streets.Record(Padded(name, 20) + code);
        streets.Write(Dir() + "Street.dbf");
    }

    std::string Dir() const { return tables.Path(); }

    std::vector<std::string> OpenNames() const
    {
        std::vector<std::string> names;
        for (const CChildFrame* window : Main().TableWindows())
            names.push_back(platform::FileNameOf(window->TablePath()));
        return names;
    }

    CChildFrame* Window(const char* name) const
    {
        CChildFrame* found = nullptr;
        for (CChildFrame* window : Main().TableWindows()) {
            if (classifiers::IsClassifierTable(window->TablePath(), name))
                found = window;
        }
        return found;
    }

    std::vector<std::string> Codes(const char* name) const
    {
        std::vector<std::string> codes;
        tablegrid::CTableWndGrid* grid = Window(name)->Grid();
        grid->EnsureRowsCached(0, grid->GetRowCount() - 1);
        for (int row = 0; row < grid->GetRowCount(); ++row) {
            const auto* cached = grid->FindCachedRow(row);
            codes.push_back(cached ? cached->texts.at(1) : std::string());
        }
        return codes;
    }

    void CloseAll() const
    {
        for (CChildFrame* window : Main().TableWindows())
            window->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
    }

    bool Enabled(int command) const { return Main().Router().Query(command).enabled; }

    void NoHelp() const { WriteSettings("[RUR]\r\nShowHelp=0\r\n"); }

    void SwitchToRussian() const
    {
        app->SwitchLanguage(platform::Utf8ToAnsi("Русский"), app->DateFormat());
    }

    void SavePicture(const char* name, const QPixmap& picture) const
    {
        QDir().mkpath(QStringLiteral(LUMETTA_SCREENSHOT_DIR));
        EXPECT_TRUE(picture.save(
            QStringLiteral(LUMETTA_SCREENSHOT_DIR "/%1.png").arg(QString::fromLatin1(name))));
    }
};

TEST_F(ClassifiersTest, FirstOpenBuildsTheRegionTableAndTheSecondDoesNot)
{
    ScriptedPrompt prompt;
    WriteClassifiers();
    Start();
    EXPECT_TRUE(Enabled(ID_FILE_OPEN_CLASSIFIERS));
    const std::vector<std::uint8_t> kladr = ReadAllBytes(Dir() + "Kladr.dbf");
    const std::vector<std::uint8_t> street = ReadAllBytes(Dir() + "Street.dbf");
    bool helpChecked = false;
    OnModalDialog("IDD_CLASSIFIER_HELP", [&](QDialog& dialog) {
        helpChecked = dialog.findChild<QCheckBox*>(QStringLiteral("IDC_SHOW_CLASSIFIER_HELP"))->isChecked();
        // Over the Region window, which is active by now.
        EXPECT_EQ(Main().ActiveTableWindow(), Window("Region"));
        Screenshot("classifier_help_dialog", &dialog);
        dialog.findChild<QPushButton*>(QStringLiteral("IDOK"))->click();
    });
    const std::string directory = Dir().substr(0, Dir().size() - 1);
    {
        ProgressWatcher progress;
        app->OpenClassifiers(directory);
        ASSERT_FALSE(progress.painted.empty()) << "the progress window was never painted";
        EXPECT_TRUE(progress.shownWhilePainted);
        EXPECT_TRUE(std::is_sorted(progress.painted.begin(), progress.painted.end()));
        EXPECT_EQ(progress.painted.back(), 100);
        EXPECT_GT(progress.painted.size(), 3u) << "each change of the bar is painted";
        ASSERT_FALSE(progress.picture.isNull());
        SavePicture("region_progress_window", progress.picture);
    }
    EXPECT_TRUE(Main().findChildren<shell::CRegionProgressDialog*>().empty());
    EXPECT_TRUE(prompt.Questions().empty());
    EXPECT_TRUE(helpChecked);
    EXPECT_NE(SettingsText().find("[RUR]\r\nShowHelp=1\r\n"), std::string::npos) << SettingsText();
    EXPECT_EQ(OpenNames(), (std::vector<std::string> { "Region.dbf", "Kladr.dbf", "Street.dbf" }));
    EXPECT_EQ(Main().ActiveTableWindow(), Window("Region"));
    EXPECT_EQ(Codes("Region"), (std::vector<std::string> { "7700000000000", "5000000000000", "6900000000000" }));
    EXPECT_EQ(app->RecentFiles().Entries().front(), Dir());
    EXPECT_EQ(shell::CurrentDirectory() + "/", Dir());
    EXPECT_FALSE(Enabled(ID_FILE_OPEN_CLASSIFIERS));
    EXPECT_EQ(ReadAllBytes(Dir() + "Kladr.dbf"), kladr);
    EXPECT_EQ(ReadAllBytes(Dir() + "Street.dbf"), street);

    // The region table stays as it is, even when KLADR has changed since.
    CloseAll();
    const std::vector<std::uint8_t> region = ReadAllBytes(Dir() + "Region.dbf");
    TableBuilder changed;
    changed.Field("NAME", 'C', 20).Field("CODE", 'C', 13).Record(Padded("Tula", 20) + "7100000000000");
    changed.Write(Dir() + "Kladr.dbf");
    NoHelp();
    ProgressWatcher again;
    app->OpenClassifiers(Dir());
    EXPECT_TRUE(again.painted.empty());
    EXPECT_EQ(ReadAllBytes(Dir() + "Region.dbf"), region);
    EXPECT_EQ(OpenNames(), (std::vector<std::string> { "Region.dbf", "Kladr.dbf", "Street.dbf" }));
}

TEST_F(ClassifiersTest, MissingTablesAreReportedOneByOneAndTheOthersOpen)
{
    NoHelp();
    WriteClassifiers(false);
    Start();
    {
        ScriptedPrompt prompt { platform::IDOK };
        app->OpenClassifiers(Dir());
        ASSERT_EQ(prompt.Questions().size(), 1u);
        EXPECT_EQ(prompt.Asked(0).text, "The directory " + Dir() + "\nhas no table Street.dbf");
        EXPECT_EQ(prompt.Asked(0).icon, platform::PromptIcon::kStop);
        EXPECT_EQ(OpenNames(), (std::vector<std::string> { "Region.dbf", "Kladr.dbf" }));
    }
    CloseAll();
    // A KLADR the region table cannot come from builds none, silently.
    TableBuilder noCode;
    noCode.Field("NAME", 'C', 20).Record("Moscow");
    noCode.Write(Dir() + "KLADR.DBF");
    std::filesystem::remove(Dir() + "Kladr.dbf");
    std::filesystem::remove(Dir() + "Region.dbf");
    SwitchToRussian();
    ScriptedPrompt prompt { platform::IDOK, platform::IDOK };
    app->OpenClassifiers(Dir());
    EXPECT_EQ(prompt.Texts(),
        (std::vector<std::string> {
            platform::Utf8ToAnsi("В каталоге " + Dir() + "\nотсутствует таблица Region.dbf"),
            platform::Utf8ToAnsi("В каталоге " + Dir() + "\nотсутствует таблица Street.dbf") }));
    EXPECT_EQ(OpenNames(), std::vector<std::string> { "KLADR.DBF" });
    EXPECT_FALSE(std::filesystem::exists(Dir() + "Region.dbf"));
}

TEST_F(ClassifiersTest, TheHelpCanBeTurnedOffAndAboutClassifiersStillShowsIt)
{
    ScriptedPrompt prompt;
    WriteClassifiers();
    Start();
    OnModalDialog("IDD_CLASSIFIER_HELP", [](QDialog& dialog) {
        dialog.findChild<QCheckBox*>(QStringLiteral("IDC_SHOW_CLASSIFIER_HELP"))->setChecked(false);
        dialog.findChild<QPushButton*>(QStringLiteral("IDOK"))->click();
    });
    app->OpenClassifiers(Dir());
    EXPECT_NE(SettingsText().find("ShowHelp=0"), std::string::npos);
    CloseAll();
    app->OpenClassifiers(Dir()); // no help this time: a dialog would stop the test here
    EXPECT_EQ(OpenNames().size(), 3u);

    // About Classifiers shows the box as the setting is; Escape keeps the setting.
    ASSERT_TRUE(Enabled(ID_HELP_ABOUT_CLASSIFIERS));
    bool checked = true;
    OnModalDialog("IDD_CLASSIFIER_HELP", [&](QDialog& dialog) {
        auto* box = dialog.findChild<QCheckBox*>(QStringLiteral("IDC_SHOW_CLASSIFIER_HELP"));
        checked = box->isChecked();
        box->setChecked(true);
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    EXPECT_TRUE(Main().Router().Execute(ID_HELP_ABOUT_CLASSIFIERS));
    EXPECT_FALSE(checked);
    EXPECT_NE(SettingsText().find("ShowHelp=0"), std::string::npos);
    OnModalDialog("IDD_CLASSIFIER_HELP", [](QDialog& dialog) {
        dialog.findChild<QCheckBox*>(QStringLiteral("IDC_SHOW_CLASSIFIER_HELP"))->setChecked(true);
        dialog.findChild<QPushButton*>(QStringLiteral("IDOK"))->click();
    });
    EXPECT_TRUE(Main().Router().Execute(ID_HELP_ABOUT_CLASSIFIERS));
    EXPECT_NE(SettingsText().find("ShowHelp=1"), std::string::npos);
}

TEST_F(ClassifiersTest, SelectionsNarrowSettlementsToARegionAndStreetsToASettlement)
{
    ScriptedPrompt prompt;
    NoHelp();
    WriteClassifiers();
    Start();
    app->OpenClassifiers(Dir());
    ASSERT_EQ(Main().ActiveTableWindow(), Window("Region"));
    EXPECT_TRUE(Enabled(ID_CLASSIFIERS_REGION));
    EXPECT_FALSE(Enabled(ID_CLASSIFIERS_SETTLEMENT));

    // Region 50, the second row; the KLADR window keeps its deletion option.
    Window("Kladr")->Grid()->SetFilterModes(1, 0);
    Window("Region")->Grid()->SetCurrentCell(1, 0);
    EXPECT_TRUE(Main().Router().Execute(ID_CLASSIFIERS_REGION));
    CChildFrame* kladr = Window("Kladr");
    EXPECT_EQ(Main().ActiveTableWindow(), kladr);
    EXPECT_EQ(kladr->Grid()->FilterRoot(), classifiers::RegionSelectionFilter("5000000000000"));
    EXPECT_EQ(kladr->Grid()->DeletionMode(), 1);
    EXPECT_EQ(Codes("Kladr"), (std::vector<std::string> { "5000000000000", "5000100000000",
                                  "5001000000000", "5000100000100", "5000100000200" }));
    EXPECT_EQ(kladr->FrameStatusText(2), QStringLiteral("Filter"));

    // Village A: both its streets, the tenth included.
    EXPECT_TRUE(Enabled(ID_CLASSIFIERS_SETTLEMENT));
    kladr->Grid()->SetCurrentCell(3, 0);
    EXPECT_TRUE(Main().Router().Execute(ID_CLASSIFIERS_SETTLEMENT));
    EXPECT_EQ(Main().ActiveTableWindow(), Window("Street"));
    EXPECT_EQ(Codes("Street"), (std::vector<std::string> { "50001000001000100", "50001000001001000" }));
    EXPECT_EQ(Window("Street")->FrameStatusText(2), QStringLiteral("Filter"));
    Main().Router().Execute(ID_WINDOW_TILE_HORZ);
    QApplication::processEvents();
    Screenshot("classifiers_after_settlement_selection");

    // A new selection replaces the conditions: Moscow's streets, street 0123 among them.
    EXPECT_FALSE(Main().Router().Execute(ID_CLASSIFIERS_REGION));
    Main().ActivateTaskWindow(Window("Region"));
    Window("Region")->Grid()->SetCurrentCell(0, 0);
    EXPECT_TRUE(Main().Router().Execute(ID_CLASSIFIERS_REGION));
    EXPECT_EQ(Codes("Kladr"), (std::vector<std::string> { "7700000000000", "7700000100000", "7700100000000" }));
    Window("Kladr")->Grid()->SetCurrentCell(0, 0);
    EXPECT_TRUE(Main().Router().Execute(ID_CLASSIFIERS_SETTLEMENT));
    EXPECT_EQ(Codes("Street"), (std::vector<std::string> { "77000000000000100", "77000000000012300" }));
    EXPECT_TRUE(prompt.Questions().empty());
}

TEST_F(ClassifiersTest, SelectionsSayWhichWindowOrRecordIsMissing)
{
    NoHelp();
    Start();
    SwitchToRussian();
    const auto ansi = [](const char* utf8) { return platform::Utf8ToAnsi(utf8); };
    const auto texts = [&](ClassifierSelection selection) {
        ScriptedPrompt prompt { platform::IDOK };
        shell::Select(Main(), selection);
        EXPECT_EQ(prompt.Asked(0).icon, platform::PromptIcon::kStop);
        return prompt.Texts();
    };
    EXPECT_EQ(texts(ClassifierSelection::kRegion), std::vector<std::string> { ansi("Таблица REGION не открыта") });
    EXPECT_EQ(texts(ClassifierSelection::kSettlement), std::vector<std::string> { ansi("Таблица STREET не открыта") });

    // Tables are known by their file name in any case; REGION2 is no region table.
    TableBuilder empty;
    empty.Field("NAME", 'C', 20).Field("CODE", 'C', 13);
    empty.Write(Dir() + "region.dbf");
    empty.Write(Dir() + "REGION2.DBF");
    ASSERT_TRUE(app->OpenTableFile(Dir() + "REGION2.DBF"));
    EXPECT_FALSE(Enabled(ID_CLASSIFIERS_REGION));
    ASSERT_TRUE(app->OpenTableFile(Dir() + "region.dbf"));
    EXPECT_TRUE(Enabled(ID_CLASSIFIERS_REGION));
    EXPECT_FALSE(Enabled(ID_FILE_OPEN_CLASSIFIERS));
    EXPECT_EQ(texts(ClassifierSelection::kRegion), std::vector<std::string> { ansi("Таблица KLADR не открыта") });

    // The windows are there; the source shows no record.
    empty.Write(Dir() + "KLADR.DBF");
    ASSERT_TRUE(app->OpenTableFile(Dir() + "KLADR.DBF"));
    EXPECT_TRUE(Enabled(ID_CLASSIFIERS_SETTLEMENT));
    EXPECT_EQ(texts(ClassifierSelection::kRegion), std::vector<std::string> { ansi("Регион не выбран") });
    EXPECT_EQ(texts(ClassifierSelection::kSettlement), std::vector<std::string> { ansi("Таблица STREET не открыта") });
    TableBuilder streets;
    streets.Field("NAME", 'C', 20).Field("CODE", 'C', 17);
    streets.Write(Dir() + "Street.dbf");
    ASSERT_TRUE(app->OpenTableFile(Dir() + "Street.dbf"));
    EXPECT_EQ(texts(ClassifierSelection::kSettlement),
        std::vector<std::string> { ansi("Населенный пункт не выбран") });
}

TEST_F(ClassifiersTest, CommandLineRecentListAndFolderChoiceOpenClassifiers)
{
    ScriptedPrompt prompt;
    NoHelp();
    WriteClassifiers();
    Start({ "-k" + Dir().substr(0, Dir().size() - 1) });
    EXPECT_EQ(OpenNames(), (std::vector<std::string> { "Region.dbf", "Kladr.dbf", "Street.dbf" }));
    EXPECT_EQ(Main().ActiveTableWindow(), Window("Region"));
    CloseAll();

    // The recent entry of the directory opens the classifiers again.
    ASSERT_EQ(app->RecentFiles().Entries().front(), Dir());
    EXPECT_TRUE(Enabled(ID_FILE_MRU_FILE1));
    EXPECT_TRUE(Main().Router().Execute(ID_FILE_MRU_FILE1));
    EXPECT_EQ(OpenNames().size(), 3u);
    CloseAll();

    // Open Classifiers: the folder choice, titled as the resources say, starts in the
    // current directory.
    QString title;
    QString startedIn;
    OnModalDialog("SelectClassifierDirectory", [&](QDialog& shown) {
        auto& dialog = static_cast<QFileDialog&>(shown);
        title = dialog.windowTitle();
        startedIn = dialog.directory().absolutePath();
        // The user goes up one level and picks the folder.
        const QDir folder(shell::PathToQString(Dir()));
        dialog.setDirectory(QFileInfo(folder.absolutePath()).absolutePath());
        dialog.selectFile(folder.dirName());
        shown.accept(); // with the file dialog's own checks
    });
    ASSERT_TRUE(Enabled(ID_FILE_OPEN_CLASSIFIERS));
    EXPECT_TRUE(Main().Router().Execute(ID_FILE_OPEN_CLASSIFIERS));
    EXPECT_EQ(title, QStringLiteral("Select a directory"));
    EXPECT_EQ(startedIn.toStdString() + "/", Dir());
    EXPECT_EQ(OpenNames().size(), 3u);
    EXPECT_TRUE(prompt.Questions().empty());
}

} // namespace
