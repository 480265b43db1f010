// The table window's Save As: the file dialog, then a new table, or delimited text after
// the Save As Text dialog, by the extension of the name chosen.

#include "shell/child_frame.h"

#include "platform/format_text.h"
#include "platform/prompt.h"
#include "platform/resource_source.h"
#include "resources/resource_ids.h"
#include "shell/dialogs/save_text_dialog.h"
#include "shell/file_open_command.h"
#include "shell/main_frame.h"
#include "shell/path_text.h"
#include "shell/viewer_app.h"
#include "shell/wait_cursor.h"
#include "table/table.h"

#include <QFile>
#include <QFileDialog>

namespace shell {

namespace {

// The last four characters of the name, upper-cased: what decides how it is saved.
std::string Ending(const std::string& path)
{
    std::string ending = path.size() >= 4 ? path.substr(path.size() - 4) : path;
    for (char& c : ending) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return ending;
}

void Tell(int id, platform::PromptIcon icon)
{
    platform::AskUser(platform::LoadString(id), platform::PromptButtons::kOk, icon);
}

} // namespace

void CChildFrame::SaveAs()
{
    if (!m_grid->HasOpenTable() || !EndCellEdit())
        return;
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("dbf"));
    dialog.setNameFilters(
        FileDialogFilter(platform::LoadString(IDS_SAVE_AS_FILTER)).split(QStringLiteral(";;")));
    dialog.setDirectory(QFile::decodeName(QByteArray::fromStdString(TableDirectory())));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    (void)SaveAsPath(QFile::encodeName(dialog.selectedFiles().front()).toStdString());
    UpdateMainCommandUI();
}

bool CChildFrame::SaveAsPath(const std::string& path)
{
    const std::string ending = Ending(path);
    if (ending == ".DBF") {
        bool saved = false;
        {
            WaitCursor wait;
            saved = m_grid->SaveAsTable(path);
        }
        if (saved) {
            // A window on the table saved over is asked to show the new one.
            if (CMainFrame* main = m_app.MainFrame())
                main->MarkChangedAt(path, this);
            m_app.OpenTableFile(path);
        }
        return saved;
    }
    // A .csv name is taken as text too: saving nothing without a word is no answer.
    if (ending != ".TXT" && ending != ".CSV") {
        platform::AskUser(
            platform::FormatText(platform::LoadString(IDS_UNABLE_TO_SAVE_AS), { PathToAnsi(path) }),
            platform::PromptButtons::kOk, platform::PromptIcon::kStop);
        return false;
    }
    tablegrid::TextExportFormat format = m_app.TextExportFormat();
    if (!CSaveTextDialog::Ask(this, PathToAnsi(path), &format))
        return false;
    m_app.SetTextExportFormat(format);
    bool saved = false;
    {
        WaitCursor wait;
        ShowMainStatus(0, platform::FormatText(platform::LoadString(IDS_SAVING_TO_TEXT), { "" }));
        saved = m_grid->SaveAsText(path, format);
        ShowMainStatus(0, platform::LoadString(IDS_IDLE_MESSAGE));
    }
    if (saved)
        Tell(IDS_DATA_SAVED, platform::PromptIcon::kInformation);
    else
        Tell(IDS_SAVE_DATA_ERROR, platform::PromptIcon::kStop);
    return saved;
}

} // namespace shell
