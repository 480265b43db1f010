// The table window's filter and its moves of the cursor: the Filter dialog, Go To, the
// first and last row, and the status pane that says a filter is set.

#include "shell/child_frame.h"

#include "platform/prompt.h"
#include "platform/qt/ansi_string.h"
#include "platform/resource_source.h"
#include "resources/resource_ids.h"
#include "shell/dialogs/filter_dialog.h"
#include "shell/main_frame.h"
#include "shell/main_status_bar.h"
#include "shell/viewer_app.h"
#include "shell/wait_cursor.h"
#include "table/table.h"

namespace shell {

void CChildFrame::UpdateFilterPane()
{
    ShowFrameStatus(2, m_grid->IsFiltered() ? platform::LoadString(IDS_FILTER_INDICATOR) : std::string());
}

std::string CChildFrame::MainStatusText(int pane) const
{
    const CMainFrame* main = m_app.MainFrame();
    return main ? platform::qt::ToAnsi(main->StatusPanes()->PaneText(pane)) : std::string();
}

void CChildFrame::RunFilterDialog()
{
    CFilterDialog dialog(m_grid->FilterColumns(), m_grid->DeletionMode(), m_grid->EmptinessMode(),
        tablegrid::FlattenFilterTree(m_grid->FilterRoot()), window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The table tells deleted and empty records by what its file holds, so marks and edits
    // still pending would be judged by their old state: they are written first.
    const bool optionsChanged = dialog.DeletionMode() != m_grid->DeletionMode()
        || dialog.EmptinessMode() != m_grid->EmptinessMode();
    if (optionsChanged && m_grid->HasPendingChanges()) {
        if (platform::AskUser(platform::LoadString(IDS_SAVE_BEFORE_FILTER),
                platform::PromptButtons::kOkCancel, platform::PromptIcon::kQuestion)
            != platform::IDOK)
            return;
        // A save the file refused has said so; the filter stays as it was over the changes
        // still pending.
        if (!WritePending())
            return;
    }
    m_grid->SetFilterModes(dialog.DeletionMode(), dialog.EmptinessMode());
    m_grid->FilterRoot() = tablegrid::BuildFilterTree(dialog.Entries());
    {
        WaitCursor wait;
        m_grid->ApplyFilter();
    }
    UpdateFilterPane();
}

void CChildFrame::RunGoToDialog()
{
    const int row = m_grid->GetCurrentRow();
    if (row >= 0) {
        m_grid->EnsureRowsCached(row, row);
        if (m_goTo.row == 0)
            m_goTo.row = row + 1;
        if (m_goTo.record == 0)
            m_goTo.record = m_grid->RecordOfRow(row);
    }
    CGoToDialog dialog(m_goTo, m_grid->GetRowCount(), m_grid->GetTable()->RecordCount(), window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_goTo = dialog.Choice();
    (void)m_grid->GoToPosition(m_goTo.kind, dialog.Number(), -1);
    // Going to a record the filter hid takes as much of the filter away as it must.
    UpdateFilterPane();
}

} // namespace shell
