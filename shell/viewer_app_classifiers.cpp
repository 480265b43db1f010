// The application's address classifier commands: Open Classifiers with its folder choice,
// the open of a classifier directory (the region table built the first time), and the
// classifier help with its setting.

#include "shell/viewer_app.h"

#include "classifiers/classifier_tables.h"
#include "classifiers/region_table_builder.h"
#include "platform/file_system.h"
#include "platform/format_text.h"
#include "platform/profile_file.h"
#include "platform/prompt.h"
#include "platform/resource_source.h"
#include "resources/resource_ids.h"
#include "shell/child_frame.h"
#include "shell/dialogs/classifier_help_dialog.h"
#include "shell/dialogs/dialog_texts.h"
#include "shell/dialogs/region_progress_dialog.h"
#include "shell/main_frame.h"
#include "shell/path_text.h"
#include "shell/wait_cursor.h"
#include "table/table_database.h"

#include <QFileDialog>

namespace shell {
namespace {

using platform::FormatText;
using platform::LoadString;

// The region table's building shown in its progress window.
class ProgressWindow final : public classifiers::RegionProgress
{
public:
    explicit ProgressWindow(CRegionProgressDialog& dialog)
        : m_dialog(dialog)
    {
    }
    void SetProgress(int percent) override { m_dialog.SetProgress(percent); }

private:
    CRegionProgressDialog& m_dialog;
};

} // namespace

void CViewerApp::OpenClassifiers(const std::string& directory)
{
    std::string dir = AbsolutePathOf(directory);
    if (!dir.ends_with('/'))
        dir += '/';
    // A directory that is not there (a "-k" switch naming none) has no tables to report one
    // by one, nor a place in the recent list.
    if (!m_fs.IsDirectory(dir)) {
        platform::AskUser(FormatText(LoadString(IDS_CANNOT_OPEN_TABLE), { PathToAnsi(dir) }),
            platform::PromptButtons::kOk, platform::PromptIcon::kExclamation);
        return;
    }
    const auto find = [&](const char* name) { return platform::FindEntryNoCase(m_fs, dir, name); };
    if (find(classifiers::kKladrFile) && !find(classifiers::kRegionFile))
        BuildRegionTable(dir);

    for (const char* name : { classifiers::kRegionFile, classifiers::kKladrFile, classifiers::kStreetFile }) {
        if (const auto path = find(name)) {
            OpenTableFile(*path);
        } else {
            platform::AskUser(
                FormatText(LoadString(IDS_CLASSIFIER_TABLE_MISSING), { PathToAnsi(dir), name }),
                platform::PromptButtons::kOk, platform::PromptIcon::kStop);
        }
    }
    if (m_mainFrame) {
        CChildFrame* region = nullptr;
        for (CChildFrame* window : m_mainFrame->TableWindows()) {
            if (classifiers::IsClassifierTable(window->TablePath(), classifiers::kRegionName))
                region = window;
        }
        if (region)
            m_mainFrame->ActivateTaskWindow(region);
    }
    if (ReadShowClassifierHelp(platform::ProfileFile(m_fs, m_settingsPath)))
        ShowClassifierHelp(true);
    AddToRecentFileList(dir);
    (void)SetCurrentDirectory(dir);
    if (m_mainFrame)
        m_mainFrame->UpdateCommandUI();
}

void CViewerApp::BuildRegionTable(const std::string& directory)
{
    table::TableDatabase* database = m_databases.Register(directory);
    if (!database)
        return;
    CRegionProgressDialog progress(m_mainFrame.get());
    progress.ShowNow();
    ProgressWindow shown(progress);
    WaitCursor wait;
    // A KLADR that cannot give a region table leaves none, and the open reports it missing.
    classifiers::RegionTableBuilder builder(m_fs);
    (void)builder.Build(*database, &shown);
}

void CViewerApp::ShowClassifierHelp(bool opening)
{
    platform::ProfileFile settings(m_fs, m_settingsPath);
    CClassifierHelpDialog dialog(opening || ReadShowClassifierHelp(settings), m_mainFrame.get());
    if (dialog.exec() != QDialog::Accepted)
        return;
    // A settings file that cannot be written keeps the help as it was; nothing to tell.
    (void)WriteShowClassifierHelp(settings, dialog.ShowOnOpen());
}

void CViewerApp::OnOpenClassifiers()
{
    QFileDialog dialog(m_mainFrame.get(), ResourceText(IDS_SELECT_CLASSIFIER_DIRECTORY),
        PathToQString(CurrentDirectory()));
    dialog.setObjectName(QStringLiteral("SelectClassifierDirectory"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const std::string chosen = PathFromQString(dialog.selectedFiles().front());
    if (!m_fs.IsDirectory(chosen)) {
        platform::AskUser(FormatText(LoadString(IDS_CANNOT_OPEN_TABLE), { PathToAnsi(chosen) }),
            platform::PromptButtons::kOk, platform::PromptIcon::kExclamation);
        return;
    }
    OpenClassifiers(chosen);
}

} // namespace shell
