#pragma once

#include "platform/program_directory.h"
#include "platform/recent_list.h"
#include "shell/command_router.h"
#include "shell/common_controls.h"
#include "shell/database_registry.h"
#include "shell/settings/app_settings.h"
#include "table/date_format.h"
#include "tablegrid/operations/text_export_format.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {
class FileSystem;
}

namespace shell {

class CDBGridDoc;
class CMainFrame;
class CMultiDBFTemplate;

// The application: starts the program in a fixed order, owns the settings file, the recent
// list, the document template, the main window, the databases of the table directories, the
// table windows' font, the date format, the language and the text-export format, and writes
// the settings back at a normal exit (the text-export format lasts for the session only).
// Every open of a table (the Open dialog, the command line, the recent list, dropped files)
// goes through OpenTableFile.
//
// One instance for the life of the program; it outlives its main window. The file system is
// not owned.
class CViewerApp final : public CommandTarget
{
public:
    static constexpr int kOtherProductsTopic = 20;

    CViewerApp(platform::FileSystem& fs, platform::SettingsLocation location,
               CommonControlsVersion controls = InstalledCommonControls());
    ~CViewerApp() override;
    CViewerApp(const CViewerApp&) = delete;
    CViewerApp& operator=(const CViewerApp&) = delete;

    // Start-up with the program's arguments (without the program's name): settings path,
    // recent list, template, main window, the tables named on the command line, the saved
    // font, language and date format, the main window shown, then the classifier directory
    // of "-k". False when the program cannot start.
    bool InitInstance(const std::vector<std::string>& arguments);
    // Normal exit: writes the font, language and date format (only when they were read at
    // start-up, so a failed start never overwrites the user's settings) and the recent list.
    void ExitInstance();

    // Opens `name` (made absolute against the current directory) in a new table window.
    // "File %s not found" when it does not exist. The document, or null.
    CDBGridDoc* OpenTableFile(const std::string& name);
    // Opens entry `index` of the recent list; an entry that fails to open, and a classifier
    // directory that no longer exists, leave the list.
    void OpenRecentFile(std::size_t index);
    void AddToRecentFileList(const std::string& path);
    const platform::RecentList& RecentFiles() const { return m_recent; }

    // The address classifiers of `directory` (made absolute, given its trailing '/'): the
    // region table is built when the directory has KLADR and no region table yet, then
    // Region, Kladr and Street open in windows of their own in this order (each one missing
    // is reported), the Region window becomes active, the classifier help shows unless the
    // user turned it off, and the directory goes to the recent list and becomes current.
    void OpenClassifiers(const std::string& directory);
    // The classifier help. Opening the classifiers shows it with its box ticked, About
    // Classifiers with the box as the setting is; OK writes the box into the setting.
    void ShowClassifierHelp(bool opening);

    // Writes the carried Russian library out where the program writes its own files; false
    // when it cannot be written there.
    bool ExtractLanguageLibrary();
    // Rebuilds the language list from the built-in language and the signed libraries beside
    // the program and in the settings directory; the built-in language becomes current.
    void ScanLanguageLibraries();
    const std::map<std::string, std::string>& Languages() const { return m_languages; }

    // Makes the current language's resources current and updates the windows: with
    // `languageChanged` the menus and every title, with `dateChanged` every grid's dates.
    void ApplyLanguage(bool languageChanged, bool dateChanged);

    // The help file (an HTML page named by the resource set, beside the program or in the
    // installed data directory) and whether it is there to be opened.
    std::string HelpFilePath() const;
    bool HasHelp() const;
    void OpenHelpTopic(int topic) const;
    // What the Language command does after its dialog: the language (cp1251 name) and the
    // date form become current, and only what changed is applied.
    void SwitchLanguage(const std::string& language, table::DateFormat format);

    const std::string& PendingPath() const { return m_pendingPath; }
    platform::FileSystem& Files() const { return m_fs; }
    DatabaseRegistry& Databases() { return m_databases; }
    CMainFrame* MainFrame() const { return m_mainFrame.get(); }
    CMultiDBFTemplate* Template() const { return m_template.get(); }
    const std::string& Title() const { return m_title; }
    const std::string& SettingsPath() const { return m_settingsPath; }
    const std::string& ProgramDirectory() const { return m_location.ProgramDir(); }

    const std::optional<FontRecord>& CurrentFontRecord() const { return m_font; }
    void SetCurrentFont(const FontRecord& font) { m_font = font; }
    table::DateFormat DateFormat() const { return m_dateFormat; }
    const std::string& LanguageName() const { return m_languageName; }
    // How Save As Text writes its fields; the Save As Text dialog changes it.
    const tablegrid::TextExportFormat& TextExportFormat() const { return m_textExportFormat; }
    void SetTextExportFormat(const tablegrid::TextExportFormat& format)
    {
        m_textExportFormat = format;
    }
    bool DeleteIndexWithoutAsking() const { return m_deleteIndexWithoutAsking; }
    void SetDeleteIndexWithoutAsking(bool value) { m_deleteIndexWithoutAsking = value; }

    bool UpdateCommand(int id, CommandState* state) override;
    bool ExecuteCommand(int id) override;

private:
    void OnFileOpen();
    // The Language command: the dialog, then the language and date form applied at once.
    void OnLanguage();
    void OnFileOpenInDirectory();
    // Open Classifiers: the folder choice, then OpenClassifiers.
    void OnOpenClassifiers();
    // The region table of `directory` (ending in '/') built under its progress window.
    void BuildRegionTable(const std::string& directory);

    platform::FileSystem& m_fs;
    platform::SettingsLocation m_location;
    CommonControlsVersion m_controls;
    std::string m_title; // the built-in title, which names the settings file
    std::string m_settingsPath;
    platform::RecentList m_recent;
    std::optional<FontRecord> m_font;
    std::string m_pendingPath;
    bool m_deleteIndexWithoutAsking = false;
    std::map<std::string, std::string> m_languages; // name -> library path; "" built in
    std::string m_languageName;
    std::string m_signature; // the built-in signature a library must carry
    table::DateFormat m_dateFormat = table::kDefaultDateFormat;
    tablegrid::TextExportFormat m_textExportFormat;
    bool m_settingsRead = false;
    // Declared before the windows: tables in the windows belong to these databases.
    DatabaseRegistry m_databases;
    std::unique_ptr<CMultiDBFTemplate> m_template;
    std::unique_ptr<CMainFrame> m_mainFrame;
};

} // namespace shell
