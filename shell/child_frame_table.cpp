// The table window's Table commands: the column layout, the table's properties, its code
// page, and the options of a Save As that cannot save everything the window shows.

#include "shell/child_frame.h"

#include "platform/format_text.h"
#include "platform/prompt.h"
#include "platform/resource_source.h"
#include "resources/resource_ids.h"
#include "shell/dialogs/columns_dialog.h"
#include "shell/dialogs/save_options_dialog.h"
#include "shell/dialogs/select_code_page_dialog.h"
#include "shell/dialogs/table_properties_dialog.h"
#include "shell/path_text.h"
#include "shell/viewer_app.h"
#include "table/table.h"
#include "tablegrid/operations/code_page_choice.h"

namespace shell {

using platform::LoadString;

void CChildFrame::RunColumnsDialog()
{
    CColumnsDialog dialog(m_grid->Columns(), window());
    dialog.SetTableAction([this](QWidget* parent) { ShowTableProperties(parent); });
    if (m_app.HasHelp())
        dialog.SetHelpAction([this] { m_app.OpenHelpTopic(0); });
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The cursor stays on its row, and on its column while that is still shown.
    const int row = m_grid->GetCurrentRow();
    const int layoutColumn
        = tablegrid::LayoutIndexOfGridColumn(m_grid->Columns(), m_grid->GetCurrentColumn());
    const std::string field
        = layoutColumn >= 0 ? m_grid->Columns()[static_cast<std::size_t>(layoutColumn)].name : "";
    m_grid->Columns() = dialog.Layout();
    m_grid->BuildColumns();
    m_grid->AutofitColumns();
    m_grid->RefreshRows(true);
    if (row >= 0 && m_grid->GetColumnCount() > 0) {
        int column = 0;
        for (int c = 0; c < m_grid->GetColumnCount(); ++c) {
            const int at = tablegrid::LayoutIndexOfGridColumn(m_grid->Columns(), c);
            if (m_grid->Columns()[static_cast<std::size_t>(at)].name == field)
                column = c;
        }
        m_grid->EnsureRowsCached(row, row);
        m_grid->SetCurrentCell(row, column);
    }
}

void CChildFrame::ShowTableProperties(QWidget* parent)
{
    if (m_grid->HasOpenTable())
        CTablePropertiesDialog::Show(
            parent, m_app.Files(), m_grid->TablePath(), *m_grid->GetTable());
}

void CChildFrame::RunCodePageDialog()
{
    table::CTable& table = *m_grid->GetTable();
    CSelectCodePageDialog dialog(table.CodePage(), window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    const tablegrid::CodePageChoiceOutcome outcome
        = tablegrid::ApplyCodePageChoice(table, dialog.ChosenCodePage(), dialog.WriteIntoFile());
    if (outcome.detectionFailed) {
        platform::AskUser(LoadString(IDS_CODEPAGE_DETECTION_FAILED), platform::PromptButtons::kOk,
            platform::PromptIcon::kExclamation);
    }
    // Every text on screen was read in the old code page.
    m_grid->RefreshRows(true);
    if (outcome.writeFailed) {
        platform::AskUser(platform::FormatText(LoadString(IDS_CODEPAGE_WRITE_FAILED),
                              { PathToAnsi(m_grid->TablePath()) }),
            platform::PromptButtons::kOk, platform::PromptIcon::kStop);
    }
}

bool CChildFrame::AskSaveOptions(const std::string& tableName, bool* allColumns, bool* allRecords)
{
    // The name comes from the file's name, in the system's bytes.
    return CSaveOptionsDialog::Ask(window(), PathToAnsi(tableName), allColumns, allRecords);
}

} // namespace shell
