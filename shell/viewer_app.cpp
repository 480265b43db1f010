#include "shell/viewer_app.h"

#include "platform/file_system.h"
#include "platform/format_text.h"
#include "platform/profile_file.h"
#include "platform/prompt.h"
#include "platform/resource_source.h"
#include "resources/carried_library.h"
#include "resources/resource_ids.h"
#include "resources/table_resources.h"
#include "shell/child_frame.h"
#include "shell/database_schema_command.h"
#include "shell/dialogs/select_language_dialog.h"
#include "shell/file_open_command.h"
#include "shell/main_frame.h"
#include "shell/main_status_bar.h"
#include "shell/multi_dbf_template.h"
#include "shell/path_text.h"
#include "shell/settings/command_line.h"
#include "shell/settings/language_list.h"

#include <QDesktopServices>
#include <QUrl>

namespace shell {
namespace {

using platform::FormatText;
using platform::LoadString;

void ShowError(const std::string& text)
{
    platform::AskUser(text, platform::PromptButtons::kOk, platform::PromptIcon::kStop);
}

// '&' marks an access key in a menu text; a path shows its own as they are.
std::string MenuEscaped(const std::string& text)
{
    std::string escaped;
    for (const char c : text) {
        escaped += c;
        if (c == '&')
            escaped += '&';
    }
    return escaped;
}

} // namespace

CViewerApp::CViewerApp(platform::FileSystem& fs, platform::SettingsLocation location,
                       CommonControlsVersion controls)
    : m_fs(fs)
    , m_location(std::move(location))
    , m_controls(controls)
    , m_databases(fs)
{
}

CViewerApp::~CViewerApp()
{
    // The windows go before the template and the databases their tables belong to.
    m_mainFrame.reset();
}

bool CViewerApp::InitInstance(const std::vector<std::string>& arguments)
{
    // The settings file is named by the built-in title, whatever language is chosen later.
    resources::InstallEnglishResources();
    m_title = resources::MakeEnglishResources()->FindString(IDS_APP_TITLE).value_or("Lumetta");
    m_settingsPath = m_location.ProfilePath(m_title + ".ini");
    const platform::ProfileFile settings(m_fs, m_settingsPath);
    m_recent.Read(settings);
    // Written at every start, so the copy offered is the one this program carries; a
    // directory that cannot take it leaves whatever older copy the scan finds.
    (void)ExtractLanguageLibrary();

    m_template = std::make_unique<CMultiDBFTemplate>(*this, IDR_TABLE_MENU);
    m_mainFrame = std::make_unique<CMainFrame>(*this, m_controls);

    ScanLanguageLibraries();
    const std::string builtInLanguage = m_languageName;

    // Tables named on the command line open before the saved font and date format are
    // read; they take both when those are applied below.
    const CommandLine commandLine = ParseCommandLine(arguments);
    for (const std::string& file : commandLine.files)
        OpenTableFile(file);

    const AppSettings saved = AppSettings::Read(settings, builtInLanguage);
    m_settingsRead = true;
    m_languageName = saved.language;
    m_dateFormat = saved.dateFormat;
    m_mainFrame->ApplyFont(&saved.font, true, false);
    m_mainFrame->show();
    m_mainFrame->repaint();
    ApplyLanguage(true, true);

    if (commandLine.classifierDirectory)
        OpenClassifiers(*commandLine.classifierDirectory);
    return true;
}

void CViewerApp::ExitInstance()
{
    if (!m_settingsRead)
        return;
    platform::ProfileFile settings(m_fs, m_settingsPath);
    AppSettings current;
    if (m_font)
        current.font = *m_font;
    current.language = m_languageName;
    current.dateFormat = m_dateFormat;
    // A settings file that cannot be written is not worth a message at exit.
    (void)current.Write(settings);
    (void)m_recent.Write(settings);
}

CDBGridDoc* CViewerApp::OpenTableFile(const std::string& name)
{
    const std::string absolute = AbsolutePathOf(name);
    if (!m_fs.Exists(absolute)) {
        ShowError(FormatText(LoadString(IDS_FILE_NOT_FOUND), { PathToAnsi(absolute) }));
        return nullptr;
    }
    m_pendingPath = absolute;
    CDBGridDoc* document = m_template ? m_template->OpenDocumentFile(absolute) : nullptr;
    // Cleared either way, so a window made later without a path never opens this one.
    m_pendingPath.clear();
    if (!document)
        ShowError(FormatText(LoadString(IDS_CANNOT_OPEN_TABLE), { PathToAnsi(name) }));
    if (m_mainFrame)
        m_mainFrame->UpdateCommandUI();
    return document;
}

void CViewerApp::OpenRecentFile(std::size_t index)
{
    if (index >= m_recent.Size())
        return;
    const std::string entry = m_recent.At(index);
    const auto forget = [this, &entry] {
        const auto& entries = m_recent.Entries();
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (entries[i] == entry) {
                m_recent.Remove(i);
                return;
            }
        }
    };
    if (entry.back() == '/') {
        if (m_fs.IsDirectory(entry))
            OpenClassifiers(entry);
        else
            forget();
        return;
    }
    if (!OpenTableFile(entry))
        forget();
}

void CViewerApp::AddToRecentFileList(const std::string& path)
{
    m_recent.Add(path);
}

bool CViewerApp::ExtractLanguageLibrary()
{
    return shell::ExtractLanguageLibrary(m_fs, m_location,
        resources::kRussianLibraryFileName, resources::kRussianLibrary);
}

void CViewerApp::ScanLanguageLibraries()
{
    const auto english = resources::MakeEnglishResources();
    const std::string builtIn = english->FindString(IDS_LANGUAGE_NAME).value_or("English");
    m_signature = english->FindString(IDS_RESOURCE_SIGNATURE).value_or(std::string());
    m_languages = shell::ScanLanguageLibraries(
        m_fs, m_location.SearchDirectories(), builtIn, m_signature);
    m_languageName = builtIn;
}

void CViewerApp::ApplyLanguage(bool languageChanged, bool dateChanged)
{
    if (!m_mainFrame)
        return;
    if (languageChanged) {
        // A saved language that is no longer listed keeps its name and shows the built-in
        // texts; so does a listed library that can no longer be read.
        const auto listed = m_languages.find(m_languageName);
        std::unique_ptr<platform::ResourceSet> library;
        if (listed != m_languages.end() && !listed->second.empty())
            library = LoadLanguageLibrary(m_fs, listed->second, m_signature);
        if (library)
            platform::InstallResources(std::move(library));
        else
            resources::InstallEnglishResources();
        m_mainFrame->ReloadMenus();
    }
    std::vector<CChildFrame*> windows = m_mainFrame->TableWindows();
    if (CChildFrame* active = m_mainFrame->ActiveTableWindow()) {
        std::erase(windows, active);
        windows.insert(windows.begin(), active);
    }
    for (CChildFrame* window : windows) {
        if (languageChanged)
            window->UpdateTitle();
        if (dateChanged)
            window->SetDateFormat(m_dateFormat);
    }
    m_mainFrame->ReactivateActiveWindow();
    m_mainFrame->StatusPanes()->ShowIdleMessage();
}

std::string CViewerApp::HelpFilePath() const
{
    // The help keeps its file name ("lumteng.hlp"), and is a page of that base name.
    const std::string file = LoadString(IDS_HELP_FILE);
    const std::size_t dot = file.rfind('.');
    const std::string name
        = file.empty() ? std::string() : (dot == std::string::npos ? file : file.substr(0, dot)) + ".html";
    if (name.empty() || ProgramDirectory().empty())
        return {};
    return platform::FindProgramData(m_fs, ProgramDirectory(), name)
        .value_or(ProgramDirectory() + name);
}

bool CViewerApp::HasHelp() const
{
    const std::string path = HelpFilePath();
    return !path.empty() && m_fs.Exists(path) && !m_fs.IsDirectory(path);
}

void CViewerApp::OpenHelpTopic(int topic) const
{
    if (!HasHelp())
        return;
    QUrl url = QUrl::fromLocalFile(PathToQString(HelpFilePath()));
    if (topic > 0)
        url.setFragment(QString::number(topic));
    QDesktopServices::openUrl(url);
}

bool CViewerApp::UpdateCommand(int id, CommandState* state)
{
    if (id >= ID_FILE_MRU_FILE1 && id <= ID_FILE_MRU_FILE16) {
        state->enabled = static_cast<std::size_t>(id - ID_FILE_MRU_FILE1) < m_recent.Size();
        return true;
    }
    switch (id) {
    case ID_FILE_NEW:
    case ID_FILE_OPEN:
        state->enabled = true;
        return true;
    case ID_FILE_OPEN_IN_DIRECTORY: {
        const CChildFrame* active = m_mainFrame ? m_mainFrame->ActiveTableWindow() : nullptr;
        state->enabled = active && !active->TableDirectory().empty();
        if (state->enabled) {
            state->text = FormatText(LoadString(IDS_OPEN_IN_DIRECTORY),
                { MenuEscaped(PathToAnsi(active->TableDirectory())) });
        }
        return true;
    }
    case ID_HELP:
    case ID_HELP_FINDER:
    case ID_HELP_OUR_PRODUCTS:
        state->enabled = HasHelp();
        return true;
    case ID_VIEW_LANGUAGE:
    case ID_FILE_DATABASE_SCHEMA:
    case ID_HELP_ABOUT_CLASSIFIERS:
        state->enabled = true;
        return true;
    case ID_FILE_OPEN_CLASSIFIERS:
        state->enabled = !m_mainFrame || m_mainFrame->TableWindows().empty();
        return true;
    default:
        return false;
    }
}

bool CViewerApp::ExecuteCommand(int id)
{
    if (id >= ID_FILE_MRU_FILE1 && id <= ID_FILE_MRU_FILE16) {
        OpenRecentFile(static_cast<std::size_t>(id - ID_FILE_MRU_FILE1));
        return true;
    }
    switch (id) {
    case ID_FILE_NEW:
        return true;
    case ID_FILE_OPEN:
        OnFileOpen();
        return true;
    case ID_FILE_OPEN_IN_DIRECTORY:
        OnFileOpenInDirectory();
        return true;
    case ID_HELP:
    case ID_HELP_FINDER:
        OpenHelpTopic(0);
        return true;
    case ID_HELP_OUR_PRODUCTS:
        OpenHelpTopic(kOtherProductsTopic);
        return true;
    case ID_VIEW_LANGUAGE:
        OnLanguage();
        return true;
    case ID_FILE_DATABASE_SCHEMA:
        RunDatabaseSchemaCommand(m_fs, m_mainFrame.get(), [this] { OpenHelpTopic(0); });
        return true;
    case ID_FILE_OPEN_CLASSIFIERS:
        OnOpenClassifiers();
        return true;
    case ID_HELP_ABOUT_CLASSIFIERS:
        ShowClassifierHelp(false);
        return true;
    default:
        return false;
    }
}

void CViewerApp::OnLanguage()
{
    std::vector<std::string> names;
    for (const auto& [name, path] : m_languages)
        names.push_back(name);
    CSelectLanguageDialog dialog(names, m_languageName, m_dateFormat, m_mainFrame.get());
    if (dialog.exec() != QDialog::Accepted)
        return;
    SwitchLanguage(dialog.ChosenLanguage(), dialog.ChosenDateFormat());
}

void CViewerApp::SwitchLanguage(const std::string& language, table::DateFormat format)
{
    const bool languageChanged = language != m_languageName;
    const bool dateChanged = format != m_dateFormat;
    m_languageName = language;
    m_dateFormat = format;
    ApplyLanguage(languageChanged, dateChanged);
}

void CViewerApp::OnFileOpen()
{
    const std::vector<std::string> chosen = ChooseTablesToOpen(m_mainFrame.get());
    OpenChosenFiles(m_fs, chosen, [this](const std::string& path) { OpenTableFile(path); });
}

void CViewerApp::OnFileOpenInDirectory()
{
    if (const CChildFrame* active = m_mainFrame ? m_mainFrame->ActiveTableWindow() : nullptr) {
        const std::string directory = platform::DirectoryOf(active->TablePath());
        if (!directory.empty() && m_fs.IsDirectory(directory))
            (void)SetCurrentDirectory(directory);
    }
    OnFileOpen();
}

} // namespace shell
